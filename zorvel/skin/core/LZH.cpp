#include "LZH.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Words are read from memory as this machine lays them out: the first byte lowest.
static_assert(std::endian::native == std::endian::little);

constexpr int N_CHAR = TLZH::N_CHAR;
constexpr int T = TLZH::T;
constexpr int R = TLZH::R;

struct PositionTables {
  std::array<std::uint8_t, 256> code{};
  std::array<std::uint8_t, 256> length{};
  PositionTables() {
    // Runs of first bytes: how many codes, bytes per code and bits in all.
    struct Run {
      int codes, bytesEach, bits;
    };
    const Run runs[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    int b = 0, u = 0;
    for (const Run& run : runs)
      for (int c = 0; c < run.codes; ++c, ++u)
        for (int k = 0; k < run.bytesEach; ++k, ++b) {
          code[b] = static_cast<std::uint8_t>(u);
          length[b] = static_cast<std::uint8_t>(run.bits);
        }
  }
};

const PositionTables& Tables() {
  static const PositionTables tables;
  return tables;
}

// The packed bits, most significant first, from a 64-bit buffer whose top `bits` bits
// are the next ones. Past the end of the source the bytes read as zeros. A plain value,
// so that the decoding loop keeps it in registers.
struct BitReader {
  const std::uint8_t* source;
  std::size_t size;
  std::size_t pos = 0;  // bytes loaded, those past the end included
  std::uint64_t buffer = 0;
  int bits = 0;

  // At least 57 bits in the buffer.
  void Refill() {
    if (pos + 8 <= size) {
      std::uint64_t next;
      std::memcpy(&next, source + pos, 8);
      next = __builtin_bswap64(next);  // the first byte on top
      // The bytes that do not fit whole are loaded again next time; their bits below
      // the buffer's valid ones are the same then.
      buffer |= next >> bits;
      pos += (63 - bits) >> 3;
      bits |= 56;
      return;
    }
    while (bits <= 56) {
      const std::uint64_t byte = pos < size ? source[pos] : 0;
      buffer |= byte << (56 - bits);
      ++pos;
      bits += 8;
    }
  }

  // n bits (1 to 57), which the buffer holds.
  int Take(int n) {
    const int value = static_cast<int>(buffer >> (64 - n));
    buffer <<= n;
    bits -= n;
    return value;
  }

  // Bits taken so far.
  std::uint64_t Consumed() const { return std::uint64_t(pos) * 8 - unsigned(bits); }
};

// The state of one decoding; lives only during LZHUnpack. The output is its own window:
// the ring of the format is the last N bytes written, blanks before the first.
class Decoder {
 public:
  Decoder() : tables_(Tables()) { StartHuffman(); }

  void Run(const std::uint8_t* source, std::size_t sourceSize, std::uint8_t* out,
           std::size_t count) {
    BitReader in{source, sourceSize};
    // The data runs dry when a bit is taken while more than kMaxMissingBytes bytes past
    // its end would have had to be loaded to hold it and the next eight.
    const std::uint64_t lastBit = 8 * (std::uint64_t(sourceSize) + TLZH::kMaxMissingBytes) - 9;
    std::size_t done = 0;
    while (done < count) {
      in.Refill();
      const int c = DecodeChar(in);
      if (c < 256) {
        out[done++] = static_cast<std::uint8_t>(c);
      } else {
        const std::size_t distance = DecodePosition(in) + 1;  // 1 to N
        const std::size_t length = std::min<std::size_t>(c - 255 + TLZH::THRESHOLD, count - done);
        Copy(out, done, distance, length, count);
        done += length;
      }
      // Each code ends with a one-bit take: checking after it covers every take before.
      if (in.pos > sourceSize && in.Consumed() - 1 > lastBit)
        throw ElzhException("LZH : Packed data ends too early");
    }
  }

 private:
  static constexpr std::size_t kCopyBlock = 64;
  static_assert(kCopyBlock >= TLZH::F);

  static void Copy(std::uint8_t* out, std::size_t at, std::size_t distance, std::size_t length,
                   std::size_t count) {
    std::uint8_t* to = out + at;
    if (distance > at) {
      // Reaches back before the first byte, into the blank ring.
      for (std::size_t k = 0; k < length; ++k)
        to[k] = at + k >= distance ? out[at + k - distance] : ' ';
      return;
    }
    const std::uint8_t* from = to - distance;
    if (at + kCopyBlock > count) {
      for (std::size_t k = 0; k < length; ++k) to[k] = from[k];
      return;
    }
    // Away from the end, always kCopyBlock bytes (the longest match, rounded up) in blocks
    // that each read only bytes already written; what runs past the match is written
    // again by later codes. A fixed count costs no mispredicted loop exit.
    if (distance >= 16) {
      for (std::size_t k = 0; k < kCopyBlock; k += 16) std::memcpy(to + k, from + k, 16);
      return;
    }
    if (distance >= 8) {
      for (std::size_t k = 0; k < kCopyBlock; k += 8) std::memcpy(to + k, from + k, 8);
      return;
    }
    // A short distance repeats a pattern: eight bytes one by one, then blocks copied from
    // a whole number of periods back (8 to 14 bytes).
    for (std::size_t k = 0; k < 8; ++k) to[k] = from[k];
    const std::size_t back = distance * ((7 + distance) / distance);
    for (std::size_t k = 8; k < kCopyBlock; k += 8) std::memcpy(to + k, to + k - back, 8);
  }

  void StartHuffman() {
    for (int i = 0; i < N_CHAR; ++i) {
      freq_[i] = 1;
      son_[i] = static_cast<std::uint16_t>(i + T);
      parent_[i + T] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
      freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
      son_[j] = static_cast<std::uint16_t>(i);
      parent_[i] = parent_[i + 1] = static_cast<std::uint16_t>(j);
    }
    for (int i = T; i < T + 4; ++i) freq_[i] = 0xFFFF;  // above every count: ends every run
    parent_[R] = 0;
  }

  void Reconstruct() {
    int j = 0;
    for (int i = 0; i < T; ++i)
      if (son_[i] >= T) {
        freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
        son_[j] = son_[i];
        ++j;
      }
    for (int i = 0, j2 = N_CHAR; j2 < T; i += 2, ++j2) {
      unsigned f = freq_[i] + freq_[i + 1];
      int k = j2 - 1;
      while (f < freq_[k]) --k;
      ++k;
      std::memmove(&freq_[k + 1], &freq_[k], sizeof(freq_[0]) * (j2 - k));
      freq_[k] = static_cast<std::uint16_t>(f);
      std::memmove(&son_[k + 1], &son_[k], sizeof(son_[0]) * (j2 - k));
      son_[k] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
      int k = son_[i];
      if (k >= T)
        parent_[k] = static_cast<std::uint16_t>(i);
      else
        parent_[k] = parent_[k + 1] = static_cast<std::uint16_t>(i);
    }
  }

  // Counts `node` and its ancestors from `c` up. A node whose count now exceeds the
  // next one's changes places with the last node of a lower count; the climb then goes
  // on from there.
  void CountFrom(int c) {
    do {
      const unsigned k = ++freq_[c];
      if (k > freq_[c + 1]) c = Exchange(c, k);
      c = parent_[c];
    } while (c != 0);
  }

  // Moves node c, whose count has just become k, past the nodes of a lower count, and
  // returns where it now is.
  int Exchange(int c, unsigned k) {
    // The counts after c are sorted, so those below k equal k - 1: l is the last of that
    // run, found four counts at a time.
    const std::uint64_t run = (k - 1) * 0x0001000100010001ull;
    const std::uint64_t low = 0x7FFF7FFF7FFF7FFFull;
    int m = c + 1;
    for (;;) {
      std::uint64_t counts;
      std::memcpy(&counts, &freq_[m], sizeof counts);
      const std::uint64_t x = counts ^ run;
      // The top bit of each 16-bit lane that differs from k - 1.
      const std::uint64_t differs = (((x & low) + low) | x) & ~low;
      if (differs) {
        m += std::countr_zero(differs) / 16;
        break;
      }
      m += 4;
    }
    const int l = m - 1;
    freq_[c] = freq_[l];
    freq_[l] = static_cast<std::uint16_t>(k);
    int i = son_[c];
    parent_[i] = static_cast<std::uint16_t>(l);
    if (i < T) parent_[i + 1] = static_cast<std::uint16_t>(l);
    int j = son_[l];
    son_[l] = static_cast<std::uint16_t>(i);
    parent_[j] = static_cast<std::uint16_t>(c);
    if (j < T) parent_[j + 1] = static_cast<std::uint16_t>(c);
    son_[c] = static_cast<std::uint16_t>(j);
    return l;
  }

  int DecodeChar(BitReader& in) {
    // The buffer holds 57 bits here. The tree keeps its counts sorted (the sibling
    // property), so it is a Huffman tree of counts of at least 1 that add up to at most
    // 0x8000: no code is longer than 21 bits. The nodes passed are kept, the root's
    // children first; no path is longer than the tree has nodes.
    unsigned path[T];
    unsigned* top = path;
    unsigned c = son_[R];
    std::uint64_t buffer = in.buffer;
    do {
      const unsigned node = c + static_cast<unsigned>(buffer >> 63);
      buffer <<= 1;
      *top++ = node;
      c = son_[node];
    } while (c < unsigned(T));
    const int depth = static_cast<int>(top - path);
    in.buffer = buffer;
    in.bits -= depth;
    const int code = static_cast<int>(c) - T;

    // Counting: the path back up is known, so while no node moves the climb needs no
    // parent links and its steps do not wait on each other. A rebuilt tree, or a node
    // that moves, sends the climb by the links.
    if (freq_[R] == TLZH::MAX_FREQ) {
      Reconstruct();
      CountFrom(parent_[code + T]);
      return code;
    }
    for (int i = depth - 1; i >= 0; --i) {
      const unsigned node = path[i];
      const unsigned k = ++freq_[node];
      if (k > freq_[node + 1]) {
        CountFrom(parent_[Exchange(node, k)]);
        return code;
      }
    }
    ++freq_[R];
    return code;
  }

  int DecodePosition(BitReader& in) {
    if (in.bits < 14) in.Refill();
    // The first byte names the upper six bits and how many more bits follow.
    const int first = static_cast<int>(in.buffer >> 56);
    const int bits = 8 + tables_.length[first] - 2;
    return (tables_.code[first] << 6) | (in.Take(bits) & 0x3F);
  }

  const PositionTables& tables_;
  std::uint16_t freq_[T + 4];  // ends in four sentinels: a four-count read stays inside
  // Unsigned, so that a node read from the tree indexes it without widening.
  std::uint16_t parent_[T + N_CHAR];
  std::uint16_t son_[T];
};

}  // namespace

std::uint64_t TLZH::MaxUnpackedSize(std::size_t sourceSize) {
  return std::uint64_t(F) * 8 * (std::uint64_t(sourceSize) + kMaxMissingBytes - 1);
}

void TLZH::LZHUnpack(const std::uint8_t* source, std::size_t sourceSize, std::uint8_t* destination,
                     std::size_t count) {
  if (count == 0) return;
  if (count > MaxUnpackedSize(sourceSize)) throw ElzhException("LZH : Packed data ends too early");
  std::unique_ptr<Decoder> decoder(new (std::nothrow) Decoder);
  if (!decoder) throw ElzhException("LZH : Cannot get memory for dictionary tables");
  decoder->Run(source, sourceSize, destination, count);
}

std::uint8_t TLZH::PositionCode(std::uint8_t firstByte) { return Tables().code[firstByte]; }
std::uint8_t TLZH::PositionLength(std::uint8_t firstByte) { return Tables().length[firstByte]; }
