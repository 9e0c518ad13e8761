// Track bars, up-downs and progress bars painted from the test skin and sampled by pixel.
#include "EditSkin.h"

#include <commctrl.h>

#include "SkinEdits.h"
#include "SkinRanges.h"
#include "forms/ComCtrls.h"
#include "forms/PickCtrls.h"
#include "forms/StdCtrls.h"
#include "testkit/TestKit.h"

namespace ctlskin {
namespace {

using SkinRangesTest = EditSkinTest;

RECT Ask(HWND w, UINT msg) {
  RECT r{};
  SendMessageA(w, msg, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

TEST_F(SkinRangesTest, TrackBarChannelAndThumbFromTheSkinTicksFromTheControl) {
  const struct {
    TTrackBarOrientation orientation;
    TTickStyle ticks;
    const char* rightWidth;  // of the horizontal track
  } cases[] = {{trHorizontal, tsAuto, "4"}, {trVertical, tsAuto, "4"}, {trHorizontal, tsNone, "4"},
               // Far wider than the control: the part that fits is drawn, the user hears nothing.
               {trHorizontal, tsNone, "32000"}};
  for (const auto& c : cases) {
    LoadEditSkin({{"Track", {{"RightWidth", c.rightWidth}}}});
    testkit::ClearMessageBoxes();
    const bool vertical = c.orientation == trVertical;
    TTrackBar& bar = Add<TTrackBar>(
        Host(), vertical ? RECT{10, 10, 55, 160} : RECT{10, 10, 160, 55}, "", [&](TTrackBar& b) {
          b.Orientation = c.orientation;
          b.TickStyle = c.ticks;
          b.SetPosition(5);
        });
    Skin<TSkinTrackBar>(bar);
    auto pic = Paint(bar.Handle());
    const RECT ch = Ask(bar.Handle(), TBM_GETCHANNELRECT), th = Ask(bar.Handle(), TBM_GETTHUMBRECT);
    // The channel as reported (standing, when vertical), sampled along its middle.
    const auto along = [&](int a) {
      return vertical ? pic->At((ch.left + ch.right) / 2, a) : pic->At(a, (ch.top + ch.bottom) / 2);
    };
    const TSkinColour* track = vertical ? kTrackV : kTrack;
    const int start = vertical ? ch.top : ch.left, end = vertical ? ch.bottom : ch.right;
    EXPECT_TRUE(testkit::MessageBoxes().empty()) << c.rightWidth;
    EXPECT_EQ(along(start + 1), track[0]);
    if (std::string(c.rightWidth) == "4") {
      EXPECT_EQ(along(start + 10), track[1]);
      EXPECT_EQ(along(end - 2), track[2]);
    }
    EXPECT_EQ(pic->At((th.left + th.right) / 2, (th.top + th.bottom) / 2),
              vertical ? kThumbV : kThumb);
    // The tick marks are the control's, beside the thumb on its background.
    const RECT beside = vertical ? RECT{th.right + 1, 0, pic->Width(), pic->Height()}
                                 : RECT{0, th.bottom + 1, pic->Width(), pic->Height()};
    const int ticks = int((beside.right - beside.left) * (beside.bottom - beside.top)) -
                      Count(*pic, pic->At(beside.left, beside.top), beside);
    EXPECT_TRUE(c.ticks == tsAuto ? ticks > 5 : ticks == 0) << ticks;
  }
}

TEST_F(SkinRangesTest, TrackBarAnswersOnlyItsOwnCustomDrawAndKeepsTheFocusOnASkinChange) {
  TTrackBar& bar = Add<TTrackBar>(Host(), {10, 10, 160, 55});
  TEdit& edit = Add<TEdit>(Host(), {10, 100, 110, 125});
  auto& skinner = Skin<TSkinTrackBar>(bar);
  HWND other = edit.Handle();
  for (HWND from : {bar.Handle(), other}) {
    NMCUSTOMDRAW cd{};
    cd.hdr = {from, 0, UINT(NM_CUSTOMDRAW)};
    cd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(SendMessageA(bar.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)),
              from == other ? 0 : CDRF_NOTIFYITEMDRAW);
  }
  // The form skinner's note is no notification.
  SendMessageA(bar.Handle(), CN_NOTIFY, 0, kSkinHostKey);
  SetForegroundWindow(Host().Handle());
  SetFocus(other);
  ASSERT_EQ(GetFocus(), other);
  int focusLost = 0;
  const SUBCLASSPROC count = [](HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR n) {
    if (msg == WM_KILLFOCUS) ++*reinterpret_cast<int*>(n);
    return DefSubclassProc(w, msg, wp, lp);
  };
  SetWindowSubclass(other, count, 1, reinterpret_cast<DWORD_PTR>(&focusLost));
  LoadEditSkin({{"Track", {{"Image", "bar.bmp"}}}});
  skinner.SkinChanged();
  RemoveWindowSubclass(other, count, 1);
  EXPECT_EQ(focusLost, 0);
  const RECT ch = Ask(bar.Handle(), TBM_GETCHANNELRECT);
  EXPECT_EQ(Paint(bar.Handle())->At(ch.right - 2, ch.top + 1), kBar[1]);  // the new skin
}

TEST_F(SkinRangesTest, UpDownHalvesByState) {
  TUpDown& framework = Add<TUpDown>(Host(), {10, 10, 26, 50});
  HWND plain = Plain(UPDOWN_CLASSA, "", 0, {10, 10, 26, 50});
  Skin<TSkinUpDown>(framework);
  Skin<TSkinUpDown>(plain);
  POINT saved;
  GetCursorPos(&saved);
  for (HWND w : {framework.Handle(), plain}) {
    POINT lower{8, 30}, away{8, 100};
    ClientToScreen(w, &lower);
    ClientToScreen(w, &away);
    // clang-format off
    const struct {
      const char* state;
      POINT cursor;
      std::function<void()> enter;
      int upper, lower;  // frames
    } cases[] = {
        {"normal", away, [] {}, 1, 5},
        {"hovered on the lower half", lower, [] {}, 1, 5},
        {"pressed on the lower half", lower,
         [&] { SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 30)); }, 1, 6},
        {"disabled", lower, [&] { EnableWindow(w, FALSE); }, 3, 7},
    };
    // clang-format on
    for (const auto& c : cases) {
      SetCursorPos(c.cursor.x, c.cursor.y);
      c.enter();
      auto pic = Paint(w);
      EXPECT_EQ(pic->At(8, 10), kUpDown[c.upper - 1]) << c.state;
      EXPECT_EQ(pic->At(8, 30), kUpDown[c.lower - 1]) << c.state;
      SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(8, 30));
      EnableWindow(w, TRUE);
    }
  }
  SetCursorPos(saved.x, saved.y);
  // Without the skin's strip: plain buttons, framed in the dark shadow colour.
  LoadEditSkin({{"UpDown.Vert", {{"Image", ""}}}});
  auto pic = Paint(plain);
  EXPECT_EQ(pic->At(0, 0), kDkShadow);
  EXPECT_EQ(pic->At(2, 2), kFace);
  EXPECT_EQ(pic->At(0, 39), kDkShadow);
}

TEST_F(SkinRangesTest, UpDownInsideAnEditIsSkinnedOnceOnTheFirstPaint) {
  for (bool spin : {true, false}) {
    if (!spin) Exclude(data_->SkinControls, xcSpin);
    HWND edit = Plain("EDIT", "", 0, {10, 10, 110, 40});
    HWND upDown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 84, 0, 16, 30, edit,
                                  nullptr, nullptr, nullptr);
    Skin<TSkinEdit>(edit);
    const std::size_t before = form_->SkinnerCount();
    Paint(edit);
    Paint(edit);
    EXPECT_EQ(form_->SkinnerCount(), before + (spin ? 1 : 0));
    EXPECT_EQ(SendMessageA(upDown, WM_SKINQUERY, 0, 0), spin ? 1 : 0);
    if (!spin) continue;
    // Touching the edit's top and right: erased white and drawn 3 pixels clear of them.
    auto pic = Paint(upDown);
    EXPECT_EQ(pic->At(5, 2), clWhite);
    EXPECT_EQ(pic->At(5, 3), kUpDown[0]);
    EXPECT_EQ(pic->At(13, 5), clWhite);
  }
}

TEST_F(SkinRangesTest, ProgressFromZeroToMax) {
  TProgressBar& bar = Add<TProgressBar>(Host(), {10, 10, 210, 30});
  bar.SetMax(200);
  Skin<TSkinProgress>(bar);
  const int w = Paint(bar.Handle())->Width();
  for (int pos : {0, 1, 50, 100, 199, 200}) {
    bar.SetPosition(pos);
    auto pic = Paint(bar.Handle());
    EXPECT_EQ(Count(*pic, kBar[1], {0, 10, w, 11}), MulDiv(w, pos, 200)) << pos;
    EXPECT_EQ(Count(*pic, kBar[0], {0, 10, w, 11}), w - MulDiv(w, pos, 200)) << pos;
  }
  // Vertical: from the bottom up.
  HWND vertical = Plain(PROGRESS_CLASSA, "", PBS_VERTICAL, {10, 10, 30, 110});
  SendMessageA(vertical, PBM_SETPOS, 25, 0);
  Skin<TSkinProgress>(vertical);
  auto pic = Paint(vertical);
  EXPECT_EQ(pic->At(10, 99), kBar[1]);
  EXPECT_EQ(pic->At(10, 75), kBar[1]);
  EXPECT_EQ(pic->At(10, 74), kBar[0]);
  // Chunks over the filled part; none, and no fault, without a chunk image.
  for (bool chunk : {true, false}) {
    LoadEditSkin({{"Progress", {{"Style", "1"}}},
                  {"Progress.Chunk", {{"Image", chunk ? "chunk.bmp" : ""}}}});
    pic = Paint(bar.Handle());
    EXPECT_EQ(Count(*pic, kChunk) > 0, chunk);
  }
  // Without the bar's picture the control paints itself.
  LoadEditSkin({{"Progress", {{"Bitmap", ""}}}});
  pic = Paint(bar.Handle());
  EXPECT_EQ(Count(*pic, kBar[0]) + Count(*pic, kBar[1]), 0);
}

}  // namespace
}  // namespace ctlskin
