// Menu items measured and drawn from the skin: the item frame by state, the texts'
// colours, separators, check marks, and the widths the skin adds.
#include "WinSkinMenuPaint.h"

#include <gtest/gtest.h>

#include <memory>

#include "SkinDrawWin.h"
#include "TestSkin.h"
#include "WinSkinData.h"
#include "forms/Menus.h"
#include "testkit/MemoryDC.h"

namespace {

using namespace testskin;

class MenuPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitSkinData();
    const std::vector<std::uint8_t> archive = Pack();
    data_.SkinStream.Write(archive.data(), archive.size());
    ASSERT_TRUE(data_.LoadSkinStream());
  }
  void TearDown() override { DoneSkinData(); }

  TMenuItem* Add(const std::string& caption) {
    auto* item = new TMenuItem;
    item->SetCaption(caption);
    menu_.Items()->Add(item);
    return item;
  }
  // How many pixels of the item have that colour.
  static int Count(const testkit::MemoryDC& dc, std::uint32_t colour) {
    int n = 0;
    for (int y = 0; y < dc.Height(); ++y)
      for (int x = 0; x < dc.Width(); ++x) n += dc.At(x, y) == colour;
    return n;
  }

  TSkinData data_{nullptr};
  TPopupMenu menu_{nullptr};
};

TEST_F(MenuPaintTest, ItemsShowTheirFrameAndTextColourByState) {
  TMenuItem* item = Add("Open");
  const struct {
    bool selected, enabled;
    TSkinColour frame, text;
  } cases[] = {
      {false, true, kMenuItem[0], kMenuText},
      {true, true, kMenuItem[3], kHilightText},
      // A skin whose shadow is its menu text shows a disabled item in the system's shadow.
      {false, false, kMenuItem[0], TSkinColour(GetSysColor(COLOR_BTNSHADOW))},
  };
  for (const auto& c : cases) {
    item->SetEnabled(c.enabled);
    testkit::MemoryDC dc(120, 20);
    PaintSkinMenuItem(data_, *item, dc.dc(), {0, 0, 120, 20}, c.selected);
    EXPECT_EQ(dc.At(60, 1), c.frame) << c.selected << c.enabled;
    EXPECT_GT(Count(dc, c.text), 5) << "text in its colour " << c.selected << c.enabled;
  }
}

TEST_F(MenuPaintTest, SeparatorsTakeTheBottomRowsOfTheirFrame) {
  TMenuItem* line = Add("-");
  testkit::MemoryDC dc(120, 6, 0x00FF00FF);
  PaintSkinMenuItem(data_, *line, dc.dc(), {0, 0, 120, 6}, false);
  EXPECT_EQ(dc.At(60, 3), kMenuItem[1]);
  EXPECT_EQ(Count(dc, kMenuItem[0]), 0);
}

TEST_F(MenuPaintTest, CheckedItemWithoutImageShowsTheCheckMark) {
  TMenuItem* item = Add("Wrap");
  const std::uint32_t ink = GetSysColor(COLOR_BTNTEXT);
  testkit::MemoryDC plain(120, 20), checked(120, 20);
  PaintSkinMenuItem(data_, *item, plain.dc(), {0, 0, 120, 20}, false);
  item->SetChecked(true);
  PaintSkinMenuItem(data_, *item, checked.dc(), {0, 0, 120, 20}, false);
  int inBox = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 22; ++x) inBox += checked.At(x, y) == ink && plain.At(x, y) != ink;
  EXPECT_GT(inBox, 5);
}

TEST_F(MenuPaintTest, MeasuringWidensForTheSkinMargin) {
  TMenuItem* item = Add("Save as");
  HDC screen = GetDC(nullptr);
  int w0 = 0, h0 = 0, w = 0, h = 0;
  item->DefaultMeasure(screen, w0, h0);
  MeasureSkinMenuItem(data_, *item, screen, w, h);
  EXPECT_EQ(w, w0 + 4 + 35);
  EXPECT_EQ(h, h0);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  menu_.Images = images;
  w = h = 0;
  MeasureSkinMenuItem(data_, *item, screen, w, h);
  EXPECT_EQ(w, w0 + 4 + 10);
  int widened = w0;
  WidenSkinMenuItem(&data_, *item, widened);
  EXPECT_EQ(widened, w0 + 4 + 12);
  menu_.Images = nullptr;
  ImageList_Destroy(images);
  ReleaseDC(nullptr, screen);
  // A skin data that is gone adds no margin.
  auto gone = std::make_unique<TSkinData>(nullptr);
  const TSkinData* dead = gone.get();
  gone.reset();
  widened = w0;
  WidenSkinMenuItem(dead, *item, widened);
  EXPECT_EQ(widened, w0 + 35);
}

}  // namespace
