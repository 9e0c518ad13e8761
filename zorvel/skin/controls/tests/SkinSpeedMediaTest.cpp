// Speed buttons and media players skinned; every skinner of this family leaving no trace.
#include <functional>

#include "CheckTabSkin.h"

#include <commctrl.h>

#include "SkinChecks.h"
#include "SkinMediaPlayer.h"
#include "SkinSpeedButton.h"
#include "SkinTabs.h"
#include "WinSubClass.h"
#include "forms/CheckBoxes.h"
#include "forms/MPlayer.h"
#include "forms/SpeedButtons.h"
#include "forms/TabControls.h"
#include "forms/Tabs.h"
#include "testkit/TestKit.h"

namespace ctlskin {
namespace {

// Glyphs up, disabled, down, stays down; 16 x 16, the white bottom-left pixel left out.
constexpr TSkinColour kGlyph[4] = {0x0000C0, 0x00C000, 0xC00000, 0x00C0C0};
constexpr TSkinColour kGreyGlyph = 0x404040;  // the second, greyed
constexpr TSkinColour kHost = 0x00406080;     // the host form's colour

void FillGlyphs(TBitmap& b, int count) {
  b.SetSize(16 * count, 16);
  for (int i = 0; i < count; ++i) {
    b.Canvas()->Brush.Color = kGlyph[i];
    b.Canvas()->FillRect({16 * i, 0, 16 * i + 16, 16});
    b.Canvas()->SetPixel(16 * i, 15, 0xFFFFFF);
  }
}

using SkinSpeedButtonTest = CheckTabTest;

TEST_F(SkinSpeedButtonTest, FaceAndGlyphOfEachState) {
  TSpeedButton& button = Add<TSpeedButton>(Host(), {10, 10, 110, 40}, "Go");
  FillGlyphs(*button.Glyph(), 4);
  button.NumGlyphs = 4;
  auto& skinner = *new TSkinSpeedButton(&button);
  skinner.AttachGraphicControl(form_.get(), data_.get(), form_->FControlCanvas.get());
  HWND host = Host().Handle();
  const auto send = [&](UINT msg, int x = 50) {
    SendMessageA(host, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, 25));
  };
  const auto reset = [&] {
    send(WM_MOUSEMOVE, 250);  // away: the button leaves hot and pressed
    button.SetEnabled(true);
    button.SetDown(false);
    button.Flat = false;
  };
  // clang-format off
  const struct {
    const char* state;
    std::function<void()> enter;
    TSkinColour face;  // inside the face, clear of glyph and caption
    TSkinColour glyph;
  } cases[] = {
      {"normal", [] {}, kButton[0], kGlyph[0]},
      {"hot", [&] { send(WM_MOUSEMOVE); }, kButton[3], kGlyph[0]},
      {"pressed", [&] { send(WM_MOUSEMOVE); send(WM_LBUTTONDOWN); }, kButton[1], kGlyph[2]},
      {"disabled", [&] { button.SetEnabled(false); }, kButton[2], kGreyGlyph},
      {"down", [&] { button.SetDown(true); }, kButton[1], kGlyph[3]},
      {"down and disabled", [&] { button.SetDown(true); button.SetEnabled(false); }, kButton[1], kGlyph[3]},
      {"flat at rest", [&] { button.Flat = true; }, kFace, kGlyph[0]},
      {"flat and hot", [&] { button.Flat = true; send(WM_MOUSEMOVE); }, kButton[3], kGlyph[0]},
      {"flat and disabled", [&] { button.Flat = true; button.SetEnabled(false); }, kFace, kGreyGlyph},
  };
  // clang-format on
  for (const auto& c : cases) {
    c.enter();
    auto pic = Paint(host);
    EXPECT_EQ(pic->At(14, 14), c.face) << c.state;
    EXPECT_EQ(Count(*pic, c.glyph, {10, 10, 110, 40}), 255) << c.state;
    send(WM_LBUTTONUP, 250);
    reset();
  }
  // One glyph serves every state, greyed when disabled.
  button.NumGlyphs = 1;
  FillGlyphs(*button.Glyph(), 1);
  button.SetEnabled(false);
  EXPECT_EQ(Count(*Paint(host), kGreyGlyph, {10, 10, 110, 40}), 255);
  EXPECT_EQ(skinner.FStatus, 1);
}

TEST_F(SkinSpeedButtonTest, ClicksParentBackgroundNothingToDrawAndGivingBack) {
  int clicks = 0;
  TSpeedButton& button = Add<TSpeedButton>(Host(), {10, 10, 110, 40}, "Go", [&](TSpeedButton& b) {
    b.GroupIndex = 1;
    b.AllowAllUp = true;
    b.OnClick = [&](TObject*) { ++clicks; };
  });
  auto& skinner = *new TSkinSpeedButton(&button);
  skinner.AttachGraphicControl(form_.get(), data_.get(), form_->FControlCanvas.get());
  HWND host = Host().Handle();
  for (int i = 1; i <= 2; ++i) {
    SendMessageA(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 25));
    SendMessageA(host, WM_LBUTTONUP, 0, MAKELPARAM(50, 25));
    EXPECT_EQ(clicks, i);
    EXPECT_EQ(button.Down(), i == 1);
    EXPECT_EQ(Paint(host)->At(14, 14), i == 1 ? kButton[1] : kButton[0]);
  }
  // The parent through a see-through button (painting the parent paints it again).
  auto& seeThrough =
      *new TSkinSpeedButton(&Add<TSpeedButton>(Host(), {10, 50, 110, 80}, "", [](TSpeedButton& b) {
        b.Tag = 5555;
        b.Flat = true;
      }));
  seeThrough.AttachGraphicControl(form_.get(), data_.get(), nullptr);
  EXPECT_EQ(Paint(host)->At(60, 65), kHost);

  // A button of no width draws nothing.
  button.SetBounds(10, 10, 0, 30);
  testkit::MemoryDC dc(20, 20, kBackground);
  button.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.dc()), 0);
  EXPECT_EQ(Count(dc, kBackground), 400);
  button.SetBounds(10, 10, 100, 30);

  // Given back: the button paints itself as before.
  button.Perform(0xB021, 0, 0);
  auto pic = Paint(host);
  EXPECT_EQ(Count(*pic, kButton[0], {10, 10, 110, 40}), 0);
  EXPECT_EQ(pic->At(14, 14), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(form_->SkinnerCount(), 2u);  // still listed until freed
}

// ---------------------------------------------------------------------------------------

class SkinMediaPlayerTest : public CheckTabTest {
 protected:
  TMediaPlayer& Player(TButtonSet visible = (1u << btPlay) | (1u << btStop) | (1u << btBack)) {
    TMediaPlayer& p = Add<TMediaPlayer>(Host(), {10, 10, 110, 40});
    p.VisibleButtons = visible;
    return p;
  }
  TWMediaPlayer& Cover(TMediaPlayer& player) { return *Skin<TSkinMP>(player).FPlayer; }
  void Press(TWMediaPlayer& cover, UINT msg, int x) {
    SendMessageA(cover.Handle(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, 15));
  }
};

TEST_F(SkinMediaPlayerTest, ButtonsFramesAndGlyphs) {
  TMediaPlayer& player = Player();
  player.EnabledButtons = kAllMPButtons & ~(1u << btStop);
  player.ColoredButtons = 1u << btPlay;
  TWMediaPlayer& cover = Cover(player);
  EXPECT_EQ(ToSkinRect(cover.BoundsRect()), (TSkinRect{10, 10, 110, 40}));
  auto pic = Paint(cover.Handle());
  // Three buttons of 33: play, stop (disabled), back.
  const RECT play{0, 0, 33, 30}, stop{33, 0, 66, 30}, back{66, 0, 99, 30};
  EXPECT_EQ(pic->At(4, 4), kButton[0]);
  EXPECT_EQ(pic->At(37, 4), kButton[2]);
  EXPECT_EQ(pic->At(70, 4), kButton[0]);
  EXPECT_EQ(pic->At(99, 4), kFace);            // the pixel the three do not share out
  EXPECT_GT(Count(*pic, 0x00A000, play), 20);  // its coloured glyph
  EXPECT_GT(Count(*pic, 0x808080, stop), 20);  // the disabled one
  EXPECT_GT(Count(*pic, 0x000000, back), 20);  // the plain one
  EXPECT_EQ(Count(*pic, 0x008080), 0);         // olive shows the face
  EXPECT_GT(Count(*pic, kFace, play), 20);

  // Pressed: frame 2 under the mouse, a disabled button keeps frame 3.
  Press(cover, WM_LBUTTONDOWN, 10);
  EXPECT_EQ(Paint(cover.Handle())->At(4, 4), kButton[1]);
  Press(cover, WM_LBUTTONUP, 10);
  Press(cover, WM_LBUTTONDOWN, 40);
  EXPECT_EQ(Paint(cover.Handle())->At(37, 4), kButton[2]);
  Press(cover, WM_LBUTTONUP, 40);

  player.VisibleButtons = 0;
  EXPECT_EQ(Count(*Paint(cover.Handle()), kFace), 100 * 30);
}

TEST_F(SkinMediaPlayerTest, PressesAndReleasesReachThePlayer) {
  TMediaPlayer& player = Player();
  std::vector<TMPBtnType> clicked;
  int downs = 0;
  player.OnClick = [&](TObject*, TMPBtnType b, bool&) { clicked.push_back(b); };
  player.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  TWMediaPlayer& cover = Cover(player);

  Press(cover, WM_LBUTTONDOWN, 10);
  EXPECT_EQ(GetCapture(), cover.Handle());
  Press(cover, WM_LBUTTONUP, 10);
  EXPECT_EQ(clicked, std::vector<TMPBtnType>{btPlay});
  EXPECT_EQ(player.Mode(), mpPlaying);
  EXPECT_EQ(GetCapture(), nullptr);

  // Pressed on stop, released on back: the player has the press and no click.
  Press(cover, WM_LBUTTONDOWN, 40);
  Press(cover, WM_LBUTTONUP, 80);
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(clicked.size(), 1u);
  EXPECT_EQ(player.Mode(), mpPlaying);

  // The mouse taken away mid-press: the button comes up.
  Press(cover, WM_LBUTTONDOWN, 40);
  ReleaseCapture();
  EXPECT_EQ(Paint(cover.Handle())->At(37, 4), kButton[0]);
  Press(cover, WM_LBUTTONDOWN, 40);
  Press(cover, WM_LBUTTONUP, 40);
  EXPECT_EQ(clicked.back(), btStop);
  EXPECT_EQ(player.Mode(), mpStopped);
}

TEST_F(SkinMediaPlayerTest, CoverFollowsThePlayer) {
  TMediaPlayer& player = Player();
  TWMediaPlayer& cover = Cover(player);
  EXPECT_EQ(cover.Tag, data_->DisableTag);
  player.SetBounds(20, 50, 150, 24);
  EXPECT_EQ(ToSkinRect(cover.BoundsRect()), (TSkinRect{20, 50, 170, 74}));
  player.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(cover.Handle()));
  player.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(cover.Handle()));
}

// ---------------------------------------------------------------------------------------

class SkinnersLeaveNoTraceTest : public CheckTabTest {
 protected:
  struct TKind {
    const char* name;
    std::function<TControl*()> make;
    std::function<void(TControl*)> skin;
  };
  // Attaches a skinner of a windowed control.
  template <class S>
  std::function<void(TControl*)> By() {
    return [this](TControl* c) { Skin<S>(*static_cast<TWinControl*>(c)); };
  }
  std::vector<TKind> Kinds() {
    const RECT b{10, 10, 160, 110};
    return {
        {"check box", [&] { return &Add<TCheckBox>(Host(), b, "c"); }, By<TSkinCheckBox>()},
        {"radio button", [&] { return &Add<TRadioButton>(Host(), b, "r"); },
         By<TSkinRadioButton>()},
        {"tab control",
         [&] {
           return &Add<TTabControl>(Host(), b, {}, [](TTabControl& t) { t.SetTabs({"a", "b"}); });
         },
         By<TSkinTab>()},
        {"tab buttons",
         [&] {
           return &Add<TTabControl>(Host(), b, {}, [](TTabControl& t) {
             t.Style = tsButtons;
             t.SetTabs({"a"});
           });
         },
         By<TSkinTabBtn>()},
        {"tab set",
         [&] { return &Add<TTabSet>(Host(), b, {}, [](TTabSet& t) { t.SetTabs({"a"}); }); },
         By<TSkinTab31>()},
        {"media player", [&] { return &Add<TMediaPlayer>(Host(), b); }, By<TSkinMP>()},
        {"speed button", [&] { return &Add<TSpeedButton>(Host(), b, "s"); },
         [this](TControl* c) {
           (new TSkinSpeedButton(c))->AttachGraphicControl(form_.get(), data_.get(), nullptr);
         }},
    };
  }
  static bool Skinned(TControl* c) {
    auto* w = dynamic_cast<TWinControl*>(c);
    return (w && SendMessageA(w->Handle(), WM_SKINQUERY, 0, 0) == 1) ||
           c->Perform(WM_SKINQUERY, 0, 0) == 1;
  }
  // A media player's cover, while one is left.
  HWND Cover() { return FindWindowExA(Host().Handle(), nullptr, "TWMediaPlayer", nullptr); }
};

TEST_F(SkinnersLeaveNoTraceTest, DetachedThenDestroyed) {
  for (const TKind& kind : Kinds()) {
    TControl* control = kind.make();
    kind.skin(control);
    EXPECT_TRUE(Skinned(control)) << kind.name;
    Paint(Host().Handle());
    form_->DetachAllSkinners();  // as unskinning does: detach, then free
    EXPECT_FALSE(Skinned(control)) << kind.name;
    EXPECT_EQ(Cover(), nullptr) << kind.name;
    for (std::size_t i = 0; i < control->ComponentCount(); ++i)
      EXPECT_FALSE(dynamic_cast<TSkinControl*>(control->Components(i))) << kind.name;
    delete control;
  }
}

TEST_F(SkinnersLeaveNoTraceTest, DestroyedWhileSkinnedAndNoGdiObjectKept) {
  const auto cycle = [&](int n) {
    for (int i = 0; i < n; ++i)
      for (const TKind& kind : Kinds()) {
        TControl* control = kind.make();
        kind.skin(control);
        Paint(Host().Handle());
        if (auto* w = dynamic_cast<TWinControl*>(control)) Paint(w->Handle());
        delete control;
        form_->FreeDestroyedSkinners();
        ASSERT_EQ(form_->SkinnerCount(), 0u) << kind.name;
        ASSERT_EQ(Cover(), nullptr) << kind.name;
      }
  };
  cycle(3);
  const int before = testkit::FreeGdiCapacity();
  cycle(20);
  EXPECT_LE(before - testkit::FreeGdiCapacity(), 10) << "GDI objects kept by 20 rounds";
  EXPECT_EQ(Host().ComponentCount(), 0u);
}

}  // namespace
}  // namespace ctlskin
