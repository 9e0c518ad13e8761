// The speed button: a windowless button (painted by its parent, given the mouse by it)
// that can stay down, alone or as one of a group, and may be flat until the mouse is over
// it.
#pragma once

#include "Buttons.h"
#include "Controls.h"

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* owner);

  TBitmap* Glyph() noexcept { return &glyph_; }
  int NumGlyphs = 1;  // frames side by side: up, disabled, down, stays down
  bool Flat = false;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  // Buttons of one parent with the same index above 0 stay down one at a time; with
  // AllowAllUp the one down may come up again.
  int GroupIndex = 0;
  bool AllowAllUp = false;
  bool Down() const noexcept { return down_; }
  void SetDown(bool value);

  void WndProc(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  TBitmap glyph_;
  bool down_ = false;
  bool pressed_ = false;  // the left button went down on it and is not up yet
  bool hot_ = false;
};

void RegisterSpeedButtons();
