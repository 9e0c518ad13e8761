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

TEST(LineList, KeepsEveryLineOfTheBlocksItShares) {
  // Lines taken from blocks in turn; the blocks are let go of by everyone but the list.
  struct Case {
    const char* name;
    std::vector<std::vector<std::string>> blocks;  // each block's lines
  };
  const Case cases[] = {
      {"none", {}},
      {"empty lines", {{"", ""}, {""}}},
      {"one block", {{"a", "bc", "def"}}},
      {"several blocks, one of them empty", {{"x"}, {}, {"y", "", "z"}, {std::string(300, 'w')}}},
  };
  for (const Case& c : cases) {
    TLineList list;
    std::vector<std::string> all;
    for (const auto& lines : c.blocks) {
      std::string text;
      for (const std::string& line : lines) text += line + "|";
      auto block = std::make_shared<const std::string>(text);
      std::size_t at = 0;
      for (const std::string& line : lines) {
        list.Add(block, std::string_view(*block).substr(at, line.size()));
        at += line.size() + 1;
        all.push_back(line);
      }
    }
    ASSERT_EQ(list.Count(), all.size()) << c.name;
    EXPECT_EQ(list.Items(), all) << c.name;
    std::string text;
    for (std::size_t i = 0; i < all.size(); ++i) {
      EXPECT_EQ(list[i], all[i]) << c.name << " line " << i;
      text += all[i] + "\r\n";
    }
    EXPECT_EQ(list.Text(), text) << c.name;
    EXPECT_THROW(list[all.size()], std::out_of_range) << c.name;
    list.Clear();
    EXPECT_EQ(list.Count(), 0u) << c.name;
    EXPECT_EQ(list.Text(), "") << c.name;
  }
}

}  // namespace

#include "forms/Accel.h"

namespace {

TEST(Accel, TheLetterAfterTheAmpersandWithoutRegardToCase) {
  const struct {
    const char* caption;
    unsigned key;
    bool is;
  } cases[] = {{"&File", 'f', true},   {"&File", 'F', true},  {"E&xit", 'x', true}, {"File", 'f', false},
               {"Save && &Quit", 'q', true}, {"Save && Quit", ' ', false}, {"A&&B", 'b', false},
               {"End&", 'd', false}, {"", 'a', false}, {"&文件", 'f', false}};
  for (const auto& c : cases) EXPECT_EQ(IsAccel(c.key, c.caption), c.is) << c.caption << " " << char(c.key);
}

}  // namespace
