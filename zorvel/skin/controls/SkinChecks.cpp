#include "SkinChecks.h"

#include <algorithm>

#include "SkinDrawWin.h"
#include "SkinRead.h"
#include "WinSkinData.h"
#include "WinSubClass.h"

namespace {
// The framework's notice that the focus left the control.
constexpr UINT CM_EXIT = 0xB01B;
// Nothing here sends it; a component of another library may, to have the box redrawn.
constexpr UINT kRedrawRequest = 0xB0D0;

}  // namespace

bool TSkinCheckControl::PaintsWhole() const {
  int n;
  const TSkinImage* strip = Strip(n);
  return FControl && strip && !strip->Empty();
}

void TSkinCheckControl::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                      bool UseColour) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  FMode = PaintsWhole() ? 1 : 0;
  FTransparent = FControl && ShowsParentBackground(FControl, SkinData);
  FFocused = FHandle && GetFocus() == FHandle;
}

void TSkinCheckControl::SkinChanged() {
  FMode = PaintsWhole() ? 1 : 0;
  TSkinControl::SkinChanged();
}

bool TSkinCheckControl::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      if (FMode != 1) return true;
      HandlePaint(m);
      return false;
    case WM_ERASEBKGND:
      if (!FTransparent) return true;
      HandleEraseBkgnd(m);
      return false;
    default:
      return true;
  }
}

void TSkinCheckControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // Followed here rather than asked of the system at each paint.
      FFocused = m.Msg == WM_SETFOCUS;
      TSkinControl::AfterMessage(m);
      break;
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case kRedrawRequest:
      // The button draws its new state straight onto the screen: the box goes back on.
      RedrawSkin();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinCheckControl::DrawSkin(HDC DC, const RECT& R) {
  int n;
  const TSkinImage* strip = Strip(n);
  if (!strip || strip->Empty()) {
    FMode = 0;
    return;
  }
  n = std::max(n, 1);
  const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  const bool enabled = !(style & WS_DISABLED), leftText = style & BS_LEFTTEXT;
  const TCheckLayout at =
      CheckBoxLayout(ToSkinRect(R), strip->Width() / n, strip->Height(), leftText, IsRadio());
  const int frame = Frame(enabled, n);
  if (FMode != 1 || !FControl) {
    // Over what the window painted itself.
    StretchFrameMasked(DC, ToRect(at.Box), n, frame, *strip);
    return;
  }
  // The whole control composed off-screen and copied in one blit.
  const int W = int(R.right - R.left), H = int(R.bottom - R.top);
  FBuffer.SetSize(W, H);
  TCanvas& canvas = *FBuffer.Canvas();
  canvas.Brush = {static_cast<TColor>(FSkinData->ButtonFaceColour), bsSolid};
  HDC dc = canvas.Handle();
  if (FTransparent)
    PaintParentBackground(FControl, dc);
  else
    canvas.FillRect({0, 0, W, H});
  StretchFrameMasked(FBuffer, ToRect(at.Box), n, frame, *strip);
  UINT flags = 0;
  if (leftText && FControl->BiDiMode != bdLeftToRight) flags = DT_RIGHT | DT_RTLREADING;
  DrawCaption(dc, ToRect(at.Text), flags | DT_EXPANDTABS | DT_WORDBREAK, enabled);
  BitBlt(DC, R.left, R.top, W, H, dc, 0, 0, SRCCOPY);
}

void TSkinCheckControl::DrawCaption(HDC DC, RECT Text, UINT Flags, bool Enabled) {
  FCaption = GetWidePropByName(FControl, "Caption");
  TFont& font = *FControl->Font();
  const HGDIOBJ oldFont = SelectObject(DC, font.Handle());
  const COLORREF oldText = SetTextColor(DC, ColorToRGB(Enabled ? font.Color : clBtnShadow));
  const COLORREF oldBack =
      SetBkColor(DC, ColorToRGB(static_cast<TColor>(FSkinData->ButtonFaceColour)));
  const int oldMode = SetBkMode(DC, TRANSPARENT);
  // Measured at each paint: a changed font can come back with the old font's handle.
  RECT measured = Text;
  DrawSkinText(DC, FCaption, measured, Flags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&Text, 0, ((Text.bottom - Text.top) - (measured.bottom - measured.top)) / 2);
  if (FFocused && !FCaption.empty()) DrawTextFocus(DC, Flags, Text);
  DrawSkinText(DC, FCaption, Text, Flags);
  SetBkMode(DC, oldMode);
  SetBkColor(DC, oldBack);
  SetTextColor(DC, oldText);
  SelectObject(DC, oldFont);
}

// ---------------------------------------------------------------------------------------

void TSkinCheckBox::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                  bool UseColour) {
  if (FAttached) return;
  FCheckCache = 0;
  TSkinCheckControl::AttachControl(Form, SkinData, Canvas, UseColour);
}

void TSkinCheckBox::AfterMessage(TMessage& m) {
  if (m.Msg == BM_SETCHECK) FCheckCache = int(m.WParam) + 1;
  TSkinCheckControl::AfterMessage(m);
}

const TSkinImage* TSkinCheckBox::Strip(int& FrameCount) const {
  if (!FSkinData || !FSkinData->Buttons) return nullptr;
  FrameCount = FSkinData->Buttons->CheckButtonFrame;
  return &FSkinData->Buttons->CheckBitmap;
}

int TSkinCheckBox::Frame(bool Enabled, int FrameCount) {
  const LRESULT state = SendMessageA(FHandle, BM_GETSTATE, 0, 0);
  TCheckBoxFacts f;
  f.Checked = state & BST_CHECKED;
  f.Indeterminate = state & BST_INDETERMINATE;
  if (FControl) {
    f.Framework = true;
    // Only what decides is read: each read may ask the window.
    f.HasState = HasPropByName(FControl, "State");
    f.HasChecked = !f.HasState && HasPropByName(FControl, "Checked");
    if (f.HasState) f.StateName = GetEnumPropByName(FControl, "State");
    if (f.HasChecked) f.CheckedName = GetEnumPropByName(FControl, "Checked");
    f.DataAware = HasPropByName(FControl, "DataField");
    f.Cache = FCheckCache;
    f.DataBinding = HasPropByName(FControl, "DataBinding");
  }
  return CheckBoxFrame(CheckBoxState(f), Enabled, FrameCount);
}

// ---------------------------------------------------------------------------------------

const TSkinImage* TSkinRadioButton::Strip(int& FrameCount) const {
  if (!FSkinData || !FSkinData->Buttons) return nullptr;
  FrameCount = FSkinData->Buttons->RadioButtonFrame;
  return &FSkinData->Buttons->RadioBitmap;
}

int TSkinRadioButton::Frame(bool Enabled, int FrameCount) {
  const bool checked = FControl && HasPropByName(FControl, "Checked")
                           ? SkinLowerCase(GetEnumPropByName(FControl, "Checked")) == "true"
                           : SendMessageA(FHandle, BM_GETCHECK, 0, 0) & 1;
  return RadioButtonFrame(checked, Enabled, FrameCount);
}
