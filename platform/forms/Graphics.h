// Colours, fonts, graphics and the canvas that draws them. Bitmaps are backed by a DIB
// section (24 or 32 bits per pixel, rows from the top, honest row stride); a canvas
// draws either on its bitmap or on a device context lent to it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "BmpFile.h"
#include "Collections.h"
#include "Streams.h"

// Colours: 0x00BBGGRR, or 0xFF0000nn for system colour nn.
using TColor = unsigned;
constexpr TColor clBtnFace = 0xFF00000Fu;
constexpr TColor clBtnShadow = 0xFF000010u;
constexpr TColor clBtnHighlight = 0xFF000014u;
constexpr TColor clBtnText = 0xFF000012u;
constexpr TColor clWindow = 0xFF000005u;
constexpr TColor clWindowText = 0xFF000008u;
constexpr TColor clSilver = 0x00C0C0C0u;
constexpr TColor clWhite = 0x00FFFFFFu;
constexpr TColor clBlack = 0x00000000u;
COLORREF ColorToRGB(TColor color);

// A bitmap asked for something it cannot do (a row outside it, a size beyond the limits).
class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // member n is bit n

class TFont : public TPersistent {
 public:
  TFont() = default;
  ~TFont() override;

  std::string Name = "MS Sans Serif";  // 8-bit, in the programs' code page
  int Height = -11;
  int Charset = DEFAULT_CHARSET;
  TColor Color = clWindowText;
  TFontStyles Style = 0;

  // The font's GDI object, owned by the font and made again (the old one deleted) when
  // the description changed since it was last asked for.
  HFONT Handle();
  bool HandleStale() const noexcept;
  // Another font's description.
  void Assign(const TPersistent* source) override;

 private:
  HFONT handle_ = nullptr;
  std::string madeName_;
  int madeHeight_ = 0, madeCharset_ = 0;
  TFontStyles madeStyle_ = 0;
};

enum TBrushStyle { bsSolid, bsClear };
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;  // bsClear: nothing filled, text drawn transparent
};
struct TPen {
  TColor Color = clBlack;  // one pixel wide, solid
};

class TBitmap;
class TGraphic;

class TCanvas : public TObject {
 public:
  // A canvas on a device context lent to it (SetHandle).
  TCanvas() = default;
  // A canvas on the bitmap, through a memory device context that holds it.
  explicit TCanvas(TBitmap& bitmap) : bitmap_(&bitmap) {}
  ~TCanvas() override;

  TFont Font;
  TBrush Brush;
  TPen Pen;

  // The device context with the canvas's font, text colour, brush and pen in it. A
  // changed brush sets the background: its colour, opaque; clear, transparent.
  HDC Handle();
  // The device context a canvas without bitmap draws on (null: none); what the canvas
  // put into the previous one is taken out again.
  void SetHandle(HDC dc);
  bool HandleAllocated() const noexcept { return dc_ != nullptr; }

  void FillRect(const RECT& rect);
  void Polygon(const POINT* points, int count);
  // The graphic at (x, y) at its own size.
  void Draw(int x, int y, TGraphic& graphic);
  // RGB of a pixel of a bitmap's canvas; CLR_INVALID outside the bitmap.
  std::uint32_t Pixel(int x, int y);
  void SetPixel(int x, int y, std::uint32_t rgb);

 private:
  friend class TBitmap;
  void Select();
  void Deselect();
  void Realize();
  void Unrealize();

  TBitmap* bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ original_ = nullptr;  // the bitmap's DC: what it held before the bitmap
  // What the canvas selected into its DC, and what was there before.
  HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
  HFONT selectedFont_ = nullptr;
  HBRUSH brush_ = nullptr;
  HPEN pen_ = nullptr;
  TBrush madeBrush_{};
  TColor madePen_ = 0;
  TColor madeTextColor_ = 0;
  bool realized_ = false;
};

// Lends a device context to a canvas without bitmap for as long as it lives.
class TCanvasLoan {
 public:
  TCanvasLoan(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
  ~TCanvasLoan() { canvas_.SetHandle(nullptr); }
  TCanvasLoan(const TCanvasLoan&) = delete;
  TCanvasLoan& operator=(const TCanvasLoan&) = delete;

 private:
  TCanvas& canvas_;
};

// A picture that a canvas can draw.
class TGraphic : public TPersistent {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() == 0 || Height() == 0; }
  // Draws the picture onto `dc` scaled to `rect`.
  virtual void Draw(HDC dc, const RECT& rect) = 0;
};

enum TPixelFormat { pf24bit, pf32bit };

class TBitmap : public TGraphic {
 public:
  TBitmap() = default;
  ~TBitmap() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
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

  // Drawn with pixels of TransparentColor (RGB) left out.
  bool Transparent = false;
  std::uint32_t TransparentColor = 0xFF00FF;
  void Draw(HDC dc, const RECT& rect) override;

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
