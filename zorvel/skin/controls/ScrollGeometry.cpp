#include "ScrollGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "WinSkinDataCore.h"

namespace {

constexpr int kStripFrames = 23;

// A range of 0 would divide by zero: such a bar has one position, anywhere in a huge range.
// The range between two 32-bit values needs 64 bits.
std::int64_t NonZeroRange(int Min, int Max) {
  return Max == Min ? 9999999 : std::int64_t(Max) - Min;
}

// How far Position lies from Min, the position kept within the range as the system keeps
// a bar's position.
std::int64_t Along(int Min, int Max, int Position) {
  return std::clamp<std::int64_t>(Position, std::min(Min, Max), std::max(Min, Max)) - Min;
}

// Frame `Frame` of the element as a nine-slice at R, colour-keyed when the element says so.
void DrawElement(TSkinImage& Picture, const TSkinRect& R, const TDataSkinObject& Element, int Frame,
                 bool Tile) {
  if (R.Width() <= 0 || R.Height() <= 0 || Element.Bitmap.Empty()) return;
  const TSkinImage piece =
      SkinComposeNineSlice(R.Width(), R.Height(), Element.Bitmap, Element.Margins, Frame,
                           Element.FrameCount, Tile, false);
  if (Element.Trans == 1)
    SkinKeyedCopy(Picture, R.Left, R.Top, piece);
  else
    SkinStretchCopy(Picture, R, piece, {0, 0, piece.Width(), piece.Height()});
}

// Frame `Frame` of the Scrollbar strip stretched to R, magenta transparent.
void DrawStripFrame(TSkinImage& Picture, const TSkinRect& R, const TSkinImage& Strip, int Frame) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  const TSkinFrame f = SkinFrameRect(Strip.Width(), Strip.Height(), Frame, kStripFrames, false);
  TSkinImage cell(R.Width(), R.Height(), kSkinKeyColour);
  SkinStretchCopy(cell, {0, 0, R.Width(), R.Height()}, Strip, f.Rect());
  SkinKeyedCopy(Picture, R.Left, R.Top, cell);
}

}  // namespace

int SkinMulDiv(std::int64_t A, std::int64_t B, std::int64_t C) {
  if (C == 0) return -1;
  const std::int64_t product = A * B;
  const std::int64_t half = std::llabs(C) / 2;
  // Rounded half away from zero: the magnitude rounded, then the sign put back.
  const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(C);
  const bool negative = (product < 0) != (C < 0);
  const std::int64_t result = negative ? -magnitude : magnitude;
  return result > INT32_MAX || result < INT32_MIN ? -1 : int(result);
}

TThumbExtent ControlThumb(int TrackLength, int ArrowSize, int Min, int Max, int Page,
                          int Position) {
  const std::int64_t range = NonZeroRange(Min, Max), along = Along(Min, Max, Position);
  const int inner = TrackLength - 2 * ArrowSize;
  const bool atMin = Position == Min;
  int length, top;
  if (Page > 0) {
    // No more than the range, as the system keeps a bar's page.
    length = SkinMulDiv(inner, std::min<std::int64_t>(Page - 1, std::llabs(range)), range);
    if (length > 7) {
      top = atMin ? ArrowSize : SkinMulDiv(inner, along, range) + ArrowSize;
    } else {
      length = 8;
      top = atMin ? ArrowSize : SkinMulDiv(inner - 8, along, range) + ArrowSize;
    }
  } else {
    length = ArrowSize;
    top = atMin ? ArrowSize : SkinMulDiv(TrackLength - 3 * ArrowSize, along, range) + ArrowSize;
  }
  return {top, top + length};
}

int PressThumbStart(int TrackLength, int ArrowSize, int Min, int Max, int Page, int Position) {
  if (Position == Min) return ArrowSize;
  const int free = TrackLength - (Page > 0 ? 2 : 3) * ArrowSize;
  return SkinMulDiv(free, Along(Min, Max, Position), NonZeroRange(Min, Max)) + ArrowSize;
}

int ScrollHitTest(int Pos, int ArrowSize, TThumbExtent Thumb, int TrackLength) {
  if (Pos < ArrowSize) return spFirstArrow;
  if (Pos < Thumb.Start) return spPageBefore;
  if (Pos < Thumb.End) return spThumb;
  if (Pos < TrackLength - ArrowSize) return spPageAfter;
  return spSecondArrow;
}

TThumbExtent DragThumb(TThumbExtent Thumb, int DragStart, int Delta, int ArrowSize,
                       int TrackLength) {
  const int length = Thumb.End - Thumb.Start;
  int start = std::max(DragStart + Delta, ArrowSize);
  start = std::min(start, TrackLength - ArrowSize - length);
  return {start, start + length};
}

int ThumbBreadth(int StripHeight, int ArrowSize) {
  return std::abs(StripHeight - ArrowSize) >= 2 ? ArrowSize : StripHeight;
}

int ArrowLength(int ArrowSize, int TrackLength) {
  return 2 * ArrowSize > TrackLength ? TrackLength / 2 : ArrowSize;
}

int ArrowFrame(bool Vertical, bool Second, int HotPart, bool Pressed) {
  const int base = (Vertical ? 9 : 1) + (Second ? 4 : 0);
  if (HotPart != (Second ? spSecondArrow : spFirstArrow)) return base;
  return base + (Pressed ? 1 : 3);
}

int GripFrame(bool Vertical, int HotPart, bool Pressed) {
  const int base = Vertical ? 20 : 17;
  if (HotPart != spThumb) return base;
  return base + (Pressed ? 1 : 2);
}

int ThumbFrame(int HotPart, bool Pressed) {
  if (HotPart != spThumb) return 1;
  return Pressed ? 2 : 3;
}

void PaintScrollBar(TSkinImage& Picture, const TScrollBarLook& Look,
                    const TScrollBarImages& Images) {
  if (!TSkinImage::Fits(Look.Width, Look.Height)) {
    Picture.Clear();
    return;
  }
  Picture.SetSize(Look.Width, Look.Height, Look.Face);
  if (Picture.Empty() || !Images.Strip || Images.Strip->Bitmap.Empty()) return;
  const TSkinImage& strip = Images.Strip->Bitmap;
  // The part of the bar from `from` to `to` along it, Breadth across.
  const auto span = [&](int from, int to) {
    return Look.Vertical ? TSkinRect{0, from, Look.Breadth, to}
                         : TSkinRect{from, 0, to, Look.Breadth};
  };
  const int length = Look.TrackLength;

  if (Images.Track)
    DrawElement(Picture, span(Look.ArrowSize, length - Look.ArrowSize), *Images.Track,
                Look.Enabled ? 1 : 3, Images.Track->Tile != 0);

  const int arrow = ArrowLength(Look.ArrowSize, length);
  DrawStripFrame(Picture, span(0, arrow), strip,
                 ArrowFrame(Look.Vertical, false, Look.HotPart, Look.Pressed));
  DrawStripFrame(Picture, span(length - arrow, length), strip,
                 ArrowFrame(Look.Vertical, true, Look.HotPart, Look.Pressed));

  if (!Look.Enabled) return;
  const TThumbExtent thumb = Look.Thumb;
  const auto inside = [&](int a, int b) {
    return a < Look.OverlayLength && b < Look.OverlayLength;
  };
  if (Images.Thumb && inside(thumb.Start, thumb.End))
    DrawElement(Picture, span(thumb.Start, thumb.End), *Images.Thumb,
                ThumbFrame(Look.HotPart, Look.Pressed), false);
  const int side = strip.Height();
  const int thumbLength = thumb.End - thumb.Start;
  if (side >= thumbLength + 2) return;
  const int grip = thumb.Start + (thumbLength - side) / 2;
  if (inside(grip, grip + side))
    DrawStripFrame(Picture, span(grip, grip + side), strip,
                   GripFrame(Look.Vertical, Look.HotPart, Look.Pressed));
}
