// The menu bar of a form with eight top-level items painted from the shipped skin item 2,
// and the twenty items of a drop-down measured and painted from it, against the plain
// painting of the same items. Prints medians.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BenchKit.h"
#include "testkit/MemoryDC.h"
#include "ShippedSkins.h"
#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "WinSkinMenuPaint.h"
#include "forms/Forms.h"
#include "forms/Menus.h"

namespace {

constexpr int kRounds = 200, kBarItems = 8, kDropItems = 20;

template <class F>
double MedianMicroseconds(F&& f) {
  std::vector<double> t;
  for (int i = 0; i < kRounds; ++i) {
    const double t0 = bench::Now();
    f();
    t.push_back((bench::Now() - t0) * 1e6);
  }
  return bench::Median(t);
}

void Run(TSkinData& data) {
  TForm form(nullptr);
  form.SetClientSize(530, 300);
  auto* bar = new TMainMenu(&form);
  for (int i = 0; i < kBarItems; ++i) {
    auto* item = new TMenuItem;
    item->SetCaption("&Item " + std::to_string(i + 1));
    item->Add(new TMenuItem);
    bar->Items()->Add(item);
  }
  form.SetMenu(bar);
  form.Show();
  auto* skinner = new TWinSkinForm(&form);
  skinner->FHandle = form.Handle();
  skinner->AttachForm(&data, &form);
  SendMessageA(form.Handle(), WM_SKINSTART, 0, 1000);
  RECT r;
  GetWindowRect(form.Handle(), &r);
  testkit::MemoryDC dc(int(r.right - r.left), int(r.bottom - r.top));
  const TSkinRect band{skinner->FLeftWidth, skinner->FTopHeight, int(r.right - r.left) - skinner->FRightWidth,
                       skinner->FTopHeight + skinner->FMenuBarHeight};
  const double barPaint = MedianMicroseconds([&] { skinner->FMenuBar->PaintBar(dc.dc(), band); });

  TPopupMenu drop(nullptr);
  for (int i = 0; i < kDropItems; ++i) {
    auto* item = new TMenuItem;
    item->SetCaption(i % 7 == 3 ? "-" : "Command &" + std::to_string(i));
    if (i % 5 == 1) item->SetShortCut(TextToShortCut("Ctrl+" + std::to_string(i % 10)));
    drop.Items()->Add(item);
  }
  testkit::MemoryDC items(200, 24 * kDropItems);
  auto pass = [&](bool skinned) {
    int top = 0;
    for (int i = 0; i < kDropItems; ++i) {
      TMenuItem& item = *drop.Items()->Items(i);
      int w = 0, h = 0;
      if (skinned)
        MeasureSkinMenuItem(data, item, items.dc(), w, h);
      else
        item.DefaultMeasure(items.dc(), w, h);
      const RECT place{0, top, 200, top + h};
      if (skinned)
        PaintSkinMenuItem(data, item, items.dc(), place, i == 2);
      else
        item.DefaultDraw(items.dc(), place, i == 2);
      top += h;
    }
  };
  const double plainItems = MedianMicroseconds([&] { pass(false); });
  const double skinItems = MedianMicroseconds([&] { pass(true); });

  std::printf("bench skinmenus: shipped skin item 2, medians of %d rounds (target: a bar paint under 500 us)\n",
              kRounds);
  std::printf("  menu bar of %d items, skinned paint       %8.1f us  %s\n", kBarItems, barPaint,
              barPaint < 500 ? "within the target" : "OVER the target");
  std::printf("  drop-down of %d items, measure and paint: plain %8.1f us, skinned %8.1f us, ratio %.2f\n",
              kDropItems, plainItems, skinItems, skinItems / plainItems);
  ShowWindow(form.Handle(), SW_HIDE);
}

}  // namespace

int main() {
  InitSkinData();
  InitSkinDraw();
  {
    TApplication application;
    TSkinStore store(nullptr);
    if (!bench::LoadShippedSkins(store)) {
      std::printf("bench skinmenus: the shipped skins cannot be read\n");
      return 1;
    }
    TSkinData data(nullptr);
    data.LoadSkinFromStore(&store, 2);
    SafeCall([&] { Run(data); });
  }
  DoneSkinDraw();
  DoneSkinData();
  return 0;
}
