// A framework form with a few standard controls, as Zorvel's windows are made: what the
// frame benchmark repaints and what the README's sheet of the skins shows.
#pragma once

#include <windows.h>

#include "forms/Controls.h"

class TSkinData;
class TWinSkinForm;

// A form at (left, top), `width` x `height` with its frame: a label, an edit box, a
// drop-down list, a progress bar at 60 %, a checked check box, two radio buttons (the
// first checked), a row of four tabs and two buttons. Not shown yet. With `everyKind` a
// menu bar and a second column add one control of each other kind that the control
// dispatch skins (the form needs about 560 x 420 for them).
class TSampleForm : public TForm {
 public:
  TSampleForm(int left, int top, int width, int height, bool everyKind = false);

 private:
  void AddEveryOtherKind();
};

// Attaches a form skinner (owned by the form) with `data`'s skin and starts it as the
// skin manager does; the window keeps the size it had.
TWinSkinForm* SkinForm(TSampleForm& form, TSkinData& data);

// Handles what the window system has queued (paints, the copy to the screen).
void PumpMessages();
