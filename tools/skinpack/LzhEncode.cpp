#include "LzhEncode.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace skinpack {
namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;
// The ring starts with N - F blanks; the rest is not valid until written.
constexpr int kBlankPrefix = N - F;

// Writes bits most significant first; the last byte is padded with zero bits.
class BitWriter {
 public:
  void Put(std::uint64_t bits, int count) {  // the low `count` bits of `bits`
    for (int i = count - 1; i >= 0; --i) {
      acc_ = static_cast<std::uint8_t>((acc_ << 1) | ((bits >> i) & 1));
      if (++n_ == 8) {
        out_.push_back(acc_);
        acc_ = 0;
        n_ = 0;
      }
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (n_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - n_)));
    n_ = 0;
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint8_t acc_ = 0;
  int n_ = 0;
};

// The adaptive Huffman tree, kept in step with the decoder's.
class Tree {
 public:
  Tree() {
    for (int i = 0; i < N_CHAR; ++i) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
  }

  // Emits the code of `c` (its path from the root; odd nodes are the 1 branch), then
  // adapts. Deep codes are kept whole: the path is collected in 64 bits.
  void Encode(int c, BitWriter& out) {
    std::uint64_t path = 0;
    int depth = 0;
    int k = prnt[c + T];
    do {
      path |= static_cast<std::uint64_t>(k & 1) << depth;
      ++depth;
      k = prnt[k];
    } while (k != R);
    // `path` holds the leaf's bit lowest; the root's branch is sent first.
    for (int i = depth - 1; i >= 0; --i) out.Put((path >> i) & 1, 1);
    Update(c);
  }

 private:
  void Reconstruct() {
    int j = 0;
    for (int i = 0; i < T; ++i)
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        ++j;
      }
    for (int i = 0, j2 = N_CHAR; j2 < T; i += 2, ++j2) {
      unsigned f = freq[i] + freq[i + 1];
      int k = j2;
      while (k > 0 && f < freq[k - 1]) --k;
      for (int m = j2; m > k; --m) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = f;
      son[k] = i;
    }
    for (int i = 0; i < T; ++i) {
      if (son[i] >= T) {
        prnt[son[i]] = i;
      } else {
        prnt[son[i]] = i;
        prnt[son[i] + 1] = i;
      }
    }
  }

  void Update(int c) {
    if (freq[R] == MAX_FREQ) Reconstruct();
    int node = prnt[c + T];
    while (true) {
      unsigned k = ++freq[node];
      if (k > freq[node + 1]) {
        // The last node whose count is still below k takes this one's place.
        int l = node + 1;
        while (freq[l + 1] < k) ++l;
        std::swap(freq[node], freq[l]);
        int a = son[node], b = son[l];
        son[l] = a;
        son[node] = b;
        prnt[a] = l;
        if (a < T) prnt[a + 1] = l;
        prnt[b] = node;
        if (b < T) prnt[b + 1] = node;
        node = l;
      }
      node = prnt[node];
      if (node == 0) break;
    }
  }

  unsigned freq[T + 1];
  int prnt[T + N_CHAR];
  int son[T];
};

// The decoder's position tables, inverted: for each upper six bits, the first byte that
// carries them and the length of its code.
struct PositionCodes {
  std::uint8_t code[64];
  std::uint8_t length[64];
  PositionCodes() {
    // 1 code of 32 first bytes with 3 bits, 3 of 16 with 4, 8 of 8 with 5, 12 of 4
    // with 6, 24 of 2 with 7, 16 of 1 with 8.
    const int runs[][3] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    int b = 0, u = 0;
    for (const auto& run : runs)
      for (int c = 0; c < run[0]; ++c, ++u, b += run[1]) {
        code[u] = static_cast<std::uint8_t>(b);
        length[u] = static_cast<std::uint8_t>(run[2]);
      }
  }
};

void EncodePosition(int p, BitWriter& out) {
  static const PositionCodes codes;
  int u = p >> 6;
  out.Put(codes.code[u] >> (8 - codes.length[u]), codes.length[u]);
  out.Put(static_cast<unsigned>(p) & 0x3F, 6);
}

// Greedy longest-match search over the window with 3-byte hash chains. `text` is the
// ring's blank prefix followed by the data; a match source is never before the start of
// `text`, so it never reaches ring bytes that the decoder has not written.
class MatchFinder {
 public:
  // The hash table grows with the text, so that small texts start quickly.
  explicit MatchFinder(const std::string& text)
      : text_(text), prev_(text.size(), -1), hashBits_(HashBits(text.size())),
        head_(std::size_t{1} << hashBits_, -1) {}

  void Insert(int pos) {
    if (pos + 3 > static_cast<int>(text_.size())) return;
    unsigned h = Hash(pos);
    prev_[pos] = head_[h];
    head_[h] = pos;
  }

  // Longest match for `pos` of at most `limit` bytes; returns its length, source in `src`.
  int Find(int pos, int limit, int& src) const {
    if (limit < THRESHOLD + 1 || pos + 3 > static_cast<int>(text_.size())) return 0;
    int best = 0;
    int steps = 256;
    for (int s = head_[Hash(pos)]; s >= 0 && pos - s <= N && steps-- > 0; s = prev_[s]) {
      int len = 0;
      while (len < limit && text_[s + len] == text_[pos + len]) ++len;
      if (len > best) {
        best = len;
        src = s;
        if (len == limit) break;
      }
    }
    return best;
  }

 private:
  static int HashBits(std::size_t size) {
    int bits = 10;
    while (bits < 15 && (std::size_t{1} << bits) < size) ++bits;
    return bits;
  }

  unsigned Hash(int pos) const {
    const auto* p = reinterpret_cast<const unsigned char*>(text_.data()) + pos;
    return ((p[0] * 0x9E3779B1u) ^ (p[1] * 0x85EBCA77u) ^ (p[2] * 0xC2B2AE3Du)) >> (32 - hashBits_);
  }

  const std::string& text_;
  std::vector<int> prev_;
  int hashBits_;
  std::vector<int> head_;
};

}  // namespace

std::vector<std::uint8_t> LzhEncode(std::string_view data, const EncodeOptions& options) {
  if (data.size() > 0x7FFFFFFF - kBlankPrefix) throw std::length_error("input too large");
  const int maxMatch = std::clamp(options.maxMatch, THRESHOLD + 1, F);
  std::string text(kBlankPrefix, ' ');
  text.append(data);
  const int end = static_cast<int>(text.size());

  auto tree = std::make_unique<Tree>();
  auto finder = std::make_unique<MatchFinder>(text);
  BitWriter out;
  // Any blank run of the prefix is as good a source as another: only its last F
  // positions are offered, the nearest ones.
  for (int i = kBlankPrefix - F; i < kBlankPrefix; ++i) finder->Insert(i);

  int pos = kBlankPrefix;
  while (pos < end) {
    int src = 0;
    int len = options.literalsOnly ? 0 : finder->Find(pos, std::min(maxMatch, end - pos), src);
    if (len > THRESHOLD) {
      tree->Encode(255 - THRESHOLD + len, out);
      EncodePosition(pos - src - 1, out);
    } else {
      len = 1;
      tree->Encode(static_cast<unsigned char>(text[pos]), out);
    }
    for (int k = 0; k < len; ++k) finder->Insert(pos + k);
    pos += len;
  }
  return out.Finish();
}

std::vector<std::uint8_t> PackBytes(std::string_view data, const EncodeOptions& options) {
  std::vector<std::uint8_t> packed;
  std::uint32_t n = static_cast<std::uint32_t>(data.size());
  for (int i = 0; i < 4; ++i) packed.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  std::vector<std::uint8_t> stream = LzhEncode(data, options);
  packed.insert(packed.end(), stream.begin(), stream.end());
  return packed;
}

}  // namespace skinpack
