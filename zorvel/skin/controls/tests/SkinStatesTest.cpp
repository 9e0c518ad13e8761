// Frames per state, tab placement, media player bars and foreign glyph strips.
#include "SkinStates.h"

#include <gtest/gtest.h>

#include "forms/MPlayerTypes.h"

namespace {

TEST(SkinStates, CheckBoxFrameOfEachStateAndStrip) {
  // clang-format off
  const struct {
    TCheckState state;
    bool enabled;
    int four, twelve, two;
  } cases[] = {
      {csUnchecked, true, 1, 1, 1},  {csUnchecked, false, 3, 4, 2},
      {csChecked, true, 2, 5, 2},    {csChecked, false, 4, 8, 2},
      {csGrayed, true, 4, 9, 2},     {csGrayed, false, 4, 12, 2},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(CheckBoxFrame(c.state, c.enabled, 4), c.four) << c.state << c.enabled;
    EXPECT_EQ(CheckBoxFrame(c.state, c.enabled, 5), c.four) << c.state << c.enabled;
    EXPECT_EQ(CheckBoxFrame(c.state, c.enabled, 12), c.twelve) << c.state << c.enabled;
    EXPECT_EQ(CheckBoxFrame(c.state, c.enabled, 2), c.two) << "never past the strip";
  }
}

TEST(SkinStates, RadioButtonFrameOfEachStateAndStrip) {
  const struct {
    bool checked, enabled;
    int four, eight;
  } cases[] = {{false, true, 1, 1}, {false, false, 3, 4}, {true, true, 2, 5}, {true, false, 4, 8}};
  for (const auto& c : cases) {
    EXPECT_EQ(RadioButtonFrame(c.checked, c.enabled, 4), c.four);
    EXPECT_EQ(RadioButtonFrame(c.checked, c.enabled, 12), c.four);
    EXPECT_EQ(RadioButtonFrame(c.checked, c.enabled, 8), c.eight);
    EXPECT_LE(RadioButtonFrame(c.checked, c.enabled, 3), 3);
  }
}

TEST(SkinStates, CheckBoxStateFromTheButtonAndTheControlsProperties) {
  // clang-format off
  const struct {
    const char* what;
    TCheckBoxFacts facts;
    TCheckState state;
  } cases[] = {
      {"plain window, checked", {.Checked = true}, csChecked},
      {"plain window: properties need a framework control",
       {.HasState = true, .StateName = "cbChecked"}, csUnchecked},
      {"State unchecked wins over the button",
       {.Checked = true, .Framework = true, .HasState = true, .StateName = "cbUnchecked"},
       csUnchecked},
      {"State checked", {.Framework = true, .HasState = true, .StateName = "cbChecked"}, csChecked},
      {"State grayed", {.Framework = true, .HasState = true, .StateName = "cbGrayed"}, csGrayed},
      {"Checked False of a box without State",
       {.Checked = true, .Framework = true, .HasChecked = true, .CheckedName = "False"},
       csUnchecked},
      {"Checked True", {.Framework = true, .HasChecked = true, .CheckedName = "TRUE"}, csChecked},
      {"data-aware after BM_SETCHECK 2",
       {.Framework = true, .DataAware = true, .Cache = 3}, csGrayed},
      {"data-aware, no BM_SETCHECK yet",
       {.Checked = true, .Framework = true, .DataAware = true, .Cache = 0}, csChecked},
      {"DataBinding: never checked",
       {.Framework = true, .HasState = true, .StateName = "cbChecked", .DataBinding = true},
       csUnchecked},
      {"the button's indeterminate wins",
       {.Indeterminate = true, .Framework = true, .DataBinding = true}, csGrayed},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(CheckBoxState(c.facts), c.state) << c.what;
}

TEST(SkinStates, CheckBoxBoxAndCaptionPlaces) {
  const TSkinRect R{0, 0, 100, 20};
  const struct {
    bool leftText, radio;
    TSkinRect box, text;
  } cases[] = {
      {false, false, {0, 3, 13, 16}, {15, 0, 100, 20}},
      {false, true, {0, 3, 13, 16}, {15, 0, 100, 20}},
      {true, false, {87, 3, 100, 16}, {0, 0, 85, 20}},  // flush right
      {true, true, {86, 3, 99, 16}, {0, 0, 84, 20}},    // one pixel in
  };
  for (const auto& c : cases) {
    const TCheckLayout at = CheckBoxLayout(R, 13, 13, c.leftText, c.radio);
    EXPECT_EQ(at.Box, c.box) << c.radio << c.leftText;
    EXPECT_EQ(at.Text, c.text) << c.radio << c.leftText;
  }
}

TEST(SkinStates, TabPositionFromTheStyle) {
  const struct {
    unsigned style;
    int position;
  } cases[] = {{0, 0}, {2, 1}, {0x80, 2}, {0x82, 3}, {0x200 | 0x80, 2}};
  for (const auto& c : cases) EXPECT_EQ(TabPositionOfStyle(c.style), c.position) << c.style;
}

// Where a rectangle lands when a w x h picture is turned a quarter anticlockwise (or not).
TSkinRect Turned(const TSkinRect& r, int w, int h, bool clockwise) {
  if (clockwise) return {h - r.Bottom, r.Left, h - r.Top, r.Right};
  return {r.Top, w - r.Right, r.Bottom, w - r.Left};
}

TEST(SkinStates, TabsInTheFourPositionsLandOnTheirTabsOnceTurned) {
  const TSkinRect R{0, 0, 200, 150};
  // clang-format off
  const struct {
    int position;
    TSkinRect display, tab, pane, strip;
    TSkinPoint work;
    TSkinRect landed;  // where the tab's picture ends in the control
  } cases[] = {
      {0, {4, 24, 196, 146}, {2, 2, 60, 22}, {0, 21, 200, 150},
       {0, 0, 200, 21}, {200, 21}, {2, 3, 60, 23}},
      {1, {4, 4, 196, 126}, {2, 128, 60, 148}, {0, 0, 200, 129},
       {0, 129, 200, 150}, {200, 21}, {2, 127, 60, 147}},
      {2, {24, 4, 196, 146}, {2, 2, 22, 50}, {21, 0, 200, 150},
       {0, 0, 21, 150}, {150, 21}, {2, 2, 22, 50}},
      {3, {4, 4, 176, 146}, {178, 2, 198, 50}, {0, 0, 179, 150},
       {179, 0, 200, 150}, {150, 21}, {178, 1, 198, 49}},
  };
  // clang-format on
  for (const auto& c : cases) {
    const TSkinRect pane = TabPaneRect(c.position, c.display);
    EXPECT_EQ(pane, c.pane) << c.position;
    const TSkinRect strip = TabStripRect(c.position, R, pane);
    EXPECT_EQ(strip, c.strip) << c.position;
    const TSkinPoint work = TabWorkSize(c.position, strip);
    EXPECT_EQ(work, c.work) << c.position;
    TSkinRect at = TabInWork(c.position, c.tab, R, pane, work.X);
    if (c.position >= 2) at = Turned(at, work.X, work.Y, c.position == 3);
    at = {at.Left + strip.Left, at.Top + strip.Top, at.Right + strip.Left, at.Bottom + strip.Top};
    EXPECT_EQ(at, c.landed) << c.position;
  }
}

TEST(SkinStates, TabSetSkipsTabsThatDoNotFitAndTriesTheNext) {
  const struct {
    const char* what;
    std::vector<int> widths;
    int first, limit;
    bool scroller;
    std::vector<int> at;
  } cases[] = {
      {"all fit", {40, 20}, 0, 100, false, {5, 45}},
      {"Alpha does not fit, B does at the start", {120, 20}, 0, 100, false, {-1, 5}},
      {"the arrows take 12", {40, 50}, 0, 100, true, {5, -1}},
      {"from the first shown", {40, 20, 30}, 1, 100, false, {-1, 5, 25}},
      {"exactly at the limit", {95}, 0, 100, false, {5}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TabSetLayout(c.widths, c.first, 5, c.limit, c.scroller), c.at) << c.what;
}

TEST(SkinStates, SpeedButtonFrameGlyphAndMargin) {
  // clang-format off
  const struct {
    bool pressed, hot, enabled, down;
    int frame, glyph;
  } cases[] = {
      {false, false, true, false, 1, 1}, {false, true, true, false, 4, 1},
      {true, true, true, false, 2, 3},   {false, false, false, false, 3, 2},
      {true, true, false, false, 3, 2},  {false, false, true, true, 2, 4},
      {false, true, true, true, 2, 4},   {false, false, false, true, 2, 4},
  };
  // clang-format on
  for (const auto& c : cases) {
    const int frame = SpeedButtonFrame(c.pressed, c.hot, c.enabled, c.down);
    EXPECT_EQ(frame, c.frame) << c.pressed << c.hot << c.enabled << c.down;
    EXPECT_EQ(SpeedButtonGlyph(frame, c.down), c.glyph);
  }
  const TSkinPoint C{100, 30}, G{16, 16}, T{40, 12};
  EXPECT_EQ(SpeedButtonMargin(C, G, T, 0, 7, 4), 7);                    // given
  EXPECT_EQ(SpeedButtonMargin(C, G, T, 0, -1, 4), (100 - 60) / 2 + 1);  // one past the middle
  EXPECT_EQ(SpeedButtonMargin(C, G, T, 2, -1, 4), (30 - 32) / 2 + 1);   // along the height
  EXPECT_EQ(SpeedButtonMargin(C, G, T, 0, -1, -1), -1);                 // the bit button's own
  EXPECT_EQ(SpeedButtonMargin(C, G, {0, 0}, 0, -1, -1), (100 - 16) / 2 + 1);  // no caption
}

TEST(SkinStates, MediaPlayerButtonsFromTheirSets) {
  EXPECT_EQ(MPButtonsNamedIn("[btPlay,btStop,btEject]"),
            (1u << btPlay) | (1u << btStop) | (1u << btEject));
  EXPECT_EQ(MPButtonsNamedIn("[]"), 0u);
  EXPECT_EQ(MPButtonsNamedIn(""), 0u);

  const unsigned three = (1u << btPlay) | (1u << btStop) | (1u << btBack);
  const std::vector<TMPButtonPlace> places = MPButtonPlaces(three, 100, 30);
  ASSERT_EQ(places.size(), 3u);
  const int kinds[] = {btPlay, btStop, btBack};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(places[std::size_t(i)].Kind, kinds[i]);
    EXPECT_EQ(places[std::size_t(i)].Rect, (TSkinRect{33 * i, 0, 33 * i + 33, 30}));
  }
  EXPECT_TRUE(MPButtonPlaces(0, 100, 30).empty());
  EXPECT_EQ(MPButtonPlaces((1u << kMPButtonCount) - 1, 253, 30).back().Rect.Right, 252);

  const struct {
    int x, hit;
  } hits[] = {{0, btPlay},  {33, btPlay}, {34, btStop},          {66, btStop},
              {67, btBack}, {99, btBack}, {100, kMPButtonCount}, {-1, kMPButtonCount}};
  for (const auto& h : hits) EXPECT_EQ(MPHitButton(three, 33, h.x), h.hit) << h.x;
}

TEST(SkinStates, ForeignGlyphSlots) {
  const struct {
    int kind, n;
    std::vector<int> slots;
  } cases[] = {
      {1, 4, {1, 2, 0, 1, 2, 0, 3, 4, 0}},
      {1, 5, {1, 2, 5, 1, 2, 5, 3, 4, 5}},
      {2, 4, {1, 2, 1, 2, 3, 4}},
      {3, 4, {1, 2, 0, 1, 2, 0}},
      {3, 5, {1, 2, 5, 1, 2, 5}},
      {1, 2, {1, 2, 0, 1, 2, 0, 0, 0, 0}},  // a skin claiming two frames: none read past them
      {0, 4, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(GlyphSlots(c.kind, c.n), c.slots) << c.kind << " " << c.n;
}

}  // namespace
