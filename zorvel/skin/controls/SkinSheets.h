// Skinners that give a window the skin's face colour: a size box, the page of a tab
// control (with its windowless children on it) and a dialog box embedded as a child
// window (behind its static texts too).
#pragma once

#include "SkinControl.h"

class TSkinSizer : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void DrawSkin(HDC DC, const RECT& R) override;
};

// FMode 0: the skinner paints the page; otherwise (the base switched its
// ParentBackground off) the page paints itself.
class TSkinTabSheet : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
};

class TSkinBoxH : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
};
