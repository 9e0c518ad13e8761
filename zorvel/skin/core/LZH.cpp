#include "LZH.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int N = TLZH::N;
constexpr int F = TLZH::F;
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

// The state of one decoding; lives only during LZHUnpack.
class Decoder {
 public:
  Decoder(const TLZH::TReadFunc& read, const TLZH::TWriteFunc& write)
      : read_(read), write_(write), tables_(Tables()) {
    // The whole ring starts blank; the packer never reads the part past N - F before it
    // is written, so only damaged data sees the difference.
    std::memset(ring_, ' ', sizeof ring_);
    StartHuffman();
  }

  void Run(std::int64_t count) {
    int r = N - F;
    std::int64_t done = 0;
    while (done < count) {
      int c = DecodeChar();
      if (c < 256) {
        Put(static_cast<std::uint8_t>(c));
        ring_[r] = static_cast<std::uint8_t>(c);
        r = (r + 1) & (N - 1);
        ++done;
      } else {
        int start = (r - DecodePosition() - 1) & (N - 1);
        std::int64_t length = c - 255 + TLZH::THRESHOLD;
        if (length > count - done) length = count - done;
        for (int k = 0; k < length; ++k) {
          std::uint8_t b = ring_[(start + k) & (N - 1)];
          Put(b);
          ring_[r] = b;
          r = (r + 1) & (N - 1);
        }
        done += length;
      }
    }
    Flush();
  }

 private:
  void StartHuffman() {
    for (int i = 0; i < N_CHAR; ++i) {
      freq_[i] = 1;
      son_[i] = static_cast<std::int16_t>(i + T);
      parent_[i + T] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
      freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
      son_[j] = static_cast<std::int16_t>(i);
      parent_[i] = parent_[i + 1] = static_cast<std::int16_t>(j);
    }
    freq_[T] = 0xFFFF;
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
      son_[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
      int k = son_[i];
      if (k >= T)
        parent_[k] = static_cast<std::int16_t>(i);
      else
        parent_[k] = parent_[k + 1] = static_cast<std::int16_t>(i);
    }
  }

  void Update(int code) {
    if (freq_[R] == TLZH::MAX_FREQ) Reconstruct();
    int c = parent_[code + T];
    do {
      unsigned k = ++freq_[c];
      if (k > freq_[c + 1]) {
        int l = c + 1;
        while (k > freq_[l + 1]) ++l;
        freq_[c] = freq_[l];
        freq_[l] = static_cast<std::uint16_t>(k);
        int i = son_[c];
        parent_[i] = static_cast<std::int16_t>(l);
        if (i < T) parent_[i + 1] = static_cast<std::int16_t>(l);
        int j = son_[l];
        son_[l] = static_cast<std::int16_t>(i);
        parent_[j] = static_cast<std::int16_t>(c);
        if (j < T) parent_[j + 1] = static_cast<std::int16_t>(c);
        son_[c] = static_cast<std::int16_t>(j);
        c = l;
      }
      c = parent_[c];
    } while (c != 0);
  }

  std::uint8_t NextSourceByte() {
    if (inPos_ == inLen_) {
      inPos_ = 0;
      inLen_ = read_(in_, sizeof in_);
      if (inLen_ > sizeof in_) inLen_ = sizeof in_;  // a reader that overstates
      if (inLen_ == 0) {
        if (++missing_ > TLZH::kMaxMissingBytes)
          throw ElzhException("LZH : Packed data ends too early");
        return 0;
      }
    }
    return in_[inPos_++];
  }

  void Fill() {
    while (bitCount_ <= 8) {
      bitBuf_ = static_cast<std::uint16_t>(bitBuf_ | (NextSourceByte() << (8 - bitCount_)));
      bitCount_ += 8;
    }
  }

  int GetBit() {
    Fill();
    int bit = bitBuf_ >> 15;
    bitBuf_ = static_cast<std::uint16_t>(bitBuf_ << 1);
    --bitCount_;
    return bit;
  }

  int GetByte() {
    Fill();
    int byte = bitBuf_ >> 8;
    bitBuf_ = static_cast<std::uint16_t>(bitBuf_ << 8);
    bitCount_ -= 8;
    return byte;
  }

  int DecodeChar() {
    int c = son_[R];
    while (c < T) c = son_[c + GetBit()];
    c -= T;
    Update(c);
    return c;
  }

  int DecodePosition() {
    int b = GetByte();
    int upper = tables_.code[b];
    int extra = tables_.length[b] - 2;
    while (extra-- > 0) b = (b << 1) + GetBit();
    return (upper << 6) | (b & 0x3F);
  }

  void Put(std::uint8_t b) {
    out_[outLen_++] = b;
    if (outLen_ == sizeof out_) Flush();
  }

  void Flush() {
    if (outLen_ > 0) write_(out_, outLen_);
    outLen_ = 0;
  }

  const TLZH::TReadFunc& read_;
  const TLZH::TWriteFunc& write_;
  const PositionTables& tables_;

  std::uint16_t bitBuf_ = 0;
  int bitCount_ = 0;
  std::uint8_t ring_[N];
  std::uint16_t freq_[T + 1];
  std::int16_t parent_[T + N_CHAR];
  std::int16_t son_[T];

  std::uint8_t in_[4096];
  std::size_t inPos_ = 0, inLen_ = 0, missing_ = 0;
  std::uint8_t out_[16384];
  std::size_t outLen_ = 0;
};

}  // namespace

void TLZH::LZHUnpack(std::int64_t count, const TReadFunc& read, const TWriteFunc& write) {
  if (count <= 0) return;
  std::unique_ptr<Decoder> decoder(new (std::nothrow) Decoder(read, write));
  if (!decoder) throw ElzhException("LZH : Cannot get memory for dictionary tables");
  decoder->Run(count);
}

std::uint8_t TLZH::PositionCode(std::uint8_t firstByte) { return Tables().code[firstByte]; }
std::uint8_t TLZH::PositionLength(std::uint8_t firstByte) { return Tables().length[firstByte]; }
