#include "SkinChecks.h"

#include <algorithm>
#include <cctype>

#include "WinSkinData.h"
#include "WinSubClass.h"

namespace {
// Nobody here sends it; a component of another library may, to have the box redrawn.
constexpr UINT CM_EXIT = 0xB01B;
constexpr UINT kRedrawRequest = 0xB0D0;

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}
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
  FTransparent = FControl && (FControl->Tag == 5555 || InSet(SkinData->Options, xoTransparent));
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
  const int w = strip->Width() / n, h = strip->Height();
  const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  const bool enabled = !(style & WS_DISABLED), leftText = style & BS_LEFTTEXT;
  const TCheckLayout at = CheckBoxLayout(ToSkinRect(R), w, h, leftText, IsRadio());
  UINT flags = 0;
  if (leftText && FControl && FControl->BiDiMode != bdLeftToRight) flags = DT_RIGHT | DT_RTLREADING;
  if (FMode == 1 && !FTransparent) FillSkinFace(DC, R);
  StretchFrameMasked(DC, ToRect(at.Box), n, Frame(enabled, n), *strip);
  if (FMode == 0 || !FControl) return;

  FCaption = GetWidePropByName(FControl, "Caption");
  TFont& font = *FControl->Font();
  const HGDIOBJ oldFont = SelectObject(DC, font.Handle());
  const COLORREF oldText = SetTextColor(DC, ColorToRGB(enabled ? font.Color : clBtnShadow));
  const COLORREF oldBack =
      SetBkColor(DC, ColorToRGB(static_cast<TColor>(FSkinData->ButtonFaceColour)));
  const int oldMode = SetBkMode(DC, TRANSPARENT);
  const UINT textFlags = flags | DT_EXPANDTABS | DT_WORDBREAK;
  RECT text = ToRect(at.Text), measured = text;
  DrawSkinText(DC, FCaption, measured, textFlags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&text, 0, ((text.bottom - text.top) - (measured.bottom - measured.top)) / 2);
  if (GetFocus() == FHandle && !FCaption.empty()) DrawTextFocus(DC, textFlags, text);
  DrawSkinText(DC, FCaption, text, textFlags);
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
    f.HasState = HasPropByName(FControl, "State");
    f.StateName = GetEnumPropByName(FControl, "State");
    f.HasChecked = HasPropByName(FControl, "Checked");
    f.CheckedName = GetEnumPropByName(FControl, "Checked");
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
  bool checked = SendMessageA(FHandle, BM_GETCHECK, 0, 0) & 1;
  if (FControl) checked = Lower(GetEnumPropByName(FControl, "Checked")) == "true";
  return RadioButtonFrame(checked, Enabled, FrameCount);
}
