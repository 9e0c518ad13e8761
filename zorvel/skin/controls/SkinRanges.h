// The skinners of controls that show a value in a range: the track bar (its channel and
// thumb painted in the control's own custom-draw protocol, the ticks left to it), the
// up-down (both arrow buttons painted whole) and the progress bar (painted whole,
// lying down for a vertical bar and turned).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "SkinControl.h"

class TSkinTrackBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
  // Repaints with the new skin; the focus stays where it is.
  void SkinChanged() override;

 private:
  LRESULT CustomDraw(const NMCUSTOMDRAW& Draw);
  void PaintChannel(HDC DC);
  void PaintThumb(HDC DC);
};

class TSkinUpDown : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;

  // Set by the skinner of the edit it sits in: kept clear of the edit's border, erased white.
  bool FBuddy = false;
  // 1: laid out horizontally (also with the window's UDS_HORZ).
  int FHorizontal = 0;
};

class TSkinProgress : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
};
