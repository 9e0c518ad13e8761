// Bitmap and colour helpers of the skin engine: grey and recoloured glyphs, mirrored,
// flipped and turned images, colour blends, gradient ramps with a small cache, and a
// saturation measure. This part works on pixel rows and colour values only; the
// bitmap and device-context forms are in ImgUtilWin.h.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/BmpFile.h"

namespace skin {

// Red in the low byte, then green and blue; a negative value is a system colour whose
// index is its low byte.
using TColor = std::int32_t;

constexpr int ColorRed(std::uint32_t c) { return c & 0xFF; }
constexpr int ColorGreen(std::uint32_t c) { return (c >> 8) & 0xFF; }
constexpr int ColorBlue(std::uint32_t c) { return (c >> 16) & 0xFF; }
constexpr std::uint32_t RGBColor(int r, int g, int b) {
  return std::uint32_t(r & 0xFF) | std::uint32_t(g & 0xFF) << 8 | std::uint32_t(b & 0xFF) << 16;
}

// Where system colours come from: GetSysColor on Windows; tests may set their own.
using TSysColorFunc = std::uint32_t (*)(int index);
// Returns the previous source; nullptr restores the default.
TSysColorFunc SetSysColorFunc(TSysColorFunc func);
// A system colour resolved to RGB; other colours as they are.
std::uint32_t ColorToRGB(TColor color);

// Each channel: (C2 x (D - amount) + C1 x amount + D div 2) div D, cut to 8 bits, where
// D is 100 for amounts below 100 and 1000 from 100 on. System colours are resolved.
TColor MixColors(TColor c1, TColor c2, int amount);

// 200 when every channel is below 160, else (max - min) / max x 255 rounded half to
// even; the low three bytes are taken as they are, system colours included.
int ColorSaturation(TColor color);

// The gradient cache: 16 ramps, filled round robin.
constexpr int kGradientSlots = 16;
// Ramps longer than this are not made (a band per pixel of a screen is far fewer).
constexpr int kMaxGradientColors = 65536;
// The slot that holds the ramp of `count` colours from C1 towards C2 (made when no
// slot has it), or -1 for a count outside 1..kMaxGradientColors.
int GetGradientColors(int count, TColor c1, TColor c2);
const std::vector<TColor>& GradientSlot(int slot);
// Empties every slot and starts again at slot 0.
void ClearGradientCache();

// The bands of a gradient of `count` bands starting at `start` that fall inside the
// clip range [clipStart, clipEnd): first and last (inclusive); empty when last < first.
struct TBandRange {
  int first, last;
};
TBandRange VisibleBands(int start, int count, int clipStart, int clipEnd);

// Pixel work on 24-bit rows (32-bit rows are handled alike, the fourth byte carried).
void GrayscalePixels(const TPixelView& view);
// Every pixel of exactly `key`'s channels takes `rgb`'s (the high byte of each is not
// looked at).
void ReplaceColourPixels(const TPixelView& view, std::uint32_t key, std::uint32_t rgb);
// Every pixel of exactly red 255, green 0, blue 255 takes `rgb`'s channels.
void ReplaceMagentaPixels(const TPixelView& view, std::uint32_t rgb);
void MirrorPixels(const TPixelView& view);
void FlipPixels(const TPixelView& view);
// Turns `src` a quarter anticlockwise (Rotate90) or clockwise into `dst`, which has the
// width and height exchanged and the same pixel size.
void RotatePixels(const TPixelView& src, const TPixelView& dst, bool clockwise);

}  // namespace skin
