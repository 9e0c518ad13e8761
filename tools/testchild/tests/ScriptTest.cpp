#include "Script.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

TEST(TestChildScript, Unescape) {
  const std::pair<const char*, std::string> cases[] = {
      {"abc", "abc"},
      {"a\\r\\nb", "a\r\nb"},
      {"\\0x", std::string("\0x", 2)},
      {"\\\\", "\\"},
      {"\\x41\\x7e", "A~"},
      {"\\q", "\\q"},
      {"\\x4", "\\x4"},
      {"end\\", "end\\"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(testchild::Unescape(in), out) << in;
}

TEST(TestChildScript, GeneratedOutputMatchesItsLines) {
  const auto lines = testchild::GeneratedLines(9, 7);
  std::string expected;
  const char* endings[] = {"\n", "\r\n", "\r"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_FALSE(lines[i].empty());
    expected += lines[i] + endings[i % 3];
  }
  EXPECT_EQ(testchild::GeneratedOutput(9, 7), expected);
}

TEST(TestChildScript, ChunksCoverTheWholeOutput) {
  for (std::size_t total : {0u, 1u, 7999u, 100000u}) {
    const auto sizes = testchild::ChunkSizes(total, 3);
    EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), std::size_t(0)), total);
    for (std::size_t s : sizes) EXPECT_TRUE(s >= 1 && s <= 8000);
  }
}

TEST(TestChildScript, FixedLinesAreSixtyBytesWithTheirEnding) {
  EXPECT_EQ(testchild::FixedLine(0).size(), 58u);
  EXPECT_EQ(testchild::FixedLine(999999).size(), 58u);
  EXPECT_NE(testchild::FixedLine(1), testchild::FixedLine(2));
}

}  // namespace
