// The skin data component under Wine: defaults, loading the shipped skins from a skin
// store, fallbacks of a minimal skin, hostile and damaged archives, the life cycle
// against the manager stand-in, and the text and window helpers.
#include "WinSkinData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "SkinDrawWin.h"
#include "SkinPack.h"
#include "testkit/TestKit.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Shipped(int n) {
  return ReadFile(std::string(ZV_SKINS_DIR) + "/packed/SkinItem" + std::to_string(n) + ".skn");
}
std::string Bmp(int w, int h) {
  const std::vector<std::uint8_t> bytes = TSkinImage(w, h).SaveToBmp();
  return std::string(bytes.begin(), bytes.end());
}
std::string TestSkin(const char* name) { return ReadFile(std::string(ZV_SKIN_TEST_DATA) + "/" + name + ".skn"); }

// A store with the given archives as its items.
struct Store {
  TSkinStore store{nullptr};
  explicit Store(std::initializer_list<std::string> archives) {
    for (const std::string& a : archives) {
      TSkinCollectionItem* item = store.Store()->Add();
      item->DataStream.Write(a.data(), a.size());
    }
  }
};

// A manager that records what the skin data asks of it; actions take effect at once.
class RecordingManager : public ISkinManager {
 public:
  void AddSkinData(TSkinData* SkinData) override {
    SkinDatas.push_back(SkinData);
    if (DefaultSkinData == nullptr && SkinData->SkinFormtype == sfMainform) DefaultSkinData = SkinData;
  }
  void RemoveSkinData(TSkinData* SkinData) override {
    std::erase(SkinDatas, SkinData);
    if (DefaultSkinData == SkinData) DefaultSkinData = nullptr;
    if (PendingSkinData == SkinData) PendingSkinData = nullptr;
  }
  void InstallHook() override { HookRequested = true; }
  void ScheduleAction(int Action, int DelayMs) override {
    Scheduled.emplace_back(Action, DelayMs);
    if (Action == 1) Active = true;
    if (Action == 2) Active = false;
    if (State == 0) return;
    TSkinData* data = PendingSkinData;
    PendingSkinData = nullptr;
    if (data != nullptr) data->DoSkinChanged();
  }
  void DropCaptionButtons() override { ++CaptionButtonDrops; }
  bool SkinWindow(HWND) override { return false; }
  void RemoveFormSkinner(TWinSkinForm*) override {}
  void SetMDIMaximized(bool Maximized) override { MDIMaximized = Maximized; }

  std::vector<TSkinData*> SkinDatas;
  TSkinData* DefaultSkinData = nullptr;
  bool HookRequested = false;
  int CaptionButtonDrops = 0;
  std::vector<std::pair<int, int>> Scheduled;
};

class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitSkinData();
    SkinManagerFactory = [] { return static_cast<ISkinManager*>(new RecordingManager); };
    testkit::ClearMessageBoxes();
  }
  void TearDown() override {
    DoneSkinData();
    SkinManagerFactory = nullptr;
  }
  RecordingManager& Manager() { return *static_cast<RecordingManager*>(SkinManager); }
};

TEST_F(SkinDataTest, DefaultsAfterCreation) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag, 99);
  EXPECT_EQ(data.SkinControls, 0x1FFFFBu);
  EXPECT_FALSE(InSet(data.SkinControls, xcMenuItem));
  EXPECT_FALSE(InSet(data.SkinControls, xcFastReport));
  EXPECT_EQ(data.Options, 0x48);
  EXPECT_EQ(data.SkinFormtype, sfMainform);
  EXPECT_EQ(data.Version(), "4.11.07.25");
  EXPECT_EQ(data.GetSkinStore(), "(none)");
  EXPECT_TRUE(data.MenuUpdate);
  EXPECT_FALSE(data.MenuMerge);
  EXPECT_TRUE(data.NoSkinLoaded);
  EXPECT_TRUE(data.PaintNonClient);
  ASSERT_EQ(data.Skin3rd().Count(), 117u);
  EXPECT_EQ(data.Skin3rd()[0], "TCategoryButtons=scrollbar");
  EXPECT_EQ(data.Skin3rd()[48], "TDBCheckboxEh=Checkbox");
  EXPECT_EQ(data.Skin3rd()[116], "TOVCDBNUMERICFIELD=Edit");
  // Always-present elements exist empty; the others do not.
  ASSERT_TRUE(data.Title && data.Buttons && data.BorderLeft && data.BorderTop);
  EXPECT_TRUE(data.BorderTop->Bitmap.Empty());
  EXPECT_FALSE(data.Scrollbar);
  // The four system-menu glyphs of the program's resource.
  ASSERT_NE(data.MenuImages, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(data.MenuImages), 4);
}

TEST_F(SkinDataTest, EachShippedSkinLoadsFromTheStoreWithoutFallback) {
  Store store{Shipped(0), Shipped(1), Shipped(2), Shipped(3), Shipped(4)};
  TSkinData data(nullptr);
  for (int n = 0; n < 5; ++n) {
    data.LoadSkinFromStore(&store.store, n);
    EXPECT_FALSE(data.NoSkinLoaded) << n;
    ASSERT_TRUE(data.Track) << n;
    EXPECT_EQ(data.Track->Name, "Track") << "the skin's own track, no built-in fallback";
    EXPECT_EQ(data.TrackVert->Name, "TRACKVERT");
    EXPECT_EQ(data.CaptionButtons.size(), 7u);
    EXPECT_FALSE(data.ComboxArrow->Bitmap.Empty());
    // The brush is the skin's face colour.
    LOGBRUSH brush{};
    ASSERT_NE(data.SkinBrush, nullptr);
    GetObject(data.SkinBrush, sizeof(brush), &brush);
    EXPECT_EQ(brush.lbColor, data.ButtonFaceColour) << n;
  }
  EXPECT_TRUE(testkit::MessageBoxes().empty());
}

TEST_F(SkinDataTest, MinimalSkinFallsBackToSystemColoursAndBuiltInImages) {
  Store store{TestSkin("minimal")};
  TSkinData data(nullptr);
  data.LoadSkinFromStore(&store.store, 0);
  ASSERT_FALSE(data.NoSkinLoaded);
  EXPECT_EQ(data.ButtonFaceColour, 0xFF00000Fu);
  // System colours are resolved before the brush is made.
  LOGBRUSH brush{};
  GetObject(data.SkinBrush, sizeof(brush), &brush);
  EXPECT_EQ(brush.lbColor, GetSysColor(COLOR_BTNFACE));
  ASSERT_TRUE(data.Track);
  EXPECT_EQ(data.Track->Name, "TRACK");
  EXPECT_EQ(data.Track->Bitmap.Width(), 16);
  EXPECT_EQ(data.Track->Bitmap.Height(), 4);
  EXPECT_EQ(data.Track->Margins, (TSkinMargins{3, 3, 3, 3}));
  EXPECT_EQ(data.TrackVert->Bitmap.Width(), 4);
  EXPECT_EQ(data.TrackVert->Bitmap.Height(), 16);
  EXPECT_FALSE(data.Scrollbar);
  EXPECT_EQ(data.CaptionButtons.size(), 3u) << "only the MDI buttons";
  // The border colour is sampled from the top border: (10, (40 / 2) / 3) lies in the
  // first frame's upper half.
  EXPECT_EQ(data.BorderColour, 0xC8140Au);
}

TEST_F(SkinDataTest, HostileSkinLoadsWithoutCrashAndSaneNumbers) {
  Store store{TestSkin("hostile")};
  TSkinData data(nullptr);
  data.LoadSkinFromStore(&store.store, 0);
  ASSERT_FALSE(data.NoSkinLoaded);
  EXPECT_TRUE(data.BorderTop->Bitmap.Empty());
  EXPECT_TRUE(data.BorderRight->Bitmap.Empty());
  EXPECT_TRUE(data.BorderBottom->Bitmap.Empty());
  EXPECT_GE(data.BorderLeft->FrameCount, 1);
  EXPECT_GE(data.BorderBottom->FrameCount, 1);
  EXPECT_EQ(data.BorderLeft->Margins.Top, 0);
  EXPECT_GE(data.Track->FrameCount, 1);
  EXPECT_GE(data.Headerbar->FrameCount, 1);
  EXPECT_GE(data.HorzScrollThumb->FrameCount, 1);
  EXPECT_GE(data.CaptionButtons[0]->FrameCount, 1);
  // Everything that was read can be drawn.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(GetDC(nullptr), 200, 100);
  HGDIOBJ old = SelectObject(dc, bmp);
  const TDataSkinObject* all[] = {data.BorderLeft.get(), data.BorderTop.get(), data.Track.get(),
                                  data.Headerbar.get(), data.SunkEdge.get(), data.ComboButton.get(),
                                  data.HorzScrollThumb.get(), data.MenuBar.get(), data.TabPane.get()};
  for (const TDataSkinObject* e : all) {
    if (e == nullptr) continue;
    DrawNineSlice(dc, {0, 0, 200, 100}, e->Bitmap, e->Margins, 1, e->FrameCount, e->Trans == 1, e->Tile == 1, false);
    DrawFrameStrip(dc, {0, 0, 50, 50}, e->Bitmap, e->FrameCount, e->FrameCount, true);
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST_F(SkinDataTest, FailedLoadLeavesThePreviousSkinWhole) {
  static const char kGarbage[] = "\x40\x00\x00\x00 this is no skin archive at all, just text";
  const std::string garbage(kGarbage, sizeof(kGarbage) - 1);
  // A left border as wide as the screen would leave windows no room: refused alike.
  const std::vector<std::uint8_t> wide =
      skinpack::PackArchive({{"skin.ini", "[Personality]\r\nLeft=left.bmp\r\n"},
                             {"left.bmp", Bmp(GetSystemMetrics(SM_CXSCREEN), 2)}});
  Store store{Shipped(2), garbage, "", std::string(wide.begin(), wide.end())};
  TSkinData data(nullptr);
  data.LoadSkinFromStore(&store.store, 0);
  ASSERT_FALSE(data.NoSkinLoaded);
  const TDataSkinSysButton* close = data.CaptionButtons[0].get();
  const TDataSkinObject* scrollbar = data.Scrollbar.get();
  const TSkinColour face = data.ButtonFaceColour;
  const int topWidth = data.BorderTop->Bitmap.Width();
  HBRUSH brush = data.SkinBrush;

  for (int bad : {1, 2, 3}) {
    testkit::ClearMessageBoxes();
    data.LoadSkinFromStore(&store.store, bad);
    EXPECT_FALSE(data.NoSkinLoaded) << bad << ": the skin in force stays";
    EXPECT_EQ(data.SkinStream.Bytes(), store.store.Store()->Item(0)->DataStream.Bytes()) << bad;
    EXPECT_EQ(data.CaptionButtons[0].get(), close) << bad;
    EXPECT_EQ(data.Scrollbar.get(), scrollbar);
    EXPECT_EQ(data.ButtonFaceColour, face);
    EXPECT_EQ(data.BorderTop->Bitmap.Width(), topWidth);
    EXPECT_EQ(data.SkinBrush, brush);
    EXPECT_EQ(testkit::MessageBoxes().size(), 1u) << "the user hears why";
  }
  // Without a skin before, a refused one leaves none: switching on does nothing.
  TSkinData fresh(nullptr);
  fresh.LoadSkinFromStore(&store.store, 3);
  EXPECT_TRUE(fresh.NoSkinLoaded);
  fresh.SetActive(true);
  EXPECT_TRUE(fresh.Active());
  EXPECT_FALSE(SkinManager->Active);
}

TEST_F(SkinDataTest, LifeCycleAgainstTheManager) {
  Store store{Shipped(2), Shipped(0)};
  // A form resource with Active = True and an empty SkinStream.
  TSkinData data(nullptr);
  data.Reading = true;
  data.SetActive(true);
  data.Loaded();
  EXPECT_FALSE(data.Active());
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_TRUE(Manager().HookRequested);
  EXPECT_TRUE(Manager().Scheduled.empty());
  EXPECT_EQ(Manager().DefaultSkinData, &data);
  EXPECT_TRUE(InSet(data.SkinControls, xcSystemMenu));

  // Active := True without a skin: the property reads True, the manager is not told.
  data.SetActive(true);
  EXPECT_TRUE(data.Active());
  EXPECT_FALSE(SkinManager->Active);
  // Switching off asks for action 2, which before the start only clears the switch.
  data.SetActive(false);
  ASSERT_EQ(Manager().Scheduled.size(), 1u);
  EXPECT_EQ(Manager().Scheduled[0], std::make_pair(2, 250));
  EXPECT_EQ(SkinManager->State, 0);
  Manager().Scheduled.clear();

  // An index equal to the count changes nothing; a negative one raises.
  data.LoadSkinFromStore(&store.store, 2);
  EXPECT_TRUE(data.NoSkinLoaded);
  EXPECT_ANY_THROW(data.LoadSkinFromStore(&store.store, -1));

  // The start-up order of the main form: load item 0, then switch on.
  data.LoadSkinFromStore(&store.store, 0);
  EXPECT_FALSE(data.NoSkinLoaded);
  EXPECT_TRUE(Manager().Scheduled.empty()) << "a load before the start schedules nothing";
  EXPECT_EQ(Manager().CaptionButtonDrops, 1);
  data.SetActive(true);
  EXPECT_TRUE(SkinManager->Active);
  EXPECT_EQ(SkinManager->State, 1);
  ASSERT_EQ(Manager().Scheduled.size(), 1u);
  EXPECT_EQ(Manager().Scheduled[0], std::make_pair(1, 250));

  // A second load into the started component refreshes its windows.
  int changed = 0;
  data.OnSkinChanged = [&](TObject* sender) {
    EXPECT_EQ(sender, &data);
    ++changed;
  };
  data.LoadSkinFromStore(&store.store, 1);
  ASSERT_EQ(Manager().Scheduled.size(), 2u);
  EXPECT_EQ(Manager().Scheduled[1], std::make_pair(3, 250));
  EXPECT_EQ(Manager().CaptionButtonDrops, 2);
  EXPECT_EQ(changed, 1);
  // Setting the current value again does nothing.
  data.SetActive(true);
  EXPECT_EQ(Manager().Scheduled.size(), 2u);
  data.SetActive(false);
  EXPECT_EQ(Manager().Scheduled.back(), std::make_pair(2, 250));
  EXPECT_FALSE(SkinManager->Active);
}

TEST_F(SkinDataTest, ManagerForgetsAFreedComponent) {
  auto data = std::make_unique<TSkinData>(nullptr);
  data->Loaded();
  SkinManager->PendingSkinData = data.get();
  data.reset();
  EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
  EXPECT_TRUE(Manager().SkinDatas.empty());
  EXPECT_EQ(Manager().DefaultSkinData, nullptr);
}

TEST_F(SkinDataTest, WindowFilter) {
  TSkinData data(nullptr);
  const struct {
    const char* name;
    bool fastReport;
    bool expected;
  } cases[] = {
      {"SysMonthCal32", false, false}, {"sysmonthcal32", false, true}, {"TfrPreviewForm", true, false},
      {"TfrPreviewForm", false, true}, {"TForm1", true, true},
  };
  for (const auto& c : cases) {
    data.SkinControls = kDefaultSkinControls;
    if (c.fastReport) Include(data.SkinControls, xcFastReport);
    bool doSkin = true;
    data.FilterWindow(nullptr, c.name, doSkin);
    EXPECT_EQ(doSkin, c.expected) << c.name;
  }
  // With the event assigned it alone decides.
  data.OnFormSkin = [](TObject*, const std::string& name, bool& doSkin) { doSkin = name == "SysMonthCal32"; };
  bool doSkin = false;
  data.FilterWindow(nullptr, "SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
}

TEST_F(SkinDataTest, SkinStreamProperty) {
  const std::string archive = Shipped(4);
  TMemoryStream resource;
  const std::int32_t n = static_cast<std::int32_t>(archive.size());
  resource.Write(&n, sizeof(n));
  resource.Write(archive.data(), archive.size());
  resource.SetPosition(0);
  TSkinData data(nullptr);
  data.ReadSkinStream(resource);
  EXPECT_EQ(data.SkinStream.Size(), archive.size());
  EXPECT_FALSE(data.NoSkinLoaded);
  TMemoryStream written;
  data.WriteSkinStream(written);
  EXPECT_EQ(written.Bytes(), resource.Bytes());

  // A count larger than what follows, or 0, keeps what the stream held.
  for (std::int32_t bad : {n + 1, 0, -5}) {
    TMemoryStream short_;
    short_.Write(&bad, sizeof(bad));
    short_.Write(archive.data(), 10);
    short_.SetPosition(0);
    data.ReadSkinStream(short_);
    EXPECT_EQ(data.SkinStream.Size(), archive.size()) << bad;
  }
}

TEST_F(SkinDataTest, SkinFileLoadsAnArchiveOrNothing) {
  const std::string path = testkit::ExeDir() + "skin_data_test.skn";
  {
    std::ofstream out(path, std::ios::binary);
    const std::string a = Shipped(1);
    out.write(a.data(), static_cast<std::streamsize>(a.size()));
  }
  TSkinData data(nullptr);
  data.SetSkinFile(path);
  EXPECT_FALSE(data.NoSkinLoaded);
  EXPECT_EQ(data.SkinFile(), path);
  const TDataSkinObject* scrollbar = data.Scrollbar.get();
  data.SetSkinFile(path + ".missing");
  EXPECT_TRUE(data.NoSkinLoaded);
  EXPECT_EQ(data.Scrollbar.get(), scrollbar) << "the old content stays";
  DeleteFileA(path.c_str());
}

TEST_F(SkinDataTest, TextHelpers) {
  // "转换" in code page 936 (the test environment's ANSI code page).
  EXPECT_EQ(SkinStrToWide("\xD7\xAA\xBB\xBB"), L"\u8F6C\u6362");
  EXPECT_EQ(SkinStrToWide(""), L"");
  const wchar_t buffer[] = L"abcdef";
  EXPECT_EQ(WideStrFromBuffer(buffer, -1), L"abcdef");
  EXPECT_EQ(WideStrFromBuffer(buffer, 3), L"abc");
  EXPECT_EQ(WideStrFromBuffer(buffer, -7), L"abcdef");
  EXPECT_EQ(WideStrFromBuffer(nullptr, 3), L"");

  HDC dc = CreateCompatibleDC(nullptr);
  RECT r{0, 0, 200, 50};
  EXPECT_GT(DrawSkinText(dc, L"\u8F6C\u6362 ok", r, DT_CALCRECT | DT_SINGLELINE), 0);
  EXPECT_GT(r.right, 0);
  DeleteDC(dc);
}

TEST_F(SkinDataTest, WindowHelpers) {
  EXPECT_EQ(FindVclControl(nullptr), nullptr);
  // The framework keeps each control in a window property under the control atom.
  HWND framework = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  int object = 0;
  SetPropA(framework, MAKEINTATOM(SkinControlAtom), &object);
  EXPECT_EQ(static_cast<void*>(FindVclControl(framework)), &object);
  RemovePropA(framework, MAKEINTATOM(SkinControlAtom));
  DestroyWindow(framework);
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(FindVclControl(plain), nullptr);
  DestroyWindow(plain);

  HWND scrolled = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VSCROLL | ES_MULTILINE, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  EXPECT_TRUE(SkinGetScrollBarInfo(scrolled, OBJID_VSCROLL, info));
  SkinTrackMouseLeave(scrolled);  // asks for a leave notice; must not fail
  DestroyWindow(scrolled);
  ASSERT_NE(SkinGetComboBoxInfoProc, nullptr);
}

}  // namespace
