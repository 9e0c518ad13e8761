// Skinners of other libraries' components, which draw themselves: they are handed
// pictures composed from the skin through their own published properties, found by
// name, and the skinner paints nothing. A property a component lacks is skipped.
#pragma once

#include "SkinControl.h"

// Check boxes and radio buttons that draw their box from a strip of glyphs. The window
// procedure is not touched.
class TSkinObjImage : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void DetachSkin() override;
  void SkinChanged() override;

  void ApplyGlyphs();

  // 1 a check box with 9 glyphs in "CustomGlyphs", 2 a radio button with 6 there, 3 a
  // check box with 6 in the "Glyph" of its "Properties".
  int ImageKind = 0;
};

// Page controls that draw their tabs from two background pictures.
class TSkinAdvPage : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void DetachSkin() override;
  void SkinChanged() override;
  // Paints nothing: sees that the scroll arrows are skinned.
  void DrawSkin(HDC DC, const RECT& R) override;

  // In PageMode 4: a normal and an active tab, 100 x 21, from the skin's Tabs.
  void ApplyTabImages();

  TSkinControl* UpDownSkinner = nullptr;
  int PageMode = 0;
};
