#include "SpeedButtons.h"

#include <windowsx.h>

#include <algorithm>

namespace {
void EnsureRegistered() {
  static const bool once = (RegisterFormsClasses(), RegisterSpeedButtons(), true);
  (void)once;
}
}  // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  EnsureRegistered();
}

void TSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (value && GroupIndex > 0 && parent_)
    for (std::size_t i = 0; i < parent_->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
          other && other != this && other->GroupIndex == GroupIndex)
        other->SetDown(false);
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      Invalidate();
      TControl::WndProc(m);  // the mouse-down event
      return;
    case WM_LBUTTONUP: {
      const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
      const bool click = pressed_ && x >= 0 && y >= 0 && x < Width() && y < Height();
      pressed_ = false;
      Invalidate();
      if (!click) return;
      if (GroupIndex > 0) SetDown(!down_ || !AllowAllUp);
      Click();
      return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      hot_ = m.Msg == CM_MOUSEENTER;
      if (Flat) Invalidate();
      return;
    default:
      TGraphicControl::WndProc(m);
      return;
  }
}

void TSpeedButton::Paint() {
  TCanvas& canvas = *Canvas();
  HDC dc = canvas.Handle();
  RECT r{0, 0, Width(), Height()};
  const bool pushed = pressed_ || down_;
  const bool enabled = EffectiveEnabled();
  // A flat button at rest shows its parent through.
  if (!Flat || pushed || (hot_ && enabled)) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : Flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  }
  const int frames = std::max(NumGlyphs, 1);
  const int frame = !enabled ? 1 : down_ ? 3 : pushed ? 2 : 0;
  const int gw = glyph_.Width() / frames, gh = glyph_.Height();
  const std::wstring text = TextToWide(Caption());
  SIZE ts{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &ts);
  const int gap = gw > 0 && ts.cx > 0 ? Spacing : 0;
  const int shift = pushed ? 1 : 0;
  int x = (Width() - gw - gap - int(ts.cx)) / 2 + shift;
  if (gw > 0 && gh > 0) {
    DrawGlyphFrame(dc, glyph_, frames, frame < frames ? frame : 0, x, (Height() - gh) / 2 + shift);
    x += gw + gap;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  TextOutW(dc, x, (Height() - int(ts.cy)) / 2 + shift, text.c_str(), int(text.size()));
}

void RegisterSpeedButtons() {
  auto& info = RegisterClassType<TSpeedButton>("TSpeedButton", "TGraphicControl",
                                               [](TComponent* o) { return new TSpeedButton(o); });
  TPublisher<TSpeedButton>(info)
      .Obj("Glyph", [](TSpeedButton* b) { return b->Glyph(); })
      .Int(
          "NumGlyphs", [](TSpeedButton* b) { return b->NumGlyphs; },
          [](TSpeedButton* b, long long v) { b->NumGlyphs = int(v); })
      .Bool(
          "Flat", [](TSpeedButton* b) { return b->Flat; },
          [](TSpeedButton* b, bool v) { b->Flat = v; })
      .Bool(
          "Down", [](TSpeedButton* b) { return b->Down(); },
          [](TSpeedButton* b, bool v) { b->SetDown(v); })
      .Enum(
          "Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
          [](TSpeedButton* b) { return b->Layout; },
          [](TSpeedButton* b, long long v) { b->Layout = TButtonLayout(v); })
      .Int(
          "Margin", [](TSpeedButton* b) { return b->Margin; },
          [](TSpeedButton* b, long long v) { b->Margin = int(v); })
      .Int(
          "Spacing", [](TSpeedButton* b) { return b->Spacing; },
          [](TSpeedButton* b, long long v) { b->Spacing = int(v); })
      .Int(
          "GroupIndex", [](TSpeedButton* b) { return b->GroupIndex; },
          [](TSpeedButton* b, long long v) { b->GroupIndex = int(v); })
      .Bool(
          "AllowAllUp", [](TSpeedButton* b) { return b->AllowAllUp; },
          [](TSpeedButton* b, bool v) { b->AllowAllUp = v; });
}
