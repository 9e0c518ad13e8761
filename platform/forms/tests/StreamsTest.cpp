#include "forms/Collections.h"
#include "forms/Streams.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const TMemoryStream& s) {
  return std::string(reinterpret_cast<const char*>(s.Memory()), s.Size());
}

TEST(MemoryStream, ReadsShortAtTheEndAndNothingPastIt) {
  TMemoryStream s;
  s.Write("abcdef", 6);
  EXPECT_EQ(s.Position(), 6u);
  s.SetPosition(4);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2u);
  EXPECT_EQ(std::string(buf, 2), "ef");
  s.SetPosition(100);
  EXPECT_EQ(s.Read(buf, 8), 0u);
  EXPECT_EQ(s.Remaining(), 0u);
  EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);
}

TEST(MemoryStream, WritesInsideAndPastTheEnd) {
  TMemoryStream s;
  s.Write("abcdef", 6);
  s.SetPosition(2);
  s.Write("XY", 2);
  EXPECT_EQ(Text(s), "abXYef");
  s.SetPosition(8);
  s.Write("Z", 1);
  EXPECT_EQ(s.Size(), 9u);
  EXPECT_EQ(s.Memory()[6], 0);
}

TEST(MemoryStream, CopiesSlicesAndWholeStreams) {
  TMemoryStream src, dst;
  src.Write("0123456789", 10);
  src.SetPosition(3);
  dst.CopyFrom(src, 0);  // nothing, not the whole stream
  EXPECT_EQ(dst.Size(), 0u);
  dst.CopyFrom(src, 4);
  EXPECT_EQ(Text(dst), "3456");
  EXPECT_THROW(dst.CopyFrom(src, 10), EReadError);
  dst.Clear();
  dst.CopyWhole(src);
  EXPECT_EQ(Text(dst), "0123456789");
}

TEST(MemoryStream, PositionGuardRestoresOnException) {
  TMemoryStream s;
  s.Write("abc", 3);
  s.SetPosition(1);
  try {
    TStreamPositionGuard guard(s);
    s.SetPosition(3);
    throw std::runtime_error("x");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(s.Position(), 1u);
}

struct Item : TCollectionItem {
  using TCollectionItem::TCollectionItem;
  std::string value;
  void Assign(const TPersistent* source) override {
    if (auto* other = dynamic_cast<const Item*>(source)) {
      value = other->value;
      return;
    }
    TCollectionItem::Assign(source);
  }
  std::string ClassName() const override { return "Item"; }
};

TCollection::TItemFactory MakeItem() {
  return [](TCollection* c) -> TCollectionItem* { return new Item(c); };
}

TEST(Collection, IdsCountPerCollectionAndAreNeverReused) {
  TCollection a(MakeItem()), b(MakeItem());
  a.Add();
  a.Add();
  b.Add();
  EXPECT_EQ(a.Items(1)->ID(), 1);
  EXPECT_EQ(b.Items(0)->ID(), 0);
  a.Delete(1);
  EXPECT_EQ(a.Add()->ID(), 2);
  a.Clear();
  EXPECT_EQ(a.Count(), 0u);
  EXPECT_EQ(a.Add()->ID(), 3);
}

TEST(Collection, AccessIsBoundsChecked) {
  TCollection c(MakeItem());
  c.Add();
  EXPECT_THROW(c.Items(-1), EListError);
  EXPECT_THROW(c.Items(1), EListError);
  EXPECT_THROW(c.Delete(5), EListError);
  try {
    c.Items(-1);
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (-1)");
  }
}

TEST(Collection, FreedItemLeavesItsCollection) {
  TCollection c(MakeItem());
  TCollectionItem* first = c.Add();
  TCollectionItem* second = c.Add();
  EXPECT_EQ(second->Index(), 1);
  delete first;
  EXPECT_EQ(c.Count(), 1u);
  EXPECT_EQ(second->Index(), 0);
}

TEST(Collection, AssignCopiesEveryItemAndSelfAssignKeepsThem) {
  TCollection a(MakeItem()), b(MakeItem());
  static_cast<Item*>(a.Add())->value = "x";
  static_cast<Item*>(a.Add())->value = "y";
  b.Add();
  b.Assign(&a);
  ASSERT_EQ(b.Count(), 2u);
  EXPECT_EQ(static_cast<Item*>(b.Items(1))->value, "y");
  EXPECT_EQ(b.Items(0)->ID(), 1);  // IDs go on counting
  a.Assign(&a);
  EXPECT_EQ(a.Count(), 2u);
}

TEST(Persistent, DefaultAssignRefuses) {
  TCollection c(MakeItem());
  Item* item = static_cast<Item*>(c.Add());
  try {
    item->Assign(&c);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TCollection to a Item");
  }
}

}  // namespace
