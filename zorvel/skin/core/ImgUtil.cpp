#include "ImgUtil.h"

#include <algorithm>
#include <array>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace skin {
namespace {

std::uint32_t DefaultSysColor(int index) {
#ifdef _WIN32
  return GetSysColor(index);
#else
  // Without a system: the classic Windows scheme for the common indices.
  switch (index) {
    case 5:  // window
      return 0xFFFFFF;
    case 8:  // window text
    case 18:  // button text
      return 0x000000;
    case 13:  // highlight
      return RGBColor(0, 0, 128);
    case 16:  // button shadow
      return RGBColor(128, 128, 128);
    default:  // button face and the rest
      return RGBColor(192, 192, 192);
  }
#endif
}

TSysColorFunc gSysColor = DefaultSysColor;

struct GradientCache {
  std::array<std::vector<TColor>, kGradientSlots> slots;
  int next = 0;
};

// Freed with the program.
GradientCache& Cache() {
  static GradientCache cache;
  return cache;
}

}  // namespace

TSysColorFunc SetSysColorFunc(TSysColorFunc func) {
  TSysColorFunc previous = gSysColor;
  gSysColor = func ? func : DefaultSysColor;
  return previous;
}

std::uint32_t ColorToRGB(TColor color) {
  if (color < 0) return gSysColor(color & 0xFF);
  return static_cast<std::uint32_t>(color);
}

TColor MixColors(TColor c1, TColor c2, int amount) {
  const std::uint32_t a = ColorToRGB(c1), b = ColorToRGB(c2);
  const int d = amount < 100 ? 100 : 1000;
  auto mix = [&](int ca, int cb) {
    long long v = (static_cast<long long>(cb) * (d - amount) +
                   static_cast<long long>(ca) * amount + d / 2) / d;
    return static_cast<int>(v & 0xFF);
  };
  return static_cast<TColor>(RGBColor(mix(ColorRed(a), ColorRed(b)),
                                      mix(ColorGreen(a), ColorGreen(b)),
                                      mix(ColorBlue(a), ColorBlue(b))));
}

int ColorSaturation(TColor color) {
  const auto c = static_cast<std::uint32_t>(color);
  const int r = ColorRed(c), g = ColorGreen(c), b = ColorBlue(c);
  if (r < 160 && g < 160 && b < 160) return 200;
  const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  // Exact rounding, half to even, of 255 x (max - min) / max.
  const int num = 255 * (mx - mn);
  int q = num / mx, rem = num % mx;
  if (2 * rem > mx || (2 * rem == mx && (q & 1))) ++q;
  return q;
}

int GetGradientColors(int count, TColor c1, TColor c2) {
  if (count < 1 || count > kMaxGradientColors) return -1;
  GradientCache& cache = Cache();
  for (int s = kGradientSlots - 1; s >= 0; --s) {
    const std::vector<TColor>& ramp = cache.slots[s];
    if (static_cast<int>(ramp.size()) == count && ramp.front() == c1 && ramp.back() == c2)
      return s;
  }
  const int slot = cache.next;
  cache.next = (cache.next + 1) % kGradientSlots;
  std::vector<TColor>& ramp = cache.slots[slot];
  ramp.assign(static_cast<std::size_t>(count), 0);
  const auto a = static_cast<std::uint32_t>(c1), b = static_cast<std::uint32_t>(c2);
  const int from[3] = {ColorRed(a), ColorGreen(a), ColorBlue(a)};
  const int to[3] = {ColorRed(b), ColorGreen(b), ColorBlue(b)};
  const int d = count - 1, half = d / 2;
  for (int i = 0; i < count; ++i) {
    int ch[3];
    for (int k = 0; k < 3; ++k)
      ch[k] = d == 0 ? from[k] + (to[k] - from[k]) / 2
                     : from[k] + (i * (to[k] - from[k]) + half) / d;
    ramp[static_cast<std::size_t>(i)] = static_cast<TColor>(RGBColor(ch[0], ch[1], ch[2]));
  }
  return slot;
}

const std::vector<TColor>& GradientSlot(int slot) { return Cache().slots.at(slot); }

void ClearGradientCache() {
  GradientCache& cache = Cache();
  for (auto& ramp : cache.slots) ramp.clear();
  cache.next = 0;
}

TBandRange VisibleBands(int start, int count, int clipStart, int clipEnd) {
  TBandRange range{0, count - 1};
  if (clipStart > start) range.first = clipStart - start;
  if (clipEnd < start + count) range.last = clipEnd - start - 1;
  return range;
}

void GrayscalePixels(const TPixelView& view) {
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) {
      std::uint8_t* p = view.Pixel(x, y);
      p[0] = p[1] = p[2] = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
    }
}

void ReplaceColourPixels(const TPixelView& view, std::uint32_t key, std::uint32_t rgb) {
  const int kb = ColorBlue(key), kg = ColorGreen(key), kr = ColorRed(key);
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) {
      std::uint8_t* p = view.Pixel(x, y);
      if (p[0] == kb && p[1] == kg && p[2] == kr) {
        p[0] = static_cast<std::uint8_t>(ColorBlue(rgb));
        p[1] = static_cast<std::uint8_t>(ColorGreen(rgb));
        p[2] = static_cast<std::uint8_t>(ColorRed(rgb));
      }
    }
}

void ReplaceMagentaPixels(const TPixelView& view, std::uint32_t rgb) {
  ReplaceColourPixels(view, RGBColor(255, 0, 255), rgb);
}

void MirrorPixels(const TPixelView& view) {
  const int n = view.bytesPerPixel;
  std::uint8_t tmp[4];
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width / 2; ++x) {
      std::uint8_t* a = view.Pixel(x, y);
      std::uint8_t* b = view.Pixel(view.width - 1 - x, y);
      std::memcpy(tmp, a, n);
      std::memcpy(a, b, n);
      std::memcpy(b, tmp, n);
    }
}

void FlipPixels(const TPixelView& view) {
  const std::size_t rowBytes = static_cast<std::size_t>(view.width) * view.bytesPerPixel;
  std::vector<std::uint8_t> tmp(rowBytes);
  for (int y = 0; y < view.height / 2; ++y) {
    std::uint8_t* a = view.Row(y);
    std::uint8_t* b = view.Row(view.height - 1 - y);
    std::memcpy(tmp.data(), a, rowBytes);
    std::memcpy(a, b, rowBytes);
    std::memcpy(b, tmp.data(), rowBytes);
  }
}

void RotatePixels(const TPixelView& src, const TPixelView& dst, bool clockwise) {
  const int n = src.bytesPerPixel;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      // Anticlockwise: (x, y) -> (y, width - 1 - x); clockwise: (height - 1 - y, x).
      std::uint8_t* to = clockwise ? dst.Pixel(src.height - 1 - y, x)
                                   : dst.Pixel(y, src.width - 1 - x);
      std::memcpy(to, src.Pixel(x, y), n);
    }
}

}  // namespace skin
