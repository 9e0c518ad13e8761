// The option lists and the conversion queue of the main dialog, driven as a user drives
// them, with the scripted encoder double in place of vv.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "DialogTestKit.h"
#include "TestKit.h"
#include "resource.h"
#include "videoDlg.h"

namespace {

using Options = CvideoDlg::EncoderOptions;

std::wstring W(const std::string& s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), int(s.size()), nullptr, 0);
  std::wstring w(std::size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), int(s.size()), w.data(), n);
  return w;
}

// The 8-bit command as the encoder receives it.
std::wstring FromOem(const char* s) {
  const int n = MultiByteToWideChar(CP_OEMCP, 0, s, -1, nullptr, 0);
  std::wstring w(std::size_t(n > 0 ? n - 1 : 0), L'\0');
  MultiByteToWideChar(CP_OEMCP, 0, s, -1, w.data(), n);
  return w;
}

void SaveText(const std::wstring& path, const std::string& content) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << content;
}
std::string LoadText(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Box {
  HWND owner;
  std::wstring text, caption;
  UINT flags;
  int barAtBox;
  bool convertEnabledAtBox;
};

class Queue : public testing::Test {
 protected:
  void SetUp() override {
    vt::PrepareApplication();
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    root = W(testkit::ExeDir()) + L"queue_" + W(name);
    CreateDirectoryW(root.c_str(), nullptr);
    for (const wchar_t* sub : {L"\\out", L"\\src"}) CreateDirectoryW((root + sub).c_str(), nullptr);
    for (const wchar_t* f : {L"\\vvlog.txt", L"\\vvscript.txt", L"\\progress.txt"})
      DeleteFileW((root + f).c_str());
    ASSERT_TRUE(CopyFileW((W(testkit::ExeDir()) + L"doubles\\vv.exe").c_str(),
                          (root + L"\\vv.exe").c_str(), FALSE));
    Open();
  }
  void TearDown() override {
    // The close message ends an encoder still running; destroying the window alone
    // leaves it to finish.
    if (dlg && dlg->m_encoder) SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);
    dlg.reset();
    SetDlgMessageBoxHook(nullptr);
  }

  // A fresh main dialog whose program folder is the test's folder (the double and its
  // progress file live there) and whose output folder is "out" in it.
  void Open() {
    if (dlg && dlg->m_encoder) SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);
    dlg.reset();
    boxes.clear();
    dlg = std::make_unique<CvideoDlg>();
    ASSERT_TRUE(dlg->Create(nullptr, false));
    lstrcpynW(dlg->m_exeDir, root.c_str(), CvideoDlg::kExeDirSize);
    dlg->m_outputDir.SetWindowText(Out());
    // Installed after the dialog's own start-up, which may report a long program path.
    SetDlgMessageBoxHook([this](HWND owner, const wchar_t* t, const wchar_t* c, UINT f) {
      boxes.push_back({owner, t, c, f, dlg->m_progress.GetPos(),
                       IsWindowEnabled(dlg->GetDlgItem(IDC_CONVERT)) != 0});
      return answer ? answer(boxes.back()) : IDOK;
    });
  }

  std::wstring Out() const { return root + L"\\out"; }
  std::wstring Src(const std::wstring& name) const { return root + L"\\src\\" + name; }
  void Script(const std::string& steps) { SaveText(root + L"\\vvscript.txt", steps); }

  // Add, as the open-file dialog answers it: the row goes to the top.
  void Add(const std::wstring& path) {
    answers.files.push_back(path);
    SendMessageW(dlg->GetDlgItem(IDC_ADD), BM_CLICK, 0, 0);
  }
  void Convert() { SendMessageW(dlg->GetDlgItem(IDC_CONVERT), BM_CLICK, 0, 0); }
  // A user's choice in a drop-down list: the selection, then its change notification.
  void Choose(int id, const wchar_t* text) {
    HWND box = dlg->GetDlgItem(id);
    const LRESULT i = SendMessageW(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text));
    ASSERT_GE(i, 0) << id;
    SendMessageW(box, CB_SETCURSEL, WPARAM(i), 0);
    SendMessageW(dlg->m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(box));
  }
  std::vector<std::wstring> Items(int id) {
    std::vector<std::wstring> items;
    HWND box = dlg->GetDlgItem(id);
    for (int i = 0; i < int(SendMessageW(box, CB_GETCOUNT, 0, 0)); ++i) {
      wchar_t buf[64] = {};
      SendMessageW(box, CB_GETLBTEXT, WPARAM(i), LPARAM(buf));
      items.push_back(buf);
    }
    return items;
  }
  std::vector<std::wstring> Statuses() {
    std::vector<std::wstring> s;
    for (int i = 0; i < dlg->m_list.GetItemCount(); ++i) s.push_back(dlg->m_list.GetItemText(i, 1));
    return s;
  }
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::path(root + L"\\vvlog.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool FinalBoxShown() {
    return std::any_of(boxes.begin(), boxes.end(),
                       [](const Box& b) { return b.caption == L"转换完成"; });
  }
  // A tick of the poll timer, as the system delivers it.
  void Tick() { SendMessageW(dlg->m_hWnd, WM_TIMER, CvideoDlg::kPollTimer, 0); }

  std::wstring root;
  vt::Answers answers;  // answers the open-file dialog
  std::vector<Box> boxes;
  std::function<int(const Box&)> answer;
  std::unique_ptr<CvideoDlg> dlg;
};

TEST_F(Queue, EveryOptionListRewritesItsArgumentWhenTheUserChangesIt) {
  const Options defaults3gp{
      L"-vcodec h263", L"-b 256k",   L"-s 176x144 ", L"-r 14.985", L"-acodec libopencore_amrnb",
      L"-ar 8000",     L"-ab 12.2k", L"-ac 1"};
  const auto expectOptions = [&](const Options& want) {
    const Options& o = dlg->m_options;
    EXPECT_EQ(o.videoCodec, want.videoCodec);
    EXPECT_EQ(o.videoBitrate, want.videoBitrate);
    EXPECT_EQ(o.frameSize, want.frameSize);
    EXPECT_EQ(o.frameRate, want.frameRate);
    EXPECT_EQ(o.audioCodec, want.audioCodec);
    EXPECT_EQ(o.sampleRate, want.sampleRate);
    EXPECT_EQ(o.audioBitrate, want.audioBitrate);
    EXPECT_EQ(o.channels, want.channels);
  };
  // Each list shows any of its entries whole, in its field and in its open drop-down.
  const auto expectWhole = [&] {
    for (int id = IDC_FORMAT; id <= IDC_CHANNELS; ++id) {
      HWND box = dlg->GetDlgItem(id);
      COMBOBOXINFO info{sizeof info, {}, {}, 0, nullptr, nullptr, nullptr};
      GetComboBoxInfo(box, &info);
      RECT drop{};
      SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
      GetClientRect(info.hwndList, &drop);
      SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
      HDC dc = GetDC(box);
      SelectObject(dc, HGDIOBJ(SendMessageW(box, WM_GETFONT, 0, 0)));
      for (const std::wstring& item : Items(id)) {
        SIZE text{};
        GetTextExtentPoint32W(dc, item.c_str(), int(item.size()), &text);
        EXPECT_LE(text.cx + 4, std::min(info.rcItem.right - info.rcItem.left, drop.right)) << item;
      }
      ReleaseDC(box, dc);
    }
  };
  {
    SCOPED_TRACE("start-up");
    expectOptions(defaults3gp);
    EXPECT_EQ(Items(IDC_VIDEO_CODEC), (std::vector<std::wstring>{L"H.263", L"mpeg4"}));
  }
  Choose(IDC_FORMAT, L"3gpp2");
  {
    SCOPED_TRACE("3gpp2");
    expectOptions({L"-fpre \"" + root + L"\\h264.dat\" -vcodec libx264", L"-b 512k", L"-s 320x240 ",
                   L"-r 14.985", L"-strict experimental -acodec aac", L"-ar 44100", L"-ab 112k",
                   L"-ac 2"});
    EXPECT_EQ(Items(IDC_SAMPLE_RATE).size(),
              6u);  // the audio codec's refill, not the format's four
    expectWhole();
  }

  struct Pick {
    int id;
    const wchar_t* text;
    std::wstring Options::*argument;
    const wchar_t* expected;
  };
  const Pick picks[] = {
      {IDC_VIDEO_CODEC, L"mpeg4", &Options::videoCodec, L"-vcodec  mpeg4"},
      {IDC_VIDEO_BITRATE, L"2.0 Mbps", &Options::videoBitrate, L"-b 2000k"},
      {IDC_FRAME_SIZE, L"720x576 DVD", &Options::frameSize, L"-s 720x576 "},
      {IDC_FRAME_RATE, L"25.0 fps", &Options::frameRate, L"-r 25"},
      {IDC_AUDIO_BITRATE, L"160 kbps", &Options::audioBitrate, L"-ab 160k"},
      {IDC_SAMPLE_RATE, L"48000 Hz", &Options::sampleRate, L"-ar 48000"},
      {IDC_CHANNELS, L"1 Channel Mono", &Options::channels, L"-ac 1"},
      {IDC_ASPECT, L"16:9", &Options::aspect, L" -aspect 16:9"},
      {IDC_AUDIO_CODEC, L"AMR_NB", &Options::audioCodec, L"-acodec libopencore_amrnb"},
  };
  for (const Pick& p : picks) {
    SCOPED_TRACE(p.id);
    Choose(p.id, p.text);
    EXPECT_EQ(dlg->m_options.*p.argument, p.expected);
  }
  // The codec change refilled the audio lists but left their arguments to their own lists.
  EXPECT_EQ(Items(IDC_SAMPLE_RATE), std::vector<std::wstring>{L"8000 Hz"});
  EXPECT_EQ(Items(IDC_CHANNELS), std::vector<std::wstring>{L"1 Channel Mono"});
  EXPECT_EQ(dlg->m_options.sampleRate, L"-ar 48000");

  Choose(IDC_FORMAT, L"3gp");
  SCOPED_TRACE("back to 3gp");
  expectOptions(defaults3gp);
  expectWhole();
}

TEST_F(Queue, ConvertNamesTheOutputAsksBeforeReplacingAndFillsTheCommand) {
  struct Case {
    const char* name;
    const wchar_t* format;
    std::wstring source;
    std::vector<std::wstring> existing;  // in the output folder
    int answer;
    std::wstring output;  // in the output folder
    bool asked;
  };
  const std::wstring y = std::wstring(40, L'y') + L".3gp";
  const Case cases[] = {
      {"source in the output folder",
       L"3gp",
       Out() + L"\\self.3gp",
       {},
       IDOK,
       L"新self.3gp",
       false},
      {"3gpp2", L"3gpp2", Src(L"a.b.avi"), {}, IDOK, L"a.b.3g2", false},
      {"replace agreed", L"3gp", Src(L"clip.avi"), {L"clip.3gp"}, IDOK, L"clip.3gp", true},
      {"another name", L"3gp", Src(L"..\\out\\" + y), {y}, IDOK, L"新" + y, false},
      {"new taken", L"3gpp2", Out() + L"\\clip.3g2", {L"新clip.3g2"}, IDOK, L"新clip.3g2", true},
  };
  Script("hang");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const wchar_t* f : {L"clip.3gp", L"重命名clip.3gp", L"新self.3gp"})
      DeleteFileW((Out() + L"\\" + f).c_str());
    for (const std::wstring& f : c.existing) SaveText(Out() + L"\\" + f, "old");
    Open();
    answer = [&](const Box&) { return c.answer; };
    if (std::wstring(c.format) != L"3gp") Choose(IDC_FORMAT, c.format);
    Add(c.source);
    Convert();

    if (c.asked) {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text, L"输出目录" + Out() + L"中，已经有" + c.output + L"，是否要覆盖？");
      EXPECT_EQ(boxes[0].caption, L"提示");
      EXPECT_EQ(boxes[0].flags & 0xF, UINT(MB_OKCANCEL));
      EXPECT_EQ(boxes[0].owner, dlg->m_hWnd);
    } else {
      EXPECT_TRUE(boxes.empty());
    }
    const std::wstring command = FromOem(dlg->m_command);
    const std::wstring tail = L"\"" + Out() + L"\\" + c.output + L"\"";
    ASSERT_GE(command.size(), tail.size());
    EXPECT_EQ(command.substr(command.size() - tail.size()), tail);
    EXPECT_EQ(command.rfind(L"vv.exe -i \"" + c.source + L"\" -y ", 0), 0u);
    ASSERT_NE(dlg->m_encoder, nullptr);
    SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);  // ends the waiting double
    EXPECT_EQ(dlg->m_encoder, nullptr);
  }

  SCOPED_TRACE("the whole command of the defaults");
  answer = nullptr;
  for (const wchar_t* f : {L"clip.3gp", L"重命名clip.3gp"})
    DeleteFileW((Out() + L"\\" + f).c_str());
  Open();
  dlg->m_outputDir.SetWindowText(L" \"" + Out() + L"\" ");  // as a file manager copies it
  Add(Src(L"clip.avi"));
  Convert();
  EXPECT_EQ(FromOem(dlg->m_command),
            L"vv.exe -i \"" + Src(L"clip.avi") +
                L"\" -y -vcodec h263 -b 256k -s 176x144  -r 14.985 -acodec libopencore_amrnb "
                L"-ar 8000 -ab 12.2k -ac 1 \"" +
                Out() + L"\\clip.3gp\"");
  EXPECT_EQ(LoadText(root + L"\\progress.txt"), "0");
  SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);
}

TEST_F(Queue, DecliningNeverLosesAFile) {
  // The double writes "3gp" into the output it is given.
  Script("touch");
  SaveText(Out() + L"\\clip.3gp", "first");
  SaveText(Out() + L"\\重命名clip.3gp", "second");
  answer = [](const Box&) { return IDCANCEL; };
  Add(Src(L"clip.avi"));
  Convert();
  ASSERT_TRUE(testkit::PumpUntil([&] { return FinalBoxShown(); }, 10000));
  EXPECT_EQ(LoadText(Out() + L"\\clip.3gp"), "first");
  EXPECT_EQ(LoadText(Out() + L"\\重命名clip.3gp"), "second");
  EXPECT_EQ(LoadText(Out() + L"\\重命名clip(2).3gp"), "3gp");
  EXPECT_EQ(Statuses(), std::vector<std::wstring>{L"已完成"});
}

TEST_F(Queue, ProgressFileShowsAsAPercentageAndTheBarOnlyMovesForward) {
  Script("hang");
  Add(Src(L"clip.avi"));
  const std::wstring progress = root + L"\\progress.txt";
  SaveText(progress, "1000");  // another row's value, locked as this row starts
  HANDLE lock = CreateFileW(progress.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  Convert();
  Tick();
  CloseHandle(lock);
  ASSERT_EQ(Statuses(), std::vector<std::wstring>{L"0%"});
  ASSERT_NE(dlg->m_encoder, nullptr);
  struct Step {
    const char* content;  // nullptr: the file is missing
    const wchar_t* status;
    int bar;
  };
  const Step steps[] = {
      {"0", L"0%", 0},
      {"5", L"0%", 5},
      {"999", L"99%", 999},
      {"500", L"50%", 999},  // the text follows, the bar does not go back
      {"junk", L"0%", 999},
      {"250\r\n", L"25%", 999},
      {nullptr, L"25%", 999},  // unreadable: the last value stays
      {"", L"25%", 999},       // being rewritten: the last value stays
      {"1001", L"--%", 999},
      {"-1", L"--%", 999},
      {"99999999999", L"--%", 999},
      {"1000", L"100%", 1000},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.content ? s.content : "(missing)");
    if (s.content)
      SaveText(progress, s.content);
    else
      DeleteFileW(progress.c_str());
    Tick();
    EXPECT_EQ(Statuses(), std::vector<std::wstring>{s.status});
    EXPECT_EQ(dlg->m_progress.GetPos(), s.bar);
  }

  SCOPED_TRACE("held open by the encoder");
  HANDLE held = CreateFileW(progress.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(held, "640", 3, &written, nullptr);
  Tick();
  CloseHandle(held);
  EXPECT_EQ(Statuses(), std::vector<std::wstring>{L"64%"});

  SCOPED_TRACE("closing ends the encoder");
  ASSERT_TRUE(testkit::PumpUntil([&] { return !Log().empty(); }, 10000));
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 1u);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(std::stoul(log[0])));
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 0), DWORD(WAIT_TIMEOUT));
  SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(dlg->m_encoder, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 2000), WAIT_OBJECT_0);
  CloseHandle(process);
}

TEST_F(Queue, RowsConvertOneAfterAnotherFromTheTopWithoutFreezingTheWindow) {
  Script("run:1800:3");
  for (const wchar_t* name : {L"A.avi", L"B.avi", L"C.avi"}) Add(Src(name));
  ASSERT_EQ(dlg->m_list.GetItemText(0, 0), Src(L"C.avi"));
  // Statuses of an earlier run stay until the first tick.
  dlg->m_list.SetItemText(2, 1, L"old");
  Convert();
  EXPECT_EQ(dlg->m_list.GetItemText(2, 1), L"old");
  for (int id : {IDC_OUTPUT_DIR, IDC_ADD, IDC_DELETE, IDC_CLEAR, IDC_UP, IDC_DOWN, IDC_SET_OUTPUT,
                 IDC_CONVERT, IDC_FORMAT, IDC_VIDEO_CODEC, IDC_CHANNELS})
    EXPECT_FALSE(IsWindowEnabled(dlg->GetDlgItem(id))) << id;
  EXPECT_TRUE(IsWindowEnabled(dlg->GetDlgItem(IDC_FILE_LIST)));

  std::vector<std::vector<std::wstring>> views;
  std::vector<int> bars;
  ULONGLONG last = GetTickCount64(), longestGap = 0;
  ASSERT_TRUE(testkit::PumpUntil(
      [&] {
        const ULONGLONG now = GetTickCount64();
        longestGap = std::max(longestGap, now - last);
        last = now;
        std::vector<std::wstring> v = Statuses();
        if (views.empty() || views.back() != v) views.push_back(v);
        const int bar = dlg->m_progress.GetPos();
        if (bars.empty() || bars.back() != bar) bars.push_back(bar);
        return FinalBoxShown();
      },
      20000));

  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const char* expected[] = {"C.avi", "B.avi", "A.avi"};
    EXPECT_NE(log[i].find(expected[i]), std::string::npos) << log[i];
  }

  // Each row in turn: rows above it done, its own percentage, rows below waiting.
  const auto isPercent = [](const std::wstring& s) {
    return !s.empty() && s.back() == L'%' && s != L"--%";
  };
  std::size_t at = 0;
  for (int current = 0; current < 3; ++current) {
    SCOPED_TRACE(current);
    const auto match = [&](const std::vector<std::wstring>& v) {
      for (int i = 0; i < 3; ++i) {
        if (i < current && v[std::size_t(i)] != L"已完成") return false;
        if (i > current && v[std::size_t(i)] != L"等待") return false;
        if (i == current && !isPercent(v[std::size_t(i)])) return false;
      }
      return true;
    };
    const auto it = std::find_if(views.begin() + std::ptrdiff_t(at), views.end(), match);
    ASSERT_NE(it, views.end());
    at = std::size_t(it - views.begin());
  }
  EXPECT_EQ(views.back(), (std::vector<std::wstring>{L"已完成", L"已完成", L"已完成"}));

  // Between two rows the bar stands full, then empty after the pause; otherwise it
  // only moves forward.
  int pauses = 0;
  for (std::size_t i = 1; i < bars.size(); ++i) {
    if (bars[i] < bars[i - 1]) {
      EXPECT_EQ(bars[i - 1], 1000);
      EXPECT_EQ(bars[i], 0);
      ++pauses;
    }
  }
  EXPECT_EQ(pauses, 2);
  EXPECT_EQ(bars.back(), 1000);
  EXPECT_LT(longestGap, 700u) << "the window stopped answering";

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"转换完成");
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].flags & 0xF, UINT(MB_OK));
  EXPECT_EQ(boxes[0].barAtBox, 1000);
  EXPECT_TRUE(boxes[0].convertEnabledAtBox);
  for (int id = IDC_ADD; id <= IDC_FILE_LIST; ++id)
    EXPECT_TRUE(IsWindowEnabled(dlg->GetDlgItem(id))) << id;
  EXPECT_EQ(dlg->m_encoder, nullptr);
}

TEST_F(Queue, ARowThatFailsGetsItsOwnStatusAndTheQueueGoesOn) {
  // The double takes an argument that is one of its steps as its script: this source
  // makes it end at once with exit code 3.
  const std::wstring failing = L"exit:3.avi";
  // A source that fits, whose output path the encoder could not open: refused with a message.
  const std::wstring tooLong = L"C:\\" + std::wstring(200, L'x') + L".avi";
  for (const std::wstring& s : {Src(L"good.avi"), tooLong, failing}) Add(s);
  Convert();
  ASSERT_TRUE(testkit::PumpUntil([&] { return FinalBoxShown(); }, 15000));
  EXPECT_EQ(Statuses(), (std::vector<std::wstring>{L"转换失败", L"无法转换", L"已完成"}));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].text.find(tooLong), std::wstring::npos);
  EXPECT_NE(boxes[0].text.find(L"路径太长"), std::wstring::npos);
  EXPECT_EQ(boxes[1].caption, L"转换完成");
  EXPECT_EQ(Log().size(), 2u);  // the refused row never started an encoder
}

TEST_F(Queue, AMissingEncoderFailsEveryRowAndTheRunStillEnds) {
  ASSERT_TRUE(DeleteFileW((root + L"\\vv.exe").c_str()));
  for (const wchar_t* name : {L"A.avi", L"B.avi"}) Add(Src(name));
  int finished = 0;  // Convert again while the completion box is up: that run ends too
  answer = [&](const Box& b) {
    if (b.caption == L"转换完成" && ++finished == 1) {
      Convert();
      EXPECT_TRUE(testkit::PumpUntil([&] { return finished == 2; }, 15000));
    }
    return IDOK;
  };
  Convert();
  ASSERT_TRUE(testkit::PumpUntil([&] { return finished == 2; }, 30000));
  EXPECT_EQ(Statuses(), (std::vector<std::wstring>{L"无法启动", L"无法启动"}));
  EXPECT_EQ(dlg->m_progress.GetPos(), 1000);
  EXPECT_TRUE(IsWindowEnabled(dlg->GetDlgItem(IDC_CONVERT)));
}

TEST_F(Queue, AfterACloseThatCameWhileABoxOfTheRunWasOpenNothingStarts) {
  // Rows as added, a word of the box the close comes in; every start is refused in a tick.
  const std::tuple<std::vector<std::wstring>, const wchar_t*> cases[] = {
      {{Src(L"clip.avi")}, L"是否要覆盖"},                  // the prompt at Convert
      {{Src(L"clip.avi"), Src(L"A.avi")}, L"是否要覆盖"},   // and in a tick
      {{L"C:\\" + std::wstring(1100, L'x')}, L"无法转换"},  // a row refused at its start
      {{Src(L"A.avi"), Src(L"B.avi")}, L"无法转换"},        // a start refused, in a tick
      {{Src(L"A.avi")}, L"转换完成"},
  };
  SaveText(Out() + L"\\clip.3gp", "old");
  for (const auto& [rows, box] : cases) {
    SCOPED_TRACE(testing::Message() << box << rows.size());
    Open();
    wcscpy(dlg->m_exeDir, (L"C:\\" + std::wstring(292, L'd')).c_str());  // no room for vv.exe
    for (const std::wstring& row : rows) Add(row);
    std::size_t at = 0;
    answer = [&, box = box](const Box& b) {
      if (at || b.text.find(box) == std::wstring::npos) return IDOK;
      at = boxes.size();
      dlg->OnConvert();  // a Convert click while it is open, the close, and one more
      SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);
      dlg->OnConvert();
      return IDOK;
    };
    Convert();
    ASSERT_TRUE(testkit::PumpUntil([&] { return at > 0; }, 10000));
    EXPECT_EQ(boxes.size(), at);
    EXPECT_EQ(dlg->m_encoder, nullptr);
  }
}

TEST_F(Queue, WithoutAProgramFolderOrAUsableOutputFolderNothingStarts) {
  dlg->m_exeDir[0] = L'\0';  // the start-up refused a folder path that did not fit
  Add(Src(L"A.avi"));
  Convert();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(L"vv.exe"), std::wstring::npos);
  EXPECT_EQ(dlg->m_encoder, nullptr);
  EXPECT_TRUE(IsWindowEnabled(dlg->GetDlgItem(IDC_CONVERT)));
  lstrcpynW(dlg->m_exeDir, root.c_str(), CvideoDlg::kExeDirSize);
  dlg->m_outputDir.SetWindowText(L"\"D:\\My Videos\\a|b\"");
  Convert();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(IsWindowEnabled(dlg->GetDlgItem(IDC_CONVERT)));
  EXPECT_FALSE(KillTimer(dlg->m_hWnd, CvideoDlg::kPollTimer));
  for (const std::wstring& folder : {Out() + L"\\new", root + L"\\vv.exe"}) {  // neither is created
    dlg->m_outputDir.SetWindowText(folder);
    Convert();
    EXPECT_NE(boxes.back().text.find(L"：\n" + folder), std::wstring::npos);
  }
  EXPECT_EQ(GetFileAttributesW((Out() + L"\\new").c_str()), INVALID_FILE_ATTRIBUTES);
  dlg->m_outputDir.SetWindowText(L"\\\\nosuchserver\\share");  // it cannot tell what is there
  Convert();
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_NE(boxes.back().text.find(L"无法确定"), std::wstring::npos);
  EXPECT_EQ(dlg->m_encoder, nullptr);
}

}  // namespace
