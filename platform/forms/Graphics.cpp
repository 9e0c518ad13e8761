#include "Graphics.h"

#include <algorithm>
#include <cstring>
#include <vector>

COLORREF ColorToRGB(TColor color) {
  if (color & 0xFF000000u) return GetSysColor(int(color & 0xFF));
  return COLORREF(color & 0x00FFFFFFu);
}

// ---------------------------------------------------------------------------------------

TFont::~TFont() {
  if (handle_) DeleteObject(handle_);
}

bool TFont::HandleStale() const noexcept {
  return handle_ && (madeName_ != Name || madeHeight_ != Height || madeCharset_ != Charset ||
                     madeStyle_ != Style);
}

HFONT TFont::Handle() {
  if (handle_ && !HandleStale()) return handle_;
  if (handle_) DeleteObject(handle_);
  const auto has = [this](TFontStyle s) { return (Style >> s) & 1u; };
  LOGFONTA lf{};
  lf.lfHeight = Height;
  lf.lfWeight = has(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = BYTE(has(fsItalic));
  lf.lfUnderline = BYTE(has(fsUnderline));
  lf.lfStrikeOut = BYTE(has(fsStrikeOut));
  lf.lfCharSet = BYTE(Charset);
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  // The face name is 8-bit text of the programs' code page, as the A function reads it.
  std::strncpy(lf.lfFaceName, Name.c_str(), LF_FACESIZE - 1);
  handle_ = CreateFontIndirectA(&lf);
  madeName_ = Name;
  madeHeight_ = Height;
  madeCharset_ = Charset;
  madeStyle_ = Style;
  return handle_;
}

void TFont::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TFont*>(source);
  if (!other) return TPersistent::Assign(source);
  Name = other->Name;
  Height = other->Height;
  Charset = other->Charset;
  Color = other->Color;
  Style = other->Style;
}

// ---------------------------------------------------------------------------------------

TCanvas::~TCanvas() {
  if (bitmap_) {
    if (dc_) {
      Unrealize();
      Deselect();
      DeleteDC(dc_);
    }
  } else {
    SetHandle(nullptr);
  }
  if (brush_) DeleteObject(brush_);
  if (pen_) DeleteObject(pen_);
}

HDC TCanvas::Handle() {
  if (!dc_ && bitmap_) {
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) throw EInvalidGraphicOperation("Out of system resources");
    Select();
  }
  if (dc_) Realize();
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (bitmap_ || dc == dc_) return;
  Unrealize();
  dc_ = dc;
}

void TCanvas::Realize() {
  if (realized_ && Font.HandleStale()) {
    // The font is about to be made again: the old one leaves the DC before it is deleted.
    SelectObject(dc_, oldFont_);
    selectedFont_ = nullptr;
  }
  HFONT font = Font.Handle();
  if (!realized_) {
    oldFont_ = SelectObject(dc_, font);
    selectedFont_ = font;
    SetTextColor(dc_, ColorToRGB(Font.Color));
    madeTextColor_ = Font.Color;
  } else {
    if (font != selectedFont_) {
      SelectObject(dc_, font);
      selectedFont_ = font;
    }
    if (Font.Color != madeTextColor_) {
      SetTextColor(dc_, ColorToRGB(Font.Color));
      madeTextColor_ = Font.Color;
    }
  }
  // Brush and pen: made again, and the background set, only when they changed, so that
  // a background mode set on the handle stays until the brush changes.
  if (!realized_ || Brush.Color != madeBrush_.Color || Brush.Style != madeBrush_.Style) {
    HBRUSH brush = Brush.Style == bsClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                          : CreateSolidBrush(ColorToRGB(Brush.Color));
    HGDIOBJ previous = SelectObject(dc_, brush);
    if (!realized_) oldBrush_ = previous;
    if (brush_) DeleteObject(brush_);
    brush_ = Brush.Style == bsClear ? nullptr : brush;
    if (Brush.Style == bsClear) {
      SetBkMode(dc_, TRANSPARENT);
    } else {
      SetBkColor(dc_, ColorToRGB(Brush.Color));
      SetBkMode(dc_, OPAQUE);
    }
    madeBrush_ = Brush;
  }
  if (!realized_ || Pen.Color != madePen_) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(Pen.Color));
    HGDIOBJ previous = SelectObject(dc_, pen);
    if (!realized_) oldPen_ = previous;
    if (pen_) DeleteObject(pen_);
    pen_ = pen;
    madePen_ = Pen.Color;
  }
  realized_ = true;
}

void TCanvas::Unrealize() {
  if (!realized_ || !dc_) return;
  SelectObject(dc_, oldFont_);
  SelectObject(dc_, oldBrush_);
  SelectObject(dc_, oldPen_);
  realized_ = false;
  selectedFont_ = nullptr;
}

void TCanvas::Select() {
  if (dc_ && bitmap_ && bitmap_->dib_ && !original_) original_ = SelectObject(dc_, bitmap_->dib_);
}

void TCanvas::Deselect() {
  if (dc_ && original_) {
    SelectObject(dc_, original_);
    original_ = nullptr;
  }
}

void TCanvas::FillRect(const RECT& rect) {
  if (Brush.Style == bsClear) return;
  HDC dc = Handle();  // makes the brush
  ::FillRect(dc, &rect, brush_);
}

void TCanvas::Polygon(const POINT* points, int count) {
  ::Polygon(Handle(), points, count);
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
  if (graphic.Empty()) return;
  graphic.Draw(Handle(), RECT{x, y, x + graphic.Width(), y + graphic.Height()});
}

std::uint32_t TCanvas::Pixel(int x, int y) {
  if (!bitmap_ || x < 0 || y < 0 || x >= bitmap_->width_ || y >= bitmap_->height_)
    return CLR_INVALID;
  const std::uint8_t* p = bitmap_->View().Pixel(x, y);
  return RGB(p[2], p[1], p[0]);
}

void TCanvas::SetPixel(int x, int y, std::uint32_t rgb) {
  if (!bitmap_ || x < 0 || y < 0 || x >= bitmap_->width_ || y >= bitmap_->height_) return;
  std::uint8_t* p = bitmap_->View().Pixel(x, y);
  p[0] = GetBValue(rgb), p[1] = GetGValue(rgb), p[2] = GetRValue(rgb);
}

// ---------------------------------------------------------------------------------------

TBitmap::~TBitmap() {
  canvas_.reset();
  if (dib_) DeleteObject(dib_);
}

void TBitmap::SetSize(int width, int height) {
  Replace(std::max(width, 0), std::max(height, 0), format_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format != format_) Replace(width_, height_, format);
}

void TBitmap::Replace(int width, int height, TPixelFormat format) {
  if (width > kMaxBmpDimension || height > kMaxBmpDimension ||
      static_cast<std::int64_t>(width) * height > kMaxBmpPixels)
    throw EInvalidGraphicOperation("Bitmap image is too large");
  if (width == width_ && height == height_ && format == format_) return;
  GdiFlush();

  HBITMAP dib = nullptr;
  std::uint8_t* bits = nullptr;
  const int bpp = format == pf32bit ? 32 : 24;
  if (width > 0 && height > 0) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bpp);
    info.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    if (!dib || !p) throw EInvalidGraphicOperation("Out of system resources");
    bits = static_cast<std::uint8_t*>(p);
    const std::ptrdiff_t stride = BmpStride(width, bpp);
    std::memset(bits, 0, static_cast<std::size_t>(stride * height));
    // Carry over what the two sizes share.
    const int oldBytes = format_ == pf32bit ? 4 : 3, newBytes = bpp / 8;
    if (bits_)
      for (int y = 0; y < std::min(height, height_); ++y)
        for (int x = 0; x < std::min(width, width_); ++x)
          std::memcpy(bits + stride * y + x * newBytes, bits_ + stride_ * y + x * oldBytes, 3);
  }

  if (canvas_) canvas_->Deselect();
  if (dib_) DeleteObject(dib_);
  dib_ = dib;
  bits_ = bits;
  // An empty bitmap keeps the size asked for in the dimension that is not 0.
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = dib ? BmpStride(width, bpp) : 0;
  if (canvas_) canvas_->Select();
}

std::uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= height_ || !bits_) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  return bits_ + stride_ * y;
}

TPixelView TBitmap::View() {
  GdiFlush();
  if (!bits_) return {0, 0, format_ == pf32bit ? 4 : 3, 0, nullptr};
  return {width_, height_, format_ == pf32bit ? 4 : 3, stride_, bits_};
}

void TBitmap::Draw(HDC dc, const RECT& rect) {
  if (Empty()) return;
  HDC src = Canvas()->Handle();
  const int w = int(rect.right - rect.left), h = int(rect.bottom - rect.top);
  if (Transparent)
    GdiTransparentBlt(dc, rect.left, rect.top, w, h, src, 0, 0, width_, height_,
                      TransparentColor & 0xFFFFFF);
  else
    StretchBlt(dc, rect.left, rect.top, w, h, src, 0, 0, width_, height_, SRCCOPY);
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(*this);
  return canvas_.get();
}

void TBitmap::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TBitmap*>(source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  GdiFlush();
  Replace(0, 0, other->format_);
  Replace(other->width_, other->height_, other->format_);
  if (bits_) std::memcpy(bits_, other->bits_, static_cast<std::size_t>(stride_ * height_));
  Transparent = other->Transparent;
  TransparentColor = other->TransparentColor;
}

bool TBitmap::LoadFromStream(TStream& stream) {
  std::vector<std::uint8_t> bytes(stream.Remaining());
  std::size_t n = stream.Read(bytes.data(), bytes.size());
  return LoadFromBytes(bytes.data(), n);
}

bool TBitmap::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
  TDecodedBmp bmp;
  Replace(0, 0, format_);
  if (!DecodeBmp(data, size, bmp)) return false;
  Replace(bmp.width, bmp.height, bmp.bitsPerPixel == 32 ? pf32bit : pf24bit);
  for (int y = 0; y < height_; ++y)
    std::memcpy(bits_ + stride_ * y, bmp.pixels.data() + bmp.stride * y,
                static_cast<std::size_t>(bmp.stride));
  return true;
}
