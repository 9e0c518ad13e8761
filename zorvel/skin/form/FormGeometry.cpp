#include "FormGeometry.h"

#include <algorithm>

int SkinBorderSize(int imageExtent, int frameCount) { return std::max(imageExtent, 0) / std::max(frameCount, 1); }

TSkinRect SkinClientRect(const TSkinRect& window, const TFrameState& s, bool& keepSystem) {
  keepSystem = (s.Kind == kMDIChild && s.WindowState != kRestored) || s.BorderKind == kNoCaption;
  if (keepSystem) return window;
  return {window.Left + s.LeftWidth, window.Top + s.TopHeight + s.MenuBarHeight, window.Right - s.RightWidth,
          window.Bottom - s.BottomHeight};
}

int SkinHitTest(int systemAnswer, TSkinPoint point, int topHeight, int menuBarHeight) {
  if (systemAnswer != kHitNowhere && systemAnswer != kHitCaption) return systemAnswer;
  int answer = systemAnswer;
  if (point.Y > 3) answer = kHitCaption;
  if (point.Y > topHeight && menuBarHeight > 0) answer = kHitMenu;
  return answer;
}

TSkinRect SkinButtonBounds(int align, int xcoord, int ycoord, int w, int h, const TFrameState& s) {
  // 64-bit: the coordinates are a skin's numbers and may be huge. A button placed past
  // any window stays far off it, where its rectangle still fits.
  std::int64_t x = 0, y = 0;
  switch (align) {
    case 0:
      x = xcoord;
      y = ycoord;
      break;
    case 1:
      x = std::int64_t(s.WindowWidth) - xcoord;
      y = ycoord;
      break;
    case 2:
    case 8:
      x = std::int64_t(s.TitleRight) - w - xcoord;
      y = ycoord;
      break;
    case 3:
    case 9:
      x = std::int64_t(s.TitleLeft) + xcoord;
      y = ycoord;
      break;
    case 100:
      x = s.RightToLeft ? std::int64_t(xcoord) + s.LeftWidth + s.MenuBarLeftMargin
                        : std::int64_t(s.WindowWidth) - xcoord - s.RightWidth - s.MenuBarLeftMargin;
      y = s.TopHeight + (s.MenuBarHeight - h) / 2;
      break;
    default:
      break;
  }
  constexpr std::int64_t kFarOff = 1 << 30;
  const int left = int(std::clamp(x, -kFarOff, kFarOff)), top = int(std::clamp(y, -kFarOff, kFarOff));
  return {left, top, left + w, top + h};
}

namespace skin_detail {

namespace {
bool Maximized(const TFrameState& s) { return s.WindowState == kMaximized; }
bool Has(const TFrameState& s, std::uint8_t bits) { return (s.FrameFlags & bits) == bits; }
bool DialogFrameOfOwnWindow(const TFrameState& s) { return s.BorderKind == kDialogFrame && !s.IsDialog; }
}  // namespace

// The values both tests share; the first one also wants a system menu beside a box.
bool StateTest(int v, const TFrameState& s, bool withSystemMenu, bool& known) {
  const std::uint8_t menu = withSystemMenu ? kFrameSystemMenu : 0;
  known = true;
  switch (v) {
    case 0:
      return true;
    case 1:
      return Maximized(s);
    case 2:
      return !Maximized(s);
    case 3:
      return s.Active;
    case 4:
      return !s.Active;
    case 6:
      return Has(s, kFrameMaximizeBox | menu);
    case 7:
      return !Has(s, kFrameMaximizeBox);
    case 8:
      return Has(s, kFrameMinimizeBox | menu);
    case 9:
      return !Has(s, kFrameMinimizeBox);
    case 200:
      return DialogFrameOfOwnWindow(s);
    default:
      known = false;
      return false;
  }
}

bool FirstVisibilityTest(int v, const TFrameState& s, bool askedHost) {
  bool known = false;
  const bool result = StateTest(v, s, true, known);
  if (known) return result;
  if (v == 100) return s.Kind == kMDIMainForm && s.ActiveChildMaximized && s.HasMenuBar;
  if (v >= 201 && v <= 999) return true;
  if (v >= 1000 && v <= 2000) return askedHost;
  // 5, 10 to 99, 101 to 199, above 2000 and every negative value (-1 included, which
  // names no test): hidden.
  return false;
}

bool SecondVisibilityTest(int v, bool first, const TFrameState& s) {
  bool known = false;
  const bool result = StateTest(v, s, false, known);
  if (known) return result;
  if (v == 100) return first;
  return v >= 201 && v <= 2000;
}

bool ActionTest(int action, const TFrameState& s) {
  switch (action) {
    case 0:
      return Has(s, kFrameSystemMenu);
    case 1:
      return Has(s, kFrameMaximizeBox);
    case 2:
      return Has(s, kFrameMinimizeBox);
    case 3:
    case 11:
    case 12:
      return s.BorderKind != kDialogFrame;
    default:
      return true;
  }
}

}  // namespace skin_detail

TButtonEffect SkinButtonEffect(int action) {
  switch (action) {
    case 0:
      return TButtonEffect::Close;
    case 1:
    case 22:
      return TButtonEffect::MaximizeOrRestore;
    case 2:
    case 23:
      return TButtonEffect::MinimizeOrRestore;
    case 3:
    case 11:
    case 12:
      return TButtonEffect::SystemMenu;
    case 7:
    case 60:
      return TButtonEffect::MDIChildMinimize;
    case 8:
    case 61:
      return TButtonEffect::MDIChildRestore;
    case 9:
    case 62:
      return TButtonEffect::MDIChildClose;
    default:
      return TButtonEffect::HostAction;
  }
}

TSystemMenuClick SkinSystemMenuClick(std::uint32_t now, std::uint32_t lastOpened, std::uint32_t doubleClickTime,
                                     bool fromIconButton) {
  // Unsigned difference: right across the tick counter's wrap.
  if (now - lastOpened > doubleClickTime) return TSystemMenuClick::Open;
  return fromIconButton ? TSystemMenuClick::Close : TSystemMenuClick::Ignore;
}

TSkinSize SkinWindowSize(int clientWidth, int clientHeight, const TFrameState& s) {
  return {clientWidth + s.LeftWidth + s.RightWidth, clientHeight + s.TopHeight + s.BottomHeight + s.MenuBarHeight};
}

int SkinDialogShift(int width, int minimumWidth) {
  // 64-bit: the minimum holds a skin's margins, which may be huge.
  return width < minimumWidth ? int((std::int64_t(minimumWidth) - width) / 2) : 0;
}

std::array<TRegionPart, 4> SkinRegionParts(int W, int H, const TFrameState& s, const std::array<int, 4>& trans) {
  const int L = s.LeftWidth, R = s.RightWidth, T = s.TopHeight, B = s.BottomHeight;
  const int innerWidth = W - L - R;
  std::array<TRegionPart, 4> parts;
  parts[0] = {{0, 0, L, H}, trans[0] == 1 && H > 1};
  parts[1] = {{W - R, 0, W, H}, trans[1] == 1 && H > 1};
  parts[2] = {{L, 0, W - R, T}, trans[2] == 1 && T > 1 && innerWidth > 0};
  parts[3] = {{L, H - B, W - R, H}, trans[3] == 1 && B >= 2};
  // A side without area has no pixels to read: it adds nothing.
  for (TRegionPart& p : parts)
    if (p.Rect.Width() <= 0 || p.Rect.Height() <= 0) p = {{}, false};
  return parts;
}

int SkinMenuBarStart(bool hasImage, int leftMargin, int rightMargin, bool rightToLeft, int barWidth) {
  if (!hasImage) return 6;
  // A negative margin would put items before the bar: it counts as 0. 64-bit: a skin's
  // margin may be huge.
  const std::int64_t start =
      rightToLeft ? std::max(rightMargin, 0) + std::int64_t(8) : std::max(leftMargin, 0) + std::int64_t(4);
  return start > barWidth ? 12 : int(start);
}

int SkinMenuItemWidth(int textWidth) { return textWidth > 0 ? textWidth + 10 : textWidth; }

std::vector<TSkinRect> SkinMenuBarLayout(const TSkinRect& bar, const std::vector<TMenuBarItem>& items, int start,
                                         bool rightToLeft) {
  std::vector<TSkinRect> bounds;
  int x = rightToLeft ? bar.Width() - start : start;
  for (const TMenuBarItem& item : items) {
    if (!item.Visible) {
      bounds.push_back({});
      continue;
    }
    const int left = rightToLeft ? x - item.Width : x;
    bounds.push_back({bar.Left + left, bar.Top, bar.Left + left + item.Width, bar.Bottom - 1});
    x += rightToLeft ? -item.Width : item.Width;
  }
  return bounds;
}

std::uintptr_t SkinMenuArrowKey(bool keyMessage, bool rightToLeft, std::uintptr_t wParam) {
  constexpr std::uintptr_t kLeft = 0x25, kRight = 0x27;
  if (!keyMessage || !rightToLeft || (wParam != kLeft && wParam != kRight)) return wParam;
  return wParam == kLeft ? kRight : kLeft;
}

int SkinNeighbourIndex(int index, int count, bool forward) {
  if (count <= 0) return -1;
  // An index outside the bar (one left from a bar that had more items) counts as its end.
  if (forward) return index < 0 || index >= count - 1 ? 0 : index + 1;
  return index <= 0 || index >= count ? count - 1 : index - 1;
}
