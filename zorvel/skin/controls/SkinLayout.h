// Where the control skinners put captions, glyphs, images and focus rectangles, and
// which frame of a skin strip each state shows: plain arithmetic on rectangles, so that
// it is tested on the host. Divisions truncate toward zero.
#pragma once

#include <string>

#include "SkinDraw.h"

// DrawText flags the layouts look at (the system's values).
constexpr unsigned kDtCenter = 0x1, kDtRight = 0x2, kDtWordBreak = 0x10;

// A caption of w x h measured for the rectangle R, placed from `origin`: centred both ways
// (lifted by one pixel), or moved down to the middle and stretched to R's left and right.
TSkinRect PlaceCaption(const TSkinRect& R, TSkinPoint origin, int w, int h, bool centre);

// The focus rectangle around a caption of w x h measured at R's top-left, as DrawText
// `flags` align it, grown by (2, 1) and kept inside R.
TSkinRect CaptionFocusRect(const TSkinRect& R, int w, int h, unsigned flags);

// An image-list image (cx x cy, or none) followed by a text of w x h in R, for alignment
// 0 left, 1 centre, 2 right. The image takes room only when there is one and it is
// narrower than R; it is drawn either way.
struct TImageTextLayout {
  TSkinPoint Image;
  TSkinPoint Text;
};
TImageTextLayout LayoutImageAndText(const TSkinRect& R, bool hasImage, int cx, int cy, int w, int h,
                                    int alignment);

// The bit button's glyph and text in a client of size C (steps of its layout): glyph of
// size G, text of size T, layout 0 glyph left, 1 right, 2 top, 3 bottom; margin and
// spacing -1 when not given; `centred` when the control's alignment is centre.
struct TGlyphLayout {
  TSkinPoint Glyph;
  TSkinPoint Text;
  unsigned TextFlags = 0;
};
TGlyphLayout LayoutGlyphAndText(TSkinPoint C, TSkinPoint G, TSkinPoint T, int layout, int margin,
                                int spacing, bool centred);

// The caption of a menu button of w x h (its arrow takes the 17 pixels at the right).
TSkinPoint MenuButtonTextOrigin(int width, int height, int w, int h);
// The three corners of its drop-down arrow.
struct TArrow {
  TSkinPoint P[3];
};
TArrow MenuButtonArrow(int width, int height);

// Frames of the Buttons strip: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
struct TButtonState {
  bool Focused = false, Pressed = false, Hot = false, Enabled = true;
};
// A push or bit button: disabled wins, then pressed, then hot, then focused.
int PushButtonFrame(const TButtonState& s);
// A menu button: focus looks hot.
int MenuButtonFrame(const TButtonState& s);

// The first occurrence of Pattern replaced; S as it is when Pattern does not occur.
std::wstring ReplaceFirstWide(const std::wstring& S, const std::wstring& Pattern,
                              const std::wstring& Replacement);
