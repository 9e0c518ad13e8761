// The shipped skins, read from the folders that the build packs: every frame that a
// painter draws for a state the user must see holds a picture of that state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "SkinPack.h"
#include "WinSkinDataCore.h"

namespace {

struct Strip {
  const TSkinImage* image;
  int count;
  bool vertical = false;
};
Strip Of(const TDataSkinObject* e, bool vertical = false) {
  return e ? Strip{&e->Bitmap, e->FrameCount, vertical} : Strip{nullptr, 0};
}

// The pixels of frame k; `darkest` gets its darkest opaque one (0 black .. 255 white) or
// -1 when it is all key.
std::vector<TSkinColour> Frame(const Strip& s, int k, int& darkest) {
  const TSkinFrame f = SkinFrameRect(s.image->Width(), s.image->Height(), k, s.count, s.vertical);
  std::vector<TSkinColour> pixels;
  darkest = -1;
  for (int y = f.Y0; y < f.Y0 + f.FH; ++y)
    for (int x = f.X0; x < f.X0 + f.FW; ++x) {
      const TSkinColour c = pixels.emplace_back(s.image->Pixel(x, y));
      const int lum = int(299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * (c >> 16)) / 1000;
      if (c != kSkinKeyColour && (darkest < 0 || lum < darkest)) darkest = lum;
    }
  return pixels;
}

TSkinContent LoadFolder(int n) {
  const std::vector<std::uint8_t> packed = skinpack::PackArchive(
      skinpack::ReadFolder(std::string(ZV_SKINS_DIR) + "/SkinItem" + std::to_string(n) + "/"));
  TMemoryStream stream, text;
  stream.Write(packed.data(), packed.size());
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadFromStream(stream)) << n;
  std::string name;
  reader.FindEntry(".ini", text, name);
  TQuickIni ini;
  ini.LoadFromStream(&text);
  TSkinContent content;
  content.ReadSkinIni(reader, ini);
  return content;
}

using C = const TSkinContent&;
// One letter per frame from frame 1, each compared with the last "n" before it: "n" a
// normal picture, "." a frame no painter draws for a state of its own, "S" seen (not
// blank, unlike the normal one), "L" live (seen, and its ink not greyed: hot, pressed,
// focused, selected), "F" faded (seen, and its darkest ink paler: disabled).
const struct {
  const char* element;
  Strip (*strip)(C);
  const char* looks;
} kRows[] = {
    // clang-format off
    {"Buttons", [](C c) { return Of(c.Buttons.get()); }, "nLFLL"},
    {"Check", [](C c) { return Strip{&c.Buttons->CheckBitmap, c.Buttons->CheckButtonFrame}; }, "nSFF"},
    {"Radio", [](C c) { return Strip{&c.Buttons->RadioBitmap, c.Buttons->RadioButtonFrame}; }, "nSFF"},
    {"ComboButton", [](C c) { return Of(c.ComboButton.get()); }, "nLFL"},
    {"ComboxArrow", [](C c) { return Of(c.ComboxArrow.get()); }, "nLFL"},
    {"ExtraImages", [](C c) { return Of(c.ExtraImages.get()); }, "nLFLS"},
    {"MenuItem", [](C c) { return Of(c.MenuItem.get()); }, "nS.S."},
    {"MenuBar", [](C c) { return Of(c.MenuBar.get(), true); }, "nS"},
    {"Left", [](C c) { return Of(c.BorderLeft.get()); }, "nS"},
    {"Right", [](C c) { return Of(c.BorderRight.get()); }, "nS"},
    {"Top", [](C c) { return Of(c.BorderTop.get(), true); }, "nS"},
    {"Bottom", [](C c) { return Of(c.BorderBottom.get(), true); }, "nS"},
    {"Close", [](C c) { return Of(c.CaptionButtons[0].get()); }, "nSSS"},
    {"Max", [](C c) { return Of(c.CaptionButtons[1].get()); }, "nSSS"},
    {"Min", [](C c) { return Of(c.CaptionButtons[2].get()); }, "nSSS"},
    {"MDI minimize", [](C c) { return Of(c.CaptionButtons[4].get()); }, "nL.L"},
    {"MDI restore", [](C c) { return Of(c.CaptionButtons[5].get()); }, "nL.L"},
    {"MDI close", [](C c) { return Of(c.CaptionButtons[6].get()); }, "nL.L"},
    {"Tabs", [](C c) { return Of(c.Tabs.get()); }, "nS..."},
    {"Headerbar", [](C c) { return Of(c.Headerbar.get()); }, "nS..."},
    {"StatusBarEdges", [](C c) { return Of(c.StatusBarEdges.get()); }, "nSS"},
    {"Scrollbar", [](C c) { return Of(c.Scrollbar.get()); }, "nL.LnL.LnL.LnL.LnSSnSS."},
    {"HorzScroll", [](C c) { return Of(c.HorzScroll.get()); }, "n.F."},
    {"VertScroll", [](C c) { return Of(c.VertScroll.get()); }, "n.F."},
    {"HorzScrollThumb", [](C c) { return Of(c.HorzScrollThumb.get()); }, "nLL"},
    {"VertScrollThumb", [](C c) { return Of(c.VertScrollThumb.get()); }, "nLL"},
    {"UpDown.Horz", [](C c) { return Of(c.UpDownHorz.get()); }, "nLF.nLF."},
    {"UpDown.Vert", [](C c) { return Of(c.UpDownVert.get()); }, "nLF.nLF."},
    {"UpDown.Horz glyphs", [](C c) { return Strip{&c.UpDownHorz->Bitmap2, 8}; }, "n.F.n.F."},
    {"UpDown.Vert glyphs", [](C c) { return Strip{&c.UpDownVert->Bitmap2, 8}; }, "n.F.n.F."},
    {"Progress", [](C c) { return Of(c.Progress.get()); }, "nS"},
    // clang-format on
};

// A live state may lighten its ink a little (a hot caption button glows), never grey it.
constexpr int kLiveLighter = 32;

TEST(ShippedFrames, EveryStateThatIsDrawnShowsItsOwnPicture) {
  for (int n = 0; n < 5; ++n) {
    const TSkinContent skin = LoadFolder(n);
    for (const auto& r : kRows) {
      const Strip s = r.strip(skin);
      ASSERT_TRUE(s.image && s.count == int(std::strlen(r.looks))) << r.element;
      for (int k = 1, normal = 1; k <= s.count; ++k) {
        const char look = r.looks[k - 1];
        const std::string at =
            "SkinItem" + std::to_string(n) + " " + r.element + " frame " + std::to_string(k);
        if (look == 'n') normal = k;
        if (look == 'n' || look == '.') continue;
        int ink, was;
        const bool same = Frame(s, k, ink) == Frame(s, normal, was);
        EXPECT_GE(ink, 0) << at << " is blank";
        EXPECT_FALSE(same) << at << " is frame " << normal << "'s picture";
        if (ink < 0 || was < 0) continue;
        if (look == 'L') EXPECT_LE(ink, was + kLiveLighter) << at << " is greyed";
        if (look == 'F') EXPECT_GT(ink, was) << at << " is not greyed";
      }
    }
  }
}

}  // namespace
