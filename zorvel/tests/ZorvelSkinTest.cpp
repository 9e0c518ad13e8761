// Zorvel's main form carries the five shipped skins in its skin store, starts with the
// third one loaded and skinning switched on, and is skinned with it once shown.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "Main.h"
#include "SkinDrawWin.h"
#include "SkinManage.h"
#include "WinSkinForm.h"
#include "forms/Dialogs.h"
#include "testkit/MemoryDC.h"
#include "testkit/TestKit.h"

namespace {

std::string Shipped(int n) {
  std::ifstream in(std::string(ZV_SKINS_DIR) + "/packed/SkinItem" + std::to_string(n) + ".skn", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ZorvelSkin, MainFormStartsWithItemTwoLoadedAndActive) {
  InitSkinData();
  InitSkinDraw();
  InitSkinManage();
  {
    TFrmMain form(nullptr);
    ASSERT_NE(form.SkinStore1, nullptr);
    ASSERT_NE(form.SkinData1, nullptr);
    TSkinCollection* items = form.SkinStore1->Store();
    ASSERT_EQ(items->Count(), 5);
    for (int n = 0; n < 5; ++n) {
      TSkinCollectionItem* item = items->Item(n);
      EXPECT_EQ(item->Name(), "SkinItem" + std::to_string(n));
      const std::string archive = Shipped(n);
      ASSERT_FALSE(archive.empty());
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(item->DataStream.Memory()), item->DataStream.Size()),
                archive)
          << "item " << n << " holds its packed archive byte for byte";
    }
    TSkinData& data = *form.SkinData1;
    EXPECT_FALSE(data.NoSkinLoaded);
    EXPECT_TRUE(data.Active());
    EXPECT_EQ(data.SkinStream.Bytes(), items->Item(2)->DataStream.Bytes()) << "the third item was loaded";
    EXPECT_EQ(data.ButtonFaceColour, 0xF6F0ECu) << "the face colour of SkinItem2";
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_TRUE(SkinManager->Active);
    EXPECT_EQ(SkinManager->State, 1);

    // Shown, the form is skinned when first activated: its frame is item 2's.
    form.Show();
    HWND w = form.Handle();
    ASSERT_TRUE(testkit::PumpUntil([w] { return SendMessageA(w, WM_SKINQUERY, 0, 0) == 1; }, 1000));
    testkit::PumpUntil([] { return false; }, 50);
    RECT r;
    GetWindowRect(w, &r);
    const int W = r.right - r.left, H = r.bottom - r.top;
    testkit::MemoryDC dc(W, H);
    SendMessageA(w, WM_SKINPAINTINTO, reinterpret_cast<WPARAM>(dc.dc()), kSkinHostKey);
    const TDataSkinBorder& left = *data.BorderLeft;
    const int L = left.Bitmap.Width() / left.FrameCount;
    const TSkinImage expected =
        SkinComposeNineSlice(L, H, left.Bitmap, left.Margins, 1, left.FrameCount, left.Tile != 1, false);
    for (int y : {H / 3, H / 2, H - 20}) EXPECT_EQ(dc.At(L / 2, y), expected.Pixel(L / 2, y)) << y;

    // The system's open-file dialog that Add shows is skinned too.
    static bool dialogSkinned = false;
    SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
      EnumThreadWindows(
          GetCurrentThreadId(),
          [](HWND h, LPARAM) -> BOOL {
            char name[16] = {};
            GetClassNameA(h, name, sizeof name);
            if (std::string(name) != "#32770" || !IsWindowVisible(h)) return TRUE;
            dialogSkinned = SendMessageA(h, WM_SKINQUERY, 0, 0) == 1;
            PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
            return FALSE;
          },
          0);
      KillTimer(nullptr, id);
    });
    TOpenDialog open(nullptr);
    EXPECT_FALSE(open.Execute());
    EXPECT_TRUE(dialogSkinned);
    ShowWindow(w, SW_HIDE);
  }
  DoneSkinManage();
  DoneSkinDraw();
  DoneSkinData();
}

}  // namespace
