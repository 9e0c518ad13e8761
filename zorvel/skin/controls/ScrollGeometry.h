// The skinned scroll bar without windows: where its arrows, track, thumb and grip lie,
// which frame of the skin's strips each part shows, what a point on it hits, the thumb of
// a scroll-bar control computed from its range, and the whole picture of a bar. Plain
// arithmetic and pixels, tested on the host.
#pragma once

#include <cstdint>

#include "SkinDraw.h"

class TDataSkinObject;

// The parts of a bar, numbered as the scroll requests that act on them.
enum TScrollPart {
  spNone = -1,
  spFirstArrow = 0,   // left or up
  spSecondArrow = 1,  // right or down
  spPageBefore = 2,
  spPageAfter = 3,
  spThumb = 5
};

// The system's MulDiv: A * B / C rounded half away from zero; -1 when C is 0 or the
// result does not fit 32 bits. 64-bit operands, for ranges between two 32-bit values:
// their product must fit 64 bits.
int SkinMulDiv(std::int64_t A, std::int64_t B, std::int64_t C);

// The thumb's extent along the bar, from the bar's start.
struct TThumbExtent {
  int Start = 0, End = 0;
  bool operator==(const TThumbExtent&) const = default;
};

// A scroll-bar control's thumb as painted, from the range, page and position its window
// holds: a bar TrackLength long whose arrows are ArrowSize long. A position outside the
// range counts as its nearer end and a page as no more than the range, as the system
// keeps them.
TThumbExtent ControlThumb(int TrackLength, int ArrowSize, int Min, int Max, int Page, int Position);
// Where a press on such a bar finds the thumb's start.
int PressThumbStart(int TrackLength, int ArrowSize, int Min, int Max, int Page, int Position);

// The part under a point Pos pixels from the bar's start.
int ScrollHitTest(int Pos, int ArrowSize, TThumbExtent Thumb, int TrackLength);
// The thumb moved by Delta from DragStart (where the press found it), kept between the
// arrows; its length stays.
TThumbExtent DragThumb(TThumbExtent Thumb, int DragStart, int Delta, int ArrowSize,
                       int TrackLength);

// How thick the bar's parts are drawn: the strip's height, unless it is two or more
// pixels off the system's arrow size.
int ThumbBreadth(int StripHeight, int ArrowSize);
// Each arrow's length: half the bar when two arrows do not fit.
int ArrowLength(int ArrowSize, int TrackLength);

// Frames (from 1) of the 23-frame Scrollbar strip and of the thumb image, for the part
// under the mouse (HotPart) and a press in progress.
int ArrowFrame(bool Vertical, bool Second, int HotPart, bool Pressed);
int GripFrame(bool Vertical, int HotPart, bool Pressed);
int ThumbFrame(int HotPart, bool Pressed);

// Everything the picture of one bar depends on.
struct TScrollBarLook {
  int Width = 0, Height = 0;  // the picture
  bool Vertical = false;
  bool Enabled = true;
  int ArrowSize = 0;
  int Breadth = 0;      // across the bar, from its top (left) edge
  int TrackLength = 0;  // along the bar
  TThumbExtent Thumb;
  int HotPart = spNone;
  bool Pressed = false;
  int OverlayLength = 0;  // the thumb and its grip are drawn only where they lie inside it
  TSkinColour Face = 0;   // an RGB colour
};

// The skin's images of a bar: the Scrollbar strip, and the track (HorzScroll or
// VertScroll) and thumb (HorzScrollThumb or VertScrollThumb) of its direction. A missing
// track or thumb leaves its place in the face colour.
struct TScrollBarImages {
  const TDataSkinObject* Strip = nullptr;
  const TDataSkinObject* Track = nullptr;
  const TDataSkinObject* Thumb = nullptr;
};

// Paints the bar into Picture (made Look's size): the face colour, the track, both
// arrows and, when enabled, the thumb with its grip. A size beyond the image limits
// leaves Picture empty.
void PaintScrollBar(TSkinImage& Picture, const TScrollBarLook& Look,
                    const TScrollBarImages& Images);
