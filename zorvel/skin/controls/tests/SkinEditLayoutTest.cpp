// The combo box's frames and rectangles and the date-time picker's arrow button.
#include "SkinEditLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinEditLayout, ComboFramesByState) {
  const struct {
    TComboState s;
    int frame, flat;
  } cases[] = {
      {{false, false, false, true}, 1, 1},  {{false, true, false, true}, 4, 4},
      {{false, false, true, true}, 4, 4},   {{true, true, true, true}, 2, 2},
      {{false, false, false, false}, 3, 3}, {{false, true, false, false}, 3, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComboFrame(c.s), c.frame) << c.s.Pressed << c.s.Hot << c.s.Focused << c.s.Enabled;
    EXPECT_EQ(FlatComboFrame(c.s), c.flat) << c.s.Pressed << c.s.Hot << c.s.Focused << c.s.Enabled;
  }
  // Frame 1 of four, mirrored, is the fourth from the left.
  EXPECT_EQ(MirroredFrame(1, 4), 4);
}

TEST(SkinEditLayout, ComboRectangles) {
  const TSkinRect R{0, 0, 120, 22};
  const TComboLayout right = ComboLayout(R, 16, false);
  EXPECT_EQ(right.TextArea, (TSkinRect{2, 2, 100, 20}));
  EXPECT_EQ(right.Button, (TSkinRect{102, 0, 120, 22}));
  EXPECT_EQ(right.GlyphArea, (TSkinRect{102, 0, 118, 22}));
  const TComboLayout left = ComboLayout(R, 16, true);
  EXPECT_EQ(left.TextArea, (TSkinRect{20, 2, 118, 20}));
  EXPECT_EQ(left.Button, (TSkinRect{0, 0, 18, 22}));
  EXPECT_EQ(left.GlyphArea, (TSkinRect{2, 0, 18, 22}));

  const TFlatComboLayout flat = FlatComboLayout(R, 15, 12, 16, false);
  EXPECT_EQ(flat.Strip, (TSkinRect{102, 2, 118, 20}));
  EXPECT_EQ(flat.Button, (TSkinRect{103, 2, 118, 14}));  // lower than the strip is wide
  EXPECT_EQ(FlatComboLayout(R, 15, 20, 16, true).Button, (TSkinRect{2, 2, 17, 20}));
}

TEST(SkinEditLayout, ArrowButtonOverThePickersOwn) {
  EXPECT_EQ(ArrowButtonBounds(186, 16, false), (TSkinRect{166, 0, 182, 17}));
  EXPECT_EQ(ArrowButtonBounds(186, 16, true), (TSkinRect{2, 0, 18, 17}));
}

}  // namespace
