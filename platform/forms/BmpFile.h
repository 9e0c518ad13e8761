// Pixel rows without window handles: a view on 24- or 32-bit rows, and the reader of
// Windows bitmaps (files and the packed form that bitmap resources hold), which trusts
// nothing in the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Rows addressed from the top; each pixel is blue, green, red (and a fourth byte in
// 32-bit rows); `stride` is the distance between rows in bytes, padding included.
struct TPixelView {
  int width = 0;
  int height = 0;
  int bytesPerPixel = 3;
  std::ptrdiff_t stride = 0;
  std::uint8_t* bits = nullptr;

  std::uint8_t* Row(int y) const { return bits + stride * y; }
  std::uint8_t* Pixel(int x, int y) const { return Row(y) + x * bytesPerPixel; }
};

// Row size of a bitmap in bytes: whole 32-bit words.
constexpr std::ptrdiff_t BmpStride(int width, int bitsPerPixel) {
  return ((static_cast<std::ptrdiff_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

struct TDecodedBmp {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 24;  // 32 for 32-bit sources, 24 for every other
  std::ptrdiff_t stride = 0;
  std::vector<std::uint8_t> pixels;  // top-down rows

  TPixelView View() { return {width, height, bitsPerPixel / 8, stride, pixels.data()}; }
};

// Limits on what a bitmap may claim; skin images are a few hundred pixels wide.
constexpr int kMaxBmpDimension = 32768;
constexpr std::int64_t kMaxBmpPixels = 16 * 1024 * 1024;

// A caller may ask for tighter limits; looser ones than the above are not granted.
struct TBmpLimits {
  int maxSide = kMaxBmpDimension;
  std::int64_t maxPixels = kMaxBmpPixels;
};

// Decodes a BMP file ("BM", the file header, then a packed bitmap whose rows start where
// the file header says) of 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or with bit
// fields, bottom-up or top-down. False (and `out` empty) for anything else, for sizes
// beyond the limits and for headers, palettes or rows that the data does not hold.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, TDecodedBmp& out,
               const TBmpLimits& limits = {});

// Decodes a packed bitmap as a bitmap resource holds it: the info header (12, 40, 52, 56,
// 108 or 124 bytes), the three bit-field masks after a 40-byte header, the colour table
// (`colorsUsed` entries, or all that the depth allows when 0; tables beside 16, 24 and
// 32-bit rows are skipped), then the rows. Same formats and refusals as DecodeBmp.
bool DecodeDib(const std::uint8_t* data, std::size_t size, TDecodedBmp& out,
               const TBmpLimits& limits = {});
