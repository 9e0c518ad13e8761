// The skinners of controls whose inside stays the control's own: the edit (a flat frame
// instead of the sunken one, and a skinned up-down when one sits inside it), the combo
// box (frame and drop-down button from the skin, hot and pressed looks, a skinned scroll
// bar on a simple combo's list) and the date-time picker (a flat frame and an arrow
// button of the skin's over the picker's own).
#pragma once

#include "SkinControl.h"
#include "forms/CustomCtrls.h"

class TSkinUpDown;

// The form skinner's request that a control paint its inside into the DC in wParam
// (with the host key in lParam).
constexpr UINT WM_SKINPAINTCONTROL = 0xBC4A;

class TSkinEdit : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;

  // The skinner made for an up-down inside the edit (owned by the edit's control); it
  // only tells that one was made.
  TSkinUpDown* FUpDown = nullptr;

 private:
  void FindUpDown();
  void PaintPrint(HDC DC);
};

class TSkinComBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  ~TSkinComBox() override;

  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas, TWinSkinForm* Form) override;
  void DetachSkin() override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;

  HWND FListHandle = nullptr;  // a simple combo box's list
  HWND FEditHandle = nullptr;  // the edit child of a drop-down combo, while watched
  TSkinControl* FListScrollbar = nullptr;
  LONG_PTR FStyle = 0, FExStyle = 0;  // as at the last paint
  COMBOBOXINFO FInfo{};
  RECT FButtonRect{};  // window coordinates: where the mouse makes the button hot

 private:
  // Any combo with a drop-down list (so, but for a simple one, with an edit child or none).
  bool IsDropDown() const { return (FStyle & 3) != CBS_SIMPLE; }
  // The drop-down combo's edit child: its presses and paints reach the skinner too.
  void WatchEdit();
  void UnwatchEdit();
  void FreeListScrollbar();
  void EditMessage(UINT Msg);
  void DrawFlat(HDC DC, const RECT& R);
  static LRESULT CALLBACK EditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                   DWORD_PTR Data);
};

class TArrowButton;

class TSkinDateTime : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  // Takes the arrow button away and gives the picker its style back.
  void DetachSkin() override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;

  TArrowButton* FArrow = nullptr;  // owned by the skinner
  bool FClipAdded = false;         // the picker got WS_CLIPCHILDREN from the skinner
};

// The skin's drop-down button laid over a date-time picker's own, handing its clicks on.
class TArrowButton : public TCustomControl {
 public:
  TArrowButton(TSkinDateTime* Skinner, TWinControl* Picker);
  // Over the picker's own button, at its right (left, for a picker read from the right).
  void Place();
  void WndProc(TMessage& Message) override;

  int FSize;  // the system's scroll-bar width when made
  TSkinDateTime* FSkinner;
  HWND FPickerHandle;
  unsigned FHot = 0;  // bit 0

 protected:
  void Paint() override;
};
