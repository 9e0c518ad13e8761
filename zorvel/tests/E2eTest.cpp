// End to end under Wine: the converter adds a real clip (its duration probed by the
// mplayer bridge), converts it with the ffmpeg bridge, and the host's ffprobe finds an
// AVI with MPEG-4 video and MP3 audio of the clip's length in the chosen folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "Bridge.h"
#include "BridgeText.h"
#include "Main.h"
#include "TestKit.h"

namespace {

// Made by the bridges' fixture with the host's ffmpeg: 3 s of test pattern and tone.
std::string Clip() {
  return testkit::ExeDir() + "bridgedata\\clip.mp4";
}

std::vector<std::string> Ffprobe(const std::string& path) {
  bridge::LinuxJob job;
  EXPECT_TRUE(job.Start("/usr/bin/ffprobe",
                        {"-v", "error", "-show_entries", "stream=codec_name:format=duration", "-of",
                         "csv=p=0", bridge::UnixPath(TextToWide(path))},
                        false, false));
  job.Wait([] {});
  std::string carry;
  return bridge::TakeLines(carry, job.ReadAll("out") + "\n");
}

TEST(Zorvel, ConvertsARealClipWithTheBridges) {
  const std::string out =
      testkit::ExeDir() + "e2e.out\\" + std::to_string(GetCurrentProcessId()) + "\\";
  // Wine hands out process numbers again: an output an earlier run left would be asked about.
  std::error_code ignored;
  std::filesystem::remove_all(TextToWide(out), ignored);
  SetOpenDialogHook([](TOpenDialog& d) {
    d.FileName = Clip();
    return true;
  });
  auto* form = new TFrmMain(nullptr);
  ASSERT_EQ(form->AppDir(), testkit::ExeDir());  // the bridges sit beside the program
  int highest = 0;
  auto handler = form->DosCommand1->OnNewLine;
  form->DosCommand1->OnNewLine = [&](TObject* s, std::string line, TOutputType t) {
    handler(s, line, t);
    highest = std::max(highest, form->ProgressBar1->Position());
  };
  SendMessageW(form->btnAdd->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(form->FileCount(), 1);
  EXPECT_EQ(form->GetFileInfo(0)->Duration, 3);
  form->edtSaveDir->SetText(out);
  SendMessageW(form->btnConvert->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->GetFileInfo(0)->Status, zorvel_text::kDone);
  EXPECT_GT(highest, 0);  // the bar moved
  EXPECT_TRUE(testkit::MessageBoxes().empty());

  const auto lines = Ffprobe(out + "clip.avi");
  ASSERT_EQ(lines.size(), 3u) << testing::PrintToString(lines);
  EXPECT_EQ(lines[0], "mpeg4");
  EXPECT_EQ(lines[1], "mp3");
  EXPECT_NEAR(std::atof(lines[2].c_str()), 3.0, 0.5);
  delete form;
  SetOpenDialogHook({});
}

}  // namespace
