// Tab controls in four positions with pane, arrows and clicks; tab sets; tab buttons.
#include <algorithm>

#include "CheckTabSkin.h"

#include <commctrl.h>

#include "forms/TabControls.h"
#include "forms/Tabs.h"

namespace ctlskin {
namespace {

RECT TabRect(TTabControl& tabs, int i) {
  RECT r{};
  SendMessageA(tabs.Handle(), TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
  return r;
}

// The pane: the display area grown by 4, one pixel less on the tabs' side.
RECT PaneRect(TTabControl& tabs) {
  RECT r;
  GetClientRect(tabs.Handle(), &r);
  SendMessageA(tabs.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  InflateRect(&r, 4, 4);
  r.top += tabs.TabPosition == tpTop;
  r.bottom -= tabs.TabPosition == tpBottom;
  r.left += tabs.TabPosition == tpLeft;
  r.right -= tabs.TabPosition == tpRight;
  return r;
}

class SkinTabsTest : public TabArrowsTest {
 protected:
  TTabControl& Tabs(TTabPosition position, RECT bounds = {10, 10, 250, 160},
                    std::vector<std::string> captions = {"Alpha", "Beta", "Gamma"}) {
    return Add<TTabControl>(Host(), bounds, {}, [&](TTabControl& t) {
      t.TabPosition = position;
      t.SetTabs(captions);
    });
  }
};

TEST_F(SkinTabsTest, TabsInEachPositionCurrentTabAndTurnedPictures) {
  const struct {
    TTabPosition position;
    int dy;                      // the tab's picture lies this far below its rectangle
    bool markBottom, markRight;  // where the picture's top-left mark ends up
  } cases[] = {{tpTop, 1, false, false},
               {tpBottom, -1, true, false},
               {tpLeft, 0, true, false},
               {tpRight, -1, false, true}};
  for (const auto& c : cases) {
    TTabControl& tabs = Tabs(c.position);
    tabs.SetTabIndex(1);
    Skin<TSkinTab>(tabs);
    auto pic = Paint(tabs.Handle());
    for (int i = 0; i < 3; ++i) {
      RECT r = TabRect(tabs, i);
      OffsetRect(&r, 0, c.dy);
      const RECT inner{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      const bool current = i == 1;
      EXPECT_GT(Count(*pic, kTab[current ? 1 : 0], inner), 20) << c.position << " tab " << i;
      EXPECT_EQ(Count(*pic, current ? kTabText : kCurrentTabText, r, kInk), 0) << c.position;
      const ControlTest::TInk ink = Find(*pic, current ? kCurrentTabText : kTabText, r, kInk);
      EXPECT_GT(ink.Count, 5) << c.position << " tab " << i;
      // Text at the side reads along the tab: its ink is taller than wide.
      const bool upright = c.position == tpTop || c.position == tpBottom;
      EXPECT_EQ(ink.Box.right - ink.Box.left > ink.Box.bottom - ink.Box.top, upright) << c.position;
      const int x = c.markRight ? r.right - 2 : r.left + 1,
                y = c.markBottom ? r.bottom - 2 : r.top + 1;
      EXPECT_EQ(pic->At(x, y), kTabMark) << c.position << " tab " << i;
      const int otherY = c.markBottom ? r.top + 1 : r.bottom - 2;
      EXPECT_NE(pic->At(x, otherY), kTabMark) << c.position << " tab " << i;
    }
    const RECT pane = PaneRect(tabs);
    const int midX = (pane.left + pane.right) / 2, midY = (pane.top + pane.bottom) / 2;
    const POINT edge = c.position == tpTop      ? POINT{midX, pane.top + 1}
                       : c.position == tpBottom ? POINT{midX, pane.bottom - 2}
                       : c.position == tpLeft   ? POINT{pane.left + 1, midY}
                                                : POINT{pane.right - 2, midY};
    // The pane picture is turned too: its top edge lies next to the tabs.
    EXPECT_EQ(pic->At(edge.x, edge.y), kPaneTop) << c.position;
    EXPECT_EQ(pic->At(midX, midY), kPaneCentre) << c.position;
    delete &tabs;
  }
}

TEST_F(SkinTabsTest, PaneMarginsAndTheTabPaneOfStyleOne) {
  TTabControl& tabs = Tabs(tpTop);
  auto& skinner = Skin<TSkinTab>(tabs);
  const RECT p = PaneRect(tabs);
  const int midX = (p.left + p.right) / 2, midY = (p.top + p.bottom) / 2;
  auto pic = Paint(tabs.Handle());
  // Edges of 4, 5, 4 and 4 pixels.
  EXPECT_EQ(pic->At(p.left + 3, midY), kPaneLeft);
  EXPECT_EQ(pic->At(p.left + 4, midY), kPaneCentre);
  EXPECT_EQ(pic->At(midX, p.top + 4), kPaneTop);
  EXPECT_EQ(pic->At(midX, p.top + 5), kPaneCentre);
  EXPECT_EQ(pic->At(p.right - 4, midY), kPaneRight);
  EXPECT_EQ(pic->At(p.right - 5, midY), kPaneCentre);
  EXPECT_EQ(pic->At(midX, p.bottom - 4), kPaneBottom);
  EXPECT_EQ(pic->At(midX, p.bottom - 5), kPaneCentre);

  LoadCheckTabSkin({}, {{"Tabs", {{"Style", "1"}}}});
  skinner.SkinChanged();
  pic = Paint(tabs.Handle());
  EXPECT_EQ(pic->At(p.left, midY), kTabPane);
  EXPECT_EQ(pic->At(midX, midY), kTabPane);
}

TEST_F(SkinTabsTest, ASkinWithoutTabsLeavesNoPicturesAndTheNextOneIsTurnedOnce) {
  TTabControl& left = Tabs(tpLeft);
  TTabControl& bottom = Tabs(tpBottom);
  auto& leftSkinner = Skin<TSkinTab>(left);
  auto& bottomSkinner = Skin<TSkinTab>(bottom);
  // How many pixels of the pane picture (and of the tab pictures) show.
  const auto skinColours = [&](TTabControl& t, bool tabsToo) {
    auto pic = Paint(t.Handle());
    int n = tabsToo ? Count(*pic, kTab[0]) + Count(*pic, kTab[1]) : 0;
    for (TSkinColour c : {kPaneLeft, kPaneTop, kPaneRight, kPaneBottom, kPaneCentre})
      n += Count(*pic, c);
    return n;
  };
  const auto changed = [&] {
    leftSkinner.SkinChanged();
    bottomSkinner.SkinChanged();
  };
  // Tabs without a pane picture, then no Tabs at all: nothing of the pictures before.
  LoadCheckTabSkin({}, {{"Tabs", {{"Border", ""}}}});
  changed();
  EXPECT_EQ(skinColours(left, false), 0);
  EXPECT_EQ(skinColours(bottom, false), 0);
  EXPECT_GT(skinColours(left, true), 0);
  LoadCheckTabSkin({.Tabs = false});
  changed();
  EXPECT_EQ(skinColours(left, true), 0);
  EXPECT_EQ(skinColours(bottom, true), 0);
  // Taken twice, the next skin's pictures are still turned only once.
  LoadCheckTabSkin();
  changed();
  changed();
  const RECT p = PaneRect(left), q = PaneRect(bottom);
  EXPECT_EQ(Paint(left.Handle())->At(p.left + 1, (p.top + p.bottom) / 2), kPaneTop);
  EXPECT_EQ(Paint(bottom.Handle())->At((q.left + q.right) / 2, q.bottom - 2), kPaneTop);
  RECT r = TabRect(bottom, 0);
  EXPECT_EQ(Paint(bottom.Handle())->At(r.left + 1, r.bottom - 3), kTabMark);  // upside down
}

TEST_F(SkinTabsTest, ScrollArrowsStaySkinnedAndVisible) {
  NewTabUpDownSkinner = CountArrows;
  arrowSkinners = 0;
  TTabControl& tabs = Tabs(tpTop, {10, 10, 130, 110},
                           {"First tab", "Second tab", "Third tab", "Fourth tab", "Fifth tab"});
  Skin<TSkinTab>(tabs);
  HWND arrows = FindWindowExA(tabs.Handle(), nullptr, UPDOWN_CLASSA, nullptr);
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(SendMessageA(arrows, WM_SKINQUERY, 0, 0), 1);
  RECT a;
  GetWindowRect(arrows, &a);
  MapWindowPoints(nullptr, tabs.Handle(), reinterpret_cast<POINT*>(&a), 2);
  for (int i = 0; i < 3; ++i) {
    auto pic = Paint(tabs.Handle());
    EXPECT_EQ(Count(*pic, kBackground, a), (a.right - a.left) * (a.bottom - a.top));  // left alone
    EXPECT_GT(Count(*pic, kTab[1]), 100);
  }
  // Their skin switched off by the application, they keep that one skinner.
  SendMessageA(arrows, WM_SKINENABLE, 0, 0);
  Paint(tabs.Handle());
  EXPECT_EQ(arrowSkinners, 1);
  // The arrows' skinner gone (as the form skinner frees it with its window): a new one.
  delete lastArrows;
  EXPECT_EQ(SendMessageA(arrows, WM_SKINQUERY, 0, 0), 0);
  Paint(tabs.Handle());
  EXPECT_EQ(arrowSkinners, 2);
  EXPECT_EQ(SendMessageA(arrows, WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinTabsTest, ClickingATabReachesTheControlOnce) {
  TTabControl& tabs = Tabs(tpTop);
  int changes = 0;
  tabs.OnChange = [&](TObject*) { ++changes; };
  Skin<TSkinTab>(tabs);
  const RECT r = TabRect(tabs, 2);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(tabs.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(tabs.Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(tabs.TabIndex(), 2);
  EXPECT_EQ(Paint(tabs.Handle())->At(r.right - 4, r.top + 4), kTab[1]);
}

TEST_F(SkinTabsTest, WindowlessChildrenOverThePaneInModeTwo) {
  TTabControl& tabs = Tabs(tpTop);
  const RECT p = PaneRect(tabs);
  Add<TMarkControl>(tabs, {p.left + 20, p.top + 20, p.left + 40, p.top + 40});
  auto& skinner = Skin<TSkinTab>(tabs);
  EXPECT_EQ(Count(*Paint(tabs.Handle()), kMarkColour), 0);
  skinner.FMode = 2;
  EXPECT_EQ(Count(*Paint(tabs.Handle()), kMarkColour), 400);
}

TEST_F(SkinTabsTest, TabSetDrawsWhatFitsAndTakesClicks) {
  TTabSet& set = Add<TTabSet>(Host(), {10, 10, 210, 30});
  set.SetTabs({"Alpha", "B"});
  HDC dc = GetDC(set.Handle());
  SelectObject(dc, set.Font()->Handle());
  SIZE alpha, b;
  GetTextExtentPoint32A(dc, "Alpha", 5, &alpha);
  GetTextExtentPoint32A(dc, "B", 1, &b);
  ReleaseDC(set.Handle(), dc);
  ASSERT_GT(alpha.cx, b.cx + 12);
  auto& skinner = Skin<TSkinTab31>(set);
  // Both fit: drawn one after the other, the current one in frame 2, upside down.
  auto pic = Paint(set.Handle());
  const int bAt = 5 + alpha.cx + 9;
  EXPECT_EQ(pic->At(bAt - 2, 1), kTab[1]);
  EXPECT_EQ(pic->At(bAt + 2, 1), kTab[0]);
  EXPECT_EQ(pic->At(6, 18), kTabMark);
  EXPECT_GT(Count(*pic, kCurrentTabText, {5, 0, bAt, 20}, kInk), 0);
  EXPECT_GT(Count(*pic, kTabText, {bAt, 0, 200, 20}, kInk), 0);

  int changes = 0;
  set.OnChange = [&](TObject*) { ++changes; };
  SendMessageA(set.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bAt + 3, 10));
  SendMessageA(set.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(bAt + 3, 10));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(set.TabIndex(), 1);
  EXPECT_EQ(Paint(set.Handle())->At(bAt + 2, 1), kTab[1]);

  // Room for B alone (and the arrows): Alpha is left out, B starts at the margin.
  set.EndMargin = 200 - (5 + b.cx + 9 + 12);
  set.SetTabIndex(0);
  set.SetFirstIndex(0);
  ASSERT_TRUE(set.Scroller()->Visible());
  skinner.SkinChanged();
  pic = Paint(set.Handle());
  EXPECT_EQ(pic->At(7, 1), kTab[0]);
  EXPECT_EQ(Count(*pic, kTab[1]), 0);
}

TEST_F(SkinTabsTest, TabButtonsKeepTheTextColourTheSkinLastGave) {
  LoadCheckTabSkin({}, {{"Buttons", {{"NormalColour2", ""}}}});
  TTabControl& tabs = Add<TTabControl>(Host(), {10, 10, 250, 160}, {}, [](TTabControl& t) {
    t.Style = tsButtons;
    t.SetTabs({"Alpha", "Beta", "Gamma"});
  });
  tabs.SetTabIndex(1);
  Skin<TSkinTabBtn>(tabs);
  auto pic = Paint(tabs.Handle());
  const struct {
    int frame;
    TSkinColour text;
  } expected[] = {{1, 0x000000}, {2, kPressedText}, {1, kPressedText}};
  for (int i = 0; i < 3; ++i) {
    RECT r = TabRect(tabs, i);
    OffsetRect(&r, 0, 1);
    EXPECT_EQ(pic->At(r.right - 4, r.top + 4), kButton[expected[i].frame - 1]) << i;
    EXPECT_GT(Count(*pic, expected[i].text, r, kInk), 5) << i;
  }
}

}  // namespace
}  // namespace ctlskin
