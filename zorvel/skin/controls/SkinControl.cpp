#include "SkinControl.h"

#include <commctrl.h>
#include <windowsx.h>

#include "SkinDrawWin.h"
#include "SkinLayout.h"
#include "SkinProps.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "forms/Forms.h"

struct TSkinControl::THook {
  TSkinControl* Skinner;
  TWndMethod Old;  // what a skinner that left the chain passes messages to
};

// The procedure put into a framework control's WindowProc.
struct TSkinControl::TProc {
  std::shared_ptr<THook> Hook;
  void operator()(TMessage& m) const {
    const std::shared_ptr<THook> hook = Hook;  // this object may be replaced while it runs
    if (hook->Skinner)
      hook->Skinner->SkinWndProc(m);
    else if (hook->Old)
      hook->Old(m);
  }
};

TSkinControl::TSkinControl(TComponent* AOwner)
    : TComponent(AOwner), FHook(std::make_shared<THook>(THook{this, nullptr})) {}

TSkinControl::~TSkinControl() {
  Unhook();
  FHook->Skinner = nullptr;
  if (FForm) FForm->UnregisterSkinControl(this);
}

void TSkinControl::Unhook() {
  if (FSubclassed) {
    RemoveWindowSubclass(FHandle, SubclassProc, reinterpret_cast<UINT_PTR>(this));
    FSubclassed = false;
  }
  if (FOldWindowProc && FHooked) {
    const TProc* top = FHooked->WindowProc.target<TProc>();
    if (top && top->Hook == FHook) {
      FHooked->WindowProc = FOldWindowProc;
    } else {
      FHook->Old = FOldWindowProc;
      FHook->Skinner = nullptr;
    }
  }
  FOldWindowProc = nullptr;
  FHooked = nullptr;
}

void TSkinControl::HookWindowProc(TControl* Control) {
  FHooked = Control;
  FOldWindowProc = Control->WindowProc;
  Control->WindowProc = TProc{FHook};
}

LRESULT CALLBACK TSkinControl::SubclassProc(HWND, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                            DWORD_PTR Data) {
  auto* self = reinterpret_cast<TSkinControl*>(Data);
  TMessage m{Msg, WParam, LParam, 0};
  SafeCall([&] { self->SkinWndProc(m); });
  return m.Result;
}

// ---------------------------------------------------------------------------------------
// Attaching

bool TSkinControl::BindControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                               bool UseColour) {
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (FAttached || !control) return false;
  FUseColour = UseColour;
  FSkinData = SkinData;
  FForm = Form;
  FCanvas = Canvas;
  FControl = control;
  FHandle = control->Handle();
  FUnicode = IsWindowUnicode(FHandle) != FALSE;
  return true;
}

void TSkinControl::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                 bool UseColour) {
  if (!BindControl(Form, SkinData, Canvas, UseColour)) return;
  HookWindowProc(FControl);
  if (Form) Form->RegisterSkinControl(this);
  if (UseColour) TakeFaceColour();
  if (FParentBgOff) FMode = 1;
  FControl->Invalidate();
  FAttached = true;
  FStatus = 1;
}

void TSkinControl::AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas,
                                TWinSkinForm* Form) {
  // Attached once: a skinner serves one window, and its procedure is in the chain once.
  if (FAttached) return;
  FSkinData = SkinData;
  FCanvas = Canvas;
  FForm = Form;
  FHandle = Handle;
  FEnabled = true;
  FMode = 0;
  if (Form) Form->RegisterSkinControl(this);
  FUnicode = IsWindowUnicode(Handle) != FALSE;
  FCaption = GetWindowTextWide(Handle);
  // The chain calls the window's previous procedure as the A or W one that it is.
  FSubclassed = SetWindowSubclass(Handle, SubclassProc, reinterpret_cast<UINT_PTR>(this),
                                  reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  if (Handle) InvalidateRect(Handle, nullptr, TRUE);
  FAttached = true;
  FStatus = 1;
}

void TSkinControl::DetachSkin() {
  if (!FUseColour || !FControl) return;
  SwitchParentBackground(false);
  FControl->SetColor(FOldColor);
}

void TSkinControl::SkinChanged() {
  if (FUseColour && FControl) FControl->SetColor(static_cast<TColor>(FSkinData->ButtonFaceColour));
  RedrawSkin();
}

void TSkinControl::TakeFaceColour() {
  SwitchParentBackground(true);
  FOldColor = FControl->Color();
  FControl->SetColor(static_cast<TColor>(FSkinData->ButtonFaceColour));
}

void TSkinControl::SwitchParentBackground(bool TurnOff) {
  if (InSet(FSkinData->Options, xoParentBackGround) || !HasPropByName(FControl, "ParentBackground"))
    return;
  if (TurnOff) {
    std::string value = GetEnumPropByName(FControl, "ParentBackground");
    for (char& c : value) c = char(std::tolower(static_cast<unsigned char>(c)));
    FParentBgOff = value == "true";
    if (FParentBgOff) SetPropByName(FControl, "ParentBackground", "False");
  } else if (FParentBgOff) {
    SetPropByName(FControl, "ParentBackground", "True");
  }
}

// ---------------------------------------------------------------------------------------
// The window procedure

void TSkinControl::SkinWndProc(TMessage& m) {
  const std::shared_ptr<THook> hook = FHook;  // the control's procedure may free this skinner
  if (m.Msg == WM_SKINENABLE) {
    FSkinOn = static_cast<int>(m.WParam) > 0;
    if (FSkinOn) RedrawSkin();
    return;
  }
  if (!FSkinOn) {
    CallOriginalProc(m);
    return;
  }
  if (!BeforeMessage(m)) return;
  CallOriginalProc(m);
  if (hook->Skinner) AfterMessage(m);
}

void TSkinControl::CallOriginalProc(TMessage& m) {
  if (FOldWindowProc) {
    const TWndMethod old = FOldWindowProc;  // this skinner may be freed while it runs
    old(m);
  } else if (FSubclassed) {
    m.Result = DefSubclassProc(FHandle, m.Msg, m.WParam, m.LParam);
  }
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
      CallOriginalProc(m);
      FSkinOn = false;
      FStatus = 6;
      DetachSkin();
      // The window is gone and its handle may be reused: nothing is given back to it
      // later, and a control that goes with it is not touched again.
      Unhook();
      FHandle = nullptr;
      FControl = nullptr;
      return false;
    case WM_SKINQUERY:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
      RedrawSkin();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_SKINENABLE:
      FSkinOn = static_cast<int>(m.WParam) > 0;
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------
// Painting

void TSkinControl::RedrawSkin() {
  if (FGraphicControl) {
    FGraphicControl->Invalidate();
  } else if (FHandle) {
    InvalidateRect(FHandle, nullptr, TRUE);
    // While its form refreshes for a new skin, the paint waits for the form's own.
    if (!FForm || FForm->FState != 3) UpdateWindow(FHandle);
  }
}

void TSkinControl::PaintWindow(HDC DC) {
  RECT r;
  if (!FHandle || !GetWindowRect(FHandle, &r)) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  HDC dc = DC ? DC : GetWindowDC(FHandle);
  try {
    DrawSkin(dc, r);
  } catch (...) {
    // A paint that fails leaves the window as it is.
  }
  if (!DC) ReleaseDC(FHandle, dc);
}

void TSkinControl::HandlePaint(TMessage& m) {
  PAINTSTRUCT ps;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  const bool began = !dc;
  if (began) dc = BeginPaint(FHandle, &ps);
  struct End {
    bool began;
    HWND wnd;
    PAINTSTRUCT& ps;
    ~End() {
      if (began) EndPaint(wnd, &ps);
    }
  } end{began, FHandle, ps};
  RECT r;
  if (GetWindowRect(FHandle, &r)) {
    FWindowRect = r;
    OffsetRect(&r, -r.left, -r.top);
    DrawSkin(dc, r);
  }
}

bool TSkinControl::PaintAlone(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    HandlePaint(m);
    return true;
  }
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return true;
  }
  return false;
}

void TSkinControl::HandleEraseBkgnd(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (FControl) {
    PaintParentBackground(FControl, dc);
  } else {
    RECT r;
    GetClientRect(FHandle, &r);
    FillParentColor(dc, r);
  }
  m.Result = 1;
}

void TSkinControl::FillSkinFace(HDC DC, const RECT& R) {
  FillSolidRect(DC, R, static_cast<TColor>(FSkinData->ButtonFaceColour));
}

TColor TSkinControl::GetParentColor(TColor Default) {
  TWinControl* parent = FControl ? FControl->Parent() : nullptr;
  const TPropInfo* color = GetPropInfo(parent, "Color");
  return color && color->Kind == tkInteger ? static_cast<TColor>(color->GetOrd(parent)) : Default;
}

void TSkinControl::FillParentColor(HDC DC, const RECT& R) {
  FillSolidRect(DC, R, GetParentColor(static_cast<TColor>(FSkinData->ButtonFaceColour)));
}

LONG_PTR TSkinControl::GetWindowLongAuto(HWND Handle, int Index) {
  return FUnicode ? GetWindowLongPtrW(Handle, Index) : GetWindowLongPtrA(Handle, Index);
}

void TSkinControl::DrawTextFocus(HDC DC, UINT Flags, const RECT& R) {
  if (InSet(FSkinData->Options, xoNoFocusRect)) return;
  RECT t = R;
  DrawSkinText(DC, FCaption, t, Flags | DT_CALCRECT | DT_NOCLIP);
  const RECT focus =
      ToRect(CaptionFocusRect(ToSkinRect(R), int(t.right - t.left), int(t.bottom - t.top), Flags));
  DrawFocusRect(DC, &focus);
}

// ---------------------------------------------------------------------------------------
// Mouse

void TSkinControl::EmulateMouseDown(TMessage& m) {
  if (!FControl) return;
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  // The message's 16-bit coordinates cannot reach every point of a control this large.
  if (FControl->Width() > 0x8000 || FControl->Height() > 0x8000) {
    GetCursorPos(&p);
    p = FControl->ScreenToClient(p);
  }
  FControl->MouseDown(mbLeft, KeysToShiftState(m.WParam), p.x, p.y);
}

bool ShowsParentBackground(const TControl* Control, const TSkinData* SkinData) {
  constexpr int kParentBackgroundTag = 5555;
  return Control->Tag == kParentBackgroundTag || InSet(SkinData->Options, xoTransparent);
}
