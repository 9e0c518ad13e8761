// Input: the numbers that a skin and a window hand the painters' geometry, read in turn
// from the bytes (zeros once they run out). The first byte picks a family of painters;
// each draws its numbers as its callers can come by them:
//  - a skin number (margin, frame count, alignment, coordinate): any 32-bit value;
//  - an image side: what the bitmap reader accepts, from 0 to its limits;
//  - a window coordinate or size: 16 bits, as the window system keeps them;
//  - a system metric: 0 to 255; a control's value (range, page, position): any;
//  - a control property (margin, spacing) or a measured text: 16 bits.
// Pictures are composed for real, from small images, at small sizes or at sizes past
// the image limits (never in between, where a run would only be slow). Whatever the
// numbers, a layout keeps to its image and its target and a composition gives the size
// asked for or nothing; the sanitizers catch the rest.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "FormGeometry.h"
#include "ScrollGeometry.h"
#include "SkinDraw.h"
#include "SkinEditLayout.h"
#include "SkinLayout.h"
#include "SkinRangeLayout.h"
#include "SkinStates.h"
#include "WinSkinDataCore.h"

namespace {

void Check(bool holds, int line = __builtin_LINE()) {
  if (holds) return;
  std::fprintf(stderr, "check failed at line %d\n", line);
  __builtin_trap();
}

bool Inside(const TSkinRect& r, const TSkinRect& outer) {
  return r.Left >= outer.Left && r.Top >= outer.Top && r.Right <= outer.Right &&
         r.Bottom <= outer.Bottom;
}

bool SizedOrEmpty(const TSkinImage& image, int width, int height) {
  return image.Empty() || (image.Width() == width && image.Height() == height);
}

class TInput {
 public:
  TInput(const std::uint8_t* data, std::size_t size) : at_(data), end_(data + size) {}

  int SkinNumber() { return Take<std::int32_t>(); }
  int ControlValue() { return Take<std::int32_t>(); }
  int Coordinate() { return Take<std::int16_t>(); }
  int Property() { return Take<std::int16_t>(); }
  int Metric() { return Take<std::uint8_t>(); }
  bool Flag() { return Take<std::uint8_t>() & 1; }
  int Byte() { return Take<std::uint8_t>(); }
  TSkinRect Rect() { return {Coordinate(), Coordinate(), Coordinate(), Coordinate()}; }
  TSkinPoint Point() { return {Coordinate(), Coordinate()}; }
  TSkinMargins Margins() { return {SkinNumber(), SkinNumber(), SkinNumber(), SkinNumber()}; }

  // An image's size as the bitmap reader lets it through.
  void ImageSize(int& w, int& h) {
    w = Take<std::uint16_t>() % (TSkinImage::kMaxSide + 1);
    h = Take<std::uint16_t>() % (TSkinImage::kMaxSide + 1);
    if (std::int64_t(w) * h > TSkinImage::kMaxPixels) h = int(TSkinImage::kMaxPixels / w);
  }
  // A real image of up to 32 x 32 in columns of four colours, the transparent key among them.
  TSkinImage Image() {
    static constexpr TSkinColour kColours[] = {kSkinKeyColour, 0x0000FF, 0x00FF00, 0xFF0000};
    TSkinImage image(Byte() % 33, Byte() % 33);
    for (int x = 0; x < image.Width(); ++x)
      image.Fill({x, 0, x + 1, image.Height()}, kColours[Byte() % 4]);
    return image;
  }
  // A picture's side: small, or past the image limits, or below zero.
  int PictureSide() {
    const int v = Coordinate();
    return v > 64 && v <= TSkinImage::kMaxSide ? v % 65 : v;
  }
  // A rectangle about a small picture.
  TSkinRect NearRect() {
    auto near = [this] { return Coordinate() % 80; };
    return {near(), near(), near(), near()};
  }

 private:
  template <class T>
  T Take() {
    T value{};
    const std::size_t n = std::min(sizeof(T), std::size_t(end_ - at_));
    std::memcpy(&value, at_, n);
    at_ += n;
    return value;
  }
  const std::uint8_t* at_;
  const std::uint8_t* end_;
};

TDataSkinObject Element(TInput& in) {
  TDataSkinObject e;
  e.Bitmap = in.Image();
  e.Margins = in.Margins();
  e.FrameCount = in.SkinNumber();
  e.Trans = in.Flag();
  e.Tile = in.Flag();
  return e;
}

// Frames of strips, the nine-slice, three-slice and tile layouts over images of any size.
void Slices(TInput& in) {
  int w, h;
  in.ImageSize(w, h);
  const TSkinFrame f = SkinFrameRect(w, h, in.SkinNumber(), in.SkinNumber(), in.Flag());
  Check(f.FW >= 0 && f.FH >= 0 && Inside(f.Rect(), {0, 0, w, h}));
  const int W = in.Coordinate(), H = in.Coordinate();
  const TSkinMargins margins = in.Margins();
  for (const TSkinPiece& p : SkinNineSlicePieces(W, H, f, margins, in.Flag())) {
    Check(Inside(p.Source, f.Rect()));
    if (W >= 0 && H >= 0) Check(Inside(p.Dest, {0, 0, W, H}) && !p.Dest.Inverted());
  }
  // A bar up to 2047 wide: its pieces can number as many as its columns.
  const int barWidth = W % 2048;
  const auto three = SkinThreeSliceTiledPieces(barWidth, H, f, margins);
  Check(three.size() <= std::size_t(std::max(barWidth, 0)) + 2);
  for (const TSkinPiece& p : three) Check(Inside(p.Source, f.Rect()));
  for (const TSkinPiece& p : SkinStripThreeSlicePieces(in.Rect(), f, margins))
    Check(Inside(p.Source, f.Rect()));

  const TSkinRect dest = in.Rect();
  if (f.FW > 0 && f.FH > 0 &&
      std::int64_t(dest.Width() / f.FW + 1) * (dest.Height() / f.FH + 1) <= (1 << 16))
    for (const TSkinPoint& p : SkinTilePositions(dest, f.FW, f.FH))
      Check(p.X >= dest.Left && p.X < dest.Right && p.Y >= dest.Top && p.Y < dest.Bottom);
  SkinCentredOrigin(dest, f.FW, f.FH);
}

// Pictures composed from a skin image as the frame, caption, menu and control painters
// compose them.
void Compositions(TInput& in) {
  const TDataSkinObject e = Element(in);
  const int k = in.SkinNumber();
  const bool vertical = in.Flag();
  const int W = in.PictureSide(), H = in.PictureSide();
  const TSkinImage composed =
      SkinComposeNineSlice(W, H, e.Bitmap, e.Margins, k, e.FrameCount, e.Tile, vertical);
  Check(SizedOrEmpty(composed, W, H));

  TSkinImage picture(in.Byte() % 65, in.Byte() % 65, 0x123456);
  SkinPaintNineSlice(picture, in.NearRect(), e.Bitmap, e.Margins, k, e.FrameCount, e.Tile,
                     vertical);
  const TSkinFrame f =
      SkinFrameRect(e.Bitmap.Width(), e.Bitmap.Height(), k, e.FrameCount, vertical);
  for (const TSkinPiece& p :
       SkinThreeSliceTiledPieces(picture.Width(), picture.Height(), f, e.Margins))
    SkinStretchCopy(picture, p.Dest, e.Bitmap, p.Source);
  for (const TSkinPiece& p : SkinStripThreeSlicePieces(in.NearRect(), f, e.Margins))
    SkinStretchCopy(picture, p.Dest, e.Bitmap, p.Source);
  SkinKeyedCopy(picture, in.SkinNumber(), in.SkinNumber(), composed);

  // A window region from a border image: runs one pixel high, joined rows no more.
  const auto runs =
      SkinRegionRuns(e.Bitmap, in.Coordinate(), in.Coordinate(), TSkinColour(in.SkinNumber()),
                     std::uint8_t(in.Byte()), std::uint8_t(in.Byte()), std::uint8_t(in.Byte()));
  for (const TSkinRect& run : runs) Check(run.Width() > 0 && run.Height() == 1);
  Check(SkinMergeRows(runs).size() <= runs.size());
}

// A skinned window's frame: borders, client area, hit tests, caption buttons, the size
// that keeps the client area, the region's parts and the menu bar.
void Form(TInput& in) {
  TFrameState s;
  int w, h;
  in.ImageSize(w, h);
  s.LeftWidth = SkinBorderSize(w, in.SkinNumber());
  s.RightWidth = SkinBorderSize(h, in.SkinNumber());
  in.ImageSize(w, h);
  s.TopHeight = SkinBorderSize(h, in.SkinNumber());
  s.BottomHeight = SkinBorderSize(w, in.SkinNumber());
  s.WindowWidth = in.Coordinate();
  s.MenuBarHeight = in.Coordinate();
  // The title's ends: a border plus a skin margin.
  s.TitleLeft = in.SkinNumber();
  s.TitleRight = in.SkinNumber();
  s.MenuBarLeftMargin = in.SkinNumber();
  s.Active = in.Flag();
  s.RightToLeft = in.Flag();
  s.IsDialog = in.Flag();
  s.HasMenuBar = in.Flag();
  s.ActiveChildMaximized = in.Flag();
  s.WindowState = std::uint8_t(in.Byte() % 3);
  s.BorderKind = std::uint8_t(in.Byte() % 4);
  s.FrameFlags = std::uint8_t(in.Byte());
  s.Kind = std::uint8_t(in.Byte() % 3);

  bool keep = false;
  SkinClientRect(in.Rect(), s, keep);
  SkinHitTest(in.SkinNumber(), in.Point(), s.TopHeight, s.MenuBarHeight);

  const TButtonRule rule{in.SkinNumber(), in.SkinNumber(), in.SkinNumber()};
  SkinButtonVisible(rule, s, [&in] { return in.Flag(); });
  SkinButtonEffect(rule.Action);
  const int align = in.SkinNumber(), x = in.SkinNumber(), y = in.SkinNumber();
  in.ImageSize(w, h);
  const int bw = SkinFrameRect(w, h, 1, in.SkinNumber(), false).FW;
  const TSkinRect bounds = SkinButtonBounds(align, x, y, bw, h, s);
  Check(bounds.Width() == bw && bounds.Height() == h);

  SkinWindowSize(in.Coordinate(), in.Coordinate(), s);
  Check(SkinDialogShift(in.Coordinate(), in.SkinNumber()) >= 0);
  const int W = in.Coordinate(), H = in.Coordinate();
  for (const TRegionPart& part : SkinRegionParts(
           W, H, s, {in.SkinNumber(), in.SkinNumber(), in.SkinNumber(), in.SkinNumber()}))
    Check(part.Rect == TSkinRect{} || (part.Rect.Width() > 0 && part.Rect.Height() > 0));

  const TSkinRect bar = in.Rect();
  const bool rightToLeft = in.Flag();
  const int start =
      SkinMenuBarStart(in.Flag(), in.SkinNumber(), in.SkinNumber(), rightToLeft, bar.Width());
  std::vector<TMenuBarItem> items(std::size_t(in.Byte() % 16));
  for (TMenuBarItem& item : items) item = {SkinMenuItemWidth(in.Property()), in.Flag()};
  const auto placed = SkinMenuBarLayout(bar, items, start, rightToLeft);
  Check(placed.size() == items.size());
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].Visible) Check(placed[i].Width() == items[i].Width);
  const int next = SkinNeighbourIndex(in.Coordinate(), int(items.size()), in.Flag());
  Check(items.empty() ? next == -1 : next >= 0 && next < int(items.size()));
}

// The scroll bar over a control: its thumb from the control's values, a press and a drag
// on it, and its picture.
void Scroll(TInput& in) {
  const bool vertical = in.Flag();
  const int W = in.PictureSide(), H = in.PictureSide();
  const int track = vertical ? H : W, arrow = in.Metric();
  const int min = in.ControlValue(), max = in.ControlValue(), page = in.ControlValue(),
            position = in.ControlValue();
  TThumbExtent thumb = ControlThumb(track, arrow, min, max, page, position);
  Check(thumb.End >= thumb.Start);
  const int pressed = PressThumbStart(track, arrow, min, max, page, position);
  const int part = ScrollHitTest(in.Coordinate(), arrow, thumb, track);
  Check(part == spFirstArrow || part == spSecondArrow || part == spPageBefore ||
        part == spPageAfter || part == spThumb);
  if (in.Flag()) {
    const TThumbExtent dragged =
        DragThumb(thumb, pressed, in.Coordinate() - in.Coordinate(), arrow, track);
    Check(dragged.End - dragged.Start == thumb.End - thumb.Start);
    thumb = dragged;
  }
  const int hot = in.Byte() % 8 - 1;
  const bool down = in.Flag();
  for (int frame : {ArrowFrame(vertical, false, hot, down), ArrowFrame(vertical, true, hot, down),
                    GripFrame(vertical, hot, down)})
    Check(frame >= 1 && frame <= 23);
  Check(ThumbFrame(hot, down) >= 1 && ThumbFrame(hot, down) <= 3);

  TDataSkinObject strip = Element(in);
  strip.FrameCount = 23;
  const TDataSkinObject trackImage = Element(in), thumbImage = Element(in);
  TScrollBarLook look;
  look.Width = W;
  look.Height = H;
  look.Vertical = vertical;
  look.Enabled = in.Flag();
  look.ArrowSize = arrow;
  look.Breadth = ThumbBreadth(strip.Bitmap.Height(), arrow);
  look.TrackLength = track;
  look.Thumb = thumb;
  look.HotPart = hot;
  look.Pressed = down;
  look.OverlayLength = in.Coordinate();
  look.Face = 0xC0C0C0;
  TSkinImage picture;
  PaintScrollBar(picture, look, {&strip, &trackImage, &thumbImage});
  Check(SizedOrEmpty(picture, W, H));
}

// The track bar's channel, the up-down's halves and the progress bar.
void Ranges(TInput& in) {
  int w, h;
  in.ImageSize(w, h);
  const bool verticalImage = in.Flag();
  const TSkinRect target = TrackChannelTarget(in.Rect(), verticalImage);
  for (const TSkinPiece& p : TrackChannelPieces(target, verticalImage, w, h, in.Margins()))
    Check(Inside(p.Source, {0, 0, w, h}));

  TUpDownHalf halves[2];
  UpDownHalves(in.Coordinate(), in.Coordinate(), in.Flag(), halves);
  for (const TUpDownHalf& half : halves) {
    const int frame = UpDownFrame(half.Glyph, UpDownState(in.Flag(), in.Flag(), in.Flag()));
    Check(frame >= 1 && frame <= 8);
  }
  UpDownBuddyClear(in.Rect(), in.Rect(), in.Rect());

  const bool vertical = in.Flag();
  const int W = in.PictureSide(), H = in.PictureSide();
  const int length = vertical ? H : W;
  const int fill = ProgressFill(length, in.ControlValue(), in.ControlValue(), in.ControlValue());
  Check(fill >= 0 && fill <= std::max(length, 0));
  const TSkinImage bar = in.Image(), chunk = in.Image();
  TProgressLook look;
  look.Bar = &bar;
  look.Margins = in.Margins();
  look.Tile = in.Flag();
  look.ChunkMode = in.Flag();
  look.Chunk = &chunk;
  look.ChunkMargins = in.Margins();
  look.ChunkTile = in.Flag();
  Check(SizedOrEmpty(ComposeProgress(look, W, H, fill, vertical, 0xC0C0C0), W, H));
}

// Where the edit, button, check-box and tab skinners put their parts.
void Controls(TInput& in) {
  const TComboState combo{in.Flag(), in.Flag(), in.Flag(), in.Flag()};
  Check(ComboFrame(combo) >= 1 && ComboFrame(combo) <= 4 && FlatComboFrame(combo) >= 1 &&
        FlatComboFrame(combo) <= 4);
  ComboLayout(in.Rect(), in.Metric(), in.Flag());
  int w, h;
  in.ImageSize(w, h);
  FlatComboLayout(in.Rect(), SkinFrameRect(w, h, 1, in.SkinNumber(), false).FW, h, in.Metric(),
                  in.Flag());
  ArrowButtonBounds(in.Coordinate(), in.Metric(), in.Flag());

  const TSkinRect R = in.Rect();
  PlaceCaption(R, in.Point(), in.Property(), in.Property(), in.Flag());
  const TSkinRect focus = CaptionFocusRect(R, in.Property(), in.Property(), unsigned(in.Byte()));
  Check(focus.Left >= R.Left && focus.Top >= R.Top && focus.Right <= R.Right &&
        focus.Bottom <= R.Bottom);
  LayoutImageAndText(R, in.Flag(), in.Coordinate(), in.Coordinate(), in.Property(), in.Property(),
                     in.Property());
  const TSkinPoint C = in.Point(), G = in.Point(), T = in.Point();
  const int layout = in.Property(), margin = in.Property(), spacing = in.Property();
  LayoutGlyphAndText(C, G, T, layout, margin, spacing, in.Flag());
  SpeedButtonMargin(C, G, T, layout, margin, spacing);
  MenuButtonTextOrigin(in.Coordinate(), in.Coordinate(), in.Property(), in.Property());
  MenuButtonArrow(in.Coordinate(), in.Coordinate());
  const TButtonState button{in.Flag(), in.Flag(), in.Flag(), in.Flag()};
  for (int frame : {PushButtonFrame(button), MenuButtonFrame(button),
                    SpeedButtonFrame(button.Pressed, button.Hot, button.Enabled, button.Focused)})
    Check(frame >= 1 && frame <= 5);

  const int n = in.SkinNumber();
  const int checkFrame = CheckBoxFrame(TCheckState(in.Byte() % 3), in.Flag(), n);
  const int radioFrame = RadioButtonFrame(in.Flag(), in.Flag(), n);
  Check(checkFrame >= 1 && checkFrame <= std::max(n, 1) && radioFrame >= 1 &&
        radioFrame <= std::max(n, 1));
  in.ImageSize(w, h);
  const int boxWidth = SkinFrameRect(w, h, 1, n, false).FW;
  const TSkinRect box = CheckBoxLayout(in.Rect(), boxWidth, h, in.Flag(), in.Flag()).Box;
  Check(box.Width() == boxWidth && box.Height() == h);
  for (int slot : GlyphSlots(in.Byte() % 5, n)) Check(slot >= 0 && slot <= std::max(n, 0));

  const int position = TabPositionOfStyle(unsigned(in.Byte()));
  const TSkinRect control = in.Rect(), pane = TabPaneRect(position, in.Rect());
  const TSkinRect strip = TabStripRect(position, control, pane);
  TabInWork(position, in.Rect(), control, pane, TabWorkSize(position, strip).X);
  std::vector<int> widths(std::size_t(in.Byte() % 16));
  for (int& width : widths) width = in.Property();
  const int first = in.Property(), start = in.Property(), limit = in.Coordinate() - in.Property();
  const bool scroller = in.Flag();
  const auto at = TabSetLayout(widths, first, start, limit, scroller);
  Check(at.size() == widths.size());
  for (std::size_t i = 0; i < at.size(); ++i)
    if (at[i] != -1) Check(at[i] + widths[i] <= (scroller ? limit - 12 : limit));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TInput in(data, size);
  switch (in.Byte() % 6) {
    case 0:
      Slices(in);
      break;
    case 1:
      Compositions(in);
      break;
    case 2:
      Form(in);
      break;
    case 3:
      Scroll(in);
      break;
    case 4:
      Ranges(in);
      break;
    default:
      Controls(in);
      break;
  }
  return 0;
}
