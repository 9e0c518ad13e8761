#include "SkinEdits.h"

#include <windowsx.h>

#include <utility>

#include "SkinDrawWin.h"
#include "SkinEditLayout.h"
#include "SkinRead.h"
#include "SkinRanges.h"
#include "SkinScrollBars.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "forms/Forms.h"

namespace {

bool Owns(const TComponent* Owner, const TComponent* Component) {
  for (std::size_t i = 0; Owner && i < Owner->ComponentCount(); ++i)
    if (Owner->Components(i) == Component) return true;
  return false;
}

bool HasBorder(HWND Window, const RECT& R) {
  RECT client;
  GetClientRect(Window, &client);
  return client.right != R.right - R.left && client.bottom != R.bottom - R.top;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Edit

bool TSkinEdit::BeforeMessage(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if ((m.Msg != WM_PAINT && m.Msg != WM_PRINT) || !dc) return TSkinControl::BeforeMessage(m);
  // The edit's own painting may leave its clip in a DC handed to it; the frame goes
  // around the whole window.
  const int saved = SaveDC(dc);
  CallOriginalProc(m);
  RestoreDC(dc, saved);
  AfterMessage(m);
  return false;
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PRINT:
      PaintPrint(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_SKINPAINTCONTROL:
      if (m.LParam != kSkinHostKey) break;
      if (m.WParam) {
        // The edit's text, from its own procedure, into that DC.
        TMessage paint{WM_PAINT, m.WParam, 0, 0};
        CallOriginalProc(paint);
      }
      m.Result = kSkinHostKey;
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinEdit::DrawSkin(HDC DC, const RECT& R) {
  if (InSet(FSkinData->SkinControls, xcSpin) && !FUpDown) FindUpDown();
  if (!HasBorder(FHandle, R)) return;
  RECT r = R;
  FrameSolid(DC, r, static_cast<TColor>(FSkinData->ButtonShadowColour));
  for (int i = 0; i < 2; ++i) {
    InflateRect(&r, -1, -1);
    FrameSolid(DC, r, clWhite);
  }
}

void TSkinEdit::FindUpDown() {
  for (HWND w = GetTopWindow(FHandle); w; w = GetWindow(w, GW_HWNDNEXT)) {
    const std::string name = SkinLowerCase(GetWndClassName(w));
    if (name != "msctls_updown32" && name.find("spin") == std::string::npos &&
        name.find("updown") == std::string::npos)
      continue;
    // One skinned by someone else already keeps that skinner.
    if (SendMessageA(w, WM_SKINQUERY, 0, 0) == 1) return;
    // A plain edit window has no control to own it: the edit's skinner does.
    auto* upDown = new TSkinUpDown(FControl ? static_cast<TComponent*>(FControl) : this);
    upDown->AttachWindow(w, FSkinData, FCanvas, FForm);
    upDown->FBuddy = true;
    FUpDown = upDown;
    return;
  }
}

void TSkinEdit::PaintPrint(HDC DC) {
  RECT r;
  if (!GetWindowRect(FHandle, &r)) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  RECT client;
  GetClientRect(FHandle, &client);
  if (client.right + 2 >= r.right || client.bottom + 2 >= r.bottom) return;
  HDC dc = DC ? DC : GetWindowDC(FHandle);
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameSolid(dc, r, static_cast<TColor>(FSkinData->ButtonShadowColour));
  if (!DC) ReleaseDC(FHandle, dc);
}

// ---------------------------------------------------------------------------------------
// Combo box

TSkinComBox::~TSkinComBox() {
  UnwatchEdit();
  FreeListScrollbar();
}

void TSkinComBox::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                bool UseColour) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  if (!FAttached) return;
  FStyle = GetWindowLongAuto(FHandle, GWL_STYLE);
  if (IsDropDown()) {
    WatchEdit();
    return;
  }
  FInfo.cbSize = sizeof FInfo;
  if (!SkinGetComboBoxInfoProc || !SkinGetComboBoxInfoProc(FHandle, &FInfo)) return;
  FListHandle = FInfo.hwndList;
  const LONG_PTR listStyle = GetWindowLongPtrA(FListHandle, GWL_STYLE);
  if (IsPopupWindow(FListHandle) || !(listStyle & WS_CHILD)) return;
  FListScrollbar = new TSkinScrollbarH(Owner());
  FListScrollbar->AttachWindow(FListHandle, FSkinData, nullptr, FForm);
}

void TSkinComBox::AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas,
                               TWinSkinForm* Form) {
  if (FAttached) return;
  TSkinControl::AttachWindow(Handle, SkinData, Canvas, Form);
  FStyle = GetWindowLongAuto(FHandle, GWL_STYLE);
  if (IsDropDown()) WatchEdit();
}

void TSkinComBox::DetachSkin() {
  TSkinControl::DetachSkin();
  UnwatchEdit();
  FreeListScrollbar();
}

void TSkinComBox::WatchEdit() {
  // Only an 8-bit combo's edit child, as the combo's text goes through the 8-bit calls.
  if (FUnicode) return;
  HWND child = GetTopWindow(FHandle);
  if (child && SetWindowSubclass(child, EditProc, reinterpret_cast<UINT_PTR>(this),
                                 reinterpret_cast<DWORD_PTR>(this)))
    FEditHandle = child;
}

void TSkinComBox::UnwatchEdit() {
  if (FEditHandle) RemoveWindowSubclass(FEditHandle, EditProc, reinterpret_cast<UINT_PTR>(this));
  FEditHandle = nullptr;
}

void TSkinComBox::FreeListScrollbar() {
  TSkinControl* list = std::exchange(FListScrollbar, nullptr);
  // Its owner, the combo's control, may have freed it already (it is freed once).
  if (!list || !Owns(Owner(), list)) return;
  if (list->FStatus != 6) list->DetachSkin();
  delete list;
}

LRESULT CALLBACK TSkinComBox::EditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                       UINT_PTR Id, DWORD_PTR Data) {
  const LRESULT result = DefSubclassProc(Wnd, Msg, WParam, LParam);
  auto* self = reinterpret_cast<TSkinComBox*>(Data);
  if (Msg == WM_NCDESTROY) {
    RemoveWindowSubclass(Wnd, EditProc, Id);
    self->FEditHandle = nullptr;
  } else {
    SafeCall([&] { self->EditMessage(Msg); });
  }
  return result;
}

void TSkinComBox::EditMessage(UINT Msg) {
  if (!FSkinOn) return;
  switch (Msg) {
    case WM_PAINT:
      PaintWindow(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      SetState(skPressed, Msg != WM_LBUTTONUP);
      RedrawSkin();
      break;
    default:
      break;
  }
}

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CN_COMMAND:
      // The combo paints itself on these, and the skin over it with that paint.
      break;
    case WM_MOUSEMOVE: {
      const POINT p{LONG(LOWORD(m.LParam)), LONG(HIWORD(m.LParam))};
      const bool over = PtInRect(&FButtonRect, p) != FALSE;
      if (FEnabled && over != InState(skHot)) {
        SetState(skHot, over);
        RedrawSkin();
        // A plain window, such as a dialog's combo, hears of the mouse leaving only so.
        if (over) SkinTrackMouseLeave(FHandle);
      }
      break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
      RedrawSkin();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      SetState(skPressed, m.Msg != WM_LBUTTONUP);
      RedrawSkin();
      break;
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
      if (InState(skHot)) {
        SetState(skHot, false);
        RedrawSkin();
      }
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinComBox::DrawSkin(HDC DC, const RECT& Rect) {
  const TDataSkinBorder* button = FSkinData->ComboButton.get();
  if (!button || button->Bitmap.Empty()) return;
  FStyle = GetWindowLongAuto(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongAuto(FHandle, GWL_EXSTYLE);
  FInfo.cbSize = sizeof FInfo;
  const bool info = SkinGetComboBoxInfoProc && SkinGetComboBoxInfoProc(FHandle, &FInfo);
  if (info && (FInfo.stateButton & STATE_SYSTEM_INVISIBLE)) return;
  HWND focus = GetFocus();
  FFocused = focus && (focus == FHandle || IsChild(FHandle, focus));
  FEnabled = !(FStyle & WS_DISABLED);
  if (button->Style == 1) {
    DrawFlat(DC, Rect);
    return;
  }
  const TSkinRect R{0, 0, int(Rect.right - Rect.left), int(Rect.bottom - Rect.top)};
  const int g = ComboFrame({InState(skPressed), InState(skHot), FFocused, FEnabled});
  const bool left = FExStyle & WS_EX_LEFTSCROLLBAR;
  const TComboLayout at = ComboLayout(R, GetSystemMetrics(SM_CXHSCROLL), left);
  // The mouse makes the button hot where it is drawn; a picture of the whole frame draws
  // no button of its own, and the system's rectangle serves when there is one.
  FButtonRect = button->Style == 2 && info ? FInfo.rcButton : ToRect(at.Button);
  const TDataSkinObject* sunk = FSkinData->SunkEdge.get();
  if (button->Style == 2) {
    // The mirrored picture of a left-hand button holds its frames in reverse.
    if (!left)
      DrawNineSlice(DC, R, button->Bitmap, button->Margins, g, button->FrameCount, true,
                    button->Tile != 0, false);
    else if (sunk)
      DrawNineSlice(DC, R, sunk->Bitmap, sunk->Margins, MirroredFrame(g, sunk->FrameCount),
                    sunk->FrameCount, true, sunk->Tile != 0, false);
    return;
  }
  const int saved = SaveDC(DC);
  ExcludeClipRect(DC, at.TextArea.Left, at.TextArea.Top, at.TextArea.Right, at.TextArea.Bottom);
  // A skin without the sunken edge keeps the control's own frame.
  if (sunk) DrawSkinObject(DC, ToRect(R), sunk->FrameCount, g, *sunk);
  const int count = button->FrameCount;
  StretchFrameMasked(DC, ToRect(at.Button), count, left ? MirroredFrame(g, count) : g,
                     left ? button->Bitmap2 : button->Bitmap);
  const TDataSkinObject* glyph = FSkinData->ExtraImages.get();
  if (glyph && !glyph->Bitmap.Empty()) {
    const int fw = glyph->Bitmap.Width() / std::max(glyph->FrameCount, 1),
              fh = glyph->Bitmap.Height();
    const TSkinPoint p = SkinCentredOrigin(at.GlyphArea, fw, fh);
    StretchFrameTransparent(DC, {p.X, p.Y, p.X + fw, p.Y + fh}, glyph->FrameCount, g,
                            glyph->Bitmap);
  }
  RestoreDC(DC, saved);
}

void TSkinComBox::DrawFlat(HDC DC, const RECT& Rect) {
  const TDataSkinBorder& button = *FSkinData->ComboButton;
  const int s = FlatComboFrame({InState(skPressed), InState(skHot), FFocused, FEnabled});
  const int count = std::max(button.FrameCount, 1);
  const TSkinRect R{0, 0, int(Rect.right - Rect.left), int(Rect.bottom - Rect.top)};
  const TFlatComboLayout at =
      FlatComboLayout(R, button.Bitmap.Width() / count, button.Bitmap.Height(),
                      GetSystemMetrics(SM_CYVTHUMB), FExStyle & WS_EX_LEFTSCROLLBAR);
  // The DC's own brush paints the inner frame and the strip under the button.
  HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH));
  RECT r = ToRect(R);
  InflateRect(&r, -1, -1);
  FrameRect(DC, &r, brush);
  const RECT strip = ToRect(at.Strip);
  FillRect(DC, &strip, brush);
  FrameSolid(DC, ToRect(R), static_cast<TColor>(FSkinData->ButtonShadowColour));
  FButtonRect = ToRect(at.Button);
  StretchFrameTransparent(DC, FButtonRect, count, s, button.Bitmap);
}

// ---------------------------------------------------------------------------------------
// Date-time picker

void TSkinDateTime::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                  bool UseColour) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  if (!FAttached) return;
  FArrow = new TArrowButton(this, FControl);
  FArrow->Place();
  const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  FClipAdded = !(style & WS_CLIPCHILDREN);
  if (FClipAdded) SetWindowLongPtrA(FHandle, GWL_STYLE, style | WS_CLIPCHILDREN);
}

void TSkinDateTime::DetachSkin() {
  TSkinControl::DetachSkin();
  delete std::exchange(FArrow, nullptr);
  if (FClipAdded && FStatus != 6)
    SetWindowLongPtrA(FHandle, GWL_STYLE,
                      GetWindowLongPtrA(FHandle, GWL_STYLE) & ~LONG_PTR(WS_CLIPCHILDREN));
  FClipAdded = false;
}

void TSkinDateTime::AfterMessage(TMessage& m) {
  // The arrow button follows the picker's size.
  if (m.Msg == WM_SIZE && FArrow) FArrow->Place();
  TSkinControl::AfterMessage(m);
}

void TSkinDateTime::DrawSkin(HDC DC, const RECT& R) {
  if (!HasBorder(FHandle, R)) return;
  FrameSolid(DC, R, static_cast<TColor>(FSkinData->ButtonShadowColour));
  RECT inner = R;
  InflateRect(&inner, -1, -1);
  FrameSolid(DC, inner, clWhite);
}

TArrowButton::TArrowButton(TSkinDateTime* Skinner, TWinControl* Picker)
    : TCustomControl(Skinner),
      FSize(GetSystemMetrics(SM_CXHSCROLL)),
      FSkinner(Skinner),
      FPickerHandle(Picker->Handle()) {}

void TArrowButton::Place() {
  RECT r;
  GetWindowRect(FPickerHandle, &r);
  const bool left = GetWindowLongPtrA(FPickerHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
  const TSkinRect b = ArrowButtonBounds(int(r.right - r.left), FSize, left);
  SetParentWindow(FPickerHandle);
  SetBounds(b.Left, b.Top, b.Width(), b.Height());
  HandleNeeded();
}

void TArrowButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (IsWindowEnabled(FPickerHandle)) {
        FHot = m.Msg == CM_MOUSEENTER ? 1 : 0;
        Invalidate();
      }
      break;
    case WM_LBUTTONDOWN: {
      TCustomControl::WndProc(m);
      // The picker opens its calendar as for a click on its own button there.
      const LPARAM at = MAKELPARAM(GET_X_LPARAM(m.LParam) + Left(), GET_Y_LPARAM(m.LParam) + Top());
      PostMessageA(FPickerHandle, WM_LBUTTONDOWN, m.WParam, at);
      PostMessageA(FPickerHandle, WM_LBUTTONUP, m.WParam, at);
      Invalidate();
      return;
    }
    case WM_LBUTTONUP:
      TCustomControl::WndProc(m);
      SetFocus(FPickerHandle);
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TArrowButton::Paint() {
  HDC dc = Canvas()->Handle();
  RECT r;
  GetClientRect(Handle(), &r);
  const TSkinData& data = *FSkinner->FSkinData;
  FillSolidRect(dc, r, static_cast<TColor>(data.ButtonFaceColour));
  const TDataSkinObject* arrow = data.ComboxArrow.get();
  if (arrow && !arrow->Bitmap.Empty())
    DrawFrameStrip(dc, ToSkinRect(r), arrow->Bitmap, FHot & 1 ? 4 : 1, arrow->FrameCount, false);
}
