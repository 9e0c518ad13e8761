#include "SkinBoxes.h"

#include <commctrl.h>

#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "forms/ComCtrls.h"

TBitmap& StatusScratch() {
  static TBitmap scratch;
  return scratch;
}

UINT AlignmentFlag(TAlignment Alignment) {
  return Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
}

void AssignWindowFont(TFont& Font, HWND Window) {
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(Window, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (!font || !GetObjectA(font, sizeof lf, &lf))
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  Font.Name = lf.lfFaceName;
  Font.Height = lf.lfHeight;
  Font.Charset = lf.lfCharSet;
  Font.Style = (lf.lfWeight >= FW_BOLD ? 1u << fsBold : 0) | (lf.lfItalic ? 1u << fsItalic : 0) |
               (lf.lfUnderline ? 1u << fsUnderline : 0) | (lf.lfStrikeOut ? 1u << fsStrikeOut : 0);
}

// ---------------------------------------------------------------------------------------
// Status bar

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
  return !PaintAlone(m) && TSkinControl::BeforeMessage(m);
}

void TSkinStatusBar::DrawPanelFrame(HDC DC, const RECT& R, int Frame) {
  const TDataSkinObject* edges = FSkinData->StatusBarEdges.get();
  if (edges && !edges->Bitmap.Empty()) {
    DrawNineSlice(DC, ToSkinRect(R), edges->Bitmap, edges->Margins, Frame, 3, false,
                  edges->Tile != 0, false);
    return;
  }
  if (Frame == 3) return;
  // A one-pixel bevel: lowered is dark at the top left, raised the other way round.
  const TColor topLeft = Frame == 1 ? clBtnShadow : clBtnHighlight;
  const TColor bottomRight = Frame == 1 ? clBtnHighlight : clBtnShadow;
  FillSolidRect(DC, {R.left, R.top, R.right, R.top + 1}, topLeft);
  FillSolidRect(DC, {R.left, R.top, R.left + 1, R.bottom}, topLeft);
  FillSolidRect(DC, {R.left, R.bottom - 1, R.right, R.bottom}, bottomRight);
  FillSolidRect(DC, {R.right - 1, R.top, R.right, R.bottom}, bottomRight);
}

void TSkinStatusBar::DrawSkin(HDC DC, const RECT& R) {
  auto* bar = dynamic_cast<TStatusBar*>(FControl);
  TBitmap& scratch = StatusScratch();
  if (scratch.Width() < R.right || scratch.Height() < R.bottom)
    scratch.SetSize(std::max(scratch.Width(), int(R.right)),
                    std::max(scratch.Height(), int(R.bottom)));
  TCanvas& canvas = *scratch.Canvas();
  canvas.Brush = {static_cast<TColor>(FSkinData->ButtonFaceColour), bsSolid};
  canvas.FillRect(R);
  if (bar)
    canvas.Font.Assign(bar->Font());
  else
    AssignWindowFont(canvas.Font, FHandle);
  canvas.Font.Style = 0;
  if (FSkinData->StatusBarEdges)
    canvas.Font.Color = ColorToRGB(FSkinData->StatusBarEdges->NormalColour2);
  HDC dc = canvas.Handle();

  const int count = bar ? int(bar->Panels().Count()) : 0;
  if (!bar || bar->SimplePanel() || count == 0) {
    const UINT align = bar && bar->BiDiMode == bdRightToLeft ? DT_RIGHT : DT_LEFT;
    std::wstring text = GetWidePropByName(FControl, "simpletext");
    DrawPanelFrame(dc, R, 1);
    if (text.empty()) text = L" ";
    DrawCaptionText(this, canvas, {R.left + 2, R.top, R.right - 2, R.bottom}, align, true, text);
  } else {
    for (int i = 0; i < count; ++i) {
      TStatusPanel* panel = bar->Panels().Items(i);
      TAlignment alignment = panel->Alignment();
      if (panel->BiDiMode() == bdRightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
      const int frame = panel->Bevel() == pbLowered ? 1 : panel->Bevel() == pbRaised ? 2 : 3;
      RECT pr;
      if (!SendMessageA(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr))) continue;
      pr.right += 2;
      if (i == count - 1) pr.right = R.right;
      std::wstring text = GetWidePropByName(panel, "Text");
      DrawPanelFrame(dc, pr, frame);
      if (panel->Style() != psText) continue;
      if (text.empty()) text = L" ";
      DrawCaptionText(this, canvas, {pr.left + 2, pr.top, pr.right - 2, pr.bottom},
                      AlignmentFlag(alignment), true, text);
    }
  }

  const TDataSkinObject* extra = FSkinData->ExtraImages.get();
  if ((GetWindowLongPtrA(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && extra && !extra->Bitmap.Empty()) {
    const int w = extra->Bitmap.Width() / std::max(extra->FrameCount, 1),
              h = extra->Bitmap.Height();
    StretchFrameTransparent(canvas.Handle(),
                            {R.right - 1 - w, R.bottom - 1 - h, R.right - 1, R.bottom - 1},
                            extra->FrameCount, 5, extra->Bitmap);
  }
  BitBlt(DC, R.left, R.top, R.right - R.left, R.bottom - R.top, canvas.Handle(), R.left, R.top,
         SRCCOPY);
  if (!bar) return;
  bar->PaintControls(DC, nullptr);
  // The owner-drawn parts draw on the DC just painted, also when it is not the screen's.
  if (bar->OnDrawPanel)
    for (int i = 0; i < count; ++i) {
      RECT pr;
      if (!SendMessageA(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr))) continue;
      InflateRect(&pr, -2, -2);
      bar->DrawPanel(bar->Panels().Items(i), DC, pr);
    }
}

// ---------------------------------------------------------------------------------------
// Group box

void TSkinGroupBox::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                  bool UseColour) {
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  if (FControl) FMode = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& m) {
  const bool answer = TSkinControl::BeforeMessage(m);
  if (FMode != 0 && m.Msg == WM_PAINT) {
    HandlePaint(m);
    return false;
  }
  return answer;
}

void TSkinGroupBox::DrawSkin(HDC DC, const RECT& R) {
  std::wstring caption = GetWindowTextWide(FHandle);
  if (caption.empty() && FControl) caption = GetWidePropByName(FControl, "Caption");
  if (FControl) FillSkinFace(DC, R);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(FHandle, WM_GETFONT, 0, 0));
  if (FControl) {
    font = FControl->Font()->Handle();
    SetTextColor(DC, ColorToRGB(FControl->Font()->Color));
  }
  HGDIOBJ oldFont = font ? SelectObject(DC, font) : nullptr;
  SIZE zero{};
  GetTextExtentPoint32W(DC, L"0", 1, &zero);
  const int y = int(zero.cy) / 2 - 1;
  if (FMode == 0) {
    // Covers the frame the window drew itself.
    RECT frame{0, y, R.right, R.bottom};
    FrameRect(DC, &frame, FSkinData->SkinBrush);
    InflateRect(&frame, -1, -1);
    FrameRect(DC, &frame, FSkinData->SkinBrush);
  }
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(static_cast<TColor>(FSkinData->ButtonShadowColour)));
  HGDIOBJ oldPen = SelectObject(DC, pen);
  HGDIOBJ oldBrush = SelectObject(DC, GetStockObject(NULL_BRUSH));
  RoundRect(DC, 1, y, R.right - 1, R.bottom - 1, 5, 5);
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(pen);

  // The caption's own background hides the frame line behind it.
  const COLORREF oldBk =
      SetBkColor(DC, ColorToRGB(static_cast<TColor>(FSkinData->ButtonFaceColour)));
  if (GetWindowLongPtrA(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) {
    RECT text{R.left, R.top, R.right - 8, R.bottom};
    UINT flags = DT_RIGHT | DT_EXPANDTABS;
    if (FControl && FControl->BiDiMode == bdRightToLeft) flags |= DT_RTLREADING;
    DrawSkinText(DC, caption, text, flags);
  } else {
    RECT text{R.left + 8, R.top, R.right, R.bottom};
    DrawSkinText(DC, caption, text, DT_EXPANDTABS);
  }
  SetBkColor(DC, oldBk);
  if (oldFont) SelectObject(DC, oldFont);
  if (FControl && FMode == 1) FControl->PaintControls(DC, nullptr);
}

// ---------------------------------------------------------------------------------------
// Box

void TSkinBox::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                             bool UseColour) {
  // Once: a second attach would keep the skin's colour as the one to give back.
  if (!BindControl(Form, SkinData, Canvas, UseColour)) return;
  if (Form) Form->RegisterSkinControl(this);
  if (UseColour) TakeFaceColour();
  FAttached = true;
  FStatus = 1;
}

void TSkinBox::DetachSkin() {
  TSkinControl::DetachSkin();
  FStatus = 2;
}

// ---------------------------------------------------------------------------------------

void DrawCaptionCentered(TCanvas& Canvas, const RECT& Rect, const std::wstring& Text, bool Enabled,
                         TAlignment Alignment) {
  const UINT flags = AlignmentFlag(Alignment) | DT_EXPANDTABS | DT_SINGLELINE;
  Canvas.Brush.Style = bsClear;
  Canvas.Font.Style = 0;
  RECT t = Rect;
  DrawSkinText(Canvas.Handle(), Text, t, flags | DT_CALCRECT | DT_NOCLIP);
  const int w = int(t.right - t.left), h = int(t.bottom - t.top);
  RECT place{Rect.left + (Rect.right - Rect.left - w) / 2,
             Rect.top + (Rect.bottom - Rect.top - h) / 2, 0, 0};
  place.right = place.left + w;
  place.bottom = place.top + h;
  if (!Enabled) Canvas.Font.Color = clBtnShadow;
  DrawSkinText(Canvas.Handle(), Text, place, flags);
}
