// Which skinner a control gets: by framework kind and class name, by the host's list of
// classes, and by window class, each under the skin data's switches.
#include "DispatchRules.h"

#include <gtest/gtest.h>

namespace {

constexpr TSkinControlTypes kAll = kDefaultSkinControls | (1u << xcMenuItem);
TSkinControlTypes Without(TSkinControlType member) {
  TSkinControlTypes s = kAll;
  Exclude(s, member);
  return s;
}

TEST(DispatchRules, BuiltInRowsInTheirOrderUnderTheirSwitches) {
  using A = TDispatchAction;
  const struct {
    TControlFacts facts;
    TSkinControlTypes gates;
    A action;
    bool colour;
  } cases[] = {
      {{"TGroupBox", ckGroupBox}, kAll, A::GroupBoxAfterChildren, true},
      {{"TGroupBox", ckGroupBox}, Without(xcPanel), A::None, false},
      {{"TPanel", ckPanel}, kAll, A::BoxAfterChildren, true},
      {{"TListView", ckListView}, kAll, A::ListView, false},
      {{"TListView", ckListView}, Without(xcScrollbar), A::None, false},  // no skinner at all
      {{"TComboBox", ckComboBox}, kAll, A::ComBox, false},
      {{"TProgressBar", ckProgress}, kAll, A::Progress, false},
      {{"TButton", ckButton}, kAll, A::Button, false},
      {{"TBitBtn", ckButton | ckBitBtn}, kAll, A::BitButton, false},  // before the push button row
      {{"TEdit", ckEdit}, kAll, A::Edit, false},
      {{"TFrmChild", ckForm}, kAll, A::FormBox, true},
      {{"TMVCPanel", ckPanel}, kAll, A::Children, false},  // by name, before the panel row
      {{"TTabSet"}, kAll, A::None, false},                 // a skin without tabs
      {{.ClassName = "TTabSet", .SkinHasTabs = true}, kAll, A::Tab31, false},
      {{.ClassName = "TTabControl", .Kinds = ckTabControl, .SkinHasTabs = true, .TabHoldsControls = true},
       kAll,
       A::TabOverControls,
       false},
      {{.ClassName = "TTabControl", .Kinds = ckTabControl, .SkinHasTabs = true, .TabStyleTabs = false},
       kAll,
       A::TabBtn,
       false},
      {{.ClassName = "TTabControl", .Kinds = ckTabControl, .SkinHasTabs = true}, Without(xcTab), A::None, false},
      {{.ClassName = "TSomeGrid", .HasScrollBars = true}, kAll, A::Scrollbar, false},
      {{.ClassName = "TDCEdit", .NumButtons = 1}, kAll, A::ComBox, false},
      {{.ClassName = "TDCEdit", .NumButtons = 0}, kAll, A::EditOfWindow, false},
      {{.ClassName = "TDCEdit", .NumButtons = 2}, kAll, A::None, false},
      {{"TDBNavigator", ckPanel}, kAll, A::BoxThenChildren, true},
      {{"TRzCheckBox"}, kAll, A::ObjImage, true},
      {{"TUpDown"}, Without(xcSpin), A::None, false},
      {{"TMemoThing"}, kAll, A::None, false},
      {{"TToolBar", ckToolBar}, kAll, A::ToolBar, true},
      {{"TToolBar", ckToolBar}, Without(xcToolbar), A::None, false},
  };
  for (const auto& c : cases) {
    const TDispatch d = ChooseBuiltInSkinner(c.facts, c.gates);
    EXPECT_EQ(d.Action, c.action) << c.facts.ClassName << " " << c.facts.NumButtons;
    EXPECT_EQ(d.UseColour, c.colour) << c.facts.ClassName;
  }
}

TEST(DispatchRules, TheHostsListNamesClassesWithoutRegardToCase) {
  const std::vector<std::string> lines = {"TComboboxex=combobox", "TMyPanel=Panel", "TQuiet=nil",
                                          "TcxButton=bitbtn", "TMyPanel=button"};
  EXPECT_EQ(ThirdPartyKind(lines, "TCOMBOBOXEX"), "combobox");
  EXPECT_EQ(ThirdPartyKind(lines, "tmypanel"), "panel");  // the first line wins
  EXPECT_EQ(ThirdPartyKind(lines, "TCombobox"), "");      // the whole class name
  EXPECT_EQ(ThirdPartyKind(lines, "TQuiet"), "nil");

  using A = TThirdPartyAction;
  EXPECT_EQ(ChooseThirdPartySkinner("nil", "TQuiet", false, true, kAll), A::None);
  EXPECT_EQ(ChooseThirdPartySkinner("panel", "TMyPanel", false, true, kAll), A::TransparentPanel);
  EXPECT_EQ(ChooseThirdPartySkinner("combobox", "X", false, true, Without(xcCombo)), A::None);
  EXPECT_EQ(ChooseThirdPartySkinner("trackbar", "X", false, true, Without(xcTrackBar)), A::TransparentTrackBar);
  EXPECT_EQ(ChooseThirdPartySkinner("bitbtn", "TcxButton", true, true, kAll), A::CxDropDownButton);
  EXPECT_EQ(ChooseThirdPartySkinner("bitbtn", "TcxButton", false, true, kAll), A::BitButton);
  EXPECT_EQ(ChooseThirdPartySkinner("tab", "X", false, false, kAll), A::None);
  EXPECT_EQ(ChooseThirdPartySkinner("container", "X", false, false, 0), A::Children);
}

TEST(DispatchRules, PlainWindowsByClassAndStyle) {
  using A = TWindowAction;
  const struct {
    const char* name;
    unsigned style;
    A action;
  } cases[] = {
      {"Button", 0x0, A::Button},      {"Button", 0x7, A::None},        {"Button", 0x80, A::None},
      {"Button", 0xB, A::None},        {"Button", 0x3, A::CheckBox},    {"Button", 0x6, A::CheckBox},
      {"Button", 0x4, A::RadioButton}, {"Button", 0x9, A::RadioButton}, {"ComboBox", 0x1, A::None},
      {"ComboBox", 0x3, A::ComBox},    {"ScrollBar", 0x18, A::Sizer},   {"ScrollBar", 0x10001, A::None},
      {"#32770", 0x0, A::Dialog},      {"SysTabControl32", 0x2000, A::None}, {"Edit", 0, A::Edit},
      {"SysTreeView32", 0, A::None},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseWindowSkinner(c.name, c.style), c.action) << c.name << c.style;
}

}  // namespace
