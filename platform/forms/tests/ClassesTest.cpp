#include "forms/Classes.h"

#include <gtest/gtest.h>

namespace {

// Records the order in which components die.
struct Probe : TComponent {
  Probe(TComponent* owner, std::string name, std::vector<std::string>& log)
      : TComponent(owner), log_(log) {
    Name = std::move(name);
  }
  ~Probe() override { log_.push_back(Name); }
  std::vector<std::string>& log_;
};

TEST(Component, OwnerFreesItsComponentsLastCreatedFirst) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    new Probe(&owner, "a", log);
    auto* b = new Probe(&owner, "b", log);
    new Probe(b, "b.child", log);
    new Probe(&owner, "c", log);
    EXPECT_EQ(owner.ComponentCount(), 3u);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "b.child", "a"}));
}

TEST(Component, FreedComponentLeavesItsOwner) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  auto* a = new Probe(&owner, "a", log);
  new Probe(&owner, "b", log);
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1u);
  EXPECT_EQ(owner.Components(0)->Name, "b");
  EXPECT_THROW(owner.Components(1), std::out_of_range);
}

TEST(Component, FindComponentIgnoresCase) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  auto* runner = new Probe(&owner, "DosCommand1", log);
  EXPECT_EQ(owner.FindComponent("doscommand1"), runner);
  EXPECT_EQ(owner.FindComponent("DosCommand2"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("a");
  list.Add("");
  list.Add("b");
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
}

TEST(LineList, KeepsEveryLineAsAddedAcrossBlocks) {
  // Lines that fill blocks exactly, overrun them, and exceed a block on their own.
  struct Case {
    const char* name;
    std::vector<std::string> lines;
  };
  const std::string block(256 * 1024, 'b');
  const Case cases[] = {
      {"none", {}},
      {"empty lines only", {"", "", ""}},
      {"a block filled exactly, then one more", {block.substr(1), "x", "y"}},
      {"a line longer than a block between short ones", {"a", block + block, "", "c"}},
      {"many short lines over several blocks", std::vector<std::string>(40000, "0123456789abcdef-")},
  };
  for (const Case& c : cases) {
    TLineList list;
    for (const std::string& line : c.lines) list.Add(line);
    ASSERT_EQ(list.Count(), c.lines.size()) << c.name;
    EXPECT_EQ(list.Items(), c.lines) << c.name;
    std::string text;
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(list[i], c.lines[i]) << c.name << " line " << i;
      text += c.lines[i] + "\r\n";
    }
    EXPECT_EQ(list.Text(), text) << c.name;
    list.Clear();
    EXPECT_EQ(list.Count(), 0u) << c.name;
    EXPECT_EQ(list.Text(), "") << c.name;
  }
}

TEST(LineList, ALineStaysValidWhileMoreAreAdded) {
  TLineList list;
  list.Add("first");
  const std::string_view first = list[0];
  for (int i = 0; i < 100000; ++i) list.Add("another line of some length");
  EXPECT_EQ(first, "first");
  EXPECT_EQ(list[100000], "another line of some length");
  EXPECT_THROW(list[100001], std::out_of_range);
}

}  // namespace
