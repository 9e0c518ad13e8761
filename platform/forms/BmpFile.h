// Pixel rows without window handles: a view on 24- or 32-bit rows, and the reader of
// Windows BMP files, which trusts nothing in the file.
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

  TPixelView View() {
    return {width, height, bitsPerPixel / 8, stride, pixels.data()};
  }
};

// Limits on what a BMP file may claim; skin images are a few hundred pixels wide.
constexpr int kMaxBmpDimension = 32768;
constexpr std::int64_t kMaxBmpPixels = 16 * 1024 * 1024;

// Decodes a BMP file of 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or with bit
// fields, bottom-up or top-down. False (and `out` empty) for anything else, for sizes
// beyond the limits and for headers, palettes or rows that the data does not hold.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, TDecodedBmp& out);
