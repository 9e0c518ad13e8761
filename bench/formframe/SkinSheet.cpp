#include "SkinSheet.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "MemoryDC.h"
#include "Png.h"
#include "SampleForm.h"
#include "ShippedSkins.h"
#include "WinSkinData.h"

namespace {

constexpr int kCellWidth = 300, kCellHeight = 310, kGap = 16;

// Copies what the screen shows of `w` to (x, y) of `sheet`, inside the window's region
// only, so that the cut corners show the sheet and not the screen behind the window. A
// window without a region is copied whole.
void CaptureWindow(HWND w, HDC sheet, int x, int y) {
  RECT r;
  GetWindowRect(w, &r);
  HRGN region = CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top);
  GetWindowRgn(w, region);
  OffsetRgn(region, x, y);
  SelectClipRgn(sheet, region);
  HDC screen = GetDC(nullptr);
  BitBlt(sheet, x, y, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  SelectClipRgn(sheet, nullptr);
  DeleteObject(region);
}

// Lets the window system paint and hand the window's pixels to the screen.
void Settle() {
  for (int i = 0; i < 4; ++i) {
    PumpMessages();
    Sleep(50);
  }
}

}  // namespace

bool WriteSkinSheet(TSkinStore& store, const std::string& path) {
  const int width = bench::kShippedSkins * (kCellWidth + kGap) + kGap,
            height = 2 * (kCellHeight + kGap) + kGap;
  testkit::MemoryDC sheet(width, height, RGB(112, 112, 112));
  for (int n = 0; n < bench::kShippedSkins; ++n) {
    TSkinData data(nullptr);
    data.LoadSkinFromStore(&store, n);
    if (data.NoSkinLoaded) return false;
    // One window at a time, so that no other window changes its activation.
    TSampleForm form(40, 40, kCellWidth, kCellHeight);
    form.Show();
    SkinForm(form, data);
    const HWND w = form.Handle();
    RedrawWindow(w, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (const int row : {0, 1}) {
      SendMessageA(w, WM_NCACTIVATE, row == 0, 0);
      Settle();
      CaptureWindow(w, sheet.dc(), kGap + n * (kCellWidth + kGap),
                    kGap + row * (kCellHeight + kGap));
    }
    ShowWindow(w, SW_HIDE);
  }

  std::vector<std::uint8_t> rgb;
  rgb.reserve(std::size_t(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = sheet.At(x, y);  // 0x00BBGGRR
      rgb.insert(rgb.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
    }
  const auto png = testkit::EncodePng(width, height, rgb.data(), std::size_t(width) * 3);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  return bool(file);
}
