#include "SkinLayout.h"

#include <algorithm>

TSkinRect PlaceCaption(const TSkinRect& R, TSkinPoint origin, int w, int h, bool centre) {
  const int top = origin.Y + (R.Height() - h) / 2 - 1;
  if (centre) {
    const int left = origin.X + (R.Width() - w) / 2;
    return {left, top, left + w, top + h};
  }
  return {R.Left, top, R.Right, top + h};
}

TSkinRect CaptionFocusRect(const TSkinRect& R, int w, int h, unsigned flags) {
  TSkinRect t{R.Left, R.Top, R.Left + w, R.Top + h};
  int dx = 0, dy = 0;
  if (flags & kDtCenter) {
    dx = (R.Width() - w) / 2;
    dy = (R.Height() - h) / 2 - 1;
  } else if (flags & kDtRight) {
    dx = R.Width() - w;
  }
  t = {t.Left + dx - 2, t.Top + dy - 1, t.Right + dx + 2, t.Bottom + dy + 1};
  return {std::max(t.Left, R.Left), std::max(t.Top, R.Top), std::min(t.Right, R.Right),
          std::min(t.Bottom, R.Bottom)};
}

TImageTextLayout LayoutImageAndText(const TSkinRect& R, bool hasImage, int cx, int cy, int w, int h,
                                    int alignment) {
  const int room = hasImage && cx < R.Width() ? cx : 0;
  int d = 3;
  if (alignment == 1) d = (R.Width() - room - w) / 2;
  if (alignment == 2) d = R.Width() - room - w - 2;
  if (d < 2) d = 1;
  return {{R.Left + d, R.Top + (R.Height() - cy) / 2},
          {R.Left + d + room, R.Top + (R.Height() - h) / 2}};
}

TGlyphLayout LayoutGlyphAndText(TSkinPoint C, TSkinPoint G, TSkinPoint T, int layout, int margin,
                                int spacing, bool centred) {
  TGlyphLayout r;
  const bool across = layout == 2 || layout == 3;  // glyph above or below the text
  // Centred across the layout's axis.
  if (across) {
    r.Glyph.X = (C.X - G.X + 1) / 2;
    r.Text.X = (C.X - T.X + 1) / 2;
  } else {
    r.Glyph.Y = (C.Y - G.Y + 1) / 2;
    r.Text.Y = (C.Y - T.Y + 1) / 2;
  }
  if (T.X == 0 || G.X == 0) spacing = 0;
  const int c = across ? C.Y : C.X, g = across ? G.Y : G.X, t = across ? T.Y : T.X;
  if (margin == -1 || centred) {
    if (spacing == -1) {
      margin = (c - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (c - (g + spacing + t)) / 2;
    }
  } else if (spacing == -1) {
    spacing = (c - margin - g - t) / 2;
  }
  switch (layout) {
    case 0:
      r.Glyph.X = margin;
      r.Text.X = margin + G.X + spacing;
      r.TextFlags = kDtWordBreak;
      break;
    case 1:
      r.Glyph.X = C.X - margin - G.X;
      r.Text.X = r.Glyph.X - spacing - T.X;
      r.TextFlags = kDtWordBreak | kDtRight;
      break;
    case 2:
      r.Glyph.Y = margin;
      r.Text.Y = margin + G.Y + spacing;
      r.TextFlags = kDtWordBreak | kDtCenter;
      break;
    default:
      r.Glyph.Y = C.Y - margin - G.Y;
      r.Text.Y = r.Glyph.Y - spacing - T.Y;
      r.TextFlags = kDtWordBreak | kDtCenter;
      break;
  }
  return r;
}

TSkinPoint MenuButtonTextOrigin(int width, int height, int w, int h) {
  return {(width - 17 - w) / 2 + 2, (height - h + 1) / 2};
}

TArrow MenuButtonArrow(int width, int height) {
  return {
      {{width - 12, height / 2 + 2}, {width - 15, height / 2 - 1}, {width - 9, height / 2 - 1}}};
}

int PushButtonFrame(const TButtonState& s) {
  int frame = s.Focused ? 5 : 1;
  if (s.Pressed)
    frame = 2;
  else if (s.Hot)
    frame = 4;
  return s.Enabled ? frame : 3;
}

int MenuButtonFrame(const TButtonState& s) {
  int frame = s.Focused || s.Hot ? 4 : 1;
  if (s.Pressed) frame = 2;
  return s.Enabled ? frame : 3;
}

std::wstring ReplaceFirstWide(const std::wstring& S, const std::wstring& Pattern,
                              const std::wstring& Replacement) {
  const std::size_t at = Pattern.empty() ? std::wstring::npos : S.find(Pattern);
  if (at == std::wstring::npos) return S;
  return S.substr(0, at) + Replacement + S.substr(at + Pattern.size());
}
