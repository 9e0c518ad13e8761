#include "SkinStates.h"

#include <algorithm>

#include "forms/MPlayerTypes.h"
#include "SkinRead.h"

namespace {

bool Has(const std::string& s, const char* part) {
  return s.find(part) != std::string::npos;
}

}  // namespace

TCheckState CheckBoxState(const TCheckBoxFacts& f) {
  TCheckState s = f.Checked ? csChecked : csUnchecked;
  if (f.Framework) {
    if (f.HasState) {
      const std::string name = SkinLowerCase(f.StateName);
      if (Has(name, "uncheck"))
        s = csUnchecked;
      else if (Has(name, "check"))
        s = csChecked;
      else if (Has(name, "gray"))
        s = csGrayed;
    } else if (f.HasChecked) {
      s = SkinLowerCase(f.CheckedName) == "true" ? csChecked : csUnchecked;
    }
    if (f.DataAware && f.Cache != 0)
      s = f.Cache == 1 ? csUnchecked : f.Cache == 2 ? csChecked : csGrayed;
    if (f.DataBinding) s = csUnchecked;
  }
  return f.Indeterminate ? csGrayed : s;
}

int CheckBoxFrame(TCheckState state, bool enabled, int n) {
  static constexpr int twelve[3][2] = {{4, 1}, {8, 5}, {12, 9}};
  static constexpr int four[3][2] = {{3, 1}, {4, 2}, {4, 4}};
  const int k = (n == 12 ? twelve : four)[state][enabled ? 1 : 0];
  return std::clamp(k, 1, std::max(n, 1));
}

int RadioButtonFrame(bool checked, bool enabled, int n) {
  static constexpr int eight[2][2] = {{4, 1}, {8, 5}};
  static constexpr int four[2][2] = {{3, 1}, {4, 2}};
  const int k = (n == 8 ? eight : four)[checked ? 1 : 0][enabled ? 1 : 0];
  return std::clamp(k, 1, std::max(n, 1));
}

TCheckLayout CheckBoxLayout(const TSkinRect& R, int w, int h, bool leftText, bool radio) {
  const int top = R.Top + (R.Height() - h) / 2;
  if (leftText) {
    const int right = radio ? R.Right - 1 : R.Right;
    return {{right - w, top, right, top + h}, {R.Left, R.Top, right - w - 2, R.Bottom}};
  }
  return {{R.Left, top, R.Left + w, top + h}, {R.Left + w + 2, R.Top, R.Right, R.Bottom}};
}

// ---------------------------------------------------------------------------------------

int TabPositionOfStyle(unsigned style) {
  const bool vertical = style & 0x80, second = style & 2;
  return vertical ? (second ? 3 : 2) : (second ? 1 : 0);
}

TSkinRect TabPaneRect(int position, TSkinRect p) {
  p = {p.Left - 4, p.Top - 4, p.Right + 4, p.Bottom + 4};
  switch (position) {
    case 0:
      ++p.Top;
      break;
    case 1:
      --p.Bottom;
      break;
    case 2:
      ++p.Left;
      break;
    default:
      --p.Right;
      break;
  }
  return p;
}

TSkinRect TabStripRect(int position, const TSkinRect& R, const TSkinRect& P) {
  switch (position) {
    case 0:
      return {R.Left, R.Top, R.Right, P.Top};
    case 1:
      return {R.Left, P.Bottom, R.Right, R.Bottom};
    case 2:
      return {R.Left, R.Top, P.Left, R.Bottom};
    default:
      return {P.Right, R.Top, R.Right, R.Bottom};
  }
}

TSkinPoint TabWorkSize(int position, const TSkinRect& strip) {
  if (position < 2) return {strip.Width(), strip.Height()};
  return {strip.Height(), strip.Width()};
}

TSkinRect TabInWork(int position, const TSkinRect& T, const TSkinRect& R, const TSkinRect& P,
                    int workWidth) {
  switch (position) {
    case 0:
      return {T.Left, T.Top + 1, T.Right, T.Bottom + 1};
    case 1:
      return {T.Left, T.Top - P.Bottom - 1, T.Right, T.Bottom - P.Bottom - 1};
    case 2:
      return {workWidth - T.Bottom, T.Left, workWidth - T.Top, T.Right};
    default:
      return {T.Top - 1, R.Right - T.Right, T.Bottom - 1, R.Right - T.Left};
  }
}

std::vector<int> TabSetLayout(const std::vector<int>& widths, int first, int start, int limit,
                              bool scrollerShown) {
  std::vector<int> at(widths.size(), -1);
  const int room = scrollerShown ? limit - 12 : limit;
  int x = start;
  for (std::size_t i = std::size_t(std::max(first, 0)); i < widths.size(); ++i) {
    if (x + widths[i] > room) continue;
    at[i] = x;
    x += widths[i];
  }
  return at;
}

// ---------------------------------------------------------------------------------------

int SpeedButtonFrame(bool pressed, bool hot, bool enabled, bool down) {
  int frame = pressed ? 2 : hot ? 4 : 1;
  if (!enabled) frame = 3;
  return down ? 2 : frame;
}

int SpeedButtonGlyph(int frame, bool down) {
  if (down) return 4;
  return frame == 2 ? 3 : frame == 3 ? 2 : 1;
}

int SpeedButtonMargin(TSkinPoint C, TSkinPoint G, TSkinPoint T, int layout, int margin,
                      int spacing) {
  if (margin != -1) return margin;
  if (T.X == 0 || G.X == 0) spacing = 0;
  if (spacing == -1) return -1;
  const bool across = layout == 2 || layout == 3;
  return ((across ? C.Y : C.X) - ((across ? G.Y : G.X) + spacing + (across ? T.Y : T.X))) / 2 + 1;
}

// ---------------------------------------------------------------------------------------

unsigned MPButtonsNamedIn(const std::string& text) {
  unsigned set = 0;
  for (int b = 0; b < kMPButtonCount; ++b)
    if (Has(text, kMPBtnTypeNames[b])) set |= 1u << b;
  return set;
}

int MPHitButton(unsigned visible, int buttonWidth, int X) {
  int left = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!(visible & (1u << b))) continue;
    if (left <= X && X <= left + buttonWidth) return b;
    left += buttonWidth;
  }
  return kMPButtonCount;
}

std::vector<TMPButtonPlace> MPButtonPlaces(unsigned visible, int width, int height) {
  std::vector<TMPButtonPlace> places;
  for (int b = 0; b < kMPButtonCount; ++b)
    if (visible & (1u << b)) places.push_back({b, {}});
  if (places.empty()) return places;
  const int w = width / int(places.size());
  int left = 0;
  for (TMPButtonPlace& p : places) {
    p.Rect = {left, 0, left + w, height};
    left += w;
  }
  return places;
}

// ---------------------------------------------------------------------------------------

std::vector<int> GlyphSlots(int kind, int n) {
  std::vector<int> slots;
  switch (kind) {
    case 1:
      slots = {1, 2, n == 5 ? 5 : 0, 1, 2, n == 5 ? 5 : 0, 3, 4, n == 5 ? 5 : 0};
      break;
    case 2:
      slots = {1, 2, 1, 2, 3, 4};
      break;
    case 3:
      slots = {1, 2, n == 5 ? 5 : 0, 1, 2, n == 5 ? 5 : 0};
      break;
    default:
      break;
  }
  for (int& s : slots)
    if (s > n) s = 0;  // a skin that claims fewer frames than these kinds read
  return slots;
}
