// Loads each shipped skin from its store item into a skin data component (unpack, read
// the description, load every bitmap). Prints medians. Painting a skinned frame is the
// form-frame benchmark's.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BenchKit.h"
#include "ShippedSkins.h"
#include "WinSkinData.h"

namespace {

constexpr int kLoadRounds = 15;

}  // namespace

int main() {
  InitSkinData();
  TSkinStore store(nullptr);
  if (!bench::LoadShippedSkins(store)) {
    std::printf("bench skinload: cannot read the packed skins\n");
    return 1;
  }

  std::printf("bench skinload: medians under this system (target: load 30 ms)\n");
  std::vector<double> allLoads;
  for (int n = 0; n < bench::kShippedSkins; ++n) {
    TSkinData data(nullptr);
    data.LoadSkinFromStore(&store, n);  // warm-up
    std::vector<double> loads;
    for (int r = 0; r < kLoadRounds; ++r) {
      const double t0 = bench::Now();
      data.LoadSkinFromStore(&store, n);
      loads.push_back((bench::Now() - t0) * 1000.0);
    }
    const double load = bench::Median(loads);
    allLoads.push_back(load);
    std::printf("  SkinItem%d: load %7.2f ms   (%s)\n", n, load,
                data.NoSkinLoaded ? "NOT LOADED" : "loaded");
  }
  std::printf("  all five: load median %.2f ms\n", bench::Median(allLoads));
  DoneSkinData();
  return 0;
}
