// The push-button skinners: plain push buttons, bitmap buttons (a glyph or an image of a
// list beside the caption) and menu buttons (a drop-down arrow). The button is painted
// off-screen from the skin's Buttons element and copied in one blit; the skinner keeps
// the press from the control, tracks hot and pressed itself and clicks on release.
#pragma once

#include <memory>
#include <string>

#include "SkinControl.h"
#include "SkinLayout.h"

class TDataSkinButton;

// Where a button's "Layout" puts its glyph: 0 left (also without a Layout), 1 right,
// 2 top, 3 bottom.
int ButtonGlyphLayout(TObject* Control);
// The caption's colour in frame Frame: the skin's colour of the state where it gives one,
// shadow when disabled; otherwise the font keeps its own.
void SetButtonStateColour(TFont& Font, const TDataSkinButton& Buttons, int Frame, bool Enabled);

class TSkinButton : public TSkinControl {
 public:
  explicit TSkinButton(TComponent* AOwner);
  ~TSkinButton() override;

  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
  // The caption in R (its first "||" a line break) and, when focused, its focus rectangle.
  void DrawCaption(TCanvas& Canvas, const RECT& R, UINT Alignment);

  std::unique_ptr<TBitmap> FBuffer;  // the whole window, off-screen
  bool FDrawParentBg = false;        // the parent's background around the face

 protected:
  // What the three painters share: the state of the window and its caption read, the
  // buffer at R's size with its background, the Buttons frame of the state (FrameOf
  // chooses it) and the caption's font and colour. Null when the skin has no Buttons
  // image.
  TCanvas* BeginBuffer(const RECT& R, int (*FrameOf)(const TButtonState&), int& Frame);
  void EndBuffer(HDC DC, const RECT& R);
  // The focus rectangle two pixels around the caption, when focused and allowed.
  void DrawFocusAround(HDC DC, RECT Text);
  void ReadState();
  TButtonState State() const;

 private:
  void Click();
};

class TSkinBitButton : public TSkinButton {
 public:
  using TSkinButton::TSkinButton;
  void DrawSkin(HDC DC, const RECT& R) override;
  // Glyph `Index` (from 1; the first when there are fewer) of NumGlyphs side by side at
  // R's top-left, its bottom-left pixel's colour transparent; number 2 greyed.
  static void DrawGlyph(TCanvas& Canvas, const RECT& R, int NumGlyphs, int Index, TBitmap& Glyph);

  // A published graphic property drawn instead of "Glyph" (empty: none).
  std::string FGlyphProperty;
};

class TSkinMenuButton : public TSkinButton {
 public:
  using TSkinButton::TSkinButton;
  void DrawSkin(HDC DC, const RECT& R) override;
};
