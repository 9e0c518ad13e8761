#include "SkinRangeLayout.h"

#include <algorithm>
#include <cstdint>

TSkinRect TrackChannelTarget(const TSkinRect& C, bool VerticalImage) {
  if (VerticalImage && C.Width() > C.Height()) return {C.Top, C.Left, C.Bottom, C.Right};
  return C;
}

std::vector<TSkinPiece> TrackChannelPieces(const TSkinRect& D, bool VerticalImage, int w, int h,
                                           const TSkinMargins& Margins) {
  // Margins that do not fit the image would reach outside it.
  const TSkinMargins m = SkinFitMargins(Margins, w, h, {0, 0, w, h});
  if (VerticalImage) {
    const int x0 = w < D.Width() ? D.Left + (D.Width() - w) / 2 : D.Left;
    const int T = m.Top, B = m.Bottom;
    return {{{x0, D.Top, x0 + w, D.Top + T}, {0, 0, w, T}},
            {{x0, D.Top + T, x0 + w, D.Bottom - B}, {0, T, w, h - B}},
            {{x0, D.Bottom - B, x0 + w, D.Bottom}, {0, h - B, w, h}}};
  }
  const int y0 = h < D.Height() ? D.Top + D.Height() / 2 : D.Top;
  const int L = m.Left, R = m.Right;
  return {{{D.Left, y0, D.Left + L, y0 + h}, {0, 0, L, h}},
          {{D.Left + L, y0, D.Right - R, y0 + h}, {L, 0, w - R, h}},
          {{D.Right - R, y0, D.Right, y0 + h}, {w - R, 0, w, h}}};
}

void UpDownHalves(int W, int H, bool Horizontal, TUpDownHalf (&Halves)[2]) {
  if (Horizontal) {
    Halves[0] = {{0, 0, W / 2, H}, 2};
    Halves[1] = {{W / 2, 0, W, H}, 3};
  } else {
    Halves[0] = {{0, 0, W, H / 2}, 0};
    Halves[1] = {{0, H / 2, W, H}, 1};
  }
}

int UpDownState(bool Enabled, bool Pressed, bool MouseOver) {
  if (!Enabled) return 3;
  return Pressed && MouseOver ? 2 : 1;
}

TSkinRect UpDownBuddyClear(const TSkinRect& R, const TSkinRect& Own, const TSkinRect& Parent) {
  TSkinRect r = R;
  if (Own.Top - Parent.Top < 3) r.Top += 3 - (Own.Top - Parent.Top);
  if (Parent.Bottom - Own.Bottom < 3) r.Bottom -= 3 - (Parent.Bottom - Own.Bottom);
  if (Parent.Right - Own.Right < 3) r.Right -= 3 - (Parent.Right - Own.Right);
  return r;
}

int ProgressFill(int Width, int Low, int High, int Position) {
  if (High <= Low || Position <= Low) return 0;
  const std::int64_t span = std::int64_t(High) - Low;
  const std::int64_t done = std::min<std::int64_t>(std::int64_t(Position) - Low, span);
  // Rounded to the nearest pixel, halves up.
  return int((std::int64_t(std::max(Width, 0)) * done * 2 + span) / (2 * span));
}

namespace {

// The strip of `w` x c's height that holds copies of c side by side from its left.
TSkinImage ChunkRow(const TSkinImage& c, int w) {
  TSkinImage row(w, c.Height());
  for (int x = 0; x < w; x += c.Width())
    SkinStretchCopy(row, {x, 0, x + c.Width(), c.Height()}, c, {0, 0, c.Width(), c.Height()});
  return row;
}

// c in three stretched slices (left margin, middle, right margin) over the whole of an
// image of w x h.
TSkinImage ChunkSlices(const TSkinImage& c, const TSkinMargins& m, int w, int h) {
  TSkinImage image(w, h);
  const TSkinFrame whole{0, 0, c.Width(), c.Height()};
  for (const TSkinPiece& p : SkinStripThreeSlicePieces({0, 0, w, h}, whole, m))
    SkinStretchCopy(image, p.Dest, c, p.Source);
  return image;
}

}  // namespace

TSkinImage ComposeProgress(const TProgressLook& look, int Width, int Height, int Fill,
                           bool Vertical, TSkinColour Face) {
  if (!TSkinImage::Fits(Width, Height)) return {};
  if (!look.Bar || look.Bar->Empty()) return TSkinImage(Width, Height, Face);
  // A vertical bar is drawn lying down.
  const int W = Vertical ? Height : Width, H = Vertical ? Width : Height;
  TSkinImage bar(W, H, Face);
  if (bar.Empty()) return bar;
  const TSkinImage& image = *look.Bar;
  Fill = std::clamp(Fill, 0, W);
  if (!look.ChunkMode) {
    SkinKeyedCopy(bar, 0, 0,
                  SkinComposeNineSlice(W, H, image, look.Margins, 1, 2, look.Tile, false));
    if (Fill > 0)
      SkinKeyedCopy(bar, 0, 0,
                    SkinComposeNineSlice(Fill, H, image, look.Margins, 2, 2, look.Tile, false));
  } else {
    SkinKeyedCopy(bar, 0, 0, SkinComposeNineSlice(W, H, image, look.Margins, 1, 1, false, false));
    // Without a chunk image the filled part shows nothing more.
    const TSkinImage* c = look.Chunk;
    if (Fill > 0 && c && !c->Empty()) {
      if (look.ChunkTile) {
        // 64-bit: the margin may be huge; past either end of the bar no chunk shows anyway.
        const int left =
            int(std::clamp<std::int64_t>(std::int64_t(look.ChunkMargins.Left) + 2, -W, W));
        SkinKeyedCopy(bar, left, (H - c->Height()) / 2, ChunkRow(*c, Fill));
      } else {
        SkinKeyedCopy(bar, 2, 2, ChunkSlices(*c, look.ChunkMargins, Fill, H - 4));
      }
    }
  }
  return Vertical ? bar.Turned(false) : bar;
}
