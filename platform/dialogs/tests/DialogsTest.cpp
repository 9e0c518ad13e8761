#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestDialog.h"
#include "TestKit.h"
#include "dialogs/AxHost.h"
#include "dialogs/Dialogs.h"
#include "dialogs/SystemDialogs.h"

namespace {

// What a program's application object does before its first dialog.
struct Prepared : testing::Environment {
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);
    CApplication::EnableControlContainer();
  }
};
const auto* const prepared = testing::AddGlobalTestEnvironment(new Prepared);

struct Painter : COwnerDrawButton {
  std::vector<UINT> states;
  void DrawItem(const DRAWITEMSTRUCT* item) override {
    states.push_back(item->itemState);
    FillRect(item->hDC, &item->rcItem, HBRUSH(GetStockObject(BLACK_BRUSH)));
  }
};

struct TestDlg : CDialog {
  TestDlg() : CDialog(IDD_TEST) {
    MapClick(IDC_BUTTON, [this] { log.push_back(L"first"); });
    MapClick(IDC_BUTTON, [this] { log.push_back(L"second"); });  // never reached: first entry wins
    MapCommand(IDC_COMBO, CBN_SELCHANGE, [this] { log.push_back(L"combo " + combo.GetLBText(combo.GetCurSel())); });
    MapNotify(IDC_LIST, NM_CLICK, [this](NMHDR*) -> LRESULT {
      log.push_back(L"list click");
      return 0;
    });
    MapMessage(WM_CTLCOLORSTATIC, [this](WPARAM, LPARAM) -> LRESULT {
      ++ctlColors;
      return LRESULT(GetStockObject(BLACK_BRUSH));
    });
  }
  void DoDataExchange(CDataExchange& dx) override {
    dx.Control(IDC_EDIT, edit);
    dx.Control(IDC_COMBO, combo);
    dx.Control(IDC_LIST, list);
    dx.Control(IDC_PROGRESS, progress);
    dx.Control(IDC_OWNERDRAW, painter);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    boundAtInit = edit.m_hWnd != nullptr;
    return TRUE;
  }
  BOOL PreTranslateMessage(MSG* msg) override { return msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN; }

  CEdit edit;
  CComboBox combo;
  CListView list;
  CProgressBar progress;
  Painter painter;
  std::vector<std::wstring> log;
  int ctlColors = 0;
  bool boundAtInit = false;
};

void Key(CDialog& dlg, HWND target, WPARAM key) {
  MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
  dlg.RouteMessage(msg);
  msg.message = WM_KEYUP;
  msg.lParam = LPARAM(0xC0000001u);
  dlg.RouteMessage(msg);
}

TEST(Dialog, MembersAreBoundBeforeInitAndMapEntriesDispatchInOrder) {
  TestDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, false));
  EXPECT_TRUE(dlg.boundAtInit);
  EXPECT_EQ(CWindow::FromHandle(dlg.edit.m_hWnd), &dlg.edit);

  SendMessageW(dlg.GetDlgItem(IDC_BUTTON), BM_CLICK, 0, 0);
  dlg.combo.InsertString(0, L"a");
  dlg.combo.InsertString(1, L"b");
  dlg.combo.SetCurSel(1);  // selecting from code is no user change
  SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_COMBO, CBN_SELCHANGE), LPARAM(dlg.combo.m_hWnd));
  NMHDR hdr{dlg.list.m_hWnd, IDC_LIST, UINT(NM_CLICK)};
  SendMessageW(dlg.m_hWnd, WM_NOTIFY, IDC_LIST, LPARAM(&hdr));
  EXPECT_EQ(dlg.log, (std::vector<std::wstring>{L"first", L"combo b", L"list click"}));
  dlg.EndDialog(IDCANCEL);
}

TEST(Dialog, ControlColourResultReachesTheControl) {
  TestDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, false));
  HWND label = dlg.GetDlgItem(IDC_LABEL);
  HDC dc = GetDC(label);
  const auto brush = SendMessageW(dlg.m_hWnd, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(label));
  ReleaseDC(label, dc);
  EXPECT_EQ(HGDIOBJ(brush), GetStockObject(BLACK_BRUSH));
  EXPECT_GE(dlg.ctlColors, 1);
  dlg.EndDialog(IDCANCEL);
}

TEST(Dialog, OwnerDrawnButtonGetsItsDrawItem) {
  TestDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, false));
  EXPECT_EQ(GetWindowLongPtrW(dlg.painter.m_hWnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 50, 30);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, 50, 30};
  FillRect(mem, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
  SendMessageW(dlg.painter.m_hWnd, WM_PRINTCLIENT, WPARAM(mem), PRF_CLIENT);
  EXPECT_FALSE(dlg.painter.states.empty());
  EXPECT_EQ(GetPixel(mem, 2, 2), RGB(0, 0, 0));  // what DrawItem painted
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  dlg.EndDialog(IDCANCEL);
}

TEST(Dialog, PreTranslateSeesKeysBeforeTheDialogManager) {
  TestDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, false));
  Key(dlg, dlg.edit.m_hWnd, VK_RETURN);  // swallowed: no IDOK
  EXPECT_FALSE(dlg.Ended());
  Key(dlg, dlg.edit.m_hWnd, VK_ESCAPE);
  EXPECT_TRUE(dlg.Ended());
  EXPECT_EQ(dlg.Result(), IDCANCEL);
}

TEST(Dialog, ModalLoopEndsOnCloseAndReturnsCancel) {
  TestDlg dlg;
  // The close arrives from inside the modal loop, as a user's click on the close box.
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(FindWindowW(nullptr, L"测试"), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_FALSE(IsWindow(FindWindowW(nullptr, L"测试")));
}

TEST(Controls, WrappersReadBackWhatWasWritten) {
  TestDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, false));
  EXPECT_EQ(dlg.list.InsertColumn(0, L"名", LVCFMT_LEFT, 100), 0);
  EXPECT_EQ(dlg.list.InsertColumn(1, L"状态", LVCFMT_LEFT, 50), 1);
  const std::wstring longText(1000, L'x');  // longer than the first read buffer
  EXPECT_EQ(dlg.list.InsertItem(0, longText), 0);
  EXPECT_TRUE(dlg.list.SetItemText(0, 1, L"完成"));
  EXPECT_EQ(dlg.list.GetItemText(0, 0), longText);
  EXPECT_EQ(dlg.list.GetItemText(0, 1), L"完成");
  EXPECT_EQ(dlg.list.GetItemText(5, 0), L"");
  EXPECT_EQ(dlg.combo.GetLBText(3), L"");
  dlg.progress.SetRange(0, 1000);
  dlg.progress.SetPos(700);
  int lo = -1, hi = -1;
  dlg.progress.GetRange(lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1000);
  EXPECT_EQ(dlg.progress.GetPos(), 700);
  dlg.EndDialog(IDCANCEL);
}

TEST(AxHost, UnknownControlLeavesAnEmptyHostAndTheDialogWorks) {
  ASSERT_TRUE(CApplication::EnableControlContainer());
  TestDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr, false));
  HWND host = dlg.GetDlgItem(IDC_HOST);
  ASSERT_TRUE(IsWindow(host));
  EXPECT_EQ(AxHostDispatch(host), nullptr);
  dlg.EndDialog(IDCANCEL);
}

TEST(SystemDialogs, HookAnswersInsteadOfTheUser) {
  std::vector<std::wstring> seen;
  SetDlgMessageBoxHook([&](HWND, const wchar_t* text, const wchar_t* caption, UINT) {
    seen.push_back(std::wstring(caption) + L":" + text);
    return IDCANCEL;
  });
  EXPECT_EQ(DlgMessageBox(nullptr, L"正文", L"标题", MB_OKCANCEL), IDCANCEL);
  // 8-bit texts come in code page 936 whatever the system's code page is.
  EXPECT_EQ(DlgMessageBoxA(nullptr, "\xd7\xaa\xbb\xbb\xcd\xea\xb3\xc9", "x", MB_OK, 936), IDCANCEL);
  SetDlgMessageBoxHook(nullptr);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"标题:正文", L"x:转换完成"}));
}

}  // namespace
