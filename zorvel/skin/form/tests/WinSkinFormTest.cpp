// The form skinner on a plain window, a framework form and a dialog box, skinned with a
// test skin of solid colours; frames are painted into memory and sampled by pixel.
#include "WinSkinForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "SkinDrawWin.h"
#include "TestSkin.h"
#include "WinSkinData.h"
#include "WinSkinMenu.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "testkit/MemoryDC.h"
#include "testkit/TestKit.h"

namespace {

using namespace testskin;

// The plain window's own procedure: records every message, answers the host's button
// question, and keeps non-client clicks from starting the system's move loop.
std::vector<UINT> ownMessages;
LRESULT hostAnswer = 1;
bool systemMoves = false;  // the system's move and size loops may run

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ownMessages.push_back(msg);
  if (msg == WM_SKINBUTTONVISIBLE) return hostAnswer;
  if ((msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK) && !systemMoves) return 0;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreatePlainWindow(DWORD style = WS_OVERLAPPEDWINDOW, bool icon = true) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinTestNoIcon";
    bool ok = RegisterClassA(&wc) != 0;
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.lpszClassName = "SkinTestWindow";
    ok = RegisterClassA(&wc) && ok;
    wc.lpfnWndProc = DefMDIChildProcA;
    wc.lpszClassName = "SkinTestMdiChild";
    return RegisterClassA(&wc) && ok;
  }();
  EXPECT_TRUE(registered);
  HWND w = CreateWindowExA(0, icon ? "SkinTestWindow" : "SkinTestNoIcon", "plain", style, 40, 40,
                           400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // Tests that need the focus take it; the others leave it where it is.
  ShowWindow(w, SW_SHOWNOACTIVATE);
  return w;
}

// The posted message of that number, taken from the queue (so nothing acts on it).
bool TakePosted(HWND w, UINT msg, WPARAM& wParam) {
  MSG m;
  if (!PeekMessageA(&m, w, msg, msg, PM_REMOVE)) return false;
  wParam = m.wParam;
  return true;
}

// Counts the popup-menu windows this thread creates while it lives.
struct MenuCounter {
  static inline int menus = 0;
  HHOOK hook;
  MenuCounter() {
    menus = 0;
    hook = SetWindowsHookExA(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
          if (code == HCBT_CREATEWND && GetWndClassName(reinterpret_cast<HWND>(wParam)) == "#32768") ++menus;
          return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
  }
  ~MenuCounter() { UnhookWindowsHookEx(hook); }
};

// A menu opened from now closes itself after `ms`.
void EndMenuAfter(UINT ms) {
  SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
}

POINT ScreenPoint(HWND w, int x, int y) {
  RECT r;
  GetWindowRect(w, &r);
  return {r.left + x, r.top + y};
}

LPARAM ScreenParam(HWND w, int x, int y) {
  const POINT p = ScreenPoint(w, x, y);
  return MAKELPARAM(p.x, p.y);
}

using Size = std::pair<LONG, LONG>;
Size WindowSize(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {r.right - r.left, r.bottom - r.top};
}
Size ClientSize(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

class FormSkinnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitSkinData();
    InitSkinDraw();
    savedVersion_ = SkinWinVersion;
    SkinWinVersion = 0x1DB10106;  // 6.1, what a new Wine prefix reports
    LoadSkin();
    ownMessages.clear();
    hostAnswer = 1;
    systemMoves = false;
  }
  void TearDown() override {
    // Hidden first: under Wine, destroying a visible window waits on the X server.
    for (HWND w : windows_)
      if (IsWindow(w)) {
        ShowWindow(w, SW_HIDE);
        DestroyWindow(w);
      }
    skinners_.clear();
    data_.reset();
    SkinWinVersion = savedVersion_;
    DoneSkinDraw();
    DoneSkinData();
  }

  void LoadSkin(const Overrides& overrides = {}, const Images& images = {}) {
    if (!data_) data_ = std::make_unique<TSkinData>(nullptr);
    const std::vector<std::uint8_t> archive = Pack(overrides, images);
    data_->SkinStream.Clear();
    data_->SkinStream.Write(archive.data(), archive.size());
    ASSERT_TRUE(data_->LoadSkinStream());
  }

  // Attaches a skinner to a plain window and starts it as the manager would.
  TWinSkinForm& SkinPlain(HWND w, bool start = true) {
    windows_.push_back(w);
    auto skinner = std::make_unique<TWinSkinForm>(nullptr);
    skinner->FHandle = w;
    skinner->AttachPlainWindow(data_.get());
    if (start) SendMessageA(w, WM_SKINSTART, 0, 1000);
    skinners_.push_back(std::move(skinner));
    return *skinners_.back();
  }

  // The whole window as the skinner paints it.
  std::unique_ptr<testkit::MemoryDC> Paint(TWinSkinForm& skinner) {
    const auto [W, H] = WindowSize(skinner.FHandle);
    auto dc = std::make_unique<testkit::MemoryDC>(W, H, 0x00808080);
    skinner.PaintFrame(dc->dc());
    return dc;
  }

  std::unique_ptr<TSkinData> data_;
  std::vector<std::unique_ptr<TWinSkinForm>> skinners_;
  std::vector<HWND> windows_;
  DWORD savedVersion_ = 0;
};

TEST_F(FormSkinnerTest, FrameIsPaintedFromTheSkinActiveAndInactive) {
  HWND w = CreatePlainWindow();
  const Size client = ClientSize(w);
  TWinSkinForm& s = SkinPlain(w);

  // The client area keeps its size inside the skin's borders.
  EXPECT_EQ(ClientSize(w), client);
  const auto [W, H] = WindowSize(w);
  EXPECT_EQ(W, client.first + kLeftWidth + kRightWidth);
  EXPECT_EQ(H, client.second + kTopHeight + kBottomHeight);

  const int right = W - 1, closeX = W - 24 + 8, maxX = W - 44 + 8, minX = W - 64 + 8, y = 6 + 7;
  for (int active : {1, 0}) {
    SendMessageA(w, WM_NCACTIVATE, active, 0);
    const auto dc = Paint(s);
    const int f = active ? 0 : 1;
    const struct {
      int x, y;
      TSkinColour colour;
    } samples[] = {
        {2, H / 2, kLeft[f]},
        {right - 2, H / 2, kRight[f]},
        {W / 2, H - 3, kBottom[f]},
        {W / 2, 15, kTop[f]},
        {2, 15, kLeft[f]},  // the caption strip's corners are the side borders' tops
        // Buttons show frame 1 while active, frame 4 while inactive; a three-frame
        // button stays at frame 1.
        {closeX, y, kButton[kClose][active ? 0 : 3]},
        {maxX, y, kButton[kMaximize][active ? 0 : 3]},
        {minX, y, kButton[kMinimize][active ? 0 : 3]},
        {100 + 8, y, kButton[kCustom][active ? 0 : 3]},
        {130 + 8, y, kButton[kThree][0]},
    };
    for (const auto& p : samples)
      EXPECT_EQ(dc->At(p.x, p.y), p.colour) << (active ? "active" : "inactive") << " at " << p.x << "," << p.y;
  }

  // Hit testing answers from the same geometry.
  const struct {
    int x, y;
    LRESULT answer;
  } hits[] = {{W / 2, 15, HTCAPTION}, {W / 2, 5, HTCAPTION},         {W / 2, H / 2, HTCLIENT},
              {1, H / 2, HTLEFT},     {W - 2, H - 2, HTBOTTOMRIGHT}, {W / 2, 1, HTTOP}};
  for (const auto& c : hits)
    EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, ScreenParam(w, c.x, c.y)), c.answer) << c.x << "," << c.y;
}

TEST_F(FormSkinnerTest, CaptionButtonsShowHotAndPressedFramesAndActOnRelease) {
  HWND w = CreatePlainWindow();
  TWinSkinForm& s = SkinPlain(w);
  const int W = WindowSize(w).first, y = 13;

  const struct {
    int x;
    Button button;
    UINT msg;
    WPARAM wParam;
  } cases[] = {
      {W - 24 + 8, kClose, WM_SYSCOMMAND, SC_CLOSE},
      {W - 44 + 8, kMaximize, WM_SYSCOMMAND, SC_MAXIMIZE},
      {W - 64 + 8, kMinimize, WM_SYSCOMMAND, SC_MINIMIZE},
      {100 + 8, kCustom, WM_SKINBUTTONACTION, 40},
  };
  for (const auto& c : cases) {
    SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenParam(w, c.x, y));
    EXPECT_EQ(Paint(s)->At(c.x, y), kButton[c.button][2]) << "hot " << c.x;
    SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(w, c.x, y));
    EXPECT_EQ(Paint(s)->At(c.x, y), kButton[c.button][1]) << "pressed " << c.x;
    SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(w, c.x, y));
    SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, ScreenParam(w, c.x, y));
    WPARAM posted = 0;
    EXPECT_TRUE(TakePosted(w, c.msg, posted)) << c.x;
    EXPECT_EQ(posted, c.wParam);
  }
  // The own procedure never saw the clicks that the buttons took.
  EXPECT_EQ(std::count(ownMessages.begin(), ownMessages.end(), UINT(WM_NCLBUTTONUP)), 0);

  // A host that says no hides its button: the point is caption again.
  hostAnswer = 0;
  Paint(s);
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(w, 108, y));
  EXPECT_EQ(std::count(ownMessages.begin(), ownMessages.end(), UINT(WM_NCLBUTTONDOWN)), 1);
}

TEST_F(FormSkinnerTest, RegionCutsTheTransparentCornersAndIsCachedBySize) {
  HWND w = CreatePlainWindow();
  TWinSkinForm& s = SkinPlain(w);
  const auto [W, H] = WindowSize(w);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  const struct {
    int x, y;
    bool inside;
  } points[] = {{0, 0, false},    {2, 0, false},        {1, 1, false},     {0, 2, false},
                {3, 0, true},     {1, 2, true},         {W - 1, 0, false}, {W - 4, 0, true},
                {0, H - 1, true}, {W - 1, H - 1, true}, {W / 2, 0, true}};
  for (const auto& p : points) EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;

  const int builds = s.RegionBuilds;
  SetWindowPos(w, nullptr, 0, 0, W + 20, H, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(w, nullptr, 0, 0, W + 20, H, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(s.RegionBuilds, builds + 1);

  // A skin without transparent sides gives the whole rectangle.
  LoadSkin({{"Personality", {{"LeftTrans", "0"}, {"RightTrans", "0"}, {"TopTrans", "0"}}}});
  HWND plain = CreatePlainWindow();
  SkinPlain(plain);
  ASSERT_NE(GetWindowRgn(plain, rgn), ERROR);
  RECT box;
  GetRgnBox(rgn, &box);
  EXPECT_EQ(GetRegionData(rgn, 0, nullptr), sizeof(RGNDATAHEADER) + sizeof(RECT));
  EXPECT_EQ(box.right - box.left, WindowSize(plain).first);
  DeleteObject(rgn);
}

TEST_F(FormSkinnerTest, UnskinGivesBackProcedureStyleRegionMenuAndClientSize) {
  HWND w = CreatePlainWindow();
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 1, "&File");
  SetMenu(w, menu);
  const LONG_PTR proc = GetWindowLongPtrA(w, GWLP_WNDPROC);
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  const Size client = ClientSize(w);

  TWinSkinForm& s = SkinPlain(w);
  s.AttachPlainWindow(data_.get());  // a second attach changes nothing
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
  s.Unskin();

  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), proc);
  EXPECT_EQ(GetWindowLongA(w, GWL_STYLE), style);
  EXPECT_EQ(GetMenu(w), menu);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, rgn), ERROR);
  DeleteObject(rgn);
  EXPECT_EQ(ClientSize(w), client);
}

TEST_F(FormSkinnerTest, FrameworkFormIsSkinnedThroughItsWindowProcAndRestored) {
  TForm form(nullptr);
  form.SetClientSize(300, 200);
  form.SetColor(clWindow);
  form.Show();
  HWND w = form.Handle();
  windows_.push_back(w);

  auto* s = new TWinSkinForm(&form);  // owned by the form, as the manager does it
  s->FHandle = w;
  s->AttachForm(data_.get(), &form);
  SendMessageA(w, WM_SKINSTART, 0, 1000);
  EXPECT_EQ(form.Color(), TColor(kButtonFace));

  // A host can have the frame painted into its own DC.
  const auto [W, H] = WindowSize(w);
  testkit::MemoryDC dc(W, H);
  EXPECT_EQ(SendMessageA(w, WM_SKINPAINTINTO, reinterpret_cast<WPARAM>(dc.dc()), kSkinHostKey), kSkinHostKey);
  EXPECT_EQ(dc.At(2, H / 2), kLeft[0]);
  EXPECT_EQ(SendMessageA(w, WM_SKINHOSTQUERY, 0, kSkinHostKey), kSkinHostKey);
  EXPECT_EQ(SendMessageA(w, WM_SKINHOSTQUERY, 0, 0), 1);

  // A new caption keeps the skinned frame and the form's client size.
  form.SetCaption("renamed");
  EXPECT_EQ(ClientSize(w), Size(300, 200));

  s->Unskin();
  EXPECT_EQ(form.Color(), clWindow);
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(ClientSize(w), Size(300, 200));
  delete s;
}

TEST_F(FormSkinnerTest, WindowDestroyedWhileSkinnedLeavesTheSkinnerDone) {
  HWND w = CreatePlainWindow();
  TWinSkinForm& s = SkinPlain(w);
  DestroyWindow(w);
  EXPECT_EQ(s.FState, 6);
  EXPECT_FALSE(s.Attached());
}

TEST_F(FormSkinnerTest, SystemMenuOpensFromTheIconButtonAndASecondClickCloses) {
  // A window without an icon when it is skinned shows the one it has by the start; one
  // that never has any shows the default application icon.
  const struct {
    bool iconAtAttach;
    LPCSTR later;  // the icon it is given between attaching and starting
  } cases[] = {{true, nullptr}, {false, IDI_WARNING}, {false, nullptr}};
  std::vector<std::uint32_t> shown[std::size(cases)];
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    HWND w = CreatePlainWindow(WS_OVERLAPPEDWINDOW, cases[i].iconAtAttach);
    TWinSkinForm& s = SkinPlain(w, false);
    if (cases[i].later) SendMessageA(w, WM_SETICON, ICON_SMALL, LPARAM(LoadIconA(nullptr, cases[i].later)));
    SendMessageA(w, WM_SKINSTART, 0, 1000);
    const auto dc = Paint(s);
    int drawn = 0;  // the 16 x 16 button at (8, 7)
    for (int y = 7; y < 23; ++y)
      for (int x = 8; x < 24; ++x) {
        drawn += dc->At(x, y) != kTop[0];
        shown[i].push_back(dc->At(x, y));
      }
    EXPECT_GT(drawn, 0) << i;
    const LPARAM icon = ScreenParam(w, 8 + 4, 7 + 4);
    {
      MenuCounter counter;
      EndMenuAfter(300);
      SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, icon);
      SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, icon);
      EXPECT_EQ(counter.menus, 1) << i;
    }
    // Within the double-click time, a second click on the icon closes the window.
    SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, icon);
    SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, icon);
    WPARAM posted = 0;
    EXPECT_TRUE(TakePosted(w, WM_CLOSE, posted)) << i;
  }
  EXPECT_NE(shown[1], shown[2]);  // the icon given later, not the default one
}

TEST_F(FormSkinnerTest, MaximizedMdiChildsButtonsShowTheirStatesAndTheClientGetsItsProcedureBack) {
  std::vector<TSkinColour> mdi;  // four frames each of minimize, restore and close
  for (Button b : {kMinimize, kRestore, kClose}) mdi.insert(mdi.end(), kButton[b], kButton[b] + 4);
  LoadSkin({{"MDICONTROLS", {{"Image", "mdi.bmp"}}}},
           {{"mdi.bmp", Strip(kButtonWidth, kButtonHeight, mdi, false)}});
  HWND frame = CreatePlainWindow();
  SetMenu(frame, CreateMenu());
  CLIENTCREATESTRUCT ccs{nullptr, 1000};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100,
                                frame, nullptr, nullptr, &ccs);
  const LONG_PTR clientProc = GetWindowLongPtrA(client, GWLP_WNDPROC);
  // Above and away from other programs' windows, whose overlap would clip its painting.
  SetWindowPos(frame, HWND_TOPMOST, 840, 680, 0, 0, SWP_NOSIZE);
  SetForegroundWindow(frame);
  TWinSkinForm& s = SkinPlain(frame);
  MDICREATESTRUCTA child{"SkinTestMdiChild", "child", nullptr, 0, 0, 200, 150, WS_MAXIMIZE, 0};
  SendMessageA(client, WM_MDICREATE, 0, LPARAM(&child));
  SendMessageA(frame, WM_SKINREPAINTFRAME, 0, 0);

  // The buttons stand in the menu bar, Xcoord 60, 40 and 20 from its right end (less the
  // bar's end piece of 2); what the window shows is read back from it.
  const int W = WindowSize(frame).first, y = kTopHeight + s.FMenuBarHeight / 2;
  HDC dc = GetWindowDC(frame);
  const std::pair<int, Button> buttons[] = {{60, kMinimize}, {40, kRestore}, {20, kClose}};
  // With the frame window inactive they keep frame 1, where caption buttons show frame 4.
  SendMessageA(frame, WM_NCACTIVATE, FALSE, 0);
  for (const auto& [xcoord, button] : buttons) {
    const int x = W - xcoord - kRightWidth - 2 + kButtonWidth / 2;
    EXPECT_EQ(GetPixel(dc, x, y), kButton[button][0]) << "inactive " << x;
  }
  SendMessageA(frame, WM_NCACTIVATE, TRUE, 0);
  for (const auto& [xcoord, button] : buttons) {
    const int x = W - xcoord - kRightWidth - 2 + kButtonWidth / 2;
    SendMessageA(frame, WM_NCMOUSEMOVE, HTMENU, ScreenParam(frame, x, y));
    EXPECT_EQ(GetPixel(dc, x, y), kButton[button][3]) << "hot " << x;
    SendMessageA(frame, WM_NCLBUTTONDOWN, HTMENU, ScreenParam(frame, x, y));
    EXPECT_EQ(GetPixel(dc, x, y), kButton[button][1]) << "pressed " << x;
  }
  ReleaseDC(frame, dc);

  // The child's system menu, first in the merged bar, opened there once: the child's own
  // skinned system menu still shows its items' texts.
  SendMessageA(client, WM_MDISETMENU, WPARAM(GetMenu(frame)), 0);
  ASSERT_FALSE(s.FMenuBar->Buttons.empty());
  EndMenuAfter(200);
  SendMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 0);
  const HWND childWindow = HWND(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
  TWinSkinForm& c = SkinPlain(childWindow);
  EndMenuAfter(200);
  SendMessageA(childWindow, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_NE(c.FSystemMenuPopup, nullptr);
  const TMenuItem* items = c.FSystemMenuPopup->Items();
  for (int i = 0; i < items->Count(); ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(GetSystemMenu(childWindow, FALSE), UINT(i), TRUE, &info);
    EXPECT_EQ(items->Items(i)->IsLine(), (info.fType & MFT_SEPARATOR) != 0) << i;
  }

  // Freed while attached (the manager's shutdown does so), the skinner leaves the client
  // its own procedure.
  skinners_.clear();
  EXPECT_EQ(GetWindowLongPtrA(client, GWLP_WNDPROC), clientProc);
}

TEST_F(FormSkinnerTest, SystemMenuCopiesTheSystemsItemsByCommandAndFollowsTheWindowState) {
  HWND w = CreatePlainWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  TWinSkinForm& s = SkinPlain(w);
  HMENU system = GetSystemMenu(w, FALSE);
  EnableMenuItem(system, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  EndMenuAfter(200);
  SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_NE(s.FSystemMenuPopup, nullptr);
  const TMenuItem* items = s.FSystemMenuPopup->Items();
  ASSERT_EQ(items->Count(), GetMenuItemCount(system));
  const struct {
    UINT command;
    int image;
    bool enabled;
    int show = 0;  // a sizable window shown so, else the fixed one: Size only sizable, restored
  } cases[] = {{SC_RESTORE, 0, false}, {SC_MOVE, -1, true},     {SC_SIZE, -1, false},
               {SC_MINIMIZE, 2, true}, {SC_MAXIMIZE, 1, false}, {SC_CLOSE, 3, false},
               {SC_SIZE, -1, true, SW_SHOWNOACTIVATE}, {SC_SIZE, -1, false, SW_MAXIMIZE},
               {SC_MOVE, -1, false, SW_MAXIMIZE}, {SC_SIZE, -1, false, SW_SHOWMINNOACTIVE}};
  for (const auto& c : cases) {
    if (c.show && c.show != (&c - 1)->show) {
      HWND v = CreatePlainWindow(WS_OVERLAPPEDWINDOW);
      ShowWindow(v, c.show), EndMenuAfter(200);
      TWinSkinForm& t = SkinPlain(v);
      SendMessageA(v, WM_SYSCOMMAND, SC_KEYMENU, ' ');
      items = t.FSystemMenuPopup->Items();
    }
    const TMenuItem* item = nullptr;
    for (int i = 0; i < items->Count(); ++i)
      if (UINT(items->Items(i)->Tag) == c.command) item = items->Items(i);
    ASSERT_NE(item, nullptr) << c.command;
    EXPECT_EQ(item->ImageIndex(), c.image) << c.command;
    EXPECT_EQ(item->Enabled(), c.enabled) << c.command << " shown " << c.show;
  }
}

TEST_F(FormSkinnerTest, DialogFrameWidensForItsCaptionAndKeepsTheTabOrder) {
  // A dialog template with three buttons and a long caption.
  struct alignas(4) Template {
    DLGTEMPLATE dlg;
    WORD menu, cls;
    wchar_t title[60];
  };
  Template t{};
  t.dlg.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  t.dlg.cx = 60;
  t.dlg.cy = 40;
  wcscpy(t.title, L"A dialog with a caption much wider than the dialog itself");
  HWND dlg = CreateDialogIndirectParamA(
      GetModuleHandleA(nullptr), &t.dlg, nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(dlg, nullptr);
  std::vector<HWND> children;
  for (int i = 0; i < 3; ++i)
    children.push_back(CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10 + 20 * i, 10, 18, 18,
                                       dlg, nullptr, nullptr, nullptr));
  RECT before;
  GetWindowRect(children[0], &before);
  TWinSkinForm& s = SkinPlain(dlg);

  RECT window, after;
  GetWindowRect(dlg, &window);
  GetWindowRect(children[0], &after);
  EXPECT_GT(window.right - window.left, 300);  // widened for the caption
  EXPECT_GT(after.left - window.left, before.left - window.left);
  // Tab order (the z-order) is unchanged.
  std::vector<HWND> order;
  for (HWND c = GetTopWindow(dlg); c; c = GetWindow(c, GW_HWNDNEXT)) order.push_back(c);
  EXPECT_EQ(order, children);
  // The icon button does not show on a dialog frame.
  for (const auto& b : s.FButtons) {
    if (b->Element->Action == 3) {
      EXPECT_FALSE(b->Visible);
    }
  }
}

TEST_F(FormSkinnerTest, CaptionStyleIsTakenAwayOnlyOnSystemsThatHideIt) {
  for (DWORD version : {DWORD(0x0005), DWORD(0x0106)}) {
    SkinWinVersion = version;  // 5.0, then 6.1
    HWND w = CreatePlainWindow();
    TWinSkinForm& s = SkinPlain(w);
    const bool removed = version == 0x0005;
    EXPECT_EQ((GetWindowLongA(w, GWL_STYLE) & WS_CAPTION) != WS_CAPTION, removed) << version;
    s.Unskin();
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION, LONG(WS_CAPTION)) << version;
  }
}

// A user's mouse, from another thread: a press on the frame starts the system's modal
// move or size loop here, which must see the later steps as they happen.
struct MouseStep {
  POINT at;
  DWORD flags;
};
void Mouse(std::vector<MouseStep> steps) {
  struct Gesture {
    std::vector<MouseStep> steps;
    volatile bool done = false;
  } gesture{std::move(steps)};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* g = static_cast<Gesture*>(p);
        const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
        for (const MouseStep& s : g->steps) {
          INPUT in{};
          in.type = INPUT_MOUSE;
          in.mi.dx = s.at.x * 65535 / w;
          in.mi.dy = s.at.y * 65535 / h;
          in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | s.flags;
          SendInput(1, &in, sizeof in);
          Sleep(50);
        }
        g->done = true;
        return 0;
      },
      &gesture, 0, nullptr);
  testkit::PumpUntil([&] { return gesture.done; }, 5000);
  testkit::PumpUntil([] { return false; }, 100);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

void Drag(POINT from, POINT to) {
  Mouse({{from, 0},
         {from, MOUSEEVENTF_LEFTDOWN},
         {{(from.x + to.x) / 2, (from.y + to.y) / 2}, 0},
         {to, 0},
         {to, MOUSEEVENTF_LEFTUP}});
}

TEST_F(FormSkinnerTest, UserDragsByTheCaptionAndResizesByTheBorder) {
  systemMoves = true;
  HWND w = CreatePlainWindow();
  SetForegroundWindow(w);
  SkinPlain(w);
  RECT before, after;
  GetWindowRect(w, &before);
  Drag(ScreenPoint(w, 200, 15), ScreenPoint(w, 260, 55));
  GetWindowRect(w, &after);
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 40);
  EXPECT_EQ(after.right - after.left, before.right - before.left);

  const int W = after.right - after.left, H = after.bottom - after.top;
  Drag(ScreenPoint(w, W - 2, H / 2), ScreenPoint(w, W + 48, H / 2));
  GetWindowRect(w, &after);
  EXPECT_EQ(after.right - after.left, W + 50);
  // The region follows the new size: the right border's cut corner moved with it.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, W + 49, 0));
  EXPECT_TRUE(PtInRegion(rgn, W - 1, 0));
  DeleteObject(rgn);
}

TEST_F(FormSkinnerTest, RightClickOnTheCaptionShowsOnlyTheSkinnedSystemMenu) {
  HWND w = CreatePlainWindow();
  SetForegroundWindow(w);
  TWinSkinForm& s = SkinPlain(w);
  MenuCounter counter;
  EndMenuAfter(250);
  const POINT caption = ScreenPoint(w, 200, 15);
  Mouse({{caption, 0}, {caption, MOUSEEVENTF_RIGHTDOWN}, {caption, MOUSEEVENTF_RIGHTUP}});
  EXPECT_NE(s.FSystemMenuPopup, nullptr);
  EXPECT_EQ(counter.menus, 1);
}

}  // namespace
