#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestKit.h"
#include "TestKit.h"
#include "dialogs/AxHost.h"
#include "resource.h"
#include "videoDlg.h"

namespace {

class MainDialog : public testing::Test {
 protected:
  void SetUp() override {
    vt::PrepareApplication();
    dlg = std::make_unique<CvideoDlg>();
    ASSERT_TRUE(dlg->Create(nullptr, false));
    list = dlg->GetDlgItem(IDC_FILE_LIST);
  }
  void TearDown() override { dlg.reset(); }

  std::vector<std::wstring> Rows() {
    std::vector<std::wstring> rows;
    for (int i = 0; i < dlg->m_list.GetItemCount(); ++i) rows.push_back(dlg->m_list.GetItemText(i, 0));
    return rows;
  }

  void Add(std::initializer_list<const wchar_t*> paths) {
    for (const wchar_t* p : paths) {
      answers.files.push_back(p);
      Click(IDC_ADD);
    }
  }

  void Click(int id) { SendMessageW(dlg->GetDlgItem(id), BM_CLICK, 0, 0); }

  // A left click on the list at a point, as the mouse makes it.
  void ClickListAt(POINT p) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageW(list, WM_LBUTTONUP, 0, at);  // waiting already, for any drag detection
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) dlg->RouteMessage(msg);
  }
  void ClickRow(int row) {
    RECT r{LVIR_LABEL, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, WPARAM(row), LPARAM(&r)));
    ClickListAt({r.left + 5, (r.top + r.bottom) / 2});
  }
  // Selects a row as the keyboard does: the selection moves, no click is made.
  void KeyboardSelect(int row) {
    dlg->m_list.SetItemState(-1, 0, LVIS_SELECTED);
    dlg->m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }

  void Key(HWND target, WPARAM key) {
    MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
    dlg->RouteMessage(msg);
    msg.message = WM_KEYUP;
    msg.lParam = LPARAM(0xC0000001u);
    dlg->RouteMessage(msg);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) dlg->RouteMessage(msg);
  }

  vt::Answers answers;
  std::unique_ptr<CvideoDlg> dlg;
  HWND list = nullptr;
};

std::wstring TextOf(HWND w) {
  wchar_t buf[256] = {};
  GetWindowTextW(w, buf, 256);
  return buf;
}
std::wstring ClassOf(HWND w) {
  wchar_t buf[64] = {};
  GetClassNameW(w, buf, 64);
  return buf;
}

TEST_F(MainDialog, EveryControlHasItsIdentifierKindAndCaption) {
  struct Row {
    int id;
    const wchar_t* cls;
    const wchar_t* caption;  // nullptr: not checked
    bool visible;
  };
  const Row rows[] = {
      {1000, L"Button", L"添加", true},
      {1001, L"Button", L"删除", true},
      {1002, L"Button", L"清空", true},
      {1003, L"Button", L"上移", true},
      {1004, L"Button", L"下移", true},
      {1005, L"Button", L"设置输出目录", true},
      {1006, L"Button", L"立即转换", true},
      {1007, L"Edit", L"C:\\", true},
      {1008, L"msctls_progress32", nullptr, true},
      {1019, L"SysListView32", nullptr, true},
      {1023, L"Button", L"关于", true},
      {1024, L"Button", L"最小", false},
      {1025, L"Button", L"关闭", false},
      {1026, AXHOST_CLASS, nullptr, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    HWND w = dlg->GetDlgItem(r.id);
    ASSERT_TRUE(w);
    EXPECT_EQ(ClassOf(w), r.cls);
    if (r.caption) {
      EXPECT_EQ(TextOf(w), r.caption);
    }
    EXPECT_EQ((GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0, r.visible);
  }
  for (int id = 1009; id <= 1018; ++id) {
    SCOPED_TRACE(id);
    HWND w = dlg->GetDlgItem(id);
    ASSERT_TRUE(w);
    EXPECT_EQ(ClassOf(w), L"ComboBox");
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  }
  for (int id : {1023, 1024, 1025})
    EXPECT_EQ(GetWindowLongPtrW(dlg->GetDlgItem(id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;

  std::vector<std::wstring> labels;
  for (HWND c = GetWindow(dlg->m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (ClassOf(c) == L"Static") labels.push_back(TextOf(c));
  for (const wchar_t* text : {L"第一步：加入视频文件", L"第二步：选择输出格式", L"视频参数设置", L"音频参数设置",
                              L"第三步：选择输出目录", L"第四步：开始转换", L"进度显示：", L"视频编码", L"画面质量",
                              L"视频大小", L"视频帧率", L"屏幕比例", L"音频编码", L"声音质量", L"声音频率",
                              L"音频声道"})
    EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << "missing label";
}

TEST_F(MainDialog, StartsInItsSpecifiedState) {
  EXPECT_EQ(TextOf(dlg->m_hWnd), L"Plenvo 12.2");
  const LONG_PTR style = GetWindowLongPtrW(dlg->m_hWnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(GetWindowLongPtrW(dlg->m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  ASSERT_NE(dlg->m_hIcon, nullptr);
  EXPECT_EQ(HICON(SendMessageW(dlg->m_hWnd, WM_GETICON, ICON_BIG, 0)), dlg->m_hIcon);
  EXPECT_EQ(HICON(SendMessageW(dlg->m_hWnd, WM_QUERYDRAGICON, 0, 0)), dlg->m_hIcon);

  ASSERT_EQ(dlg->m_format.GetCount(), 2);
  EXPECT_EQ(dlg->m_format.GetLBText(0), L"3gp");
  EXPECT_EQ(dlg->m_format.GetLBText(1), L"3gpp2");
  EXPECT_EQ(dlg->m_format.GetCurSel(), 0);

  struct Column {
    const wchar_t* heading;
    int width;
  };
  const Column columns[] = {{L"文件名", 290}, {L"状态显示", 74}};
  for (int i = 0; i < 2; ++i) {
    wchar_t text[64] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.pszText = text;
    col.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, WPARAM(i), LPARAM(&col)));
    EXPECT_STREQ(text, columns[i].heading);
    EXPECT_EQ(col.cx, columns[i].width);
    EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  }
  const DWORD ext = dlg->m_list.GetExtendedStyle();
  EXPECT_TRUE(ext & LVS_EX_GRIDLINES);
  EXPECT_TRUE(ext & LVS_EX_FULLROWSELECT);
  EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_FALSE(GetWindowLongPtrW(list, GWL_STYLE) & LVS_SINGLESEL);

  int lo = -1, hi = -1;
  dlg->m_progress.GetRange(lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1000);
  EXPECT_EQ(dlg->m_selected, -1);
  EXPECT_EQ(dlg->m_encoder, nullptr);
  std::wstring exeDir = vt::Widen(testkit::ExeDir());
  exeDir.pop_back();
  EXPECT_EQ(std::wstring(dlg->m_exeDir), exeDir);
  EXPECT_TRUE(answers.boxes.empty());
}

TEST(ProgramFolder, APathThatDoesNotFitIsRefusedNotCut) {
  struct Case {
    std::wstring path;
    bool fits;
    std::wstring folder;
  };
  const std::wstring deep = L"C:\\" + std::wstring(243, L'd');  // "\\progress.txt" beside: 259
  const Case cases[] = {
      {L"C:\\Program Files\\Plenvo\\video.exe", true, L"C:\\Program Files\\Plenvo"},
      {deep + L"\\v.exe", true, deep},
      {deep + L"d\\v.exe", false, L""},
      {L"", false, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.size());
    wchar_t out[CvideoDlg::kExeDirSize];
    wmemset(out, L'x', CvideoDlg::kExeDirSize);
    EXPECT_EQ(CvideoDlg::ExeDirFromModulePath(c.path, out), c.fits);
    EXPECT_EQ(std::wstring(out), c.folder);
  }
}

TEST_F(MainDialog, EnterDoesNothingAndEscapeEnds) {
  answers.files.push_back(L"C:\\v\\never.avi");
  const HWND targets[] = {dlg->m_outputDir.m_hWnd, dlg->GetDlgItem(IDC_ADD), dlg->GetDlgItem(IDC_CONVERT), list};
  for (HWND target : targets) {
    SetFocus(target);
    Key(target, VK_RETURN);
    EXPECT_FALSE(dlg->Ended());
  }
  EXPECT_EQ(dlg->m_list.GetItemCount(), 0);  // Enter on Add did not click it
  EXPECT_TRUE(answers.openCalls.empty());
  EXPECT_TRUE(answers.boxes.empty());  // nor on Convert
  Key(dlg->m_outputDir.m_hWnd, VK_ESCAPE);
  EXPECT_TRUE(dlg->Ended());
  EXPECT_EQ(dlg->Result(), IDCANCEL);
}

TEST_F(MainDialog, AddPutsTheNewestFileOnTop) {
  Add({L"C:\\v\\A.avi", L"C:\\v\\B.rmvb"});
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"C:\\v\\B.rmvb", L"C:\\v\\A.avi"}));
  EXPECT_EQ(dlg->m_list.GetItemText(0, 1), L"");
  answers.files.clear();
  Click(IDC_ADD);  // cancelled: nothing added
  EXPECT_EQ(Rows().size(), 2u);

  ASSERT_EQ(answers.openCalls.size(), 3u);
  const OPENFILENAMEW& ofn = answers.openCalls[0];
  EXPECT_STREQ(ofn.lpstrTitle, L"选择打开的文件");
  EXPECT_EQ(ofn.hwndOwner, dlg->m_hWnd);
  EXPECT_EQ(ofn.Flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT),
            DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST));
  ASSERT_NE(ofn.lpstrDefExt, nullptr);
  EXPECT_STREQ(ofn.lpstrDefExt, L"");
  EXPECT_EQ(ofn.nFilterIndex, 1u);
  EXPECT_EQ(answers.openFilters[0],
            L" ALL Files|*.RM;*.RMVB;*.rm;*.rmvb;*.AVI;*.avi;*.WMV;*.ASF;*.wmv;*.asf;*.MPG;*.mpg;*.MPEG;*.mpeg;"
            L"*.mp4;*.MP4;*.3GP;*.3GPP2;*.3gp;*.3g2;*.swf;*.flv;*.SWF;*.FLV;|"
            L" Real文件|*.RM;*.RMVB;*.rm;*.rmvb| AVI|*.AVI;*.avi| Windows媒体文件|*.WMV;*.ASF;*.wmv;*.asf|"
            L" MPEG文件|*.MPG;*.mpg;*.MPEG;*.mpeg| MP4文件|*.mp4;*.MP4| 3gp文件|*.3GP;*.3GPP2;*.3gp;*.3g2|"
            L" flash文件|*.swf;*.flv;*.SWF;*.FLV|");
}

TEST_F(MainDialog, EditingActsOnTheRowLastClickedNotTheKeyboardSelection) {
  Add({L"A", L"B", L"C", L"D"});  // rows: D C B A
  struct Step {
    const char* what;
    int action;  // 0 click row, 1 keyboard-select row, 2 button
    int arg;
    std::vector<std::wstring> rows;
    int selected;
  };
  const std::vector<Step> steps = {
      {"click B", 0, 2, {L"D", L"C", L"B", L"A"}, 2},
      {"keyboard to D", 1, 0, {L"D", L"C", L"B", L"A"}, 2},
      {"up moves B", 2, IDC_UP, {L"D", L"B", L"C", L"A"}, 1},
      {"down moves B", 2, IDC_DOWN, {L"D", L"C", L"B", L"A"}, 2},
      {"down again", 2, IDC_DOWN, {L"D", L"C", L"A", L"B"}, 3},
      {"down on the bottom row", 2, IDC_DOWN, {L"D", L"C", L"A", L"B"}, 3},
      {"keyboard to C", 1, 1, {L"D", L"C", L"A", L"B"}, 3},
      {"delete B", 2, IDC_DELETE, {L"D", L"C", L"A"}, 3},
      {"up with a row that is gone", 2, IDC_UP, {L"D", L"C", L"A"}, 3},
      {"delete again: no row 3", 2, IDC_DELETE, {L"D", L"C", L"A"}, 3},
      {"click D", 0, 0, {L"D", L"C", L"A"}, 0},
      {"up on the top row", 2, IDC_UP, {L"D", L"C", L"A"}, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.action == 0) ClickRow(s.arg);
    if (s.action == 1) KeyboardSelect(s.arg);
    if (s.action == 2) Click(s.arg);
    EXPECT_EQ(Rows(), s.rows);
    EXPECT_EQ(dlg->m_selected, s.selected);
  }
  // The moved row keeps its status text and ends selected.
  dlg->m_list.SetItemText(1, 1, L"等待");
  ClickRow(1);
  Click(IDC_DOWN);
  EXPECT_EQ(dlg->m_list.GetItemText(2, 0), L"C");
  EXPECT_EQ(dlg->m_list.GetItemText(2, 1), L"等待");
  EXPECT_TRUE(dlg->m_list.GetItemState(2, LVIS_SELECTED));
  EXPECT_EQ(GetFocus(), list);
}

TEST_F(MainDialog, ClickOnEmptyListAreaForgetsTheRow) {
  Add({L"A", L"B"});
  ClickRow(1);
  ASSERT_EQ(dlg->m_selected, 1);
  const RECT client = dlg->m_list.GetClientRect();
  ClickListAt({client.right / 2, client.bottom - 5});
  EXPECT_EQ(dlg->m_selected, -1);
  for (int id : {IDC_DELETE, IDC_UP, IDC_DOWN}) Click(id);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"B", L"A"}));
}

TEST_F(MainDialog, ClearEmptiesTheListAndKeepsTheRememberedRow) {
  Add({L"A", L"B"});
  ClickRow(0);
  Click(IDC_CLEAR);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(dlg->m_selected, 0);
  Click(IDC_DOWN);
  Click(IDC_DELETE);
  EXPECT_TRUE(Rows().empty());
}

TEST_F(MainDialog, FolderBrowserFillsTheEditOnlyWithAFileSystemPath) {
  const std::string exe = testkit::ExeDir();
  const std::wstring folder = vt::Widen(exe.substr(0, exe.size() - 1));
  struct Case {
    const char* what;
    std::function<PIDLIST_ABSOLUTE()> choose;
    std::wstring expected;
  };
  const std::vector<Case> cases = {
      {"a folder", [&] { return ILCreateFromPathW(folder.c_str()); }, folder},
      {"cancel", [] { return PIDLIST_ABSOLUTE(nullptr); }, folder},
      {"a virtual folder (no path)",
       [] {
         PIDLIST_ABSOLUTE pidl = nullptr;
         SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl);
         return pidl;
       },
       folder},
  };
  dlg->m_outputDir.SetWindowText(L"C:\\");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BROWSEINFOW seen{};
    answers.browse = [&](BROWSEINFOW* bi) {
      seen = *bi;
      return c.choose();
    };
    Click(IDC_SET_OUTPUT);
    EXPECT_EQ(dlg->m_outputDir.GetWindowText(), c.expected);
    EXPECT_EQ(seen.hwndOwner, dlg->m_hWnd);
    EXPECT_EQ(seen.pidlRoot, nullptr);
    EXPECT_STREQ(seen.lpszTitle, L"请选择要打开的文件夹:");
    EXPECT_EQ(seen.ulFlags, UINT(BIF_RETURNFSANCESTORS));
  }
}

TEST_F(MainDialog, ConvertWithAnEmptyListAsksForVideos) {
  Click(IDC_CONVERT);
  ASSERT_EQ(answers.boxes.size(), 1u);
  EXPECT_EQ(answers.boxes[0].text, L"请添加要转换的视频");
  EXPECT_EQ(answers.boxes[0].caption, L"提示信息");
  EXPECT_EQ(answers.boxes[0].flags & 0xF, UINT(MB_OK));
}

TEST_F(MainDialog, CloseMessageOrEscapeEndsARunningEncoderFirst) {
  const std::string dir = testkit::ExeDir() + "dialog_close";
  CreateDirectoryA(dir.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((testkit::ExeDir() + "doubles\\vv.exe").c_str(), (dir + "\\vv.exe").c_str(), FALSE));
  DeleteFileA((dir + "\\vvlog.txt").c_str());
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, wide, MAX_PATH);
  dlg->m_encoder = new TavrinFFmpeg("vv.exe hang", wide);
  ASSERT_TRUE(testkit::PumpUntil([&] { return GetFileAttributesA((dir + "\\vvlog.txt").c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  Sleep(100);
  std::ifstream log(dir + "\\vvlog.txt");
  DWORD pid = 0;
  log >> pid;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  ASSERT_NE(process, nullptr);
  SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(dlg->m_encoder, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0);
  CloseHandle(process);
  EXPECT_TRUE(dlg->Ended());
  EXPECT_EQ(dlg->Result(), IDCANCEL);
  // So does Escape in the list, the folder edit or a list; an open drop-down takes it first.
  for (int in : {IDC_FILE_LIST, IDC_OUTPUT_DIR, IDC_CHANNELS}) {
    SetUp();
    dlg->m_encoder = new TavrinFFmpeg("vv.exe hang", wide);
    if (in == IDC_CHANNELS) SendMessageW(dlg->GetDlgItem(in), CB_SHOWDROPDOWN, TRUE, 0);
    Key(dlg->GetDlgItem(in), VK_ESCAPE);
    EXPECT_EQ(dlg->Ended(), in != IDC_CHANNELS);
    if (in == IDC_CHANNELS) Key(dlg->GetDlgItem(in), VK_ESCAPE);
    EXPECT_EQ(dlg->m_encoder, nullptr) << in;
  }
}

TEST_F(MainDialog, CaptionButtonsMinimiseAndClose) {
  Click(IDC_CLOSE);
  EXPECT_FALSE(dlg->Ended());  // posted, not sent
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) dlg->RouteMessage(msg);
  EXPECT_TRUE(dlg->Ended());
}

TEST_F(MainDialog, BackgroundIsStretchedOverTheClientAreaAtAnySize) {
  const SIZE pic = vt::ResourceSize(IDB_BACKGROUND);
  ASSERT_EQ(pic.cx, 796);
  ASSERT_EQ(pic.cy, 454);
  for (SIZE size : {SIZE{796, 454}, SIZE{398, 227}, SIZE{1194, 681}}) {
    SCOPED_TRACE(size.cx);
    vt::MemDC mem(size.cx, size.cy);
    dlg->PaintClient(mem.dc(), mem.rect(), false);
    // Sample points in fractions of the picture: corners, panels, the banner band.
    for (auto [fx, fy] : {std::pair{0.0, 0.0}, {0.999, 0.999}, {0.25, 0.5}, {0.75, 0.45}, {0.5, 0.05}, {0.5, 0.95}}) {
      const int x = int(fx * size.cx), y = int(fy * size.cy);
      const COLORREF expected = vt::ResourcePixel(IDB_BACKGROUND, int(fx * pic.cx), int(fy * pic.cy));
      EXPECT_TRUE(vt::Near(mem.at(x, y), expected, 12))
          << x << "," << y << ": " << std::hex << mem.at(x, y) << " vs " << expected;
    }
  }
}

TEST_F(MainDialog, MinimisedDialogShowsItsIconCentred) {
  vt::MemDC mem(100, 80);
  dlg->PaintClient(mem.dc(), mem.rect(), true);
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  const int left = (100 - cx + 1) / 2, top = (80 - cy + 1) / 2;
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  EXPECT_EQ(mem.at(0, 0), face);  // the rest is erased
  EXPECT_EQ(mem.at(99, 79), face);
  EXPECT_EQ(mem.at(left - 1, top + cy / 2), face);
  EXPECT_EQ(mem.at(left + cx, top + cy / 2), face);
  EXPECT_NE(mem.at(left + cx / 2, top + cy / 2), face);  // the picture's middle
  EXPECT_NE(mem.at(left + 2, top + cy / 2), face);       // its left edge
}

TEST_F(MainDialog, LabelsAreTransparentOverThePictureButEditsAreNot) {
  HWND label = nullptr;
  for (HWND c = GetWindow(dlg->m_hWnd, GW_CHILD); c && !label; c = GetWindow(c, GW_HWNDNEXT))
    if (TextOf(c) == L"进度显示：") label = c;
  ASSERT_TRUE(label);
  RECT r;
  GetClientRect(label, &r);
  vt::MemDC mem(r.right, r.bottom, RGB(10, 200, 30));
  SendMessageW(label, WM_PRINTCLIENT, WPARAM(mem.dc()), PRF_CLIENT);
  int untouched = 0, dark = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) {
      const COLORREF c = mem.at(x, y);
      if (c == RGB(10, 200, 30)) ++untouched;
      if (GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60) ++dark;
    }
  EXPECT_GT(untouched, r.right * r.bottom / 2) << "the label painted its background";
  EXPECT_GT(dark, 0) << "no black text";

  // A read-only edit asks with the static colour type and keeps its own brush.
  SendMessageW(dlg->m_outputDir.m_hWnd, EM_SETREADONLY, TRUE, 0);
  HDC dc = GetDC(dlg->m_outputDir.m_hWnd);
  const auto brush = HGDIOBJ(SendMessageW(dlg->m_hWnd, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(dlg->m_outputDir.m_hWnd)));
  EXPECT_NE(brush, GetStockObject(NULL_BRUSH));
  EXPECT_NE(GetBkMode(dc), TRANSPARENT);
  ReleaseDC(dlg->m_outputDir.m_hWnd, dc);
}

TEST_F(MainDialog, BannerIsHostedAtTheTopWithoutAnyPrompt) {
  HWND banner = dlg->GetDlgItem(IDC_BANNER);
  ASSERT_TRUE(banner);
  EXPECT_EQ(banner, dlg->m_banner.m_hWnd);
  RECT r{4, 2, 451, 48};
  MapDialogRect(dlg->m_hWnd, &r);
  RECT b;
  GetWindowRect(banner, &b);
  MapWindowPoints(nullptr, dlg->m_hWnd, reinterpret_cast<POINT*>(&b), 2);
  EXPECT_EQ(b.left, r.left);
  EXPECT_EQ(b.top, r.top);
  EXPECT_EQ(b.right - b.left, r.right - r.left);
  // The browser itself is hosted here (only its HTML engine is switched off), and
  // takes the navigation.
  EXPECT_TRUE(dlg->m_banner.HasControl());
  EXPECT_TRUE(dlg->m_banner.Navigate2(CvideoDlg::kBannerUrl));
  testkit::PumpUntil([] { return false; }, 300);
  // No other window of this program appeared (no installer prompt, no error box).
  int others = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        if (IsWindowVisible(w)) ++*reinterpret_cast<int*>(p);
        return TRUE;
      },
      LPARAM(&others));
  EXPECT_EQ(others, 0);
  EXPECT_TRUE(answers.boxes.empty());
}

}  // namespace

namespace {

TEST(Program, ShowsItsMainDialogAndEndsWhenItCloses) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string exe = testkit::ExeDir() + "video.exe";
  ASSERT_TRUE(CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  HWND main = nullptr;
  testkit::PumpUntil([&] { return (main = FindWindowW(nullptr, L"Plenvo 12.2")) != nullptr && IsWindowVisible(main); },
                     15000);
  ASSERT_TRUE(main) << "no main dialog";
  DWORD owner = 0;
  GetWindowThreadProcessId(main, &owner);
  EXPECT_EQ(owner, pi.dwProcessId);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0) << "the program did not end with its dialog";
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

}  // namespace
