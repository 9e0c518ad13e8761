// The frame geometry of a skinned window: border sizes, the client rectangle, hit
// testing, caption-button places, visibility, actions and the region's parts.
#include "FormGeometry.h"

#include <gtest/gtest.h>

namespace {

// A 400-pixel-wide window with borders 6, 30, 6, 8 and no menu bar.
TFrameState Window() {
  TFrameState s;
  s.WindowWidth = 400;
  s.LeftWidth = 6;
  s.TopHeight = 30;
  s.RightWidth = 6;
  s.BottomHeight = 8;
  s.TitleLeft = 34;
  s.TitleRight = 314;
  s.FrameFlags = kFrameSystemMenu | kFrameMinimizeBox | kFrameMaximizeBox;
  return s;
}

TEST(FormGeometry, BorderSizeSharesTheImageBetweenItsFrames) {
  const struct {
    int extent, frames, size;
  } cases[] = {{60, 2, 30}, {61, 2, 30}, {12, 1, 12}, {12, 0, 12}, {12, -3, 12}, {-5, 1, 0}};
  for (const auto& c : cases) EXPECT_EQ(SkinBorderSize(c.extent, c.frames), c.size) << c.extent << "/" << c.frames;
}

TEST(FormGeometry, ClientRectangleLiesInsideTheSkinnedFrame) {
  const TSkinRect window{100, 50, 500, 350};
  bool keep = true;
  TFrameState s = Window();
  EXPECT_EQ(SkinClientRect(window, s, keep), (TSkinRect{106, 80, 494, 342}));
  EXPECT_FALSE(keep);

  s.MenuBarHeight = 19;
  EXPECT_EQ(SkinClientRect(window, s, keep), (TSkinRect{106, 99, 494, 342}));

  // Windows whose frame the skin does not draw keep the system's rectangle.
  const struct {
    std::uint8_t kind, state, border;
    bool keeps;
  } cases[] = {{kOrdinaryWindow, kRestored, kNoCaption, true},
               {kMDIChild, kMinimized, kSizableFrame, true},
               {kMDIChild, kRestored, kSizableFrame, false}};
  for (const auto& c : cases) {
    s.Kind = c.kind;
    s.WindowState = c.state;
    s.BorderKind = c.border;
    SkinClientRect(window, s, keep);
    EXPECT_EQ(keep, c.keeps) << int(c.kind) << int(c.state) << int(c.border);
  }
}

TEST(FormGeometry, NarrowDialogMovesItsChildrenByHalfTheMissingWidth) {
  const struct {
    int width, minimum, shift;
  } cases[] = {{300, 200, 0}, {200, 301, 50}, {-1, INT32_MAX, 1 << 30}};
  for (const auto& c : cases) EXPECT_EQ(SkinDialogShift(c.width, c.minimum), c.shift) << c.minimum;
}

TEST(FormGeometry, HitTestTurnsNowhereAndCaptionIntoCaptionOrMenu) {
  const struct {
    int system, y, menuBar, answer;
  } cases[] = {
      {kHitNowhere, 2, 0, kHitNowhere},   // the top 3 pixels keep the system's answer
      {kHitCaption, 3, 0, kHitCaption},   //
      {kHitNowhere, 4, 0, kHitCaption},   // the rest of the frame is caption
      {kHitNowhere, 35, 0, kHitCaption},  // no menu bar: never menu
      {kHitNowhere, 31, 19, kHitMenu},    // below the caption strip: the menu bar
      {kHitCaption, 30, 19, kHitCaption},
      {10, 10, 19, 10},  // the system's other answers pass, wherever they are
      {17, 31, 19, 17},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SkinHitTest(c.system, {50, c.y}, 30, c.menuBar), c.answer) << c.system << " at y " << c.y;
}

TEST(FormGeometry, CaptionButtonsArePlacedByTheirAlignment) {
  TFrameState s = Window();
  s.MenuBarHeight = 20;
  s.MenuBarLeftMargin = 5;
  const struct {
    int align, x, y;
    TSkinRect bounds;
  } cases[] = {
      {0, 8, 6, {8, 6, 24, 20}},
      {1, 40, 6, {360, 6, 376, 20}},  // Xcoord from the right edge, whatever the width
      {2, 4, 6, {294, 6, 310, 20}},   // left of the title's right end
      {8, 4, 6, {294, 6, 310, 20}},
      {3, 4, 6, {38, 6, 54, 20}},  // right of the title's left end
      {9, 4, 6, {38, 6, 54, 20}},
      {100, 42, 0, {347, 33, 363, 47}},  // centred in the menu bar, from its right end
      {7, 10, 10, {0, 0, 16, 14}},       // unknown alignments: the corner
      {1, INT32_MIN, 6, {1 << 30, 6, (1 << 30) + 16, 20}},  // past any window: far off it
  };
  for (const auto& c : cases) EXPECT_EQ(SkinButtonBounds(c.align, c.x, c.y, 16, 14, s), c.bounds) << c.align;
  s.RightToLeft = true;
  EXPECT_EQ(SkinButtonBounds(100, 42, 0, 16, 14, s), (TSkinRect{53, 33, 69, 47}));
}

TEST(FormGeometry, VisibilityFollowsBothTestsAndTheAction) {
  struct Case {
    int visibility, visibility1, action;
    std::uint8_t state, flags, border;
    bool active, isDialog, visible;
  };
  const std::uint8_t all = kFrameSystemMenu | kFrameMinimizeBox | kFrameMaximizeBox;
  const Case cases[] = {
      {0, 0, 40, kRestored, all, kSizableFrame, true, false, true},
      {1, 0, 40, kRestored, all, kSizableFrame, true, false, false},  // maximized only
      {1, 0, 40, kMaximized, all, kSizableFrame, true, false, true},
      {3, 0, 40, kRestored, all, kSizableFrame, false, false, false},  // active only
      {5, 0, 40, kRestored, all, kSizableFrame, true, false, false},
      {6, 0, 40, kRestored, kFrameMaximizeBox, kSizableFrame, true, false, false},  // needs the system menu
      {6, 0, 40, kRestored, all, kSizableFrame, true, false, true},
      {8, 0, 40, kRestored, kFrameSystemMenu | kFrameMinimizeBox, kSizableFrame, true, false, true},
      {50, 0, 40, kRestored, all, kSizableFrame, true, false, false},
      {200, 0, 40, kRestored, all, kDialogFrame, true, true, false},  // a standard dialog: hidden
      {200, 0, 40, kRestored, all, kDialogFrame, true, false, true},  // a form with a dialog frame
      {500, 0, 40, kRestored, all, kSizableFrame, true, false, true},
      {2001, 0, 40, kRestored, all, kSizableFrame, true, false, false},
      {-1, 0, 40, kRestored, all, kSizableFrame, true, false, false},
      {0, -1, 40, kRestored, all, kSizableFrame, true, false, false},  // hidden whatever the first says
      {0, 100, 40, kRestored, all, kSizableFrame, true, false, true},  // repeats the first
      {0, 6, 40, kRestored, kFrameMaximizeBox, kSizableFrame, true, false, true},
      {0, 1500, 40, kRestored, all, kSizableFrame, true, false, true},
      {0, 2001, 40, kRestored, all, kSizableFrame, true, false, false},
      {0, 0, 0, kRestored, kFrameMinimizeBox, kSizableFrame, true, false, false},  // close needs a system menu
      {0, 0, 1, kRestored, kFrameSystemMenu, kSizableFrame, true, false, false},   // maximize needs its box
      {0, 0, 2, kRestored, kFrameSystemMenu, kSizableFrame, true, false, false},   // minimize needs its box
      {0, 0, 3, kRestored, all, kDialogFrame, true, false, false},  // no icon on a dialog frame
      {0, 0, 3, kRestored, all, kFixedFrame, true, false, true},
  };
  for (const Case& c : cases) {
    TFrameState s = Window();
    s.WindowState = c.state;
    s.FrameFlags = c.flags;
    s.BorderKind = c.border;
    s.Active = c.active;
    s.IsDialog = c.isDialog;
    EXPECT_EQ(SkinButtonVisible({c.action, c.visibility, c.visibility1}, s, [] { return false; }), c.visible)
        << "Visibility " << c.visibility << ", Visibility1 " << c.visibility1 << ", action " << c.action;
  }
}

TEST(FormGeometry, HostDecidesVisibilityBetween1000And2000) {
  const TFrameState s = Window();
  int asked = 0;
  auto says = [&asked](bool answer) { return [&asked, answer] { return ++asked, answer; }; };
  EXPECT_TRUE(SkinButtonVisible({40, 1500, 0}, s, says(true)));
  EXPECT_FALSE(SkinButtonVisible({40, 1500, 100}, s, says(false)));
  EXPECT_TRUE(SkinButtonVisible({40, 0, 1500}, s, says(false)));  // only the first test asks
  EXPECT_EQ(asked, 2);
}

TEST(FormGeometry, SecondIconClickWithinTheDoubleClickTimeCloses) {
  const struct {
    std::uint32_t now, last;
    bool icon;
    TSystemMenuClick result;
  } cases[] = {
      {10000, 0, true, TSystemMenuClick::Open},
      {10000, 9600, true, TSystemMenuClick::Close},
      {10000, 9500, true, TSystemMenuClick::Close},
      {10000, 9499, true, TSystemMenuClick::Open},
      // A right click on the caption soon after does not close the window.
      {10000, 9600, false, TSystemMenuClick::Ignore},
      // The tick counter wraps.
      {100, 0xFFFFFF00u, true, TSystemMenuClick::Close},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SkinSystemMenuClick(c.now, c.last, 500, c.icon), c.result) << c.now << " after " << c.last;
}

TEST(FormGeometry, RegionPartsComeFromImagesOrRectangles) {
  const TFrameState s = Window();
  auto parts = SkinRegionParts(400, 300, s, {1, 1, 1, 1});
  EXPECT_EQ(parts[0].Rect, (TSkinRect{0, 0, 6, 300}));
  EXPECT_EQ(parts[1].Rect, (TSkinRect{394, 0, 400, 300}));
  EXPECT_EQ(parts[2].Rect, (TSkinRect{6, 0, 394, 30}));
  EXPECT_EQ(parts[3].Rect, (TSkinRect{6, 292, 394, 300}));
  for (const auto& p : parts) EXPECT_TRUE(p.FromImage);

  parts = SkinRegionParts(400, 300, s, {0, 1, 0, 1});
  EXPECT_FALSE(parts[0].FromImage);
  EXPECT_TRUE(parts[1].FromImage);
  EXPECT_FALSE(parts[2].FromImage);

  // A bottom border one pixel high is a plain rectangle even when transparent.
  TFrameState thin = s;
  thin.BottomHeight = 1;
  EXPECT_FALSE(SkinRegionParts(400, 300, thin, {1, 1, 1, 1})[3].FromImage);

  // A side without width gives no part (nothing to read from an empty image).
  TFrameState noLeft = s;
  noLeft.LeftWidth = 0;
  parts = SkinRegionParts(400, 300, noLeft, {1, 1, 1, 1});
  EXPECT_EQ(parts[0].Rect, TSkinRect{});
  EXPECT_FALSE(parts[0].FromImage);

  // A window narrower than its side borders: no top or bottom part.
  parts = SkinRegionParts(10, 300, s, {1, 1, 1, 1});
  EXPECT_EQ(parts[2].Rect, TSkinRect{});
  EXPECT_EQ(parts[3].Rect, TSkinRect{});
}

TEST(FormGeometry, MenuBarItemsFollowOneAnother) {
  EXPECT_EQ(SkinMenuBarStart(true, 5, 9, false, 400), 9);
  EXPECT_EQ(SkinMenuBarStart(true, 9, 5, true, 400), 13);
  EXPECT_EQ(SkinMenuBarStart(true, 5, 9, false, 8), 12);  // a bar narrower than the offset
  EXPECT_EQ(SkinMenuBarStart(false, 5, 9, false, 400), 6);
  EXPECT_EQ(SkinMenuBarStart(true, 5, INT32_MIN, true, 400), 8);  // a negative margin counts as 0
  EXPECT_EQ(SkinMenuBarStart(true, INT32_MAX, 9, false, 400), 12);
  EXPECT_EQ(SkinMenuItemWidth(24), 34);
  EXPECT_EQ(SkinMenuItemWidth(0), 0);

  const TSkinRect bar{6, 30, 394, 49};
  const std::vector<TMenuBarItem> items = {{34, true}, {0, false}, {20, true}};
  EXPECT_EQ(SkinMenuBarLayout(bar, items, 9, false),
            (std::vector<TSkinRect>{{15, 30, 49, 48}, {}, {49, 30, 69, 48}}));
  EXPECT_EQ(SkinMenuBarLayout(bar, items, 13, true),
            (std::vector<TSkinRect>{{347, 30, 381, 48}, {}, {327, 30, 347, 48}}));  // 13 before the end

  const struct {
    int index, count;
    bool forward;
    int next;
  } moves[] = {{2, 3, true, 0}, {0, 3, false, 2}, {1, 3, true, 2},  {0, 1, true, 0},
               {0, 0, true, -1}, {7, 3, false, 2}, {-5, 3, true, 0}};  // past either end
  for (const auto& m : moves) EXPECT_EQ(SkinNeighbourIndex(m.index, m.count, m.forward), m.next) << m.index;
}

TEST(FormGeometry, OnlyArrowKeysChangePlacesInAMenuReadFromTheRight) {
  const struct {
    bool key, rightToLeft;
    std::uintptr_t in, out;
  } cases[] = {{true, true, 0x25, 0x27},  {true, true, 0x27, 0x25},   {true, false, 0x25, 0x25},
               {true, true, 0x28, 0x28},  {false, true, 0x25, 0x25},  // mouse flags, or '%'
               {false, true, 0x27, 0x27}};
  for (const auto& c : cases)
    EXPECT_EQ(SkinMenuArrowKey(c.key, c.rightToLeft, c.in), c.out) << c.key << c.rightToLeft << c.in;
}

}  // namespace
