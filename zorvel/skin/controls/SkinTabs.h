// The tab skinners: tab controls in any of the four positions drawn from the skin's
// Tabs element (the whole strip composed off-screen, lying for the left and right and
// turned once), the tab set whose tabs hang below a line, and tab controls whose tabs
// are buttons of the Buttons element.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SkinControl.h"

#include <commctrl.h>

#include "SkinDraw.h"
#include "forms/Graphics.h"

// Makes the skinner of a tab control's scroll arrows, owned by Owner (Horizontal: a tab
// set's arrows): an up-down skinner. Null leaves the arrows as the system draws them.
extern TSkinControl* (*NewTabUpDownSkinner)(TComponent* Owner, bool Horizontal);

// The first child window of Skinner's window of class "msctls_updown32": unless it has a
// skinner already (its skin switched off or not), it gets one owned by Owner, attached
// by window. Answers the child (null for none) and whether it is visible.
HWND FindTabUpDown(TSkinControl& Skinner, TComponent* Owner, TSkinControl*& UpDownSkinner,
                   bool& Visible);

class TSkinTab : public TSkinControl {
 public:
  explicit TSkinTab(TComponent* AOwner);
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas, TWinSkinForm* Form) override;
  bool BeforeMessage(TMessage& Message) override;
  void SkinChanged() override;
  // FMode 2: the control's windowless children are painted over the pane.
  void DrawSkin(HDC DC, const RECT& R) override;

  // The images of the skin in force, turned for TabPosition (read from the style).
  void LoadImages();
  // Skins the scroll arrows; true while they show.
  bool FindUpDown();

  std::uint8_t TabPosition = 0;  // 0 top, 1 bottom, 2 left, 3 right
  TSkinImage TabImage;           // frame 1 a tab, frame 2 the current one
  TSkinImage PaneImage;
  TBitmap WorkBitmap;  // where the strip is composed
  TSkinControl* UpDownSkinner = nullptr;

 private:
  // The scroll arrows' window while they show, skinned.
  HWND VisibleUpDown();
  void DrawStrip(HDC DC, const TSkinRect& R, const TSkinRect& Pane, HWND Arrows);
};

// The framework's tab set; its window procedure is the one subclassed.
class TSkinTab31 : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  bool BeforeMessage(TMessage& Message) override;
  void SkinChanged() override;
  void DrawSkin(HDC DC, const RECT& R) override;

  void LoadImage();

  TSkinImage TabImage;  // the Tabs image upside down
  TSkinControl* UpDownSkinner = nullptr;
  TWinControl* Scroller = nullptr;
};

// A tab control whose tabs are the skin's buttons; the pane is left to the control.
class TSkinTabBtn : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
};

// A tab of the skinner's tab control: its text (at most 80 characters), image, rectangle
// and whether it is the current one.
struct TTabItem {
  std::wstring Text;
  int Image;
  RECT Rect;
  bool Current;
};
// The tabs that have a rectangle, in order, and the control's image list.
std::vector<TTabItem> TabItems(const TSkinControl& Skinner, HIMAGELIST& Images);
