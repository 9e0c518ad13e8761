// The LZHUF decoder of skin archives: LZSS over a 4096-byte ring (longest match 60,
// threshold 2) with adaptive Huffman coding of 314 symbols.
#pragma once

#include <cstddef>
#include <cstdint>

#include "forms/Classes.h"

class ElzhException : public Exception {
 public:
  using Exception::Exception;
};

class TLZH : public TObject {
 public:
  // Ring and code constants; the packer mirrors them.
  static constexpr int N = 4096;        // ring size
  static constexpr int F = 60;          // longest match
  static constexpr int THRESHOLD = 2;   // a match is longer than this
  static constexpr int N_CHAR = 256 - THRESHOLD + F;  // codes 0..313
  static constexpr int T = N_CHAR * 2 - 1;            // tree nodes
  static constexpr int R = T - 1;                     // the root
  static constexpr unsigned MAX_FREQ = 0x8000;        // rebuild the tree at this root count

  // Reading past the end of the packed data delivers zeros, as a short final byte needs;
  // past this many missing bytes the data is damaged and decoding stops with
  // ElzhException, so that a damaged header cannot make the decoder run on for long.
  static constexpr std::size_t kMaxMissingBytes = 64;

  // The most bytes `sourceSize` packed bytes can decode to before they run dry: every
  // code takes at least one bit and yields at most F bytes.
  static std::uint64_t MaxUnpackedSize(std::size_t sourceSize);

  // Decodes the LZHUF stream `source` until exactly `count` bytes have been written to
  // `destination` (a final match is cut at the count). Raises ElzhException, before
  // writing anything, for a count beyond MaxUnpackedSize, and when the data runs dry.
  void LZHUnpack(const std::uint8_t* source, std::size_t sourceSize, std::uint8_t* destination,
                 std::size_t count);

  // Upper six bits and length in bits of a position, indexed by its first byte.
  static std::uint8_t PositionCode(std::uint8_t firstByte);
  static std::uint8_t PositionLength(std::uint8_t firstByte);
};
