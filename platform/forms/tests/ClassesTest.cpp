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
