// The windowed control that paints itself: a window of its own class (no system class
// behind it) with a canvas that draws on the DC of each paint.
#pragma once

#include "Controls.h"

class TCustomControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  TCanvas* Canvas() noexcept { return &canvas_; }

 protected:
  // Draws the whole client area on Canvas.
  virtual void Paint() {}
  void Paint(HDC dc) final;

 private:
  TCanvas canvas_;
};
