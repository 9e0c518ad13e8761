// Menus: a tree of items behind a window's menu bar (TMainMenu) or a menu that pops up
// at a point (TPopupMenu). The system's menus are rebuilt from the items whenever they
// change; owner-drawn items are measured and drawn by their events, or plainly.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "Classes.h"

// A key with its modifiers: the virtual key in the low byte.
using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Ctrl+S", "Alt+F4"; empty for 0.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, modifiers and key names compared without case ("ALT+F4"); 0 when the
// text names no key.
TShortCut TextToShortCut(const std::string& text);

class TMenu;
class TMenuItem;

using TMenuDrawItemEvent = std::function<void(TObject* Sender, HDC DC, const RECT& Rect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, HDC DC, int& Width, int& Height)>;

class TMenuItem : public TComponent {
 public:
  // A free item belongs to whoever made it; an item added to another belongs to it.
  TMenuItem();
  ~TMenuItem() override;

  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(const std::string& value);
  bool Checked() const noexcept { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool value);
  bool Default() const noexcept { return default_; }
  void SetDefault(bool value);
  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool value);
  int ImageIndex() const noexcept { return imageIndex_; }
  void SetImageIndex(int value);
  TShortCut ShortCut() const noexcept { return shortCut_; }
  void SetShortCut(TShortCut value);
  bool IsLine() const { return caption_ == "-"; }

  // The identifier the system reports when the item is chosen; unique in the program.
  UINT Command() const noexcept { return command_; }
  // The submenu of an item with items (made when first asked), 0 for one without.
  HMENU Handle();

  TMenuItem* Parent() const noexcept { return parent_; }
  int Count() const noexcept { return int(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(std::size_t(index)); }
  int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* item);
  // Frees every item.
  void Clear();
  TMenu* GetParentMenu() const;

  // What choosing the item does.
  virtual void Click();
  // Measures and draws an owner-drawn item: the plain measurement, which the measure
  // event may change; the draw event, or the plain look.
  void MeasureItem(HDC dc, int& width, int& height);
  void DrawItem(HDC dc, const RECT& rect, bool selected);
  // The plain look, whatever the events say.
  void DefaultMeasure(HDC dc, int& width, int& height);
  void DefaultDraw(HDC dc, const RECT& rect, bool selected);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // The live item with that command, or null.
  static TMenuItem* FromCommand(UINT command);

 private:
  friend class TMenu;
  void Changed();
  void Rebuild(bool ownerDraw);

  std::string caption_;
  bool checked_ = false, enabled_ = true, default_ = false, visible_ = true;
  int imageIndex_ = -1;
  TShortCut shortCut_ = 0;
  UINT command_;
  HMENU handle_ = nullptr;
  bool isBar_ = false;  // the root of a menu bar: its handle is a bar, not a popup
  TMenu* menu_ = nullptr;  // set on a menu's root item
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
};

enum TFindItemKind { fkCommand, fkHandle };

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const noexcept { return items_; }
  HMENU Handle() const { return items_->Handle(); }
  // Glyphs of the items, by ImageIndex; not owned.
  HIMAGELIST Images = nullptr;
  bool OwnerDraw() const noexcept { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  // The item with that command, or the item whose submenu is that handle.
  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
  // A menu reads from left to right.
  bool IsRightToLeft() const { return false; }

  // The items changed: the system's menu is rebuilt.
  virtual void MenuChanged();

 protected:
  TMenu(TComponent* owner, bool bar);

 private:
  TMenuItem* items_;
  bool ownerDraw_ = false;
};

class TWinControl;

// The menu bar of a form (its Menu); the form hears of every change as CM_MENUCHANGED.
class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  void MenuChanged() override;

 private:
  friend class TCustomForm;
  TWinControl* form_ = nullptr;
};

// A menu shown at a point. Its owner window is the application's hidden window, which
// hands the chosen command back to the item.
class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  // Shows the menu at the screen point and returns when it closed; the chosen item's
  // click follows through the message queue.
  virtual void Popup(int x, int y);
  TNotifyEvent OnPopup;
};

// Menu messages of a window that shows framework menus (WM_COMMAND from a menu,
// WM_MEASUREITEM and WM_DRAWITEM of menu items): true when they were handled.
bool DispatchMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
