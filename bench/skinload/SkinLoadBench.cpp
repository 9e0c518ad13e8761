// Loads each shipped skin from its store item into a skin data component (unpack, read
// the description, load every bitmap), then paints a 530 x 456 window frame from it
// 1,000 times through the shared scratch image into a memory DC. Prints medians.
//   skinload_bench [--png FILE]   with --png, also writes the five skins side by side
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FrameSample.h"
#include "Png.h"
#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "BenchKit.h"

namespace {

constexpr int kLoadRounds = 15;
constexpr int kPaints = 1000;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The five skins side by side, each as an active window with a few controls.
bool WriteSheet(TSkinStore& store, const std::string& path) {
  constexpr int kW = 300, kH = 230, kGap = 16;
  TSkinImage sheet(5 * kW + 6 * kGap, kH + 2 * kGap, 0x504A46);
  for (int n = 0; n < 5; ++n) {
    TSkinData data(nullptr);
    data.LoadSkinFromStore(&store, n);
    if (data.NoSkinLoaded) return false;
    TSkinImage window;
    PaintFrameSample(data, window, kW, kH, true, true);
    SkinKeyedCopy(sheet, kGap + n * (kW + kGap), kGap, window);
  }
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(sheet.Width()) * 3 * static_cast<std::size_t>(sheet.Height()));
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) {
      const TSkinColour c = sheet.Pixel(x, y);
      std::uint8_t* p = rgb.data() + (static_cast<std::size_t>(y) * sheet.Width() + x) * 3;
      p[0] = static_cast<std::uint8_t>(c);
      p[1] = static_cast<std::uint8_t>(c >> 8);
      p[2] = static_cast<std::uint8_t>(c >> 16);
    }
  auto png = testkit::EncodePng(sheet.Width(), sheet.Height(), rgb.data(), static_cast<std::size_t>(sheet.Width()) * 3);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  InitSkinData();
  InitSkinDraw();
  TSkinStore store(nullptr);
  for (int n = 0; n < 5; ++n) {
    const std::string archive = ReadFile(std::string(ZV_SKINS_DIR) + "/packed/SkinItem" + std::to_string(n) + ".skn");
    if (archive.empty()) {
      std::printf("bench skinload: cannot read SkinItem%d\n", n);
      return 1;
    }
    store.Store()->Add()->DataStream.Write(archive.data(), archive.size());
  }
  if (argc == 3 && std::string(argv[1]) == "--png") {
    const bool ok = WriteSheet(store, argv[2]);
    std::printf("sample sheet %s: %s\n", argv[2], ok ? "written" : "FAILED");
    return ok ? 0 : 1;
  }

  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 530;
  info.bmiHeader.biHeight = -456;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);

  std::printf("bench skinload: medians under this system (targets: load 30 ms, paint 0.5 ms)\n");
  std::vector<double> allLoads, allPaints;
  for (int n = 0; n < 5; ++n) {
    TSkinData data(nullptr);
    data.LoadSkinFromStore(&store, n);  // warm-up
    std::vector<double> loads;
    for (int r = 0; r < kLoadRounds; ++r) {
      const double t0 = bench::Now();
      data.LoadSkinFromStore(&store, n);
      loads.push_back((bench::Now() - t0) * 1000.0);
    }
    std::vector<double> paints;
    paints.reserve(kPaints);
    for (int i = 0; i < kPaints; ++i) {
      const double t0 = bench::Now();
      PaintFrameSample(data, *ScratchBitmap, 530, 456, (i & 1) == 0, false);
      SkinBlit(dc, 0, 0, *ScratchBitmap);
      paints.push_back((bench::Now() - t0) * 1000.0);
    }
    GdiFlush();
    const double load = bench::Median(loads), paint = bench::Median(paints);
    allLoads.push_back(load);
    allPaints.push_back(paint);
    std::printf("  SkinItem%d: load %7.2f ms   paint 530x456 frame %6.3f ms   (%s)\n", n, load, paint,
                data.NoSkinLoaded ? "NOT LOADED" : "loaded");
  }
  std::printf("  all five: load median %.2f ms, paint median %.3f ms\n", bench::Median(allLoads), bench::Median(allPaints));
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  DoneSkinDraw();
  DoneSkinData();
  return 0;
}
