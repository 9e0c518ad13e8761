// The header skinner on a report list's header and on a header control.
#include "ScrollSkin.h"

#include "SkinHeader.h"
#include "forms/ComCtrls.h"
#include "forms/ScrollCtrls.h"

namespace ctlskin {
namespace {

struct CountingHeader : TSkinHeader {
  using TSkinHeader::TSkinHeader;
  int paints = 0;
  void DrawSkin(HDC dc, const RECT& r) override {
    ++paints;
    TSkinHeader::DrawSkin(dc, r);
  }
};

// A list in a view without column headers.
struct TIconList : TListView {
  using TListView::TListView;

 protected:
  void CreateParams(TCreateParams& p) override {
    TListView::CreateParams(p);
    p.Style = (p.Style & ~LVS_TYPEMASK) | LVS_ICON;
  }
};

constexpr TSkinColour kImage = 0x0000A0F0;

using HeaderTest = ScrollTest;

TEST_F(HeaderTest, ListHeaderShowsItsItemsTheRestAndTheHotItem) {
  TListView& list = Add<TListView>(Host(), {0, 0, 300, 150}, "", [](TListView& l) {
    l.SetColumns({{"Name", 100}, {"State", 80}});
  });
  auto& s = SkinScroll<TSkinListView>(list);
  ASSERT_NE(s.FHeaderSkinner, nullptr);
  HWND header = HeaderOf(list);
  EXPECT_EQ(s.FHeaderSkinner->FHandle, header);

  const TSkinColour normal = HeaderColour(1), hot = HeaderColour(2);
  EXPECT_GT(Count(*Paint(header), GetSysColor(COLOR_WINDOWTEXT), {3, 0, 97, 20}, kInk), 0);
  SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(140, 5));
  auto pic = Paint(header);
  // The items and the space after them.
  EXPECT_EQ(pic->At(50, 1), normal);
  EXPECT_EQ(pic->At(140, 1), hot);
  EXPECT_EQ(pic->At(250, 1), normal);
  SendMessageA(header, WM_MOUSELEAVE, 0, 0);

  // Scrolled sideways, the header moves with the columns and is painted where it is now.
  list.SetColumns({{"Name", 300}, {"State", 200}});
  SendMessageA(list.Handle(), LVM_SCROLL, 100, 0);
  Pump();
  RECT item;
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  MapWindowPoints(header, list.Handle(), reinterpret_cast<POINT*>(&item), 2);
  ASSERT_LT(item.left, 300);  // the second column moved left with the list
  EXPECT_EQ(Capture(list.Handle())->At(item.left + 10, 1), normal);
  // Narrower and with narrower columns: the rest after the last item has the normal frame.
  list.SetBounds(0, 0, 280, 150);
  list.SetColumns({{"Name", 100}, {"State", 80}});
  Pump();
  EXPECT_EQ(Capture(header)->At(250, 1), normal);

  // With grid lines the list keeps a strip under its header; the header covers it, so the
  // rows start right under it, every row shown counts and none shows in the strip.
  Host().SetClientSize(300, 260);
  TListView& grid = Add<TListView>(Host(), {0, 160, 280, 260}, "", [](TListView& l) {
    l.GridLines = true;
    l.SetColumns({{"Name", 100}});
  });
  grid.SetItemCount(20);
  RECT row{LVIR_BOUNDS, 0, 0, 0}, bar;
  SendMessageA(grid.Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  GetClientRect(HeaderOf(grid), &bar);
  grid.SetBounds(0, 160, 280, bar.bottom + 4 * (row.bottom - row.top));  // four rows fit
  SkinScroll<TSkinListView>(grid);
  SendMessageA(grid.Handle(), LVM_ENSUREVISIBLE, 19, FALSE);
  const int top = int(SendMessageA(grid.Handle(), LVM_GETTOPINDEX, 0, 0));
  EXPECT_EQ(SendMessageA(grid.Handle(), LVM_GETCOUNTPERPAGE, 0, 0), 4);
  EXPECT_EQ(top, 16);
  row.left = LVIR_BOUNDS;
  SendMessageA(grid.Handle(), LVM_GETITEMRECT, WPARAM(top), reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(WindowInParent(HeaderOf(grid)).bottom, row.top);
  EXPECT_EQ(Capture(grid.Handle())->At(50, row.top - 1), normal);
}

TEST_F(HeaderTest, HotItemChangesOnlyFromItemToItem) {
  THeaderControl& control = Add<THeaderControl>(Host(), {0, 0, 300, 20}, "", [](THeaderControl& h) {
    h.SetSections({{"A", 100}, {"B", 80}});
  });
  auto& s = Skin<CountingHeader>(control);
  RedrawWindow(control.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // Items lie at 0-100 and 100-180; 3 pixels at each side of a divider belong to no item.
  const struct {
    int x, paints, hot;
  } moves[] = {{50, 1, 0},  {60, 0, 0},  {98, 0, 0}, {102, 0, 0},
               {140, 1, 1}, {250, 0, 1}, {1, 0, 1},  {30, 1, 0}};
  for (const auto& m : moves) {
    const int before = s.paints;
    SendMessageA(control.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(m.x, 10));
    EXPECT_EQ(s.paints - before, m.paints) << m.x;
    EXPECT_EQ(s.FHotItem, m.hot) << m.x;
  }
  const int before = s.paints;
  SendMessageA(control.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(s.paints - before, 1);
  EXPECT_EQ(s.FHotItem, -1);

  // A hot item that went is not hot when items come back.
  SendMessageA(control.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(140, 10));
  control.SetSections({{"A", 100}});
  RedrawWindow(control.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  control.SetSections({{"A", 100}, {"B", 80}});
  EXPECT_EQ(Paint(control.Handle())->At(140, 1), HeaderColour(1));
}

TEST_F(HeaderTest, ItemsTextsAndImages) {
  Host().SetClientSize(520, 200);
  const std::string longText = std::string(99, 'l') + "W";  // 100 characters
  THeaderControl& control =
      Add<THeaderControl>(Host(), {0, 0, 500, 20}, "", [&](THeaderControl& h) {
        h.SetSections({{"", 40}, {"x", 40}, {longText, 400}});
      });
  THeaderControl& empty = Add<THeaderControl>(Host(), {0, 30, 200, 50});
  HWND h = control.Handle();
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
  const std::vector<DWORD> glyph(16 * 16, 0x00F0A000);  // kImage, as a 32-bit pixel
  HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, glyph.data());
  ImageList_Add(images, bitmap, nullptr);
  DeleteObject(bitmap);
  SendMessageW(h, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  HDITEMW item{};  // image 0
  item.mask = HDI_FORMAT | HDI_IMAGE;
  item.fmt = HDF_LEFT | HDF_STRING | HDF_IMAGE;
  for (WPARAM i : {0, 1}) SendMessageW(h, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
  Skin<TSkinHeader>(control);
  Skin<TSkinHeader>(empty);
  auto pic = Paint(h);
  EXPECT_EQ(Count(*pic, kImage, {0, 0, 40, 20}), 0);  // no text: the frame alone
  EXPECT_GT(Count(*pic, kImage, {40, 0, 80, 20}), 0);

  // The text is read whole: its hundredth letter is drawn.
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(h, WM_GETFONT, 0, 0)));
  SIZE first99;
  GetTextExtentPoint32A(dc, longText.c_str(), 99, &first99);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  const RECT ink = Find(*pic, GetSysColor(COLOR_WINDOWTEXT), {80, 0, 480, 20}, kInk).Box;
  EXPECT_GT(ink.right, 80 + 3 + first99.cx + 2);

  auto none = Paint(empty.Handle());
  EXPECT_EQ(Count(*none, HeaderColour(1)), 200 * 20);
  ImageList_Destroy(images);
}

TEST_F(HeaderTest, WithoutTheStripTheHeaderPaintsItselfAndAListWithoutHeaderGetsNoSkinner) {
  TListView& list = Add<TListView>(Host(), {0, 0, 300, 150}, "", [](TListView& l) {
    l.SetColumns({{"Name", 100}});
  });
  SkinScroll<TSkinListView>(list);
  LoadScrollSkin({{"Headerbar", {{"Image", ""}}}});
  auto pic = Paint(HeaderOf(list));
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(Count(*pic, HeaderColour(k)), 0) << k;
  EXPECT_LT(Count(*pic, kBackground), pic->Width() * pic->Height());

  TIconList& icons = Add<TIconList>(Host(), {0, 150, 300, 200});
  auto& s = SkinScroll<TSkinListView>(icons);
  EXPECT_EQ(HeaderOf(icons), nullptr);
  EXPECT_EQ(s.FHeaderSkinner, nullptr);
  EXPECT_EQ(icons.ComponentCount(), 1u);
}

}  // namespace
}  // namespace ctlskin
