// The bitmap button: a push button that shows a glyph (frames side by side: up,
// disabled, down) or an image of an image list beside its caption.
#pragma once

#include "Graphics.h"
#include "ImgList.h"
#include "StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Frame `frame` of a glyph strip of `frames` frames drawn at (x, y), its bottom-left
// pixel's colour transparent.
void DrawGlyphFrame(HDC dc, TBitmap& glyph, int frames, int frame, int x, int y);

class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* owner);

  TBitmap* Glyph() noexcept { return &glyph_; }
  int NumGlyphs = 1;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;               // from the edge to the glyph; -1: glyph and caption centred
  int Spacing = 4;               // between glyph and caption
  TImageList* Images = nullptr;  // used when the glyph is empty
  int ImageIndex = -1;
  int DisabledIndex = -1;  // -1: ImageIndex, greyed

 protected:
  void CreateParams(TCreateParams& params) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  TBitmap glyph_;
};

void RegisterButtons();
