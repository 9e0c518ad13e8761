#include "DispatchRules.h"

#include <algorithm>
#include <initializer_list>

#include "SkinRead.h"

namespace {

bool NameIs(const std::string& upper, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return upper == n; });
}

}  // namespace

TDispatch ChooseBuiltInSkinner(const TControlFacts& c, TSkinControlTypes g) {
  const std::string name = SkinUpperCase(c.ClassName);
  auto is = [&](unsigned kind) { return (c.Kinds & kind) != 0; };
  auto on = [&](TSkinControlType member) { return InSet(g, member); };
  using A = TDispatchAction;
  const bool tabs = on(xcTab) && c.SkinHasTabs;

  if (is(ckTabControl) && tabs)
    return {!c.TabStyleTabs ? A::TabBtn : c.TabHoldsControls ? A::TabOverControls : A::Tab};
  if (name == "TTABSET" && tabs) return {A::Tab31};
  if (is(ckTabSheet) && tabs) return {A::TabSheet};
  if (name == "TTABBEDNOTEBOOK" && tabs) return {A::Tab};
  if (name == "TMVCPANEL") return {A::Children};
  if (is(ckHeader) && on(xcPanel)) return {A::Header};
  if (is(ckCheckBox) && on(xcCheckBox)) return {A::CheckBox};
  if (is(ckTrackBar) && on(xcTrackBar)) return {A::TrackBar};
  if (NameIs(name, {"TUPDOWN", "TSPINBUTTON"}) && on(xcSpin)) return {A::UpDown};
  if (name == "TMEDIAPLAYER" && on(xcButton)) return {A::MediaPlayer};
  if (is(ckRadioGroup) && on(xcRadioButton)) return {A::RadioGroup, 0, true};
  if (name == "TDBNAVIGATOR" && on(xcPanel)) return {A::BoxThenChildren, 0, true};
  if (NameIs(name, {"TRZDBCHECKBOX", "TRZCHECKBOX"}) && on(xcCheckBox)) return {A::ObjImage, 1, true};
  if (NameIs(name, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && on(xcRadioButton)) return {A::ObjImage, 2, true};
  if (NameIs(name, {"TCXDBCHECKBOX", "TCXCHECKBOX"}) && on(xcCheckBox)) return {A::ObjImage, 3, true};
  // With the colour flag, as the host's "groupbox" kind has it: the labels on a group box
  // paint with the box's own colour, which would stay the system's under the skin's face.
  if (is(ckGroupBox) && on(xcPanel)) return {A::GroupBoxAfterChildren, 0, true};
  if (is(ckRadioButton) && on(xcRadioButton)) return {A::RadioButton};
  if (is(ckToolBar) && on(xcToolbar)) return {A::ToolBar, 0, true};
  if (is(ckStatusBar) && on(xcStatusBar)) return {A::StatusBar};
  if (is(ckProgress) && on(xcProgress)) return {A::Progress};
  if (is(ckScrollBar) && on(xcScrollbar)) return {A::ScControl};
  if (name == "TTNTCOMBOBOX" && on(xcCombo)) return {A::ComBox};
  if (is(ckComboBox) && on(xcCombo)) return {A::ComBox};
  if (is(ckDateTime) && on(xcEdit)) return {c.EditLike ? A::Edit : A::DateTime};
  if (on(xcScrollbar) && NameIs(name, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"})) return {A::Scrollbar};
  if (is(ckBitBtn) && on(xcBitBtn)) return {A::BitButton};
  if (is(ckSpeedButton) && on(xcSpeedButton)) return {A::SpeedButton};
  if (is(ckPanel) && on(xcPanel)) return {A::BoxAfterChildren, 0, true};
  if (NameIs(name, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && on(xcScrollbar)) return {A::Scrollbar};
  if (is(ckListView) && on(xcScrollbar)) return {A::ListView};
  if ((is(ckMemo) || is(ckScrollBox)) && on(xcScrollbar)) return {A::Scrollbar};
  if (on(xcScrollbar) && c.Windowed && c.HasScrollBars) return {A::Scrollbar};
  if (is(ckButton) && on(xcButton)) return {A::Button};
  if (is(ckEdit) && on(xcEdit)) return {A::Edit};
  if (NameIs(name, {"TDCEDIT", "TDCDBEDIT"})) {
    if (c.NumButtons == 1 && on(xcCombo)) return {A::ComBox};
    if (c.NumButtons == 0 && on(xcEdit)) return {A::EditOfWindow};
    return {};
  }
  if (is(ckForm)) return {A::FormBox, 0, true};
  return {};
}

std::string ThirdPartyKind(const std::vector<std::string>& lines, const std::string& className) {
  // Asked for every control a form has: only each line's head is lower-cased.
  const std::string prefix = SkinLowerCase(className) + "=";
  for (const std::string& line : lines)
    if (SkinLowerCase(line.substr(0, prefix.size())) == prefix)
      return SkinLowerCase(line.substr(prefix.size(), 50));
  return {};
}

TThirdPartyAction ChooseThirdPartySkinner(const std::string& kind, const std::string& className, bool dropDownKind,
                                          bool skinHasTabs, TSkinControlTypes g) {
  using A = TThirdPartyAction;
  auto on = [&](TSkinControlType member) { return InSet(g, member); };
  struct Row {
    const char* kind;
    bool gate;
    A action;
  };
  const Row rows[] = {
      {"combobox", on(xcCombo), A::ComBox},
      {"edit", on(xcEdit), A::BorderedEdit},
      {"radiobutton", on(xcRadioButton), A::RadioButton},
      {"panel", on(xcPanel), A::TransparentPanel},
      {"trackbar", on(xcButton), A::TransparentTrackBar},
      {"button", on(xcButton), A::Button},
      {"datetimepicker", on(xcCombo), A::DateTime},
      {"mediaplayer", on(xcButton), A::MediaPlayer},
      {"bitbtn", on(xcButton),
       SkinLowerCase(className) == "tcxbutton" && dropDownKind ? A::CxDropDownButton : A::BitButton},
      {"pngbitbtn", on(xcButton), A::PngBitButton},
      {"menubtn", on(xcButton), A::MenuButton},
      {"speedbutton", on(xcSpeedButton), A::SpeedButton},
      {"tab", on(xcTab) && skinHasTabs, A::Tab},
      {"progress", on(xcProgress), A::Progress},
      {"scrollbar", on(xcScrollbar), A::ScrollbarAndChildren},
      {"singlescrollbar", on(xcScrollbar), A::SingleScrollbar},
      {"embedscrollbar", on(xcScrollbar), A::EmbedScrollbar},
      {"container", true, A::Children},
      {"groupbox", on(xcGroupBox), A::GroupBox},
      {"advpagecontrol", on(xcTab), A::AdvPage},
      {"radiogroup", on(xcGroupBox), A::RadioGroup},
      {"checkgroup", on(xcPanel), A::CheckGroup},
      {"checkbox", on(xcCheckBox), A::CheckBox},
  };
  // "nil" and kinds without a row leave the control alone; a row whose switch is off
  // does too (no later row is tried).
  for (const Row& row : rows)
    if (kind == row.kind) return row.gate ? row.action : A::None;
  return A::None;
}

TWindowAction ChooseWindowSkinner(const std::string& className, unsigned style) {
  const std::string name = SkinLowerCase(className);
  using A = TWindowAction;
  auto has = [style](unsigned bits) { return (style & bits) == bits; };
  if (name == "button") {
    if (has(0xB)) return A::None;  // owner-drawn
    if (has(7) || has(0x80)) return A::None;
    if (has(3) || has(2) || has(5)) return A::CheckBox;
    if (has(9) || has(4)) return A::RadioButton;
    return A::Button;
  }
  if (name == "combobox") return (style & 3) == 1 ? A::None : A::ComBox;
  if (name == "comboboxex32") return A::FirstChildComBox;
  if (name == "scrollbar") return style & 0x10000 ? A::None : A::Sizer;
  if (name == "#32770") return style & 0x10000 ? A::None : A::Dialog;
  if (name == "tpanel" || name == "ttntpanel.unicodeclass" || name == "ttntsilentpaintpanel.unicodeclass")
    return A::Panel;
  if (name == "tcheckbox") return A::CheckBox;
  if (name == "tcombobox") return A::ComBox;
  if (name == "tbutton") return A::Button;
  if (name == "tprogressbar") return A::Progress;
  if (name == "tsilentpaintpanel") return A::SilentPanel;
  if (name == "systabcontrol32") return style & 0x2000 ? A::None : A::Tab;
  if (name == "edit") return A::Edit;
  return A::None;  // systreeview32, toolbarwindow32 and every class not named
}
