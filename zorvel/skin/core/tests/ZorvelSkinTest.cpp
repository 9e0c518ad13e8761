// Zorvel's main form carries the five shipped skins in its skin store and starts with
// the third one loaded and skinning switched on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "Main.h"
#include "SkinDrawWin.h"
#include "SkinManage.h"

namespace {

std::string Shipped(int n) {
  std::ifstream in(std::string(ZV_SKINS_DIR) + "/packed/SkinItem" + std::to_string(n) + ".skn", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ZorvelSkin, MainFormStartsWithItemTwoLoadedAndActive) {
  InitSkinData();
  InitSkinDraw();
  InitSkinManage();
  {
    TFrmMain form(nullptr);
    ASSERT_NE(form.SkinStore1, nullptr);
    ASSERT_NE(form.SkinData1, nullptr);
    TSkinCollection* items = form.SkinStore1->Store();
    ASSERT_EQ(items->Count(), 5);
    for (int n = 0; n < 5; ++n) {
      TSkinCollectionItem* item = items->Item(n);
      EXPECT_EQ(item->Name(), "SkinItem" + std::to_string(n));
      const std::string archive = Shipped(n);
      ASSERT_FALSE(archive.empty());
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(item->DataStream.Memory()), item->DataStream.Size()),
                archive)
          << "item " << n << " holds its packed archive byte for byte";
    }
    TSkinData& data = *form.SkinData1;
    EXPECT_FALSE(data.NoSkinLoaded);
    EXPECT_TRUE(data.Active());
    EXPECT_EQ(data.SkinStream.Bytes(), items->Item(2)->DataStream.Bytes()) << "the third item was loaded";
    EXPECT_EQ(data.ButtonFaceColour, 0xF6F0ECu) << "the face colour of SkinItem2";
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_TRUE(SkinManager->Active);
    EXPECT_EQ(SkinManager->State, 1);
  }
  DoneSkinManage();
  DoneSkinDraw();
  DoneSkinData();
}

}  // namespace
