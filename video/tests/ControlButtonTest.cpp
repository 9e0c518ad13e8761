#include <gtest/gtest.h>

#include <memory>

#include "DialogTestKit.h"
#include "Dg3.h"
#include "TestKit.h"
#include "resource.h"
#include "videoDlg.h"

namespace {

// Paints a control button into a memory DC as its parent's WM_DRAWITEM would.
struct Painted {
  explicit Painted(CControlButton& b, UINT state = 0) : mem(35, 20) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = b.m_hWnd;
    dis.hDC = mem.dc();
    dis.rcItem = {0, 0, 35, 20};
    dis.itemState = state;
    b.DrawItem(&dis);
  }
  vt::MemDC mem;
};

class ControlButton : public testing::Test {
 protected:
  void SetUp() override {
    vt::PrepareApplication();
    dlg = std::make_unique<CvideoDlg>();
    ASSERT_TRUE(dlg->Create(nullptr, false));
  }
  vt::Answers answers;
  std::unique_ptr<CvideoDlg> dlg;
};

TEST_F(ControlButton, HostSetUpTakesTheButtonsPlaceInTheBackground) {
  for (int id : {IDC_MINIMIZE, IDC_CLOSE}) {
    CControlButton& b = id == IDC_MINIMIZE ? dlg->m_btnMinimize : dlg->m_btnClose;
    RECT r;
    GetWindowRect(b.m_hWnd, &r);
    MapWindowPoints(nullptr, dlg->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(b.m_backgroundX, r.left) << id;
    EXPECT_EQ(b.m_backgroundY, r.top) << id;
    EXPECT_TRUE(b.m_hasMask && b.m_hasBackground);
    EXPECT_FALSE(b.m_hover || b.m_tracking);
  }
}

TEST_F(ControlButton, FacesFollowHoverLeaveAndPressThroughTheMask) {
  CControlButton& b = dlg->m_btnClose;
  const int bx = b.m_backgroundX, by = b.m_backgroundY;
  const COLORREF corner = vt::ResourcePixel(IDB_BACKGROUND, bx, by);  // masked out: background shows
  struct Case {
    const char* what;
    UINT message;  // sent before painting; 0 for none
    UINT state;
    int face;
  };
  const Case cases[] = {
      {"normal", 0, 0, IDB_CLOSE_NORMAL},
      {"hover", WM_MOUSEHOVER, 0, IDB_CLOSE_HOVER},
      {"pressed while hovering", 0, ODS_SELECTED, IDB_CLOSE_PRESSED},
      {"left", WM_MOUSELEAVE, 0, IDB_CLOSE_NORMAL},
      {"pressed", 0, ODS_SELECTED, IDB_CLOSE_PRESSED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.message) SendMessageW(b.m_hWnd, c.message, 0, MAKELPARAM(5, 5));
    Painted p(b, c.state);
    EXPECT_EQ(p.mem.at(0, 0), corner);
    EXPECT_EQ(p.mem.at(17, 3), vt::ResourcePixel(c.face, 17, 3));  // opaque face
    EXPECT_EQ(p.mem.at(17, 10), vt::ResourcePixel(c.face, 17, 10));
  }
  SendMessageW(b.m_hWnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(b.m_hover);
  EXPECT_FALSE(b.m_tracking);
}

TEST_F(ControlButton, WithoutMaskTheImageIsCopiedOpaque) {
  CControlButton& b = dlg->m_btnMinimize;
  b.m_hasMask = false;
  b.m_backgroundX = 400;  // not used without a mask
  Painted p(b);
  for (POINT q : {POINT{0, 0}, POINT{17, 10}, POINT{34, 19}})
    EXPECT_EQ(p.mem.at(q.x, q.y), vt::ResourcePixel(IDB_MIN_NORMAL, q.x, q.y)) << q.x << "," << q.y;
}

TEST_F(ControlButton, SetBitmapsReplacesTheImages) {
  CControlButton& b = dlg->m_btnMinimize;
  b.SetBitmaps(IDB_CLOSE_HOVER, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_CLOSE_HOVER);
  b.m_hasMask = false;
  Painted p(b);
  EXPECT_EQ(p.mem.at(17, 10), vt::ResourcePixel(IDB_CLOSE_NORMAL, 17, 10));
  EXPECT_NE(p.mem.at(17, 10), vt::ResourcePixel(IDB_MIN_NORMAL, 17, 10));
}

TEST(AboutDialog, ShowsItsTextsTransparentOverItsPicture) {
  vt::PrepareApplication();
  vt::Answers answers;
  Dg3 about;
  ASSERT_TRUE(about.Create(nullptr, false));
  wchar_t caption[32] = {};
  GetWindowTextW(about.m_hWnd, caption, 32);
  EXPECT_STREQ(caption, L"关于");
  HWND close = about.GetDlgItem(IDC_ABOUT_CLOSE);
  ASSERT_EQ(close, about.m_btnClose.m_hWnd);
  EXPECT_FALSE(GetWindowLongPtrW(close, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(about.m_btnClose.m_hasMask && about.m_btnClose.m_hasBackground);

  int empty = 0, mail = 0;
  for (HWND c = GetWindow(about.m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t text[64] = {}, cls[16] = {};
    GetWindowTextW(c, text, 64);
    GetClassNameW(c, cls, 16);
    if (lstrcmpW(cls, L"Static") != 0) continue;
    if (!text[0]) ++empty;
    if (lstrcmpW(text, L"E-mail:") == 0) ++mail;
  }
  EXPECT_EQ(empty, 5);
  EXPECT_EQ(mail, 1);

  // Every static is drawn transparent, black text, hollow brush.
  vt::MemDC label(20, 20);
  const auto brush = HGDIOBJ(SendMessageW(about.m_hWnd, WM_CTLCOLORSTATIC, WPARAM(label.dc()), LPARAM(close)));
  EXPECT_EQ(brush, GetStockObject(NULL_BRUSH));
  EXPECT_EQ(GetBkMode(label.dc()), TRANSPARENT);
  EXPECT_EQ(GetTextColor(label.dc()), RGB(0, 0, 0));

  const SIZE pic = vt::ResourceSize(IDB_ABOUT_BACKGROUND);
  ASSERT_EQ(pic.cx, 453);
  ASSERT_EQ(pic.cy, 220);
  const RECT client = about.GetClientRect();
  vt::MemDC mem(client.right, client.bottom);
  about.PaintClient(mem.dc());
  for (auto [fx, fy] : {std::pair{0.0, 0.0}, {0.5, 0.1}, {0.5, 0.7}, {0.999, 0.999}}) {
    const COLORREF expected = vt::ResourcePixel(IDB_ABOUT_BACKGROUND, int(fx * pic.cx), int(fy * pic.cy));
    EXPECT_TRUE(vt::Near(mem.at(int(fx * client.right), int(fy * client.bottom)), expected, 12)) << fx << "," << fy;
  }

  SendMessageW(close, BM_CLICK, 0, 0);  // posts the close
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) about.RouteMessage(msg);
  EXPECT_TRUE(about.Ended());
}

TEST(AboutDialog, AboutButtonShowsItModally) {
  vt::PrepareApplication();
  vt::Answers answers;
  CvideoDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, false));
  static bool seen;
  seen = false;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND about = FindWindowW(nullptr, L"关于");
    if (!about) return;
    KillTimer(nullptr, id);
    seen = IsWindowVisible(about) && !IsWindowEnabled(GetWindow(about, GW_OWNER));
    PostMessageW(about, WM_CLOSE, 0, 0);
  });
  SendMessageW(dlg.GetDlgItem(IDC_ABOUT), BM_CLICK, 0, 0);  // returns when the About dialog has ended
  EXPECT_TRUE(seen) << "the About dialog was not shown modally over the main dialog";
  EXPECT_FALSE(FindWindowW(nullptr, L"关于"));
  EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
}

}  // namespace

namespace {

TEST(ControlButtonMouse, HoverComesAfterTheMouseRestsAndGoesWhenItLeaves) {
  vt::PrepareApplication();
  vt::Answers answers;
  CvideoDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, true));
  CControlButton& b = dlg.m_btnClose;
  ShowWindow(b.m_hWnd, SW_SHOWNA);  // hidden in the resource; shown to be reachable
  RECT r = b.GetWindowRect();
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(b.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(b.m_tracking);
  EXPECT_TRUE(testkit::PumpUntil([&] { return b.m_hover; }, 2000)) << "no hover";
  SetCursorPos(r.right + 200, r.bottom + 200);
  EXPECT_TRUE(testkit::PumpUntil([&] { return !b.m_hover; }, 2000)) << "no leave";
  EXPECT_FALSE(b.m_tracking);
}

}  // namespace
