// The owner-drawn system menu of a skinned window: a popup menu copied from the
// window's system menu, with the skin's menu glyphs.
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "forms/ExtCtrls.h"
#include "WinSkinMenuPaint.h"
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
  const bool ntBefore5 = (SkinWinVersion & 0x80000000u) == 0 && (SkinWinVersion & 0xFF) < 5;
  if (ntBefore5) {
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
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(FSystemMenu, UINT(i), TRUE, &info)) continue;
    const UINT command = info.wID;
    TMenuItem* item = AddItem(*menu, FHandle, text[0] ? text : "-", command);
    // Greyed is a bit of the state: the default item (Close) carries another one.
    bool enabled = (info.fState & MFS_GRAYED) == 0;
    switch (command) {
      case SC_SIZE:
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
