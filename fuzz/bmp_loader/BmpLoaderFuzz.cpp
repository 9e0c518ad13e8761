// Input: a BMP file. A decoded image must hold exactly its rows.
#include <cstddef>
#include <cstdint>

#include "forms/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TDecodedBmp bmp;
  if (!DecodeBmp(data, size, bmp)) {
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
  return static_cast<int>(sum & 0);
}
