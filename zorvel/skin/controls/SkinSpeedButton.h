// The speed-button skinner: a windowless button, so no window is subclassed: the
// skinner takes the control's WindowProc, composes the Buttons face with glyph and
// caption off-screen and draws it on the control's canvas.
#pragma once

#include "SkinButtons.h"

class TSkinSpeedButton : public TSkinBitButton {
 public:
  using TSkinBitButton::TSkinBitButton;

  // Attaches to the owner, a windowless control; instead of the two attach operations.
  void AttachGraphicControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas);
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  // Paints on the control's own place on its parent's window (the argument is unused).
  void PaintWindow(HDC DC) override;
  // WM_PAINT from the parent, the DC prepared for the control in wParam.
  void PaintOnMessage(TMessage& Message);
  void DrawSpeedButton(TCanvas& Canvas, const RECT& R);

  bool FPainting = false;  // a repaint asked for while drawing is not done
};
