// Input: a BMP file, also read as a packed bitmap from its info header on. A decoded
// image must hold exactly its rows.
#include <cstddef>
#include <cstdint>

#include "forms/BmpFile.h"

namespace {

unsigned Check(bool decoded, TDecodedBmp& bmp) {
  if (!decoded) {
    if (bmp.width != 0 || !bmp.pixels.empty()) __builtin_trap();
    return 0;
  }
  if (bmp.width <= 0 || bmp.height <= 0 ||
      bmp.pixels.size() != static_cast<std::size_t>(bmp.stride) * bmp.height ||
      bmp.stride < bmp.width * (bmp.bitsPerPixel / 8))
    __builtin_trap();
  // Touch the last byte of every row.
  unsigned sum = 0;
  for (int y = 0; y < bmp.height; ++y) sum += bmp.View().Row(y)[bmp.stride - 1];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TDecodedBmp bmp;
  unsigned sum = Check(DecodeBmp(data, size, bmp), bmp);
  if (size >= 14) sum += Check(DecodeDib(data + 14, size - 14, bmp), bmp);
  return static_cast<int>(sum & 0);
}
