// Prints (label bench): the time of one paint of a 75 x 25 push button and of a
// 530 x 120 group box, each skinned with the program's default skin and unskinned, side
// by side (medians of 41 rounds of 200 paints into a memory DC); target: skinned at most
// twice unskinned.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BenchKit.h"
#include "SkinBoxes.h"
#include "SkinButtons.h"
#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"

namespace {

constexpr int kRounds = 41;
constexpr int kPaints = 200;

// Microseconds per paint of the window into dc, median of the rounds.
double PaintTime(HWND window, HDC dc) {
  std::vector<double> rounds;
  for (int r = 0; r < kRounds; ++r) {
    const double start = bench::Now();
    for (int i = 0; i < kPaints; ++i)
      SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    rounds.push_back((bench::Now() - start) / kPaints * 1e6);
  }
  return bench::Median(rounds);
}

}  // namespace

int main() {
  TApplication application;
  InitSkinData();
  InitSkinDraw();
  std::ifstream in(std::string(ZV_SKINS_DIR) + "/packed/SkinItem2.skn", std::ios::binary);
  const std::string archive((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TSkinData data(nullptr);
  data.SkinStream.Write(archive.data(), archive.size());
  if (archive.empty() || !data.LoadSkinStream()) {
    std::printf("bench skincontrols: cannot load SkinItem2\n");
    return 1;
  }
  RegisterFormsClasses();
  TWinSkinForm skinForm(nullptr);
  TForm form(nullptr);
  form.SetClientSize(600, 300);
  ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);

  struct Pair {
    const char* what;
    TWinControl* plain;
    TWinControl* skinned;
  };
  auto place = [&](TWinControl* c, int x, int y, int w, int h) {
    c->SetBounds(x, y, w, h);
    c->SetCaption("Convert");
    c->SetParent(&form);
    return c;
  };
  const Pair pairs[] = {
      {"push button 75 x 25", place(new TButton(&form), 10, 10, 75, 25),
       place(new TButton(&form), 100, 10, 75, 25)},
      {"group box 530 x 120", place(new TGroupBox(&form), 10, 40, 530, 120),
       place(new TGroupBox(&form), 10, 170, 530, 120)},
  };
  (new TSkinButton(pairs[0].skinned))
      ->AttachControl(&skinForm, &data, skinForm.FControlCanvas.get(), false);
  (new TSkinGroupBox(pairs[1].skinned))
      ->AttachControl(&skinForm, &data, skinForm.FControlCanvas.get(), false);

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 600, 300);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ReleaseDC(nullptr, screen);
  std::printf("bench skincontrols: one paint, median of %d rounds of %d\n", kRounds, kPaints);
  bool met = true;
  for (const Pair& p : pairs) {
    PaintTime(p.plain->Handle(), dc);  // warm-up
    PaintTime(p.skinned->Handle(), dc);
    const double plain = PaintTime(p.plain->Handle(), dc),
                 skinned = PaintTime(p.skinned->Handle(), dc);
    const double ratio = skinned / plain;
    met = met && ratio <= 2;
    std::printf("  %-20s unskinned %7.1f us   skinned %7.1f us   ratio %.2f (target <= 2)\n",
                p.what, plain, skinned, ratio);
  }
  std::printf("  target %s\n", met ? "met" : "NOT met");
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ShowWindow(form.Handle(), SW_HIDE);
  DoneSkinDraw();
  DoneSkinData();
  return 0;
}
