// The painted menu bar of a skinned window: its native bar goes, and each top-level
// item becomes a non-client object of the form skinner, drawn in the strip below the
// caption, hot and pressed under the mouse. The drop-downs stay the system's popup
// menus; while one is open, a message filter lets the arrow keys and the mouse move
// from one bar item to the next.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "SkinDraw.h"
#include "WinSkinForm.h"

class TMainMenu;
class TMenuItem;
class TSkinData;
class TWinSkinMenu;

class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm* form, TWinSkinMenu* bar) : TNCObject(form), Bar(bar) {}

  TWinSkinMenu* Bar;
  TMenuItem* MenuItem = nullptr;
  int Index = 0;
  std::wstring Caption;
  bool Enabled = true;
  HMENU SubMenu = nullptr;
  UINT Command = 0;
  int Width = 0;  // the caption's width in the menu font, with its padding

  // An item opens a drop-down when it is enabled and has one.
  bool CanDrop() const { return Enabled && SubMenu; }
  void Paint() override;
};

class TWinSkinMenu : public TComponent {
 public:
  explicit TWinSkinMenu(TWinSkinForm* AForm);
  ~TWinSkinMenu() override;

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  HMENU MenuHandle = nullptr;
  TMainMenu* Menu = nullptr;
  TSkinRect BarRect;
  TSkinData* SkinData = nullptr;
  TWinSkinForm* Form;
  // The bar as last painted, without captions: hot items restore their column from it.
  TSkinImage Background;

  // Builds the items from the window's menu (or the form's framework menu) and takes
  // the native bar away.
  void BuildItems();
  void BuildFromMenuItems();
  void RebuildMergedItems();
  std::unique_ptr<TMenuBtn> ButtonOfWindowMenu(int position);
  void LayoutItems();
  // Paints the whole bar into DC at R (window coordinates) and places the items.
  void PaintBar(HDC DC, const TSkinRect& R);
  // The item under a point in window coordinates (items without caption are never
  // hit), or null.
  TMenuBtn* ButtonAt(TSkinPoint P) const;
  // The item that sends that command, or null.
  TMenuBtn* ButtonOf(UINT Command) const;
  // Expires when the buttons are freed (a rebuild, or the bar going): for code that
  // holds a button across a nested message loop, in which the window may rebuild them.
  std::weak_ptr<bool> ButtonsAlive() const { return FButtonsAlive; }

 private:
  bool BeginBuild();
  void FinishBuild();
  int StartOffset(int barWidth) const;
  bool RightToLeft() const;
  std::vector<TMenuBarItem> MeasureItems() const;
  TSkinImage FPicture;  // the bar composed before its one blit
  std::shared_ptr<bool> FButtonsAlive = std::make_shared<bool>(true);
};

// The tracking of one open drop-down at a time, for the keyboard and mouse moves
// between bar items.
namespace menu_tracking {
// Starts and ends watching the messages of the menu loop; the drop-down is the one of
// the form's tracked menu (FTrackedMenu).
void InstallMenuHook(TWinSkinForm* Form);
void RemoveMenuHook();
// The bar is going: the tracking forgets it (and its form).
void ForgetBar(const TWinSkinMenu* Bar);
// The bar whose drop-down is open, or null (none, or it went meanwhile).
const TWinSkinMenu* TrackedBar();
// The item whose drop-down should open next, after the open one closed (a move to
// a neighbour); -1 when none. Taking it clears it.
int TakeSwitch();
void ClearSwitch();
// What the menu loop reports as selected (WM_MENUSELECT, which reaches the window).
void MenuSelect(WPARAM WParam, LPARAM LParam);
}  // namespace menu_tracking
