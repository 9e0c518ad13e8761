#include "MPlayer.h"

#include <windowsx.h>

#include <algorithm>
#include <bit>
#include <cctype>

namespace {
void EnsureRegistered() {
  static const bool once = (RegisterFormsClasses(), RegisterMediaPlayer(), true);
  (void)once;
}
}  // namespace

std::string ButtonSetText(TButtonSet set) {
  std::string text = "[";
  for (int i = 0; i < kMPButtonCount; ++i)
    if (set & (1u << i)) text += std::string(text.size() > 1 ? "," : "") + kMPBtnTypeNames[i];
  return text + "]";
}

TButtonSet ButtonSetFromText(const std::string& text) {
  TButtonSet set = 0;
  std::string name;
  for (char c : text + ",") {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += char(std::tolower(static_cast<unsigned char>(c)));
      continue;
    }
    for (int i = 0; i < kMPButtonCount; ++i) {
      std::string known = kMPBtnTypeNames[i];
      for (char& k : known) k = char(std::tolower(static_cast<unsigned char>(k)));
      if (name == known) set |= 1u << i;
    }
    name.clear();
  }
  return set;
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TWinControl(owner) {
  EnsureRegistered();
  SetBounds(0, 0, 253, 30);
  for (int kind = 0; kind < 3; ++kind)
    for (int b = 0; b < kMPButtonCount; ++b)
      glyphs_[kind][b] =
          LoadBitmapA(GetModuleHandleA(nullptr),
                      MPGlyphResource(kMPGlyphPrefixes[kind], TMPBtnType(b)).c_str());
}

TMediaPlayer::~TMediaPlayer() {
  for (auto& kind : glyphs_)
    for (HBITMAP glyph : kind)
      if (glyph) DeleteObject(glyph);
}

int TMediaPlayer::ButtonAt(int x) const {
  const int visible = std::popcount(VisibleButtons & kAllMPButtons);
  if (visible == 0 || x < 0) return -1;
  const int w = Width() / visible;
  int left = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!(VisibleButtons & (1u << b))) continue;
    if (x < left + w) return b;
    left += w;
  }
  return -1;
}

void TMediaPlayer::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      const int b = ButtonAt(GET_X_LPARAM(m.LParam));
      pressed_ = b >= 0 && (EnabledButtons & (1u << b)) ? b : -1;
      if (pressed_ >= 0 && handle_) SetCapture(handle_);
      Invalidate();
      break;
    }
    case WM_LBUTTONUP: {
      if (handle_ && GetCapture() == handle_) ReleaseCapture();
      const int b = pressed_;
      pressed_ = -1;
      Invalidate();
      if (b >= 0 && ButtonAt(GET_X_LPARAM(m.LParam)) == b) ButtonClick(TMPBtnType(b));
      break;
    }
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TMediaPlayer::ButtonClick(TMPBtnType button) {
  bool doDefault = true;
  if (OnClick) OnClick(this, button, doDefault);
  if (doDefault) {
    switch (button) {
      case btPlay:
        mode_ = mpPlaying;
        break;
      case btPause:
        if (mode_ == mpPlaying || mode_ == mpPaused)
          mode_ = mode_ == mpPlaying ? mpPaused : mpPlaying;
        break;
      case btStop:
        mode_ = mpStopped;
        break;
      case btRecord:
        mode_ = mpRecording;
        break;
      case btEject:
        mode_ = mpOpen;
        break;
      default:  // the seeking buttons: there is nothing to seek in
        break;
    }
  }
  if (OnPostClick) OnPostClick(this, button);
}

void TMediaPlayer::Paint(HDC dc) {
  const int visible = std::popcount(VisibleButtons & kAllMPButtons);
  if (visible == 0) return;
  const int w = Width() / visible;
  HDC glyphDC = CreateCompatibleDC(dc);
  int left = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!(VisibleButtons & (1u << b))) continue;
    RECT r{left, 0, left + w, Height()};
    left += w;
    const bool enabled = EnabledButtons & (1u << b);
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (b == pressed_ ? DFCS_PUSHED : 0));
    HBITMAP glyph = glyphs_[!enabled ? 1 : (ColoredButtons & (1u << b)) ? 2 : 0][b];
    BITMAP info;
    if (!glyph || !GetObjectA(glyph, sizeof info, &info)) continue;
    HGDIOBJ old = SelectObject(glyphDC, glyph);
    GdiTransparentBlt(dc, int(r.left + (w - info.bmWidth) / 2), int((Height() - info.bmHeight) / 2),
                      info.bmWidth, info.bmHeight, glyphDC, 0, 0, info.bmWidth, info.bmHeight,
                      kMPGlyphKey);
    SelectObject(glyphDC, old);
  }
  DeleteDC(glyphDC);
}

void RegisterMediaPlayer() {
  auto& info = RegisterClassType<TMediaPlayer>("TMediaPlayer", "TWinControl",
                                               [](TComponent* o) { return new TMediaPlayer(o); });
  const auto set = [&info](const char* name, TButtonSet TMediaPlayer::*field) {
    TPublisher<TMediaPlayer>(info).Str(
        name, [field](TMediaPlayer* p) { return ButtonSetText(p->*field); },
        [field](TMediaPlayer* p, const std::string& v) {
          p->*field = ButtonSetFromText(v);
          p->Invalidate();
        });
  };
  set("VisibleButtons", &TMediaPlayer::VisibleButtons);
  set("EnabledButtons", &TMediaPlayer::EnabledButtons);
  set("ColoredButtons", &TMediaPlayer::ColoredButtons);
}
