// Check boxes and radio buttons: frames, box place, clicks once, exclusive radio groups.
#include <algorithm>

#include "CheckTabSkin.h"
#include "SkinBoxes.h"
#include "SkinChecks.h"
#include "forms/CheckBoxes.h"

namespace ctlskin {
namespace {

// Other check boxes: publishing only "Checked", data-aware, bound by another library.
struct TCheckedOnly : TWinControl {
  using TWinControl::TWinControl;
  bool Checked = false;
  void CreateParams(TCreateParams& p) override {
    p.ClassName = "BUTTON";
    p.Style = BS_AUTOCHECKBOX;
  }
};
struct TDataCheck : TCheckBox {
  using TCheckBox::TCheckBox;
};
struct TBoundCheck : TCheckBox {
  using TCheckBox::TCheckBox;
};
// A radio button with its caption on the left.
struct TLeftRadio : TRadioButton {
  using TRadioButton::TRadioButton;
  void CreateParams(TCreateParams& p) override {
    TRadioButton::CreateParams(p);
    p.Style |= BS_LEFTTEXT;
  }
};

void RegisterTestClasses() {
  static const bool once = [] {
    TCheckBox probe(nullptr);  // registers the framework's check boxes
    TPublisher<TCheckedOnly>(RegisterClassType<TCheckedOnly>("TCheckedOnly", "TWinControl"))
        .Bool("Checked", [](TCheckedOnly* c) { return c->Checked; });
    TPublisher<TDataCheck>(RegisterClassType<TDataCheck>("TDataCheck", "TCheckBox"))
        .Str("DataField", [](TDataCheck*) { return std::string("Done"); });
    TPublisher<TBoundCheck>(RegisterClassType<TBoundCheck>("TBoundCheck", "TCheckBox"))
        .Str("DataBinding", [](TBoundCheck*) { return std::string(); });
    return true;
  }();
  (void)once;
}

void Click(HWND w) {
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// The box's middle in a 20-pixel-high control with the box at the left.
constexpr int kBoxX = kBox / 2, kBoxY = 10;

class SkinChecksTest : public CheckTabTest {
 protected:
  void SetUp() override {
    CheckTabTest::SetUp();
    RegisterTestClasses();
  }
};

TEST_F(SkinChecksTest, FrameOfEachStateOnFrameworkControlsAndPlainWindows) {
  // 12 frames give each case its own; the click tests show the 4-frame strip.
  const struct {
    TCheckBoxState state;
    bool enabled;
    int frame;
  } cases[] = {{cbUnchecked, true, 1}, {cbUnchecked, false, 4}, {cbChecked, true, 5},
               {cbChecked, false, 8},  {cbGrayed, true, 9},     {cbGrayed, false, 12}};
  LoadCheckTabSkin({.Check = 12});
  TCheckBox& framework = Add<TCheckBox>(Host(), {10, 10, 150, 30}, "Check",
                                        [](TCheckBox& c) { c.AllowGrayed = true; });
  HWND plain = Plain("BUTTON", "Check", BS_AUTO3STATE, {10, 10, 150, 30});
  Skin<TSkinCheckBox>(framework);
  Skin<TSkinCheckBox>(plain);
  for (const auto& c : cases) {
    framework.SetState(c.state);
    framework.SetEnabled(c.enabled);
    SendMessageA(plain, BM_SETCHECK, c.state, 0);
    EnableWindow(plain, c.enabled);
    for (HWND w : {framework.Handle(), plain})
      EXPECT_EQ(Paint(w)->At(kBoxX, kBoxY), kCheck[c.frame - 1])
          << "state " << c.state << (c.enabled ? "" : ", disabled")
          << (w == plain ? ", plain" : ", framework");
    // The framework control's caption is the skinner's: the font's colour, or shadow.
    const TSkinColour ink =
        c.enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_BTNSHADOW);
    EXPECT_GT(Count(*Paint(framework.Handle()), ink, {kBox + 2, 0, 140, 20}, kInk), 5);
  }
}

TEST_F(SkinChecksTest, OtherKindsOfCheckBoxes) {
  TCheckedOnly& checkedOnly = Add<TCheckedOnly>(Host(), {10, 10, 150, 30}, "a");
  TDataCheck& data = Add<TDataCheck>(Host(), {10, 40, 150, 60}, "b");
  TBoundCheck& bound = Add<TBoundCheck>(Host(), {10, 70, 150, 90}, "c");
  for (TWinControl* c : std::initializer_list<TWinControl*>{&checkedOnly, &data, &bound})
    Skin<TSkinCheckBox>(*c);
  SendMessageA(checkedOnly.Handle(), BM_SETCHECK, BST_CHECKED, 0);  // its "Checked" says no
  SendMessageA(data.Handle(), BM_SETCHECK, 2, 0);  // a 2-state button keeps it as checked
  bound.SetChecked(true);
  const struct {
    TWinControl* control;
    int enabled, disabled;
  } cases[] = {{&checkedOnly, 1, 3}, {&data, 4, 4}, {&bound, 1, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(Paint(c.control->Handle())->At(kBoxX, kBoxY), kCheck[c.enabled - 1])
        << c.control->ClassName();
    EnableWindow(c.control->Handle(), FALSE);
    EXPECT_EQ(Paint(c.control->Handle())->At(kBoxX, kBoxY), kCheck[c.disabled - 1])
        << c.control->ClassName();
  }
}

TEST_F(SkinChecksTest, BoxPlaceBackgroundAndFocus) {
  TCheckBox& left = Add<TCheckBox>(Host(), {10, 10, 110, 30}, "Check",
                                   [](TCheckBox& c) { c.Alignment = taLeftJustify; });
  TLeftRadio& radio = Add<TLeftRadio>(Host(), {10, 40, 110, 60}, "Radio");
  TCheckBox& seeThrough = Add<TCheckBox>(Host(), {10, 70, 110, 90}, "Check");
  seeThrough.Tag = 5555;
  TCheckBox& empty = Add<TCheckBox>(Host(), {10, 100, 110, 120});
  for (TWinControl* c : std::initializer_list<TWinControl*>{&left, &seeThrough, &empty})
    Skin<TSkinCheckBox>(*c);
  Skin<TSkinRadioButton>(radio);

  auto pic = Paint(left.Handle());
  EXPECT_EQ(pic->At(99, kBoxY), kCheck[0]);  // flush with the right edge
  EXPECT_EQ(pic->At(100 - kBox, kBoxY), kCheck[0]);
  pic = Paint(radio.Handle());
  EXPECT_EQ(pic->At(99, kBoxY), kFace);  // one pixel in
  EXPECT_EQ(pic->At(98, kBoxY), kRadio[0]);
  EXPECT_EQ(pic->At(99 - kBox, kBoxY), kRadio[0]);

  // The parent's background behind a see-through box, the face behind the others.
  for (TCheckBox* c : {&left, &seeThrough}) {
    testkit::MemoryDC dc(100, 20, kBackground);
    SendMessageA(c->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.dc()), 0);
    SendMessageA(c->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.dc()), 0);
    EXPECT_EQ(dc.At(50, 1), c == &left ? kFace : 0x00406080u);
  }

  // The focus rectangle goes around a caption; there is none without one.
  const TSkinColour dots = kFace ^ 0x00FFFFFF;
  SetFocus(seeThrough.Handle());
  seeThrough.Tag = 0;
  EXPECT_EQ(Count(*Paint(seeThrough.Handle()), dots), 0);  // the parent behind it: no face
  SetFocus(left.Handle());
  EXPECT_GT(Count(*Paint(left.Handle()), dots), 10);
  SetFocus(empty.Handle());
  EXPECT_EQ(Count(*Paint(empty.Handle()), dots), 0);
}

TEST_F(SkinChecksTest, WithoutTheStripTheControlPaintsItselfUntilTheSkinHasItAgain) {
  LoadCheckTabSkin({}, {{"Buttons", {{"CheckButton", ""}}}});
  TCheckBox& check = Add<TCheckBox>(Host(), {10, 10, 110, 30}, "Check");
  HWND plain = Plain("BUTTON", "Check", BS_AUTOCHECKBOX, {10, 10, 110, 30});
  auto& skinner = Skin<TSkinCheckBox>(check);
  auto& plainSkinner = Skin<TSkinCheckBox>(plain);
  const auto strip = [&](HWND w) { return Count(*Paint(w), kCheck[0]); };
  EXPECT_EQ(strip(check.Handle()), 0);
  EXPECT_EQ(strip(plain), 0);
  EXPECT_GT(Count(*Paint(check.Handle()), GetSysColor(COLOR_WINDOWTEXT), {}, kInk), 5);  // its own

  LoadCheckTabSkin();
  skinner.SkinChanged();
  plainSkinner.SkinChanged();
  EXPECT_EQ(strip(check.Handle()), kBox * kBox);
  EXPECT_EQ(strip(plain), kBox * kBox);
  EXPECT_EQ(Paint(check.Handle())->At(80, 1), kFace);  // painted whole again
}

TEST_F(SkinChecksTest, ClicksReachTheControlOnceAndShowTheNewState) {
  int clicks = 0;
  TCheckBox& check = Add<TCheckBox>(Host(), {10, 10, 110, 30}, "Check");
  TRadioButton& radio = Add<TRadioButton>(Host(), {10, 40, 110, 60}, "Radio");
  check.OnClick = radio.OnClick = [&](TObject*) { ++clicks; };
  HWND plainCheck = Plain("BUTTON", "Check", BS_AUTOCHECKBOX, {10, 10, 110, 30});
  HWND plainRadio = Plain("BUTTON", "Radio", BS_AUTORADIOBUTTON, {10, 40, 110, 60});
  Skin<TSkinCheckBox>(check);
  Skin<TSkinRadioButton>(radio);
  Skin<TSkinCheckBox>(plainCheck);
  Skin<TSkinRadioButton>(plainRadio);
  const struct {
    HWND window;
    bool framework;
    TSkinColour checked;
  } cases[] = {{check.Handle(), true, kCheck[1]},
               {radio.Handle(), true, kRadio[1]},
               {plainCheck, false, kCheck[1]},
               {plainRadio, false, kRadio[1]}};
  for (const auto& c : cases) {
    Click(c.window);
    EXPECT_EQ((c.framework ? clicks : 0) + TakeCommands(), 1);
    clicks = 0;
    EXPECT_EQ(SendMessageA(c.window, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Paint(c.window)->At(kBoxX, kBoxY), c.checked);
  }
  EXPECT_TRUE(check.Checked());
  EXPECT_TRUE(radio.Checked());
  Click(check.Handle());
  EXPECT_FALSE(check.Checked());
  EXPECT_EQ(Paint(check.Handle())->At(kBoxX, kBoxY), kCheck[0]);
}

TEST_F(SkinChecksTest, RadioGroupButtonsSkinnedAndExclusive) {
  TRadioGroup& group = Add<TRadioGroup>(Host(), {10, 10, 160, 110}, "Group");
  group.SetItems({"one", "two", "three"});
  group.SetItemIndex(0);
  int clicks = 0;
  group.OnClick = [&](TObject*) { ++clicks; };
  for (int i = 0; i < 3; ++i) Skin<TSkinRadioButton>(*group.Buttons(std::size_t(i)));
  Skin<TSkinGroupBox>(group, true);

  Click(group.Buttons(2)->Handle());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(group.ItemIndex(), 2);
  for (int i = 0; i < 3; ++i) {
    HWND w = group.Buttons(std::size_t(i))->Handle();
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(SendMessageA(w, BM_GETCHECK, 0, 0), i == 2 ? BST_CHECKED : BST_UNCHECKED) << i;
    EXPECT_EQ(Paint(w)->At(kBoxX, int(r.bottom) / 2), kRadio[i == 2 ? 1 : 0]) << i;
  }
  EXPECT_EQ(Paint(group.Handle())->At(100, 50), kFace);  // the group box is skinned too
}

}  // namespace
}  // namespace ctlskin
