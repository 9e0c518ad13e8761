#include "ImgUtilWin.h"

#include <vector>

namespace skin {

void Grayscale(TBitmap& bitmap) {
  bitmap.SetPixelFormat(pf24bit);
  GrayscalePixels(bitmap.View());
}

void ReplaceColor(TBitmap& bitmap, TColor color) {
  bitmap.SetPixelFormat(pf24bit);
  ReplaceMagentaPixels(bitmap.View(), ColorToRGB(color));
}

void MirrorHorizontal(TBitmap& bitmap) { MirrorPixels(bitmap.View()); }

void FlipVertical(TBitmap& bitmap) { FlipPixels(bitmap.View()); }

namespace {
void Rotate(TBitmap& bitmap, bool clockwise) {
  if (bitmap.Empty()) {
    bitmap.SetSize(bitmap.Height(), bitmap.Width());
    return;
  }
  TBitmap old;
  old.Assign(&bitmap);
  bitmap.SetSize(old.Height(), old.Width());
  RotatePixels(old.View(), bitmap.View(), clockwise);
}
}  // namespace

void Rotate90(TBitmap& bitmap) { Rotate(bitmap, false); }

void Rotate270(TBitmap& bitmap) { Rotate(bitmap, true); }

void GradientFill(HDC dc, const RECT& rect, TColor c1, TColor c2, bool vertical) {
  if (!RectVisible(dc, &rect)) return;
  const auto from = static_cast<TColor>(ColorToRGB(c1)), to = static_cast<TColor>(ColorToRGB(c2));
  const int start = vertical ? rect.top : rect.left;
  const int count = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (count <= 0) return;
  const int slot = GetGradientColors(count, from, to);
  if (slot < 0) return;
  const std::vector<TColor>& ramp = GradientSlot(slot);
  RECT clip;
  if (GetClipBox(dc, &clip) == ERROR) return;
  const TBandRange bands = vertical ? VisibleBands(start, count, clip.top, clip.bottom)
                                    : VisibleBands(start, count, clip.left, clip.right);
  for (int k = bands.first; k <= bands.last; ++k) {
    RECT band = rect;
    if (vertical)
      band.top = start + k, band.bottom = start + k + 1;
    else
      band.left = start + k, band.right = start + k + 1;
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ramp[static_cast<std::size_t>(k)]));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

}  // namespace skin
