// Other libraries' check boxes and page controls: skin pictures written into their properties.
#include "CheckTabSkin.h"

#include <commctrl.h>

#include "SkinForeign.h"
#include "forms/TabControls.h"

namespace ctlskin {
namespace {

// The middle of each 13-pixel glyph of a strip.
std::vector<TSkinColour> Slots(TBitmap& strip) {
  std::vector<TSkinColour> colours;
  for (int x = kBox / 2; x < strip.Width(); x += kBox)
    colours.push_back(strip.Canvas()->Pixel(x, kBox / 2));
  return colours;
}

// Draws from "CustomGlyphs" while "UseCustomGlyphs" is on, read anew each time it turns on.
struct TRzCheckBox : TWinControl {
  using TWinControl::TWinControl;
  TBitmap CustomGlyphs;
  long long TransparentColor = 0;
  bool UseCustomGlyphs = false;
  int Reloads = 0;
  std::vector<TSkinColour> Read;  // Slots(CustomGlyphs) when last read
  void SetUseCustomGlyphs(bool value) {
    if (value && !UseCustomGlyphs) {
      ++Reloads;
      Read = Slots(CustomGlyphs);
    }
    UseCustomGlyphs = value;
  }
};
struct TRzRadioButton : TRzCheckBox {
  using TRzCheckBox::TRzCheckBox;
};
// A check box whose glyph lies in a sub-object.
struct TcxCheckBoxProperties : TPersistent {
  TBitmap Glyph;
};
struct TcxCheckBox : TWinControl {
  using TWinControl::TWinControl;
  TcxCheckBoxProperties Properties;
};
// A page control that draws its tabs from two pictures.
struct TAdvPageControl : TTabControl {
  using TTabControl::TTabControl;
  TBitmap TabBackGround, TabBackGroundActive;
};
// None of the properties.
struct TBareControl : TWinControl {
  using TWinControl::TWinControl;
};

void RegisterTestClasses() {
  static const bool once = [] {
    TTabControl probe(nullptr);  // registers the framework's tab controls
    TPublisher<TRzCheckBox>(RegisterClassType<TRzCheckBox>("TRzCheckBox", "TWinControl"))
        .Obj("CustomGlyphs", [](TRzCheckBox* c) { return &c->CustomGlyphs; })
        .Int(
            "TransparentColor", [](TRzCheckBox* c) { return c->TransparentColor; },
            [](TRzCheckBox* c, long long v) { c->TransparentColor = v; })
        .Bool(
            "UseCustomGlyphs", [](TRzCheckBox* c) { return c->UseCustomGlyphs; },
            [](TRzCheckBox* c, bool v) { c->SetUseCustomGlyphs(v); });
    RegisterClassType<TRzRadioButton>("TRzRadioButton", "TRzCheckBox");
    TPublisher<TcxCheckBoxProperties>(
        RegisterClassType<TcxCheckBoxProperties>("TcxCheckBoxProperties", ""))
        .Obj("Glyph", [](TcxCheckBoxProperties* p) { return &p->Glyph; });
    TPublisher<TcxCheckBox>(RegisterClassType<TcxCheckBox>("TcxCheckBox", "TWinControl"))
        .Obj("Properties", [](TcxCheckBox* c) { return &c->Properties; });
    TPublisher<TAdvPageControl>(
        RegisterClassType<TAdvPageControl>("TAdvPageControl", "TTabControl"))
        .Obj("TabBackGround", [](TAdvPageControl* c) { return &c->TabBackGround; })
        .Obj("TabBackGroundActive", [](TAdvPageControl* c) { return &c->TabBackGroundActive; });
    RegisterClassType<TBareControl>("TBareControl", "TWinControl");
    return true;
  }();
  (void)once;
}

constexpr TSkinColour kNew = 0x000000;  // what a new bitmap holds

class SkinForeignTest : public TabArrowsTest {
 protected:
  void SetUp() override {
    TabArrowsTest::SetUp();
    RegisterTestClasses();
  }
  TSkinObjImage& SkinAs(TWinControl& control, int kind) {
    auto* s = new TSkinObjImage(&control);
    s->ImageKind = kind;
    s->AttachControl(form_.get(), data_.get(), form_->FControlCanvas.get(), true);
    return *s;
  }
};

TEST_F(SkinForeignTest, GlyphStripsOfEachKind) {
  const auto& k = kCheck;
  const auto& r = kRadio;
  const struct {
    const char* what;
    int checkFrames, kind;
    std::vector<TSkinColour> slots;
  } cases[] = {
      {"9 glyphs from 4 frames", 4, 1, {k[0], k[1], kNew, k[0], k[1], kNew, k[2], k[3], kNew}},
      {"9 glyphs from 5 frames", 5, 1, {k[0], k[1], k[4], k[0], k[1], k[4], k[2], k[3], k[4]}},
      {"6 radio glyphs", 4, 2, {r[0], r[1], r[0], r[1], r[2], r[3]}},
      {"6 glyphs in Properties from 4 frames", 4, 3, {k[0], k[1], kNew, k[0], k[1], kNew}},
  };
  for (const auto& c : cases) {
    LoadCheckTabSkin({.Check = c.checkFrames});
    if (c.kind == 3) {
      TcxCheckBox& box = Add<TcxCheckBox>(Host(), {10, 10, 110, 30});
      SkinAs(box, 3);
      TBitmap& glyph = box.Properties.Glyph;
      EXPECT_EQ(Slots(glyph), c.slots) << c.what;
      EXPECT_EQ(glyph.TransparentColor, 0xFF00FFu);
      EXPECT_FALSE(glyph.Transparent);
      continue;
    }
    TRzCheckBox& box = c.kind == 1 ? Add<TRzCheckBox>(Host(), {10, 10, 110, 30})
                                   : Add<TRzRadioButton>(Host(), {10, 10, 110, 30});
    SkinAs(box, c.kind);
    EXPECT_EQ(Slots(box.CustomGlyphs), c.slots) << c.what;
    EXPECT_EQ(box.Read, c.slots) << c.what << ": read when switched on";
    EXPECT_EQ(box.TransparentColor, 0xFF00FF);
    EXPECT_TRUE(box.UseCustomGlyphs);
  }
}

TEST_F(SkinForeignTest, ANewSkinIsReadAgainAndUnskinningTakesItBack) {
  TRzCheckBox& rz = Add<TRzCheckBox>(Host(), {10, 10, 110, 30});
  TcxCheckBox& cx = Add<TcxCheckBox>(Host(), {10, 40, 110, 60});
  TBareControl& bare = Add<TBareControl>(Host(), {10, 70, 110, 90});
  TSkinControl* skinners[] = {&SkinAs(rz, 1), &SkinAs(cx, 3), &SkinAs(bare, 1)};
  EXPECT_EQ(rz.Reloads, 1);
  // A skin whose strip has a fifth frame: the component shows it without being made anew.
  LoadCheckTabSkin({.Check = 5});
  for (TSkinControl* s : skinners) s->SkinChanged();
  EXPECT_EQ(rz.Reloads, 2);
  EXPECT_EQ(rz.Read.at(2), kCheck[4]);
  EXPECT_EQ(Slots(cx.Properties.Glyph).at(2), kCheck[4]);

  for (TSkinControl* s : skinners) s->DetachSkin();
  EXPECT_FALSE(rz.UseCustomGlyphs);
  EXPECT_TRUE(cx.Properties.Glyph.Empty());
  // The window procedures were never taken.
  EXPECT_EQ(SendMessageA(rz.Handle(), WM_SKINQUERY, 0, 0), 0);
}

TEST_F(SkinForeignTest, PageControlGetsItsTabPictures) {
  NewTabUpDownSkinner = CountArrows;
  arrowSkinners = 0;
  const struct {
    const char* trans;
    bool tiled;
  } cases[] = {{"1", true}, {"0", false}};
  for (const auto& c : cases) {
    LoadCheckTabSkin({}, {{"Tabs", {{"Trans", c.trans}, {"LeftWidth", "2"}, {"RightWidth", "2"}}}});
    TAdvPageControl& pages =
        Add<TAdvPageControl>(Host(), {10, 10, 130, 110}, {}, [](TAdvPageControl& p) {
          p.SetTabs({"First tab", "Second tab", "Third tab", "Fourth tab", "Fifth tab"});
        });
    auto* s = new TSkinAdvPage(&pages);
    s->PageMode = 4;
    s->AttachControl(form_.get(), data_.get(), form_->FControlCanvas.get(), true);
    ASSERT_EQ(pages.TabBackGround.Width(), 100);
    ASSERT_EQ(pages.TabBackGround.Height(), 21);
    EXPECT_EQ(pages.TabBackGround.Canvas()->Pixel(50, 10), kTab[0]);
    EXPECT_EQ(pages.TabBackGroundActive.Canvas()->Pixel(50, 10), kTab[1]);
    // Each frame's 16-pixel centre tiled or stretched: only tiling repeats the mark.
    EXPECT_EQ(pages.TabBackGround.Canvas()->Pixel(2 + 16, 1) == kTabMark, c.tiled) << c.trans;
    // Its scroll arrows get a skinner when it paints.
    Paint(pages.Handle());
    HWND arrows = FindWindowExA(pages.Handle(), nullptr, UPDOWN_CLASSA, nullptr);
    ASSERT_NE(arrows, nullptr);
    EXPECT_EQ(SendMessageA(arrows, WM_SKINQUERY, 0, 0), 1);
    s->DetachSkin();
    EXPECT_TRUE(pages.TabBackGround.Empty());
    EXPECT_TRUE(pages.TabBackGroundActive.Empty());
    delete &pages;
  }
  EXPECT_EQ(arrowSkinners, 2);

  // Other page modes are left alone.
  TAdvPageControl& other = Add<TAdvPageControl>(Host(), {10, 10, 130, 110});
  (new TSkinAdvPage(&other))->AttachControl(form_.get(), data_.get(), nullptr, false);
  EXPECT_TRUE(other.TabBackGround.Empty());
}

}  // namespace
}  // namespace ctlskin
