#include "CheckTabSkin.h"

namespace ctlskin {

testskin::Overrides CheckTabKeys(const TStrips& strips, const testskin::Overrides& more) {
  testskin::Overrides keys = {
      {"Buttons", {{"CheckButton", "check.bmp"}, {"RadioButton", "radio.bmp"}}}};
  if (strips.Tabs) {
    keys["Tabs"] = {{"Image", "tabs.bmp"},
                    {"Border", "border.bmp"},
                    {"Style", "0"},
                    {"NormalColour2", RgbText(kTabText)},
                    {"MouseOverColour2", RgbText(kCurrentTabText)}};
    keys["Tab.Pane"] = {{"Image", "pane.bmp"}};
  }
  for (const auto& [section, values] : more)
    for (const auto& [key, value] : values) keys[section][key] = value;
  return keys;
}

testskin::Images CheckTabImages(const TStrips& strips) {
  TSkinImage tabs = testskin::Strip(20, 20, {kTab, kTab + 5}, false);
  for (int f = 0; f < 5; ++f) tabs.Fill({f * 20, 0, f * 20 + 3, 3}, kTabMark);
  TSkinImage border(20, 20, kPaneCentre);
  border.Fill({0, 0, 4, 20}, kPaneLeft);
  border.Fill({16, 0, 20, 20}, kPaneRight);
  border.Fill({4, 0, 16, 5}, kPaneTop);
  border.Fill({4, 16, 16, 20}, kPaneBottom);
  return {
      {"check.bmp", testskin::Strip(kBox, kBox, {kCheck, kCheck + strips.Check}, false)},
      {"radio.bmp", testskin::Strip(kBox, kBox, {kRadio, kRadio + strips.Radio}, false)},
      {"tabs.bmp", tabs},
      {"border.bmp", border},
      {"pane.bmp", TSkinImage(20, 20, kTabPane)},
  };
}

void CheckTabTest::SetUp() {
  ControlTest::SetUp();
  LoadCheckTabSkin();
}

void CheckTabTest::LoadCheckTabSkin(const TStrips& strips, const testskin::Overrides& more) {
  LoadSkin(CheckTabKeys(strips, more), CheckTabImages(strips));
}

void TabArrowsTest::TearDown() {
  NewTabUpDownSkinner = savedArrows_;
  CheckTabTest::TearDown();
}

TSkinControl* TabArrowsTest::CountArrows(TComponent* owner, bool) {
  ++arrowSkinners;
  return lastArrows = new TSkinControl(owner);
}

}  // namespace ctlskin
