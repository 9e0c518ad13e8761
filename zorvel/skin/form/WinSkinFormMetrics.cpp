// A skinned window's sizes, hit testing, caption buttons and their actions.
#include <algorithm>

#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "forms/ExtCtrls.h"
#include "forms/Menus.h"

namespace {
bool InRect(const TSkinRect& r, TSkinPoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
}  // namespace

// ---------------------------------------------------------------------------------------
// Caption buttons

TWinSysButton::TWinSysButton(TWinSkinForm* form, const TDataSkinSysButton* element)
    : TNCObject(form), Element(element) {}

const TSkinImage& TWinSysButton::Strip() const {
  return IsIconButtonAction(Element->Action) && Element->Bitmap.Empty() ? Form->FIconBitmap
                                                                        : Element->Bitmap;
}

int TWinSysButton::FrameCount() const {
  // An icon button's image is one picture, whatever the skin says.
  return IsIconButtonAction(Element->Action) ? 1 : std::max(Element->FrameCount, 1);
}

// ---------------------------------------------------------------------------------------
// Metrics

TFrameState TWinSkinForm::FrameState() const {
  TFrameState s;
  s.WindowWidth = FWindowWidth;
  s.LeftWidth = FLeftWidth;
  s.TopHeight = FTopHeight;
  s.RightWidth = FRightWidth;
  s.BottomHeight = FBottomHeight;
  s.MenuBarHeight = FMenuBarHeight;
  // Buttons measured from the title's ends stand where the title text's margins end.
  const TDataSkinTitle* title = FSkinData ? FSkinData->Title.get() : nullptr;
  s.TitleLeft = FLeftWidth + (title ? title->Margins.Left : 0);
  s.TitleRight = FWindowWidth - FRightWidth - (title ? title->Margins.Right : 0);
  s.MenuBarLeftMargin = FSkinData && FSkinData->MenuBar ? FSkinData->MenuBar->Margins.Left : 0;
  s.Active = FActive;
  s.RightToLeft = FRightToLeft;
  s.IsDialog = FIsDialog;
  s.HasMenuBar = FMenuBar != nullptr;
  s.ActiveChildMaximized = ActiveChildMaximized();
  s.WindowState = FWindowState;
  s.BorderKind = FBorderKind;
  s.FrameFlags = FFrameFlags;
  s.Kind = FKind;
  return s;
}

void TWinSkinForm::ComputeMetrics() {
  if (!FSkinData || FSkinData->NoSkinLoaded) return;
  if (FBorderKind == kNoCaption) {
    FLeftWidth = FTopHeight = FRightWidth = FBottomHeight = FMenuBarHeight = 0;
  } else {
    const TSkinContent& skin = *FSkinData;
    FLeftWidth = SkinBorderSize(skin.BorderLeft->Bitmap.Width(), skin.BorderLeft->FrameCount);
    FRightWidth = SkinBorderSize(skin.BorderRight->Bitmap.Width(), skin.BorderRight->FrameCount);
    FTopHeight = SkinBorderSize(skin.BorderTop->Bitmap.Height(), skin.BorderTop->FrameCount);
    FBottomHeight = SkinBorderSize(skin.BorderBottom->Bitmap.Height(), skin.BorderBottom->FrameCount);
  }
  FreeCaptionButtons();
  for (const auto& element : FSkinData->CaptionButtons) {
    if (IsIconButtonAction(element->Action)) DrawWindowIcon();
    FButtons.push_back(std::make_unique<TWinSysButton>(this, element.get()));
  }
}

void TWinSkinForm::FreeCaptionButtons() {
  if (FHotObject && std::any_of(FButtons.begin(), FButtons.end(),
                                [this](const auto& b) { return b.get() == FHotObject; }))
    FHotObject = nullptr;
  FButtons.clear();
}

TSkinPoint TWinSkinForm::ScreenToWindow(LPARAM Point) const {
  POINT p{static_cast<short>(LOWORD(Point)), static_cast<short>(HIWORD(Point))};
  ScreenToClient(FHandle, &p);
  if (!(FKind == kMDIChild && FWindowState == kMinimized)) {
    p.x += FLeftWidth;
    p.y += FTopHeight + FMenuBarHeight;
  }
  return {int(p.x), int(p.y)};
}

TWinSysButton* TWinSkinForm::ButtonAt(TSkinPoint Point) const {
  for (const auto& b : FButtons)
    if (b->Visible && b->Element->Action >= 0 && InRect(b->Bounds, Point)) return b.get();
  return nullptr;
}

TNCObject* TWinSkinForm::ObjectAt(TSkinPoint Point) const {
  if (TWinSysButton* b = ButtonAt(Point)) return b;
  return FMenuBar ? FMenuBar->ButtonAt(Point) : nullptr;
}

bool TWinSkinForm::IsButtonVisible(TWinSysButton& b) {
  const TDataSkinSysButton& e = *b.Element;
  b.Visible = SkinButtonVisible({e.Action, e.Visibility, e.Visibility1}, FrameState(), [&] {
    return SendMessageA(FHandle, WM_SKINBUTTONVISIBLE, WPARAM(e.Visibility), LPARAM(e.Action)) > 0;
  });
  return b.Visible;
}

void TWinSkinForm::LayoutButtons() {
  const TFrameState state = FrameState();
  for (const auto& b : FButtons) {
    if (!IsButtonVisible(*b) || b->Strip().Empty()) continue;
    const TDataSkinSysButton& e = *b->Element;
    b->Bounds = SkinButtonBounds(e.Align, e.Xcoord, e.Ycoord, b->Strip().Width() / b->FrameCount(),
                                 b->Strip().Height(), state);
  }
}

void TWinSkinForm::ResizeForSkin(bool UseWindow) {
  ReadWindowState();
  if (FWindowState == kMaximized) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  RECT window{};
  GetWindowRect(FHandle, &window);
  if (FIsDialog || FState == 3) GetClientRect(FHandle, &FClientRect);
  int clientWidth = FClientRect.right;
  if (UseWindow) {
    GetClientRect(FHandle, &FClientRect);
  } else if (auto* form = dynamic_cast<TCustomForm*>(FFormControl); form && form->ClientWidth() > 0) {
    clientWidth = form->ClientWidth();
    FClientRect.bottom = FKind == kMDIChild ? form->ClientHeight() : form->ClientHeight() - FMenuBarHeight;
  }
  TSkinSize size = SkinWindowSize(clientWidth, FClientRect.bottom, FrameState());

  if (FIsDialog && !UseWindow) {
    // A dialog is at least wide enough for its caption text between the title's margins.
    const int n = GetWindowTextLengthW(FHandle);
    FCaptionText.assign(std::size_t(n) + 1, L'\0');
    FCaptionText.resize(std::size_t(GetWindowTextW(FHandle, FCaptionText.data(), n + 1)));
    HDC dc = GetWindowDC(FHandle);
    HGDIOBJ old = SelectObject(dc, FCaptionFont ? FCaptionFont : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32W(dc, FCaptionText.c_str(), int(FCaptionText.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(FHandle, dc);
    FTitleTextWidth = int(extent.cx);
    const TDataSkinTitle& title = *FSkinData->Title;
    const int minimum = title.Margins.Left + FTitleTextWidth + title.Margins.Right;
    if (const int shift = SkinDialogShift(size.Width, minimum); shift > 0) {
      for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        POINT corner{r.left, r.top};
        ScreenToClient(FHandle, &corner);
        // The z-order is the dialog's tab order: moving a child must not change it.
        SetWindowPos(child, nullptr, corner.x + shift, corner.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      size.Width = minimum;
    }
  }
  // While a new skin is applied the whole window is repainted once at the end.
  SetWindowPos(FHandle, nullptr, window.left, window.top, size.Width, size.Height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | (FState == 3 ? SWP_NOREDRAW : 0));
}

void TWinSkinForm::SizeChanged(TMessage& m) {
  CallOwnProc(m);
  switch (m.WParam) {
    case SIZE_RESTORED:
      FWindowState = kRestored;
      break;
    case SIZE_MINIMIZED:
      FWindowState = kMinimized;
      break;
    case SIZE_MAXIMIZED:
      FWindowState = kMaximized;
      break;
    default:
      break;
  }
  if (FWindowState == kMinimized) return;
  if (FKind == kMDIChild && ((SkinManager && SkinManager->MDIMaximized) || FWindowState != kRestored)) return;
  if (FState == 1 || FState == 3) BuildRegion();
}

// ---------------------------------------------------------------------------------------
// Non-client messages

void TWinSkinForm::NCCalcSize(TMessage& m) {
  CallOwnProc(m);
  if (LOBYTE(m.WParam) == 0) {
    m.Result = 0;
    return;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  const WINDOWPOS& pos = *params->lppos;
  bool keep = false;
  const TSkinRect r = SkinClientRect({pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy}, FrameState(), keep);
  if (keep)
    params->rgrc[1] = params->rgrc[0];
  else
    params->rgrc[0] = params->rgrc[1] = RECT{r.Left, r.Top, r.Right, r.Bottom};
  m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::NCHitTest(TMessage& m) {
  CallOwnProc(m);
  m.Result = SkinHitTest(int(m.Result), ScreenToWindow(m.LParam), FTopHeight, FMenuBarHeight);
}

void TWinSkinForm::NCMouseMove(TMessage& m) {
  if (!FActive) {
    // An inactive window shows no hot buttons; the system still hears of the mouse.
    CallOwnProc(m);
    return;
  }
  if (TNCObject* o = ObjectAt(ScreenToWindow(m.LParam))) {
    o->MouseHover();
    m.Result = 0;
    return;
  }
  if (FHotObject) FHotObject->MouseLeave();
  FHotObject = nullptr;
  CallOwnProc(m);
}

void TWinSkinForm::NCLButtonDown(TMessage& m) {
  const TSkinPoint p = ScreenToWindow(m.LParam);
  TNCObject* o = ObjectAt(p);
  if (o && !FActive) {
    // Activation runs at once, and with it the host's handlers: one that changes the menu
    // rebuilds the bar's items, one may unskin the window.
    const std::weak_ptr<bool> alive = FAlive;
    SetForegroundWindow(FHandle);
    if (alive.expired() || !FAttached) return;
    o = ObjectAt(p);
  }
  if (o) {
    o->MousePress();
    // A bar item opens its drop-down at once, and is hot once it closed.
    if (auto* item = dynamic_cast<TMenuBtn*>(o)) {
      const std::weak_ptr<bool> alive = FAlive;
      OpenMenuItem(item);
      if (!alive.expired() && FMenuBar && FMenuBar->ButtonAt(p) == item) FHotObject = item;
    }
    m.Result = 0;
    return;
  }
  if (FWindowState == kMaximized && m.WParam == HTCAPTION && FActive) m.WParam = HTMENU;
  CallOwnProc(m);
}

void TWinSkinForm::NCLButtonUp(TMessage& m) {
  const TSkinPoint p = ScreenToWindow(m.LParam);
  if (FMenuBar && !ButtonAt(p) && FMenuBar->ButtonAt(p)) {
    m.Result = 0;
    return;
  }
  if (TWinSysButton* b = ButtonAt(p)) {
    if (b == FHotObject) {
      b->MouseRelease();
      ButtonAction(*b, static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
    }
    m.Result = 0;
    return;
  }
  CallOwnProc(m);
}

void TWinSkinForm::NCLButtonDblClk(TMessage& m) {
  if (TWinSysButton* b = ButtonAt(ScreenToWindow(m.LParam))) {
    if (IsIconButtonAction(b->Element->Action)) {
      FHoverTimer->SetEnabled(false);
      PostSysCommand(SC_CLOSE);
    }
    m.Result = 0;
    return;
  }
  if (FWindowState != kRestored)
    Restore();
  else if (FFrameFlags & kFrameMaximizeBox)
    MaximizeOrRestore();
  else
    CallOwnProc(m);
}

void TWinSkinForm::NCRButtonDown(TMessage& m) {
  if (m.WParam == HTCAPTION && FKind != kMDIChild) {
    ShowSystemMenuAt({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))}, false);
    m.Result = 0;
    return;
  }
  CallOwnProc(m);
}

// ---------------------------------------------------------------------------------------
// Actions

void TWinSkinForm::PostSysCommand(WPARAM Command) { PostMessageA(FHandle, WM_SYSCOMMAND, Command, 0); }

void TWinSkinForm::ButtonAction(TWinSysButton& b, int X, int Y) {
  switch (SkinButtonEffect(b.Element->Action)) {
    case TButtonEffect::Close:
      if (CloseEnabled()) {
        FHoverTimer->SetEnabled(false);
        PostSysCommand(SC_CLOSE);
      }
      break;
    case TButtonEffect::MaximizeOrRestore:
      MaximizeOrRestore();
      break;
    case TButtonEffect::MinimizeOrRestore:
      MinimizeOrRestore();
      break;
    case TButtonEffect::SystemMenu:
      ShowSystemMenuAt({X + 1, Y + 1}, IsIconButtonAction(b.Element->Action));
      break;
    case TButtonEffect::MDIChildMinimize:
      SendToActiveMDIChild(SC_MINIMIZE);
      break;
    case TButtonEffect::MDIChildRestore:
      SendToActiveMDIChild(SC_RESTORE);
      break;
    case TButtonEffect::MDIChildClose:
      SendToActiveMDIChild(SC_CLOSE);
      break;
    case TButtonEffect::HostAction:
      PostMessageA(FHandle, WM_SKINBUTTONACTION, WPARAM(b.Element->Action), 0);
      break;
  }
}

bool TWinSkinForm::CloseEnabled() const {
  if (SkinNTBefore5() || !SkinIsNTFamily()) return true;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  // A greyed Close closes nothing.
  return FSystemMenu && GetMenuItemInfoA(FSystemMenu, SC_CLOSE, FALSE, &info) && !(info.fState & MFS_GRAYED);
}

void TWinSkinForm::MaximizeOrRestore() {
  if (FWindowState == kMaximized) {
    Restore();
    return;
  }
  if (FKind == kMDIChild && SkinManager) SkinManager->SetMDIMaximized(true);
  FWindowState = kMaximized;
  PostSysCommand(SC_MAXIMIZE);
  FHotObject = nullptr;
}

void TWinSkinForm::Restore() {
  FWindowState = kRestored;
  PostSysCommand(SC_RESTORE);
}

void TWinSkinForm::MinimizeOrRestore() {
  if (FWindowState == kMinimized) {
    Restore();
    return;
  }
  FWindowState = kMinimized;
  SetSysMenuStyle(false);
  PostSysCommand(SC_MINIMIZE);
}

void TWinSkinForm::SendToActiveMDIChild(WPARAM Command) {
  if (FKind != kMDIMainForm || !FMDIClient) return;
  if (HWND child = reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, 0)))
    SendMessageA(child, WM_SYSCOMMAND, Command, 0);
}

bool TWinSkinForm::ActiveChildMaximized() const {
  if (FKind != kMDIMainForm || !FMDIClient) return false;
  BOOL maximized = FALSE;
  const HWND child = reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, LPARAM(&maximized)));
  return child && maximized;
}

void TWinSkinForm::ShowSystemMenuAt(POINT Point, bool FromIconButton) {
  // One menu at a time: an open drop-down keeps its tracking.
  if (FMenuTracking) return;
  const DWORD now = GetTickCount();
  switch (SkinSystemMenuClick(now, FLastMenuTick, FDoubleClickTime, FromIconButton && FHotObject)) {
    case TSystemMenuClick::Open:
      if (SkinManager) SkinManager->PopupKind = 2;
      FLastMenuTick = now;
      BuildSystemMenu();
      if (FSystemMenuPopup) {
        // The menu runs its own message loop, in which the window (and with a framework
        // form, this skinner) may go.
        const std::weak_ptr<bool> alive = FAlive;
        FMenuTracking = true;
        FSystemMenuPopup->Popup(Point.x, Point.y);
        if (!alive.expired()) FMenuTracking = false;
      }
      break;
    case TSystemMenuClick::Close:
      FHoverTimer->SetEnabled(false);
      PostMessageA(FHandle, WM_CLOSE, 0, 0);
      break;
    case TSystemMenuClick::Ignore:
      break;
  }
}
