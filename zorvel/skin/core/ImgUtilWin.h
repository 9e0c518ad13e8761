// The bitmap and device-context forms of the bitmap and colour helpers.
#pragma once

#include <windows.h>

#include "ImgUtil.h"
#include "forms/Graphics.h"

namespace skin {

// Converts the bitmap to 24 bits, then each pixel's three bytes := their mean.
void Grayscale(TBitmap& bitmap);
// Converts to 24 bits when needed; pure magenta pixels take the colour (resolved).
void ReplaceColor(TBitmap& bitmap, TColor color);
void MirrorHorizontal(TBitmap& bitmap);
void FlipVertical(TBitmap& bitmap);
// A quarter turn anticlockwise (Rotate90) or clockwise (Rotate270).
void Rotate90(TBitmap& bitmap);
void Rotate270(TBitmap& bitmap);
// Paints the ramp from C1 to C2 in one-pixel bands (rows when vertical), only those
// inside the clip box, each band with a brush of its own.
void GradientFill(HDC dc, const RECT& rect, TColor c1, TColor c2, bool vertical);

}  // namespace skin
