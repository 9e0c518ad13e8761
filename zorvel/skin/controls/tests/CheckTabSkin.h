// The control test skin plus check, radio and tab strips, each frame a solid colour.
#pragma once

#include <utility>

#include "ControlSkin.h"
#include "SkinTabs.h"
#include "TestSkin.h"

namespace ctlskin {

// Frames of the check strip (12) and the radio strip (8), 13 x 13 each; a skin uses the
// first 4, or all of them.
constexpr TSkinColour kCheck[12] = {0x00100080, 0x00200080, 0x00300080, 0x00400080,
                                    0x00500080, 0x00600080, 0x00700080, 0x00800080,
                                    0x00900080, 0x00A00080, 0x00B00080, 0x00C00080};
constexpr TSkinColour kRadio[8] = {0x00801000, 0x00802000, 0x00803000, 0x00804000,
                                   0x00805000, 0x00806000, 0x00807000, 0x00808000};
constexpr int kBox = 13;
// Tabs: five 20 x 20 frames (1 a tab, 2 the current one), each with a black 3 x 3 mark
// at its top-left; the texts of other tabs and of the current one.
constexpr TSkinColour kTab[5] = {0x00C08040, 0x0040C080, 0x00404040, 0x00505050, 0x00606060};
constexpr TSkinColour kTabMark = 0x00000000;
constexpr TSkinColour kTabText = 0x000000FF, kCurrentTabText = 0x00FFFF00;
// The pane ("Border" of Tabs): a 20 x 20 picture whose edges (left 4, top 5, right 4,
// bottom 4 pixels, the margins the pane is drawn with) each have a colour of their own.
constexpr TSkinColour kPaneLeft = 0x00108010, kPaneTop = 0x00801080, kPaneRight = 0x00101080,
                      kPaneBottom = 0x00808010, kPaneCentre = 0x00E0E0E0;
// The Tab.Pane picture (Style 1): one colour.
constexpr TSkinColour kTabPane = 0x00304050;

struct TStrips {
  int Check = 4, Radio = 4;
  bool Tabs = true;
};

// The description keys and images of that skin, over the control test skin's.
testskin::Overrides CheckTabKeys(const TStrips& strips = {}, const testskin::Overrides& more = {});
testskin::Images CheckTabImages(const TStrips& strips = {});

class CheckTabTest : public ControlTest {
 protected:
  void SetUp() override;
  void LoadCheckTabSkin(const TStrips& strips = {}, const testskin::Overrides& more = {});
};

// Tab arrows stay unskinned unless a test sets NewTabUpDownSkinner to CountArrows.
class TabArrowsTest : public CheckTabTest {
 protected:
  void TearDown() override;
  static TSkinControl* CountArrows(TComponent* owner, bool horizontal);  // a bare skinner
  static inline int arrowSkinners = 0;
  static inline TSkinControl* lastArrows = nullptr;
  decltype(NewTabUpDownSkinner) savedArrows_ = std::exchange(NewTabUpDownSkinner, nullptr);
};

}  // namespace ctlskin
