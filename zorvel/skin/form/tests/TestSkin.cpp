#include "TestSkin.h"

#include "SkinPack.h"

namespace testskin {

std::string Bmp(const TSkinImage& image) {
  const std::vector<std::uint8_t> bytes = image.SaveToBmp();
  return std::string(bytes.begin(), bytes.end());
}

TSkinImage Strip(int w, int h, const std::vector<TSkinColour>& colours, bool vertical) {
  const int n = int(colours.size());
  TSkinImage image(vertical ? w : w * n, vertical ? h * n : h);
  for (int i = 0; i < n; ++i)
    image.Fill(vertical ? TSkinRect{0, i * h, w, (i + 1) * h} : TSkinRect{i * w, 0, (i + 1) * w, h}, colours[i]);
  return image;
}

std::string DescriptionText(Overrides ini, const Overrides& overrides) {
  for (const auto& [section, keys] : overrides)
    for (const auto& [key, value] : keys) {
      if (value.empty())
        ini[section].erase(key);
      else
        ini[section][key] = value;
    }
  std::string text;
  for (const auto& [section, keys] : ini) {
    text += "[" + section + "]\r\n";
    for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
  }
  return text;
}

namespace {

// The outer top corner of a side border keyed out in every frame.
void CutCorner(TSkinImage& image, int frameWidth, bool right) {
  for (int x0 = 0; x0 < image.Width(); x0 += frameWidth)
    for (int y = 0; y < kCorner; ++y)
      for (int i = 0; i < kCorner - y; ++i)
        image.SetPixel(right ? x0 + frameWidth - 1 - i : x0 + i, y, kSkinKeyColour);
}

}  // namespace

std::vector<std::uint8_t> Pack(const Overrides& overrides, const Images& images) {
  Overrides ini = {
      {"Personality",
       {{"Left", "left.bmp"},       {"LeftFrame", "2"},       {"LeftTopHeight", "28"},  {"LeftBotHeight", "6"},
        {"LeftStretch", "1"},       {"LeftTrans", "1"},       {"Right", "right.bmp"},   {"RightFrame", "2"},
        {"RightTopHeight", "28"},   {"RightBotHeight", "6"},  {"RightStretch", "1"},    {"RightTrans", "1"},
        {"Top", "top.bmp"},         {"TopFrame", "2"},        {"TopTopHeight", "10"},   {"TopBotHeight", "10"},
        {"TopStretch", "0"},        {"TopTrans", "1"},        {"Bottom", "bottom.bmp"}, {"BottomFrame", "2"},
        {"BottomTopHeight", "0"},   {"BottomBotHeight", "0"}, {"BottomStretch", "1"},   {"BottomTrans", "0"},
        {"TextShift", "20"},        {"TextRightClip", "60"},  {"menuBar", "menubar.bmp"},
        {"TileMenu", "1"},          {"TileLeftMenu", "2"},    {"TileRightMenu", "2"}}},
      {"Colours", {{"ButtonFace", "240 224 208"}, {"MenuText", "48 32 16"}, {"HilightText", "240 240 240"},
                   {"ButtonShadow", "48 32 16"}}},
      {"MenuItem", {{"Image", "menuitem.bmp"}, {"LeftWidth", "4"}, {"RightWidth", "4"}, {"TopHeight", "2"},
                    {"BottomHeight", "2"}, {"Tile", "0"}, {"Trans", "0"}}},
      {"Button.Close", {{"Action", "0"}, {"Align", "1"}, {"Xcoord", "24"}, {"Ycoord", "6"}, {"frame", "4"},
                        {"ButtonImage", "close.bmp"}}},
      {"Button.Max", {{"Action", "1"}, {"Align", "1"}, {"Xcoord", "44"}, {"Ycoord", "6"}, {"Visibility", "2"},
                      {"Visibility1", "6"}, {"frame", "4"}, {"ButtonImage", "max.bmp"}}},
      {"Button.Restore", {{"Action", "1"}, {"Align", "1"}, {"Xcoord", "44"}, {"Ycoord", "6"},
                          {"Visibility", "1"}, {"frame", "4"}, {"ButtonImage", "restore.bmp"}}},
      {"Button.Min", {{"Action", "2"}, {"Align", "1"}, {"Xcoord", "64"}, {"Ycoord", "6"}, {"Visibility", "8"},
                      {"frame", "4"}, {"ButtonImage", "min.bmp"}}},
      {"Button.Icon", {{"Action", "3"}, {"Align", "0"}, {"Xcoord", "8"}, {"Ycoord", "7"}}},
      {"Button.Custom", {{"Action", "40"}, {"Align", "0"}, {"Xcoord", "100"}, {"Ycoord", "6"},
                         {"Visibility", "1500"}, {"frame", "4"}, {"ButtonImage", "custom.bmp"}}},
      {"MenuBackground", {{"Image", "menubg.bmp"}, {"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"},
                          {"BottomHeight", "3"}, {"Tile", "0"}}},
      {"Button.Three", {{"Action", "41"}, {"Align", "0"}, {"Xcoord", "130"}, {"Ycoord", "6"}, {"frame", "3"},
                        {"ButtonImage", "three.bmp"}}},
  };
  const std::string text = DescriptionText(std::move(ini), overrides);

  TSkinImage left = Strip(kLeftWidth, 60, {kLeft[0], kLeft[1]}, false);
  CutCorner(left, kLeftWidth, false);
  TSkinImage right = Strip(kRightWidth, 60, {kRight[0], kRight[1]}, false);
  CutCorner(right, kRightWidth, true);
  auto button = [](int n, int frames) {
    return Bmp(Strip(kButtonWidth, kButtonHeight, std::vector<TSkinColour>(kButton[n], kButton[n] + frames), false));
  };
  TSkinImage menu(12, 12, kMenuRing);
  menu.Fill({3, 3, 9, 9}, kMenuCentre);
  std::vector<skinpack::Entry> entries = {
      {"menubg.bmp", Bmp(menu)},
      {"menubar.bmp", Bmp(Strip(16, 19, {kMenuBar[0], kMenuBar[1]}, true))},
      {"menuitem.bmp", Bmp(Strip(20, 10, std::vector<TSkinColour>(kMenuItem, kMenuItem + 5), false))},
      {"skin.ini", text},
      {"left.bmp", Bmp(left)},
      {"right.bmp", Bmp(right)},
      {"top.bmp", Bmp(Strip(40, kTopHeight, {kTop[0], kTop[1]}, true))},
      {"bottom.bmp", Bmp(Strip(40, kBottomHeight, {kBottom[0], kBottom[1]}, true))},
      {"close.bmp", button(kClose, 4)},
      {"max.bmp", button(kMaximize, 4)},
      {"restore.bmp", button(kRestore, 4)},
      {"min.bmp", button(kMinimize, 4)},
      {"custom.bmp", button(kCustom, 4)},
      {"three.bmp", button(kThree, 3)},
  };
  for (const auto& [name, image] : images) entries.push_back({name, Bmp(image)});
  return skinpack::PackArchive(entries);
}

}  // namespace testskin
