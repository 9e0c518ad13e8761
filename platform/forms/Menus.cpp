#include "Menus.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "Controls.h"
#include "Forms.h"

namespace {

// Commands from 100 up, below the system-menu commands (0xF000 and above), so that a
// framework command is never taken for a system command.
constexpr UINT kFirstCommand = 100, kLastCommand = 0xEFFF;

std::map<UINT, TMenuItem*>& LiveItems() {
  static std::map<UINT, TMenuItem*> items;
  return items;
}

UINT NewCommand() {
  static UINT next = kFirstCommand;
  auto& live = LiveItems();
  for (;;) {
    const UINT c = next;
    next = next == kLastCommand ? kFirstCommand : next + 1;
    if (!live.count(c)) return c;
  }
}

const std::pair<const char*, WORD> kKeyNames[] = {
    {"BkSp", VK_BACK}, {"Tab", VK_TAB},     {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}, {"Space", VK_SPACE},
    {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT},  {"End", VK_END},      {"Home", VK_HOME},  {"Left", VK_LEFT},
    {"Up", VK_UP},      {"Right", VK_RIGHT}, {"Down", VK_DOWN},   {"Ins", VK_INSERT}, {"Del", VK_DELETE}};

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  for (const auto& [name, vk] : kKeyNames)
    if (vk == key) return name;
  return {};
}

WORD KeyFromName(const std::string& upper) {
  if (upper.size() == 1 && std::isalnum(static_cast<unsigned char>(upper[0]))) return WORD(upper[0]);
  if (upper.size() >= 2 && upper[0] == 'F' && std::all_of(upper.begin() + 1, upper.end(), ::isdigit)) {
    const int n = std::stoi(upper.substr(1));
    if (n >= 1 && n <= 24) return WORD(VK_F1 + n - 1);
  }
  for (const auto& [name, vk] : kKeyNames)
    if (Upper(name) == upper) return vk;
  return 0;
}

// A caption's text and the part after a tab, shown at the right (a shortcut's text).
std::pair<std::string, std::string> SplitAtTab(const std::string& caption, TShortCut shortCut) {
  const std::size_t tab = caption.find('\t');
  std::string right = tab == std::string::npos ? std::string() : caption.substr(tab + 1);
  if (right.empty()) right = ShortCutToText(shortCut);
  return {caption.substr(0, tab), right};
}

// The caption without its "&" marks ("&&" stays one "&").
std::string StripAmpersands(const std::string& caption) {
  std::string s;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    s += caption[i];
  }
  return s;
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyName(WORD(shortCut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
  std::string rest = Upper(text);
  TShortCut mods = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& [prefix, bit] : {std::pair{"SHIFT+", scShift}, {"CTRL+", scCtrl}, {"ALT+", scAlt}}) {
      if (rest.rfind(prefix, 0) == 0) {
        rest.erase(0, std::string(prefix).size());
        mods = TShortCut(mods | bit);
        found = true;
      }
    }
  }
  const WORD key = KeyFromName(rest);
  return key ? TShortCut(mods | key) : TShortCut(0);
}

// ---------------------------------------------------------------------------------------

TMenuItem::TMenuItem() : TComponent(nullptr), command_(NewCommand()) { LiveItems()[command_] = this; }

TMenuItem::~TMenuItem() {
  LiveItems().erase(command_);
  if (parent_) parent_->Remove(this);
  for (TMenuItem* item : items_) {
    item->parent_ = nullptr;
    delete item;
  }
  items_.clear();
  if (handle_) DestroyMenu(handle_);
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
  auto it = LiveItems().find(command);
  return it == LiveItems().end() ? nullptr : it->second;
}

void TMenuItem::SetCaption(const std::string& value) {
  caption_ = value;
  Changed();
}
void TMenuItem::SetChecked(bool value) {
  checked_ = value;
  Changed();
}
void TMenuItem::SetEnabled(bool value) {
  enabled_ = value;
  Changed();
}
void TMenuItem::SetDefault(bool value) {
  default_ = value;
  Changed();
}
void TMenuItem::SetVisible(bool value) {
  visible_ = value;
  Changed();
}
void TMenuItem::SetImageIndex(int value) {
  imageIndex_ = value;
  Changed();
}
void TMenuItem::SetShortCut(TShortCut value) {
  shortCut_ = value;
  Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->parent_) throw Exception("The menu item is already in a menu");
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  const int i = IndexOf(item);
  if (i < 0) return;
  items_.erase(items_.begin() + i);
  item->parent_ = nullptr;
  Changed();
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

HMENU TMenuItem::Handle() {
  if (!handle_ && (isBar_ || !items_.empty())) {
    const TMenu* menu = GetParentMenu();
    Rebuild(menu && menu->OwnerDraw());
  }
  return handle_;
}

void TMenuItem::Rebuild(bool ownerDraw) {
  if (handle_ && !isBar_ && items_.empty()) {
    // The parent has taken this submenu out of its own menu before rebuilding it.
    DestroyMenu(handle_);
    handle_ = nullptr;
  }
  if (!handle_) {
    if (!isBar_ && items_.empty()) return;
    handle_ = isBar_ ? CreateMenu() : CreatePopupMenu();
    if (!handle_) throw Exception("Cannot create a menu");
  }
  // Taken out, not deleted: the submenus stay ours and are rebuilt below.
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  for (TMenuItem* item : items_) {
    item->Rebuild(ownerDraw);
    if (!item->visible_) continue;
    std::string text = item->caption_;
    if (const std::string key = ShortCutToText(item->shortCut_); !key.empty()) text += "\t" + key;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_DATA;
    info.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (ownerDraw) info.fType |= MFT_OWNERDRAW;
    info.fState = (item->enabled_ ? 0u : MFS_GRAYED) | (item->checked_ ? MFS_CHECKED : 0u) |
                  (item->default_ ? MFS_DEFAULT : 0u);
    info.wID = item->command_;
    info.hSubMenu = item->handle_;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    info.dwTypeData = text.data();
    InsertMenuItemA(handle_, UINT(GetMenuItemCount(handle_)), TRUE, &info);
  }
}

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
  // The event adjusts the item's own measurement.
  DefaultMeasure(dc, width, height);
  if (OnMeasureItem) OnMeasureItem(this, dc, width, height);
}

void TMenuItem::DrawItem(HDC dc, const RECT& rect, bool selected) {
  if (OnDrawItem)
    OnDrawItem(this, dc, rect, selected);
  else
    DefaultDraw(dc, rect, selected);
}

void TMenuItem::DefaultMeasure(HDC dc, int& width, int& height) {
  if (IsLine()) {
    width = 10;
    height = 8;
    return;
  }
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const auto [left, right] = SplitAtTab(caption_, shortCut_);
  std::string text = StripAmpersands(left);
  if (!right.empty()) text += "    " + right;
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  width = int(size.cx) + 2 * GetSystemMetrics(SM_CXMENUCHECK);
  height = std::max(int(size.cy) + 4, GetSystemMetrics(SM_CYMENU));
}

void TMenuItem::DefaultDraw(HDC dc, const RECT& rect, bool selected) {
  FillRect(dc, &rect, GetSysColorBrush(selected && enabled_ ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int box = GetSystemMetrics(SM_CXMENUCHECK);
  const TMenu* menu = GetParentMenu();
  if (menu && menu->Images && imageIndex_ >= 0 && imageIndex_ < ImageList_GetImageCount(menu->Images)) {
    int w = 0, h = 0;
    ImageList_GetIconSize(menu->Images, &w, &h);
    ImageList_DrawEx(menu->Images, imageIndex_, dc, int(rect.left) + 2, int(rect.top + rect.bottom - h) / 2, 0, 0,
                     CLR_NONE, CLR_NONE, enabled_ ? ILD_NORMAL : ILD_BLEND50);
  } else if (checked_) {
    RECT check{rect.left, rect.top, rect.left + box, rect.bottom};
    DrawFrameControl(dc, &check, DFC_MENU, DFCS_MENUCHECK);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!enabled_ ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT text{rect.left + box + 4, rect.top, rect.right - 8, rect.bottom};
  const auto [left, right] = SplitAtTab(caption_, shortCut_);
  DrawTextA(dc, left.c_str(), int(left.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!right.empty()) DrawTextA(dc, right.c_str(), int(right.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  SelectObject(dc, old);
}

// ---------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TMenu(owner, false) {}

TMenu::TMenu(TComponent* owner, bool bar) : TComponent(owner), items_(new TMenuItem) {
  items_->menu_ = this;
  items_->isBar_ = bar;
}

TMenu::~TMenu() {
  items_->menu_ = nullptr;
  delete items_;
}

void TMenu::SetOwnerDraw(bool value) {
  if (ownerDraw_ == value) return;
  ownerDraw_ = value;
  MenuChanged();
}

void TMenu::MenuChanged() {
  if (items_->handle_) items_->Rebuild(ownerDraw_);
}

namespace {
TMenuItem* FindIn(TMenuItem* item, UINT_PTR value, TFindItemKind kind) {
  if (kind == fkCommand ? item->Command() == value
                        : item->Count() > 0 && reinterpret_cast<UINT_PTR>(item->Handle()) == value)
    return item;
  for (int i = 0; i < item->Count(); ++i)
    if (TMenuItem* found = FindIn(item->Items(i), value, kind)) return found;
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const { return FindIn(items_, value, kind); }

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner, true) {}

TMainMenu::~TMainMenu() {
  if (form_) {
    if (auto* form = dynamic_cast<TCustomForm*>(form_)) form->SetMenu(nullptr);
  }
}

void TMainMenu::MenuChanged() {
  TMenu::MenuChanged();
  if (form_ && form_->HandleAllocated()) {
    DrawMenuBar(form_->Handle());
    form_->Perform(CM_MENUCHANGED, 0, 0);
  }
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HMENU menu = Handle();
  if (!menu || !Application) return;
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, Application->Handle(), nullptr);
}

bool DispatchMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0) {
        if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam))) {
          item->Click();
          result = 0;
          return true;
        }
      }
      return false;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (wParam != 0 || mis->CtlType != ODT_MENU) return false;
      TMenuItem* item = TMenuItem::FromCommand(mis->itemID);
      if (!item || reinterpret_cast<ULONG_PTR>(item) != mis->itemData) return false;
      HDC dc = GetDC(nullptr);
      int w = int(mis->itemWidth), h = int(mis->itemHeight);
      item->MeasureItem(dc, w, h);
      ReleaseDC(nullptr, dc);
      mis->itemWidth = UINT(std::max(w, 0));
      mis->itemHeight = UINT(std::max(h, 0));
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (wParam != 0 || dis->CtlType != ODT_MENU) return false;
      TMenuItem* item = TMenuItem::FromCommand(dis->itemID);
      if (!item || reinterpret_cast<ULONG_PTR>(item) != dis->itemData) return false;
      item->DrawItem(dis->hDC, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}
