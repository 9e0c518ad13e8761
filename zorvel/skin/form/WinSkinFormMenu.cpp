// The menu side of the form skinner: the owner-drawn system menu (a popup menu copied
// from the window's system menu, with the skin's menu glyphs), the painted menu bar's
// drop-downs, the owner-drawn items of the window's menus, and the MDI client.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "WinSkinMenuPaint.h"
#include "forms/Accel.h"
#include "forms/ExtCtrls.h"
#include "forms/Forms.h"
#include "forms/Menus.h"

namespace {

constexpr int kSystemMenuTag = 33333;

// An item that posts its command to the window as a system command when chosen.
TMenuItem* AddItem(TPopupMenu& menu, HWND window, const std::string& caption, long long tag) {
  auto* item = new TMenuItem;
  item->SetCaption(caption);
  item->Tag = tag;
  item->OnClick = [window, tag](TObject*) { PostMessageA(window, WM_SYSCOMMAND, WPARAM(tag), 0); };
  menu.Items()->Add(item);
  return item;
}

}  // namespace

void TWinSkinForm::BuildSystemMenu() {
  delete FSystemMenuPopup;
  FSystemMenuPopup = nullptr;
  if (SkinNTBefore5()) {
    BuildSimpleSystemMenu();
    return;
  }
  if (!FSystemMenu) return;
  auto* menu = new TPopupMenu(this);
  menu->Tag = kSystemMenuTag;
  menu->SetOwnerDraw(true);
  menu->Images = FSkinData->MenuImages;
  FSystemMenuPopup = menu;
  const int count = GetMenuItemCount(FSystemMenu);
  for (int i = 0; i < count; ++i) {
    char text[81] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    // The text as a string, not through the type: an item drawn by its owner gives none
    // through the type.
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(FSystemMenu, UINT(i), TRUE, &info)) continue;
    const UINT command = info.wID;
    TMenuItem* item = AddItem(*menu, FHandle, text[0] && !(info.fType & MFT_SEPARATOR) ? text : "-", command);
    // Greyed is a bit of the state: the default item (Close) carries another one.
    bool enabled = (info.fState & MFS_GRAYED) == 0;
    switch (command) {
      // As the system's own menu has them: a fixed border is not sized from the keyboard either.
      case SC_SIZE:
        enabled = FSizable && FWindowState == kRestored;
        break;
      case SC_MOVE:
        enabled = FWindowState != kMaximized;
        break;
      case SC_MINIMIZE:
        item->SetImageIndex(2);
        enabled = FWindowState != kMinimized && (FFrameFlags & kFrameMinimizeBox);
        break;
      case SC_MAXIMIZE:
        item->SetImageIndex(1);
        enabled = FWindowState != kMaximized && (FFrameFlags & kFrameMaximizeBox);
        break;
      case SC_CLOSE:
        item->SetImageIndex(3);
        break;
      case SC_RESTORE:
        item->SetImageIndex(0);
        enabled = FWindowState != kRestored;
        break;
      default:
        item->SetImageIndex(-1);
        break;
    }
    item->SetEnabled(enabled);
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    SetSkinMenuPainter(*item, FSkinData);
  }
}

void TWinSkinForm::BuildSimpleSystemMenu() {
  auto* menu = new TPopupMenu(this);
  menu->Tag = kSystemMenuTag;
  menu->SetOwnerDraw(true);
  menu->Images = FSkinData->MenuImages;
  FSystemMenuPopup = menu;
  auto add = [&](const std::string& caption, int value, TNotifyEvent click) {
    auto* item = new TMenuItem;
    item->SetCaption(caption);
    item->Tag = value;
    item->SetImageIndex(value);
    item->OnClick = std::move(click);
    SetSkinMenuPainter(*item, FSkinData);
    menu->Items()->Add(item);
    return item;
  };
  add(" Restore ", 0, [this](TObject*) { Restore(); });
  if (FFrameFlags & kFrameMaximizeBox) add(" Maximize ", 1, [this](TObject*) { MaximizeOrRestore(); });
  if (FFrameFlags & kFrameMinimizeBox) add(" Minimize ", 2, [this](TObject*) { MinimizeOrRestore(); });
  add("-", 100, nullptr);
  add(" Close ", 3, [this](TObject*) {
    FHoverTimer->SetEnabled(false);
    PostMessageA(FHandle, WM_CLOSE, 0, 0);
  })->SetShortCut(TextToShortCut("ALT+F4"));
}

// ---------------------------------------------------------------------------------------
// The painted menu bar and its drop-downs

void TWinSkinForm::CreateMenuBar() {
  FMenuBar = new TWinSkinMenu(this);
  FMenuBar->SkinData = FSkinData;
  FMenuBarHeight = GetSystemMetrics(SM_CYMENU);
  if (auto* form = dynamic_cast<TCustomForm*>(FFormControl)) FMenuBar->Menu = form->Menu();
  FMenuBar->BuildItems();
}

void TWinSkinForm::FreeMenuBar() {
  if (!FMenuBar) return;
  if (dynamic_cast<TMenuBtn*>(FHotObject)) FHotObject = nullptr;
  delete FMenuBar;
  FMenuBar = nullptr;
}

TMenuBtn* TWinSkinForm::FindAccelItem(unsigned Key) const {
  if (!FMenuBar) return nullptr;
  for (const auto& b : FMenuBar->Buttons)
    if (b->Visible && b->CanDrop() && IsAccel(Key, WideToText(b->Caption))) return b.get();
  return nullptr;
}

namespace {

// The items of a drop-down and of its submenus that the skinner makes drawn by their owner
// while it is open (the texts stay, for measuring and drawing), given back as they were
// when it closes: the window's menus are the host's, and a system menu shared with another
// window (a maximized MDI child's in the frame's bar) is read again for its texts.
class TOwnerDrawnItems {
 public:
  explicit TOwnerDrawnItems(HMENU menu) { Make(menu); }
  ~TOwnerDrawnItems() {
    for (const auto& [menu, items] : FMenus)
      if (IsMenu(menu)) GiveBack(menu, items);
  }
  TOwnerDrawnItems(const TOwnerDrawnItems&) = delete;
  TOwnerDrawnItems& operator=(const TOwnerDrawnItems&) = delete;

 private:
  struct TItem {
    UINT Id = UINT(-1);
    HMENU SubMenu = nullptr;
    UINT Type = 0;
    bool Changed = false;  // made owner-drawn here
  };

  static std::vector<TItem> ReadItems(HMENU menu) {
    std::vector<TItem> items(std::size_t(std::max(GetMenuItemCount(menu), 0)));
    for (std::size_t i = 0; i < items.size(); ++i) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_SUBMENU | MIIM_FTYPE | MIIM_ID;
      if (GetMenuItemInfoA(menu, UINT(i), TRUE, &info)) items[i] = {info.wID, info.hSubMenu, info.fType};
    }
    return items;
  }

  static bool SetType(HMENU menu, std::size_t position, UINT type) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    info.fType = type;
    return SetMenuItemInfoA(menu, UINT(position), TRUE, &info) != FALSE;
  }

  void Make(HMENU menu) {
    if (!menu) return;
    std::vector<TItem> items = ReadItems(menu);
    for (std::size_t i = 0; i < items.size(); ++i) {
      Make(items[i].SubMenu);
      if (!(items[i].Type & MFT_OWNERDRAW)) items[i].Changed = SetType(menu, i, items[i].Type | MFT_OWNERDRAW);
    }
    FMenus.emplace_back(menu, std::move(items));
  }

  // The host may have deleted or inserted items meanwhile, and items may share an id (every
  // separator's is 0): the items as they were and as they are now are matched in order, as
  // many as can be (a longest common subsequence), so that no item is taken for another.
  static void GiveBack(HMENU menu, const std::vector<TItem>& was) {
    const std::vector<TItem> now = ReadItems(menu);
    const std::size_t n = was.size(), m = now.size();
    auto same = [&](std::size_t i, std::size_t j) {
      return was[i].Id == now[j].Id && (now[j].Type & MFT_OWNERDRAW);
    };
    // common[i][j]: how many of was[i..] and now[j..] match in order.
    std::vector<int> common((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> int& { return common[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
      for (std::size_t j = m; j-- > 0;)
        at(i, j) = same(i, j) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
      if (same(i, j)) {  // always part of a longest run
        if (was[i].Changed) SetType(menu, j, now[j].Type & ~UINT(MFT_OWNERDRAW));
        ++i, ++j;
      } else if (at(i + 1, j) >= at(i, j + 1)) {
        ++i;
      } else {
        ++j;
      }
    }
  }

  std::vector<std::pair<HMENU, std::vector<TItem>>> FMenus;
};

}  // namespace

bool TWinSkinForm::OpenMenuItem(TMenuBtn* Item) {
  menu_tracking::ClearSwitch();
  const std::weak_ptr<bool> alive = FAlive;
  bool tracked = false;
  // A greyed item cannot be chosen: neither its command runs nor its drop-down opens.
  while (Item && Item->Enabled && FMenuBar) {
    // A submenu's handle is no command: only a real one is sent.
    const UINT command = Item->Command != UINT(reinterpret_cast<UINT_PTR>(Item->SubMenu)) ? Item->Command : 0;
    if (!Item->SubMenu) {
      if (command) PostMessageA(FHandle, WM_COMMAND, command, 0);
      return tracked;
    }
    if (command) {
      // The item's click runs before its drop-down shows, as the system lets a host
      // prepare a menu; one that changes the sub-items rebuilds the bar under the item.
      const std::weak_ptr<bool> button = FMenuBar->ButtonsAlive();
      SendMessageA(FHandle, WM_COMMAND, command, 0);
      if (alive.expired() || !FMenuBar) return tracked;
      if (button.expired()) Item = FMenuBar->ButtonOf(command);
      if (!Item || !Item->CanDrop()) return tracked;
    }
    GetWindowRect(FHandle, &FWindowRect);
    const TOwnerDrawnItems ownerDrawn(SkinNTBefore5() ? nullptr : Item->SubMenu);
    FMenuTracking = true;
    const int x = (FRightToLeft ? Item->Bounds.Right : Item->Bounds.Left) + FWindowRect.left;
    const int y = Item->Bounds.Bottom + FWindowRect.top;
    if (SkinManager) SkinManager->PopupKind = 1;
    FTrackedMenu = Item->SubMenu;
    if (Item != FHotObject) Item->MousePress();
    // An MDI child's menu, the host or unskinning may rebuild the bar while the drop-down
    // is open: the item is gone then.
    const std::weak_ptr<bool> button = FMenuBar->ButtonsAlive();
    menu_tracking::InstallMenuHook(this);
    TrackPopupMenu(Item->SubMenu, TPM_NONOTIFY | TPM_RIGHTBUTTON | (FRightToLeft ? TPM_RIGHTALIGN : 0), x, y, 0,
                   FHandle, nullptr);
    menu_tracking::RemoveMenuHook();
    if (alive.expired()) return true;
    FMenuTracking = false;
    tracked = true;
    // A move to a neighbouring item closed this drop-down: the neighbour's opens now.
    const int next = menu_tracking::TakeSwitch();
    if (!button.expired()) Item->MouseLeave();
    Item = FMenuBar && next >= 0 && next < int(FMenuBar->Buttons.size()) ? FMenuBar->Buttons[std::size_t(next)].get()
                                                                          : nullptr;
  }
  return tracked;
}

void TWinSkinForm::DialogChar(TMessage& m) {
  CallFormProc(m);
  if (m.Result) return;
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const bool altOnly = (keys[VK_MENU] & 0x80) && !(keys[VK_CONTROL] & 0x80) && !(keys[VK_SHIFT] & 0x80);
  if (altOnly) {
    if (TMenuBtn* item = FindAccelItem(unsigned(m.WParam))) {
      // Opened as a click on the item would open it.
      RECT window{};
      GetWindowRect(FHandle, &window);
      PostMessageA(FHandle, WM_NCLBUTTONDOWN, HTCAPTION,
                   MAKELPARAM(item->Bounds.Left + window.left + 1, item->Bounds.Top + window.top + 1));
      m.Result = 1;
      return;
    }
  }
  if (FKind == kMDIChild) {
    if (SkinManager && SkinManager->MDIForm) m.Result = SkinManager->MDIForm->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
  } else {
    // Another form hands the key to the program's main form.
    const auto& forms = ScreenForms();
    auto main = std::find_if(forms.begin(), forms.end(), [](const TCustomForm* f) { return f->IsMainForm; });
    if (main != forms.end() && *main != FFormControl) (*main)->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
    m.Result = 0;
  }
}

// ---------------------------------------------------------------------------------------
// Owner-drawn menu items

// Taking the skin off gives the items the handlers they had (the host's own), not none.
void TWinSkinForm::SetSubItemsOwnerDraw(TMenuItem* Item, bool On) {
  auto walk = [&](auto&& self, TMenuItem* item, int depth) -> void {
    if (!On) {
      ClearSkinMenuHandlers(*item);
    } else if (depth >= 2 && !item->OnDrawItem) {
      SetSkinMenuDrawer(*item, FSkinData);
      SetSkinMenuMeasurer(*item, FSkinData);
    }
    for (int i = 0; i < item->Count(); ++i) self(self, item->Items(i), depth + 1);
  };
  if (Item) walk(walk, Item, 1);
}

void TWinSkinForm::SetPopupMenusOwnerDraw(TComponent* Component, bool On) {
  if (!Component || (FFormControl && FFormControl->ClassName() == "TwwRichEditForm")) return;
  for (std::size_t i = 0; i < Component->ComponentCount(); ++i) {
    TComponent* c = Component->Components(i);
    if (dynamic_cast<TCustomForm*>(c)) {
      SetPopupMenusOwnerDraw(c, On);
      continue;
    }
    auto* popup = dynamic_cast<TPopupMenu*>(c);
    if (!popup || popup->Tag == FSkinData->DisableTag || !InSet(FSkinData->SkinControls, xcPopupMenu)) continue;
    SetMenuOwnerDraw(*popup, On);
    auto walk = [&](auto&& self, TMenuItem* item) -> void {
      if (On) {
        SetSkinMenuDrawer(*item, FSkinData);
        if (!item->OnMeasureItem) SetSkinMenuMeasurer(*item, FSkinData);
      } else {
        ClearSkinMenuHandlers(*item);
      }
      for (int k = 0; k < item->Count(); ++k) self(self, item->Items(k));
    };
    for (int k = 0; k < popup->Items()->Count(); ++k) walk(walk, popup->Items()->Items(k));
  }
}

void TWinSkinForm::SetMenusOwnerDraw(TComponent* Owner, bool Value) {
  for (std::size_t i = 0; i < Owner->ComponentCount(); ++i) {
    auto* menu = dynamic_cast<TMainMenu*>(Owner->Components(i));
    if (!menu) continue;
    for (int k = 0; k < menu->Items()->Count(); ++k) SetSubItemsOwnerDraw(menu->Items()->Items(k), Value);
    SetMenuOwnerDraw(*menu, Value);
  }
}

// A menu's own drawing, kept when the skin first takes it over and given back exactly when
// the skin goes; a menu the skin never took over is left as it is.
void TWinSkinForm::SetMenuOwnerDraw(TMenu& Menu, bool On) {
  auto saved = std::find_if(FSavedOwnerDraw.begin(), FSavedOwnerDraw.end(),
                            [&](const auto& entry) { return entry.first == &Menu; });
  if (On) {
    if (saved == FSavedOwnerDraw.end()) FSavedOwnerDraw.emplace_back(&Menu, Menu.OwnerDraw());
    Menu.SetOwnerDraw(true);
  } else if (saved != FSavedOwnerDraw.end()) {
    Menu.SetOwnerDraw(saved->second);
    FSavedOwnerDraw.erase(saved);
  }
}

namespace {

// The text of a window-menu item, and its width and height in the menu font.
std::string ItemText(HMENU menu, UINT id) {
  char text[81] = {};
  GetMenuStringA(menu, id, text, sizeof text - 1, MF_BYCOMMAND);
  return text;
}

// An item that lives only in a window's menu, as a framework item the painter can draw.
std::unique_ptr<TMenuItem> TemporaryItem(HMENU menu, UINT id) {
  auto item = std::make_unique<TMenuItem>();
  const std::string text = ItemText(menu, id);
  item->SetCaption(text.empty() ? "-" : text);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  GetMenuItemInfoA(menu, id, FALSE, &info);
  item->SetEnabled(!(info.fState & (MFS_GRAYED | MFS_DISABLED)));
  item->SetChecked(info.fState & MFS_CHECKED);
  return item;
}

}  // namespace

void TWinSkinForm::MeasureMenuItem(TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (mis->CtlType != ODT_MENU || !FMenuHandle) {
    CallOwnProc(m);
    return;
  }
  if (FFormControl) {
    TMenuItem* item = FMenuBar && FMenuBar->Menu ? FMenuBar->Menu->FindItem(mis->itemID, fkCommand) : nullptr;
    if (item) {
      HDC dc = GetWindowDC(FHandle);
      int w = 0, h = 0;
      MeasureSkinMenuItem(*FSkinData, *item, dc, w, h);
      ReleaseDC(FHandle, dc);
      mis->itemWidth = UINT(std::max(w, 0));
      mis->itemHeight = UINT(std::max(h, 0));
      return;
    }
    if (mis->itemID >= 1 && mis->itemID <= 4095) {
      CallOwnProc(m);
      return;
    }
  }
  // Measured from its text in the menu font.
  const std::wstring text = SkinStrToWide(ItemText(FTrackedMenu, mis->itemID));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, SkinMenuFont());
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int width = int(size.cx) + 26 + (FSkinData->MenuItem ? FSkinData->MenuItem->Margins.Left : 0);
  int height = text.empty() ? 8 : int(size.cy) + 4;
  if (!SkinIsNTFamily()) height += 4;
  mis->itemWidth = UINT(width);
  mis->itemHeight = UINT(height);
}

void TWinSkinForm::DrawMenuItem(TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (dis->CtlType != ODT_MENU || !FMenuHandle) {
    CallOwnProc(m);
    return;
  }
  const HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
  if (TSkinManage* manager = ActiveSkinManager()) manager->BindPopupMenu(menu);
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  if (FFormControl) {
    TMenuItem* item = FMenuBar && FMenuBar->Menu ? FMenuBar->Menu->FindItem(dis->itemID, fkCommand) : nullptr;
    if (item) {
      PaintSkinMenuItem(*FSkinData, *item, dis->hDC, dis->rcItem, selected);
      return;
    }
    if (dis->itemID >= 1 && dis->itemID <= 4095) {
      CallOwnProc(m);
      return;
    }
  }
  const std::unique_ptr<TMenuItem> item = TemporaryItem(menu, dis->itemID);
  PaintSkinMenuItemByHandle(*FSkinData, menu, *item, selected, dis->rcItem, dis->hDC,
                            FMenuBar ? FMenuBar->Menu : nullptr);
}

// ---------------------------------------------------------------------------------------
// The MDI client

namespace {
constexpr UINT_PTR kClientSubclassId = 0x5A43;
}

void TWinSkinForm::SubclassClient() {
  if (FClientSubclassed || !FMDIClient) return;
  FClientSubclassed =
      SetWindowSubclass(FMDIClient, ClientWndProc, kClientSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void TWinSkinForm::RestoreClient() {
  if (!FClientSubclassed) return;
  if (IsWindow(FMDIClient)) RemoveWindowSubclass(FMDIClient, ClientWndProc, kClientSubclassId);
  FClientSubclassed = false;
}

LRESULT CALLBACK TWinSkinForm::ClientWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                             DWORD_PTR Data) {
  auto& self = *reinterpret_cast<TWinSkinForm*>(Data);
  LRESULT result = 0;
  SafeCall([&] {
    auto pass = [&] { result = DefSubclassProc(Wnd, Msg, WParam, LParam); };
    switch (Msg) {
      case WM_NCDESTROY:
        pass();
        self.RestoreClient();
        break;
      case WM_NCCALCSIZE:
        if (self.FSkinFrame && !InSet(self.FSkinData->Options, xoMDIScrollbar))
          SetWindowLongA(Wnd, GWL_STYLE, GetWindowLongA(Wnd, GWL_STYLE) & ~LONG(WS_HSCROLL | WS_VSCROLL));
        pass();
        break;
      case WM_MDICREATE:
        self.FSkinData->MenuUpdate = false;
        pass();
        break;
      case WM_MDIDESTROY: {
        pass();
        if (!self.FSkinFrame) break;
        if (SkinManager) SkinManager->SetMDIMaximized(self.ActiveChildMaximized());
        if (!SendMessageA(Wnd, WM_MDIGETACTIVE, 0, 0) && self.FMenuBar) {
          self.FSkinData->MenuUpdate = self.FSavedMenuUpdate;
          self.FMenuBar->BuildItems();
        }
        break;
      }
      case WM_MDITILE:
      case WM_MDICASCADE:
        if (self.FSkinFrame && SkinManager && SkinManager->MDIMaximized) SkinManager->SetMDIMaximized(false);
        pass();
        break;
      case WM_MDISETMENU:
        pass();
        if (!self.FSkinFrame) break;
        if (WParam && self.FMenuBar) self.FMenuBar->RebuildMergedItems();
        SetMenu(self.FHandle, nullptr);
        break;
      case WM_SKINMDIREDRAW:
        RedrawWindow(self.FHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        break;
      default:
        pass();
        break;
    }
  });
  return result;
}
