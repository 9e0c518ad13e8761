// The colour arithmetic, the ramp cache and the pixel work of the bitmap helpers, on
// plain pixel buffers.
#include <gtest/gtest.h>

#include <vector>

#include "ImgUtil.h"

using namespace skin;

namespace {

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TEST(MixColors, Weights) {
  struct Row {
    TColor c1, c2;
    int amount;
    TColor expected;
  };
  const Row rows[] = {
      {kRed, kBlue, 0, kBlue},                                   // C2 exactly
      {kRed, kBlue, 50, static_cast<TColor>(RGBColor(128, 0, 128))},  // (255*50 + 50) div 100
      {kRed, kBlue, 100, static_cast<TColor>(RGBColor(26, 0, 230))},  // per mille: C1 10 %
      {kRed, kBlue, 150, static_cast<TColor>(RGBColor(38, 0, 217))},  // 15 %
      {kRed, kBlue, 1000, kRed},
      {kWhite, 0, 1500, static_cast<TColor>(RGBColor(127, 127, 127))},  // 383 cut to 8 bits
  };
  for (const Row& r : rows)
    EXPECT_EQ(MixColors(r.c1, r.c2, r.amount), r.expected) << r.amount;
}

std::uint32_t FakeSysColor(int index) { return index == 15 ? RGBColor(10, 20, 30) : 0; }

TEST(MixColors, SystemColourUsesItsCurrentValue) {
  TSysColorFunc old = SetSysColorFunc(FakeSysColor);
  const TColor btnFace = static_cast<TColor>(0xFF00000F);
  EXPECT_EQ(ColorToRGB(btnFace), RGBColor(10, 20, 30));
  EXPECT_EQ(MixColors(btnFace, btnFace, 50), static_cast<TColor>(RGBColor(10, 20, 30)));
  EXPECT_EQ(MixColors(btnFace, 0, 0), 0);
  SetSysColorFunc(old);
}

TEST(ColorSaturation, Values) {
  struct Row {
    std::uint32_t colour;
    int expected;
  };
  const Row rows[] = {
      {RGBColor(40, 10, 10), 200},  // dark: every channel below 160
      {RGBColor(0, 0, 0), 200},
      {RGBColor(255, 0, 0), 255},
      {RGBColor(255, 255, 255), 0},
      {RGBColor(200, 100, 100), 128},  // 127.5 rounds to even 128
      {RGBColor(170, 85, 85), 128},    // 127.5 again
      {RGBColor(200, 150, 150), 64},   // 63.75
      {0xFF00000F, 200},               // a system colour is not resolved: (15, 0, 0)
  };
  for (const Row& r : rows)
    EXPECT_EQ(ColorSaturation(static_cast<TColor>(r.colour)), r.expected) << std::hex << r.colour;
}

TEST(Gradients, Ramps) {
  ClearGradientCache();
  const TColor black = 0, white = kWhite;
  EXPECT_EQ(GradientSlot(GetGradientColors(1, black, white)),
            std::vector<TColor>{static_cast<TColor>(RGBColor(127, 127, 127))});
  EXPECT_EQ(GradientSlot(GetGradientColors(2, black, white)), (std::vector<TColor>{black, white}));
  const std::vector<TColor>& up = GradientSlot(GetGradientColors(4, black, white));
  EXPECT_EQ(up, (std::vector<TColor>{0, static_cast<TColor>(RGBColor(85, 85, 85)),
                                     static_cast<TColor>(RGBColor(170, 170, 170)), white}));
  // A falling ramp does not end on C2 (the rounding pushes every step up).
  const std::vector<TColor>& down = GradientSlot(GetGradientColors(4, RGBColor(30, 0, 0), 0));
  EXPECT_EQ(down.front(), static_cast<TColor>(RGBColor(30, 0, 0)));
  EXPECT_EQ(down.back(), static_cast<TColor>(RGBColor(1, 0, 0)));
  EXPECT_EQ(GetGradientColors(0, black, white), -1);
  EXPECT_EQ(GetGradientColors(-3, black, white), -1);
  EXPECT_EQ(GetGradientColors(kMaxGradientColors + 1, black, white), -1);
}

TEST(Gradients, CacheHitsAndTheSeventeenthRampReplacesTheOldest) {
  ClearGradientCache();
  for (int i = 0; i < kGradientSlots; ++i) EXPECT_EQ(GetGradientColors(10 + i, 0, kWhite), i);
  EXPECT_EQ(GetGradientColors(12, 0, kWhite), 2);  // found again
  EXPECT_EQ(GetGradientColors(100, 0, kWhite), 0);  // the seventeenth
  EXPECT_EQ(GradientSlot(0).size(), 100u);
  EXPECT_EQ(GetGradientColors(10, 0, kWhite), 1);  // gone from slot 0: made again in slot 1
  // Falling ramps miss each time and take a new slot.
  int a = GetGradientColors(5, kWhite, 0), b = GetGradientColors(5, kWhite, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(GradientSlot(a), GradientSlot(b));
}

TEST(Gradients, VisibleBands) {
  struct Row {
    int start, count, clipStart, clipEnd, first, last;
  };
  const Row rows[] = {
      {0, 10, 0, 10, 0, 9},   {0, 10, -5, 50, 0, 9}, {10, 30, 20, 30, 10, 19},
      {10, 30, 0, 15, 0, 4},  {10, 5, 20, 30, 10, 4},
  };
  for (const Row& r : rows) {
    TBandRange b = VisibleBands(r.start, r.count, r.clipStart, r.clipEnd);
    EXPECT_EQ(b.first, r.first);
    EXPECT_EQ(b.last, r.last);
  }
}

// A 24-bit image with padded rows; pixel (x, y) is (x, y, 7) unless set.
struct Image {
  int w, h;
  std::ptrdiff_t stride;
  std::vector<std::uint8_t> bits;
  Image(int w_, int h_) : w(w_), h(h_), stride(BmpStride(w_, 24)), bits(stride * h_ + 1, 0xEE) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Set(x, y, x, y, 7);
  }
  TPixelView View() { return {w, h, 3, stride, bits.data()}; }
  void Set(int x, int y, int b, int g, int r) {
    std::uint8_t* p = View().Pixel(x, y);
    p[0] = static_cast<std::uint8_t>(b), p[1] = static_cast<std::uint8_t>(g), p[2] = static_cast<std::uint8_t>(r);
  }
  std::vector<int> At(int x, int y) {
    std::uint8_t* p = View().Pixel(x, y);
    return {p[0], p[1], p[2]};
  }
};

TEST(Pixels, GreyAndMagenta) {
  Image img(5, 3);
  img.Set(0, 0, 10, 20, 31);
  img.Set(1, 0, 255, 0, 255);
  img.Set(2, 0, 255, 1, 255);
  Image grey = img;
  GrayscalePixels(grey.View());
  EXPECT_EQ(grey.At(0, 0), (std::vector<int>{20, 20, 20}));
  ReplaceMagentaPixels(img.View(), RGBColor(1, 2, 3));
  EXPECT_EQ(img.At(1, 0), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(img.At(2, 0), (std::vector<int>{255, 1, 255}));
  EXPECT_EQ(img.bits.back(), 0xEE);  // nothing written past the rows
  EXPECT_EQ(img.bits[15], 0xEE);     // nor into a row's padding
}

TEST(Pixels, MirrorFlipRotate) {
  Image img(5, 3);
  Image m = img;
  MirrorPixels(m.View());
  EXPECT_EQ(m.At(0, 1), img.At(4, 1));
  EXPECT_EQ(m.At(2, 1), img.At(2, 1));
  MirrorPixels(m.View());
  EXPECT_EQ(m.bits, img.bits);

  Image f = img;
  FlipPixels(f.View());
  EXPECT_EQ(f.At(3, 0), img.At(3, 2));
  FlipPixels(f.View());
  EXPECT_EQ(f.bits, img.bits);

  Image r90(3, 5), back(5, 3);
  RotatePixels(img.View(), r90.View(), false);
  // Anticlockwise: the old top edge is the left edge, its left end at the bottom.
  EXPECT_EQ(r90.At(0, 4), img.At(0, 0));
  EXPECT_EQ(r90.At(0, 0), img.At(4, 0));
  EXPECT_EQ(r90.At(2, 4), img.At(0, 2));
  RotatePixels(r90.View(), back.View(), true);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.At(x, y), img.At(x, y));
  Image r270(3, 5);
  RotatePixels(img.View(), r270.View(), true);
  // Clockwise: the old top edge is the right edge, its left end at the top.
  EXPECT_EQ(r270.At(2, 0), img.At(0, 0));
  EXPECT_EQ(r270.At(0, 0), img.At(0, 2));
}

}  // namespace
