// Test images whose frames are solid colours, one colour per frame, so that a drawn
// result shows which frame landed where.
#pragma once

#include <initializer_list>

#include "SkinDraw.h"

// Frames of `fw` x `fh` side by side (or stacked, `vertical`), in the order of `colours`.
inline TSkinImage SolidStrip(int fw, int fh, std::initializer_list<TSkinColour> colours,
                             bool vertical = false) {
  int n = static_cast<int>(colours.size());
  TSkinImage img(vertical ? fw : fw * n, vertical ? fh * n : fh);
  int k = 0;
  for (TSkinColour c : colours) {
    if (vertical)
      img.Fill({0, k * fh, fw, (k + 1) * fh}, c);
    else
      img.Fill({k * fw, 0, (k + 1) * fw, fh}, c);
    ++k;
  }
  return img;
}
