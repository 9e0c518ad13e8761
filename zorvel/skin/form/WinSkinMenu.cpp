#include "WinSkinMenu.h"

#include <algorithm>

#include "SkinBoxes.h"
#include "SkinDrawWin.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinMenuPaint.h"
#include "forms/Forms.h"
#include "forms/Graphics.h"
#include "forms/Menus.h"

namespace {

constexpr int kBarFrames = 2;

// The menu font as a framework font in the given colour.
void SetMenuFont(TFont& font, TSkinColour colour) {
  const LOGFONTA& menu = SkinMenuLogFont();
  font.Name = menu.lfFaceName;
  font.Height = menu.lfHeight;
  font.Charset = menu.lfCharSet;
  font.Style = 0;
  font.Color = TColor(colour);
}

bool OldSystem() {
  return (SkinMajorVersion() == 4 && SkinMinorVersion() == 0) || SkinNTBefore5();
}

}  // namespace

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* AForm) : TComponent(AForm), Form(AForm) {}

TWinSkinMenu::~TWinSkinMenu() { menu_tracking::ForgetBar(this); }

bool TWinSkinMenu::RightToLeft() const { return Menu && Menu->IsRightToLeft(); }

bool TWinSkinMenu::BeginBuild() {
  if (HMENU menu = GetMenu(Form->FHandle)) MenuHandle = menu;
  if (!MenuHandle) return false;
  if (auto* form = dynamic_cast<TCustomForm*>(Form->FFormControl)) {
    if (!form->Menu()) return false;
    Menu = form->Menu();
  }
  // Neither the form's hover handling nor code that holds a button may reach the old ones.
  if (dynamic_cast<TMenuBtn*>(Form->FHotObject)) Form->FHotObject = nullptr;
  FButtonsAlive = std::make_shared<bool>(true);
  Buttons.clear();
  return true;
}

void TWinSkinMenu::FinishBuild() {
  SetMenu(Form->FHandle, nullptr);
  // Captions change only with a new build: measured here, once.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, SkinMenuFont());
  for (const auto& b : Buttons) {
    RECT r{0, 0, 0, 0};
    DrawSkinText(dc, b->Caption, r, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    b->Width = SkinMenuItemWidth(int(r.right - r.left));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  // A bar on screen shows its new items (a drop-down may be open over it meanwhile).
  if (BarRect.Width() > 0) RedrawWindow(Form->FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TWinSkinMenu::BuildItems() {
  if (OldSystem()) {
    BuildFromMenuItems();
    return;
  }
  if (!BeginBuild()) return;
  const int count = GetMenuItemCount(MenuHandle);
  if (count <= 0) return;  // the window keeps its native bar
  for (int p = 0; p < count; ++p) {
    auto b = ButtonOfWindowMenu(p);
    if (TMenuItem* item = Menu ? Menu->FindItem(b->Command, fkCommand) : nullptr) {
      b->Caption = SkinStrToWide(item->Caption());
      b->Enabled = item->Enabled();
      b->MenuItem = item;
      b->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    }
    Buttons.push_back(std::move(b));
  }
  FinishBuild();
}

void TWinSkinMenu::BuildFromMenuItems() {
  if (!BeginBuild() || !Menu) return;
  TMenuItem* root = Menu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    auto b = std::make_unique<TMenuBtn>(Form, this);
    b->Index = i;
    b->Visible = item->Visible();
    b->Enabled = item->Enabled();
    b->Command = item->Command();
    b->Caption = SkinStrToWide(item->Caption());
    b->MenuItem = item;
    b->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    Buttons.push_back(std::move(b));
  }
  FinishBuild();
}

void TWinSkinMenu::RebuildMergedItems() {
  if (!BeginBuild()) return;
  const int count = GetMenuItemCount(MenuHandle);
  for (int p = 0; p < count; ++p) {
    auto b = ButtonOfWindowMenu(p);
    // Items the client merged in carry no text in the window menu: the framework's do.
    if (TMenuItem* item = b->Caption.empty() && Menu ? Menu->FindItem(b->Command, fkCommand) : nullptr) {
      b->Caption = SkinStrToWide(item->Caption());
      b->Enabled = item->Enabled();
      b->Command = item->Command();
      b->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    }
    Buttons.push_back(std::move(b));
  }
  FinishBuild();
  LayoutItems();
}

// A shown bar item as the window's menu holds it at `position`.
std::unique_ptr<TMenuBtn> TWinSkinMenu::ButtonOfWindowMenu(int position) {
  char text[81] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
  info.dwTypeData = text;
  info.cch = sizeof text - 1;
  GetMenuItemInfoA(MenuHandle, UINT(position), TRUE, &info);
  auto b = std::make_unique<TMenuBtn>(Form, this);
  b->Index = position;
  b->SubMenu = info.hSubMenu;
  b->Enabled = (info.fState & 3) == 0;
  b->Visible = true;
  b->Command = info.wID;
  b->Caption = SkinStrToWide(text);
  return b;
}

int TWinSkinMenu::StartOffset(int barWidth) const {
  const TDataSkinObject* e = SkinData ? SkinData->MenuBar.get() : nullptr;
  return SkinMenuBarStart(e != nullptr, e ? e->Margins.Left : 0, e ? e->Margins.Right : 0, RightToLeft(), barWidth);
}

std::vector<TMenuBarItem> TWinSkinMenu::MeasureItems() const {
  std::vector<TMenuBarItem> items;
  for (const auto& b : Buttons) items.push_back({b->Width, b->Visible});
  return items;
}

void TWinSkinMenu::LayoutItems() {
  const TSkinRect bar{Form->FLeftWidth, Form->FTopHeight, Form->FWindowWidth - Form->FRightWidth,
                      Form->FTopHeight + Form->FMenuBarHeight};
  if (bar.Width() <= 0 || bar.Height() <= 0) return;
  const auto bounds = SkinMenuBarLayout(bar, MeasureItems(), StartOffset(bar.Width()), RightToLeft());
  for (std::size_t i = 0; i < Buttons.size(); ++i) Buttons[i]->Bounds = bounds[i];
}

void TWinSkinMenu::PaintBar(HDC DC, const TSkinRect& R) {
  const int W = R.Width(), H = R.Height();
  if (W <= 0 || H <= 0) return;
  FPicture.SetSize(W, H, ColorToRGB(TColor(SkinData->MenubarColour)));
  if (const TDataSkinObject* e = SkinData->MenuBar.get(); e && !e->Bitmap.Empty()) {
    const int frame = Form->FActive ? 1 : 2;
    if (e->Tile == 1) {
      SkinPaintNineSlice(FPicture, {0, 0, W, H}, e->Bitmap, e->Margins, frame, kBarFrames, false, true);
    } else {
      const TSkinFrame f = SkinFrameRect(e->Bitmap.Width(), e->Bitmap.Height(), frame, kBarFrames, true);
      for (const TSkinPiece& piece : SkinThreeSliceTiledPieces(W, H, f, e->Margins))
        SkinStretchCopy(FPicture, piece.Dest, e->Bitmap, piece.Source);
    }
  }
  BarRect = R;
  Background = FPicture;

  const auto bounds = SkinMenuBarLayout(R, MeasureItems(), StartOffset(W), RightToLeft());
  TSkinImageDC picture(FPicture);
  if (!picture.Valid()) return;
  TCanvas canvas;
  {
    TCanvasLoan loan(canvas, picture.DC());
    SetMenuFont(canvas.Font, SkinData->MenuBarTextColour);
    SetBkMode(picture.DC(), TRANSPARENT);
    for (std::size_t i = 0; i < Buttons.size(); ++i) {
      TMenuBtn& b = *Buttons[i];
      const TSkinRect& r = bounds[i];  // empty for a hidden item
      b.Bounds = r;
      if (!b.Visible) continue;
      // Each caption in the bar's text colour: a disabled one leaves its grey in the font.
      canvas.Font.Color = TColor(SkinData->MenuBarTextColour);
      DrawCaptionCentered(canvas, {r.Left - R.Left, r.Top - R.Top, r.Right - R.Left, r.Bottom - R.Top}, b.Caption,
                          b.Enabled, taCenter);
    }
  }
  // The buttons of a maximized MDI child sit in the bar.
  if (Form->FKind == kMDIMainForm && Form->ActiveChildMaximized()) {
    for (const auto& b : Form->FButtons) {
      if (b->Element->Align != 100 || b->Strip().Empty()) continue;
      const TSkinRect at{b->Bounds.Left - Form->FLeftWidth, b->Bounds.Top - Form->FTopHeight,
                         b->Bounds.Right - Form->FLeftWidth, b->Bounds.Bottom - Form->FTopHeight};
      DrawFrameStrip(picture.DC(), at, b->Strip(), b->Frame(), b->FrameCount(), true);
    }
  }
  BitBlt(DC, R.Left, R.Top, W, H, picture.DC(), 0, 0, SRCCOPY);
  if (Form->FKind == kMDIMainForm && Form->ActiveChildMaximized() && SkinManager && !SkinManager->MDIMaximized)
    SkinManager->SetMDIMaximized(true);
}

TMenuBtn* TWinSkinMenu::ButtonAt(TSkinPoint P) const {
  for (const auto& b : Buttons) {
    const TSkinRect& r = b->Bounds;
    if (!b->Caption.empty() && P.X >= r.Left && P.X < r.Right && P.Y >= r.Top && P.Y < r.Bottom) return b.get();
  }
  return nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonOf(UINT Command) const {
  for (const auto& b : Buttons)
    if (b->Command == Command) return b.get();
  return nullptr;
}

void TMenuBtn::Paint() {
  const TSkinRect& bar = Bar->BarRect;
  const int w = Bounds.Width(), h = bar.Height();
  if (w <= 0 || h <= 0 || Bar->Background.Empty()) return;
  TSkinImage column(w, h);
  SkinStretchCopy(column, {0, 0, w, h}, Bar->Background,
                  {Bounds.Left - bar.Left, 0, Bounds.Right - bar.Left, h});
  TSkinImageDC picture(column);
  if (!picture.Valid()) return;
  const TSkinData& skin = *Bar->SkinData;
  const RECT item{0, Bounds.Top - bar.Top, w, Bounds.Bottom - bar.Top};
  if (State == 2 || State == 3) {
    HBRUSH frame = CreateSolidBrush(ColorToRGB(TColor(skin.ButtonHilightColour)));
    FrameRect(picture.DC(), &item, frame);
    DeleteObject(frame);
  }
  TCanvas canvas;
  {
    TCanvasLoan loan(canvas, picture.DC());
    SetMenuFont(canvas.Font, skin.MenuBarTextColour);
    SetBkMode(picture.DC(), TRANSPARENT);
    DrawCaptionCentered(canvas, item, Caption, Enabled, taCenter);
  }
  HDC dc = GetWindowDC(Form->FHandle);
  if (!dc) return;
  BitBlt(dc, Bounds.Left, bar.Top, w, h, picture.DC(), 0, 0, SRCCOPY);
  ReleaseDC(Form->FHandle, dc);
}

// ---------------------------------------------------------------------------------------
// Moving between bar items while a drop-down is open

namespace menu_tracking {

namespace {
HHOOK menuHook = nullptr;
TWinSkinForm* trackedForm = nullptr;
TWinSkinMenu* trackedBar = nullptr;
// The selected item's menu reads from the right (kept as such: the item itself may go
// while the drop-down is open).
bool selectedRightToLeft = false;
HMENU selectedMenu = nullptr;  // the menu holding the selected item
bool selectedHasSubMenu = false;
bool downKeySent = false;
bool switchingItem = false;
int pendingSwitch = -1;
POINT lastMousePos{};

// The next or previous item that drops down: a move never lands on an item that only
// runs a command. Counted from where the open drop-down's item is now (the bar may have
// been rebuilt under the drop-down), or from the ends when it is gone.
TMenuBtn* NeighbourMenuButton(bool forward) {
  if (!trackedBar) return nullptr;
  const auto& buttons = trackedBar->Buttons;
  const int n = int(buttons.size());
  int i = -1;
  for (int k = 0; k < n; ++k)
    if (buttons[std::size_t(k)]->SubMenu == trackedForm->FTrackedMenu) i = k;
  for (int step = 0; step < n; ++step) {
    i = SkinNeighbourIndex(i, n, forward);
    if (buttons[std::size_t(i)]->CanDrop()) return buttons[std::size_t(i)].get();
  }
  return nullptr;
}

LRESULT CALLBACK MenuFilterHook(int Code, WPARAM WParam, LPARAM LParam) {
  MSG& msg = *reinterpret_cast<MSG*>(LParam);
  msg.wParam = SkinMenuArrowKey(msg.message == WM_KEYDOWN || msg.message == WM_KEYUP,
                                selectedRightToLeft, msg.wParam);
  const LRESULT result = CallNextHookEx(menuHook, Code, WParam, LParam);
  if (result || Code != MSGF_MENU || !trackedForm) return result;
  SafeCall([&] {
    if (!downKeySent) {
      downKeySent = true;
      PostMessageA(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    TMenuBtn* target = nullptr;
    switch (msg.message) {
      case WM_KEYDOWN:
        if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)
          switchingItem = false;
        else if (msg.wParam == VK_RIGHT && !selectedHasSubMenu)
          target = NeighbourMenuButton(true);
        // Left moves to the previous bar item from the bar's own drop-down; deeper, it
        // closes the submenu.
        else if (msg.wParam == VK_LEFT && (!selectedMenu || selectedMenu == trackedForm->FTrackedMenu))
          target = NeighbourMenuButton(false);
        break;
      case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) trackedForm->EndMenuTracking();
        return;
      case WM_MENUSELECT:
        MenuSelect(msg.wParam, msg.lParam);
        return;
      case WM_MOUSEMOVE:
        if (msg.pt.x != lastMousePos.x || msg.pt.y != lastMousePos.y) {
          lastMousePos = msg.pt;
          if (trackedBar) target = trackedBar->ButtonAt(trackedForm->ScreenToWindow(MAKELPARAM(msg.pt.x, msg.pt.y)));
        }
        break;
      default:
        break;
    }
    // A click posted into the open menu would be handled while it is still open, and
    // a second drop-down cannot open inside the first: the open one is closed, and the
    // tracking opens the target's as soon as it has returned.
    if (target && target->CanDrop() && target->SubMenu != trackedForm->FTrackedMenu) {
      switchingItem = true;
      pendingSwitch = target->Index;
      EndMenu();
    }
  });
  return result;
}
}  // namespace

void InstallMenuHook(TWinSkinForm* Form) {
  trackedForm = Form;
  trackedBar = Form->FMenuBar;
  switchingItem = false;
  downKeySent = false;
  selectedMenu = nullptr;
  selectedHasSubMenu = false;
  GetCursorPos(&lastMousePos);
  if (!menuHook) menuHook = SetWindowsHookExA(WH_MSGFILTER, MenuFilterHook, nullptr, GetCurrentThreadId());
}

void RemoveMenuHook() {
  if (menuHook) UnhookWindowsHookEx(menuHook);
  menuHook = nullptr;
  selectedRightToLeft = false;
  trackedForm = nullptr;
  trackedBar = nullptr;
  downKeySent = false;
}

void ForgetBar(const TWinSkinMenu* Bar) {
  if (Bar != trackedBar) return;
  trackedBar = nullptr;
  trackedForm = nullptr;
}

const TWinSkinMenu* TrackedBar() { return trackedBar; }

int TakeSwitch() {
  const int i = pendingSwitch;
  pendingSwitch = -1;
  return i;
}

void ClearSwitch() {
  switchingItem = false;
  pendingSwitch = -1;
}

void MenuSelect(WPARAM WParam, LPARAM LParam) {
  if (!trackedForm) return;
  if (HIWORD(WParam) == 0xFFFF && LParam == 0) {
    if (!switchingItem) trackedForm->EndMenuTracking();
    return;
  }
  switchingItem = false;
  selectedMenu = reinterpret_cast<HMENU>(LParam);
  selectedHasSubMenu = (HIWORD(WParam) & MF_POPUP) != 0;
  TWinSkinMenu* bar = trackedBar;
  if (!bar || !bar->Menu) return;
  const TMenuItem* item = selectedHasSubMenu
                              ? bar->Menu->FindItem(UINT_PTR(GetSubMenu(selectedMenu, LOWORD(WParam))), fkHandle)
                              : bar->Menu->FindItem(LOWORD(WParam), fkCommand);
  const TMenu* menu = item ? item->GetParentMenu() : nullptr;
  selectedRightToLeft = menu && menu->IsRightToLeft();
}

}  // namespace menu_tracking
