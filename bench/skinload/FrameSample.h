// A window drawn from a loaded skin, as a picture: the four borders, the caption
// buttons, the menu bar band and a few controls on the face colour. The benchmark times
// it; the README's sample sheet is made of it.
#pragma once

#include "WinSkinDataCore.h"

// Paints a `width` x `height` window into `out` (resized); `active` picks the frame of
// the active or inactive window. With `controls`, a button, a progress bar, a check box,
// a radio button and a scroll bar sit on the face. Magenta marks what lies outside the
// window's shape.
void PaintFrameSample(const TSkinContent& skin, TSkinImage& out, int width, int height, bool active,
                      bool controls);
