// Where the combo-box and date-time skinners draw: the combo's button, glyph and text
// area, the frame of each state, and the place of the date-time picker's arrow button.
// Plain arithmetic, tested on the host.
#pragma once

#include "SkinDraw.h"

// The frame of the ComboButton and SunkEdge strips: 1 normal, 2 pressed, 3 disabled,
// 4 hot or focused. Drawn from a strip mirrored for a left-hand button, frame k is
// found at Count + 1 - k.
struct TComboState {
  bool Pressed = false, Hot = false, Focused = false, Enabled = true;
};
int ComboFrame(const TComboState& s);
// The flat look's frame: pressed and hot as above, else 1, or 3 when disabled.
int FlatComboFrame(const TComboState& s);
inline int MirroredFrame(int Frame, int Count) {
  return Count + 1 - Frame;
}

// A combo box of R with its button f wide (the system's scroll-bar width) at the right,
// or at the left: the text area that keeps its own painting, the button and the area its
// glyph is centred in.
struct TComboLayout {
  TSkinRect TextArea, Button, GlyphArea;
};
TComboLayout ComboLayout(const TSkinRect& R, int f, bool Left);
// The flat look: the button of a w x h frame in the 2-pixel frame of R, in a strip t wide
// (the system's thumb size) at the button's side, no higher than the frame when it is
// lower than t.
struct TFlatComboLayout {
  TSkinRect Inner, Strip, Button;
};
TFlatComboLayout FlatComboLayout(const TSkinRect& R, int w, int h, int t, bool Left);

// The arrow button of a date-time picker PickerWidth wide, `Size` the system's scroll-bar
// width: at the left or right edge, inside the picker's border.
TSkinRect ArrowButtonBounds(int PickerWidth, int Size, bool Left);
