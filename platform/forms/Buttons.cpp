#include "Buttons.h"

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = BS_OWNERDRAW | WS_TABSTOP;
}

void DrawGlyphFrame(HDC dc, TBitmap& glyph, int frames, int frame, int x, int y) {
  const int gw = glyph.Width() / frames, gh = glyph.Height();
  TBitmap part;
  part.SetSize(gw, gh);
  BitBlt(part.Canvas()->Handle(), 0, 0, gw, gh, glyph.Canvas()->Handle(), frame * gw, 0, SRCCOPY);
  part.Transparent = true;
  part.TransparentColor = part.Canvas()->Pixel(0, gh - 1);
  part.Draw(dc, RECT{x, y, x + gw, y + gh});
}

bool TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pushed = item.itemState & ODS_SELECTED, disabled = item.itemState & ODS_DISABLED;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  // The glyph's frame of the state (the first when it has no such frame), or the image.
  const int frames = NumGlyphs > 0 ? NumGlyphs : 1;
  const int frame = disabled && frames > 1 ? 1 : pushed && frames > 2 ? 2 : 0;
  const int gw =
      glyph_.Empty() ? (Images && ImageIndex >= 0 ? Images->Width() : 0) : glyph_.Width() / frames;
  const int gh =
      glyph_.Empty() ? (Images && ImageIndex >= 0 ? Images->Height() : 0) : glyph_.Height();
  const std::wstring text = TextToWide(Caption());
  HGDIOBJ oldFont = SelectObject(dc, FontHandle());
  SIZE ts{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &ts);
  const bool vertical = Layout == blGlyphTop || Layout == blGlyphBottom;
  const int gap = gw && ts.cx ? Spacing : 0;
  const int along = vertical ? gh + gap + ts.cy : gw + gap + ts.cx;
  const int room = vertical ? int(r.bottom - r.top) : int(r.right - r.left);
  const int start = Margin >= 0 ? Margin : (room - along) / 2;
  const bool glyphFirst = Layout == blGlyphLeft || Layout == blGlyphTop;
  const int glyphAt = glyphFirst ? start : room - start - (vertical ? gh : gw);
  const int textAt =
      glyphFirst ? start + (vertical ? gh : gw) + gap : glyphAt - gap - (vertical ? ts.cy : ts.cx);
  const int shift = pushed ? 1 : 0;
  POINT g{vertical ? (int(r.right) - gw) / 2 : glyphAt,
          vertical ? glyphAt : (int(r.bottom) - gh) / 2};
  POINT t{vertical ? (int(r.right) - int(ts.cx)) / 2 : textAt,
          vertical ? textAt : (int(r.bottom) - int(ts.cy)) / 2};
  if (!glyph_.Empty()) {
    DrawGlyphFrame(dc, glyph_, frames, frame, g.x + shift, g.y + shift);
  } else if (Images && ImageIndex >= 0) {
    TCanvas canvas;
    const TCanvasLoan loan(canvas, dc);
    Images->Draw(&canvas, g.x + shift, g.y + shift,
                 disabled && DisabledIndex >= 0 ? DisabledIndex : ImageIndex,
                 !disabled || DisabledIndex >= 0);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  TextOutW(dc, t.x + shift, t.y + shift, text.c_str(), int(text.size()));
  SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&r, -4, -4);
    DrawFocusRect(dc, &r);
  }
  return true;
}

void RegisterButtons() {
  auto& info = RegisterClassType<TBitBtn>("TBitBtn", "TButton",
                                          [](TComponent* o) { return new TBitBtn(o); });
  TPublisher<TBitBtn>(info)
      .Obj("Glyph", [](TBitBtn* b) { return b->Glyph(); })
      .Int(
          "NumGlyphs", [](TBitBtn* b) { return b->NumGlyphs; },
          [](TBitBtn* b, long long v) { b->NumGlyphs = int(v); })
      .Enum(
          "Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
          [](TBitBtn* b) { return b->Layout; },
          [](TBitBtn* b, long long v) { b->Layout = TButtonLayout(v); })
      .Int(
          "Margin", [](TBitBtn* b) { return b->Margin; },
          [](TBitBtn* b, long long v) { b->Margin = int(v); })
      .Int(
          "Spacing", [](TBitBtn* b) { return b->Spacing; },
          [](TBitBtn* b, long long v) { b->Spacing = int(v); })
      .Obj("Images", [](TBitBtn* b) { return b->Images; })
      .Int(
          "ImageIndex", [](TBitBtn* b) { return b->ImageIndex; },
          [](TBitBtn* b, long long v) { b->ImageIndex = int(v); })
      .Int(
          "DisabledIndex", [](TBitBtn* b) { return b->DisabledIndex; },
          [](TBitBtn* b, long long v) { b->DisabledIndex = int(v); });
}
