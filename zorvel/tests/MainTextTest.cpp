#include "MainText.h"

#include <gtest/gtest.h>

#include <tuple>

#include "forms/Collections.h"

namespace zorvel {
namespace {

TEST(MainText, ProbeDuration) {
  const struct {
    const char* output;
    int seconds;
  } cases[] = {
      {"ID_LENGTH=5025.38\r\n", 5025},
      {"ID_LENGTH=0.00\r\n", 0},
      {"junk\r\nId_LeNgTh=61.99\r\nID_OTHER=5\r\n", 61},
      {"no key here\r\n", 0},
      {"", 0},
      {"ID_LENGTH=\r\n123\r\n", 0},                         // a line end stops the scan
      {"ID_LENGTH= 1 2 . 5\r\n", 12},                       // other characters are skipped
      {"ID_LENGTH=1234567890123456789012345", 2147483647},  // 20 characters, held
      {"ID_LENGTH=12345678901234567890999", 2147483647},
      {"ID_LENGTH=.5", 0},
      {"ID_LENGTH=7.", 7},
      {"ID_LENGTH=3\r\nID_LENGTH=9\r\n", 3},  // the first one counts
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    EXPECT_EQ(ProbeDuration(c.output), c.seconds);
  }
  EXPECT_THROW(ProbeDuration("ID_LENGTH=1.2.3\r\n"), EConvertError);
  EXPECT_THROW(ProbeDuration("ID_LENGTH=..\r\n"), EConvertError);
  EXPECT_TRUE(HasProbeKey("x ID_length=1"));
  EXPECT_FALSE(HasProbeKey("ID_LENGTH 1"));
}

TEST(MainText, ProgressMarkers) {
  const struct {
    const char* line;
    std::optional<int> seconds;
  } cases[] = {
      {"ffmpeg_release_time=12.5=ffmpeg_release_time", 12},
      {"ffmpeg_release_time=13.5=ffmpeg_release_time", 14},
      {"frame= 3 ffmpeg_release_time=7.49=ffmpeg_release_time q=2", 7},
      {"ffmpeg_release_time=7.51=ffmpeg_release_time", 8},
      {"ffmpeg_release_time=0=ffmpeg_release_time", 0},
      {"ffmpeg_release_time=12.5", std::nullopt},  // only the first marker
      {"=ffmpeg_release_time 12 ffmpeg_release_time=", std::nullopt},
      {"ffmpeg_release_time=abc=ffmpeg_release_time", std::nullopt},
      {"ffmpeg_release_time==ffmpeg_release_time", std::nullopt},
      {"ffmpeg_release_time=1e999=ffmpeg_release_time", std::nullopt},
      {"ffmpeg_release_time=99999999999=ffmpeg_release_time", std::nullopt},
      {"FFMPEG_RELEASE_TIME=5=FFMPEG_RELEASE_TIME", std::nullopt},  // markers are exact
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ProgressSeconds(c.line), c.seconds);
  }
}

TEST(MainText, NamesAndFolders) {
  EXPECT_EQ(OutputPath("D:\\out\\", "C:\\clips\\movie.rmvb"), "D:\\out\\movie.avi");
  EXPECT_EQ(OutputPath("D:\\out\\", "C:\\a.b\\noext"), "D:\\out\\noext.avi");
  EXPECT_EQ(OutputPath("D:\\out\\", "C:movie.x.mp4"), "D:\\out\\movie.x.avi");
  // A double-byte character whose second byte is "\" stays whole.
  EXPECT_EQ(ExtractFileName("C:\\\xd5\x5c.mp4"), "\xd5\x5c.mp4");
  EXPECT_EQ(ChangeFileExt("C:\\d.d\\\xd5\x5c", ".avi"), "C:\\d.d\\\xd5\x5c.avi");
  EXPECT_EQ(FolderText("D:\\video"), "D:\\video\\");
  EXPECT_EQ(FolderText("D:\\"), "D:\\");
  EXPECT_EQ(FolderText(""), "");
  EXPECT_EQ(FolderPrefixes("D:\\out\\video\\"),
            (std::vector<std::string>{"D:", "D:\\out", "D:\\out\\video", "D:\\out\\video\\"}));
  EXPECT_EQ(FolderPrefixes("D:\\\xd5\x5c\\x"),
            (std::vector<std::string>{"D:", "D:\\\xd5\x5c", "D:\\\xd5\x5c\\x"}));
}

TEST(MainText, BatchPlan) {
  // Names of one file differ at most in ASCII case here.
  const TSameFile same = [](const std::string& a, const std::string& b) {
    return LowerAscii(a) == LowerAscii(b);
  };
  using S = TSkip;
  using Plan = std::vector<std::pair<TSkip, std::size_t>>;
  // writes: whether each job that runs ends with its output written.
  const std::tuple<std::vector<std::string>, std::vector<bool>, Plan> cases[] = {
      {{"D:\\v\\clip.mp4", "D:\\v\\CLIP.avi"}, {1, 1}, {{S::OtherSource, 1}, {S::OwnSource, 1}}},
      {{"A\\same.mp4", "B\\same.mp4", "C\\Same.mkv"},
       {1, 1, 1},
       {{S::None, 0}, {S::AlreadyWritten, 0}, {S::AlreadyWritten, 0}}},
      // A failed job keeps no later job of its output from running.
      {{"A\\clip.mp4", "B\\clip.mp4", "C\\clip.mkv"},
       {0, 1, 1},
       {{S::None, 0}, {S::None, 0}, {S::AlreadyWritten, 1}}},
  };
  for (const auto& [sources, writes, expected] : cases) {
    const auto plan = PlanBatch(sources, "D:\\v\\", same);
    Plan got;
    std::vector<bool> written;
    for (std::size_t i = 0; i < plan.size(); ++i) {
      const TPlannedJob turn = JobAtItsTurn(plan, i, written);
      got.emplace_back(turn.Skip, turn.Other);
      written.push_back(turn.Skip == S::None && writes[i]);
    }
    EXPECT_EQ(got, expected) << testing::PrintToString(sources) << testing::PrintToString(writes);
  }
}

TEST(MainText, BoxesThatNameFiles) {
  const std::vector<std::string> rows = {"a", "b", "c"};
  const std::string skipped = " 个文件也已跳过，在列表中标为“已跳过”。";
  const std::pair<std::string, std::string> cases[] = {  // the text, how it ends
      {SkippedNote(rows, 0), "已跳过：\r\n……另有 3" + skipped},
      {SkippedNote(rows, 2), "\r\nb\r\n……另有 1" + skipped},
      {SkippedNote(rows, 3), "已跳过：\r\na\r\nb\r\nc"},
      {ReplaceQuestion(rows, 2), "\r\nb\r\n……另有 1 个文件也会被替换。\r\n\r\n要替换这些文件并开始转换吗？"
                                 "选“取消”则不转换。"},
  };
  for (const auto& [text, end] : cases) EXPECT_TRUE(text.ends_with(end)) << text;
}

TEST(MainText, CommandLines) {
  EXPECT_EQ(ConvertCommandLine("C:\\z\\", "C:\\in.mp4", {"1200", "29.97", "", ""}, "D:\\in.avi"),
            "\"C:\\z\\ffmpeg.exe\" -i \"C:\\in.mp4\" -y -f avi  -b 1200k -r 29.97    -vcodec mpeg4 "
            "-acodec libmp3lame \"D:\\in.avi\"");
  EXPECT_EQ(
      ConvertCommandLine("C:\\z\\", "s", {"512", "29.97", "352x288", "4:3"}, "o"),
      "\"C:\\z\\ffmpeg.exe\" -i \"s\" -y -f avi  -b 512k -r 29.97  -s 352x288   -aspect 4:3   "
      "-vcodec mpeg4 -acodec libmp3lame \"o\"");
  EXPECT_EQ(ProbeCommandLine("C:\\z\\", "C:\\a b.mkv"),
            "\"C:\\z\\mplayer.exe\" -msglevel identify=6 -vo none -ao none \"C:\\a b.mkv\" 2>&1 "
            "|grep ID_LENGTH");
}

}  // namespace
}  // namespace zorvel
