// Where captions, glyphs, images and focus rectangles go; the frame of each state.
#include "SkinLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinLayout, ButtonFramesByState) {
  // clang-format off
  const struct {
    TButtonState state;
    int push, menu;
  } cases[] = {
      {{false, false, false, true}, 1, 1}, {{true, false, false, true}, 5, 4},
      {{false, false, true, true}, 4, 4}, {{true, false, true, true}, 4, 4},  // hot over focused
      {{false, true, true, true}, 2, 2}, {{true, true, false, true}, 2, 2},   // pressed over both
      {{true, true, true, false}, 3, 3}, {{false, false, false, false}, 3, 3},  // disabled wins
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(PushButtonFrame(c.state), c.push)
        << c.state.Focused << c.state.Pressed << c.state.Hot;
    EXPECT_EQ(MenuButtonFrame(c.state), c.menu)
        << c.state.Focused << c.state.Pressed << c.state.Hot;
  }
}

TEST(SkinLayout, GlyphAndTextOfABitButton) {
  // clang-format off
  const struct {
    const char* what;
    TSkinPoint C, G, T;
    int layout, margin, spacing;
    bool centred;
    TSkinPoint glyph, text;
    unsigned flags;
  } cases[] = {
      {"left, free: thirds", {75, 25}, {16, 16}, {30, 13}, 0, -1, -1, false, {9, 5}, {34, 6},
       kDtWordBreak},
      {"right, margin given", {75, 25}, {16, 16}, {30, 13}, 1, 4, -1, false, {55, 5}, {13, 6},
       kDtWordBreak | kDtRight},
      {"top, spacing given", {75, 60}, {16, 16}, {30, 13}, 2, -1, 2, false, {30, 14}, {23, 32},
       kDtWordBreak | kDtCenter},
      {"bottom, centred: margin ignored", {75, 60}, {16, 16}, {30, 13}, 3, 3, -1, true, {30, 34},
       {23, 11}, kDtWordBreak | kDtCenter},
      {"no caption: no spacing", {75, 25}, {16, 16}, {0, 0}, 0, -1, -1, false, {29, 5}, {45, 13},
       kDtWordBreak},
      {"too small: toward zero", {20, 10}, {16, 16}, {30, 13}, 0, -1, -1, false, {-8, -2}, {0, -1},
       kDtWordBreak},
  };
  // clang-format on
  for (const auto& c : cases) {
    const TGlyphLayout r =
        LayoutGlyphAndText(c.C, c.G, c.T, c.layout, c.margin, c.spacing, c.centred);
    EXPECT_EQ(r.Glyph, c.glyph) << c.what;
    EXPECT_EQ(r.Text, c.text) << c.what;
    EXPECT_EQ(r.TextFlags, c.flags) << c.what;
  }
}

TEST(SkinLayout, ImageAndTextInARow) {
  const TSkinRect R{10, 0, 110, 20};
  // clang-format off
  const struct {
    const char* what;
    bool image;
    int cx, w, alignment;
    TSkinPoint imageAt, textAt;
  } cases[] = {
      {"left", true, 16, 30, 0, {13, 2}, {29, 3}},
      {"centre", true, 16, 30, 1, {37, 2}, {53, 3}},
      {"right", true, 16, 30, 2, {62, 2}, {78, 3}},
      {"no image", false, 16, 30, 0, {13, 2}, {13, 3}},
      {"image wider than the row takes no room", true, 200, 30, 0, {13, 2}, {13, 3}},
      {"no room left: one pixel in", true, 16, 90, 2, {11, 2}, {27, 3}},
  };
  // clang-format on
  for (const auto& c : cases) {
    const TImageTextLayout r = LayoutImageAndText(R, c.image, c.cx, 16, c.w, 13, c.alignment);
    EXPECT_EQ(r.Image, c.imageAt) << c.what;
    EXPECT_EQ(r.Text, c.textAt) << c.what;
  }
}

TEST(SkinLayout, CaptionsAndFocusRectangles) {
  const TSkinRect R{4, 2, 104, 32};
  EXPECT_EQ(PlaceCaption(R, {4, 2}, 40, 13, true), (TSkinRect{34, 9, 74, 22}));
  EXPECT_EQ(PlaceCaption(R, {0, 0}, 40, 13, true), (TSkinRect{30, 7, 70, 20}));
  EXPECT_EQ(PlaceCaption(R, {4, 2}, 40, 13, false), (TSkinRect{4, 9, 104, 22}));  // the whole width
  EXPECT_EQ(CaptionFocusRect(R, 40, 13, kDtCenter), (TSkinRect{32, 8, 76, 23}));
  EXPECT_EQ(CaptionFocusRect(R, 40, 13, kDtRight), (TSkinRect{62, 2, 104, 16}));  // cut at R
  EXPECT_EQ(CaptionFocusRect(R, 40, 13, 0), (TSkinRect{4, 2, 46, 16}));
}

TEST(SkinLayout, OnlyTheFirstDoubleBarBreaksTheLine) {
  EXPECT_EQ(ReplaceFirstWide(L"a||b||c", L"||", L"\r\n"), L"a\r\nb||c");
  EXPECT_EQ(ReplaceFirstWide(L"abc", L"||", L"\r\n"), L"abc");
  EXPECT_EQ(ReplaceFirstWide(L"||", L"||", L"\r\n"), L"\r\n");
  EXPECT_EQ(ReplaceFirstWide(L"abc", L"", L"x"), L"abc");
}

}  // namespace
