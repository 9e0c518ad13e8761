// Menu items and tool-bar buttons drawn from the skin, and a window's menu bar skinned.
#include "WinSkinMenuPaint.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "SkinDrawWin.h"
#include "TestSkin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "forms/Menus.h"
#include "forms/ToolBar.h"
#include "testkit/MemoryDC.h"
#include "testkit/TestKit.h"

namespace {

using namespace testskin;

class MenuPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitSkinData();
    InitSkinDraw();
    Load();
  }
  void TearDown() override {
    DoneSkinDraw();
    DoneSkinData();
  }
  void Load(const Overrides& overrides = {}, const Images& images = {}) {
    const std::vector<std::uint8_t> archive = Pack(overrides, images);
    data_.SkinStream.Clear();
    data_.SkinStream.Write(archive.data(), archive.size());
    ASSERT_TRUE(data_.LoadSkinStream());
  }

  // A 300 x 150 form's menu bar: File, holding the items.
  static TMainMenu* FileMenu(TForm& form, std::initializer_list<TMenuItem*> items) {
    form.SetClientSize(300, 150);
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem;
    file->SetCaption("&File");
    for (TMenuItem* item : items) file->Add(item);
    menu->Items()->Add(file);
    form.SetMenu(menu);
    return menu;
  }
  // The form skinned, by a skinner it owns.
  TWinSkinForm* Skin(TForm& form) {
    auto* skinner = new TWinSkinForm(&form);
    skinner->FHandle = form.Handle();
    skinner->AttachForm(&data_, &form);
    SendMessageA(form.Handle(), WM_SKINSTART, 0, 1000);
    return skinner;
  }
  TMenuItem* Add(const std::string& caption) {
    auto* item = new TMenuItem;
    item->SetCaption(caption);
    menu_.Items()->Add(item);
    return item;
  }
  // How many pixels of the item (or of r in it) have that colour.
  static int Count(const testkit::MemoryDC& dc, std::uint32_t colour, TSkinRect r = {0, 0, 9999, 9999}) {
    int n = 0;
    for (int y = r.Top; y < std::min(r.Bottom, dc.Height()); ++y)
      for (int x = r.Left; x < std::min(r.Right, dc.Width()); ++x) n += dc.At(x, y) == colour;
    return n;
  }

  TSkinData data_{nullptr};
  TPopupMenu menu_{nullptr};
};

TEST_F(MenuPaintTest, ItemsShowTheirFrameAndTextColourByState) {
  TMenuItem* item = Add("Open");
  const struct {
    bool selected, enabled;
    TSkinColour frame, text;
  } cases[] = {
      {false, true, kMenuItem[0], kMenuText},
      {true, true, kMenuItem[3], kHilightText},
      // A skin whose shadow is its menu text shows a disabled item in the system's shadow.
      {false, false, kMenuItem[0], TSkinColour(GetSysColor(COLOR_BTNSHADOW))},
  };
  for (const auto& c : cases) {
    item->SetEnabled(c.enabled);
    testkit::MemoryDC dc(120, 20);
    PaintSkinMenuItem(data_, *item, dc.dc(), {0, 0, 120, 20}, c.selected);
    EXPECT_EQ(dc.At(60, 1), c.frame) << c.selected << c.enabled;
    EXPECT_GT(Count(dc, c.text), 5) << "text in its colour " << c.selected << c.enabled;
  }
}

TEST_F(MenuPaintTest, SeparatorsTakeTheBottomRowsOfTheirFrame) {
  TMenuItem* line = Add("-");
  testkit::MemoryDC dc(120, 6, 0x00FF00FF);
  PaintSkinMenuItem(data_, *line, dc.dc(), {0, 0, 120, 6}, false);
  EXPECT_EQ(dc.At(60, 3), kMenuItem[1]);
  EXPECT_EQ(Count(dc, kMenuItem[0]), 0);
}

TEST_F(MenuPaintTest, CheckedItemWithoutImageShowsTheCheckMark) {
  TMenuItem* item = Add("Wrap");
  const std::uint32_t ink = GetSysColor(COLOR_BTNTEXT);
  testkit::MemoryDC plain(120, 20), checked(120, 20);
  PaintSkinMenuItem(data_, *item, plain.dc(), {0, 0, 120, 20}, false);
  item->SetChecked(true);
  PaintSkinMenuItem(data_, *item, checked.dc(), {0, 0, 120, 20}, false);
  int inBox = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 22; ++x) inBox += checked.At(x, y) == ink && plain.At(x, y) != ink;
  EXPECT_GT(inBox, 5);
}

TEST_F(MenuPaintTest, MeasuringWidensForTheSkinMargin) {
  TMenuItem* item = Add("Save as");
  HDC screen = GetDC(nullptr);
  int w0 = 0, h0 = 0, w = 0, h = 0;
  item->DefaultMeasure(screen, w0, h0);
  MeasureSkinMenuItem(data_, *item, screen, w, h);
  EXPECT_EQ(w, w0 + 4 + 35);
  EXPECT_EQ(h, h0);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  menu_.Images = images;
  w = h = 0;
  MeasureSkinMenuItem(data_, *item, screen, w, h);
  EXPECT_EQ(w, w0 + 4 + 10);
  int widened = w0;
  WidenSkinMenuItem(&data_, *item, widened);
  EXPECT_EQ(widened, w0 + 4 + 12);
  menu_.Images = nullptr;
  ImageList_Destroy(images);
  ReleaseDC(nullptr, screen);
  // A skin data that is gone adds no margin.
  auto gone = std::make_unique<TSkinData>(nullptr);
  const TSkinData* dead = gone.get();
  gone.reset();
  widened = w0;
  WidenSkinMenuItem(dead, *item, widened);
  EXPECT_EQ(widened, w0 + 35);
}

// A plain window with a menu of two drop-downs and an item without one; its own
// procedure counts the commands it receives.
std::vector<WPARAM> commands;
LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) commands.push_back(LOWORD(wParam));
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

constexpr UINT kOpen = 101, kExit = 102, kSave = 103, kCopy = 201, kHelp = 301;

HWND CreateMenuWindow() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MenuWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinMenuWindow";
    return RegisterClassA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  HMENU file = CreatePopupMenu(), recent = CreatePopupMenu(), edit = CreatePopupMenu(), bar = CreateMenu();
  AppendMenuA(recent, MF_STRING, kOpen + 1000, "&One");
  AppendMenuA(file, MF_STRING, kOpen, "&Open");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, kExit, "E&xit");
  AppendMenuA(file, MF_POPUP, UINT_PTR(recent), "&Recent");
  AppendMenuA(edit, MF_STRING, kCopy, "&Copy");
  AppendMenuA(bar, MF_POPUP, UINT_PTR(file), "&File");
  AppendMenuA(bar, MF_POPUP, UINT_PTR(edit), "&Edit");
  AppendMenuA(bar, MF_STRING, kHelp, "&Help");
  HWND w = CreateWindowExA(0, "SkinMenuWindow", "menu", WS_OVERLAPPEDWINDOW, 60, 60, 420, 300, nullptr, bar,
                           GetModuleHandleA(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  return w;
}

// What the open drop-downs showed: the menu of each, read from its window a little
// after it opened, then closed by `keys` taken in it one a tick (or EndMenu when none).
using Step = std::function<void()>;
Step Key(BYTE k) { return [k] { keybd_event(k, 0, 0, 0), keybd_event(k, 0, KEYEVENTF_KEYUP, 0); }; }
struct DropDowns {
  static inline std::vector<HMENU> shown;
  static inline std::vector<Step> keys;
  static void Watch(std::vector<Step> typed) {
    shown.clear();
    keys = std::move(typed);
    SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
      HWND menu = FindWindowA("#32768", nullptr);
      if (!menu || !IsWindowVisible(menu)) {
        if (keys.empty()) KillTimer(nullptr, id);
        return;
      }
      const auto m = reinterpret_cast<HMENU>(SendMessageA(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
      if (shown.empty() || shown.back() != m) shown.push_back(m);
      if (keys.empty()) {
        KillTimer(nullptr, id);
        EndMenu();
        return;
      }
      const Step step = keys.front();
      keys.erase(keys.begin());
      step();
    });
  }
};

class MenuBarTest : public MenuPaintTest {
 protected:
  void SetUp() override {
    MenuPaintTest::SetUp();
    commands.clear();
    window_ = CreateMenuWindow();
    GetClientRect(window_, &client0_);
    skinner_ = std::make_unique<TWinSkinForm>(nullptr);
    skinner_->FHandle = window_;
    skinner_->AttachPlainWindow(&data_);
    SendMessageA(window_, WM_SKINSTART, 0, 1000);
  }
  void TearDown() override {
    ShowWindow(window_, SW_HIDE);
    DestroyWindow(window_);
    skinner_.reset();
    MenuPaintTest::TearDown();
  }
  TMenuBtn& Item(int i) { return *skinner_->FMenuBar->Buttons.at(std::size_t(i)); }
  LPARAM ScreenOf(const TSkinRect& r) {
    RECT w;
    GetWindowRect(window_, &w);
    return MAKELPARAM(w.left + r.Left + 2, w.top + r.Top + 2);
  }

  HWND window_ = nullptr;
  RECT client0_{};
  std::unique_ptr<TWinSkinForm> skinner_;
};

// Unskinning gives the native bar back: the plain window's unskin test has a menu too.
TEST_F(MenuBarTest, TheNativeBarBecomesPaintedItemsBelowTheCaption) {
  ASSERT_NE(skinner_->FMenuBar, nullptr);
  EXPECT_EQ(GetMenu(window_), nullptr);
  ASSERT_EQ(skinner_->FMenuBar->Buttons.size(), 3u);
  RECT client, window;
  GetClientRect(window_, &client);
  GetWindowRect(window_, &window);
  EXPECT_EQ(client.bottom, client0_.bottom);
  EXPECT_EQ(window.bottom - window.top, client.bottom + kTopHeight + kBottomHeight + GetSystemMetrics(SM_CYMENU));
  // The items follow one another from the bar's start, each a hit object of the frame.
  EXPECT_EQ(Item(0).Bounds.Left, kLeftWidth + 2 + 4);
  EXPECT_EQ(Item(1).Bounds.Left, Item(0).Bounds.Right);
  EXPECT_EQ(SendMessageA(window_, WM_NCHITTEST, 0, ScreenOf(Item(1).Bounds)), HTMENU);

  // Greyed and rebuilt, File alone has a grey caption.
  HMENU bar = skinner_->FMenuBar->MenuHandle;
  EnableMenuItem(bar, 0, MF_BYPOSITION | MF_GRAYED);
  skinner_->FMenuBar->BuildItems();
  testkit::MemoryDC dc(int(window.right - window.left), int(window.bottom - window.top));
  skinner_->PaintFrame(dc.dc());
  EXPECT_EQ(dc.At(int(window.right - window.left) - 20, kTopHeight + 2), kMenuBar[0]);
  for (int i : {0, 1, 2}) EXPECT_EQ(Count(dc, GetSysColor(COLOR_MENUTEXT), Item(i).Bounds) > 0, i > 0) << i;
  SendMessageA(window_, WM_NCMOUSEMOVE, HTMENU, ScreenOf(Item(1).Bounds));
  EXPECT_EQ(skinner_->FHotObject, &Item(1));
  // Rebuilt from an emptied menu (no frame paint comes between), no item stays hot.
  while (RemoveMenu(bar, 0, MF_BYPOSITION)) continue;
  skinner_->FMenuBar->BuildItems();
  EXPECT_EQ(skinner_->FHotObject, nullptr);
}

// Whether an item of the menu or of its submenus is drawn by its owner (blank without one).
bool AnyOwnerDrawn(HMENU menu) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
    if ((info.fType & MFT_OWNERDRAW) || (info.hSubMenu && AnyOwnerDrawn(info.hSubMenu))) return true;
  }
  return false;
}

TEST_F(MenuBarTest, ItemsOpenFromMouseKeyboardAndMessageAndTheirCommandsArriveOnce) {
  HMENU bar = skinner_->FMenuBar->MenuHandle, file = Item(0).SubMenu, edit = Item(1).SubMenu;
  const LPARAM editAt = ScreenOf(Item(1).Bounds), captionAt = ScreenOf({100, 4, 101, 5});
  auto key = [&](WPARAM k) { return [&, k] { SendMessageA(window_, WM_SYSCOMMAND, SC_KEYMENU, k); }; };
  auto mouse = [&](int i) {
    return [&, i] { SetCursorPos(LOWORD(ScreenOf(Item(i).Bounds)), HIWORD(ScreenOf(Item(i).Bounds))); };
  };
  // An owner-drawn item the host puts in Open's place under the drop-down stays its own.
  DropDowns::Watch(
      {[&] { ModifyMenuA(file, 0, MF_BYPOSITION | MF_OWNERDRAW, kOpen + 50, nullptr); }});
  key('f')();
  testkit::PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_OWNERDRAW);
  ModifyMenuA(file, 0, MF_BYPOSITION | MF_STRING, kOpen, "&Open");
  const struct {
    const char* how;
    std::function<void()> open;
    std::vector<Step> keys;
    std::vector<HMENU> shown;
    std::vector<WPARAM> commands;
  } cases[] = {
      {"click", [&] { SendMessageA(window_, WM_NCLBUTTONDOWN, HTMENU, ScreenOf(Item(1).Bounds)); }, {}, {edit}, {}},
      {"F10", key(0), {}, {file}, {}},
      {"Alt+E", key('e'), {}, {edit}, {}},
      {"0x3518", [&] { SendMessageA(window_, WM_SKINOPENMENUITEM, 0, ScreenOf(Item(0).Bounds)); }, {}, {file}, {}},
      // Right moves to the next item and back to the first from the last.
      {"arrows", key('f'), {Key(VK_RIGHT), Key(VK_LEFT)}, {file, edit, file}, {}},
      // Moves land only on items that drop down: Right from Edit passes Help by to File,
      // the mouse passes Help by to Edit.
      {"commands", key('e'), {Key(VK_RIGHT), mouse(2), mouse(1)}, {edit, file, edit}, {}},
      // On an item with a submenu Right opens it, and Left closes it.
      {"submenu", key('f'), {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_LEFT)},
       {file, GetSubMenu(file, 3), file}, {}},
      // The drop-down opens on its first item: down past the separator to Exit, then Enter.
      {"Enter", key('f'), {Key(VK_DOWN), Key(VK_RETURN)}, {file}, {kExit}},
      {"no drop-down", [&] { skinner_->OpenMenuItem(&Item(2)); }, {}, {}, {kHelp}},
      {"greyed", [&] { EnableMenuItem(bar, 2, MF_BYPOSITION | MF_GRAYED), skinner_->FMenuBar->BuildItems(),
                       skinner_->OpenMenuItem(&Item(2)); }, {}, {}, {}},
      // The bar rebuilt under Edit's drop-down (a View put first): Left counts from where Edit is now.
      {"rebuilt", key('e'), {[&] { InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP, UINT_PTR(CreatePopupMenu()), "&View"),
                                   skinner_->FMenuBar->BuildItems(); }, Key(VK_LEFT)}, {edit, file}, {}},
      // A request for the system menu while a drop-down is open leaves the drop-down tracked.
      {"system menu", key('f'), {[&] { SendMessageA(window_, WM_NCRBUTTONDOWN, HTCAPTION, captionAt);
                                       EXPECT_TRUE(skinner_->FMenuTracking) << "system menu"; }}, {file}, {}},
      // The host deletes File's separator while it is open: the items after it move up.
      {"deleted", key('f'), {[&] { DeleteMenu(file, 1, MF_BYPOSITION); }}, {file}, {}},
      // [Open, -, Save, -, Exit]: the first separator deleted, the second (same id) is not taken for it.
      {"repeated ids", [&] { for (UINT id : {0u, kSave, 0u})
                               InsertMenuA(file, 1, MF_BYPOSITION | (id ? 0 : MF_SEPARATOR), id, "&Save");
                             key('f')(); }, {[&] { DeleteMenu(file, 1, MF_BYPOSITION); }}, {file}, {}},
      // A separator put before Save; Save and the separator after it deleted; then the last item.
      {"inserted and deleted", key('f'), {[&] { InsertMenuA(file, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr); },
       [&] { DeleteMenu(file, 2, MF_BYPOSITION), DeleteMenu(file, 2, MF_BYPOSITION); },
       [&] { RemoveMenu(file, GetMenuItemCount(file) - 1, MF_BYPOSITION); }}, {file}, {}},
      // Emptied under Edit's drop-down, the bar keeps no button to leave when it closes.
      {"emptied", key('e'), {[&] { while (RemoveMenu(bar, 0, MF_BYPOSITION)) continue;
                                   skinner_->FMenuBar->BuildItems(); }}, {edit}, {}},
      // Unskinned under File's drop-down: the keys and the mouse reach no bar.
      {"unskinned", [&] { AppendMenuA(bar, MF_POPUP, UINT_PTR(file), "&File"), skinner_->FMenuBar->BuildItems(),
                          key('f')(); },
       {[&] { skinner_->Unskin();
              EXPECT_EQ(menu_tracking::TrackedBar(), nullptr) << "unskinned"; }, Key(VK_RIGHT),
        [&] { SetCursorPos(LOWORD(editAt), HIWORD(editAt)); }}, {file}, {}},
  };
  for (const auto& c : cases) {
    commands.clear();
    DropDowns::Watch(c.keys);
    c.open();
    testkit::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(DropDowns::shown, c.shown) << c.how;
    EXPECT_EQ(commands, c.commands) << c.how;
    EXPECT_FALSE(skinner_->FMenuTracking) << c.how;
    // Closed, the drop-downs draw themselves again: their items are the window's.
    EXPECT_FALSE(AnyOwnerDrawn(file) || AnyOwnerDrawn(edit)) << c.how;
  }
}

TEST_F(MenuPaintTest, AFormsMenuChangedAfterSkinningRebuildsTheBar) {
  TForm form(nullptr);
  // Items the host measures (and one it draws) itself.
  TMenuItem *plain = new TMenuItem, *tall = new TMenuItem, *own = new TMenuItem;
  tall->OnMeasureItem = own->OnMeasureItem = [](TObject*, HDC, int&, int& h) { h = 33; };
  own->OnDrawItem = [](TObject*, HDC, const RECT&, bool) {};
  TMainMenu* menu = FileMenu(form, {plain, tall, own});
  TMenuItem* file = menu->Items()->Items(0);
  // The host's popup menus, one of them drawn by its owner before skinning.
  auto *ownPopup = new TPopupMenu(&form), *popup = new TPopupMenu(&form);
  ownPopup->SetOwnerDraw(true);
  form.Show();
  Include(data_.SkinControls, xcMenuItem);
  TWinSkinForm* skinner = Skin(form);
  ASSERT_NE(skinner->FMenuBar, nullptr);
  ASSERT_EQ(skinner->FMenuBar->Buttons.size(), 1u);
  EXPECT_EQ(form.ClientHeight(), 150);
  EXPECT_TRUE(menu->OwnerDraw() && popup->OwnerDraw());

  auto* view = new TMenuItem;
  view->SetCaption("&View");
  menu->Items()->Add(view);
  file->SetCaption("&Document");
  ASSERT_EQ(skinner->FMenuBar->Buttons.size(), 2u);
  EXPECT_EQ(skinner->FMenuBar->Buttons[0]->Caption, L"&Document");
  EXPECT_EQ(skinner->FMenuBar->Buttons[1]->MenuItem, view);
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);

  // Menu items: one of the form's menu is measured by the skin (once, as the framework
  // measures it) and drawn from it; another identifier below 4096 is the window's own; a
  // larger one is measured from its text and drawn as an item of the window's menu, right
  // of the form's image column.
  HIMAGELIST images = ImageList_Create(32, 16, ILC_COLOR24, 1, 1);
  menu->Images = images;
  HMENU window = CreatePopupMenu();
  AppendMenuA(window, MF_STRING, 5000, "Zoom");
  AppendMenuA(window, MF_STRING, 5001, "");
  testkit::MemoryDC screen(1, 1);
  int width = 0, height = 0;
  plain->MeasureItem(screen.dc(), width, height);
  const std::uint32_t white = 0x00FFFFFF, etched = GetSysColor(COLOR_BTNSHADOW);
  const struct {
    UINT id;
    HMENU menu;
    int width;                 // 7: as it was
    std::uint32_t at60, at10;  // the pixels at (60, 1) and (10, 4)
  } cases[] = {{plain->Command(), file->Handle(), width, kMenuItem[0], kMenuItem[0]}, {4000, window, 7, white, white},
               {5000, window, 30, kMenuItem[0], kMenuItem[0]}, {5001, window, 30, kMenuItem[0], etched}};
  for (const auto& c : cases) {
    testkit::MemoryDC dc(120, 20, white);
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, c.id, 7, 7, 0};
    DRAWITEMSTRUCT dis{ODT_MENU, 0, c.id, ODA_DRAWENTIRE, 0, HWND(c.menu), dc.dc(), {0, 0, 120, 20}, 0};
    SendMessageA(form.Handle(), WM_MEASUREITEM, 0, LPARAM(&mis));
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, LPARAM(&dis));
    EXPECT_EQ(int(mis.itemWidth), c.width) << c.id;
    EXPECT_EQ(dc.At(60, 1), c.at60) << c.id;
    EXPECT_EQ(dc.At(10, 4), c.at10) << c.id;
    EXPECT_EQ(Count(dc, kMenuText, {0, 0, 40, 20}), 0) << c.id;
  }
  DestroyMenu(window);

  // Alt and a bar item's letter click the item (the answer is 1); another letter goes on (0).
  BYTE keys[256] = {};
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(form.Perform(CM_DIALOGCHAR, 'Q', 0), 0);
  EXPECT_EQ(form.Perform(CM_DIALOGCHAR, 'D', 0), 1);
  MSG click;
  EXPECT_TRUE(PeekMessageA(&click, form.Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  EXPECT_EQ(skinner->FMenuBar->ButtonAt(skinner->ScreenToWindow(click.lParam)), skinner->FMenuBar->Buttons[0].get());
  SetKeyboardState(std::array<BYTE, 256>{}.data());

  // Unskinned, the items have the handlers they had: the host's, or none.
  skinner->Unskin();
  for (TMenuItem* item : {plain, tall, own}) {
    item->MeasureItem(screen.dc(), width, height);
    EXPECT_EQ(height == 33, item != plain);
    EXPECT_EQ(bool(item->OnDrawItem), item == own);
  }
  // Each menu draws as it did before skinning.
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_TRUE(ownPopup->OwnerDraw());
  EXPECT_FALSE(popup->OwnerDraw());
  ShowWindow(form.Handle(), SW_HIDE);
  ImageList_Destroy(images);
}

// A host that changes its menu as a bar item is clicked: in the item's click, which runs
// before its drop-down shows, or as the click activates the window.
TEST_F(MenuPaintTest, AFormsHostChangesItsMenuAsABarItemIsClicked) {
  TForm form(nullptr);
  TMainMenu* menu = FileMenu(form, {new TMenuItem});
  TMenuItem* file = menu->Items()->Items(0);
  std::function<void()> activated;
  const TWndMethod own = form.WindowProc;
  form.WindowProc = [&, own](TMessage& m) {
    if (m.Msg == WM_ACTIVATE && LOWORD(m.WParam) != WA_INACTIVE && activated) activated();
    own(m);
  };
  form.Show();
  SetForegroundWindow(form.Handle());
  TWinSkinForm* skinner = Skin(form);
  ASSERT_NE(skinner->FMenuBar, nullptr);
  RECT window;
  GetWindowRect(form.Handle(), &window);
  const TSkinRect& at = skinner->FMenuBar->Buttons.at(0)->Bounds;
  const LPARAM click = MAKELPARAM(window.left + at.Left + 2, window.top + at.Top + 2);

  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  const struct {
    const char* how;
    std::function<void()> host;
    std::function<std::vector<HMENU>()> shown;
  } cases[] = {
      // File's click fills its drop-down anew: the new items show.
      {"click", [&] { file->OnClick = [&](TObject*) { file->Clear(), file->Add(new TMenuItem); }; },
       [&] { return std::vector<HMENU>{file->Handle()}; }},
      // File's click skins the form anew, freeing the skinner it came to: nothing opens.
      {"reskinned",
       [&] {
         file->OnClick = [&](TObject*) { skinner->Unskin(), delete skinner, skinner = Skin(form); };
       },
       [] { return std::vector<HMENU>{}; }},
      // Activated by the click, the window takes its menu away: nothing opens.
      {"activation", [&] { ShowWindow(other, SW_SHOW), SetForegroundWindow(other),
                           activated = [&] { menu->Items()->Clear(); }; },
       [] { return std::vector<HMENU>{}; }},
  };
  for (const auto& c : cases) {
    c.host();
    DropDowns::Watch({});
    SendMessageA(form.Handle(), WM_NCLBUTTONDOWN, HTMENU, click);
    testkit::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(DropDowns::shown, c.shown()) << c.how;
    EXPECT_FALSE(skinner->FMenuTracking) << c.how;
  }
  EXPECT_EQ(GetForegroundWindow(), form.Handle());
  DestroyWindow(other);
  ShowWindow(form.Handle(), SW_HIDE);
}

// Tool-bar buttons by state: frame 2 pressed, 4 hot, 1 the default one, the bar's own
// drawing otherwise; each button's frame inside its bounds, with the skin's text colour.
TEST_F(MenuPaintTest, ToolBarButtonsTakeTheirFrameByState) {
  const TSkinColour frames[5] = {0x00A04010, 0x0010A040, 0x00808080, 0x004010A0, 0x00A0A010};
  Load({{"Buttons", {{"Bitmap", "buttons.bmp"}, {"MouseOverColour2", "0 128 0"}}}},
       {{"buttons.bmp", Strip(10, 10, std::vector<TSkinColour>(frames, frames + 5), false)}});
  const struct {
    unsigned state;
    int frame;  // 0: left to the bar
  } cases[] = {{tbsSelected, 2}, {tbsHot, 4}, {tbsFocused, 4}, {tbsDefault, 1}, {tbsDefault | tbsGrayed, 0}, {0, 0}};
  for (const auto& c : cases) {
    testkit::MemoryDC dc(60, 24, 0x00FFFFFF);
    bool defaultDraw = true;
    PaintSkinToolButton(data_, dc.dc(), {0, 0, 60, 24}, c.state, L"Go", defaultDraw);
    EXPECT_EQ(defaultDraw, c.frame == 0) << c.state;
    EXPECT_EQ(dc.At(0, 0), 0x00FFFFFFu) << "the bounds shrunk by one pixel";
    EXPECT_EQ(dc.At(3, 3), c.frame ? frames[c.frame - 1] : 0x00FFFFFFu) << c.state;
  }
  // The background stays the bar's while the options keep it.
  testkit::MemoryDC bar(60, 24, 0x00FFFFFF);
  bool defaultDraw = true;
  PaintSkinToolBar(data_, bar.dc(), {0, 0, 60, 24}, defaultDraw);
  EXPECT_TRUE(defaultDraw);
}

}  // namespace
