// Zorvel's main window skinned as it starts: the CPU it spends at rest over 20 seconds
// (its hover timer and the manager's timer running), the time from a skin switch's
// action to the last frame repainted over 20 switches between the five shipped skins,
// and the live GDI objects before and after 200 cycles of switching the skin and
// switching skinning off and on. Prints medians.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "ZorvelBench.h"

namespace {

constexpr double kIdleSeconds = 20;
constexpr int kSwitches = 20, kCycles = 200;

// What the process can still make: Wine keeps no count of a process's GDI objects, so
// the free room of the handle table stands in for it.
int FreeGdiCapacity() {
  std::vector<HBRUSH> brushes;
  for (HBRUSH b; (b = CreateSolidBrush(RGB(1, 2, 3))) != nullptr;) brushes.push_back(b);
  for (HBRUSH b : brushes) DeleteObject(b);
  return int(brushes.size());
}

// Handles what is waiting, painting included; returns when the queue is empty.
void Settle() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Run(TFrmMain& form) {
  HWND w = form.Handle();
  if (!bench::Skinned(w)) {
    std::printf("bench skinmanager: the main window was not skinned\n");
    return;
  }
  TSkinManage& manager = *ActiveSkinManager();
  TSkinData& data = *form.SkinData1;

  // At rest: the message loop as the program runs it, sleeping until a message comes.
  const double cpu0 = bench::ProcessCpuSeconds(), wall0 = bench::Now();
  while (bench::Now() - wall0 < kIdleSeconds) Application->HandleMessage();
  const double idle = (bench::ProcessCpuSeconds() - cpu0) / (bench::Now() - wall0);

  // The floor of a switch: the whole window repainted once, controls and frame, with no
  // switch at all.
  std::vector<double> repaints;
  for (int i = 0; i < kSwitches; ++i) {
    const double t0 = bench::Now();
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    repaints.push_back((bench::Now() - t0) * 1e3);
  }

  // A switch: the skin read, its action run at once instead of after the delay, and
  // every repaint that follows handled.
  std::vector<double> switches;
  for (int i = 1; i <= kSwitches; ++i) {
    data.LoadSkinFromStore(form.SkinStore1, i % 5);
    const double t0 = bench::Now();
    manager.RunAction();
    UpdateWindow(w);
    Settle();
    switches.push_back((bench::Now() - t0) * 1e3);
  }

  auto cycle = [&](int n) {
    for (int i = 0; i < n; ++i) {
      data.LoadSkinFromStore(form.SkinStore1, i % 5);
      manager.RunAction();
      data.SetActive(false);
      manager.RunAction();
      data.SetActive(true);
      manager.RunAction();
      Settle();
    }
  };
  cycle(5);
  const int before = FreeGdiCapacity();
  cycle(kCycles);
  const int after = FreeGdiCapacity();

  const double switchMs = bench::Median(switches), repaintMs = bench::Median(repaints);
  std::printf("bench skinmanager: Zorvel's main window skinned (targets: at rest at most 0.005 CPU-s per s; "
              "a switch under 30 ms)\n");
  std::printf("  at rest over %.0f s            %.4f CPU-s per s  %s\n", kIdleSeconds, idle,
              idle <= 0.005 ? "within the target" : "OVER the target");
  std::printf("  skin switch to last repaint   %.2f ms (median of %d)  %s\n", switchMs, kSwitches,
              switchMs < 30 ? "within the target" : "OVER the target");
  std::printf("  the same window repainted whole, no switch: %.2f ms (median of %d); switch / repaint %.2f\n",
              repaintMs, kSwitches, switchMs / repaintMs);
  std::printf("  GDI objects kept by %d cycles of switch, off and on: %d\n", kCycles, before - after);
}

}  // namespace

int main() {
  bench::WithMainForm(Run);
  return 0;
}
