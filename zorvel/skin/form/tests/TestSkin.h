// A packed test skin: a distinct solid colour per border, frame and button; magenta corners.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "SkinDraw.h"

namespace testskin {

// Colours (0x00BBGGRR) of the frames: [0] active, [1] inactive.
constexpr TSkinColour kLeft[2] = {0x000000C0, 0x00000060};
constexpr TSkinColour kRight[2] = {0x0000C000, 0x00006000};
constexpr TSkinColour kTop[2] = {0x00C00000, 0x00600000};
constexpr TSkinColour kBottom[2] = {0x00C0C000, 0x00606000};
constexpr TSkinColour kButtonFace = 0x00D0E0F0;
// The four frames of the close, maximize, restore, minimize and custom buttons, and the
// three of a three-frame button: each button's frame k has kButton[n][k - 1].
constexpr TSkinColour kButton[6][4] = {{0x00101080, 0x00202080, 0x00303080, 0x00404080},
                                        {0x00108010, 0x00208020, 0x00308030, 0x00408040},
                                        {0x00801010, 0x00802020, 0x00803030, 0x00804040},
                                        {0x00808010, 0x00808020, 0x00808030, 0x00808040},
                                        {0x00108080, 0x00208080, 0x00308080, 0x00408080},
                                        {0x00801080, 0x00802080, 0x00803080, 0x00803080}};
enum Button { kClose, kMaximize, kRestore, kMinimize, kCustom, kThree };
// The menu bar's two frames (active, inactive), stacked.
constexpr TSkinColour kMenuBar[2] = {0x00C0E0C0, 0x00809080};
// The popup-menu background: a 3-pixel ring around the centre.
constexpr TSkinColour kMenuRing = 0x00305070, kMenuCentre = 0x00E0F0F8;
// The menu item strip's five frames (1 normal, 2 separator, 4 selected), each 20 x 10,
// with a left margin of 4; the menu texts.
constexpr TSkinColour kMenuItem[5] = {0x00F0E0D0, 0x00203040, 0x00A0A0A0, 0x00804020, 0x00B0B0B0};
constexpr TSkinColour kMenuText = 0x00102030, kHilightText = 0x00F0F0F0, kShadow = 0x00102030;

// Border sizes: left 6, top 30, right 6, bottom 8. Buttons are 16 x 14.
constexpr int kLeftWidth = 6, kTopHeight = 30, kRightWidth = 6, kBottomHeight = 8;
constexpr int kButtonWidth = 16, kButtonHeight = 14;
// The magenta corner cut from the left and right borders' tops: a triangle whose rows
// are 3, 2 and 1 pixels long.
constexpr int kCorner = 3;

// Description keys over the defaults: section -> key -> value (empty: key removed).
using Overrides = std::map<std::string, std::map<std::string, std::string>>;

// Images a test adds to the archive under their names.
using Images = std::vector<std::pair<std::string, TSkinImage>>;

// The packed skin archive.
std::vector<std::uint8_t> Pack(const Overrides& overrides = {}, const Images& images = {});

// Building blocks: `ini` with `overrides` applied, an image as a bitmap file, and frames
// of w x h side by side (or stacked), each in its own colour.
std::string DescriptionText(Overrides ini, const Overrides& overrides);
std::string Bmp(const TSkinImage& image);
TSkinImage Strip(int w, int h, const std::vector<TSkinColour>& colours, bool vertical);

}  // namespace testskin
