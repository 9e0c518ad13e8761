// The skinners of containers: the status bar (panels, simple text and size grip drawn
// from the skin), the group box (a rounded frame with the caption in its top line) and
// the box that only gives a container the skin's face colour; and the centred caption
// that the menu bar shares.
#pragma once

#include <string>

#include "SkinControl.h"

class TSkinStatusBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;

 private:
  void DrawPanelFrame(HDC DC, const RECT& R, int Frame);
};

class TSkinGroupBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  // FMode 1: a framework control, painted by the skinner alone.
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
};

// Never sees a message: it recolours its control and gives the colour back.
class TSkinBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void DetachSkin() override;
  void AfterMessage(TMessage&) override {}
};

// One line of text centred both ways in Rect, greyed when not enabled.
void DrawCaptionCentered(TCanvas& Canvas, const RECT& Rect, const std::wstring& Text, bool Enabled,
                         TAlignment Alignment);

// The picture the status bar composes before its one blit, kept between paints.
TBitmap& StatusScratch();
// The DrawText flag of an alignment.
UINT AlignmentFlag(TAlignment Alignment);
// The description of the font a window paints with (WM_GETFONT, else the GUI font).
void AssignWindowFont(TFont& Font, HWND Window);
