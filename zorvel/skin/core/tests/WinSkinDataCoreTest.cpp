// Reading a skin into colours and elements: the shipped skins and the pictures of their
// states, the documented defaults and clamps, derived images, and hostile descriptions.
#include "WinSkinDataCore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "ImgUtil.h"
#include "SkinPack.h"

namespace {

std::string Bmp(int w, int h, TSkinColour fill = 0x336699) {
  TSkinImage img(w, h, fill);
  auto bytes = img.SaveToBmp();
  return std::string(bytes.begin(), bytes.end());
}

// A skin archive of a description and named members, read back into a content.
struct Loaded {
  TSkinReader reader;
  TQuickIni ini;
  TSkinContent content;
};

std::unique_ptr<Loaded> LoadSkin(const std::string& description, std::vector<skinpack::Entry> members = {}) {
  members.insert(members.begin(), {"skin.ini", description});
  auto packed = skinpack::PackArchive(members);
  TMemoryStream stream;
  stream.Write(packed.data(), packed.size());
  auto l = std::make_unique<Loaded>();
  EXPECT_TRUE(l->reader.LoadFromStream(stream));
  TMemoryStream text;
  std::string name;
  l->reader.FindEntry(".ini", text, name);
  l->ini.LoadFromStream(&text);
  l->content.LoadResourceImage = [](const std::string& resource, TSkinBitmap& image) {
    image.SetSize(resource == "TRACK" ? 16 : 4, resource == "TRACK" ? 4 : 16, 0x00C0C0C0);
  };
  l->content.ReadSkinIni(l->reader, l->ini);
  return l;
}

TEST(ParseSkinColour, Table) {
  const struct {
    const char* text;
    TSkinColour expected;
  } cases[] = {
      {"244 244 244", 0xF4F4F4},
      {"10 20 30", 0x1E140A},
      {"10 20", 0x00000A},  // the second number has no separator after it
      {"1,2,3,4", 0x030201},
      {"  7;8;9  ", 0x090807},
      {"", 0},
      {"no digits", 0},
      {"256 0 0", 0},  // only the low 8 bits
      {"99999999999 5 6 7", 0x000000},  // the long run never converts and keeps growing
      {"1 99999999999 2", 0x000001},
      {"r=255, g=128, b=0", 0x0080FF},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSkinColour(c.text), c.expected) << c.text;
}

TEST(SkinExtractFileName, PathsAndTwoByteCharacters) {
  EXPECT_EQ(SkinExtractFileName("skins\\Frame.bmp"), "Frame.bmp");
  EXPECT_EQ(SkinExtractFileName("c:/a/b.bmp"), "b.bmp");
  EXPECT_EQ(SkinExtractFileName("frame.bmp"), "frame.bmp");
  // "\x95\x5C" is one character of code page 936 whose trail byte is "\".
  EXPECT_EQ(SkinExtractFileName("\x95\x5C.bmp"), "\x95\x5C.bmp");
}

TEST(SkinContentLoad, ImageValuesAndPaths) {
  auto l = LoadSkin(
      "[Progress.Chunk]\r\nImage=Frame.BMP\r\n[GroupBoxEdge]\r\nImage=skins\\Frame.bmp\r\n"
      "[StatusBarEdges]\r\nImage=missing.bmp\r\n[Headerbar]\r\nImage=frame.png\r\n",
      {{"frame.bmp", Bmp(8, 4)}});
  const TSkinContent& c = l->content;
  ASSERT_TRUE(c.ProgressChunk);
  EXPECT_TRUE(c.ProgressChunk->Bitmap.Empty()) << "upper-case extension";
  ASSERT_TRUE(c.GroupBoxEdge);
  EXPECT_EQ(c.GroupBoxEdge->Bitmap.Width(), 8) << "path dropped";
  ASSERT_TRUE(c.StatusBarEdges);
  EXPECT_TRUE(c.StatusBarEdges->Bitmap.Empty());
  ASSERT_TRUE(c.Headerbar);
  EXPECT_TRUE(c.Headerbar->Bitmap.Empty());
  EXPECT_FALSE(c.MenuItem) << "no section, no element";
}

TEST(SkinContentLoad, CaptionButtons) {
  auto l = LoadSkin(
      "[Button5]\r\nButtonImage=b57.bmp\r\nAction=1\r\n"
      "[Button6]\r\nButtonImage=b120.bmp\r\nAction=2\r\n"
      "[Button8]\r\nButtonImage=b57.bmp\r\nAction=-1\r\nVisibility=0\r\n"
      "[Button7]\r\nButtonImage=b57.bmp\r\nAction=-1\r\n"
      "[BUTTONS]\r\nBitmap=b57.bmp\r\n[Button.Radio]\r\nImage=b57.bmp\r\n[Button.CheckBox]\r\n"
      "[Button]\r\n[ButtonSys]\r\nAction=3\r\nButtonImage=b57.bmp\r\n"
      "[ButtonFixed]\r\nAction=11\r\nframe=2\r\nButtonImage=b57.bmp\r\n"
      "[ButtonNeg]\r\nframe=-3\r\nButtonImage=b120.bmp\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n",
      {{"b57.bmp", Bmp(57, 19)}, {"b120.bmp", Bmp(120, 18)}, {"mdi.bmp", Bmp(120, 10)}});
  const auto& b = l->content.CaptionButtons;
  ASSERT_EQ(b.size(), 6u + 3u);
  const struct {
    const char* name;
    int frames;
    bool imageEmpty;
    int visibility1;
  } expected[] = {
      {"BUTTON5", 3, false, 0},      // 57 / 19 = 3.0
      {"BUTTON6", 6, false, 0},      // 120 / 18 = 6.67
      {"BUTTON8", 6, false, -1},     // Action -1 is always 6
      {"BUTTONSYS", 3, true, 0},     // counted from the image, then cleared for the window icon
      {"BUTTONFIXED", 2, false, 0},  // a given frame count keeps the image
      {"BUTTONNEG", 6, false, 0},    // a negative count counts as not given
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(b[i]->Name, expected[i].name);
    EXPECT_EQ(b[i]->FrameCount, expected[i].frames) << expected[i].name;
    EXPECT_EQ(b[i]->Bitmap.Empty(), expected[i].imageEmpty) << expected[i].name;
    EXPECT_EQ(b[i]->Visibility1, expected[i].visibility1) << expected[i].name;
    EXPECT_EQ(b[i]->CombineOp, -1);
  }
  // The three MDI buttons cut from a 120-pixel strip: a = 10.
  const int xs[] = {42, 28, 14};
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& m = *b[6 + static_cast<std::size_t>(i)];
    EXPECT_EQ(m.Action, 7 + i);
    EXPECT_EQ(m.Align, 100);
    EXPECT_EQ(m.Visibility, 100);
    EXPECT_EQ(m.FrameCount, 4);
    EXPECT_EQ(m.Xcoord, xs[i]);
    EXPECT_EQ(m.Bitmap.Width(), 40);
  }
}

TEST(SkinContentLoad, DefaultsAndClamps) {
  auto l = LoadSkin(
      "[Colours]\r\nButtonFace=244 244 244\r\nButtonText=\r\n"
      "[Tab.Pane]\r\nImage=e.bmp\r\nLeftWidth=9\r\nTopHeight=2\r\n"
      "[ToolBars]\r\nImage=e.bmp\r\nTile=5\r\n"
      "[Progress]\r\nBitmap=e.bmp\r\nTile=5\r\nStyle=1\r\n"
      "[Buttons]\r\nBitmap=e.bmp\r\nTile=3\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
      "NormalColour2=1 2 3\r\n"
      "[Personality]\r\nmenuBar=e.bmp\r\nTileMenu=4\r\nTop=e.bmp\r\nTopStretch=7\r\nLeftTopHeight=28\r\n"
      "ActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\nInActiveTextR=9\r\n",
      {{"e.bmp", Bmp(30, 12)}, {"check.bmp", Bmp(52, 13)}, {"radio.bmp", Bmp(64, 16)}});
  const TSkinContent& c = l->content;
  EXPECT_EQ(c.ButtonFaceColour, 0xF4F4F4u);
  EXPECT_EQ(c.ButtonTextColour, SkinSysColour(18)) << "an empty value keeps the system colour";
  EXPECT_EQ(c.MenubarColour, 0xF4F4F4u) << "Menubar defaults to the face just read";
  EXPECT_EQ(c.ButtonlightColour, SkinSysColour(20));
  ASSERT_TRUE(c.TabPane);
  EXPECT_EQ(c.TabPane->Margins, (TSkinMargins{4, 2, 0, 0}));
  EXPECT_EQ(c.ToolBars->Tile, 0) << "generic reader: above 1 becomes 0";
  EXPECT_EQ(c.Progress->Tile, 1) << "progress reader: above 1 becomes 1";
  EXPECT_EQ(c.Progress->FrameCount, 1) << "Style 1";
  EXPECT_EQ(c.Buttons->Tile, 0);
  EXPECT_EQ(c.MenuBar->Tile, 1);
  EXPECT_EQ(c.MenuBar->Margins, (TSkinMargins{1, 0, 1, 0}));
  EXPECT_EQ(c.BorderTop->Tile, 1);
  EXPECT_EQ(c.BorderTop->FrameCount, 1);
  EXPECT_EQ(c.BorderTop->Trans, 1);
  EXPECT_EQ(c.BorderLeft->Margins, (TSkinMargins{0, 28, 0, 0}));
  EXPECT_TRUE(c.Buttons->HasNormalColour2);
  EXPECT_FALSE(c.Buttons->HasPressedColour2);
  EXPECT_EQ(c.Buttons->NormalColour2, 0x030201u);
  EXPECT_EQ(c.Buttons->PressedColour2, c.ButtonTextColour);
  EXPECT_EQ(c.Buttons->CheckButtonFrame, 4) << "52 / 13";
  EXPECT_EQ(c.Buttons->RadioButtonFrame, 4) << "64 / 16";
  EXPECT_EQ(c.Title->ActiveText, 0x030201u);
  EXPECT_EQ(c.Title->InActiveText, 0x1FFFFFFFu) << "one channel only: not given";
  EXPECT_EQ(c.Title->FontHeight, 14);
  // No [Track]: the built-in image with margins 3.
  ASSERT_TRUE(c.Track);
  EXPECT_EQ(c.Track->Bitmap.Width(), 16);
  EXPECT_EQ(c.Track->Margins, (TSkinMargins{3, 3, 3, 3}));
  EXPECT_EQ(c.TrackVert->Bitmap.Height(), 16);
}

TEST(SkinContentLoad, FixedFrameCounts) {
  std::string text;
  const char* sections[] = {"Progress.Chunk", "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane",
                            "ToolBars", "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar",
                            "HorzScroll", "VertScroll", "HorzScrollThumb",
                            "Trackbar.ThumbHorz", "UpDown.Horz", "Track"};
  for (const char* s : sections) text += std::string("[") + s + "]\r\nImage=e.bmp\r\nFrame=9\r\n";
  text += "[VertScrollThumb]\r\nImage=e.bmp\r\nFrameCount=7\r\n";
  auto l = LoadSkin(text, {{"e.bmp", Bmp(40, 10)}});
  const TSkinContent& c = l->content;
  const struct {
    const char* what;
    const TDataSkinObject* e;
    int frames;
  } cases[] = {
      {"Buttons", c.Buttons.get(), 5},       {"Title", c.Title.get(), 2},
      {"GroupBoxEdge", c.GroupBoxEdge.get(), 2}, {"GroupBox", c.GroupBox.get(), 1},
      {"Tabs", c.Tabs.get(), 5},             {"StatusBarEdges", c.StatusBarEdges.get(), 3},
      {"Tab.Pane", c.TabPane.get(), 1},      {"ToolBars", c.ToolBars.get(), 5},
      {"ExtraImages", c.ExtraImages.get(), 5}, {"Headerbar keeps its Frame", c.Headerbar.get(), 9},
      {"MenuItem", c.MenuItem.get(), 5},     {"MenuBackground", c.MenuBackground.get(), 1},
      {"Scrollbar", c.Scrollbar.get(), 23},  {"HorzScroll", c.HorzScroll.get(), 4},
      {"HorzScrollThumb default", c.HorzScrollThumb.get(), 3},
      {"VertScrollThumb given", c.VertScrollThumb.get(), 7}, {"ThumbHorz", c.ThumbHorz.get(), 5},
      {"UpDownHorz", c.UpDownHorz.get(), 8}, {"ProgressChunk keeps Frame", c.ProgressChunk.get(), 9},
      {"Track keeps Frame", c.Track.get(), 9}, {"ToolbarGradient", c.ToolbarGradient.get(), 1},
  };
  for (const auto& k : cases) {
    ASSERT_NE(k.e, nullptr) << k.what;
    EXPECT_EQ(k.e->FrameCount, k.frames) << k.what;
  }
  EXPECT_EQ(c.ToolbarGradient->Bitmap.Width(), 10);
  EXPECT_EQ(c.ToolbarGradient->Bitmap.Height(), 40);
}

TEST(SkinContentLoad, ComboArrowWithoutSunkEdgeTakesTheFaceColour) {
  TSkinImage button(34, 17, kSkinKeyColour);
  button.Fill({5, 5, 10, 10}, 0x0000FF);
  auto bytes = button.SaveToBmp();
  auto l = LoadSkin("[Colours]\r\nButtonFace=1 2 3\r\n[ComboButton]\r\nImage=c.bmp\r\n",
                    {{"c.bmp", std::string(bytes.begin(), bytes.end())}});
  const TSkinContent& c = l->content;
  ASSERT_TRUE(c.ComboxArrow);
  EXPECT_EQ(c.ComboxArrow->Bitmap.Pixel(0, 0), 0x030201u);
  EXPECT_EQ(c.ComboxArrow->Bitmap.Pixel(6, 6), 0x0000FFu);
  EXPECT_EQ(c.ComboxArrow->FrameCount, 4);
  // The mirrored second image.
  EXPECT_EQ(c.ComboButton->Bitmap2.Pixel(33 - 6, 6), 0x0000FFu);
}

TEST(SkinContentLoad, ComboStripWithSunkEdge) {
  auto l = LoadSkin(
      "[SunkEdge]\r\nImage=s.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
      "[ComboButton]\r\nImage=c.bmp\r\n",
      {{"s.bmp", Bmp(80, 21, 0xFFFFFF)}, {"c.bmp", Bmp(76, 21, 0x00FF00)}});
  const TSkinContent& c = l->content;
  const int bw = c.ScrollBarWidth + 2;
  ASSERT_TRUE(c.ComboButton);
  EXPECT_EQ(c.ComboButton->Style, 2);
  EXPECT_EQ(c.ComboButton->Bitmap.Width(), 200);
  EXPECT_EQ(c.ComboButton->Bitmap.Height(), 21);
  EXPECT_EQ(c.ComboButton->Margins, (TSkinMargins{2, 2, bw + 2, 2}));
  // Each 50-wide tile: edge, the button on the right, the inside cleared to magenta.
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(c.ComboButton->Bitmap.Pixel(50 * k + 10, 10), kSkinKeyColour);
    EXPECT_EQ(c.ComboButton->Bitmap.Pixel(50 * k + 49 - 3, 10), 0x00FF00u);
    EXPECT_EQ(c.ComboButton->Bitmap.Pixel(50 * k, 0), 0xFFFFFFu);
  }
  // SunkEdge is the strip mirrored: the button lies at the left of each tile.
  EXPECT_EQ(c.SunkEdge->Bitmap.Pixel(3, 10), 0x00FF00u);
  EXPECT_EQ(c.SunkEdge->Margins.Left, bw + 2);
  EXPECT_EQ(c.SunkEdge->Margins.Right, 2);
  ASSERT_TRUE(c.ComboxArrow);
  EXPECT_EQ(c.ComboxArrow->Bitmap.Width(), 68);
  EXPECT_EQ(c.ComboxArrow->Bitmap.Height(), 17);
  EXPECT_EQ(c.ComboxArrow->FrameCount, 4);
  EXPECT_EQ(c.ComboxArrow->Bitmap.Pixel(8, 8), 0x00FF00u);
}

TEST(SkinContentLoad, HostileDescriptionsDoNotCrash) {
  // A bitmap header that claims a huge size, another cut short.
  std::string huge = Bmp(4, 4);
  huge[18] = '\xFF';
  huge[19] = '\xFF';
  huge[20] = '\xFF';
  huge[21] = '\x7F';
  std::string cut = Bmp(20, 20).substr(0, 100);
  auto l = LoadSkin(
      "[Personality]\r\nTop=huge.bmp\r\nTopFrame=0\r\nLeft=e.bmp\r\nLeftFrame=-5\r\nLeftTopHeight=-7\r\n"
      "Bottom=cut.bmp\r\nBottomFrame=99999\r\n"
      "[Track]\r\nImage=e.bmp\r\nFrame=0\r\nLeftWidth=-3\r\n"
      "[Headerbar]\r\nImage=e.bmp\r\nFrame=-2\r\n"
      "[SunkEdge]\r\nImage=nothere.bmp\r\n[ComboButton]\r\nImage=nothere.bmp\r\n"
      "[HorzScrollThumb]\r\nImage=e.bmp\r\nFrameCount=-1\r\n"
      "[MDICONTROLS]\r\nImage=tiny.bmp\r\n"
      "[Buttons]\r\nCheckButton=e.bmp\r\nCheckButtonFrame=-4\r\n"
      "[Progress.Chunk]\r\nImage=e.bmp\r\nTopHeight=2147483647\r\nBottomHeight=2147483647\r\n",
      {{"e.bmp", Bmp(6, 6)}, {"huge.bmp", huge}, {"cut.bmp", cut}, {"tiny.bmp", Bmp(5, 3)}});
  const TSkinContent& c = l->content;
  EXPECT_TRUE(c.BorderTop->Bitmap.Empty());
  EXPECT_TRUE(c.BorderBottom->Bitmap.Empty());
  EXPECT_EQ(c.BorderTop->FrameCount, 1);
  EXPECT_EQ(c.BorderLeft->FrameCount, 1);
  EXPECT_EQ(c.BorderLeft->Margins.Top, 0);
  EXPECT_EQ(c.Track->FrameCount, 1);
  EXPECT_EQ(c.Track->Margins.Left, 0);
  EXPECT_EQ(c.Headerbar->FrameCount, 1);
  EXPECT_EQ(c.HorzScrollThumb->FrameCount, 1);
  EXPECT_EQ(c.Buttons->CheckButtonFrame, 4);
  EXPECT_EQ(c.CaptionButtons.size(), 3u);
  EXPECT_TRUE(c.CaptionButtons[0]->Bitmap.Empty()) << "a strip narrower than 12 gives empty MDI images";
  // Empty SunkEdge and ComboButton images still compose (to magenta and the edge).
  ASSERT_TRUE(c.ComboButton);
  EXPECT_EQ(c.ComboButton->Bitmap.Width(), 200);
  // Drawing with what was read stays inside the images.
  TSkinImage out = SkinComposeNineSlice(30, 30, c.ProgressChunk->Bitmap, c.ProgressChunk->Margins, 1,
                                        c.ProgressChunk->FrameCount, false, false);
  EXPECT_EQ(out.Width(), 30);
}

TEST(SkinFitsScreen, WindowsKeepRoomOnTheScreen) {
  const struct {
    const char* what;
    std::string description;  // lines separated by ";"
    bool fits;
  } cases[] = {
      {"a usual frame and title", "[Personality];Left=e.bmp;Top=e.bmp;TextShift=28;TextRightClip=80", true},
      {"side borders over half the width", "[Personality];Left=wide.bmp;Right=wide.bmp", false},
      {"the same in two frames each", "[Personality];Left=wide.bmp;LeftFrame=2;Right=wide.bmp;RightFrame=2",
       true},
      {"top and bottom over half the height", "[Personality];Top=tall.bmp;Bottom=e.bmp", false},
      {"title margins over half the width", "[Personality];TextShift=200;TextRightClip=201", false},
      {"title margins that overflow a sum", "[Personality];TextShift=2147483647;TextRightClip=2147483647",
       false},
      {"a menu item margin over half the width", "[MenuItem];Image=e.bmp;LeftWidth=401", false},
      // Exactly half the screen fits; one pixel more does not.
      {"side borders at half the width", "[Personality];Left=half.bmp;Right=half.bmp", true},
      {"side borders a pixel over", "[Personality];Left=half.bmp;Right=over.bmp", false},
      {"top and bottom at half the height", "[Personality];Top=half.bmp;Bottom=half.bmp", true},
      {"top and bottom a pixel over", "[Personality];Top=half.bmp;Bottom=over.bmp", false},
      {"title margins at half the width", "[Personality];TextShift=200;TextRightClip=200", true},
      {"a menu item margin at half the width", "[MenuItem];Image=e.bmp;LeftWidth=400", true},
  };
  for (auto c : cases) {
    std::replace(c.description.begin(), c.description.end(), ';', '\n');
    auto l = LoadSkin(c.description, {{"e.bmp", Bmp(30, 12)}, {"wide.bmp", Bmp(201, 30)},
                                      {"tall.bmp", Bmp(30, 290)}, {"half.bmp", Bmp(200, 150)},
                                      {"over.bmp", Bmp(201, 151)}});
    EXPECT_EQ(SkinFitsScreen(l->content, 800, 600), c.fits) << c.what;
  }
}

TEST(SkinContentLoad, AdoptKeepsLongLivedObjectsAndReplacesTheRest) {
  auto first = LoadSkin("[ToolBars]\r\nImage=e.bmp\r\n[Personality]\r\nTop=e.bmp\r\n", {{"e.bmp", Bmp(10, 10)}});
  TSkinContent content;
  content.AdoptContent(std::move(first->content));
  TDataSkinTitle* title = content.Title.get();
  TDataSkinObject* gradient = content.ToolbarGradient.get();
  TDataSkinObject* toolbars = content.ToolBars.get();
  ASSERT_NE(toolbars, nullptr);
  auto second = LoadSkin("[Personality]\r\nTop=e.bmp\r\n[Colours]\r\nButtonFace=9 9 9\r\n", {{"e.bmp", Bmp(12, 10)}});
  content.AdoptContent(std::move(second->content));
  EXPECT_EQ(content.Title.get(), title);
  EXPECT_EQ(content.ToolbarGradient.get(), gradient);
  EXPECT_FALSE(content.ToolBars);
  EXPECT_EQ(content.BorderTop->Bitmap.Width(), 12);
  EXPECT_EQ(content.ButtonFaceColour, 0x090909u);
}

// The shipped skins: each unpacks, reads without falling back and has every element.
TEST(ShippedSkins, EveryElementIsThere) {
  for (int n = 0; n < 5; ++n) {
    std::string path = std::string(ZV_SKINS_DIR) + "/packed/SkinItem" + std::to_string(n) + ".skn";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TMemoryStream packed;
    packed.Write(bytes.data(), bytes.size());
    TSkinReader reader;
    // The archive unpacks to exactly the size it announces, and its sizes add up.
    TMemoryStream unpacked;
    reader.UnpackStream(packed, unpacked);
    std::int32_t announced = 0;
    std::memcpy(&announced, bytes.data(), 4);
    EXPECT_EQ(unpacked.Size(), static_cast<std::size_t>(announced)) << path;
    ASSERT_TRUE(reader.LoadFromStream(packed)) << path;
    EXPECT_EQ(reader.Version, 20000);
    std::size_t total = 0;
    for (std::size_t i = 0; i < reader.Count(); ++i) total += static_cast<std::size_t>(reader.EntrySize(i));
    EXPECT_EQ(total, reader.Payload.Size()) << path;
    TMemoryStream text;
    std::string name;
    reader.FindEntry(".ini", text, name);
    ASSERT_GT(text.Size(), 0u);
    TQuickIni ini;
    ini.LoadFromStream(&text);
    TSkinContent c;
    bool fellBack = false;
    c.LoadResourceImage = [&](const std::string&, TSkinBitmap&) { fellBack = true; };
    c.ReadSkinIni(reader, ini);
    EXPECT_FALSE(fellBack) << path;
    const TDataSkinObject* all[] = {c.Title.get(), c.Buttons.get(), c.Tabs.get(), c.UpDownHorz.get(),
                                    c.UpDownVert.get(), c.SunkEdge.get(), c.ExtraImages.get(),
                                    c.ComboButton.get(), c.ComboxArrow.get(), c.GroupBoxEdge.get(),
                                    c.ToolbarGradient.get(), c.ToolBars.get(), c.Progress.get(),
                                    c.ProgressChunk.get(), c.GroupBox.get(), c.StatusBarEdges.get(),
                                    c.TabPane.get(), c.Headerbar.get(), c.MenuBar.get(), c.MenuItem.get(),
                                    c.MenuBackground.get(), c.Scrollbar.get(), c.HorzScroll.get(),
                                    c.VertScroll.get(), c.HorzScrollThumb.get(), c.VertScrollThumb.get(),
                                    c.ThumbHorz.get(), c.ThumbVert.get(), c.Track.get(), c.TrackVert.get(),
                                    c.ThumbLeft.get(), c.ThumbRight.get(), c.ThumbUp.get(), c.ThumbDown.get(),
                                    c.BorderLeft.get(), c.BorderRight.get(), c.BorderTop.get(),
                                    c.BorderBottom.get()};
    for (const TDataSkinObject* e : all) {
      ASSERT_NE(e, nullptr) << path;
      EXPECT_FALSE(e->Bitmap.Empty()) << path << " " << e->Name;
      // Every strip divides evenly into its frames.
      EXPECT_EQ(e->Bitmap.Width() % std::max(1, e->FrameCount) == 0 ||
                    e == c.BorderTop.get() || e == c.BorderBottom.get(),
                true)
          << path << " " << e->Name;
    }
    EXPECT_FALSE(c.Buttons->CheckBitmap.Empty());
    EXPECT_FALSE(c.Buttons->RadioBitmap.Empty());
    EXPECT_FALSE(c.UpDownHorz->Bitmap2.Empty());
    EXPECT_FALSE(c.Tabs->Bitmap2.Empty());
    ASSERT_EQ(c.CaptionButtons.size(), 4u + 3u) << path;
    for (std::size_t i = 4; i < 7; ++i) EXPECT_FALSE(c.CaptionButtons[i]->Bitmap.Empty());
    EXPECT_EQ(c.BorderTop->Bitmap.Height() % c.BorderTop->FrameCount, 0);
    EXPECT_LT(c.ButtonFaceColour, 0x01000000u) << "the skins give their own colours";
  }
}

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

// A shipped skin as its folder holds it (files.txt lists the description first).
std::unique_ptr<Loaded> LoadShipped(int n) {
  auto files = skinpack::ReadFolder(std::string(ZV_SKINS_DIR) + "/SkinItem" + std::to_string(n) + "/");
  const std::string description = files.front().data;
  files.erase(files.begin());
  return LoadSkin(description, std::move(files));
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

// Every frame that a painter draws for a state the user must see holds a picture of that
// state, in every shipped skin.
TEST(ShippedSkins, EveryStateThatIsDrawnShowsItsOwnPicture) {
  for (int n = 0; n < 5; ++n) {
    const auto loaded = LoadShipped(n);
    const TSkinContent& skin = loaded->content;
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
