#include "FrameSample.h"

#include <algorithm>

#include "ImgUtil.h"

namespace {

int FrameWidth(const TDataSkinObject& e) { return e.Bitmap.Width() / std::max(1, e.FrameCount); }

// Frame k of a strip stretched into `r`, colour-keyed.
void Keyed(TSkinImage& out, const TSkinRect& r, const TDataSkinObject& e, int k) {
  if (e.Bitmap.Empty() || r.Width() <= 0 || r.Height() <= 0) return;
  TSkinImage piece =
      SkinComposeNineSlice(r.Width(), r.Height(), e.Bitmap, e.Margins, k, e.FrameCount, e.Tile == 1, false);
  if (e.Trans == 1)
    SkinKeyedCopy(out, r.Left, r.Top, piece);
  else
    SkinStretchCopy(out, r, piece, {0, 0, piece.Width(), piece.Height()});
}

}  // namespace

void PaintFrameSample(const TSkinContent& skin, TSkinImage& out, int width, int height, bool active,
                      bool controls) {
  if (out.Width() != width || out.Height() != height) out.SetSize(width, height);
  // The frame painter leaves the client area to the window; the sample with controls
  // shows the face colour there.
  if (controls) out.Fill({0, 0, width, height}, skin::ColorToRGB(static_cast<skin::TColor>(skin.ButtonFaceColour)) & 0xFFFFFF);
  const int frame = active ? 1 : 2;
  auto side = [&](const TDataSkinBorder& e, const TSkinRect& r, bool vertical) {
    const int k = e.FrameCount > 1 ? frame : 1;
    SkinPaintNineSlice(out, r, e.Bitmap, e.Margins, k, e.FrameCount, e.Tile != 1, vertical);
  };
  const int L = FrameWidth(*skin.BorderLeft), R = FrameWidth(*skin.BorderRight);
  const int T = skin.BorderTop->Bitmap.Height() / std::max(1, skin.BorderTop->FrameCount);
  const int B = skin.BorderBottom->Bitmap.Height() / std::max(1, skin.BorderBottom->FrameCount);
  side(*skin.BorderLeft, {0, 0, L, height}, false);
  side(*skin.BorderRight, {width - R, 0, width, height}, false);
  side(*skin.BorderBottom, {L, height - B, width - R, height}, true);
  side(*skin.BorderTop, {L, 0, width - R, T}, true);

  // Caption buttons: frame 1 while active, 4 while inactive when the strip has it.
  for (const auto& b : skin.CaptionButtons) {
    if (b->Bitmap.Empty() || b->Visibility == 100) continue;
    const int w = FrameWidth(*b), h = b->Bitmap.Height();
    int x = b->Xcoord;
    if (b->Align == 1) x = width - b->Xcoord;
    const int k = active || b->FrameCount < 4 ? 1 : 4;
    TSkinImage glyph(w, h);
    SkinStretchCopy(glyph, {0, 0, w, h}, b->Bitmap, SkinFrameRect(b->Bitmap.Width(), h, k, b->FrameCount, false).Rect());
    SkinKeyedCopy(out, x, b->Ycoord, glyph);
  }

  // The menu bar band under the caption.
  int y = T;
  if (skin.MenuBar && !skin.MenuBar->Bitmap.Empty()) {
    const int mh = skin.MenuBar->Bitmap.Height();
    SkinPaintNineSlice(out, {L, y, width - R, y + mh}, skin.MenuBar->Bitmap, skin.MenuBar->Margins, 1,
                       skin.MenuBar->FrameCount, skin.MenuBar->Tile == 1, false);
    y += mh;
  }
  if (!controls) return;

  const int x0 = L + 16;
  y += 16;
  if (skin.Buttons) {
    Keyed(out, {x0, y, x0 + 88, y + 26}, *skin.Buttons, 1);
    Keyed(out, {x0 + 100, y, x0 + 188, y + 26}, *skin.Buttons, 4);
  }
  y += 40;
  if (skin.Progress && !skin.Progress->Bitmap.Empty()) {
    const int w = width - R - x0 - 16;
    Keyed(out, {x0, y, x0 + w, y + 16}, *skin.Progress, 1);
    Keyed(out, {x0, y, x0 + w * 3 / 5, y + 16}, *skin.Progress, 2);
  }
  y += 32;
  if (skin.Buttons && !skin.Buttons->CheckBitmap.Empty()) {
    TDataSkinObject check;
    check.Bitmap = skin.Buttons->CheckBitmap;
    check.FrameCount = skin.Buttons->CheckButtonFrame;
    check.Trans = 1;
    Keyed(out, {x0, y, x0 + 13, y + 13}, check, 2);
    TDataSkinObject radio;
    radio.Bitmap = skin.Buttons->RadioBitmap;
    radio.FrameCount = skin.Buttons->RadioButtonFrame;
    radio.Trans = 1;
    Keyed(out, {x0 + 100, y, x0 + 113, y + 13}, radio, 2);
  }
  y += 30;
  if (skin.HorzScroll && skin.Scrollbar && skin.HorzScrollThumb) {
    const int a = skin.Scrollbar->Bitmap.Height();
    const int w = width - R - x0 - 16;
    Keyed(out, {x0 + a, y, x0 + w - a, y + a}, *skin.HorzScroll, 1);
    Keyed(out, {x0, y, x0 + a, y + a}, *skin.Scrollbar, 1);
    Keyed(out, {x0 + w - a, y, x0 + w, y + a}, *skin.Scrollbar, 5);
    Keyed(out, {x0 + a + 20, y, x0 + a + 90, y + a}, *skin.HorzScrollThumb, 1);
  }
}
