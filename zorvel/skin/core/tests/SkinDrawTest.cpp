// Geometry of skin drawing and the skin image: frames of strips, nine-slice and
// three-slice layouts, tiling, stretching, bitmap reading and colour-key runs.
#include "SkinDraw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SolidStrip.h"

namespace {

struct FrameCase {
  const char* what;
  int w, h, k, count;
  bool vertical;
  TSkinFrame expected;
};

TEST(SkinFrameRect, FramesOfStrips) {
  const FrameCase cases[] = {
      {"frame 2 of a vertical two-frame strip", 20, 40, 2, 2, true, {0, 20, 20, 20}},
      {"frame 2 of a horizontal 31-wide three-frame strip", 31, 10, 2, 3, false, {10, 0, 10, 10}},
      {"last frame leaves the remainder column out", 31, 10, 3, 3, false, {20, 0, 10, 10}},
      {"frame 1 of one frame is the whole image", 17, 9, 1, 1, false, {0, 0, 17, 9}},
      {"a zero count counts as one", 30, 10, 1, 0, false, {0, 0, 30, 10}},
      {"a negative count counts as one", 30, 10, 2, -4, true, {0, 0, 30, 10}},
      {"an index past the count stays on the last frame", 40, 10, 9, 4, false, {30, 0, 10, 10}},
      {"an index below 1 stays on the first frame", 40, 10, 0, 4, false, {0, 0, 10, 10}},
      {"more frames than pixels gives empty frames", 3, 10, 2, 5, false, {0, 0, 0, 10}},
  };
  for (const FrameCase& c : cases)
    EXPECT_EQ(SkinFrameRect(c.w, c.h, c.k, c.count, c.vertical), c.expected) << c.what;
}

struct MarginCase {
  const char* what;
  TSkinMargins given;
  int w, h;
  TSkinFrame frame;
  TSkinMargins expected;
};

TEST(SkinFitMargins, MarginsThatDoNotFitBecomeZero) {
  const TSkinFrame big{0, 0, 30, 30};
  const MarginCase cases[] = {
      {"all fit", {6, 5, 6, 5}, 40, 40, big, {6, 5, 6, 5}},
      {"left and right too wide for a 10-wide target", {6, 4, 6, 4}, 10, 40, big, {0, 4, 0, 4}},
      {"margins that exactly fill the size stay", {5, 3, 5, 7}, 10, 10, big, {5, 3, 5, 7}},
      {"top and bottom too high", {2, 8, 2, 8}, 40, 15, big, {2, 0, 2, 0}},
      {"negative margins are 0", {-3, -1, 4, -9}, 40, 40, big, {0, 0, 4, 0}},
      {"margins wider than the frame itself", {8, 2, 8, 2}, 100, 100, {0, 0, 12, 12}, {0, 2, 0, 2}},
      {"huge margins do not overflow", {0x7FFFFFFF, 0, 0x7FFFFFFF, 0}, 40, 40, big, {0, 0, 0, 0}},
  };
  for (const MarginCase& c : cases) EXPECT_EQ(SkinFitMargins(c.given, c.w, c.h, c.frame), c.expected) << c.what;
}

TEST(SkinNineSlicePieces, CornersKeepTheirSizeEdgesStretchInOrder) {
  // Frame 2 of a two-frame horizontal strip of 40 x 20: X0 = 20, FW = 20, FH = 20.
  TSkinFrame f = SkinFrameRect(40, 20, 2, 2, false);
  auto pieces = SkinNineSlicePieces(100, 50, f, {4, 3, 5, 6}, false);
  const TSkinPiece expected[] = {
      {{0, 0, 4, 3}, {20, 0, 24, 3}},         // top-left
      {{0, 44, 4, 50}, {20, 14, 24, 20}},     // bottom-left
      {{95, 0, 100, 3}, {35, 0, 40, 3}},      // top-right
      {{0, 3, 4, 44}, {20, 3, 24, 14}},       // left edge
      {{4, 0, 95, 3}, {24, 0, 35, 3}},        // top edge
      {{4, 3, 95, 44}, {24, 3, 35, 14}},      // centre
      {{95, 44, 100, 50}, {35, 14, 40, 20}},  // bottom-right
      {{95, 3, 100, 44}, {35, 3, 40, 14}},    // right edge
      {{4, 44, 95, 50}, {24, 14, 35, 20}},    // bottom edge
  };
  ASSERT_EQ(pieces.size(), std::size(expected));
  for (std::size_t i = 0; i < pieces.size(); ++i) EXPECT_EQ(pieces[i], expected[i]) << "piece " << i;
}

TEST(SkinNineSlicePieces, NarrowTargetStretchesTheWholeWidthButKeepsRows) {
  TSkinFrame f{0, 0, 30, 30};
  auto pieces = SkinNineSlicePieces(10, 40, f, {6, 4, 6, 4}, false);
  // No left or right pieces: only the centre and the top and bottom edges remain.
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], (TSkinPiece{{0, 0, 10, 4}, {0, 0, 30, 4}}));
  EXPECT_EQ(pieces[1], (TSkinPiece{{0, 4, 10, 36}, {0, 4, 30, 26}}));
  EXPECT_EQ(pieces[2], (TSkinPiece{{0, 36, 10, 40}, {0, 26, 30, 30}}));
}

TEST(SkinTilePositions, TilesStartAtTheirOwnSizeAndRunPastTheEnd) {
  auto points = SkinTilePositions({5, 5, 25, 25}, 7, 7);
  std::vector<TSkinPoint> expected;
  for (int x : {5, 12, 19})
    for (int y : {5, 12, 19}) expected.push_back({x, y});
  EXPECT_EQ(points, expected);
  EXPECT_TRUE(SkinTilePositions({0, 0, 10, 10}, 0, 5).empty());
  EXPECT_TRUE(SkinTilePositions({0, 0, 10, 10}, 5, -1).empty());
}

TEST(SkinThreeSlice, MiddleKeepsItsWidthAndEndsAreCovered) {
  TSkinFrame f{0, 0, 10, 8};  // L 2, R 3: middle 5 wide
  auto pieces = SkinThreeSliceTiledPieces(20, 12, f, {2, 0, 3, 0});
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[0], (TSkinPiece{{0, 0, 2, 12}, {0, 0, 2, 8}}));
  EXPECT_EQ(pieces[1], (TSkinPiece{{2, 0, 7, 12}, {2, 0, 7, 8}}));
  EXPECT_EQ(pieces[2], (TSkinPiece{{7, 0, 12, 12}, {2, 0, 7, 8}}));
  EXPECT_EQ(pieces[3], (TSkinPiece{{12, 0, 17, 12}, {2, 0, 7, 8}}));
  EXPECT_EQ(pieces[4], (TSkinPiece{{17, 0, 20, 12}, {7, 0, 10, 8}}));
  // A frame not wider than its margins ends without a middle.
  auto none = SkinThreeSliceTiledPieces(20, 12, {0, 0, 4, 8}, {2, 0, 2, 0});
  EXPECT_EQ(none.size(), 2u);

  auto whole = SkinStripThreeSlicePieces({0, 0, 8, 5}, {10, 0, 10, 5}, {2, 0, 2, 0});
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0], (TSkinPiece{{0, 0, 8, 5}, {10, 0, 20, 5}}));
  auto three = SkinStripThreeSlicePieces({10, 0, 40, 5}, {10, 0, 10, 5}, {2, 0, 3, 0});
  ASSERT_EQ(three.size(), 3u);
  EXPECT_EQ(three[1], (TSkinPiece{{12, 0, 37, 5}, {12, 0, 17, 5}}));
  EXPECT_EQ(three[2], (TSkinPiece{{37, 0, 40, 5}, {17, 0, 20, 5}}));
}

TEST(SkinCentredOrigin, LargerFramesOverhang) {
  EXPECT_EQ(SkinCentredOrigin({0, 0, 10, 10}, 16, 16), (TSkinPoint{-3, -3}));
  EXPECT_EQ(SkinCentredOrigin({10, 20, 30, 30}, 4, 4), (TSkinPoint{18, 23}));
  EXPECT_EQ(SkinCentredOrigin({0, 0, 10, 10}, 15, 15), (TSkinPoint{-2, -2}));
}

TEST(SkinComposeNineSlice, CornersEdgesAndCentreLandWhereTheyShould) {
  // A 9 x 9 frame: corners red, edges green, centre blue (margins 3).
  TSkinImage src(9, 9, 0x0000FF00);
  src.Fill({3, 3, 6, 6}, 0x00FF0000);
  for (TSkinRect r : {TSkinRect{0, 0, 3, 3}, {6, 0, 9, 3}, {0, 6, 3, 9}, {6, 6, 9, 9}}) src.Fill(r, 0x000000FF);
  TSkinImage out = SkinComposeNineSlice(40, 30, src, {3, 3, 3, 3}, 1, 1, false, false);
  ASSERT_EQ(out.Width(), 40);
  ASSERT_EQ(out.Height(), 30);
  const struct {
    int x, y;
    TSkinColour c;
  } samples[] = {{0, 0, 0xFF}, {2, 2, 0xFF}, {3, 0, 0xFF00}, {39, 29, 0xFF}, {37, 27, 0xFF},
                 {36, 27, 0xFF00}, {20, 15, 0xFF0000}, {3, 3, 0xFF0000}, {36, 26, 0xFF0000}, {0, 15, 0xFF00}};
  for (auto s : samples) EXPECT_EQ(out.Pixel(s.x, s.y), s.c) << s.x << "," << s.y;
}

TEST(SkinComposeNineSlice, TiledCentreRepeatsAtItsOwnSize) {
  // A 7 x 7 centre of 7 columns of different colours, margins 1 of black.
  TSkinImage src(9, 9, 0);
  for (int x = 1; x < 8; ++x) src.Fill({x, 1, x + 1, 8}, static_cast<TSkinColour>(x * 20));
  TSkinImage out = SkinComposeNineSlice(22, 22, src, {1, 1, 1, 1}, 1, 1, true, false);
  // Centre area 20 x 20 from (1, 1): copies start at 1, 8, 15.
  for (int copy : {1, 8, 15})
    for (int i = 0; i < 7 && copy + i < 21; ++i)
      EXPECT_EQ(out.Pixel(copy + i, 5), static_cast<TSkinColour>((i + 1) * 20)) << copy << "+" << i;
  // The copy that runs past the centre is covered by the right edge.
  EXPECT_EQ(out.Pixel(21, 5), 0u);
}

TEST(SkinComposeNineSlice, PicksTheFrameOfVerticalStrips) {
  TSkinImage strip = SolidStrip(8, 6, {0x11, 0x22, 0x33}, true);
  TSkinImage out = SkinComposeNineSlice(30, 12, strip, {2, 2, 2, 2}, 3, 3, false, true);
  for (int y : {0, 5, 11})
    for (int x : {0, 15, 29}) EXPECT_EQ(out.Pixel(x, y), 0x33u);
}

TEST(SkinComposeNineSlice, HostileInputsGiveEmptyOrSafeResults) {
  TSkinImage strip = SolidStrip(4, 4, {0x44});
  EXPECT_TRUE(SkinComposeNineSlice(0, 10, strip, {}, 1, 1, false, false).Empty());
  EXPECT_TRUE(SkinComposeNineSlice(10, 10, TSkinImage(), {}, 1, 1, false, false).Empty());
  EXPECT_TRUE(SkinComposeNineSlice(TSkinImage::kMaxSide + 1, 10, strip, {}, 1, 1, false, false).Empty());
  TSkinImage out = SkinComposeNineSlice(10, 10, strip, {-5, 900, -2, 900}, 7, -3, true, false);
  EXPECT_EQ(out.Pixel(5, 5), 0x44u);
  // More frames than pixels: frames 0 wide; nothing is read outside the image.
  TSkinImage thin = SkinComposeNineSlice(10, 10, strip, {1, 1, 1, 1}, 3, 100, true, false);
  EXPECT_EQ(thin.Width(), 10);
}

TEST(SkinPaintNineSlice, MatchesTheCompositionAndStaysInsideItsRectangle) {
  TSkinImage src(9, 9, 0);
  for (int x = 0; x < 9; ++x) src.Fill({x, 0, x + 1, 9}, static_cast<TSkinColour>(0x10 + x));
  for (bool tile : {false, true}) {
    TSkinImage composed = SkinComposeNineSlice(23, 17, src, {2, 3, 2, 3}, 1, 1, tile, false);
    TSkinImage big(40, 30, 0xABCDEF);
    SkinPaintNineSlice(big, {5, 6, 28, 23}, src, {2, 3, 2, 3}, 1, 1, tile, false);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool inside = x >= 5 && x < 28 && y >= 6 && y < 23;
        ASSERT_EQ(big.Pixel(x, y), inside ? composed.Pixel(x - 5, y - 6) : 0xABCDEFu)
            << x << "," << y << (tile ? " tiled" : " stretched");
      }
  }
}

TEST(SkinStretchCopy, NearestPixelAndClipping) {
  TSkinImage src = SolidStrip(1, 1, {1, 2, 3, 4});  // 4 x 1
  TSkinImage dst(8, 1, 0);
  SkinStretchCopy(dst, {0, 0, 8, 1}, src, {0, 0, 4, 1});
  const TSkinColour expected[] = {1, 1, 2, 2, 3, 3, 4, 4};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.Pixel(x, 0), expected[x]);
  // Shrinking takes the pixel under each centre; a destination partly outside is cut.
  TSkinImage small(2, 1, 0);
  SkinStretchCopy(small, {-1, 0, 1, 1}, src, {0, 0, 4, 1});
  EXPECT_EQ(small.Pixel(0, 0), 4u);  // the second half of the source
  EXPECT_EQ(small.Pixel(1, 0), 0u);
  // A source reaching outside its image leaves those pixels alone.
  TSkinImage part(4, 1, 9);
  SkinStretchCopy(part, {0, 0, 4, 1}, src, {2, 0, 6, 1});
  EXPECT_EQ(part.Pixel(0, 0), 3u);
  EXPECT_EQ(part.Pixel(3, 0), 9u);
}

TEST(SkinKeyedCopy, MagentaLeavesTheDestination) {
  TSkinImage src(3, 1, kSkinKeyColour);
  src.SetPixel(1, 0, 0x123456);
  TSkinImage dst(3, 1, 0x777777);
  SkinKeyedCopy(dst, 0, 0, src);
  EXPECT_EQ(dst.Pixel(0, 0), 0x777777u);
  EXPECT_EQ(dst.Pixel(1, 0), 0x123456u);
  EXPECT_EQ(dst.Pixel(2, 0), 0x777777u);
  // Places far off either side copy nothing.
  for (int x : {INT32_MIN + 1, INT32_MAX}) {
    SkinKeyedCopy(dst, x, 0, src);
    EXPECT_EQ(dst.Pixel(0, 0), 0x777777u) << x;
  }
}

TEST(SkinRegionRuns, ToleranceAndRuns) {
  // (255, 0, 255) and (255, 1, 255) are keyed with tolerance 1; (254, 0, 255) is not.
  TSkinImage img(6, 2, 0x0000FF00);
  img.SetPixel(0, 0, 0xFF00FF);
  img.SetPixel(1, 0, 0xFF01FF);
  img.SetPixel(2, 0, 0xFF00FE);
  img.SetPixel(4, 0, 0xFF00FF);
  auto runs = SkinRegionRuns(img, 10, 20, kSkinKeyColour, 1, 1, 1);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], (TSkinRect{12, 20, 14, 21}));
  EXPECT_EQ(runs[1], (TSkinRect{15, 20, 16, 21}));
  EXPECT_EQ(runs[2], (TSkinRect{10, 21, 16, 22}));
  TSkinImage allKey(5, 5, kSkinKeyColour);
  EXPECT_TRUE(SkinRegionRuns(allKey, 0, 0, kSkinKeyColour, 0, 0, 0).empty());
}

TEST(SkinRegionRuns, RowsThatRepeatJoinTheRowAbove) {
  // Rows 0-1 and 3-4 alike, row 2 with a hole, row 5 alone of its shape.
  TSkinImage img(4, 6, 0x0000FF00);
  img.SetPixel(1, 2, kSkinKeyColour);
  img.Fill({2, 5, 4, 6}, kSkinKeyColour);
  const auto merged = SkinMergeRows(SkinRegionRuns(img, 0, 0, kSkinKeyColour, 0, 0, 0));
  const std::vector<TSkinRect> expected = {
      {0, 0, 4, 2}, {0, 2, 1, 3}, {2, 2, 4, 3}, {0, 3, 4, 5}, {0, 5, 2, 6}};
  EXPECT_EQ(merged, expected);
  EXPECT_TRUE(SkinMergeRows({}).empty());
}

// ---------------------------------------------------------------------------------------
// Bitmap files

std::vector<std::uint8_t> MakeBmp(int w, int h, int bpp, std::uint32_t compression, std::vector<std::uint32_t> palette,
                                  std::vector<std::uint8_t> bits) {
  std::vector<std::uint8_t> out{'B', 'M'};
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  std::uint32_t offset = static_cast<std::uint32_t>(54 + palette.size() * 4);
  u32(static_cast<std::uint32_t>(offset + bits.size()));
  u32(0);
  u32(offset);
  u32(40);
  u32(static_cast<std::uint32_t>(w));
  u32(static_cast<std::uint32_t>(h));
  u16(1);
  u16(static_cast<std::uint16_t>(bpp));
  u32(compression);
  u32(static_cast<std::uint32_t>(bits.size()));
  u32(0);
  u32(0);
  u32(static_cast<std::uint32_t>(palette.size()));
  u32(0);
  for (auto c : palette) u32(c);
  out.insert(out.end(), bits.begin(), bits.end());
  return out;
}

TEST(TSkinImageBmp, ReadsCommonFormats) {
  // 24-bit 2 x 2 bottom-up: bottom row blue, red; top row green, white.
  auto bmp24 = MakeBmp(2, 2, 24, 0, {}, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0});
  TSkinImage img;
  ASSERT_TRUE(img.LoadFromBmp(bmp24.data(), bmp24.size()));
  EXPECT_EQ(img.Pixel(0, 1), 0xFF0000u);  // blue (0x00BBGGRR)
  EXPECT_EQ(img.Pixel(1, 1), 0x0000FFu);
  EXPECT_EQ(img.Pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(img.Pixel(1, 0), 0xFFFFFFu);

  // 4-bit 3 x 1 with a two-colour palette (entries are B, G, R, 0).
  auto bmp4 = MakeBmp(3, 1, 4, 0, {0x000000FF, 0x0000FF00}, {0x01, 0x00, 0, 0});
  ASSERT_TRUE(img.LoadFromBmp(bmp4.data(), bmp4.size()));
  EXPECT_EQ(img.Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(img.Pixel(1, 0), 0x00FF00u);
  EXPECT_EQ(img.Pixel(2, 0), 0xFF0000u);

  // Round trip through our own writer.
  TSkinImage a(5, 3, 0x102030);
  a.SetPixel(4, 2, 0xABCDEF);
  auto bytes = a.SaveToBmp();
  TSkinImage b;
  ASSERT_TRUE(b.LoadFromBmp(bytes.data(), bytes.size()));
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Pixel(4, 2), 0xABCDEFu);
  EXPECT_EQ(b.Pixel(0, 0), 0x102030u);
}

TEST(TSkinImageBmp, RefusesHostileFiles) {
  auto good = MakeBmp(2, 2, 24, 0, {}, std::vector<std::uint8_t>(16, 7));
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Case> cases;
  auto patch32 = [&](std::size_t at, std::uint32_t v) {
    auto b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
  };
  cases.push_back({"not a bitmap", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
  cases.push_back({"cut inside the header", std::vector<std::uint8_t>(good.begin(), good.begin() + 30)});
  cases.push_back({"cut inside the pixels", std::vector<std::uint8_t>(good.begin(), good.end() - 1)});
  cases.push_back({"huge width", patch32(18, 0x7FFFFFFF)});
  cases.push_back({"huge height", patch32(22, 0x40000000)});
  cases.push_back({"negative width", patch32(18, 0xFFFFFFFE)});
  cases.push_back({"zero height", patch32(22, 0)});
  cases.push_back({"odd header size", patch32(14, 41)});
  cases.push_back({"pixel offset past the end", patch32(10, 0xFFFFFFF0)});
  cases.push_back({"run-length compressed", patch32(30, 1)});
  {
    auto b = good;
    b[28] = 7;  // 7 bits per pixel
    cases.push_back({"odd bit count", b});
  }
  {
    auto b = MakeBmp(2, 1, 8, 0, {0, 0}, {0, 1, 0, 0});
    for (int i = 0; i < 4; ++i) b[46 + i] = static_cast<std::uint8_t>(300 >> (8 * i));
    cases.push_back({"more palette colours than the depth allows", b});
  }
  for (const Case& c : cases) {
    TSkinImage img(3, 3, 5);
    EXPECT_FALSE(img.LoadFromBmp(c.bytes.data(), c.bytes.size())) << c.what;
    EXPECT_TRUE(img.Empty()) << c.what;
  }
  TSkinImage img;
  EXPECT_FALSE(img.LoadFromBmp(nullptr, 0));
}

TEST(TSkinImageBmp, ReadsResourceBitmapsAndKeepsItsOwnLimits) {
  // A resource holds the file without its 14-byte header; 32-bit rows lose the fourth byte.
  auto file32 = MakeBmp(2, 1, 32, 0, {}, {0x30, 0x20, 0x10, 0x99, 0xFF, 0xFF, 0xFF, 0x99});
  const std::vector<std::uint8_t> dib(file32.begin() + 14, file32.end());
  TSkinImage img;
  ASSERT_TRUE(img.LoadFromBmp(dib.data(), dib.size(), true));
  EXPECT_EQ(img.Width(), 2);
  EXPECT_EQ(img.Stride(), 8u);
  EXPECT_EQ(img.Pixel(0, 0), 0x302010u);
  EXPECT_EQ(img.Pixel(1, 0), 0xFFFFFFu);
  EXPECT_FALSE(img.LoadFromBmp(file32.data(), file32.size(), true)) << "a file is no resource";

  struct Case {
    int w, h;
    bool fits;
  };
  const Case cases[] = {{TSkinImage::kMaxSide, 1, true},
                        {TSkinImage::kMaxSide + 1, 1, false},
                        {1, TSkinImage::kMaxSide + 1, false}};
  for (const Case& c : cases) {
    const std::size_t stride = (static_cast<std::size_t>(c.w) * 3 + 3) / 4 * 4;
    auto bmp = MakeBmp(c.w, c.h, 24, 0, {}, std::vector<std::uint8_t>(stride * c.h, 0x40));
    EXPECT_EQ(img.LoadFromBmp(bmp.data(), bmp.size()), c.fits) << c.w << " x " << c.h;
    EXPECT_EQ(img.Width(), c.fits ? c.w : 0);
  }
}

TEST(TSkinImage, MirrorAndReplaceColour) {
  TSkinImage img = SolidStrip(1, 1, {1, kSkinKeyColour, 3});
  img.MirrorHorizontal();
  EXPECT_EQ(img.Pixel(0, 0), 3u);
  EXPECT_EQ(img.Pixel(2, 0), 1u);
  img.ReplaceColour(kSkinKeyColour, 0x00ABCDEF);
  EXPECT_EQ(img.Pixel(1, 0), 0xABCDEFu);
  TSkinImage near = SolidStrip(1, 1, {0xFF01FF});
  near.ReplaceColour(kSkinKeyColour, 0);
  EXPECT_EQ(near.Pixel(0, 0), 0xFF01FFu);
}

}  // namespace
