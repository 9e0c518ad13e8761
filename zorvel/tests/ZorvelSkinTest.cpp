// Zorvel's main form carries the five shipped skins in its skin store, starts with the
// third one loaded and skinning switched on, and is skinned with it once shown: its
// frame, its menus, every control inside it and the system dialogs it opens.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "Main.h"
#include "SkinDrawWin.h"
#include "SkinManage.h"
#include "SkinBoxes.h"
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

    // Its system menu's items are painted from the skin: an item that is not selected
    // shows the popup's background (the skin's menu background, cut to the popup's size)
    // through its item frame's transparent parts, away from its text.
    static struct {
      bool seen;
      RECT item, popup;
      TSkinImage shot;
    } menu;
    menu.seen = false;
    SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      HWND popup = FindWindowA("#32768", nullptr);
      const auto shown = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
      menu.seen = GetMenuItemRect(nullptr, shown, 1, &menu.item) && GetWindowRect(popup, &menu.popup);
      HDC screen = GetDC(nullptr);
      const int iw = int(menu.item.right - menu.item.left), ih = int(menu.item.bottom - menu.item.top);
      menu.shot.SetSize(iw, ih);
      for (int y = 0; y < ih; ++y)
        for (int x = 0; x < iw; ++x) {
          const COLORREF c = GetPixel(screen, menu.item.left + x, menu.item.top + y);
          menu.shot.SetPixel(x, y, TSkinColour(c));
        }
      ReleaseDC(nullptr, screen);
      EndMenu();
    });
    SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    ASSERT_TRUE(menu.seen);
    const TDataSkinObject& item = *data.MenuItem;
    const TDataSkinObject& back = *data.MenuBackground;
    const int iw = int(menu.item.right - menu.item.left), ih = int(menu.item.bottom - menu.item.top);
    const TSkinImage frame1 = SkinComposeNineSlice(iw, ih, item.Bitmap, item.Margins, 1, 5, item.Tile == 1, false);
    const TSkinImage background =
        SkinComposeNineSlice(int(menu.popup.right - menu.popup.left), int(menu.popup.bottom - menu.popup.top),
                             back.Bitmap, back.Margins, 1, 1, back.Tile == 1, false);
    const int dx = int(menu.item.left - menu.popup.left), dy = int(menu.item.top - menu.popup.top);
    int compared = 0;
    for (int y = 1; y < ih - 1; ++y)
      for (int x = iw - 12; x < iw - 1; ++x) {
        const TSkinColour own = frame1.Pixel(x, y);
        const TSkinColour expected = own == kSkinKeyColour ? background.Pixel(dx + x, dy + y) : own;
        compared += menu.shot.Pixel(x, y) == expected;
      }
    EXPECT_EQ(compared, (ih - 2) * 11);

    // The system's open-file dialog that Add shows is skinned too.
    static bool dialogSkinned = false;
    // Its "read only" check box, hidden by the program, is skinned for when it shows.
    static bool readOnlySkinned = false;
    SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      EnumThreadWindows(
          GetCurrentThreadId(),
          [](HWND h, LPARAM) -> BOOL {
            char name[16] = {};
            GetClassNameA(h, name, sizeof name);
            if (std::string(name) != "#32770" || !IsWindowVisible(h)) return TRUE;
            dialogSkinned = SendMessageA(h, WM_SKINQUERY, 0, 0) == 1;
            const HWND readOnly = GetDlgItem(h, 0x410 /* chx1 */);
            readOnlySkinned = readOnly && SendMessageA(readOnly, WM_SKINQUERY, 0, 0) == 1;
            PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
            return FALSE;
          },
          0);
    });
    TOpenDialog open(nullptr);
    EXPECT_FALSE(open.Execute());
    EXPECT_TRUE(dialogSkinned);
    EXPECT_TRUE(readOnlySkinned);
    ShowWindow(w, SW_HIDE);
  }
  DoneSkinManage();
  DoneSkinDraw();
  DoneSkinData();
}

// Every control of the main window has the skinner of its kind (boxes only recolour;
// the others answer the skin query), in each of the five skins, and switching skins
// keeps the GDI objects steady. The banner's browser control is nobody's to skin.
TEST(ZorvelSkin, EveryControlIsSkinnedInEachSkin) {
  InitSkinData();
  InitSkinDraw();
  InitSkinManage();
  {
    TFrmMain form(nullptr);
    form.Show();
    HWND w = form.Handle();
    ASSERT_TRUE(testkit::PumpUntil([w] { return SendMessageA(w, WM_SKINQUERY, 0, 0) == 1; }, 1000));
    TSkinManage& manager = *ActiveSkinManager();
    TWinSkinForm* skinner = manager.FindFormSkinner(w);
    ASSERT_NE(skinner, nullptr);
    // The controls follow once the form skinner has started.
    testkit::PumpUntil([&] { return SendMessageA(form.btnConvert->Handle(), WM_SKINQUERY, 0, 0) == 1; }, 2000);
    const std::vector<TWinControl*> controls = {
        form.GroupBox3,   form.Panel1,        form.lvwFiles,      form.Panel2,        form.btnAdd,
        form.btnDelete,   form.btnClear,      form.GroupBox1,     form.btnMoveToUp,   form.btnMoveToDown,
        form.GroupBox5,   form.cmbVideoKbps,  form.cmbVideoFrame, form.cmbVideoSize,  form.cmbAspect,
        form.GroupBox6,   form.edtSaveDir,    form.Button8,       form.GroupBox2,     form.ProgressBar1,
        form.btnConvert};
    auto expectSkinned = [&](int skin) {
      for (TWinControl* c : controls) {
        TSkinControl* s = skinner->FindControlSkinner(c->Handle());
        EXPECT_NE(s, nullptr) << c->Name << " in skin " << skin;
        if (s && !dynamic_cast<TSkinBox*>(s)) {
          EXPECT_EQ(SendMessageA(c->Handle(), WM_SKINQUERY, 0, 0), 1) << c->Name << " in skin " << skin;
        }
      }
      // A button shows the top-left corner of the skin's first button frame as it is.
      RECT r;
      GetClientRect(form.btnClear->Handle(), &r);
      testkit::MemoryDC dc(r.right, r.bottom);
      SendMessageA(form.btnClear->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.dc()), 0);
      const TDataSkinButton& buttons = *form.SkinData1->Buttons;
      int compared = 0, same = 0;
      for (int y = 0; y < buttons.Margins.Top; ++y)
        for (int x = 0; x < buttons.Margins.Left; ++x) {
          const TSkinColour own = buttons.Bitmap.Pixel(x, y);
          if (own == kSkinKeyColour) continue;
          ++compared;
          same += dc.At(x, y) == own;
        }
      EXPECT_GT(compared, 0) << "skin " << skin;
      EXPECT_EQ(same, compared) << "skin " << skin;
    };
    expectSkinned(2);
    auto load = [&](int skin) {
      form.SkinData1->LoadSkinFromStore(form.SkinStore1, skin);
      manager.RunAction();
      testkit::PumpUntil([] { return false; }, 20);
    };
    for (int skin : {0, 1, 3, 4, 2}) {
      load(skin);
      expectSkinned(skin);
    }
    const int before = testkit::FreeGdiCapacity();
    for (int round = 0; round < 4; ++round)
      for (int skin : {0, 1, 2, 3, 4}) load(skin);
    load(2);
    EXPECT_LE(before - testkit::FreeGdiCapacity(), 10) << "GDI objects kept by 21 skin switches";
    ShowWindow(w, SW_HIDE);
  }
  DoneSkinManage();
  DoneSkinDraw();
  DoneSkinData();
}

}  // namespace
