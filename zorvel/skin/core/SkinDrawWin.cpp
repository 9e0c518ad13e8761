#include "SkinDrawWin.h"

#include <cstring>
#include <memory>
#include <vector>

#include "forms/Controls.h"

TSkinImage* ScratchBitmap = nullptr;

namespace {

int drawUsers = 0;

BITMAPINFO TopDownInfo(const TSkinImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.Width();
  info.bmiHeader.biHeight = -image.Height();  // rows from the top, as the image keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// Monochrome mask of `image`: 1 where the pixel is `key`, 0 elsewhere.
HBITMAP CreateKeyMask(const TSkinImage& image, TSkinColour key) {
  const int w = image.Width(), h = image.Height();
  const std::size_t stride = ((static_cast<std::size_t>(w) + 15) / 16) * 2;  // WORD-aligned rows
  std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(h), 0);
  const std::uint8_t kb = static_cast<std::uint8_t>(key >> 16), kg = static_cast<std::uint8_t>(key >> 8),
                     kr = static_cast<std::uint8_t>(key);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = image.Row(y);
    std::uint8_t* m = bits.data() + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < w; ++x, p += 3)
      if (p[0] == kb && p[1] == kg && p[2] == kr) m[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
  return CreateBitmap(w, h, 1, 1, bits.data());
}

// Draws `image` at (x, y), opaque or colour-keyed with magenta.
void Output(HDC dc, int x, int y, const TSkinImage& image, bool transparent) {
  if (transparent)
    TransparentBlit(dc, {x, y, x + image.Width(), y + image.Height()}, image, kSkinKeyColour);
  else
    SkinBlit(dc, x, y, image);
}

}  // namespace

HWND SkinControlWindow(TComponent* component) {
  auto* control = dynamic_cast<TWinControl*>(component);
  return control != nullptr && control->HandleAllocated() ? control->Handle() : nullptr;
}

std::string SkinControlAtomText() { return ControlAtomName(); }

void InitSkinDraw() {
  if (drawUsers++ == 0) ScratchBitmap = new TSkinImage();
}

void DoneSkinDraw() {
  if (drawUsers > 0 && --drawUsers == 0) {
    delete ScratchBitmap;
    ScratchBitmap = nullptr;
  }
}

TSkinImageDC::TSkinImageDC(const TSkinImage& image) {
  if (image.Empty()) return;
  BITMAPINFO info = TopDownInfo(image);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr || bits == nullptr) {
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    return;
  }
  std::memcpy(bits, image.Bits(), image.Stride() * static_cast<std::size_t>(image.Height()));
  bits_ = bits;
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) {
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
    return;
  }
  old_ = SelectObject(dc_, bitmap_);
}

void TSkinImageDC::ReadBack(TSkinImage& image) const {
  if (bits_ == nullptr || image.Empty()) return;
  GdiFlush();
  BITMAP info{};
  GetObject(bitmap_, sizeof(info), &info);
  if (info.bmWidth != image.Width() || info.bmHeight != image.Height()) return;
  std::memcpy(image.Row(0), bits_, image.Stride() * static_cast<std::size_t>(image.Height()));
  image.Touch();
}

TSkinImageDC::~TSkinImageDC() {
  if (dc_ != nullptr) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

void SkinBlit(HDC dc, int x, int y, const TSkinImage& image) {
  if (image.Empty()) return;
  BITMAPINFO info = TopDownInfo(image);
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(image.Width()), static_cast<DWORD>(image.Height()), 0, 0, 0,
                    static_cast<UINT>(image.Height()), image.Bits(), &info, DIB_RGB_COLORS);
}

TSkinImage ComposeNineSlice(const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                            int FrameIndex, int FrameCount, bool Tile, bool Vertical) {
  return SkinComposeNineSlice(DestRect.Width(), DestRect.Height(), Source, Margins, FrameIndex, FrameCount, Tile,
                              Vertical);
}

void DrawNineSlice(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                   int FrameIndex, int FrameCount, bool Transparent, bool Tile, bool Vertical) {
  if (DestRect.Inverted() || Source.Empty()) return;
  TSkinImage composed = ComposeNineSlice(DestRect, Source, Margins, FrameIndex, FrameCount, Tile, Vertical);
  Output(DC, DestRect.Left, DestRect.Top, composed, Transparent);
}

void DrawThreeSliceTiled(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                         int FrameIndex, int FrameCount, bool Transparent, bool Vertical) {
  if (DestRect.Inverted() || Source.Empty() || DestRect.Width() == 0 || DestRect.Height() == 0) return;
  TSkinFrame frame = SkinFrameRect(Source.Width(), Source.Height(), FrameIndex, FrameCount, Vertical);
  TSkinImage temp(DestRect.Width(), DestRect.Height());
  for (const TSkinPiece& piece : SkinThreeSliceTiledPieces(temp.Width(), temp.Height(), frame, Margins))
    SkinStretchCopy(temp, piece.Dest, Source, piece.Source);
  Output(DC, DestRect.Left, DestRect.Top, temp, Transparent);
}

void DrawStripThreeSlice(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                         int FrameIndex, int FrameCount, bool Vertical) {
  if (Source.Empty()) return;
  TSkinImageDC src(Source);
  if (!src.Valid()) return;
  TSkinFrame frame = SkinFrameRect(Source.Width(), Source.Height(), FrameIndex, FrameCount, Vertical);
  for (const TSkinPiece& p : SkinStripThreeSlicePieces(DestRect, frame, Margins))
    StretchBlt(DC, p.Dest.Left, p.Dest.Top, p.Dest.Width(), p.Dest.Height(), src.DC(), p.Source.Left,
               p.Source.Top, p.Source.Width(), p.Source.Height(), SRCCOPY);
}

void DrawFrameStrip(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, int FrameIndex, int FrameCount,
                    bool Transparent) {
  if (DestRect.Inverted() || Source.Empty() || DestRect.Width() == 0 || DestRect.Height() == 0) return;
  TSkinFrame frame = SkinFrameRect(Source.Width(), Source.Height(), FrameIndex, FrameCount, false);
  TSkinImage temp(DestRect.Width(), DestRect.Height());
  SkinStretchCopy(temp, {0, 0, temp.Width(), temp.Height()}, Source, frame.Rect());
  Output(DC, DestRect.Left, DestRect.Top, temp, Transparent);
}

void DrawFrameCentered(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, int FrameIndex,
                       int FrameCount, bool Transparent) {
  if (DestRect.Inverted() || Source.Empty()) return;
  TSkinFrame frame = SkinFrameRect(Source.Width(), Source.Height(), FrameIndex, FrameCount, false);
  if (frame.FW <= 0 || frame.FH <= 0) return;
  TSkinImage temp(frame.FW, frame.FH);
  SkinStretchCopy(temp, {0, 0, frame.FW, frame.FH}, Source, frame.Rect());
  TSkinPoint at = SkinCentredOrigin(DestRect, frame.FW, frame.FH);
  Output(DC, at.X, at.Y, temp, Transparent);
}

void TileBitmapRect(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinRect& SourceRect) {
  const int w = SourceRect.Width(), h = SourceRect.Height();
  if (w <= 0 || h <= 0) return;
  TSkinImage tile(w, h);
  SkinStretchCopy(tile, {0, 0, w, h}, Source, SourceRect);
  for (const TSkinPoint& p : SkinTilePositions(DestRect, w, h)) SkinBlit(DC, p.X, p.Y, tile);
}

void TransparentBlit(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, TSkinColour KeyColour) {
  // Every NT-family system has the masked blit; the other branch stays for the rest.
  TransparentBlitWith(DC, DestRect, Source, KeyColour, (GetVersion() & 0x80000000u) == 0);
}

void TransparentBlitWith(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, TSkinColour KeyColour,
                         bool useMaskBlt) {
  if (DestRect.Inverted() || Source.Empty()) return;
  const int W = DestRect.Width(), H = DestRect.Height();
  TSkinImageDC src(Source);
  if (!src.Valid()) return;
  HBITMAP mask = CreateKeyMask(Source, KeyColour);
  if (mask == nullptr) return;
  if (useMaskBlt) {
    // Mask 1 (key): keep the destination; mask 0: copy the source.
    MaskBlt(DC, DestRect.Left, DestRect.Top, W, H, src.DC(), 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  } else {
    HDC maskDC = CreateCompatibleDC(nullptr);
    if (maskDC != nullptr) {
      HGDIOBJ old = SelectObject(maskDC, mask);
      COLORREF oldBk = SetBkColor(DC, RGB(255, 255, 255));
      COLORREF oldText = SetTextColor(DC, RGB(0, 0, 0));
      BitBlt(DC, DestRect.Left, DestRect.Top, W, H, src.DC(), 0, 0, SRCINVERT);
      BitBlt(DC, DestRect.Left, DestRect.Top, W, H, maskDC, 0, 0, SRCAND);
      BitBlt(DC, DestRect.Left, DestRect.Top, W, H, src.DC(), 0, 0, SRCINVERT);
      SetBkColor(DC, oldBk);
      SetTextColor(DC, oldText);
      SelectObject(maskDC, old);
      DeleteDC(maskDC);
    }
  }
  DeleteObject(mask);
}

HRGN RegionFromBitmap(const TSkinImage& Source, int OffsetX, int OffsetY, TSkinColour KeyColour,
                      BYTE ToleranceRed, BYTE ToleranceGreen, BYTE ToleranceBlue) {
  constexpr std::size_t kBatch = 2000;
  // Fewer, taller rectangles: a region grows by one union per rectangle.
  std::vector<TSkinRect> runs = SkinMergeRows(
      SkinRegionRuns(Source, OffsetX, OffsetY, KeyColour, ToleranceRed, ToleranceGreen, ToleranceBlue));
  HRGN result = nullptr;
  std::size_t at = 0;
  do {
    const std::size_t n = std::min(kBatch, runs.size() - at);
    std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(n);
    data->rdh.nRgnSize = 0;
    RECT bounds{MAXLONG, MAXLONG, 0, 0};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < n; ++i) {
      RECT r = ToRect(runs[at + i]);
      rects[i] = r;
      bounds.left = std::min(bounds.left, r.left);
      bounds.top = std::min(bounds.top, r.top);
      bounds.right = std::max(bounds.right, r.right);
      bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    data->rdh.rcBound = bounds;
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
    if (part == nullptr && n == 0) part = CreateRectRgn(0, 0, 0, 0);
    if (result == nullptr) {
      result = part;
    } else if (part != nullptr) {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
    at += n;
  } while (at < runs.size());
  return result != nullptr ? result : CreateRectRgn(0, 0, 0, 0);
}

void PaintParentBackground(TControl* Control, HDC DC) {
  if (Control == nullptr || Control->Parent() == nullptr) return;
  TWinControl* parent = Control->Parent();
  const int saved = SaveDC(DC);
  POINT origin{};
  GetViewportOrgEx(DC, &origin);
  SetViewportOrgEx(DC, origin.x - Control->Left(), origin.y - Control->Top(), nullptr);
  RECT client{0, 0, Control->Width(), Control->Height()};
  if (auto* windowed = dynamic_cast<TWinControl*>(Control); windowed && windowed->HandleAllocated())
    GetClientRect(windowed->Handle(), &client);
  IntersectClipRect(DC, client.left + Control->Left(), client.top + Control->Top(),
                    client.right + Control->Left(), client.bottom + Control->Top());
  // The caller's DC state comes back also when the parent's painting raises.
  struct Restore {
    HDC dc;
    int saved;
    ~Restore() { RestoreDC(dc, saved); }
  } restore{DC, saved};
  for (UINT msg : {static_cast<UINT>(WM_ERASEBKGND), static_cast<UINT>(WM_PAINT)}) {
    TMessage message{msg, reinterpret_cast<WPARAM>(DC), 0, 0};
    if (parent->WindowProc)
      parent->WindowProc(message);
    else
      parent->WndProc(message);
  }
}
