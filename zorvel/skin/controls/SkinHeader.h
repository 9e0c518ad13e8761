// The header skinner: the sections above a report list's columns (or a header control of
// its own) painted from the skin's Headerbar strip, frame 1 for an item and the space
// after the last one, frame 2 for the item under the mouse.
#pragma once

#include <vector>

#include "SkinControl.h"

class TSkinHeader : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;

  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas, TWinSkinForm* Form) override;
  void DetachSkin() override;
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;

  // A list's header reaches down to the list's first row: the list keeps a strip under
  // its header (for the grid) where it counts no row and where the bottom of the row
  // scrolled under the header shows. Measured on the list's rows; the list lays itself
  // out again when the strip changes.
  void FitToRows();

  // The items of the last paint, each less 3 pixels at both sides (the dividers' zones).
  std::vector<RECT> FItemRects;
  int FHotItem = -1;

 private:
  bool HasSkin() const;
  void LayOutList() const;
  int FRowGap = 0;          // the list's strip under the header, which the header covers
  int FLaidOutHeight = -1;  // the height the list was told to give the header
  bool FFitting = false;
  void PaintItem(TCanvas& Canvas, int Index, const RECT& R);
};
