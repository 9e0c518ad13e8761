// The range and edit skinner tests' skin: every strip of solid frames in colours of their own.
#pragma once

#include "ControlSkin.h"
#include "SkinPack.h"

namespace ctlskin {

constexpr TSkinColour kDkShadow = 0x00102030;
// Track: left margin, middle, right margin; TRACKVERT: top, middle, bottom.
constexpr TSkinColour kTrack[3] = {0x000090E0, 0x0000B000, 0x00B00000};
constexpr TSkinColour kTrackV[3] = {0x0030A0A0, 0x00A030A0, 0x00A0A030};
// Frame 2 of the horizontal and the vertical thumb (the others are black).
constexpr TSkinColour kThumb = 0x001060F0, kThumbV = 0x00F06010;
constexpr TSkinColour kUpDown[8] = {0x00100040, 0x00100080, 0x001000C0, 0x001000F0,
                                    0x00400010, 0x00800010, 0x00C00010, 0x00F00010};
constexpr TSkinColour kBar[2] = {0x00608030, 0x003080F0}, kChunk = 0x0080F080;
constexpr TSkinColour kSunk[4] = {0x00305000, 0x00306000, 0x00307000, 0x00308000};
constexpr TSkinColour kCombo[4] = {0x00005030, 0x00006030, 0x00007030, 0x00008030};
// The combo glyph of ExtraImages (frames 1 to 4; 5 is a size grip): a 2 x 2 dot, keyed around.
constexpr TSkinColour kGlyph[5] = {0x00E0E000, 0x00E0E010, 0x00E0E020, 0x00E0E030, 0x00E0E040};

class EditSkinTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    LoadEditSkin();
  }
  // The skin with description keys over its own (an empty Image drops an element).
  void LoadEditSkin(const testskin::Overrides& overrides = {}) {
    using testskin::Bmp, testskin::Strip;
    auto rgb = [](TSkinColour c) {
      return std::to_string(c & 0xFF) + " " + std::to_string((c >> 8) & 0xFF) + " " +
             std::to_string((c >> 16) & 0xFF);
    };
    auto image = [](const char* file) {
      return std::map<std::string, std::string>{{"Image", file}};
    };
    // clang-format off
    testskin::Overrides ini = {
        {"Colours", {{"ButtonFace", rgb(kFace)}, {"ButtonShadow", rgb(kShadow)},
                     {"ButtonDkShadow", rgb(kDkShadow)}}},
        {"Track", {{"Image", "track.bmp"}, {"LeftWidth", "3"}, {"RightWidth", "4"}}},
        {"TRACKVERT", {{"Image", "trackv.bmp"}, {"TopHeight", "3"}, {"BottomHeight", "4"}}},
        {"Trackbar.ThumbHorz", image("thumbh.bmp")}, {"Trackbar.ThumbVert", image("thumbv.bmp")},
        {"UpDown.Vert", image("updown.bmp")},
        {"Progress", {{"Bitmap", "bar.bmp"}, {"Style", "0"}}},
        {"Progress.Chunk", {{"Image", "chunk.bmp"}, {"Tile", "1"}}},
        {"SunkEdge", image("sunk.bmp")}, {"ComboButton", image("combo.bmp")},
        {"ExtraImages", image("extra.bmp")}};
    // clang-format on
    const auto bands = [](int w, int h, const TSkinColour(&c)[3], int a, int b, bool vertical) {
      TSkinImage i(w, h, c[1]);
      i.Fill(vertical ? TSkinRect{0, 0, w, a} : TSkinRect{0, 0, a, h}, c[0]);
      i.Fill(vertical ? TSkinRect{0, h - b, w, h} : TSkinRect{w - b, 0, w, h}, c[2]);
      return i;
    };
    TSkinImage extra = Strip(8, 8, {kGlyph, kGlyph + 5}, false);
    for (int x = 0; x < extra.Width(); ++x)
      for (int y = 0; y < 8; ++y)
        if (x % 8 < 3 || x % 8 > 4 || y < 3 || y > 4) extra.SetPixel(x, y, kSkinKeyColour);
    const std::vector<skinpack::Entry> entries = {
        {"skin.ini", testskin::DescriptionText(ini, overrides)},
        {"track.bmp", Bmp(bands(12, 4, kTrack, 3, 4, false))},
        {"trackv.bmp", Bmp(bands(4, 12, kTrackV, 3, 4, true))},
        {"thumbh.bmp", Bmp(Strip(8, 14, {0, kThumb, 0, 0, 0}, false))},
        {"thumbv.bmp", Bmp(Strip(14, 8, {0, kThumbV, 0, 0, 0}, false))},
        {"updown.bmp", Bmp(Strip(8, 8, {kUpDown, kUpDown + 8}, false))},
        {"bar.bmp", Bmp(Strip(10, 8, {kBar[0], kBar[1]}, false))},
        {"chunk.bmp", Bmp(Strip(3, 4, {kChunk}, false))},
        {"sunk.bmp", Bmp(Strip(8, 8, {kSunk, kSunk + 4}, false))},
        {"combo.bmp", Bmp(Strip(8, 8, {kCombo, kCombo + 4}, false))},
        {"extra.bmp", Bmp(extra)},
    };
    const std::vector<std::uint8_t> archive = skinpack::PackArchive(entries);
    data_->SkinStream.Clear();
    data_->SkinStream.Write(archive.data(), archive.size());
    ASSERT_TRUE(data_->LoadSkinStream());
  }
};

}  // namespace ctlskin
