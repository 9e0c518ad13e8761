// The main dialog converting a real clip with the real encoder bridge: the files it
// writes are read back by ffprobe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Bridge.h"
#include "BridgeText.h"
#include "DialogTestKit.h"
#include "TestKit.h"
#include "resource.h"
#include "videoDlg.h"

namespace {

std::wstring W(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}


class QueueE2e : public testing::Test {
 protected:
  void SetUp() override {
    vt::PrepareApplication();
    // A program folder of its own, so that no other test shares its progress file.
    const std::wstring bin = W(testkit::ExeDir());
    exeDir = bin + L"queue_e2e";
    out = bin + L"bridgedata\\queue_out";
    CreateDirectoryW(exeDir.c_str(), nullptr);
    CreateDirectoryW(out.c_str(), nullptr);
    for (const wchar_t* f : {L"vv.exe", L"h264.dat"})
      ASSERT_TRUE(CopyFileW((bin + f).c_str(), (exeDir + L"\\" + f).c_str(), FALSE)) << f;
    clip = bin + L"bridgedata\\clip.mp4";
    ASSERT_NE(GetFileAttributesW(clip.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the clip fixture did not run";
  }

  std::unique_ptr<CvideoDlg> Open() {
    auto dlg = std::make_unique<CvideoDlg>();
    EXPECT_TRUE(dlg->Create(nullptr, false));
    lstrcpynW(dlg->m_exeDir, exeDir.c_str(), CvideoDlg::kExeDirSize);
    dlg->m_outputDir.SetWindowText(out);
    answers.files.push_back(clip);
    SendMessageW(dlg->GetDlgItem(IDC_ADD), BM_CLICK, 0, 0);
    return dlg;
  }
  static void Choose(CvideoDlg& dlg, int id, const wchar_t* text) {
    HWND box = dlg.GetDlgItem(id);
    const LRESULT i = SendMessageW(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text));
    ASSERT_GE(i, 0);
    SendMessageW(box, CB_SETCURSEL, WPARAM(i), 0);
    SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(box));
  }
  // Convert, then wait for the completion box; the row's status at the end.
  std::wstring Run(CvideoDlg& dlg) {
    answers.boxes.clear();
    SendMessageW(dlg.GetDlgItem(IDC_CONVERT), BM_CLICK, 0, 0);
    EXPECT_TRUE(testkit::PumpUntil(
        [&] { return !answers.boxes.empty() && answers.boxes.back().caption == L"转换完成"; },
        60000));
    return dlg.m_list.GetItemText(0, 1);
  }

  vt::Answers answers;
  std::wstring exeDir, out, clip;
};

TEST_F(QueueE2e, ConvertsARealClipTo3g2And3gp) {
  struct Case {
    const char* name;
    const wchar_t* format;
    const wchar_t* audio;  // nullptr: the format's default
    const wchar_t* output;
    std::vector<std::string> streams;
  };
  const Case cases[] = {
      {"3gpp2 defaults", L"3gpp2", nullptr, L"clip.3g2", {"h264,320,240", "aac"}},
      {"3gp with AAC", L"3gp", L"AAC", L"clip.3gp", {"h263,176,144", "aac"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring file = out + L"\\" + c.output;
    DeleteFileW(file.c_str());
    auto dlg = Open();
    Choose(*dlg, IDC_FORMAT, c.format);
    if (c.audio) Choose(*dlg, IDC_AUDIO_CODEC, c.audio);
    EXPECT_EQ(Run(*dlg), L"已完成");
    const bridge::MediaInfo p = bridge::ProbeMedia(file);
    EXPECT_EQ(p.streams, c.streams);
    EXPECT_NEAR(p.duration, 3.0, 0.5);
  }
}

TEST_F(QueueE2e, AnEncodeTheEncoderCannotDoIsShownAsFailed) {
  // The host's encoder has no AMR-NB, the default audio of "3gp".
  DeleteFileW((out + L"\\clip.3gp").c_str());
  auto dlg = Open();
  EXPECT_EQ(Run(*dlg), L"转换失败");
}

}  // namespace
