// Menus as the system sees them, the window classes the framework's windows carry, and
// the hidden application window that owns popup menus.
#include <windows.h>

#include <gtest/gtest.h>

#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "testkit/MemoryDC.h"

namespace {

std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

std::string MenuText(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, UINT(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

TMenuItem* NewItem(const std::string& caption) {
  auto* item = new TMenuItem;
  item->SetCaption(caption);
  return item;
}

struct MainForm : TForm {
  using TForm::TForm;
};

TEST(Menus, ShortCutsReadAndWriteAsText) {
  const std::pair<TShortCut, const char*> cases[] = {{TShortCut(scAlt | VK_F4), "Alt+F4"},
                                                     {TShortCut(scShift | scCtrl | VK_DELETE), "Shift+Ctrl+Del"}};
  for (const auto& [key, text] : cases) {
    EXPECT_EQ(ShortCutToText(key), text);
    EXPECT_EQ(TextToShortCut(text), key) << text;
  }
  EXPECT_EQ(TextToShortCut("ALT+F4"), TShortCut(scAlt | VK_F4));
  EXPECT_EQ(TextToShortCut("Hyper+X"), 0);
}

TEST(Menus, WindowsAreEightBitAndNamedAfterTheirClass) {
  MainForm form(nullptr);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  form.SetClientSize(200, 100);
  form.HandleNeeded();
  EXPECT_EQ(ClassOf(form.Handle()), "MainForm");
  EXPECT_EQ(ClassOf(button->Handle()), "TButton");
  EXPECT_FALSE(IsWindowUnicode(form.Handle()));
  EXPECT_FALSE(IsWindowUnicode(button->Handle()));
  // A button of the framework is still the system's button underneath.
  EXPECT_EQ(SendMessageA(button->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(ClassOf(Application->Handle()), "TApplication");
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
}

TEST(Menus, MainMenuFollowsItsItemsAndTellsTheForm) {
  MainForm form(nullptr);
  form.SetClientSize(300, 200);
  form.HandleNeeded();
  int changes = 0;
  const TWndMethod old = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_MENUCHANGED) ++changes;
    old(m);
  };
  TMainMenu menu(&form);
  TMenuItem* file = NewItem("&File");
  menu.Items()->Add(file);
  TMenuItem* open = NewItem("&Open");
  file->Add(open);
  form.SetMenu(&menu);
  EXPECT_EQ(GetMenu(form.Handle()), menu.Handle());
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.bottom, 200);  // the bar takes its height from the window

  changes = 0;
  open->SetCaption("&Open...");
  open->SetShortCut(TShortCut(scCtrl | 'O'));
  EXPECT_EQ(MenuText(file->Handle(), 0), "&Open...\tCtrl+O");
  EXPECT_GE(changes, 1);
  delete open;
  EXPECT_EQ(GetMenuItemCount(menu.Handle()), 1);

  // A menu command reaches the item that sent it.
  int clicks = 0;
  TMenuItem* exit = NewItem("E&xit");
  exit->OnClick = [&](TObject*) { ++clicks; };
  menu.Items()->Add(exit);
  SendMessageA(form.Handle(), WM_COMMAND, exit->Command(), 0);
  EXPECT_EQ(clicks, 1);
  form.WindowProc = old;
}

TEST(Menus, PopupItemsAreDrawnAndChosenThroughTheApplicationWindow) {
  TPopupMenu popup(nullptr);
  popup.SetOwnerDraw(true);
  TMenuItem* item = NewItem("Item");
  popup.Items()->Add(item);
  int clicks = 0;
  item->OnClick = [&](TObject*) { ++clicks; };
  item->OnMeasureItem = [](TObject*, HDC, int& w, int& h) {
    w = 77;
    h = 21;
  };
  ASSERT_NE(popup.Handle(), nullptr);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(popup.Handle(), 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);

  HWND app = Application->Handle();
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, item->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(item)};
  EXPECT_TRUE(SendMessageA(app, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
  EXPECT_EQ(mis.itemWidth, 77u);
  EXPECT_EQ(mis.itemHeight, 21u);

  // Without its own painter an item is drawn plainly: the highlight when selected.
  testkit::MemoryDC dc(80, 20);
  DRAWITEMSTRUCT dis{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, ODS_SELECTED, nullptr, dc.dc(), {0, 0, 80, 20},
                     reinterpret_cast<ULONG_PTR>(item)};
  EXPECT_TRUE(SendMessageA(app, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(dc.At(1, 1), std::uint32_t(highlight));

  // A forged item pointer is not trusted.
  dis.itemData = 1;
  EXPECT_FALSE(SendMessageA(app, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));

  SendMessageA(app, WM_COMMAND, item->Command(), 0);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
