// What the track-bar, up-down and progress skinners draw where: the channel's slices, the
// up-down's halves and frames, and the whole picture of a progress bar. Plain arithmetic
// on rectangles and skin images, so that it is tested on the host.
#pragma once

#include <vector>

#include "SkinDraw.h"

// The channel's target: the rectangle the track bar reports. A vertical bar drawn from
// the vertical image gets it transposed when the control reports it lying (wider than
// tall, as some systems do) and as it stands otherwise.
TSkinRect TrackChannelTarget(const TSkinRect& Channel, bool VerticalImage);
// The three opaque stretches of a w x h channel image into D: columns (left margin,
// stretched middle, right margin) at the image's own height, from D's top, or from D's
// middle when the image is lower than D; rows of a vertical image likewise, centred
// across D when narrower than it. Margins are fitted to the image as a nine-slice's are
// (SkinFitMargins).
std::vector<TSkinPiece> TrackChannelPieces(const TSkinRect& D, bool VerticalImage, int w, int h,
                                           const TSkinMargins& Margins);

// The two halves of an up-down of W x H: up and down (glyphs 0 and 1) stacked, or left
// and right (glyphs 2 and 3) side by side.
struct TUpDownHalf {
  TSkinRect Rect;
  int Glyph;
};
void UpDownHalves(int W, int H, bool Horizontal, TUpDownHalf (&Halves)[2]);
// A half's state: 3 disabled, 2 pressed under the mouse, else 1.
int UpDownState(bool Enabled, bool Pressed, bool MouseOver);
// The frame of the 8-frame strip: four per glyph of the element, then the state.
inline int UpDownFrame(int Glyph, int State) {
  return 4 * (Glyph % 2) + State;
}
// R kept 3 pixels clear of the edit around it (Own and Parent are window rectangles).
TSkinRect UpDownBuddyClear(const TSkinRect& R, const TSkinRect& Own, const TSkinRect& Parent);

// A progress bar's look: the bar image in two frames (background, fill) or, in chunk
// mode, one picture with chunks drawn over its filled part.
struct TProgressLook {
  const TSkinImage* Bar = nullptr;
  TSkinMargins Margins;
  bool Tile = false;
  bool ChunkMode = false;             // the element's Style 1
  const TSkinImage* Chunk = nullptr;  // null or empty: no chunks
  TSkinMargins ChunkMargins;
  bool ChunkTile = false;
};
// How wide the filled part of a bar Width wide is: Position between Low and High; none
// at or below Low, and none for an empty range.
int ProgressFill(int Width, int Low, int High, int Position);
// The bar's picture of Width x Height on the face colour; a vertical bar is drawn lying
// down and turned a quarter anticlockwise, so that it fills from the bottom. A size
// beyond the image limits gives an empty picture.
TSkinImage ComposeProgress(const TProgressLook& Look, int Width, int Height, int Fill,
                           bool Vertical, TSkinColour Face);
