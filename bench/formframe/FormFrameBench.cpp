// Repainting the whole non-client area of a 530 x 456 form skinned with the shipped skin
// item 2, side by side with the same form unskinned (the system's frame), alternating
// round by round; then the form skinner's frame painter alone, into a memory DC, for
// each shipped skin. Prints medians and the ratio.
//   formframe_bench [--png FILE]   with --png, writes the sheet of the five skins instead
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchKit.h"
#include "MemoryDC.h"
#include "SampleForm.h"
#include "ShippedSkins.h"
#include "SkinDrawWin.h"
#include "SkinSheet.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "forms/Forms.h"

namespace {

constexpr int kWidth = 530, kHeight = 456;
constexpr int kRepaintRounds = 400;
constexpr int kPaintRounds = 100;

// Given no region, RedrawWindow invalidates the client area with the frame: both forms
// repaint it too, alike.
double RepaintMicroseconds(HWND w) {
  const double t0 = bench::Now();
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  return (bench::Now() - t0) * 1e6;
}

void CompareRepaints(TSkinStore& store) {
  TSkinData data(nullptr);
  data.LoadSkinFromStore(&store, 2);
  TSampleForm plain(10, 10, kWidth, kHeight), skinned(kWidth + 20, 10, kWidth, kHeight);
  plain.Show();
  skinned.Show();
  SkinForm(skinned, data);
  // Both painted as the active window, as the user looks at it.
  for (TSampleForm* f : {&plain, &skinned}) SendMessageA(f->Handle(), WM_NCACTIVATE, TRUE, 0);
  PumpMessages();

  std::vector<double> plainTimes, skinnedTimes;
  for (int i = 0; i < kRepaintRounds; ++i) {
    plainTimes.push_back(RepaintMicroseconds(plain.Handle()));
    skinnedTimes.push_back(RepaintMicroseconds(skinned.Handle()));
    PumpMessages();
  }
  const double p = bench::Median(plainTimes), s = bench::Median(skinnedTimes);
  std::printf(
      "  whole non-client repaint of the form, RedrawWindow(RDW_FRAME | RDW_INVALIDATE | "
      "RDW_UPDATENOW), %d rounds each:\n",
      kRepaintRounds);
  std::printf("    unskinned            %8.1f us\n", p);
  std::printf("    skinned, SkinItem2   %8.1f us%s\n", s,
              data.NoSkinLoaded ? "   (NOT LOADED)" : "");
  std::printf("    ratio skinned / unskinned %.2f: %s\n", s / p,
              s <= 2 * p && s < 1000 ? "within the targets" : "MISSES the targets");
  for (TSampleForm* f : {&plain, &skinned}) ShowWindow(f->Handle(), SW_HIDE);
}

// The painter's own work, without the window system's: composing the borders and the
// caption strip and copying them into memory.
void TimePainter(TSkinStore& store) {
  testkit::MemoryDC target(kWidth, kHeight);
  std::printf(
      "  the frame painter alone (PaintFrame into a memory DC, active and inactive in turn), "
      "%d rounds each:\n",
      kPaintRounds);
  std::vector<double> all;
  for (int n = 0; n < bench::kShippedSkins; ++n) {
    TSkinData data(nullptr);
    data.LoadSkinFromStore(&store, n);
    TSampleForm form(10, 10, kWidth, kHeight);  // never shown
    TWinSkinForm* skinner = SkinForm(form, data);
    std::vector<double> times;
    for (int i = 0; i < kPaintRounds; ++i) {
      skinner->FActive = (i & 1) == 0;
      const double t0 = bench::Now();
      skinner->PaintFrame(target.dc());
      GdiFlush();
      times.push_back((bench::Now() - t0) * 1e6);
    }
    all.push_back(bench::Median(times));
    std::printf("    SkinItem%d            %8.1f us%s\n", n, all.back(),
                data.NoSkinLoaded ? "   (NOT LOADED)" : "");
  }
  std::printf("    all five             %8.1f us   %s\n", bench::Median(all),
              bench::Median(all) < 500 ? "within the target" : "MISSES the target");
}

}  // namespace

int main(int argc, char** argv) {
  TApplication application;
  InitSkinData();
  InitSkinDraw();
  int result = 0;
  {
    TSkinStore store(nullptr);
    if (!bench::LoadShippedSkins(store)) {
      std::printf("bench formframe: cannot read the packed skins\n");
      result = 1;
    } else if (argc == 3 && std::string(argv[1]) == "--png") {
      const bool ok = WriteSkinSheet(store, argv[2]);
      std::printf("sheet of the five skins %s: %s\n", argv[2], ok ? "written" : "FAILED");
      result = ok ? 0 : 1;
    } else {
      std::printf(
          "bench formframe: %d x %d form, medians under this system (targets: the skinned repaint "
          "at "
          "most 2x the unskinned and under 1000 us; the painter alone 500 us)\n",
          kWidth, kHeight);
      CompareRepaints(store);
      TimePainter(store);
    }
  }
  DoneSkinDraw();
  DoneSkinData();
  return result;
}
