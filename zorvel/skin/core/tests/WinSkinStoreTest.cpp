// The skin store: item names and IDs, renaming, the data stream and copying.
#include <gtest/gtest.h>

#include <string>

#include "WinSkinStore.h"

namespace {

std::string Text(const TMemoryStream& s) {
  return std::string(reinterpret_cast<const char*>(s.Memory()), s.Size());
}

void Put(TMemoryStream& s, const std::string& text) {
  s.Clear();
  s.Write(text.data(), text.size());
}

TEST(SkinStore, NewItemsAreNamedByIdsThatAreNeverReused) {
  TComponent form(nullptr);
  auto* store = new TSkinStore(&form);
  EXPECT_EQ(store->Owner(), &form);
  TSkinCollection* items = store->Store();
  EXPECT_EQ(items->Count(), 0u);
  EXPECT_EQ(items->GetOwner(), store);
  EXPECT_EQ(items->Add()->Name(), "SkinItem0");
  EXPECT_EQ(items->Add()->Name(), "SkinItem1");
  items->Delete(1);
  items->Delete(0);
  EXPECT_EQ(items->Add()->Name(), "SkinItem2");
  EXPECT_EQ(items->Item(0)->GetDisplayName(), "SkinItem2");
  EXPECT_THROW(items->Item(-1), EListError);
  EXPECT_THROW(items->Item(1), EListError);
}

TEST(SkinStore, Renaming) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* a = store.Store()->Add();
  TSkinCollectionItem* b = store.Store()->Add();
  a->SetName("SkinItem0");  // its own name
  EXPECT_EQ(a->Name(), "SkinItem0");
  try {
    a->SetName("SkinItem1");
    FAIL() << "a clash must raise";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "The name SkinItem1 is already used.");
  }
  EXPECT_EQ(a->Name(), "SkinItem0");
  a->SetName("skinitem1");  // names differing only in case are distinct
  EXPECT_EQ(a->Name(), "skinitem1");
  // A new item takes its default name without the test, so names can repeat.
  b->SetName("SkinItem2");
  EXPECT_EQ(store.Store()->Add()->Name(), "SkinItem2");
}

TEST(SkinStore, DataSizeAndSkinData) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* item = store.Store()->Add();
  EXPECT_EQ(item->DataSize(), 0);
  EXPECT_EQ(item->SkinData(), "Load Skin");
  item->SetSkinData("anything");
  EXPECT_EQ(item->SkinData(), "Load Skin");

  TMemoryStream resource;
  Put(resource, "packed archive bytes");
  resource.SetPosition(7);  // the whole stream is read, wherever it stands
  item->ReadData(resource);
  EXPECT_EQ(item->DataSize(), 20);
  TMemoryStream written;
  written.Write(">>", 2);
  item->WriteData(written);
  EXPECT_EQ(Text(written), ">>packed archive bytes");
}

TEST(SkinStore, SaveToStreamKeepsThePosition) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* item = store.Store()->Add();
  Put(item->DataStream, "abcdef");
  item->DataStream.SetPosition(4);
  TMemoryStream out;
  Put(out, "0123456789");
  out.SetPosition(2);
  item->SaveToStream(out);
  EXPECT_EQ(Text(out), "01abcdef89");
  EXPECT_EQ(out.Position(), 8u);
  EXPECT_EQ(item->DataStream.Position(), 4u);
  // Into its own stream: the bytes are taken first.
  item->SaveToStream(item->DataStream);
  EXPECT_EQ(Text(item->DataStream), "abcdabcdef");
  EXPECT_EQ(item->DataStream.Position(), 4u);
}

TEST(SkinStore, AssignCopiesNameAndData) {
  TSkinStore store(nullptr);
  TSkinCollectionItem* a = store.Store()->Add();
  TSkinCollectionItem* b = store.Store()->Add();
  Put(a->DataStream, "archive");
  a->DataStream.SetPosition(3);
  Put(b->DataStream, "old");
  b->Assign(a);
  EXPECT_EQ(b->Name(), "SkinItem0");  // taken directly, even though a has it
  EXPECT_EQ(Text(b->DataStream), "archive");
  EXPECT_EQ(a->DataStream.Position(), 3u);
  a->Assign(a);
  EXPECT_EQ(Text(a->DataStream), "archive");
  EXPECT_THROW(a->Assign(store.Store()), EConvertError);
}

TEST(SkinStore, SetStoreCopiesTheCollection) {
  TSkinStore from(nullptr), to(nullptr);
  Put(from.Store()->Add()->DataStream, "one");
  from.Store()->Add()->SetName("Blue");
  to.Store()->Add();
  TSkinCollection* own = to.Store();
  to.SetStore(from.Store());
  to.SetStore(nullptr);
  EXPECT_EQ(to.Store(), own);
  ASSERT_EQ(own->Count(), 2u);
  EXPECT_EQ(own->Item(0)->Name(), "SkinItem0");
  EXPECT_EQ(own->Item(1)->Name(), "Blue");
  EXPECT_EQ(Text(own->Item(0)->DataStream), "one");
  EXPECT_EQ(own->Item(1)->ID(), 2);
}

}  // namespace
