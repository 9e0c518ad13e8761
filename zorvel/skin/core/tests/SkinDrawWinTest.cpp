// Drawing skin images on memory device contexts: test images with solid, distinct frame
// colours are drawn and the result is read back pixel by pixel.
#include "SkinDrawWin.h"

#include <gtest/gtest.h>

#include <memory>

#include "SolidStrip.h"
#include "forms/Controls.h"
#include "testkit/MemoryDC.h"

namespace {

constexpr TSkinColour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF,
                      kGrey = 0x808080, kWhite = 0xFFFFFF;

using testkit::MemoryDC;

struct Sample {
  int x, y;
  TSkinColour colour;
};

void ExpectSamples(const MemoryDC& dc, std::initializer_list<Sample> samples, const char* what) {
  for (const Sample& s : samples)
    EXPECT_EQ(dc.At(s.x, s.y), s.colour) << what << " at " << s.x << "," << s.y;
}

TEST(SkinDrawWin, FrameStripDrawsFrameKStretched) {
  TSkinImage strip = SolidStrip(4, 4, {kRed, kGreen, kBlue});
  MemoryDC dc(40, 20);
  DrawFrameStrip(dc.dc(), {5, 5, 25, 15}, strip, 2, 3, false);
  ExpectSamples(dc, {{5, 5, kGreen}, {24, 14, kGreen}, {4, 5, kGrey}, {25, 15, kGrey}}, "frame 2");
  // An inverted rectangle draws nothing.
  DrawFrameStrip(dc.dc(), {30, 5, 28, 15}, strip, 1, 3, false);
  ExpectSamples(dc, {{29, 6, kGrey}}, "inverted");
}

TEST(SkinDrawWin, VerticalStripsPickStackedFrames) {
  TSkinImage strip = SolidStrip(6, 5, {kRed, kGreen, kBlue, kYellow}, true);
  MemoryDC dc(30, 30);
  DrawNineSlice(dc.dc(), {0, 0, 30, 30}, strip, {1, 1, 1, 1}, 3, 4, false, false, true);
  ExpectSamples(dc, {{0, 0, kBlue}, {15, 15, kBlue}, {29, 29, kBlue}}, "frame 3 of 4 stacked");
}

TEST(SkinDrawWin, NineSliceCornersUnscaledEdgesAndCentreStretched) {
  // 12 x 12 frame, margins 4: corners red, edges green, centre blue; then a second
  // frame of yellow that must never show.
  TSkinImage img(24, 12, kGreen);
  img.Fill({4, 4, 8, 8}, kBlue);
  for (TSkinRect r : {TSkinRect{0, 0, 4, 4}, {8, 0, 12, 4}, {0, 8, 4, 12}, {8, 8, 12, 12}}) img.Fill(r, kRed);
  img.Fill({12, 0, 24, 12}, kYellow);
  MemoryDC dc(120, 80);
  DrawNineSlice(dc.dc(), {10, 10, 110, 70}, img, {4, 4, 4, 4}, 1, 2, false, false, false);
  ExpectSamples(dc,
                {{10, 10, kRed}, {13, 13, kRed}, {14, 10, kGreen}, {106, 66, kRed}, {109, 69, kRed},
                 {105, 69, kGreen}, {60, 40, kBlue}, {14, 14, kBlue}, {105, 65, kBlue}, {10, 40, kGreen},
                 {109, 40, kGreen}, {9, 9, kGrey}, {110, 70, kGrey}},
                "nine-slice");
}

TEST(SkinDrawWin, TiledCentreRepeatsAtItsOwnSize) {
  // Centre of 7 x 7 whose first column is red and the rest blue; margins 1 of green.
  TSkinImage img(9, 9, kGreen);
  img.Fill({1, 1, 8, 8}, kBlue);
  img.Fill({1, 1, 2, 8}, kRed);
  MemoryDC dc(30, 30);
  DrawNineSlice(dc.dc(), {0, 0, 22, 22}, img, {1, 1, 1, 1}, 1, 1, false, true, false);
  ExpectSamples(dc, {{1, 5, kRed}, {8, 5, kRed}, {15, 5, kRed}, {2, 5, kBlue}, {9, 9, kBlue}, {21, 5, kGreen}},
                "tiled");
}

TEST(SkinDrawWin, MagentaIsTransparentOnBothBranches) {
  TSkinImage img(6, 2, kSkinKeyColour);
  img.Fill({2, 0, 4, 2}, kRed);
  for (bool maskBlt : {true, false}) {
    MemoryDC dc(10, 4, kWhite);
    TransparentBlitWith(dc.dc(), {1, 1, 7, 3}, img, kSkinKeyColour, maskBlt);
    ExpectSamples(dc, {{1, 1, kWhite}, {2, 2, kWhite}, {3, 1, kRed}, {4, 2, kRed}, {5, 1, kWhite}, {6, 2, kWhite}},
                  maskBlt ? "masked blit" : "three blits");
  }
  // A keyed nine-slice leaves the background where the composition is magenta.
  MemoryDC dc(20, 20, kWhite);
  TSkinImage framed(6, 6, kBlue);
  framed.SetPixel(0, 0, kSkinKeyColour);
  DrawNineSlice(dc.dc(), {0, 0, 20, 20}, framed, {2, 2, 2, 2}, 1, 1, true, false, false);
  ExpectSamples(dc, {{0, 0, kWhite}, {1, 1, kBlue}, {10, 10, kBlue}}, "keyed nine-slice");
}

TEST(SkinDrawWin, CentredFrameOverhangs) {
  TSkinImage img = SolidStrip(16, 16, {kRed, kBlue});
  MemoryDC dc(30, 30);
  DrawFrameCentered(dc.dc(), {5, 5, 15, 15}, img, 2, 2, false);
  // 16 x 16 on a 10 x 10 rectangle at (5, 5): drawn from (2, 2) to (18, 18).
  ExpectSamples(dc, {{2, 2, kBlue}, {17, 17, kBlue}, {1, 1, kGrey}, {18, 18, kGrey}}, "centred");
}

TEST(SkinDrawWin, ThreeSliceVariants) {
  TSkinImage img(10, 4, kBlue);
  img.Fill({0, 0, 2, 4}, kRed);
  img.Fill({8, 0, 10, 4}, kGreen);
  MemoryDC dc(60, 20);
  DrawThreeSliceTiled(dc.dc(), {0, 0, 30, 8}, img, {2, 0, 2, 0}, 1, 1, false, false);
  ExpectSamples(dc, {{0, 0, kRed}, {1, 7, kRed}, {2, 3, kBlue}, {27, 3, kBlue}, {28, 3, kGreen}, {29, 7, kGreen}},
                "three-slice tiled");
  DrawStripThreeSlice(dc.dc(), {30, 10, 60, 20}, img, {2, 0, 2, 0}, 1, 1, false);
  ExpectSamples(dc, {{30, 10, kRed}, {31, 19, kRed}, {32, 15, kBlue}, {57, 15, kBlue}, {58, 15, kGreen}},
                "strip three-slice");
}

TEST(SkinDrawWin, TileBitmapRectRepeatsTheSourceRectangle) {
  TSkinImage img = SolidStrip(3, 3, {kRed, kBlue});
  MemoryDC dc(20, 20);
  TileBitmapRect(dc.dc(), {0, 0, 10, 7}, img, {3, 0, 6, 3});
  // Copies start at 0, 3, 6, 9 across and 0, 3, 6 down; the last ones are not cut.
  ExpectSamples(dc, {{0, 0, kBlue}, {11, 8, kBlue}, {12, 0, kGrey}, {0, 9, kGrey}}, "tiles");
}

int RegionRectCount(HRGN region, RECT* box) {
  DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<std::uint8_t> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  GetRegionData(region, size, data);
  if (box) GetRgnBox(region, box);
  return static_cast<int>(data->rdh.nCount);
}

TEST(SkinDrawWin, RegionOfAFrameWithMagentaCorners) {
  TSkinImage img(10, 10, kBlue);
  img.SetPixel(0, 0, kSkinKeyColour);
  img.SetPixel(9, 0, 0xFF01FF);  // within tolerance 1
  img.SetPixel(0, 9, 0xFE00FF);  // outside it (red 254)
  HRGN region = RegionFromBitmap(img, 100, 50, kSkinKeyColour, 1, 1, 1);
  ASSERT_NE(region, nullptr);
  EXPECT_FALSE(PtInRegion(region, 100, 50));
  EXPECT_FALSE(PtInRegion(region, 109, 50));
  EXPECT_TRUE(PtInRegion(region, 101, 50));
  EXPECT_TRUE(PtInRegion(region, 100, 59));
  EXPECT_TRUE(PtInRegion(region, 105, 55));
  RECT box;
  RegionRectCount(region, &box);
  EXPECT_EQ(box.left, 100);
  EXPECT_EQ(box.top, 50);
  EXPECT_EQ(box.right, 110);
  EXPECT_EQ(box.bottom, 60);
  DeleteObject(region);

  TSkinImage allKey(8, 8, kSkinKeyColour);
  HRGN empty = RegionFromBitmap(allKey, 0, 0, kSkinKeyColour, 1, 1, 1);
  ASSERT_NE(empty, nullptr);
  RECT none;
  EXPECT_EQ(GetRgnBox(empty, &none), NULLREGION);
  DeleteObject(empty);
}

TEST(SkinDrawWin, ManyRunsAreCombinedAcrossBatches) {
  // 4500 one-pixel runs: 3 rows of 1500 pixels, alternating so that no two rows merge.
  TSkinImage img(3000, 3, kSkinKeyColour);
  for (int y = 0; y < 3; ++y)
    for (int x = y % 2; x < 3000; x += 2) img.SetPixel(x, y, kBlue);
  HRGN region = RegionFromBitmap(img, 0, 0, kSkinKeyColour, 0, 0, 0);
  EXPECT_EQ(RegionRectCount(region, nullptr), 4500);
  EXPECT_TRUE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 2999, 1));  // the second batch
  EXPECT_TRUE(PtInRegion(region, 2998, 2));  // the last, short batch
  EXPECT_FALSE(PtInRegion(region, 2999, 2));
  DeleteObject(region);
}

TEST(SkinDrawWin, EmptyImagesDrawNothing) {
  MemoryDC dc(10, 10);
  TSkinImage none;
  DrawNineSlice(dc.dc(), {0, 0, 10, 10}, none, {1, 1, 1, 1}, 1, 1, true, true, false);
  DrawFrameStrip(dc.dc(), {0, 0, 10, 10}, none, 1, 1, false);
  DrawFrameCentered(dc.dc(), {0, 0, 10, 10}, none, 1, 1, true);
  DrawThreeSliceTiled(dc.dc(), {0, 0, 10, 10}, none, {}, 1, 1, false, false);
  DrawStripThreeSlice(dc.dc(), {0, 0, 10, 10}, none, {}, 1, 1, false);
  TransparentBlit(dc.dc(), {0, 0, 10, 10}, none, kSkinKeyColour);
  ExpectSamples(dc, {{0, 0, kGrey}, {9, 9, kGrey}}, "empty image");
  // Hostile frame numbers draw inside the image.
  TSkinImage img = SolidStrip(2, 2, {kRed, kBlue});
  DrawFrameStrip(dc.dc(), {0, 0, 4, 4}, img, 9, 0, false);
  ExpectSamples(dc, {{0, 0, kRed}, {3, 3, kBlue}}, "count 0 draws the whole image");
}

TEST(SkinDrawWin, ScratchBitmapLivesBetweenInitAndDone) {
  InitSkinDraw();
  ASSERT_NE(ScratchBitmap, nullptr);
  InitSkinDraw();
  DoneSkinDraw();
  EXPECT_NE(ScratchBitmap, nullptr);  // still one user
  DoneSkinDraw();
  EXPECT_EQ(ScratchBitmap, nullptr);
}

TEST(SkinDrawWin, ParentBackgroundWithoutParentLeavesTheDCAlone) {
  MemoryDC dc(10, 10);
  TWinControl orphan(nullptr);
  PaintParentBackground(&orphan, dc.dc());
  PaintParentBackground(nullptr, dc.dc());
  POINT origin{1, 1};
  GetViewportOrgEx(dc.dc(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(dc.At(5, 5), kGrey);
}

TEST(SkinDrawWin, ParentBackgroundReachesTheParentShifted) {
  TWinControl parent(nullptr);
  TWinControl child(nullptr);
  child.SetParent(&parent);
  child.SetBounds(7, 3, 10, 10);
  POINT seen{-1, -1};
  int messages = 0;
  parent.WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_ERASEBKGND || m.Msg == WM_PAINT) {
      ++messages;
      GetViewportOrgEx(reinterpret_cast<HDC>(m.WParam), &seen);
    }
  };
  MemoryDC dc(10, 10);
  PaintParentBackground(&child, dc.dc());
  EXPECT_EQ(messages, 2);
  EXPECT_EQ(seen.x, -7);
  EXPECT_EQ(seen.y, -3);
  POINT after{1, 1};
  GetViewportOrgEx(dc.dc(), &after);
  EXPECT_EQ(after.x, 0);
}

}  // namespace
