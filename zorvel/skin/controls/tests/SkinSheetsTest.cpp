// The skinners that give a size box, a tab page and an embedded dialog box the face colour.
#include <algorithm>
#include <vector>

#include "ScrollSkin.h"
#include "SkinSheets.h"
#include "forms/StdCtrls.h"

namespace ctlskin {
namespace {

constexpr TSkinColour kMark = 0x00C000C0;

struct Mark : TGraphicControl {
  using TGraphicControl::TGraphicControl;
  void Paint() override {
    Canvas()->Brush.Color = kMark;
    Canvas()->FillRect({0, 0, Width(), Height()});
  }
};

// A child dialog box with one static text (identifier 100), as a resource would hold it.
std::vector<WORD> ChildDialog() {
  std::vector<WORD> t;
  const auto dword = [&t](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  dword(WS_CHILD | WS_VISIBLE | DS_CONTROL);
  dword(0);
  t.insert(t.end(), {1, 0, 0, 100, 60, 0, 0, 0});  // 1 item, place, no menu, class or title
  dword(WS_CHILD | WS_VISIBLE | SS_LEFT);
  dword(0);
  t.insert(t.end(), {5, 5, 80, 20, 100, 0xFFFF, 0x0082, 'T', 'e', 'x', 't', 0, 0});
  return t;
}

using SheetsTest = ScrollTest;

TEST_F(SheetsTest, SizeBoxIsAllFace) {
  HWND grip = Plain("SCROLLBAR", "", SBS_SIZEBOX | SBS_SIZEGRIP, {10, 10, 30, 30});
  auto* s = &Skin<TSkinSizer>(grip);
  EXPECT_EQ(Count(*Paint(grip), kFace), 20 * 20);
  delete s;
}

TEST_F(SheetsTest, EmbeddedDialogAndItsTextsLieOnTheFace) {
  const std::vector<WORD> dialog = ChildDialog();
  HWND dlg = CreateDialogIndirectParamA(
      GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), PlainHost(),
      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(dlg, nullptr);
  auto* s = &Skin<TSkinBoxH>(dlg);
  RECT r;
  GetWindowRect(dlg, &r);
  testkit::MemoryDC erased(r.right - r.left, r.bottom - r.top, kBackground);
  EXPECT_EQ(SendMessageA(dlg, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.dc()), 0), 1);
  EXPECT_EQ(Count(erased, kFace), erased.Width() * erased.Height());

  HWND text = GetDlgItem(dlg, 100);
  testkit::MemoryDC cell(10, 10);
  EXPECT_EQ(SendMessageA(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(cell.dc()),
                         reinterpret_cast<LPARAM>(text)),
            reinterpret_cast<LRESULT>(data_->SkinBrush));
  EXPECT_EQ(GetBkMode(cell.dc()), TRANSPARENT);
  auto pic = Paint(text);
  EXPECT_GT(Count(*pic, kFace), pic->Width() * pic->Height() / 2);
  EXPECT_EQ(Count(*pic, GetSysColor(COLOR_BTNFACE)), 0);
  delete s;
  DestroyWindow(dlg);
}

TEST_F(SheetsTest, TabPagePaintedByTheSkinnerOnlyWhileItKeepsItsOwnBackground) {
  const struct { bool parentBackground, skinnerPaints; } cases[] = {{false, true}, {true, false}};
  for (const auto& c : cases) {
    std::vector<UINT> seen;
    TPanel& page = Add<TPanel>(Host(), {10, 10, 110, 110});
    page.SetParentBackground(c.parentBackground);
    Add<Mark>(page, {40, 40, 60, 60});
    page.WindowProc = [&seen, old = page.WindowProc](TMessage& m) {
      seen.push_back(m.Msg);
      old(m);
    };
    auto& s = Skin<TSkinTabSheet>(page, true);
    EXPECT_EQ(s.FMode == 0, c.skinnerPaints);
    seen.clear();
    auto pic = Paint(page.Handle());
    EXPECT_EQ(pic->At(1, 1), kFace);  // flat, over the panel's bevel
    EXPECT_EQ(pic->At(50, 50), kMark);
    testkit::MemoryDC erased(100, 100, kBackground);
    EXPECT_EQ(SendMessageA(page.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.dc()), 0),
              1);
    EXPECT_EQ(Count(erased, kFace), 100 * 100);
    const auto saw = [&](UINT msg) {
      return std::find(seen.begin(), seen.end(), msg) != seen.end();
    };
    EXPECT_EQ(saw(WM_PAINT), !c.skinnerPaints);
    EXPECT_EQ(saw(WM_ERASEBKGND), !c.skinnerPaints);
    page.SetVisible(false);
  }
}

}  // namespace
}  // namespace ctlskin
