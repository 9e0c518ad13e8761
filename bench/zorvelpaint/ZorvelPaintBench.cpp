// Repainting Zorvel's whole main window, frame and every control, skinned with the
// shipped skin item 2 against the same window with skinning switched off, in alternating
// rounds. Prints medians and the ratio; when the skinned repaint takes more than twice
// as long, each control's own repaint too, to show where the time goes.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ZorvelBench.h"

namespace {

constexpr int kRounds = 15, kRepaints = 20;
constexpr UINT kWhole = RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

using bench::Skinned;

// How many of the window's descendants answer the skin query, and how many there are.
struct ChildCount {
  int skinned = 0, all = 0;
};
ChildCount CountChildren(HWND w) {
  ChildCount c;
  EnumChildWindows(
      w,
      [](HWND h, LPARAM p) -> BOOL {
        auto& c = *reinterpret_cast<ChildCount*>(p);
        ++c.all;
        c.skinned += Skinned(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&c));
  return c;
}

// The window's controls with a window of their own, by name.
std::map<std::string, HWND> Controls(TFrmMain& form) {
  std::map<std::string, HWND> controls;
  for (std::size_t i = 0; i < form.ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TWinControl*>(form.Components(i)); c && c->HandleAllocated())
      controls[c->Name + " (" + c->ClassName() + ")"] = c->Handle();
  return controls;
}

// Median microseconds of a full repaint of w, everything drawn before the clock stops.
double RepaintMicroseconds(HWND w, int count) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    const double t0 = bench::Now();
    RedrawWindow(w, nullptr, nullptr, kWhole);
    GdiFlush();
    times.push_back((bench::Now() - t0) * 1e6);
  }
  return bench::Median(times);
}

// Switches skinning on or off and waits until the manager has done it (its 250 ms
// delay) and the window has settled; true when the window answers as asked.
bool SetSkinned(TFrmMain& form, bool on) {
  form.SkinData1->SetActive(on);
  HWND w = form.Handle();
  const bool done = bench::PumpUntil([&] { return Skinned(w) == on; }, 2000);
  bench::PumpUntil([] { return false; }, 100);
  return done;
}

void Run(TFrmMain& form) {
  HWND w = form.Handle();
  if (!Skinned(w)) {
    std::printf("bench zorvelpaint: the main window was not skinned when shown\n");
    return;
  }
  const auto controls = Controls(form);
  std::vector<double> times[2];  // [0] unskinned, [1] skinned
  std::map<std::string, std::vector<double>> controlTimes[2];
  ChildCount children[2];
  bool mainSkinned[2] = {}, phasesRight = true;
  for (int r = 0; r < 2 * kRounds; ++r) {
    const int skinned = (r + 1) % 2;  // skinned first: it is how the program starts
    phasesRight = SetSkinned(form, skinned) && phasesRight;
    const ChildCount c = CountChildren(w);
    if (r < 2) {
      children[skinned] = c;
      mainSkinned[skinned] = Skinned(w);
    }
    phasesRight = phasesRight && (skinned ? c.skinned > 0 : c.skinned == 0);
    RepaintMicroseconds(w, 2);  // warm-up after the switch
    times[skinned].push_back(RepaintMicroseconds(w, kRepaints));
    for (const auto& [name, h] : controls) controlTimes[skinned][name].push_back(RepaintMicroseconds(h, 5));
  }
  SetSkinned(form, true);

  RECT rect;
  GetWindowRect(w, &rect);
  const double plain = bench::Median(times[0]), skinned = bench::Median(times[1]);
  std::printf("bench: zorvelpaint, Zorvel's main window %ld x %ld with %d jobs listed, whole repaint "
              "RedrawWindow(FRAME | INVALIDATE | ERASE | ALLCHILDREN | UPDATENOW), median of %d rounds "
              "of %d each way\n",
              rect.right - rect.left, rect.bottom - rect.top, form.FileCount(), kRounds, kRepaints);
  const char* answer[2] = {"no", "yes"};
  std::printf("bench: zorvelpaint unskinned %8.1f us   (main window skinned: %s; %d of %d child windows "
              "skinned)\n",
              plain, answer[mainSkinned[0]], children[0].skinned, children[0].all);
  std::printf("bench: zorvelpaint skinned   %8.1f us   (main window skinned: %s; %d of %d child windows "
              "skinned; SkinItem2)\n",
              skinned, answer[mainSkinned[1]], children[1].skinned, children[1].all);
  std::printf("bench: zorvelpaint ratio skinned / unskinned %.2f (target <= 2): %s%s\n", skinned / plain,
              skinned <= 2 * plain ? "met" : "NOT met",
              phasesRight ? "" : "; a phase did NOT reach the asked state");
  if (skinned <= 2 * plain) return;
  std::printf("bench: zorvelpaint each control repainted alone, medians (us):\n");
  for (const auto& [name, h] : controls) {
    const double p = bench::Median(controlTimes[0][name]), s = bench::Median(controlTimes[1][name]);
    std::printf("  %-32s unskinned %8.1f   skinned %8.1f   +%8.1f   ratio %.2f\n", name.c_str(), p, s, s - p,
                s / p);
  }
}

}  // namespace

int main() {
  bench::WithMainForm([](TFrmMain& form) {
    // A few jobs in the list, as a user adds them.
    bench::AddFiles(form, {"D:\\clips\\holiday-01.avi", "D:\\clips\\holiday-02.avi", "D:\\clips\\talk.mkv",
                           "D:\\clips\\garden.mp4", "D:\\clips\\old tape.mpg"});
    Run(form);
  });
  return 0;
}
