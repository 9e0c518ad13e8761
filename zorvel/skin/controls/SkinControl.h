// The base of the control skinners. A skinner takes over the window procedure of one
// child control: a framework control's WindowProc slot, or a plain window's place in the
// common controls' subclass chain. Every message then passes BeforeMessage, the
// control's own procedure and AfterMessage; WM_SKINENABLE switches the skin off and on;
// the skinner registers with its form skinner and, when it goes, gives back the window
// procedure, colour and ParentBackground it changed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "forms/Controls.h"

class TSkinData;
class TWinSkinForm;

// Sent by an application to switch one control's skin on (wParam > 0) or off.
constexpr UINT WM_SKINENABLE = 0x3506;

enum TSkinState { skHot, skPressed };
using TSkinStates = std::uint8_t;  // member n is bit n

class TSkinControl : public TComponent {
 public:
  // Owned by its control, so that the control's end frees it.
  explicit TSkinControl(TComponent* AOwner);
  // Gives back the window procedure (only while the window lives) and leaves the form
  // skinner's list. The colour is DetachSkin's to give back.
  ~TSkinControl() override;

  // Attaches to the owner, a framework windowed control; a second call changes nothing.
  virtual void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                             bool UseColour);
  // Attaches to a plain window; a second call changes nothing.
  virtual void AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas, TWinSkinForm* Form);
  // Gives back colour and ParentBackground.
  virtual void DetachSkin();
  // True lets the control's own procedure run, then AfterMessage; false: dealt with.
  virtual bool BeforeMessage(TMessage& Message);
  virtual void AfterMessage(TMessage& Message);
  // Paints the whole window into DC (0: the window's own DC).
  virtual void PaintWindow(HDC DC);
  // The per-class painting into DC; R is the window rectangle moved to (0, 0).
  virtual void DrawSkin(HDC, const RECT&) {}
  virtual void SkinChanged();

  void SkinWndProc(TMessage& Message);
  void CallOriginalProc(TMessage& Message);
  void RedrawSkin();
  // WM_PAINT for skinners that paint alone (the DC in wParam, else BeginPaint).
  void HandlePaint(TMessage& Message);
  void HandleEraseBkgnd(TMessage& Message);
  // For skinners that paint alone: WM_PAINT through HandlePaint and WM_ERASEBKGND
  // answered without erasing. False for any other message.
  bool PaintAlone(TMessage& Message);
  // The control's mouse-down event for a press the skinner keeps from the control.
  void EmulateMouseDown(TMessage& Message);
  void FillSkinFace(HDC DC, const RECT& R);
  TColor GetParentColor(TColor Default);
  void FillParentColor(HDC DC, const RECT& R);
  LONG_PTR GetWindowLongAuto(HWND Handle, int Index);
  // The focus rectangle around FCaption as Flags align it in R.
  void DrawTextFocus(HDC DC, UINT Flags, const RECT& R);
  void SwitchParentBackground(bool TurnOff);
  // The control takes the skin's face colour; the old one is kept for DetachSkin.
  void TakeFaceColour();
  // Takes the attach's arguments and the owner as the control (its window made now);
  // false when already attached or the owner has no window.
  bool BindControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas, bool UseColour);

  bool InState(TSkinState s) const noexcept { return (FStates >> s) & 1u; }
  void SetState(TSkinState s, bool on) noexcept {
    FStates = on ? TSkinStates(FStates | (1u << s)) : TSkinStates(FStates & ~(1u << s));
  }

  TSkinStates FStates = 0;
  TCanvas* FCanvas = nullptr;  // the form skinner's, lent
  bool FEnabled = false;       // when last painted
  bool FFocused = false;
  std::wstring FCaption;
  bool FSkinOn = true;
  bool FUnicode = false;
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;               // null once the window is destroyed
  TWndMethod FOldWindowProc;            // a framework control's previous WindowProc
  TWinControl* FControl = nullptr;      // null for a plain window, and once destroyed
  RECT FWindowRect{};                   // screen coordinates at the last paint
  TControl* FGraphicControl = nullptr;  // a windowless control painted through this skinner
  bool FUseColour = false;
  TColor FOldColor = 0;
  bool FAttached = false;
  int FStatus = 0;  // 0 created, 1 attached, 2 a box unskinned, 6 its window destroyed
  TWinSkinForm* FForm = nullptr;
  int FMode = 0;  // per class; the base sets 1 when it turned ParentBackground off
  bool FParentBgOff = false;

 protected:
  // Gives the window procedure back: the control's WindowProc when ours is still the
  // one it calls first (else ours stays in its chain, passing every message on), or our
  // place in a plain window's subclass chain.
  void Unhook();
  // Puts the skinner's procedure into the control's WindowProc, the old one kept.
  void HookWindowProc(TControl* Control);

 private:
  struct THook;
  struct TProc;
  static LRESULT CALLBACK SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                       UINT_PTR Id, DWORD_PTR Data);
  // Shared with the procedure installed in the control: cleared when the skinner goes,
  // so that nothing reaches a skinner freed inside one of its own messages.
  std::shared_ptr<THook> FHook;
  TControl* FHooked = nullptr;  // whose WindowProc holds the skinner's procedure
  bool FSubclassed = false;
};

// Whether a control paints its parent's background under its own picture: tagged 5555,
// or every control in a skin with the transparent option.
bool ShowsParentBackground(const TControl* Control, const TSkinData* SkinData);
