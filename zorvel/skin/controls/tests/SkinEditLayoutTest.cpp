// The frame of the combo box's button in each state (its rectangles are sampled under Wine).
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

}  // namespace
