// The runner under volumes of output, too large for the checked heap of the other tests:
// under it these would take many minutes.
#include <gtest/gtest.h>

#include "DosCommandRecorder.h"
#include "Script.h"

namespace {

TEST(DosCommand, StopCutsAFloodShortAndDeliversItsBeginningInOrder) {
  Recorder r;
  std::size_t lines = 0;
  r.runner->OnNewLine = [&](TObject*, std::string, TOutputType type) {
    if (type == otEntireLine) ++lines;
  };
  r.runner->CommandLine = Child() + " fixed:1000000";
  r.runner->Start();
  ASSERT_TRUE(testkit::PumpUntil([&] { return lines > 0; }, 10000));
  r.runner->Stop();
  const std::size_t atStop = lines;
  EXPECT_LT(atStop, 1000000u);
  EXPECT_FALSE(r.runner->IsRunning());
  EXPECT_FALSE(r.runner->ExitCode().has_value());
  EXPECT_EQ(r.events, std::vector<std::string>{"T"});
  testkit::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(lines, atStop) << "lines arrived after Stop";
  // The output's beginning, in order; the last line may be cut where Stop found it.
  std::vector<std::string> got;
  for (const std::string& line : r.Lines())
    if (!line.empty()) got.push_back(line);  // a CR LF split between reads adds one
  ASSERT_FALSE(got.empty());
  for (std::size_t i = 0; i + 1 < got.size(); ++i)
    ASSERT_EQ(got[i], testchild::FixedLine(int(i))) << "line " << i;
  EXPECT_EQ(testchild::FixedLine(int(got.size() - 1)).compare(0, got.back().size(), got.back()), 0);
}

TEST(DosCommand, AMillionLinesArriveWholeAndInOrder) {
  constexpr int kLines = 1000000;
  Recorder r;
  int entire = 0, wrong = 0;
  r.runner->OnNewLine = [&](TObject*, std::string line, TOutputType type) {
    // A CR LF pair split between two reads is two line ends: the empty line is allowed.
    if (type != otEntireLine || line.empty()) return;
    if (line != testchild::FixedLine(entire)) ++wrong;
    ++entire;
  };
  r.Run("fixed:" + std::to_string(kLines), 120000);
  EXPECT_EQ(entire, kLines);
  EXPECT_EQ(wrong, 0);
  int kept = 0;
  for (const std::string& line : r.runner->Lines.Items()) {
    if (line.empty()) continue;
    ASSERT_EQ(line, testchild::FixedLine(kept)) << "line " << kept;
    ++kept;
  }
  EXPECT_EQ(kept, kLines);
  EXPECT_EQ(r.events, std::vector<std::string>{"T"});
}

TEST(DosCommand, LargeMixedOutputLosesAndReordersNothing) {
  constexpr int kLines = 100000;
  constexpr std::uint32_t kSeed = 42;
  Recorder r;
  r.Run("lines:" + std::to_string(kLines) + ":" + std::to_string(kSeed), 120000);
  const auto expected = testchild::GeneratedLines(kLines, kSeed);

  // A CR LF pair that the pipe splits across two reads is two line ends, so an empty
  // line may follow a line that ended in CR LF (every third, from the second); nothing
  // else may differ.
  std::vector<std::string> got;
  std::size_t extraEmpty = 0;
  const auto& lines = r.runner->Lines.Items();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) {
      ASSERT_FALSE(got.empty()) << "empty line before any line";
      ASSERT_EQ((got.size() - 1) % 3, 1u) << "empty line after line " << got.size() - 1;
      ++extraEmpty;
      continue;
    }
    got.push_back(lines[i]);
  }
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << "line " << i;

  // The events tell the same story, and every provisional beginning is the beginning of
  // the line that replaces it.
  std::size_t entire = 0, beginnings = 0;
  for (std::size_t i = 0; i + 1 < r.events.size(); ++i) {
    const std::string& e = r.events[i];
    if (e[0] == 'E') {
      ASSERT_EQ(e.substr(2), lines[entire]) << "event " << i;
      ++entire;
    } else {
      ++beginnings;
      ASSERT_TRUE(lines[entire].compare(0, e.size() - 2, e.substr(2)) == 0) << "event " << i;
    }
  }
  EXPECT_EQ(entire, lines.size());
  EXPECT_EQ(r.events.back(), "T");
  EXPECT_GT(beginnings, 0u) << "the output was never split inside a line";
  RecordProperty("extra_empty_lines", int(extraEmpty));
}

}  // namespace
