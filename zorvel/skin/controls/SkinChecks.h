// The check-box and radio-button skinners: the box is a frame of the skin's check or
// radio strip, drawn over the control. On a framework control the skinner paints the
// whole control (background, box, caption, focus rectangle); on a plain window the
// window paints itself and the skinner draws only the box over it.
#pragma once

#include <string>

#include "SkinControl.h"
#include "SkinStates.h"
#include "forms/Graphics.h"

class TSkinImage;

// What the two share; FMode 1: the skinner paints the whole control.
class TSkinCheckControl : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
  // A skin that has the strip again gets the whole control painted again.
  void SkinChanged() override;

  bool FTransparent = false;  // the parent's background instead of the face colour
  TBitmap FBuffer;            // the whole control, off-screen

 protected:
  // The strip of the skin's Buttons element and its frame count.
  virtual const TSkinImage* Strip(int& FrameCount) const = 0;
  virtual int Frame(bool Enabled, int FrameCount) = 0;
  virtual bool IsRadio() const = 0;

 private:
  bool PaintsWhole() const;
  // The caption (and the focus rectangle around it) moved down to the middle of Text.
  void DrawCaption(HDC DC, RECT Text, UINT Flags, bool Enabled);
};

class TSkinCheckBox : public TSkinCheckControl {
 public:
  using TSkinCheckControl::TSkinCheckControl;
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void AfterMessage(TMessage& Message) override;

  // The last BM_SETCHECK's wParam + 1 (0: none seen), for data-aware check boxes.
  int FCheckCache = 0;

 protected:
  const TSkinImage* Strip(int& FrameCount) const override;
  int Frame(bool Enabled, int FrameCount) override;
  bool IsRadio() const override { return false; }
};

class TSkinRadioButton : public TSkinCheckControl {
 public:
  using TSkinCheckControl::TSkinCheckControl;

 protected:
  const TSkinImage* Strip(int& FrameCount) const override;
  int Frame(bool Enabled, int FrameCount) override;
  bool IsRadio() const override { return true; }
};
