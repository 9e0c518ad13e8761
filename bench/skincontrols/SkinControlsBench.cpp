// Prints (label bench): the time of one paint of a 75 x 25 push button and of a
// 530 x 120 group box, each skinned with the program's default skin and unskinned, side
// by side (medians of 41 rounds of 200 paints into a memory DC); target: skinned at most
// twice unskinned.
#include <windows.h>

#include <cstdio>

#include "BenchKit.h"
#include "SkinBench.h"
#include "SkinBoxes.h"
#include "SkinButtons.h"
#include "forms/StdCtrls.h"

int main() {
  bench::SkinBenchHost host(600, 300);
  if (!host.Ready) {
    std::printf("bench skincontrols: cannot load SkinItem2\n");
    return 1;
  }
  auto place = [&](TWinControl* c, int x, int y, int w, int h) {
    c->SetBounds(x, y, w, h);
    c->SetCaption("Convert");
    c->SetParent(&host.Form);
    return c;
  };
  TWinControl *plainButton = place(new TButton(&host.Form), 10, 10, 75, 25),
              *skinnedButton = place(new TButton(&host.Form), 100, 10, 75, 25),
              *plainBox = place(new TGroupBox(&host.Form), 10, 40, 530, 120),
              *skinnedBox = place(new TGroupBox(&host.Form), 10, 170, 530, 120);
  host.Skin<TSkinButton>(skinnedButton);
  host.Skin<TSkinGroupBox>(skinnedBox);
  bench::ComparePaints("skincontrols",
                       {{"push button 75 x 25", plainButton->Handle(), skinnedButton->Handle()},
                        {"group box 530 x 120", plainBox->Handle(), skinnedBox->Handle()}},
                       600, 300);
  return 0;
}
