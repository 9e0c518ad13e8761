// Prints (label bench): the time of one paint of a 300 x 120 tab control with four tabs
// and of a 120 x 20 check box, each skinned with the program's default skin and
// unskinned, side by side (medians of 41 rounds of 200 paints into a memory DC); target:
// skinned at most twice unskinned.
#include <windows.h>

#include <cstdio>

#include "BenchKit.h"
#include "SkinBench.h"
#include "SkinChecks.h"
#include "SkinTabs.h"
#include "forms/CheckBoxes.h"
#include "forms/TabControls.h"

int main() {
  bench::SkinBenchHost host(660, 200);
  if (!host.Ready) {
    std::printf("bench skintabcheck: cannot load SkinItem2\n");
    return 1;
  }
  const auto tabs = [&](int x) {
    auto* t = new TTabControl(&host.Form);
    t->SetBounds(x, 10, 300, 120);
    t->SetTabs({"General", "Video", "Audio", "Output"});
    t->SetParent(&host.Form);
    return t;
  };
  const auto check = [&](int x) {
    auto* c = new TCheckBox(&host.Form);
    c->SetBounds(x, 150, 120, 20);
    c->SetCaption("Read only");
    c->SetChecked(true);
    c->SetParent(&host.Form);
    return c;
  };
  TTabControl *plainTabs = tabs(10), *skinnedTabs = tabs(340);
  TCheckBox *plainCheck = check(10), *skinnedCheck = check(340);
  host.Skin<TSkinTab>(skinnedTabs);
  host.Skin<TSkinCheckBox>(skinnedCheck);
  bench::ComparePaints("skintabcheck",
                       {{"tab control, 4 tabs", plainTabs->Handle(), skinnedTabs->Handle()},
                        {"check box 120 x 20", plainCheck->Handle(), skinnedCheck->Handle()}},
                       660, 200);
  return 0;
}
