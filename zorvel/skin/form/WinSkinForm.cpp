// Attaching a form skinner, its window procedure and detaching.
#include "WinSkinForm.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

#include "SkinControl.h"
#include "SkinScrollBars.h"
#include "WinSkinData.h"
#include "WinSkinMenu.h"
#include "forms/ExtCtrls.h"
#include "forms/Forms.h"
#include "forms/Menus.h"

namespace {

// Our place in a plain window's subclass chain.
constexpr UINT_PTR kSubclassId = 0x5A46;

constexpr WPARAM kSystemMenuCommands[] = {SC_SIZE,       SC_MOVE,       SC_MINIMIZE, SC_MAXIMIZE,
                                          SC_NEXTWINDOW, SC_PREVWINDOW, SC_CLOSE,    SC_RESTORE};

// The caption font of the system's non-client metrics; the record is given its size of
// the systems the program was written for, which every system accepts.
HFONT CreateCaptionFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return nullptr;
  return CreateFontIndirectA(&metrics.lfCaptionFont);
}

}  // namespace

std::string GetWndClassName(HWND Window) {
  char name[101] = {};
  GetClassNameA(Window, name, 100);
  return name;
}

// ---------------------------------------------------------------------------------------
// Hit objects

void TNCObject::MousePress() {
  if (Form->FHotObject && Form->FHotObject != this) Form->FHotObject->MouseLeave();
  if (!Visible) return;
  Form->FHotObject = this;
  State = 2;
  Paint();
}

void TNCObject::MouseRelease() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseHover() {
  if (Form->FHotObject == this) return;
  if (Form->FHotObject) Form->FHotObject->MouseLeave();
  if (!Visible) return;
  Form->FHotObject = this;
  State = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  Form->FHotObject = nullptr;
  if (!Visible) return;
  State = 1;
  Paint();
}

// ---------------------------------------------------------------------------------------
// Life cycle

TWinSkinForm::TWinSkinForm(TComponent* Owner)
    : TComponent(Owner),
      FDoubleClickTime(GetDoubleClickTime()),
      FCaptionFont(CreateCaptionFont()),
      FSkinners(std::make_unique<std::vector<TSkinControl*>>()) {}

TWinSkinForm::~TWinSkinForm() {
  // Nothing may call into this object once it is gone: a skinner freed while attached
  // (its owner went first) gives the window its procedure back.
  if (FAttached && FState != 6 && IsWindow(FHandle)) {
    FState = 4;
    DetachOnDestroy();
  }
  DetachAllSkinners();
  FreeCaptionButtons();
  delete FHoverTimer;
  FHoverTimer = nullptr;
  delete FSystemMenuPopup;
  FSystemMenuPopup = nullptr;
  if (FCaptionFont) DeleteObject(FCaptionFont);
  FSkinners.reset();
  if (SkinManager) SkinManager->RemoveFormSkinner(this);
}

bool TWinSkinForm::HasScrollBars(TComponent* Component) {
  auto* control = dynamic_cast<TWinControl*>(Component);
  if (!control || !control->HandleAllocated()) return false;
  return (GetWindowLongPtrA(control->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

void TWinSkinForm::RedrawNow(HWND Window) {
  InvalidateRect(Window, nullptr, TRUE);
  UpdateWindow(Window);
}

void TWinSkinForm::AttachForm(TSkinData* SkinData, TWinControl* Form) {
  FFormControl = Form;
  if (SkinData->OnBeforeSkinForm) SkinData->OnBeforeSkinForm(Form, FHandle, FEventName);
  auto* form = dynamic_cast<TCustomForm*>(Form);
  if (form && InSet(SkinData->SkinControls, xcMenuItem)) {
    FSavedAutoScroll = form->AutoScroll;
    form->AutoScroll = false;
  }
  AttachWindow(SkinData);
  FSavedColor = Form->Color();
  Form->SetColor(static_cast<TColor>(SkinData->ButtonFaceColour));
  if (InSet(SkinData->SkinControls, xcMenuItem)) SetMenusOwnerDraw(Form, true);
}

void TWinSkinForm::AttachPlainWindow(TSkinData* SkinData) { AttachWindow(SkinData); }

void TWinSkinForm::AttachWindow(TSkinData* SkinData) {
  if (FAttached) return;
  if (SkinManager) SkinManager->State = 1;
  FSkinData = SkinData;
  FHoverTimer = new TTimer(nullptr);
  FHoverTimer->SetEnabled(false);
  FHoverTimer->SetInterval(250);
  FHoverTimer->OnTimer = [this](TObject*) { HoverTick(); };
  FSkinFrame = InSet(SkinData->SkinControls, xcMainMenu);

  FStyle = DWORD(GetWindowLongA(FHandle, GWL_STYLE));
  const DWORD exStyle = DWORD(GetWindowLongA(FHandle, GWL_EXSTYLE));
  FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  FIsChild = (FStyle & WS_CHILD) != 0;
  FClassName = GetWndClassName(FHandle);
  FOwnerWindow = GetWindow(FHandle, GW_OWNER);

  FFrameFlags = 0;
  if ((FStyle & WS_SYSMENU) || FSystemMenu) FFrameFlags |= kFrameSystemMenu;
  if (FStyle & WS_MINIMIZEBOX) FFrameFlags |= kFrameMinimizeBox;
  if (FStyle & WS_MAXIMIZEBOX) FFrameFlags |= kFrameMaximizeBox;
  ReadWindowState();
  FSizable = (FStyle & WS_THICKFRAME) != 0;

  FKind = kOrdinaryWindow;
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWndClassName(child) == "MDIClient") {
      FKind = kMDIMainForm;
      FMDIClient = child;
      if (SkinManager) {
        SkinManager->MDIClient = child;
        SkinManager->MDIForm = FFormControl;
      }
      break;
    }
  }
  if (exStyle & WS_EX_MDICHILD) {
    FKind = kMDIChild;
    if (InSet(SkinData->Options, xoMDIChildBorder)) FSkinFrame = false;
  }

  if ((FStyle & WS_CAPTION) != WS_CAPTION)
    FBorderKind = kNoCaption;
  else if (FStyle & WS_THICKFRAME)
    FBorderKind = kSizableFrame;
  else if (FStyle & DS_MODALFRAME)
    FBorderKind = kDialogFrame;
  else
    FBorderKind = kFixedFrame;
  if (exStyle & WS_EX_DLGMODALFRAME) FBorderKind = kDialogFrame;

  // On the systems whose frames the program hides altogether (major version 5 and more
  // with minor version 0) the caption style goes while the window is skinned.
  const bool captionSystem = SkinMajorVersion() >= 5 && SkinMinorVersion() == 0;
  if ((captionSystem && SkinIsNTFamily() && (exStyle & WS_EX_APPWINDOW)) ||
      (captionSystem && !FOwnerWindow && FKind != kMDIChild))
    FFrameFlags |= kFrameCaptionRemoved;

  FUnicode = IsWindowUnicode(FHandle) != FALSE;
  FIsDialog = false;
  if (FClassName == "#32770" || FClassName == "TMessageForm") {
    FBorderKind = kDialogFrame;
    FIsDialog = true;
  }
  if (!SkinIsNTFamily()) Exclude(SkinData->SkinControls, xcSystemMenu);
  if (FKind == kMDIMainForm) {
    FSavedMenuUpdate = SkinData->MenuUpdate;
    SubclassClient();
  }

  // The native frame, read before anything below changes the style or the menu, so that
  // detaching gives the client area back its size.
  RECT window{};
  GetWindowRect(FHandle, &window);
  GetClientRect(FHandle, &FClientRect);
  FFrameSize = {0, 0, (window.right - window.left) - FClientRect.right,
                (window.bottom - window.top) - FClientRect.bottom};

  Subclass();
  if (FSkinFrame) {
    FMenuHandle = GetMenu(FHandle);
    if (FMenuHandle && FKind != kMDIChild) CreateMenuBar();
    if (!(FKind == kMDIChild && SkinManager && SkinManager->MDIMaximized) && FWindowState != kMinimized)
      SetCaptionStyle(false);
    ComputeMetrics();
  } else {
    FState = 1;
  }
  if (FKind == kMDIChild) {
    const int extra = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (extra > FTopHeight) FMenuBarHeight = extra - FTopHeight;
    if (FWindowState == kMaximized && SkinManager && !SkinManager->MDIMaximized) SkinManager->SetMDIMaximized(true);
  }
}

void TWinSkinForm::Subclass() {
  if (FFormControl) {
    FSavedWindowProc = FFormControl->WindowProc;
    FFormControl->WindowProc = [this](TMessage& m) { FormWndProc(m); };
  } else {
    SetWindowSubclass(FHandle, PlainWndProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  FAttached = true;
}

void TWinSkinForm::RemoveSubclass() {
  if (!FAttached) return;
  if (FFormControl) {
    FFormControl->WindowProc = FSavedWindowProc;
    FSavedWindowProc = nullptr;
  } else {
    RemoveWindowSubclass(FHandle, PlainWndProc, kSubclassId);
  }
  FAttached = false;
}

LRESULT CALLBACK TWinSkinForm::PlainWndProc(HWND, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                            DWORD_PTR Data) {
  auto* self = reinterpret_cast<TWinSkinForm*>(Data);
  TMessage m{Msg, WParam, LParam, 0};
  SafeCall([&] { self->FormWndProc(m); });
  return m.Result;
}

void TWinSkinForm::CallOwnProc(TMessage& m) {
  if (!FFormControl)
    m.Result = DefSubclassProc(FHandle, m.Msg, m.WParam, m.LParam);
  else if (FSkinFrame && FAttached)
    FormHook(m);
  else
    CallFormProc(m);
}

void TWinSkinForm::CallFormProc(TMessage& m) {
  // Once detached (a host may unskin inside one of the window's messages), the form's
  // own handling takes the rest.
  if (FSavedWindowProc)
    FSavedWindowProc(m);
  else
    FFormControl->WndProc(m);
}

// ---------------------------------------------------------------------------------------
// The window procedure

void TWinSkinForm::FormWndProc(TMessage& m) {
  if (FState == 0 && m.Msg == WM_NCPAINT) {
    m.Result = 0;
    return;
  }
  if (Stage1(m)) return;
  if (!FSkinFrame || (FKind != kMDIChild && (FStyle & WS_CHILD))) {
    CallOwnProc(m);
    return;
  }
  if (Stage2(m)) return;
  if (FState != 0 && !(FKind == kMDIChild && FWindowState == kMaximized))
    Stage3(m);
  else
    CallOwnProc(m);
}

bool TWinSkinForm::Stage1(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      CallOwnProc(m);
      if (!FFormControl && FSkinData->SkinBrush) {
        RECT r;
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, FSkinData->SkinBrush);
        m.Result = 1;
      }
      return true;
    case WM_NCDESTROY: {
      FState = 4;
      const TWndMethod formProc = FSavedWindowProc;
      DetachOnDestroy();
      if (FFormControl)
        formProc ? formProc(m) : FFormControl->WndProc(m);
      else
        m.Result = DefSubclassProc(FHandle, m.Msg, m.WParam, m.LParam);
      FState = 6;
      return true;
    }
    case WM_NCACTIVATE:
      if (FState == 0 && FKind != kMDIChild) {
        m.Result = 0;
        return true;
      }
      return false;
    case 0xAE:  // the themed caption repaint of some systems: the skin paints the caption
      m.Result = 0;
      return true;
    case WM_MENUSELECT:
      // The menu loop tells the window (not its message filter) what is selected.
      if (FMenuTracking) menu_tracking::MenuSelect(m.WParam, m.LParam);
      CallOwnProc(m);
      return true;
    case WM_INITMENUPOPUP:
      if (SkinManager) SkinManager->PopupKind = reinterpret_cast<HMENU>(m.WParam) == FSystemMenu ? 2 : 1;
      CallOwnProc(m);
      return true;
    case WM_CTLCOLORBTN:
      CallOwnProc(m);
      if (!FFormControl) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
      return true;
    case WM_CTLCOLORSTATIC:
      CallOwnProc(m);
      if (!FFormControl) {
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        if (FSkinData->SkinBrush) m.Result = reinterpret_cast<LRESULT>(FSkinData->SkinBrush);
      }
      return true;
    case WM_SKINSTART:
      Start();
      return true;
    case WM_SKINRECREATESCROLL:
      ReplaceScrollSkinner(*this, *FSkinners, reinterpret_cast<HWND>(m.WParam));
      return true;
    case WM_SKINQUERY:
      m.Result = 1;
      return true;
    default:
      return false;
  }
}

bool TWinSkinForm::Stage2(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      SizeChanged(m);
      return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      FActive = LOBYTE(LOWORD(m.WParam)) != 0;
      return false;
    case WM_GETMINMAXINFO:
      CallOwnProc(m);
      ReadWindowState();
      if (FWindowState == kMinimized)
        SetCaptionStyle(true);
      else
        SetCaptionStyle(FKind == kMDIChild && FWindowState == kMaximized);
      return true;
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      CallOwnProc(m);
      return true;
    case WM_COMMAND: {
      const WPARAM command = LOWORD(m.WParam);
      if (std::find(std::begin(kSystemMenuCommands), std::end(kSystemMenuCommands), command) !=
          std::end(kSystemMenuCommands))
        PostSysCommand(command);
      else
        CallOwnProc(m);
      return true;
    }
    case WM_SYSCOMMAND:
      SysCommand(m);
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return Stage1(m);
    case WM_SKINOPENMENUITEM: {
      const TSkinPoint p = ScreenToWindow(m.LParam);
      if (FMenuBar && !ButtonAt(p)) OpenMenuItem(FMenuBar->ButtonAt(p));
      m.Result = 0;
      return true;
    }
    case CM_MENUCHANGED: {
      const bool painting = FSkinData->PaintNonClient;
      FSkinData->PaintNonClient = false;
      CallOwnProc(m);
      FSkinData->PaintNonClient = painting;
      if (GetMenu(FHandle)) {
        if (FMenuBar && FSkinData->MenuUpdate) {
          FMenuBar->BuildItems();
        } else if (!FMenuBar && FSkinData->MenuUpdate && FKind != kMDIChild) {
          // A menu that came after skinning gets a painted bar too, instead of being lost.
          FMenuHandle = GetMenu(FHandle);
          CreateMenuBar();
          SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        SetMenu(FHandle, nullptr);
      }
      return true;
    }
    default:
      return false;
  }
}

void TWinSkinForm::Stage3(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      // Already handled above: the window's own procedure sees it once.
      break;
    case WM_MEASUREITEM:
      MeasureMenuItem(m);
      break;
    case WM_DRAWITEM:
      DrawMenuItem(m);
      break;
    case WM_NCCALCSIZE:
      NCCalcSize(m);
      break;
    case WM_NCHITTEST:
      NCHitTest(m);
      break;
    case WM_NCPAINT:
      SetSysMenuStyle(true);
      if (!FSkinData->PaintNonClient) {
        m.Result = 0;
      } else if ((FKind == kMDIChild && FWindowState == kMaximized) || FBorderKind == kNoCaption) {
        CallOwnProc(m);
      } else {
        PaintFrame(nullptr);
        m.Result = 0;
      }
      break;
    case WM_NCACTIVATE:
      NCActivate(m);
      break;
    case WM_NCMOUSEMOVE:
      NCMouseMove(m);
      break;
    case WM_NCLBUTTONDOWN:
      NCLButtonDown(m);
      break;
    case WM_NCLBUTTONUP:
      NCLButtonUp(m);
      break;
    case WM_NCLBUTTONDBLCLK:
      NCLButtonDblClk(m);
      break;
    case WM_NCRBUTTONDOWN:
      NCRButtonDown(m);
      break;
    case WM_SKINREPAINTFRAME:
      PaintFrame(nullptr);
      break;
    default:
      CallOwnProc(m);
      break;
  }
}

void TWinSkinForm::NCActivate(TMessage& m) {
  FActive = m.WParam != 0;
  FHoverTimer->SetEnabled(FActive);
  if (FKind == kMDIMainForm && FMDIClient) SendMessageA(FMDIClient, WM_NCACTIVATE, m.WParam, 0);
  if (FKind == kMDIChild) {
    TMessage own = m;
    CallOwnProc(own);
  }
  if (!(FKind == kMDIChild && FWindowState == kMaximized)) PaintFrame(nullptr);
  m.Result = 1;
}

void TWinSkinForm::SysCommand(TMessage& m) {
  const WPARAM command = m.WParam & 0xFFF0;
  if (!FMenuTracking) {
    if (command == SC_KEYMENU && m.LParam != ' ' && m.LParam != '-' && !GetCapture()) {
      // F10 or Alt alone opens the menu bar's first item; with a letter, the item with
      // that accelerator. Without a painted menu bar there is nothing to open, and the
      // system must not enter its own menu mode over the skinned frame.
      TMenuBtn* item = m.LParam == 0 ? (FMenuBar && !FMenuBar->Buttons.empty() ? FMenuBar->Buttons[0].get() : nullptr)
                                     : FindAccelItem(unsigned(m.LParam));
      if (m.LParam == 0 || item) {
        OpenMenuItem(item);
        m.Result = 1;
        return;
      }
    }
    if (command == SC_KEYMENU && m.LParam == ' ') {
      POINT origin{0, 0};
      ClientToScreen(FHandle, &origin);
      ShowSystemMenuAt(origin, false);
      // The skinned system menu was shown: the system's must not follow it.
      m.Result = 0;
      return;
    }
  }
  switch (command) {
    case SC_MINIMIZE:
      FWindowState = kMinimized;
      if (FKind == kMDIChild) SetCaptionStyle(true);
      break;
    case SC_MAXIMIZE:
      FWindowState = kMaximized;
      break;
    case SC_RESTORE:
      FWindowState = kRestored;
      if (FKind == kMDIChild) {
        SetCaptionStyle(false);
        if (SkinManager && SkinManager->MDIMaximized) SkinManager->SetMDIMaximized(false);
      }
      break;
    default:
      break;
  }
  CallOwnProc(m);
}

void TWinSkinForm::FormHook(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      SetText(m);
      return;
    case WM_SKINREFRESH:
      Refresh();
      return;
    case WM_SKINPAINTINTO:
      if (m.LParam == kSkinHostKey) {
        if (m.WParam) PaintFrame(reinterpret_cast<HDC>(m.WParam));
        m.Result = kSkinHostKey;
      }
      return;
    case WM_SKINHOSTQUERY:
      m.Result = m.LParam == kSkinHostKey ? kSkinHostKey : 1;
      return;
    case CM_DIALOGCHAR:
      DialogChar(m);
      return;
    default:
      CallFormProc(m);
      return;
  }
}

void TWinSkinForm::SetText(TMessage& m) {
  if (!IsWindowVisible(FHandle)) {
    CallFormProc(m);
    return;
  }
  if (FUnicode || FKind == kMDIChild) {
    CallFormProc(m);
  } else {
    // The system paints its own caption when the text changes: keep the window from
    // drawing until the text is in, then paint the skinned frame over it. No messages
    // are pumped here, so nothing can close the window under this handler.
    SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    CallFormProc(m);
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
  }
  if (FWindowState == kMaximized && FKind == kMDIChild && SkinManager && SkinManager->MDIClient)
    PostMessageA(SkinManager->MDIClient, WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(FHandle), 0);
  else if (FWindowState == kMinimized)
    PaintFrame(nullptr);
  else
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---------------------------------------------------------------------------------------
// Starting

void TWinSkinForm::Start() {
  FSystemMenu = GetSystemMenu(FHandle, FALSE);
  DrawWindowIcon();
  // Taking the native bar away made the client area taller: the size read before counts.
  if (!FMenuBar) GetClientRect(FHandle, &FClientRect);
  if (FFormControl)
    SkinFormControls(FFormControl);
  else
    SkinChildWindows(FHandle);
  if (FState == 0) {
    if (FKind == kMDIChild) {
      if (FWindowState == kMaximized && SkinManager && SkinManager->MDIClient) {
        PostMessageA(SkinManager->MDIClient, WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(FHandle), 0);
      } else if (FWindowState == kMinimized) {
        SetCaptionStyle(true);
      } else {
        FState = 5;
        ResizeForSkin(false);
        FState = 1;
        BuildRegion();
      }
    } else if (!FIsChild && FBorderKind != kNoCaption && FWindowState != kMinimized) {
      FState = 5;
      ResizeForSkin(false);
      FState = 1;
      if (FWindowState == kRestored)
        BuildRegion();
      else
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
  AfterSkin();
  FState = 1;
  FHoverTimer->SetEnabled(true);
}

void TWinSkinForm::AfterSkin() {
  SendMessageA(FHandle, WM_SKINAFTERSKIN, 0, kSkinHostKey);
  if (FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FFormControl, FHandle, FEventName);
}

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(FHandle, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      FWindowState = kMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      FWindowState = kMaximized;
      break;
    default:
      FWindowState = kRestored;
      break;
  }
}

void TWinSkinForm::HoverTick() {
  if (FMenuTracking || !FHotObject) return;
  POINT cursor;
  GetCursorPos(&cursor);
  const TSkinPoint p = ScreenToWindow(MAKELPARAM(cursor.x, cursor.y));
  const TSkinRect& b = FHotObject->Bounds;
  if (p.X < b.Left || p.X >= b.Right || p.Y < b.Top || p.Y >= b.Bottom) {
    FHotObject->MouseLeave();
    FHotObject = nullptr;
  }
}

// ---------------------------------------------------------------------------------------
// The control skinners of the window

bool TWinSkinForm::RegisterSkinControl(TSkinControl* Skinner) {
  if (std::find(FSkinners->begin(), FSkinners->end(), Skinner) != FSkinners->end()) return true;
  FSkinners->push_back(Skinner);
  return false;
}

void TWinSkinForm::UnregisterSkinControl(TSkinControl* Skinner) {
  if (!FSkinners) return;
  auto it = std::find(FSkinners->rbegin(), FSkinners->rend(), Skinner);
  if (it != FSkinners->rend()) FSkinners->erase(std::next(it).base());
}

void TWinSkinForm::FreeDestroyedSkinners() {
  for (std::size_t i = FSkinners->size(); i-- > 0;) {
    if (i >= FSkinners->size()) continue;
    TSkinControl* skinner = (*FSkinners)[i];
    if (skinner->FStatus != 6) continue;
    // Out of the list before it is freed: its destructor looks for itself again.
    FSkinners->erase(FSkinners->begin() + std::ptrdiff_t(i));
    delete skinner;
  }
}

void TWinSkinForm::DetachAllSkinners() {
  if (!FSkinners) return;
  while (!FSkinners->empty()) {
    TSkinControl* skinner = FSkinners->front();
    FSkinners->erase(FSkinners->begin());
    if (skinner->FStatus != 6) skinner->DetachSkin();
    delete skinner;
  }
}

// ---------------------------------------------------------------------------------------
// Refreshing and detaching

void TWinSkinForm::Refresh() {
  const TColor face = static_cast<TColor>(FSkinData->ButtonFaceColour);
  if (FFormControl) {
    FFormControl->SetColor(face);
    for (std::size_t i = 0; i < FFormControl->ComponentCount(); ++i)
      if (auto* form = dynamic_cast<TCustomForm*>(FFormControl->Components(i))) form->SetColor(face);
  }
  // Refreshing: the controls repaint with the window's one repaint below, not each alone.
  FState = 3;
  for (TSkinControl* skinner : *FSkinners) skinner->SkinChanged();
  if (FSkinFrame && FFormControl) SetPopupMenusOwnerDraw(FFormControl, true);
  if (FSkinFrame && FAttached && FBorderKind != kNoCaption && !FIsChild) {
    // New border sizes need a new frame: a plain window too, or its client area would
    // change size and the old frame stay in the system's sums.
    // The new size may have brought the region already; setting it twice would repaint
    // the whole window twice.
    const int builds = RegionBuilds;
    ResizeForSkin(true);
    if (RegionBuilds == builds) BuildRegion();
  }
  // One repaint of everything, frame included, when the program next waits.
  RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  AfterSkin();
  FState = 1;
}

void TWinSkinForm::RestoreFormState() {
  auto* form = dynamic_cast<TCustomForm*>(FFormControl);
  if (!form) return;
  SetPopupMenusOwnerDraw(form, false);
  if (InSet(FSkinData->SkinControls, xcMenuItem)) {
    SetMenusOwnerDraw(form, false);
    form->AutoScroll = FSavedAutoScroll;
  }
  if (FState != 4) form->SetColor(FSavedColor);
}

void TWinSkinForm::Unskin() {
  const bool frame = FSkinFrame && FAttached;
  const HMENU menu = FMenuBar ? FMenuBar->MenuHandle : nullptr;
  // What a destroyed window needs (the skinner out of it), then what a living one needs.
  DetachOnDestroy();
  if (!frame) return;
  RestoreFormState();
  SetSysMenuStyle(false);
  SetCaptionStyle(true);
  if (menu) SetMenu(FHandle, menu);
  RECT window{};
  GetWindowRect(FHandle, &window);
  POINT corner{window.left, window.top};
  const HWND parent = FKind == kMDIChild ? GetParent(FHandle) : nullptr;
  if (parent) ScreenToClient(parent, &corner);
  if (FState != 4 && (FKind == kMDIChild || !(GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))) {
    const int width = (window.right - window.left) + FFrameSize.right - FLeftWidth - FRightWidth;
    const int height = (window.bottom - window.top) + FFrameSize.bottom - FTopHeight - FBottomHeight - FMenuBarHeight;
    SetWindowPos(FHandle, nullptr, corner.x, corner.y, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  // The system frees the region it held.
  SetWindowRgn(FHandle, nullptr, TRUE);
  FHasRegion = false;
}

void TWinSkinForm::DetachOnDestroy() {
  if (!FSkinFrame) {
    DetachPlain();
    return;
  }
  delete FSystemMenuPopup;
  FSystemMenuPopup = nullptr;
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  if (!FAttached) return;
  // The MDI client outlives this skinner when the manager shuts down or the skinner's
  // owner goes first: its procedure must not keep pointing here.
  RestoreClient();
  RemoveSubclass();
  DetachAllSkinners();
  FreeMenuBar();
}

void TWinSkinForm::DetachPlain() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  DetachAllSkinners();
  RestoreFormState();
  RemoveSubclass();
  RestoreClient();
  if (FFormControl && FState != 4)
    for (std::size_t i = 0; i < FFormControl->ComponentCount(); ++i)
      if (auto* control = dynamic_cast<TWinControl*>(FFormControl->Components(i))) control->Invalidate();
}

void TWinSkinForm::SetCaptionStyle(bool Show) {
  if (!(FFrameFlags & kFrameCaptionRemoved)) return;
  FStyle = DWORD(GetWindowLongA(FHandle, GWL_STYLE));
  const DWORD style = Show ? (FStyle | WS_CAPTION) : (FStyle & ~DWORD(WS_CAPTION));
  if (style != FStyle) SetWindowLongA(FHandle, GWL_STYLE, LONG(style));
  FStyle = style;
}

void TWinSkinForm::SetSysMenuStyle(bool Hide) {
  if (FFrameFlags & kFrameCaptionRemoved) return;
  FStyle = DWORD(GetWindowLongA(FHandle, GWL_STYLE));
  DWORD style = FStyle;
  if (Hide)
    style &= ~DWORD(WS_SYSMENU);
  else if (FSystemMenu)
    style |= WS_SYSMENU;
  // Written only when it changes: every write makes the system announce a style change.
  if (style != FStyle) SetWindowLongA(FHandle, GWL_STYLE, LONG(style));
  FStyle = style;
}
