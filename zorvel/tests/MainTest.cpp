// The main form under Wine: what a user does (clicks, chosen files and folders) and
// what the window then shows, with scripted stand-ins for the encoder and the probe.
#include "Main.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MemoryDC.h"
#include "TestKit.h"

namespace {

using namespace zorvel_text;

std::string Doubles() {
  return testkit::ExeDir() + "doubles\\";
}

std::wstring W(const std::string& s) {
  return TextToWide(s);
}

std::string WindowText(HWND h) {
  wchar_t buf[1024];
  const int n = GetWindowTextW(h, buf, 1024);
  return WideToText(std::wstring(buf, std::size_t(n)));
}

bool DirExists(const std::string& p) {
  const DWORD a = GetFileAttributesW(W(p).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A fresh folder for one test.
std::string TempDir() {
  static int n = 0;
  const std::string dir = testkit::ExeDir() + "maintest.tmp\\" +
                          std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++n) + "\\";
  // Emptied first: Wine hands out process numbers again, and a file an earlier run left
  // (a probe's "go" signal) would answer for this one.
  std::error_code ignored;
  std::filesystem::remove_all(W(dir), ignored);
  SHCreateDirectoryExW(nullptr, W(dir).c_str(), nullptr);
  return dir;
}

// A source file whose content scripts both stand-ins.
std::string Clip(const std::string& dir, const std::string& name, const std::string& probe,
                 const std::string& encode = "write") {
  const std::string path = dir + name;
  WriteFile(path, "ZVDOUBLE\nprobe: " + probe + "\nencode: " + encode + "\n");
  return path;
}

// The main form with the stand-ins beside it and the user's choices answered. One form
// serves every test (taking a shown window down costs Wine seconds); each test starts
// it from the state a fresh start shows.
struct Fixture {
  TFrmMain* form;
  std::vector<std::string> files;  // answers of the open-file dialog, in turn
  std::vector<std::string> folders;
  std::vector<std::string> folderTitles;
  std::string log;

  static TFrmMain*& Shared() {
    static TFrmMain* form = nullptr;
    return form;
  }
  // The shared form goes when the tests end, before the application does.
  struct Cleanup : testing::Environment {
    void TearDown() override {
      delete Shared();
      Shared() = nullptr;
    }
  };
  static TNewLineEvent& FormNewLine() {
    static TNewLineEvent handler;
    return handler;
  }

  Fixture() {
    testkit::ClearMessageBoxes();
    testkit::AnswerMessageBoxes(IDOK);
    SetOpenDialogHook([this](TOpenDialog& d) {
      if (files.empty()) return false;
      d.FileName = files.front();
      files.erase(files.begin());
      return true;
    });
    SetFolderBrowserHook([this](const std::string& title, const std::string&) {
      folderTitles.push_back(title);
      std::string f = folders.empty() ? std::string() : folders.front();
      if (!folders.empty()) folders.erase(folders.begin());
      return W(f);
    });
    log = TempDir() + "calls.log";
    SetEnvironmentVariableA("ZV_DOUBLE_LOG", log.c_str());
    if (!Shared()) {
      testing::AddGlobalTestEnvironment(new Cleanup);
      Shared() = new TFrmMain(nullptr);
      FormNewLine() = Shared()->DosCommand1->OnNewLine;
      Shared()->Show();
    }
    form = Shared();
    form->btnClearClick(form);
    form->edtSaveDir->SetText("");
    form->SetAppDir(Doubles());
    form->ProbePassMs = 1000;
    form->DosCommand1->OnNewLine = FormNewLine();
    for (auto [list, index] : {std::pair{form->cmbVideoKbps, 1},
                               {form->cmbVideoFrame, 0},
                               {form->cmbVideoSize, 0},
                               {form->cmbAspect, 0}})
      list->SetItemIndex(index);
    form->ProgressBar1->SetPosition(0);
    form->lblInfo->SetCaption(kReady);
    Application->ProcessMessages();
  }
  ~Fixture() {
    SetOpenDialogHook({});
    SetFolderBrowserHook({});
    SetEnvironmentVariableA("ZV_DOUBLE_LOG", nullptr);
  }

  void Click(TButton* b) { SendMessageW(b->Handle(), BM_CLICK, 0, 0); }
  void Add(const std::string& path) {
    files.push_back(path);
    Click(form->btnAdd);
  }
  int Rows() { return int(SendMessageW(form->lvwFiles->Handle(), LVM_GETITEMCOUNT, 0, 0)); }
  std::string Cell(int row, int column) {
    wchar_t buf[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = 1024;
    SendMessageW(form->lvwFiles->Handle(), LVM_GETITEMTEXTW, WPARAM(row),
                 reinterpret_cast<LPARAM>(&item));
    return WideToText(buf);
  }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> out;
    for (int i = 0; i < Rows(); ++i) out.push_back(Cell(i, column));
    return out;
  }
  void Select(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(form->lvwFiles->Handle(), LVM_SETITEMSTATE, WPARAM(row),
                 reinterpret_cast<LPARAM>(&item));
  }
  // The command lines the stand-ins were started with, in order.
  std::vector<std::string> Started() {
    std::vector<std::string> out;
    std::istringstream in(ReadFile(log));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t a = line.find(' ');
      if (line.compare(a + 1, 6, "start ") == 0) out.push_back(line.substr(a + 7));
    }
    return out;
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& b : testkit::MessageBoxes()) out.push_back(b.text);
    return out;
  }
};

// Where a control lies inside the form's client area.
RECT Bounds(TFrmMain* form, TWinControl* c) {
  RECT r;
  GetWindowRect(c->Handle(), &r);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(MainForm, LayoutAndTexts) {
  Fixture f;
  TFrmMain* m = f.form;
  HWND h = m->Handle();
  EXPECT_EQ(WindowText(h), "Kestrin 8.6");
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 530);
  EXPECT_EQ(client.bottom, 456);
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  RECT win;
  GetWindowRect(h, &win);
  EXPECT_NEAR((win.left + win.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((win.top + win.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(m->btnAdd->Handle(), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(WideToText(font.lfFaceName), "宋体");

  struct Placed {
    TWinControl* control;
    RECT bounds;  // in the form's client area
    const char* text;
  };
  const Placed placed[] = {
      {m->WebBrowser1, {0, 0, 530, 161}, ""},
      {m->GroupBox3, {0, 161, 530, 281}, "设置"},
      {m->GroupBox6, {0, 281, 530, 329}, "输出"},
      {m->GroupBox2, {0, 329, 530, 393}, "进度"},
      {m->btnConvert, {218, 416, 315, 449}, "立即转换"},
      {m->edtSaveDir, {72, 297, 425, 318}, ""},
      {m->Button8, {440, 297, 525, 322}, "设置输出目录"},
      {m->lblInfo, {112, 345, 521, 358}, "准备就绪"},
      {m->ProgressBar1, {112, 364, 521, 382}, ""},
  };
  for (const Placed& p : placed) {
    SCOPED_TRACE(p.control->Name);
    {
      const RECT r = Bounds(m, p.control);
      EXPECT_EQ(r.left, p.bounds.left);
      EXPECT_EQ(r.top, p.bounds.top);
      EXPECT_EQ(r.right, p.bounds.right);
      EXPECT_EQ(r.bottom, p.bounds.bottom);
      EXPECT_EQ(WindowText(p.control->Handle()), p.text);
      EXPECT_TRUE(IsWindowVisible(p.control->Handle()));
    }
  }
  const struct {
    TButton* button;
    int left;
    const char* text;
  } buttons[] = {{m->btnAdd, 16, "新增"}, {m->btnDelete, 107, "删除"}, {m->btnClear, 198, "清空"}};
  for (const auto& b : buttons) {
    RECT r;
    GetWindowRect(b.button->Handle(), &r);
    MapWindowPoints(nullptr, m->Panel2->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, b.left);
    EXPECT_EQ(r.right - r.left, 75);
    EXPECT_EQ(r.bottom - r.top, 25);
    EXPECT_EQ(WindowText(b.button->Handle()), b.text);
  }
  EXPECT_EQ(m->Panel2->Height(), 24);
  EXPECT_EQ(m->GroupBox5->Width(), 213);
  EXPECT_EQ(m->GroupBox5->Left() + m->GroupBox5->Width() + 2, 530);  // on the right side
  EXPECT_FALSE(IsWindowVisible(m->GroupBox1->Handle()));
  EXPECT_EQ(WindowText(m->btnMoveToUp->Handle()), "上移");
  EXPECT_EQ(WindowText(m->btnMoveToDown->Handle()), "下移");
  EXPECT_TRUE(GetWindowLongPtrW(m->edtSaveDir->Handle(), GWL_STYLE) & ES_READONLY);

  const struct {
    TComboBox* list;
    std::vector<std::string> items;
    const char* chosen;
  } lists[] = {
      {m->cmbVideoKbps, {"512", "1200", "1500", "2500"}, "1200"},
      {m->cmbVideoFrame, {"29.97"}, "29.97"},
      {m->cmbVideoSize,
       {"Auto", "128x96", "176x144", "352x288", "704x576", "352x240", "320x240", "640x480"},
       "Auto"},
      {m->cmbAspect, {"Auto", "4:3", "16:9"}, "Auto"},
  };
  for (const auto& l : lists) {
    HWND c = l.list->Handle();
    std::vector<std::string> shown;
    for (int i = 0; i < int(SendMessageW(c, CB_GETCOUNT, 0, 0)); ++i) {
      wchar_t buf[64] = {};
      SendMessageW(c, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buf));
      shown.push_back(WideToText(buf));
    }
    EXPECT_EQ(shown, l.items);
    EXPECT_EQ(WindowText(c), l.chosen);
    EXPECT_EQ(GetWindowLongPtrW(c, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(l.list->Left(), 80);
    EXPECT_EQ(l.list->Width(), 120);
  }

  HWND lv = m->lvwFiles->Handle();
  EXPECT_TRUE(GetWindowLongPtrW(lv, GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_EQ(GetWindowLongPtrW(lv, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  RECT lvClient;
  GetClientRect(lv, &lvClient);
  const char* captions[] = {"文件路径", "状态"};
  int widths = 0;
  for (int i = 0; i < 2; ++i) {
    wchar_t buf[64] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = buf;
    col.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(lv, LVM_GETCOLUMNW, WPARAM(i), reinterpret_cast<LPARAM>(&col)));
    EXPECT_EQ(WideToText(buf), captions[i]);
    if (i == 1) {
      EXPECT_EQ(col.cx, 80);
    }
    widths += col.cx;
  }
  EXPECT_EQ(widths, lvClient.right);  // the path column fills the rest
  EXPECT_EQ(f.Rows(), 0);

  EXPECT_NE(m->OpenDialog1->Filter.find("Support Files|*.RM;*.RMVB;*.AVI;"), std::string::npos);
  EXPECT_EQ(m->OpenDialog1->Filter.substr(m->OpenDialog1->Filter.size() - 9), "3GP|*.3GP");
  EXPECT_EQ(m->WebBrowser1->LocationRequested(), testkit::ExeDir() + "start.html");
  EXPECT_EQ(
      GetFileAttributesW(W(m->WebBrowser1->LocationRequested()).c_str()) & FILE_ATTRIBUTE_DIRECTORY,
      0u);
  EXPECT_TRUE(f.Boxes().empty());

  // A path too long for the progress label keeps its file name in sight on the label's
  // one line: two paths that differ only in the name look different.
  std::vector<std::uint32_t> label[2];
  for (int n = 0; n < 2; ++n) {
    m->lblInfo->SetCaption(kConverting + std::string(150, 'd') + "\\" + "ab"[n] + ".mp4");
    testkit::MemoryDC dc(409, 13);
    SendMessageW(m->lblInfo->Handle(), WM_PRINTCLIENT, WPARAM(dc.dc()), PRF_CLIENT);
    for (int i = 0; i < 409 * 13; ++i) label[n].push_back(dc.At(i % 409, i / 409));
  }
  EXPECT_NE(label[0], label[1]);
  m->lblInfo->SetCaption(kReady);
}

TEST(MainForm, TabMovesBetweenTheControls) {
  Fixture f;
  SetFocus(f.form->btnAdd->Handle());
  ASSERT_EQ(GetFocus(), f.form->btnAdd->Handle());
  PostMessageW(f.form->btnAdd->Handle(), WM_KEYDOWN, VK_TAB, 0);
  PostMessageW(f.form->btnAdd->Handle(), WM_KEYUP, VK_TAB, 0);
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), f.form->btnDelete->Handle());
  // From the last control Tab goes round to Add, the first: the banner would show no focus.
  SetFocus(f.form->btnConvert->Handle());
  PostMessageW(f.form->btnConvert->Handle(), WM_KEYDOWN, VK_TAB, 0);
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), f.form->btnAdd->Handle());
  EXPECT_EQ(f.Rows(), 0);  // moving is not clicking
}

TEST(MainForm, AddProbesTheDuration) {
  const struct {
    const char* probe;
    int duration;
  } cases[] = {
      {"out:ID_LENGTH=5025.38\\n", 5025},
      {"out:ID_LENGTH=0.00\\n", 0},
      {"out:ANS_X=1\\nid_Length=12.9\\r\\n", 12},  // the key in any case
      {"out:ID_VIDEO_ID=0\\n", 0},                 // no key
      {"", 0},                                     // nothing at all
      {"out:ID_LENGTH=\\nID_OTHER=3\\n", 0},       // no number after the key
      {"out:ID_LENGTH=x7y.5z\\n", 7},              // other characters are skipped
      {"out:ID_LENGTH=42 sleep:300 exit:1", 42},   // found before the probe ends
      {"out:ID_LENGTH=9\\n hang", 9},              // found, then the probe is ended
  };
  Fixture f;
  const std::string dir = TempDir();
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.probe);
    const std::string clip = Clip(dir, "clip" + std::to_string(++n) + ".mkv", c.probe);
    f.form->ProgressBar1->SetMax(100);
    f.form->ProgressBar1->SetPosition(50);
    f.form->lblInfo->SetCaption("x");
    f.Add(clip);
    ASSERT_EQ(f.Rows(), n);
    EXPECT_EQ(f.form->GetFileInfo(n - 1)->Duration, c.duration);
    EXPECT_EQ(f.Cell(n - 1, 0), clip);
    EXPECT_EQ(f.Cell(n - 1, 1), kReady);
    EXPECT_EQ(f.form->ProgressBar1->Position(), 0);
    EXPECT_EQ(WindowText(f.form->lblInfo->Handle()), kReady);
    EXPECT_FALSE(f.form->DosCommand2->IsRunning());
  }
  EXPECT_TRUE(f.Boxes().empty());
  // The probe is started as the format gives, with its shell words as plain arguments.
  const auto started = f.Started();
  ASSERT_FALSE(started.empty());
  EXPECT_EQ(started[0], "\"" + Doubles() +
                            "mplayer.exe\" -msglevel identify=6 -vo none -ao none \"" + dir +
                            "clip1.mkv\" 2>&1 |grep ID_LENGTH");
}

TEST(MainForm, AddWithoutAnAnswerOrAProbe) {
  Fixture f;
  const std::string dir = TempDir();
  // Cancelled: nothing changes.
  f.form->lblInfo->SetCaption("x");
  f.Click(f.form->btnAdd);
  EXPECT_EQ(f.Rows(), 0);
  EXPECT_EQ(WindowText(f.form->lblInfo->Handle()), "x");

  // A probe that never answers is given up after its passes.
  f.form->ProbePassMs = 10;
  f.Add(Clip(dir, "silent.avi", "hang"));
  ASSERT_EQ(f.Rows(), 1);
  EXPECT_EQ(f.form->GetFileInfo(0)->Duration, 0);
  EXPECT_FALSE(f.form->DosCommand2->IsRunning());
  // Back to whole-second passes: a probe that answers must not be given up on a busy
  // machine (a pass ends early as soon as the answer is there).
  f.form->ProbePassMs = 1000;

  // No probe program: the user is told, and the file still joins with 0.
  f.form->SetAppDir(dir);
  f.Add(Clip(dir, "b.avi", ""));
  ASSERT_EQ(f.Rows(), 2);
  EXPECT_EQ(f.form->GetFileInfo(1)->Duration, 0);
  ASSERT_EQ(f.Boxes().size(), 1u);
  EXPECT_NE(f.Boxes()[0].find("mplayer.exe"), std::string::npos);
  EXPECT_NE(f.Boxes()[0].find(" doesn't exist."), std::string::npos);

  // A number that does not convert: the conversion error is shown, the file not added.
  testkit::ClearMessageBoxes();
  f.form->SetAppDir(Doubles());
  f.Add(Clip(dir, "c.avi", "out:ID_LENGTH=1.2.3\\n"));
  EXPECT_EQ(f.Rows(), 2);
  ASSERT_EQ(f.Boxes().size(), 1u);
  EXPECT_NE(f.Boxes()[0].find("1.2.3"), std::string::npos);
  EXPECT_FALSE(f.form->Probing());
  // A name outside the code page: refused by its own name, with no row and no probe.
  const std::size_t probes = f.Started().size();
  SetOpenDialogHook([&](TOpenDialog& d) {
    d.WideFileName = W(dir) + L"\ud55c.avi";
    return true;
  });
  f.Click(f.form->btnAdd);
  EXPECT_EQ(f.Rows(), 2);
  EXPECT_EQ(f.Started().size(), probes);
  EXPECT_NE(testkit::MessageBoxes().back().wideText.find(L"\ud55c.avi"), std::wstring::npos);
}

TEST(MainForm, SecondAddAndCloseAreRefusedDuringAProbe) {
  Fixture f;
  const std::string dir = TempDir();
  // The probe answers only once the test has tried everything else.
  const std::string go = dir + "go";
  const std::string slow = Clip(dir, "slow.avi", "waitfor:" + go + " out:ID_LENGTH=3\\n");
  f.files = {slow, Clip(dir, "other.avi", "out:ID_LENGTH=4\\n")};
  TTimer timer(nullptr);
  timer.SetInterval(50);
  int ticks = 0;
  bool visibleAfterClose = false, probingThroughout = true;
  timer.OnTimer = [&](TObject*) {
    probingThroughout = probingThroughout && f.form->Probing();
    if (++ticks == 1) {
      f.Click(f.form->btnAdd);
    } else if (ticks == 2) {
      SendMessageW(f.form->Handle(), WM_CLOSE, 0, 0);
      visibleAfterClose = IsWindowVisible(f.form->Handle()) != 0;
    } else if (ticks == 3) {
      f.Click(f.form->btnConvert);
      timer.SetEnabled(false);
      WriteFile(go, "");
    }
  };
  f.Click(f.form->btnAdd);
  timer.SetEnabled(false);
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(probingThroughout);
  ASSERT_EQ(f.Rows(), 1);
  EXPECT_EQ(f.Cell(0, 0), slow);
  EXPECT_EQ(f.form->GetFileInfo(0)->Duration, 3);
  EXPECT_TRUE(visibleAfterClose);
  ASSERT_EQ(f.Boxes().size(), 3u);  // each refusal says why
  for (const auto& text : f.Boxes()) EXPECT_NE(text.find("请稍候"), std::string::npos) << text;
  EXPECT_EQ(f.files.size(), 1u);  // the second dialog never opened
  EXPECT_FALSE(f.form->Probing());
}

TEST(MainForm, DeleteClearAndMove) {
  Fixture f;
  const std::string dir = TempDir();
  std::vector<std::string> paths;
  for (const char* name : {"a.avi", "b.avi", "c.avi"})
    paths.push_back(Clip(dir, name, "out:ID_LENGTH=1\\n"));
  // Without a probe program each Add is quick (the duration is not looked at here).
  f.form->SetAppDir(dir);
  auto fill = [&] {
    f.Click(f.form->btnClear);
    for (const auto& p : paths) f.Add(p);
    ASSERT_EQ(f.Rows(), 3);
  };
  auto names = [&] {
    std::vector<std::string> out;
    for (const auto& p : f.Column(0)) out.push_back(p.substr(dir.size()));
    return out;
  };
  using V = std::vector<std::string>;
  const struct {
    int select;  // -1: none
    void (TFrmMain::*action)(TObject*);
    V rows;
  } cases[] = {
      {-1, &TFrmMain::btnDeleteClick, {"a.avi", "b.avi", "c.avi"}},
      {1, &TFrmMain::btnDeleteClick, {"a.avi", "c.avi"}},
      {2, &TFrmMain::btnDeleteClick, {"a.avi", "b.avi"}},
      {0, &TFrmMain::btnMoveToUpClick, {"a.avi", "b.avi", "c.avi"}},
      {2, &TFrmMain::btnMoveToUpClick, {"a.avi", "c.avi", "b.avi"}},
      {2, &TFrmMain::btnMoveToDownClick, {"a.avi", "b.avi", "c.avi"}},
      {0, &TFrmMain::btnMoveToDownClick, {"b.avi", "a.avi", "c.avi"}},
      {-1, &TFrmMain::btnMoveToDownClick, {"a.avi", "b.avi", "c.avi"}},
      {1, &TFrmMain::btnClearClick, {}},
  };
  for (const auto& c : cases) {
    fill();
    f.form->lvwFiles->SetItemIndex(-1);
    if (c.select >= 0) f.Select(c.select);
    (f.form->*c.action)(f.form->btnDelete);
    SCOPED_TRACE(c.select);
    EXPECT_EQ(names(), c.rows);
    EXPECT_EQ(f.form->FileCount(), int(c.rows.size()));
    const bool move =
        c.action == &TFrmMain::btnMoveToUpClick || c.action == &TFrmMain::btnMoveToDownClick;
    if (move && c.select >= 0) {
      EXPECT_EQ(f.form->lvwFiles->ItemIndex(), c.select);
    }
  }
  // The user's button does the same as the handler.
  fill();
  f.Select(0);
  f.Click(f.form->btnDelete);
  EXPECT_EQ(names(), (V{"b.avi", "c.avi"}));
  // Clear on an empty list leaves it empty.
  f.Click(f.form->btnClear);
  f.Click(f.form->btnClear);
  EXPECT_EQ(f.Rows(), 0);
  EXPECT_EQ(f.form->FileCount(), 0);
  // Move buttons are hidden and not bound.
  EXPECT_FALSE(f.form->btnMoveToUp->OnClick);
  EXPECT_FALSE(f.form->btnMoveToDown->OnClick);
}

TEST(MainForm, OutputFolderChoice) {
  Fixture f;
  const struct {
    const char* chosen;  // "" = cancelled
    const char* shown;
  } cases[] = {
      {"D:\\video", "D:\\video\\"},
      {"D:\\", "D:\\"},
      {"", "D:\\"},  // cancelled: unchanged
      {"C:\\a\\\xd7\xaa\xbb\xbb", "C:\\a\\\xd7\xaa\xbb\xbb\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    f.folders.push_back(c.chosen);
    f.Click(f.form->Button8);
    EXPECT_EQ(WindowText(f.form->edtSaveDir->Handle()), c.shown);
  }
  ASSERT_EQ(f.folderTitles.size(), 4u);
  EXPECT_EQ(f.folderTitles[0], "请选择文件");
  // A folder outside the code page: refused by its own name, the folder unchanged.
  SetFolderBrowserHook([](const std::string&, const std::string&) { return L"C:\\\ud55c"; });
  f.Click(f.form->Button8);
  EXPECT_EQ(WindowText(f.form->edtSaveDir->Handle()), cases[3].shown);
  EXPECT_NE(testkit::MessageBoxes().at(0).wideText.find(L"C:\\\ud55c"), std::wstring::npos);
}

// Runs a batch to its end; each progress line is followed by a look at the window.
struct Watch {
  std::vector<int> positions;
  std::vector<bool> enabled;  // group, output, list, convert, add
  std::vector<std::string> labels;
  bool closeRefused = false;
};

void Convert(Fixture& f, Watch* watch = nullptr) {
  if (watch) {
    auto handler = f.form->DosCommand1->OnNewLine;
    f.form->DosCommand1->OnNewLine = [&f, watch, handler](TObject* s, std::string line,
                                                          TOutputType t) {
      handler(s, line, t);
      if (t != otEntireLine) return;  // a line's beginning comes again whole
      TFrmMain* m = f.form;
      watch->positions.push_back(m->ProgressBar1->Position());
      watch->labels.push_back(WindowText(m->lblInfo->Handle()));
      for (TWinControl* c :
           {(TWinControl*)m->GroupBox3, (TWinControl*)m->GroupBox6, (TWinControl*)m->lvwFiles,
            (TWinControl*)m->btnConvert, (TWinControl*)m->btnAdd})
        watch->enabled.push_back(IsWindowEnabled(c->Handle()) != 0);
      if (!watch->closeRefused) {
        SendMessageW(m->Handle(), WM_CLOSE, 0, 0);
        watch->closeRefused = IsWindowVisible(m->Handle()) != 0;
      }
    };
  }
  f.Click(f.form->btnConvert);
}

TEST(MainForm, CommandLines) {
  Fixture f;
  const std::string dir = TempDir();
  const std::string out = dir + "out\\";
  f.Add(Clip(dir, "movie.rmvb", "out:ID_LENGTH=10\\n"));
  f.folders.push_back(out.substr(0, out.size() - 1));
  f.Click(f.form->Button8);
  const std::string ffmpeg =
      "\"" + Doubles() + "ffmpeg.exe\" -i \"" + dir + "movie.rmvb\" -y -f avi  -b ";
  const std::string tail = " -vcodec mpeg4 -acodec libmp3lame \"" + out + "movie.avi\"";
  const struct {
    int kbps, size, aspect;
    std::string middle;
  } cases[] = {
      // Four blanks before -vcodec with the defaults (the tail brings the last one).
      {1, 0, 0, "1200k -r 29.97   "},
      {3, 3, 1, "2500k -r 29.97  -s 352x288   -aspect 4:3  "},
      {0, 7, 0, "512k -r 29.97  -s 640x480   "},
      {2, 0, 2, "1500k -r 29.97   -aspect 16:9  "},
  };
  for (const auto& c : cases) {
    f.form->cmbVideoKbps->SetItemIndex(c.kbps);
    f.form->cmbVideoSize->SetItemIndex(c.size);
    f.form->cmbAspect->SetItemIndex(c.aspect);
    Convert(f);
    EXPECT_EQ(f.Started().back(), ffmpeg + c.middle + tail);
  }
  EXPECT_NE(ReadFile(out + "movie.avi").find("movie.rmvb"), std::string::npos);
}

TEST(MainForm, ProgressFollowsTheMarkers) {
  Fixture f;
  const std::string dir = TempDir();
  f.Add(Clip(dir, "p.avi", "out:ID_LENGTH=100\\n",
             "out:ffmpeg_release_time=12.5=ffmpeg_release_time\\r\\n sleep:100 "
             "out:frame=1\\x20ffmpeg_release_time=13.5=ffmpeg_release_time\\x20q=2\\r\\n sleep:100 "
             "out:ffmpeg_release_time=50\\r\\n sleep:100 "
             "out:ffmpeg_release_time=abc=ffmpeg_release_time\\r\\n sleep:100 "
             "out:ffmpeg_release_time=99.5=ffmpeg_release_time\\r\\n sleep:100 write"));
  f.form->edtSaveDir->SetText(dir + "out\\");
  Watch w;
  Convert(f, &w);
  EXPECT_EQ(w.positions, (std::vector<int>{12, 14, 14, 14, 100}));
  EXPECT_EQ(f.form->ProgressBar1->Max(), 100);
  EXPECT_EQ(f.form->ProgressBar1->Position(), 0);
}

TEST(MainForm, BatchConvertsEveryJobInOrder) {
  Fixture f;
  const std::string dir = TempDir();
  const std::string out = dir + "x\\y\\z\\";  // made with its parents
  std::vector<std::string> clips;
  for (const char* name : {"one.mp4", "two.wmv", "three.mkv"})
    clips.push_back(Clip(dir, name, "out:ID_LENGTH=20\\n", "markers:2:50:5 write"));
  for (const auto& c : clips) f.Add(c);
  f.form->edtSaveDir->SetText(out);
  Watch w;
  Convert(f, &w);
  EXPECT_TRUE(DirExists(out));
  for (const char* name : {"one.avi", "two.avi", "three.avi"})
    EXPECT_FALSE(ReadFile(out + name).empty()) << name;
  EXPECT_EQ(f.Column(1), (std::vector<std::string>{kDone, kDone, kDone}));
  EXPECT_EQ(w.positions, (std::vector<int>{5, 10, 5, 10, 5, 10}));
  ASSERT_EQ(w.labels.size(), 6u);
  EXPECT_EQ(w.labels[0], kConverting + clips[0]);
  EXPECT_EQ(w.labels[5], kConverting + clips[2]);
  for (bool e : w.enabled) EXPECT_FALSE(e);
  EXPECT_TRUE(w.closeRefused);
  // The end state: bar at 0, done text, every control usable again.
  EXPECT_EQ(f.form->ProgressBar1->Position(), 0);
  EXPECT_EQ(WindowText(f.form->lblInfo->Handle()), kAllDone);
  for (TWinControl* c : {(TWinControl*)f.form->GroupBox3, (TWinControl*)f.form->GroupBox6,
                         (TWinControl*)f.form->lvwFiles, (TWinControl*)f.form->btnConvert,
                         (TWinControl*)f.form->btnAdd, (TWinControl*)f.form->Button8})
    EXPECT_TRUE(IsWindowEnabled(c->Handle())) << c->Name;
  ASSERT_EQ(f.Boxes().size(), 1u);  // only the refused close
  EXPECT_NE(f.Boxes()[0].find("转换"), std::string::npos);
  EXPECT_FALSE(f.form->Converting());
}

TEST(MainForm, FailedEncodesAreMarkedAndTheBatchGoesOn) {
  Fixture f;
  const std::string dir = TempDir();
  f.Add(Clip(dir, "bad.avi", "out:ID_LENGTH=5\\n", "err:broken\\r\\n exit:1"));
  f.Add(Clip(dir, "good.avi", "out:ID_LENGTH=5\\n", "write"));
  f.Add(Clip(dir, "crash.avi", "out:ID_LENGTH=5\\n", "exit:-1073741819"));
  f.form->edtSaveDir->SetText(dir + "out\\");
  Convert(f);
  EXPECT_EQ(f.Column(1), (std::vector<std::string>{kFailed, kDone, kFailed}));
  EXPECT_TRUE(f.Boxes().empty());

  // No encoder at all: each job fails, the user is told each time, the batch ends. The
  // output the first batch wrote is named first, in the question before this one.
  testkit::ClearMessageBoxes();
  f.form->SetAppDir(dir);
  Convert(f);
  EXPECT_EQ(f.Column(1), (std::vector<std::string>{kFailed, kFailed, kFailed}));
  ASSERT_EQ(f.Boxes().size(), 4u);
  EXPECT_NE(f.Boxes()[0].find(dir + "out\\good.avi"), std::string::npos);
  for (std::size_t i = 1; i < 4; ++i)
    EXPECT_NE(f.Boxes()[i].find("ffmpeg.exe\" -i"), std::string::npos);
  EXPECT_EQ(WindowText(f.form->lblInfo->Handle()), kAllDone);
  EXPECT_TRUE(IsWindowEnabled(f.form->btnConvert->Handle()));

  // A program folder outside the code page: its short name, or refused by name (twice).
  const std::wstring folder = W(TempDir()) + L"\ud504\ub85c\uadf8\ub7a8\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((W(Doubles()) + L"ffmpeg.exe").c_str(), (folder + L"ffmpeg.exe").c_str(), FALSE);
  testkit::ClearMessageBoxes();
  const std::size_t started = f.Started().size();
  f.form->SetProgramFolder(folder);
  Convert(f);
  EXPECT_EQ(f.Column(1), (std::vector<std::string>{kFailed, kDone, kFailed}));
  testkit::ClearMessageBoxes();
  f.form->SetProgramFolder(folder + L"\ud55c\\");
  // A file joins without a probe: none is started from wherever the system would look.
  const std::string probe = f.form->DosCommand2->CommandLine;
  f.Add(Clip(dir, "late.avi", "out:ID_LENGTH=5\\n"));
  EXPECT_EQ(f.Rows(), 4);
  EXPECT_EQ(f.form->DosCommand2->CommandLine, probe);
  Convert(f);
  EXPECT_EQ(f.Started().size(), started + 3);
  ASSERT_EQ(f.Boxes().size(), 2u);
  for (const auto& box : testkit::MessageBoxes())
    EXPECT_NE(box.wideText.find(folder + L"\ud55c\\"), std::wstring::npos);
}

TEST(MainForm, SourceInTheOutputFolderIsNeverOverwritten) {
  Fixture f;
  const std::string dir = TempDir();
  const std::string own = Clip(dir, "Same.AVI", "out:ID_LENGTH=5\\n", "write");
  const std::string before = ReadFile(own);
  f.Add(own);
  f.Add(Clip(dir, "other.mpg", "out:ID_LENGTH=5\\n", "write"));
  const std::string mp4 = Clip(dir, "Same.mp4", "out:ID_LENGTH=5\\n", "write");
  // A job that fails leaves its output to the next job of the same output.
  const std::string bad = Clip(TempDir(), "dup.mp4", "out:ID_LENGTH=4\\n", "write exit:1");
  const std::string a = Clip(TempDir(), "dup.mp4", "out:ID_LENGTH=4\\n", "write");
  const std::string b = Clip(TempDir(), "dup.mp4", "out:ID_LENGTH=7\\n", "write");
  // A listed source by another name: a hard link to what a job would write.
  const std::string shared = Clip(dir, "shared.avi", "", "write");
  const std::string alias = TempDir() + "alias.avi";
  ASSERT_TRUE(CreateHardLinkW(W(alias).c_str(), W(shared).c_str(), nullptr));
  const std::string mkv = Clip(TempDir(), "shared.mkv", "", "write");
  for (const std::string& p : {mp4, bad, a, b, alias, mkv}) f.Add(p);
  f.form->edtSaveDir->SetText(dir);
  Convert(f);
  EXPECT_EQ(ReadFile(own), before);
  EXPECT_FALSE(ReadFile(dir + "other.avi").empty());
  EXPECT_NE(ReadFile(dir + "dup.avi").find(a), std::string::npos);
  EXPECT_EQ(f.Column(1), (std::vector<std::string>{kSkipped, kDone, kSkipped, kFailed, kDone,
                                                   kSkipped, kDone, kSkipped}));
  for (const auto& cmd : f.Started())
    EXPECT_EQ(cmd.find("Same.AVI\" -y"), std::string::npos) << cmd;
  ASSERT_EQ(f.Boxes().size(), 1u);
  EXPECT_EQ(f.Boxes()[0], "以下文件没有转换，已跳过：\r\n" + own + "：输出文件就是源文件本身\r\n" +
                              mp4 + "：输出文件会覆盖列表中的源文件 " + own + "\r\n" + b +
                              "：输出文件 " + dir + "dup.avi 已由本次转换的 " + a + " 写出\r\n" +
                              mkv + "：输出文件会覆盖列表中的源文件 " + alias);
  EXPECT_EQ(WindowText(f.form->lblInfo->Handle()), kAllDone);

  // Thirty skipped files with long names: the box stays on the screen, naming what fits
  // and counting the rest.
  f.Click(f.form->btnClear);
  for (int i = 0; i < 30; ++i)
    f.Add(Clip(dir, std::string(100, 'n') + std::to_string(i) + ".avi", "", "write"));
  Convert(f);
  const std::string text = f.Boxes().back();
  static bool onScreen = false;  // as the system shows the box
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    RECT box, screen;
    const HWND h = FindWindowA("#32770", "skipped");
    if (!h || !GetWindowRect(h, &box)) return;
    KillTimer(nullptr, id);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    onScreen = box.top >= screen.top && box.bottom <= screen.bottom;
    PostMessageA(h, WM_COMMAND, IDOK, 0);
  });
  MessageBoxA(nullptr, text.c_str(), "skipped", MB_OK | MB_ICONWARNING);
  EXPECT_TRUE(onScreen);
  const std::size_t named = std::count(text.begin(), text.end(), '\n') - 1;
  EXPECT_NE(text.find("另有 " + std::to_string(30 - named) + " 个"), std::string::npos) << text;

  // A file the user keeps where an output goes: one question names it before anything
  // starts. Cancel (or a close while it is open) changes nothing; OK replaces it.
  f.Click(f.form->btnClear);
  const std::string kept = TempDir();
  WriteFile(kept + "clip.avi", "mine");
  f.Add(Clip(dir, "clip.mp4", "out:ID_LENGTH=5\\n", "write"));
  f.form->edtSaveDir->SetText(kept);
  for (const int answer : {IDCANCEL, IDOK}) {
    const std::size_t started = f.Started().size();
    bool asked = false;
    SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned flags) {
      asked = text.find(kept + "clip.avi") != std::string::npos && (flags & MB_OKCANCEL);
      SendMessageW(f.form->Handle(), WM_CLOSE, 0, 0);
      return IsWindowVisible(f.form->Handle()) ? answer : 0;
    });
    Convert(f);
    testkit::InstallMessageBoxRecorder();
    EXPECT_TRUE(asked);
    EXPECT_EQ(ReadFile(kept + "clip.avi") == "mine", answer == IDCANCEL);
    EXPECT_EQ(f.Started().size(), started + (answer == IDOK));
    EXPECT_EQ(f.Cell(0, 1), answer == IDOK ? kDone : kReady);
  }
}

TEST(MainForm, OutputFolderMissingOrNotCreatable) {
  Fixture f;
  const std::string dir = TempDir();
  f.Add(Clip(dir, "a.avi", "out:ID_LENGTH=5\\n"));
  const std::size_t probes = f.Started().size();

  f.Click(f.form->btnConvert);
  EXPECT_EQ(f.Boxes(), (std::vector<std::string>{kNoFolder}));
  EXPECT_EQ(f.Started().size(), probes);

  testkit::ClearMessageBoxes();
  WriteFile(dir + "file", "x");
  const std::string bad = dir + "file\\sub\\";
  f.form->edtSaveDir->SetText(bad);
  f.Click(f.form->btnConvert);
  ASSERT_EQ(f.Boxes().size(), 2u);
  EXPECT_EQ(f.Boxes()[0], "建立目录：" + bad + "出错！\r\n\r\n请检查目录名是否正确。");
  EXPECT_EQ(testkit::MessageBoxes()[0].flags & MB_ICONMASK, unsigned(MB_ICONERROR));
  EXPECT_NE(f.Boxes()[1].find("I/O error"), std::string::npos);
  EXPECT_EQ(f.Started().size(), probes);  // no encoder ran
  EXPECT_EQ(f.Cell(0, 1), kReady);
  EXPECT_TRUE(IsWindowEnabled(f.form->GroupBox3->Handle()));
  EXPECT_FALSE(f.form->Converting());
}

TEST(MainForm, EmptyListRunsAnEmptyBatch) {
  Fixture f;
  const std::string dir = TempDir();
  f.form->edtSaveDir->SetText(dir + "new\\");
  f.Click(f.form->btnConvert);
  EXPECT_TRUE(DirExists(dir + "new\\"));
  EXPECT_EQ(WindowText(f.form->lblInfo->Handle()), kAllDone);
  EXPECT_TRUE(f.Started().empty());
}

}  // namespace
