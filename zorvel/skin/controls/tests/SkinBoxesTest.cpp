// Group boxes, status bars and boxes painted from the test skin and sampled by pixel.
#include "ControlSkin.h"

#include <commctrl.h>

#include "SkinBoxes.h"
#include "WinSubClass.h"
#include "forms/ComCtrls.h"
#include "forms/StdCtrls.h"

namespace ctlskin {
namespace {

using SkinBoxesTest = ControlTest;

TEST_F(SkinBoxesTest, GroupBoxOnAFrameworkControlAndAPlainWindow) {
  TGroupBox& box = Add<TGroupBox>(Host(), {10, 10, 210, 110}, "Cap");
  Add<TMarkControl>(box, {150, 60, 170, 80});
  HWND plain = Plain("BUTTON", "Cap", BS_GROUPBOX, {10, 10, 210, 110});
  Skin<TSkinGroupBox>(box);
  Skin<TSkinGroupBox>(plain);
  for (HWND w : {box.Handle(), plain}) {
    HDC dc = GetDC(w);  // the caption's font gives the height of the top line
    SelectObject(dc,
                 w == plain ? HGDIOBJ(SendMessageA(w, WM_GETFONT, 0, 0)) : box.Font()->Handle());
    SIZE zero;
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    ReleaseDC(w, dc);
    const int y = zero.cy / 2 - 1;
    auto pic = Paint(w);
    EXPECT_EQ(pic->At(180, y), kShadow);   // the top line, right of the caption
    EXPECT_EQ(pic->At(100, 98), kShadow);  // the bottom line
    EXPECT_EQ(pic->At(1, 50), kShadow);
    EXPECT_EQ(Count(*pic, kShadow, {8, y, 16, y + 1}), 0);  // the caption's cell hides the line
    if (w == plain) {
      EXPECT_EQ(pic->At(0, 50), kFace);  // the window's own frame is covered
      EXPECT_EQ(pic->At(199, 50), kFace);
    } else {
      EXPECT_EQ(pic->At(100, 50), kFace);
      EXPECT_EQ(pic->At(160, 70), kMarkColour);  // windowless children painted over it
    }
    SendMessageA(w, WM_SKINENABLE, 0, 0);
    EXPECT_EQ(Count(*Paint(w), kShadow), 0);
    SendMessageA(w, WM_SKINENABLE, 1, 0);
    EXPECT_GT(Count(*Paint(w), kShadow), 200);
  }
}

TEST_F(SkinBoxesTest, GroupBoxCaptionAtTheRight) {
  TGroupBox& right = Add<TGroupBox>(Host(), {10, 10, 210, 60}, "Cap",
                                    [](TGroupBox& b) { b.BiDiMode = bdRightToLeft; });
  Skin<TSkinGroupBox>(right);
  const RECT r = Find(*Paint(right.Handle()), GetSysColor(COLOR_WINDOWTEXT), {}, kInk).Box;
  EXPECT_LE(r.right, 200 - 8);
  EXPECT_GT(r.right, 200 - 8 - 4);
}

TEST_F(SkinBoxesTest, StatusBarPanelsSimpleTextAndGrip) {
  TStatusBar& bar = Add<TStatusBar>(Host(), {0, 170, 300, 192});
  const struct {
    const char* text;
    int width;
    TStatusPanelBevel bevel;
    TStatusPanelStyle style;
    TBiDiMode bidi;
  } panels[] = {{"a", 60, pbLowered, psText, bdLeftToRight},
                {"", 60, pbRaised, psOwnerDraw, bdLeftToRight},
                {"r", 60, pbNone, psText, bdRightToLeft}};
  for (const auto& p : panels) {
    TStatusPanel* panel = bar.Panels().Add();
    panel->SetText(p.text);
    panel->SetWidth(p.width);
    panel->SetBevel(p.bevel);
    panel->SetStyle(p.style);
    panel->SetBiDiMode(p.bidi);
  }
  std::vector<RECT> drawn;
  bar.OnDrawPanel = [&](TStatusBar* b, TStatusPanel* p, const RECT& r) {
    drawn.push_back(r);
    if (p->Index() == 1) FillSolidRect(b->Canvas()->Handle(), r, kMarkColour);
  };
  Skin<TSkinStatusBar>(bar);
  auto pic = Paint(bar.Handle());
  RECT part[3];
  for (int i = 0; i < 3; ++i)
    SendMessageA(bar.Handle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&part[i]));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pic->At(part[i].left + 1, part[i].top + 1), kEdge[i]) << i;
  EXPECT_EQ(pic->At(298, 2), kEdge[2]);  // the last panel reaches the bar's right edge
  EXPECT_EQ(pic->At(300 - 4, 22 - 4), kGrip);
  EXPECT_GT(Count(*pic, kEdgeText, part[0], kInk), 0);
  EXPECT_EQ(Count(*pic, kEdgeText, part[1], kInk), 0);  // owner-drawn: no text
  const RECT mid = part[2];
  EXPECT_EQ(Count(*pic, kEdgeText, {mid.left, mid.top, (mid.left + 300) / 2, mid.bottom}, kInk),
            0);  // from the right
  EXPECT_GT(Count(*pic, kEdgeText, {(mid.left + 300) / 2, mid.top, 300, mid.bottom}, kInk), 0);
  // The handler ran for every panel, inside by two pixels, on the DC painted.
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].left, part[0].left + 2);
  EXPECT_EQ(drawn[0].bottom, part[0].bottom - 2);
  EXPECT_GT(Count(*pic, kMarkColour, part[1]), 0);

  bar.OnDrawPanel = nullptr;  // the handler would draw over the simple text too
  bar.SetSimplePanel(true);
  bar.SetSimpleText("WWW");
  pic = Paint(bar.Handle());
  EXPECT_EQ(pic->At(150, 1), kEdge[0]);
  EXPECT_GT(Count(*pic, kEdgeText, {}, kInk), 0);

  // Without the strip a lowered panel is a one-pixel bevel; without the grip style, no grip.
  LoadSkin({{"StatusBarEdges", {{"Image", ""}}}});
  bar.SetSimplePanel(false);
  TStatusBar& plainBar =
      Add<TStatusBar>(Host(), {0, 140, 300, 162}, "", [](TStatusBar& b) { b.SizeGrip = false; });
  Skin<TSkinStatusBar>(plainBar);
  pic = Paint(plainBar.Handle());
  EXPECT_EQ(pic->At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pic->At(299, 21), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Count(*pic, kGrip), 0);
}

TEST_F(SkinBoxesTest, BoxRecoloursAndGivesColourAndParentBackgroundBack) {
  const struct {
    bool useColour, parentBackground, optionKeepsIt;
    TColor whileSkinned;
    bool backgroundWhileSkinned;
  } cases[] = {{true, true, false, kFace, false},
               {true, false, false, kFace, false},
               {true, true, true, kFace, true},  // xoParentBackGround: never touched
               {false, true, false, 0x00112233, true}};
  for (const auto& c : cases) {
    data_->Options = c.optionKeepsIt ? TSkinOptions(1u << xoParentBackGround) : TSkinOptions(0);
    TPanel& panel = Add<TPanel>(Host(), {10, 10, 110, 60});
    panel.SetColor(0x00112233);
    panel.SetParentBackground(c.parentBackground);
    auto& box = Skin<TSkinBox>(panel, c.useColour);
    EXPECT_EQ(panel.Color(), c.whileSkinned);
    EXPECT_EQ(panel.ParentBackground(), c.backgroundWhileSkinned);
    box.DetachSkin();
    EXPECT_EQ(panel.Color(), 0x00112233u);
    EXPECT_EQ(panel.ParentBackground(), c.parentBackground);
    EXPECT_EQ(box.FStatus, 2);
  }
  TPanel& panel = Add<TPanel>(Host(), {10, 70, 110, 120});
  panel.SetColor(0x00112233);
  auto& box = Skin<TSkinBox>(panel, true);
  box.AttachControl(form_.get(), data_.get(), nullptr, true);  // the colour kept stays the panel's
  LoadSkin({{"Colours", {{"ButtonFace", "1 2 3"}}}});
  box.SkinChanged();  // the new skin's face
  EXPECT_EQ(panel.Color(), 0x00030201u);
  box.DetachSkin();
  EXPECT_EQ(panel.Color(), 0x00112233u);
}

}  // namespace
}  // namespace ctlskin
