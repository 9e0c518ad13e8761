// Overlay scroll bars on real windows, sampled from the screen.
#include "ScrollSkin.h"
#include "SkinProps.h"

#include "forms/ComCtrls.h"
#include "forms/ScrollCtrls.h"
#include "testkit/TestKit.h"

namespace ctlskin {
namespace {

// A grid-like control: bars of its own and a colour for its fixed cells.
struct TTestGrid : TWinControl {
  explicit TTestGrid(TComponent* owner) : TWinControl(owner) {
    static const bool registered = [] {
      TPublisher<TTestGrid>(RegisterClassType<TTestGrid>("TTestGrid", "TWinControl"))
          .Int(
              "FixedColor", [](TTestGrid* g) { return g->FixedColor; },
              [](TTestGrid* g, long long v) { g->FixedColor = TColor(v); });
      return true;
    }();
    (void)registered;
  }
  TColor FixedColor = 0x00123456;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.Style |= WS_HSCROLL | WS_VSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
  }
};

// A class of another library that never gets the border painted.
struct TImageScrollBox : TTestGrid {
  using TTestGrid::TTestGrid;
};

// The overlays among the window's children (they lie beside the control they cover).
int Overlays(HWND parent) {
  int n = 0;
  for (HWND w = nullptr; (w = FindWindowExA(parent, w, "TWScrollbar", nullptr)) != nullptr;) ++n;
  return n;
}

// Where the thumb (anything but the track) starts along a picture of a bar.
int ThumbStart(const testkit::MemoryDC& pic, bool vertical) {
  const int length = vertical ? pic.Height() : pic.Width();
  for (int a = kArrow; a < length - kArrow; ++a)
    if ((vertical ? pic.At(8, a) : pic.At(a, 8)) != TrackColour(1)) return a;
  return -1;
}

class ScrollBarsTest : public ScrollTest {
 protected:
  TListView& List(RECT bounds, int items,
                  std::vector<TListColumn> columns = {{"Name", 100}, {"State", 80}}) {
    TListView& list =
        Add<TListView>(Host(), bounds, "", [&](TListView& l) { l.SetColumns(columns); });
    list.SetItemCount(items);
    return list;
  }
};

TEST_F(ScrollBarsTest, OverlaysFollowTheListsBarsAsItScrollsResizesAndHides) {
  TListView& list = List({10, 10, 290, 190}, 100);
  auto& s = SkinScroll<TSkinListView>(list);
  HWND lv = list.Handle(), vbar = s.FVertBar->Handle();
  EXPECT_TRUE(IsWindowVisible(vbar));
  EXPECT_FALSE(IsWindowVisible(s.FHorzBar->Handle()));
  EXPECT_EQ(WindowInParent(vbar), BarInParent(lv, OBJID_VSCROLL));
  EXPECT_EQ(GetWindow(lv, GW_HWNDPREV), vbar);  // directly above the list

  auto pic = Capture(vbar);
  EXPECT_EQ(pic->At(8, 8), StripColour(9));
  EXPECT_EQ(ThumbStart(*pic, true), kArrow);
  SendMessageA(lv, LVM_ENSUREVISIBLE, 99, FALSE);
  EXPECT_GT(ThumbStart(*Capture(vbar), true), pic->Height() / 2);

  list.SetBounds(10, 10, 200, 120);
  Pump();
  EXPECT_EQ(WindowInParent(vbar), BarInParent(lv, OBJID_VSCROLL));
  EXPECT_EQ(Capture(vbar)->At(8, 120 - 8), StripColour(13));

  list.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(vbar));
  list.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(vbar));
  EXPECT_EQ(WindowInParent(vbar), BarInParent(lv, OBJID_VSCROLL));

  // Disabled: the disabled track, no thumb, the arrows as they were; the rows, the
  // selected one too, and the header's texts grey on the face colour.
  list.OnData = [](TObject*, TListItem* item) { item->Caption = "Row"; };
  list.SetItemIndex(int(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0)));
  list.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(vbar));
  pic = Paint(vbar);
  EXPECT_EQ(pic->At(8, 8), StripColour(9));
  EXPECT_EQ(pic->At(8, kArrow + 2), TrackColour(3));
  EXPECT_EQ(Count(*pic, ThumbColour(1)) + Count(*pic, StripColour(20)), 0);
  HWND header = HeaderOf(list);
  const RECT top = WindowInParent(header), names{0, top.bottom, 100, 120 - kArrow};
  const COLORREF grey = GetSysColor(COLOR_BTNSHADOW), ink = GetSysColor(COLOR_WINDOWTEXT);
  for (const auto& [window, area] :
       {std::pair{lv, names}, std::pair{header, RECT{0, 0, 100, top.bottom}}}) {
    auto shown = Capture(window);
    EXPECT_GT(Count(*shown, grey, area, kInk), 0);
    EXPECT_EQ(Count(*shown, ink, area, kInk), 0);
    EXPECT_EQ(Count(*shown, GetSysColor(COLOR_HIGHLIGHT), area), 0);
  }
  EXPECT_EQ(Capture(lv)->At(150, top.bottom + 4), kFace);
  list.SetEnabled(true);
  EXPECT_GT(Count(*Paint(vbar), ThumbColour(1)), 0);
  EXPECT_GT(Count(*Capture(lv), ink, names, kInk), 0);
  EXPECT_EQ(Capture(lv)->At(150, top.bottom + 4), GetSysColor(COLOR_WINDOW));

  // Columns wider than the list bring the horizontal bar; the other overlay stays above too.
  list.SetColumns({{"Name", 300}, {"State", 200}});
  Pump();
  HWND hbar = s.FHorzBar->Handle();
  EXPECT_TRUE(IsWindowVisible(hbar));
  EXPECT_EQ(WindowInParent(hbar), BarInParent(lv, OBJID_HSCROLL));
  EXPECT_EQ(Capture(hbar)->At(8, 8), StripColour(1));
  // Placed again, the overlays stay right above the list, never put behind themselves.
  const HWND above = GetWindow(lv, GW_HWNDPREV);
  std::vector<HWND> behind;
  for (TWScrollbar* bar : {s.FHorzBar, s.FVertBar})
    bar->WindowProc = [&behind, old = bar->WindowProc](TMessage& m) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
      if (m.Msg == WM_WINDOWPOSCHANGING && !(pos->flags & SWP_NOZORDER))
        behind.push_back(pos->hwndInsertAfter);
      old(m);
    };
  s.UpdateBars();
  s.UpdateBars();
  for (HWND w : behind) EXPECT_TRUE(w != vbar && w != hbar);
  EXPECT_TRUE(above == vbar || above == hbar);
  EXPECT_EQ(GetWindow(lv, GW_HWNDPREV), above);
  EXPECT_EQ(GetWindow(above, GW_HWNDPREV), above == vbar ? hbar : vbar);
}

TEST_F(ScrollBarsTest, PressOnTheOverlayRunsTheListsOwnScrollLoop) {
  TListView& list = List({10, 10, 290, 190}, 100);
  TSkinListView* s = nullptr;
  std::vector<WORD> requests;
  std::vector<TSkinColour> looks;  // the arrow pressed, while the list scrolls
  int lookAt = 0;
  list.WindowProc = [&, old = list.WindowProc](TMessage& m) {
    if (m.Msg == WM_VSCROLL && s) {
      requests.push_back(LOWORD(m.WParam));
      looks.push_back(Paint(s->FVertBar->Handle())->At(8, lookAt));
    }
    old(m);
  };
  s = &SkinScroll<TSkinListView>(list);
  HWND lv = list.Handle(), vbar = s->FVertBar->Handle();
  RECT r;
  GetClientRect(vbar, &r);
  const int h = r.bottom;
  const struct {
    int y;
    WORD request;
    TSkinColour pressed, after;
    int topIndex;
  } presses[] = {{h - 8, SB_LINEDOWN, StripColour(14), StripColour(13), 1},
                 {8, SB_LINEUP, StripColour(10), StripColour(9), 0}};
  for (const auto& p : presses) {
    requests.clear();
    looks.clear();
    lookAt = p.y;
    // Released before it is pressed: the system's loop ends at once.
    PostMessageA(lv, WM_LBUTTONUP, 0, 0);
    SendMessageA(vbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, p.y));
    EXPECT_EQ(requests, (std::vector<WORD>{p.request, SB_ENDSCROLL})) << p.y;
    ASSERT_FALSE(looks.empty());
    EXPECT_EQ(looks[0], p.pressed) << p.y;
    EXPECT_EQ(Paint(vbar)->At(8, p.y), p.after) << p.y;
    EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0), p.topIndex);
  }

  // Hovering lights the arrow under the mouse until the mouse leaves.
  SendMessageA(vbar, WM_MOUSEMOVE, 0, MAKELPARAM(8, 8));
  EXPECT_EQ(Paint(vbar)->At(8, 8), StripColour(12));
  SendMessageA(vbar, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Paint(vbar)->At(8, 8), StripColour(9));
}

TEST_F(ScrollBarsTest, BorderAndTheCornerBetweenTheBars) {
  TMemo& bordered =
      Add<TMemo>(Host(), {10, 10, 110, 90}, "", [](TMemo& m) { m.ScrollBars = ssBoth; });
  TMemo& single =
      Add<TMemo>(Host(), {10, 100, 110, 190}, "", [](TMemo& m) { m.ScrollBars = ssBoth; });
  TImageScrollBox& box = Add<TImageScrollBox>(Host(), {120, 100, 220, 190});
  TListView& list = List({230, 10, 290, 190}, 100, {{"Name", 300}});
  const struct {
    TWinControl& control;
    int mode;
    bool border;
  } cases[] = {
      {bordered, 0, true}, {single, 1, false}, {box, 0, false}, {list, 0, false}};  // list: bsNone
  for (const auto& c : cases) {
    auto& s = SkinScroll<TSkinScrollbar>(c.control, c.mode);
    HWND w = c.control.Handle();
    RECT wr;
    GetWindowRect(w, &wr);
    testkit::MemoryDC dc(wr.right - wr.left, wr.bottom - wr.top, kBackground);
    EXPECT_EQ(SendMessageA(w, WM_SKINPAINTINTO, reinterpret_cast<WPARAM>(dc.dc()), kSkinHostKey),
              kSkinHostKey);
    EXPECT_EQ(dc.At(0, 0) == kShadow && dc.At(1, 1) == kFace, c.border) << c.control.ClassName();
    if (!c.border) {
      EXPECT_EQ(Count(dc, kShadow) + Count(dc, kFace), 0) << c.control.ClassName();
    }

    // The corner square where the bars meet, wherever the client area lies in the window.
    ASSERT_TRUE(IsWindowVisible(s.FVertBar->Handle()) && IsWindowVisible(s.FHorzBar->Handle()));
    const RECT v = BarInParent(w, OBJID_VSCROLL), h = BarInParent(w, OBJID_HSCROLL),
               at = WindowInParent(w);
    const RECT corner{v.left - at.left, h.top - at.top, v.right - at.left, h.bottom - at.top};
    testkit::MemoryDC painted(wr.right - wr.left, wr.bottom - wr.top, kBackground);
    s.PaintWindow(painted.dc());
    const TInk face = Find(painted, kFace);
    EXPECT_EQ(face.Box, corner) << c.control.ClassName();
    EXPECT_EQ(face.Count, (corner.right - corner.left) * (corner.bottom - corner.top));
  }
}

TEST_F(ScrollBarsTest, FixedColourComesBackAfterSkinSwitchesAndTheBarsShowTheNewSkin) {
  TTestGrid& grid = Add<TTestGrid>(Host(), {10, 10, 150, 150});
  auto& s = SkinScroll<TSkinScrollbar>(grid);
  EXPECT_EQ(grid.FixedColor, kFace);
  LoadScrollSkin({{"Colours", {{"ButtonFace", "1 2 3"}}}}, 1);
  s.SkinChanged();
  EXPECT_EQ(grid.FixedColor, 0x00030201u);
  LoadScrollSkin({}, 2);
  s.SkinChanged();
  EXPECT_EQ(grid.FixedColor, kFace);
  EXPECT_EQ(Capture(s.FVertBar->Handle())->At(8, 8), StripColour(9, 2));
  EXPECT_EQ(Capture(s.FHorzBar->Handle())->At(8, 8), StripColour(1, 2));
  s.DetachSkin();
  EXPECT_EQ(grid.FixedColor, 0x00123456u);  // the colour before any skin
}

TEST_F(ScrollBarsTest, WindowMadeAgainKeepsOneSkinnerItsModeAndTheColourToGiveBack) {
  auto* form = new TWinSkinForm(&Host());  // owned by the form, as the manager does it
  form->FHandle = Host().Handle();
  form->AttachForm(data_.get(), &Host());
  TListView& list = List({10, 10, 290, 120}, 100);
  list.GridLines = true;         // from the first new window on
  const auto rowGap = [&list] {  // between the header and the first row
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    const LRESULT top = SendMessageA(list.Handle(), LVM_GETTOPINDEX, 0, 0);
    SendMessageA(list.Handle(), LVM_GETITEMRECT, WPARAM(top), reinterpret_cast<LPARAM>(&row));
    return row.top - WindowInParent(HeaderOf(list)).bottom;
  };
  TMemo& memo =
      Add<TMemo>(Host(), {10, 130, 150, 190}, "", [](TMemo& m) { m.ScrollBars = ssVertical; });
  TTestGrid& grid = Add<TTestGrid>(Host(), {160, 130, 290, 190});
  SkinScroll<TSkinListView>(list, 0, form);
  SkinScroll<TSkinScrollbar>(memo, 0, form);
  SkinScroll<TSkinScrollbar>(grid, 1, form);
  ASSERT_EQ(form->SkinnerCount(), 4u);  // the list's, its header's, the memo's and the grid's

  for (int i = 0; i < 3; ++i) {
    for (TWinControl* c : std::initializer_list<TWinControl*>{&list, &memo, &grid})
      c->RecreateWnd();
    Pump();
    EXPECT_EQ(form->SkinnerCount(), 4u);
    ASSERT_EQ(list.ComponentCount(), 2u);
    EXPECT_EQ(memo.ComponentCount(), 1u);
    for (HWND w : {list.Handle(), HeaderOf(list), memo.Handle()})
      EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
    auto* skinner = dynamic_cast<TSkinListView*>(list.Components(0));
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(WindowInParent(skinner->FVertBar->Handle()),
              BarInParent(list.Handle(), OBJID_VSCROLL));
    EXPECT_EQ(rowGap(), 0);  // the new header covers the grid's strip
    auto* fresh = dynamic_cast<TSkinScrollbar*>(form->FindControlSkinner(grid.Handle()));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->FMode, 1);
    EXPECT_EQ(grid.FixedColor, kFace);
  }
  EXPECT_EQ(Overlays(Host().Handle()), 6);

  // Unskinned: every window procedure, overlay and skinner goes, and the colour comes back.
  form->DetachAllSkinners();
  HWND header = HeaderOf(list);
  for (HWND w : {list.Handle(), header, memo.Handle()})
    EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrA(header, GWLP_WNDPROC), GetClassLongPtrA(header, GCLP_WNDPROC));
  EXPECT_EQ(list.ComponentCount(), 0u);
  EXPECT_EQ(memo.ComponentCount(), 0u);
  EXPECT_EQ(Overlays(Host().Handle()), 0);
  EXPECT_EQ(grid.FixedColor, 0x00123456u);
  EXPECT_GT(rowGap(), 0);  // the list's own layout
}

TEST_F(ScrollBarsTest, ScrollBarControlUnderOneOverlay) {
  const struct {
    TScrollBarKind kind;
    RECT bounds;
    int firstArrow;
  } cases[] = {{sbVertical, {250, 10, 267, 170}, 9}, {sbHorizontal, {10, 170, 230, 187}, 1}};
  for (const auto& c : cases) {
    const bool vertical = c.kind == sbVertical;
    TScrollBar& bar = Add<TScrollBar>(Host(), c.bounds, "", [&](TScrollBar& b) {
      b.SetKind(c.kind);
      b.SetParams(0, 100, 10);
    });
    SetPropByName(&bar, "ShowHint", "True");
    SetPropByName(&bar, "Hint", Utf8ToText("位置"));
    auto* s = new TSkinScControl(&bar);
    s->AttachScroll(&bar, data_.get(), nullptr, form_.get());
    HWND overlay = s->FBar->Handle();
    EXPECT_EQ(WindowInParent(overlay), WindowInParent(bar.Handle()));
    EXPECT_EQ(testkit::HintAt(overlay, {8, 8}), L"位置");  // where the pointer meets it
    const int length = vertical ? c.bounds.bottom - c.bounds.top : c.bounds.right - c.bounds.left;
    auto pic = Capture(overlay);
    EXPECT_EQ(pic->At(8, 8), StripColour(c.firstArrow));
    EXPECT_EQ(ThumbStart(*pic, vertical), kArrow);

    bar.SetPosition(50);
    EXPECT_EQ(ThumbStart(*Capture(overlay), vertical),
              ControlThumb(length, kArrow, 0, 100, 10, 50).Start);
    // A press on the second arrow is the control's own: it moves by one.
    const int at = length - 8;
    PostMessageA(bar.Handle(), WM_LBUTTONUP, 0, 0);
    SendMessageA(overlay, WM_LBUTTONDOWN, MK_LBUTTON,
                 vertical ? MAKELPARAM(8, at) : MAKELPARAM(at, 8));
    EXPECT_EQ(bar.Position(), 51);
    EXPECT_EQ(ThumbStart(*Capture(overlay), vertical),
              ControlThumb(length, kArrow, 0, 100, 10, 51).Start);

    bar.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(overlay));
    bar.SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(overlay));
    EXPECT_EQ(WindowInParent(overlay), WindowInParent(bar.Handle()));
  }
}

TEST_F(ScrollBarsTest, PlainWindowsBarsFollowItAndAreLetGoOnce) {
  HWND list = Plain("LISTBOX", "", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, {10, 10, 150, 110});
  for (int i = 0; i < 50; ++i)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  auto* s = &Skin<TSkinScrollbarH>(list);
  HWND vbar = s->FVertBar->Handle();
  EXPECT_TRUE(IsWindowVisible(vbar));
  EXPECT_EQ(WindowInParent(vbar), BarInParent(list, OBJID_VSCROLL));

  // The list's own scroll request shows on its bar.
  SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Paint(vbar)->At(8, 100 - 8), StripColour(16));

  for (int show : {SW_HIDE, SW_SHOW}) {
    ShowWindow(list, show);
    Pump();
    EXPECT_EQ(IsWindowVisible(vbar) != FALSE, show == SW_SHOW);
  }

  s->DetachSkin();
  EXPECT_EQ(s->FVertBar, nullptr);
  EXPECT_EQ(Overlays(PlainHost()), 0);
  delete s;  // what DetachSkin freed is not freed again
  EXPECT_EQ(SendMessageA(list, WM_SKINQUERY, 0, 0), 0);
}

}  // namespace
}  // namespace ctlskin
