#include "BridgeText.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

namespace bridge {
namespace {

TEST(BridgeText, WindowsQuotingRoundTrips) {
  const std::wstring args[] = {L"plain",  L"with space",      L"",
                               L"tail\\", L"tail\\ x\\",      L"say \"hi\"",
                               L"a\\\"b", L"/tmp/d e/run.sh", L"\\\\srv\\s"};
  std::wstring line = L"prog.exe";
  for (const std::wstring& a : args) line += L" " + QuoteWindowsArg(a);
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
  ASSERT_NE(argv, nullptr);
  ASSERT_EQ(count, static_cast<int>(std::size(args)) + 1);
  for (int i = 1; i < count; ++i) EXPECT_EQ(std::wstring(argv[i]), args[i - 1]);
  LocalFree(argv);
}

TEST(BridgeText, WindowsPathsAreRecognised) {
  struct Case {
    const wchar_t* arg;
    bool path;
  } const cases[] = {
      {L"C:\\v\\a.avi", true}, {L"z:/tmp/x", true},    {L"\\\\srv\\share\\a", true},
      {L"-vcodec", false},     {L"176x144", false},    {L"C:", false},
      {L"out.3gp", false},     {L"identify=6", false}, {L"1:2", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeWindowsPath(c.arg), c.path) << ToUtf8(c.arg);
}

TEST(BridgeText, ProgressReportsGiveTheLastCompleteTime) {
  struct Case {
    const char* text;
    std::optional<double> done;
    bool ended;
  } const cases[] = {
      {"", std::nullopt, false},
      {"frame=0\nout_time_us=N/A\nprogress=continue\n", std::nullopt, false},
      {"out_time_us=-23220\nprogress=continue\n", std::nullopt, false},
      {"out_time_us=1500000\nprogress=continue\n", 1.5, false},
      {"out_time_us=1500000\nprogress=continue\nout_time_us=2250000\nprogress=end\n", 2.25, true},
      // A report still being written counts only once its line is complete.
      {"out_time_us=1000000\nprogress=continue\nout_time_us=20", 1.0, false},
      {"out_time_us=3000000\r\nprogress=end\r\n", 3.0, true},
      // Other keys ending in the same name are not the time.
      {"out_time_us=1000000\nxout_time_us=9000000\n", 1.0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LastOutTime(c.text), c.done);
    EXPECT_EQ(ProgressEnded(c.text), c.ended);
  }
}

TEST(BridgeText, DurationAndThousandths) {
  EXPECT_EQ(InputDuration("Input #0\n  Duration: 00:01:02.50, start: 0.0"), 62.5);
  EXPECT_EQ(InputDuration("  Duration: 01:00:00.00, bitrate"), 3600.0);
  EXPECT_EQ(InputDuration("  Duration: N/A, bitrate"), std::nullopt);
  EXPECT_EQ(InputDuration("  Durat"), std::nullopt);
  struct Case {
    double done;
    std::optional<double> total;
    int value;
  } const cases[] = {
      {0, 3.0, 0},     {1.5, 3.0, 500},        {2.999, 3.0, 999}, {3.0, 3.0, 999},
      {5.0, 3.0, 999}, {1.0, std::nullopt, 0}, {1.0, 0.0, 0},     {-1.0, 3.0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(PerMille(c.done, c.total), c.value) << c.done;
  EXPECT_EQ(ReleaseTimeLine(12.5), "ffmpeg_release_time=12.50=ffmpeg_release_time");
  EXPECT_EQ(ReleaseTimeLine(-0.02), "ffmpeg_release_time=0.00=ffmpeg_release_time");
}

TEST(BridgeText, ProbeShellLeftoversAreTakenAsMeant) {
  ProbeArgs p = SplitProbeArgs({L"-msglevel", L"identify=6", L"-vo", L"none", L"-ao", L"none",
                                L"D:\\a b.avi", L"2>&1", L"|grep", L"ID_LENGTH"});
  EXPECT_EQ(p.args, (std::vector<std::wstring>{L"-msglevel", L"identify=6", L"-vo", L"none", L"-ao",
                                               L"none", L"D:\\a b.avi"}));
  EXPECT_TRUE(p.mergeStderr);
  EXPECT_EQ(p.grep, "ID_LENGTH");

  ProbeArgs plain = SplitProbeArgs({L"-identify", L"x.avi"});
  EXPECT_EQ(plain.args.size(), 2u);
  EXPECT_FALSE(plain.mergeStderr);
  EXPECT_EQ(plain.grep, std::nullopt);

  ProbeArgs spaced = SplitProbeArgs({L"x.avi", L"|", L"grep", L"ID_"});
  EXPECT_EQ(spaced.args, std::vector<std::wstring>{L"x.avi"});
  EXPECT_EQ(spaced.grep, "ID_");
}

TEST(BridgeText, LinesArriveWholeWhateverThePieces) {
  std::string carry;
  EXPECT_EQ(TakeLines(carry, "ID_LEN"), std::vector<std::string>{});
  EXPECT_EQ(TakeLines(carry, "GTH=3.00\r"), std::vector<std::string>{"ID_LENGTH=3.00"});
  EXPECT_EQ(TakeLines(carry, "\nA\rB\n\nC"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(carry, "C");
  EXPECT_EQ(TakeLines(carry, "\n"), std::vector<std::string>{"C"});
  EXPECT_EQ(carry, "");
}

TEST(BridgeText, TailStartsAtALine) {
  EXPECT_EQ(Tail("short", 10), "short");
  EXPECT_EQ(Tail("first line\nsecond\nthird", 12), "second\nthird");
  EXPECT_EQ(Tail("first line\nsecond\nthird", 11), "third");
  EXPECT_EQ(Tail("0123456789", 4), "6789");
}

}  // namespace
}  // namespace bridge
