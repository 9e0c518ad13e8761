// What the check-box, radio-button, tab, speed-button, media-player and foreign-glyph
// skinners show for each state and where: plain arithmetic, tested on the host.
#pragma once

#include <string>
#include <vector>

#include "SkinDraw.h"

// ---------------------------------------------------------------------------------------
// Check boxes and radio buttons

enum TCheckState { csUnchecked, csChecked, csGrayed };

// What a check box's skinner reads of it.
struct TCheckBoxFacts {
  bool Checked = false;        // the button's state has BST_CHECKED
  bool Indeterminate = false;  // ... BST_INDETERMINATE
  bool Framework = false;      // a framework control is behind it; the rest needs one
  bool HasState = false;       // a published "State", whose value name is StateName
  std::string StateName;
  bool HasChecked = false;  // a published "Checked", whose value name is CheckedName
  std::string CheckedName;
  bool DataAware = false;  // a published "DataField"
  int Cache = 0;           // the last BM_SETCHECK's wParam + 1, 0 for none
  bool DataBinding = false;
};

// The state shown: the button's own, else the control's "State" or "Checked", the
// cached state of a data-aware box, never checked with "DataBinding"; indeterminate
// wins over all.
TCheckState CheckBoxState(const TCheckBoxFacts& f);
// Frame (from 1) of a strip of n frames: 12 frames hold unchecked 1, its disabled 4,
// checked 5, 8, indeterminate 9, 12; any other count unchecked 1, 3, checked 2, 4 and
// indeterminate 4 either way. Never past the strip.
int CheckBoxFrame(TCheckState state, bool enabled, int n);
// 8 frames: unchecked 1, its disabled 4, checked 5, 8; any other count 1, 3, 2, 4.
int RadioButtonFrame(bool checked, bool enabled, int n);

// The box of w x h in R, centred up and down, and the rectangle left for the caption:
// the box at the left, or with the caption on the left (leftText) at the right edge
// (a radio button's one pixel in from it).
struct TCheckLayout {
  TSkinRect Box;
  TSkinRect Text;
};
TCheckLayout CheckBoxLayout(const TSkinRect& R, int w, int h, bool leftText, bool radio);

// ---------------------------------------------------------------------------------------
// Tabs. Positions: 0 top, 1 bottom, 2 left, 3 right.

// The position a tab control's style gives: TCS_VERTICAL (0x80) with TCS_RIGHT (2) the
// right, alone the left; TCS_BOTTOM (2) alone the bottom.
int TabPositionOfStyle(unsigned style);
// The pane: the display area grown by 4 and moved one pixel toward the tabs.
TSkinRect TabPaneRect(int position, TSkinRect display);
// The strip of the control R that the tabs take beside the pane P.
TSkinRect TabStripRect(int position, const TSkinRect& R, const TSkinRect& P);
// The size of the picture the strip is composed in: lying down for the left and right.
TSkinPoint TabWorkSize(int position, const TSkinRect& strip);
// A tab's rectangle T (the control's coordinates) in that picture, before it is turned;
// workWidth is the picture's width.
TSkinRect TabInWork(int position, const TSkinRect& T, const TSkinRect& R, const TSkinRect& P,
                    int workWidth);

// Where the tabs of a tab set go (-1: not drawn): from `first`, each of its width at
// the running x from `start`; a tab that does not end by `limit` (12 pixels before it
// while the scroll arrows show) is skipped and the next ones are still tried.
std::vector<int> TabSetLayout(const std::vector<int>& widths, int first, int start, int limit,
                              bool scrollerShown);

// ---------------------------------------------------------------------------------------
// Speed buttons

// Buttons frames: 1 normal, 2 pressed or down (down even when disabled), 3 disabled,
// 4 hot.
int SpeedButtonFrame(bool pressed, bool hot, bool enabled, bool down);
// The glyph of a frame: 1 normal and hot, 3 pressed, 2 disabled, 4 down.
int SpeedButtonGlyph(int frame, bool down);
// The margin of a glyph of size G and a caption of size T in a client of size C (along
// the axis of the layout, 0 to 3 as for bit buttons): a given one; with a given spacing
// (0 without a caption or a glyph) half the room left plus one; else -1, the bit
// button's automatic margin.
int SpeedButtonMargin(TSkinPoint C, TSkinPoint G, TSkinPoint T, int layout, int margin,
                      int spacing);

// ---------------------------------------------------------------------------------------
// Media players

// The buttons (bit n for kind n) whose names appear in a published set's text.
unsigned MPButtonsNamedIn(const std::string& text);
// The visible button at X (9 for none), the buttons buttonWidth wide from 0 in kind
// order; a point on the border between two belongs to the left one.
int MPHitButton(unsigned visible, int buttonWidth, int X);
// Each visible button's rectangle in a bar of width x height, in kind order.
struct TMPButtonPlace {
  int Kind;
  TSkinRect Rect;
};
std::vector<TMPButtonPlace> MPButtonPlaces(unsigned visible, int width, int height);

// ---------------------------------------------------------------------------------------
// Glyph strips of other libraries' check boxes and radio buttons

// The skin frame (from 1) that fills each slot of the strip of a kind (1: 9-slot check
// box, 2: 6-slot radio button, 3: 6-slot check box), 0 for a slot left as a new bitmap
// holds it; frames past the skin's n are not read.
std::vector<int> GlyphSlots(int kind, int n);
