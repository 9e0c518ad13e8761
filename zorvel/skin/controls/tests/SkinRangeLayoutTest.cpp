// Where the track-bar channel goes and how a progress bar is filled and chunked.
#include "SkinRangeLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinRangeLayout, ChannelSlices) {
  const TSkinMargins lr{3, 0, 4, 0}, tb{0, 3, 0, 4};
  // clang-format off
  const struct {
    const char* what;
    TSkinRect reported;
    bool verticalImage;
    int w, h;
    TSkinMargins m;
    TSkinRect left, middle, right;  // dest of the three slices
  } cases[] = {
      {"lower image: from the middle down", {10, 20, 110, 26}, false, 16, 4, lr,
       {10, 23, 13, 27}, {13, 23, 106, 27}, {106, 23, 110, 27}},
      {"taller image: from the top", {10, 20, 110, 24}, false, 16, 6, lr,
       {10, 20, 13, 26}, {13, 20, 106, 26}, {106, 20, 110, 26}},
      {"vertical reported lying: transposed, centred", {20, 10, 120, 30}, true, 4, 16, tb,
       {18, 20, 22, 23}, {18, 23, 22, 116}, {18, 116, 22, 120}},
      {"vertical reported standing: as it is", {10, 20, 30, 120}, true, 4, 16, tb,
       {18, 20, 22, 23}, {18, 23, 22, 116}, {18, 116, 22, 120}},
      {"margins wider than the image: the whole image stretched", {10, 20, 110, 24}, false, 16, 6,
       {0x7FFFFFFF, 0, 4, 0}, {10, 20, 10, 26}, {10, 20, 110, 26}, {110, 20, 110, 26}},
  };
  // clang-format on
  for (const auto& c : cases) {
    const auto p = TrackChannelPieces(TrackChannelTarget(c.reported, c.verticalImage),
                                      c.verticalImage, c.w, c.h, c.m);
    ASSERT_EQ(p.size(), 3u) << c.what;
    EXPECT_EQ(p[0].Dest, c.left) << c.what;
    EXPECT_EQ(p[1].Dest, c.middle) << c.what;
    EXPECT_EQ(p[2].Dest, c.right) << c.what;
  }
  // A bar without the vertical image is drawn from the horizontal one as reported.
  EXPECT_EQ(TrackChannelTarget({10, 20, 30, 120}, false), (TSkinRect{10, 20, 30, 120}));
}

TEST(SkinRangeLayout, FilledPart) {
  const struct {
    int low, high, pos, fill;
  } cases[] = {{0, 200, 50, 25}, {0, 200, 0, 0},     {0, 0, 5, 0},    {0, 200, 200, 100},
               {0, 3, 1, 33},    {50, 150, 100, 50}, {0, 10, 20, 100}};
  for (const auto& c : cases)
    EXPECT_EQ(ProgressFill(100, c.low, c.high, c.pos), c.fill)
        << c.low << ".." << c.high << " @" << c.pos;
}

constexpr TSkinColour kFace = 0x101010, kBack = 0x2030C0, kFill = 0x30C020, kChunk = 0xC02030;

TEST(SkinRangeLayout, ProgressChunks) {
  // In chunk mode the whole image is the bar's picture: its left half where sampled.
  TSkinImage bar(20, 8, kBack);
  bar.Fill({10, 0, 20, 8}, kFill);
  const TSkinImage chunk(3, 4, kChunk);
  TProgressLook tiled{&bar, {}, false, true, &chunk, {5, 0, 0, 0}, true};
  TSkinImage p = ComposeProgress(tiled, 100, 10, 10, false, kFace);
  EXPECT_EQ(p.Pixel(7, 3), kChunk);  // from LeftWidth + 2, centred: rows 3 to 6
  EXPECT_EQ(p.Pixel(7, 2), kBack);
  EXPECT_EQ(p.Pixel(16, 5), kChunk);  // the last copy cut 10 columns on
  EXPECT_EQ(p.Pixel(17, 5), kBack);
  TProgressLook farOff = tiled;  // a margin past the bar's end: no chunks
  farOff.ChunkMargins.Left = INT32_MAX;
  EXPECT_EQ(ComposeProgress(farOff, 100, 10, 10, false, kFace).Pixel(7, 3), kBack);
  // Chunk mode without a chunk image, or a chunk image that is empty: the bar alone.
  const TSkinImage empty;
  for (const TSkinImage* none : std::initializer_list<const TSkinImage*>{nullptr, &empty}) {
    TProgressLook bare = tiled;
    bare.Chunk = none;
    p = ComposeProgress(bare, 100, 10, 50, false, kFace);
    EXPECT_EQ(p.Pixel(20, 5), kBack);
  }
  // Without a bar image: the face colour, standing as the bar stands.
  p = ComposeProgress({}, 10, 100, 50, true, kFace);
  EXPECT_EQ(p.Width(), 10);
  EXPECT_EQ(p.Pixel(5, 90), kFace);
  // Past the image limits: no picture.
  EXPECT_TRUE(ComposeProgress(tiled, TSkinImage::kMaxSide + 1, 10, 50, false, kFace).Empty());
  // Slices inset by 2; a bar too low for them gets none.
  TProgressLook sliced = tiled;
  sliced.ChunkTile = false;
  p = ComposeProgress(sliced, 100, 10, 30, false, kFace);
  EXPECT_EQ(p.Pixel(2, 2), kChunk);
  EXPECT_EQ(p.Pixel(31, 7), kChunk);
  EXPECT_EQ(p.Pixel(32, 5), kBack);
  EXPECT_EQ(p.Pixel(10, 8), kBack);
  p = ComposeProgress(sliced, 100, 3, 30, false, kFace);
  EXPECT_EQ(p.Pixel(5, 1), kBack);
}

}  // namespace
