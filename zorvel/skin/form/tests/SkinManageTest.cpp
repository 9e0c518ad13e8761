// The skin manager on real windows: forms, message boxes, popup menus and MDI windows
// skinned by the hook, skins switched and switched off at run time, windows left alone.
#include "SkinManage.h"

#include <gtest/gtest.h>

#include <memory>

#include "SkinDrawWin.h"
#include "TestSkin.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "WinSkinPopMenu.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "testkit/MemoryDC.h"
#include "testkit/TestKit.h"

namespace {

using namespace testskin;

bool Skinned(HWND w) { return SendMessageA(w, WM_SKINQUERY, 0, 0) == 1; }

// The pixel at (x, y) of the frame the skinner paints for the window.
TSkinColour FramePixel(HWND w, int x, int y) {
  RECT r;
  GetWindowRect(w, &r);
  testkit::MemoryDC dc(r.right - r.left, r.bottom - r.top);
  SendMessageA(w, WM_SKINPAINTINTO, reinterpret_cast<WPARAM>(dc.dc()), kSkinHostKey);
  return dc.At(x, y);
}

int WindowWidth(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return r.right - r.left;
}

// A form that carries a skin data component with two skins in a store, as the program's
// main form does; its window is shown by Start.
struct SkinnedForm : TForm {
  TSkinStore* Store;
  TSkinData* Data;
  TButton* Button;

  explicit SkinnedForm(const Overrides& second = {{"Personality", {{"LeftFrame", "1"}}}}) : TForm(nullptr) {
    SetClientSize(320, 200);
    Button = new TButton(this);
    Button->SetParent(this);
    Button->SetBounds(10, 10, 80, 24);
    Store = new TSkinStore(this);
    for (const auto& archive : {Pack(), Pack(second)}) {
      TSkinCollectionItem* item = Store->Store()->Add();
      item->DataStream.Write(archive.data(), archive.size());
    }
    Data = new TSkinData(this);
    Data->Loaded();
    Data->LoadSkinFromStore(Store, 0);
    Data->SetActive(true);
  }
  ~SkinnedForm() override {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  }
  void Start() {
    Show();
    ASSERT_TRUE(testkit::PumpUntil([this] { return Skinned(Handle()); }, 1000));
    testkit::PumpUntil([] { return false; }, 50);
  }
};

class SkinManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitSkinData();
    InitSkinDraw();
    InitSkinManage();
  }
  void TearDown() override {
    DoneSkinManage();
    DoneSkinDraw();
    DoneSkinData();
  }
  static TSkinManage& Manager() { return *ActiveSkinManager(); }
  // Runs the pending action now instead of after its delay.
  static void RunNow() { Manager().RunAction(); }
};

TEST_F(SkinManagerTest, FormIsSkinnedWhenFirstActivatedAndUnskinnedWhenSwitchedOff) {
  SkinnedForm form;
  ASSERT_NE(ActiveSkinManager(), nullptr);
  EXPECT_NE(Manager().HookHandle, nullptr);
  form.Start();
  HWND w = form.Handle();
  EXPECT_EQ(Manager().FormSkinners.size(), 1u);
  EXPECT_EQ(FramePixel(w, 2, 100), kLeft[0]);

  // Switched off: after the delay the skinner unskins the window (what that restores is
  // the form skinner's test) and goes.
  form.Data->SetActive(false);
  ASSERT_TRUE(testkit::PumpUntil([w] { return !Skinned(w); }, 1000));
  EXPECT_TRUE(Manager().FormSkinners.empty());

  // And on again.
  form.Data->SetActive(true);
  ASSERT_TRUE(testkit::PumpUntil([w] { return Skinned(w); }, 1000));
}

TEST_F(SkinManagerTest, LoadingAnotherSkinRepaintsTheFormsAfterTheDelay) {
  SkinnedForm form;
  form.Start();
  HWND w = form.Handle();
  RECT before;
  GetWindowRect(w, &before);
  int changed = 0;
  form.Data->OnSkinChanged = [&](TObject*) { ++changed; };
  form.Data->LoadSkinFromStore(form.Store, 1);
  EXPECT_EQ(Manager().PendingAction, 3);
  ASSERT_TRUE(testkit::PumpUntil([&] { return changed == 1; }, 1000));
  RECT after;
  GetWindowRect(w, &after);
  // The second skin's left border is twice as wide; the client area keeps its size.
  EXPECT_EQ(after.right - after.left, before.right - before.left + kLeftWidth);
  EXPECT_EQ(FramePixel(w, kLeftWidth + 2, 100), kLeft[1]);
}

TEST_F(SkinManagerTest, RefusedSkinChangesNothingTheUserSees) {
  std::vector<std::uint8_t> cut = Pack();
  cut.resize(cut.size() / 2);
  // Title margins wider than the screen, and an archive that does not hold together.
  for (const auto& refused : {Pack({{"Personality", {{"TextShift", "30000"}}}}), cut}) {
    SkinnedForm form;
    form.Start();
    const HWND w = form.Handle();
    TSkinCollectionItem* item = form.Store->Store()->Add();
    item->DataStream.Write(refused.data(), refused.size());
    testkit::ClearMessageBoxes();
    form.Data->LoadSkinFromStore(form.Store, 2);
    EXPECT_EQ(testkit::MessageBoxes().size(), 1u) << "the user hears why";
    testkit::PumpUntil([] { return false; }, 400);  // past the manager's delay
    EXPECT_EQ(FramePixel(w, 2, 100), kLeft[0]) << "the frame stays";
    EXPECT_EQ(FramePixel(w, WindowWidth(w) - 24 + 8, 13), kButton[kClose][0]) << "the caption buttons stay";
    TForm later(nullptr);
    later.SetClientSize(100, 80);
    later.Show();
    EXPECT_TRUE(testkit::PumpUntil([&] { return Skinned(later.Handle()); }, 1000)) << "new windows are skinned";
    ShowWindow(later.Handle(), SW_HIDE);
    HWND menu = CreateWindowExA(0, "#32768", nullptr, WS_POPUP, 0, 0, 60, 40, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(Skinned(menu)) << "popup menus are skinned";
    DestroyWindow(menu);
    form.Data->SetActive(false);
    ASSERT_TRUE(testkit::PumpUntil([w] { return !Skinned(w); }, 1000));
    form.Data->SetActive(true);
    EXPECT_TRUE(testkit::PumpUntil([w] { return Skinned(w); }, 1000)) << "skinning switches on again";
  }
}

TEST_F(SkinManagerTest, WindowsThatMustBeLeftAloneStayUnskinned) {
  SkinnedForm form;
  form.Start();
  // A form tagged 99, whatever the skin data's own tag says.
  form.Data->DisableTag = 5;
  TForm tagged(nullptr);
  tagged.Tag = 99;
  tagged.SetClientSize(100, 80);
  tagged.Show();
  // A window that says it is skinned already.
  struct Answering : TForm {
    using TForm::TForm;
    void WndProc(TMessage& m) override {
      if (m.Msg == WM_SKINQUERY) {
        m.Result = 1;
        return;
      }
      TForm::WndProc(m);
    }
  } answering(nullptr);
  answering.SetClientSize(100, 80);
  answering.Show();
  testkit::PumpUntil([] { return false; }, 200);
  EXPECT_FALSE(Skinned(tagged.Handle()));
  EXPECT_EQ(Manager().FindFormSkinner(answering.Handle()), nullptr);
  EXPECT_EQ(Manager().FormSkinners.size(), 1u);
  ShowWindow(tagged.Handle(), SW_HIDE);
  ShowWindow(answering.Handle(), SW_HIDE);
}

TEST_F(SkinManagerTest, MessageBoxIsSkinnedByTheHook) {
  SkinnedForm form;
  form.Start();
  static bool boxSkinned = false;
  boxSkinned = false;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", "skinned?");
    if (!box) return;
    // Its OK button too, by window class.
    if (Skinned(box) && Skinned(GetDlgItem(box, IDOK))) boxSkinned = true;
    KillTimer(nullptr, id);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxA(form.Handle(), "请选择保存的文件夹", "skinned?", MB_OK);
  EXPECT_TRUE(boxSkinned);
  // The box's skinner is done with its window and waits for the next purge.
  ASSERT_EQ(Manager().FormSkinners.size(), 2u);
  EXPECT_EQ(Manager().FormSkinners[1]->FState, 6);
}

TEST_F(SkinManagerTest, SystemMenuOpensWithTheSkinnedBackground) {
  SkinnedForm form;
  form.Start();
  HWND w = form.Handle();
  static struct {
    HWND menu;
    bool skinned;
    COLORREF corner;
  } seen;
  seen = {};
  SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    seen.menu = FindWindowA("#32768", nullptr);
    seen.skinned = seen.menu && Skinned(seen.menu) && ActiveSkinManager()->HasPopupSkinner(seen.menu);
    RECT r{};
    GetWindowRect(seen.menu, &r);
    HDC screen = GetDC(nullptr);
    seen.corner = GetPixel(screen, r.left + 1, r.top + 1);
    ReleaseDC(nullptr, screen);
    EndMenu();
  });
  SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_TRUE(seen.skinned);
  EXPECT_EQ(seen.corner, COLORREF(kMenuRing));
  // Gone with its window.
  EXPECT_TRUE(Manager().PopupSkinners.empty());
  EXPECT_EQ(Manager().PopupKind, 0);
}

TEST_F(SkinManagerTest, SkinSwitchWhileAPopupIsOpenAndShortLivedWindowsLeaveNothingBehind) {
  SkinnedForm form;
  form.Start();
  static SkinnedForm* target;
  target = &form;
  SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    target->Data->LoadSkinFromStore(target->Store, 1);
    ActiveSkinManager()->RunAction();
    target->Data->SetActive(false);
    ActiveSkinManager()->RunAction();
    EndMenu();
  });
  SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_FALSE(Skinned(form.Handle()));
  EXPECT_TRUE(Manager().PopupSkinners.empty());

  form.Data->SetActive(true);
  RunNow();
  for (int i = 0; i < 20; ++i) {
    auto quick = std::make_unique<TForm>(nullptr);
    quick->SetClientSize(60, 40);
    quick->Show();
    Application->ProcessMessages();
    if (i % 2) ShowWindow(quick->Handle(), SW_HIDE);
  }
  testkit::PumpUntil([] { return false; }, 100);
  EXPECT_EQ(Manager().FormSkinners.size(), 1u);  // the form's own, the others gone
}

TEST_F(SkinManagerTest, SkinDataThatGoesUnskinsTheWindowsAndMenusThatUseIt) {
  SkinnedForm form;
  auto* later = new TSkinData(nullptr);  // of the main kind and registered later: windows take it
  later->Loaded();
  later->LoadSkinFromStore(form.Store, 1);
  form.Start();
  HWND menu = CreateWindowExA(0, "#32768", nullptr, WS_POPUP, 0, 0, 60, 40, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_TRUE(Skinned(menu));
  delete later;
  EXPECT_FALSE(Skinned(form.Handle()));
  EXPECT_FALSE(Skinned(menu));
  DestroyWindow(menu);
}

TEST_F(SkinManagerTest, SwitchingAgainAndAgainKeepsTheGdiObjectsFlat) {
  SkinnedForm form;
  form.Start();
  auto cycle = [&](int n) {
    for (int i = 0; i < n; ++i) {
      form.Data->LoadSkinFromStore(form.Store, i % 2);
      RunNow();
      form.Data->SetActive(false);
      RunNow();
      form.Data->SetActive(true);
      RunNow();
      Application->ProcessMessages();
    }
  };
  cycle(5);
  const int before = testkit::FreeGdiCapacity();
  cycle(200);
  const int after = testkit::FreeGdiCapacity();
  EXPECT_LE(before - after, 10) << "GDI objects kept per 200 cycles";
}

// An MDI frame of the system's kind: its client window, two children, one maximized.
LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  static HWND client = nullptr;
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, w,
                             nullptr, GetModuleHandleA(nullptr), &ccs);
  }
  return DefFrameProcA(w, client, msg, wp, lp);
}

TEST_F(SkinManagerTest, MdiFrameAndChildrenAreSkinnedAndAMaximizedChildShowsInTheFrame) {
  SkinnedForm form;  // the program's main form, which carries the skin
  form.Start();
  WNDCLASSA frameClass{}, childClass{};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = childClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.lpszClassName = "SkinMdiFrame";
  childClass.lpfnWndProc = DefMDIChildProcA;
  childClass.lpszClassName = "SkinMdiChild";
  RegisterClassA(&frameClass);
  RegisterClassA(&childClass);
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 1, "&Window");
  HWND frame = CreateWindowExA(0, "SkinMdiFrame", "frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20,
                               20, 500, 400, nullptr, menu, GetModuleHandleA(nullptr), nullptr);
  HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
  ASSERT_NE(client, nullptr);
  ASSERT_TRUE(testkit::PumpUntil([&] { return Skinned(frame); }, 1000));
  MDICREATESTRUCTA child{"SkinMdiChild", "child", GetModuleHandleA(nullptr), 0, 0, 200, 150, WS_OVERLAPPEDWINDOW,
                         0};
  HWND first = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, LPARAM(&child)));
  HWND second = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, LPARAM(&child)));
  testkit::PumpUntil([] { return false; }, 150);
  EXPECT_TRUE(Skinned(first) && Skinned(second));
  TWinSkinForm* frameSkinner = Manager().FindFormSkinner(frame);
  ASSERT_NE(frameSkinner, nullptr);
  EXPECT_EQ(frameSkinner->FKind, kMDIMainForm);
  EXPECT_EQ(Manager().FindFormSkinner(second)->FKind, kMDIChild);
  EXPECT_FALSE(form.Data->MenuUpdate);  // children are being made

  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  SendMessageA(frame, WM_SKINREPAINTFRAME, 0, 0);
  EXPECT_TRUE(frameSkinner->ActiveChildMaximized());
  EXPECT_TRUE(Manager().MDIMaximized);
  EXPECT_FALSE(Manager().FindFormSkinner(second)->FHasRegion);

  // A menu the client sets is merged into the painted bar, every item shown.
  HMENU merged = CreateMenu();
  AppendMenuA(merged, MF_STRING, 1, "&Window");
  AppendMenuA(merged, MF_STRING, 2, "&Help");
  SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(merged), 0);
  ASSERT_NE(frameSkinner->FMenuBar, nullptr);
  int shown = 0;  // the maximized child adds its own buttons to the menu too
  for (const auto& b : frameSkinner->FMenuBar->Buttons)
    shown += b->Visible && (b->Caption == L"&Window" || b->Caption == L"&Help");
  EXPECT_EQ(shown, 2);

  // The last child gone, the frame's menu bar follows the frame's own menu again.
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
  EXPECT_TRUE(form.Data->MenuUpdate);
  ShowWindow(frame, SW_HIDE);
  DestroyWindow(frame);
}

}  // namespace
