// Bitmaps backed by a DIB section (24 or 32 bits per pixel, rows from the top, honest
// row stride) and the canvas that draws on them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "BmpFile.h"
#include "Collections.h"
#include "Streams.h"

// A bitmap asked for something it cannot do (a row outside it, a size beyond the limits).
class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

enum TPixelFormat { pf24bit, pf32bit };

class TBitmap;

// Draws on a bitmap through a memory device context that holds it.
class TCanvas : public TObject {
 public:
  explicit TCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
  ~TCanvas() override;

  HDC Handle();
  // RGB, or a system colour (negative, index in the low byte), resolved when used.
  std::int32_t BrushColor = 0xFFFFFF;
  void FillRect(const RECT& rect);
  // RGB of a pixel; CLR_INVALID outside the bitmap.
  std::uint32_t Pixel(int x, int y);
  void SetPixel(int x, int y, std::uint32_t rgb);

 private:
  friend class TBitmap;
  void Select();
  void Deselect();

  TBitmap& bitmap_;
  HDC dc_ = nullptr;
  HGDIOBJ original_ = nullptr;
};

class TBitmap : public TPersistent {
 public:
  TBitmap() = default;
  ~TBitmap() override;

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
  // Keeps the pixels the old and new sizes share; new pixels are black. Negative sizes
  // count as 0; sizes beyond kMaxBmpDimension or kMaxBmpPixels raise.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  TPixelFormat PixelFormat() const noexcept { return format_; }
  // Converts the pixels (32 to 24 bits drops the fourth byte; 24 to 32 sets it to 0).
  void SetPixelFormat(TPixelFormat format);

  // Row y from the top; raises EInvalidGraphicOperation outside 0..Height-1.
  std::uint8_t* ScanLine(int y);
  std::ptrdiff_t Stride() const noexcept { return stride_; }
  // All rows, after any pending drawing has reached them.
  TPixelView View();
  HBITMAP Handle() const noexcept { return dib_; }
  TCanvas* Canvas();

  bool Transparent = false;
  std::uint32_t TransparentColor = 0xFF00FF;

  // A deep copy of another bitmap; anything else is refused.
  void Assign(const TPersistent* source) override;

  // Reads a BMP file from the stream's position to its end. A file that does not
  // decode leaves an empty bitmap and returns false; it never raises.
  bool LoadFromStream(TStream& stream);
  bool LoadFromBytes(const std::uint8_t* data, std::size_t size);

 private:
  friend class TCanvas;
  void Replace(int width, int height, TPixelFormat format);

  HBITMAP dib_ = nullptr;
  std::uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = pf24bit;
  std::ptrdiff_t stride_ = 0;
  std::unique_ptr<TCanvas> canvas_;
};
