#include "SkinButtons.h"

#include <windowsx.h>

#include <algorithm>

#include "forms/ImgList.h"
#include "ImgUtilWin.h"
#include "SkinBoxes.h"
#include "SkinDrawWin.h"
#include "SkinRead.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

namespace {

TSkinPoint TextSize(HDC dc, const std::wstring& text, RECT r, UINT flags) {
  if (text.empty()) return {};
  DrawSkinText(dc, text, r, flags | DT_CALCRECT);
  return {int(r.right - r.left), int(r.bottom - r.top)};
}

}  // namespace

TSkinButton::TSkinButton(TComponent* AOwner)
    : TSkinControl(AOwner), FBuffer(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

void TSkinButton::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                bool UseColour) {
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  if (!FControl) return;
  // These classes of other libraries handle their own mouse-down.
  const std::string name = SkinLowerCase(FControl->ClassName());
  FMode = name.rfind("trz", 0) == 0 || name.rfind("tel", 0) == 0 ? 1 : 0;
  FDrawParentBg = ShowsParentBackground(FControl, SkinData);
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  if (PaintAlone(m)) return false;
  switch (m.Msg) {
    case WM_TIMER:
      KillTimer(FHandle, 1);
      SetWindowLongPtrA(FHandle, GWL_STYLE, GetWindowLongPtrA(FHandle, GWL_STYLE));
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control never sees the press: it neither captures the mouse nor clicks.
      if (!FFocused) SetFocus(FHandle);
      SetState(skPressed, true);
      PaintWindow(nullptr);
      if (FMode == 0 && FControl) EmulateMouseDown(m);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (FEnabled && !InState(skHot)) {
        SetState(skHot, true);
        RedrawSkin();
      }
      SkinTrackMouseLeave(FHandle);
      break;
    case WM_MOUSELEAVE:
      SetState(skHot, false);
      SetState(skPressed, false);
      RedrawSkin();
      break;
    case WM_LBUTTONUP:
      if (InState(skPressed)) {
        SetState(skPressed, false);
        RedrawSkin();
        Click();
      }
      break;
    case WM_SETTEXT:
      PaintWindow(nullptr);
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      // The control's own procedure saw the key too and clicks on its release.
      if (m.WParam == VK_SPACE) {
        SetState(skPressed, m.Msg == WM_KEYDOWN);
        RedrawSkin();
      }
      break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
      RedrawSkin();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinButton::Click() {
  if (FControl) {
    FControl->Click();
    return;
  }
  const WPARAM id =
      SkinLowerCase(GetWndClassName(FHandle)) == "tbutton" ? 0 : WPARAM(GetDlgCtrlID(FHandle));
  PostMessageA(GetParent(FHandle), WM_COMMAND, id, reinterpret_cast<LPARAM>(FHandle));
}

// ---------------------------------------------------------------------------------------
// Painting

void TSkinButton::ReadState() {
  FFocused = GetFocus() == FHandle;
  FEnabled = !(GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_DISABLED);
  FCaption = FControl ? GetWidePropByName(FControl, "Caption") : GetWindowTextWide(FHandle);
}

TButtonState TSkinButton::State() const {
  return {FFocused, InState(skPressed), InState(skHot), FEnabled};
}

TCanvas* TSkinButton::BeginBuffer(const RECT& R, int (*FrameOf)(const TButtonState&), int& Frame) {
  const TDataSkinButton& buttons = *FSkinData->Buttons;
  if (buttons.Bitmap.Empty()) return nullptr;
  ReadState();
  Frame = FrameOf(State());
  FBuffer->SetSize(R.right - R.left, R.bottom - R.top);
  TCanvas& canvas = *FBuffer->Canvas();
  const RECT all{0, 0, FBuffer->Width(), FBuffer->Height()};
  if (FDrawParentBg)
    PaintParentBackground(FControl, canvas.Handle());
  else
    FillSkinFace(canvas.Handle(), all);
  DrawSkinObject(*FBuffer, all, 5, Frame, buttons);
  // The control's font (a plain window's own, in the skin's text colour), then the
  // skin's colour of the state where it gives one, shadow when disabled.
  if (FControl) {
    if (auto* font = GetObjectPropByName<TFont>(FControl, "Font")) canvas.Font.Assign(font);
  } else {
    AssignWindowFont(canvas.Font, FHandle);
    canvas.Font.Color = static_cast<TColor>(FSkinData->ButtonTextColour);
  }
  SetButtonStateColour(canvas.Font, buttons, Frame, FEnabled);
  return &canvas;
}

int ButtonGlyphLayout(TObject* Control) {
  const std::string name = SkinLowerCase(GetEnumPropByName(Control, "Layout"));
  return name == "blglyphright" ? 1 : name == "blglyphtop" ? 2 : name == "blglyphbottom" ? 3 : 0;
}

void SetButtonStateColour(TFont& Font, const TDataSkinButton& Buttons, int Frame, bool Enabled) {
  if (Frame == 1 && Buttons.HasNormalColour2) Font.Color = Buttons.NormalColour2;
  if (Frame == 4 && Buttons.HasMouseOverColour2) Font.Color = Buttons.MouseOverColour2;
  if (Frame == 2 && Buttons.HasPressedColour2) Font.Color = Buttons.PressedColour2;
  if (!Enabled) Font.Color = clBtnShadow;
}

void TSkinButton::EndBuffer(HDC DC, const RECT& R) {
  BitBlt(DC, R.left, R.top, FBuffer->Width(), FBuffer->Height(), FBuffer->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void TSkinButton::DrawSkin(HDC DC, const RECT& R) {
  int frame;
  TCanvas* canvas = BeginBuffer(R, PushButtonFrame, frame);
  if (!canvas) return;
  DrawCaption(*canvas, {0, 0, FBuffer->Width(), FBuffer->Height()}, DT_CENTER);
  EndBuffer(DC, R);
}

void TSkinButton::DrawCaption(TCanvas& Canvas, const RECT& R, UINT Alignment) {
  const UINT flags = Alignment | DT_EXPANDTABS | DT_WORDBREAK;
  FCaption = ReplaceFirstWide(FCaption, L"||", L"\r\n");
  HDC dc = Canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT t = R;
  InflateRect(&t, -2, -2);
  const TSkinPoint size = TextSize(dc, FCaption, t, flags | DT_NOCLIP);
  RECT place = ToRect(PlaceCaption(ToSkinRect(R), {0, 0}, size.X, size.Y, Alignment == DT_CENTER));
  DrawSkinText(dc, FCaption, place, AddReadingOrder(this, flags));
  SetBkMode(dc, OPAQUE);
  DrawFocusAround(dc, place);
}

void TSkinButton::DrawFocusAround(HDC DC, RECT Text) {
  if (!FFocused || InSet(FSkinData->Options, xoNoFocusRect)) return;
  InflateRect(&Text, 2, 2);
  DrawFocusRect(DC, &Text);
}

// ---------------------------------------------------------------------------------------
// Bitmap button

void TSkinBitButton::DrawGlyph(TCanvas& Canvas, const RECT& R, int NumGlyphs, int Index,
                               TBitmap& Glyph) {
  NumGlyphs = std::max(NumGlyphs, 1);  // a count read from another library may be 0 or -1
  const int w = Glyph.Width() / NumGlyphs, h = Glyph.Height();
  if (w <= 0 || h <= 0) return;
  const int x = Index > NumGlyphs ? 0 : w * (Index - 1);
  TBitmap part;
  part.SetSize(w, h);
  BitBlt(part.Canvas()->Handle(), 0, 0, w, h, Glyph.Canvas()->Handle(), x, 0, SRCCOPY);
  if (Index == 2) skin::Grayscale(part);
  part.Transparent = true;
  part.TransparentColor = part.Canvas()->Pixel(0, h - 1);
  Canvas.Draw(R.left, R.top, part);
}

void TSkinBitButton::DrawSkin(HDC DC, const RECT& R) {
  int frame;
  TCanvas* buffer = BeginBuffer(R, PushButtonFrame, frame);
  if (!buffer) return;
  TCanvas& canvas = *buffer;
  const int glyphNumber = frame == 2 ? 3 : frame == 3 ? 2 : 1;

  TGraphic* foreign =
      FGlyphProperty.empty() ? nullptr : GetObjectPropByName<TGraphic>(FControl, FGlyphProperty);
  auto* glyph = FGlyphProperty.empty() ? GetObjectPropByName<TBitmap>(FControl, "Glyph") : nullptr;
  auto* images =
      FGlyphProperty.empty() ? GetObjectPropByName<TImageList>(FControl, "Images") : nullptr;
  long long numGlyphs = GetOrdPropByName(FControl, "NumGlyphs");
  if (numGlyphs == -1) numGlyphs = 1;
  const long long imageIndex = GetOrdPropByName(FControl, "ImageIndex");
  const long long disabledIndex = GetOrdPropByName(FControl, "DisabledIndex");
  const int layout = ButtonGlyphLayout(FControl);
  const bool centred = SkinLowerCase(GetEnumPropByName(FControl, "Alignment")) == "tacenter";

  TSkinPoint G{};
  if (foreign)
    G = {foreign->Width(), foreign->Height()};
  else if (glyph && !glyph->Empty())
    G = {glyph->Width() / int(std::max(numGlyphs, 1LL)), glyph->Height()};
  else if (images && imageIndex != -1)
    G = {images->Width(), images->Height()};
  const TSkinPoint C{int(R.right - R.left), int(R.bottom - R.top)};

  FCaption = ReplaceFirstWide(FCaption, L"||", L"\r\n");
  RECT room{2, 2, C.X - 2, C.Y - 2};
  if (layout <= 1)
    room.right -= G.X + 2;
  else
    room.bottom -= G.Y + 2;
  HDC dc = canvas.Handle();
  const TSkinPoint T = TextSize(dc, FCaption, room, DT_WORDBREAK);
  const TGlyphLayout at =
      LayoutGlyphAndText(C, G, T, layout, int(GetOrdPropByName(FControl, "Margin")),
                         int(GetOrdPropByName(FControl, "Spacing")), centred);

  const RECT glyphRect{at.Glyph.X, at.Glyph.Y, at.Glyph.X + G.X, at.Glyph.Y + G.Y};
  if (foreign) {
    canvas.Draw(glyphRect.left, glyphRect.top, *foreign);
  } else if (glyph && !glyph->Empty()) {
    DrawGlyph(canvas, glyphRect, int(numGlyphs), glyphNumber, *glyph);
  } else if (images) {
    if (FEnabled && imageIndex != -1)
      images->Draw(&canvas, at.Glyph.X, at.Glyph.Y, int(imageIndex), true);
    else if (!FEnabled)
      images->Draw(&canvas, at.Glyph.X, at.Glyph.Y,
                   int(disabledIndex != -1 ? disabledIndex : imageIndex), false);
  }

  RECT text{at.Text.X, at.Text.Y, at.Text.X + T.X, at.Text.Y + T.Y};
  if (!FCaption.empty()) {
    dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawSkinText(dc, FCaption, text, AddReadingOrder(this, at.TextFlags));
    SetBkMode(dc, OPAQUE);
    DrawFocusAround(dc, text);
  }
  EndBuffer(DC, R);
}

// ---------------------------------------------------------------------------------------
// Menu button

void TSkinMenuButton::DrawSkin(HDC DC, const RECT& R) {
  int frame;
  TCanvas* buffer = BeginBuffer(R, MenuButtonFrame, frame);
  if (!buffer) return;
  TCanvas& canvas = *buffer;
  FCaption = ReplaceFirstWide(FCaption, L"||", L"\r\n");
  const int W = int(R.right - R.left), H = int(R.bottom - R.top);
  HDC dc = canvas.Handle();
  const TSkinPoint T = TextSize(dc, FCaption, {2, 2, W - 17 - 2, H - 2}, DT_WORDBREAK);
  const TSkinPoint origin = MenuButtonTextOrigin(W, H, T.X, T.Y);
  const TColor ink = FEnabled ? clWindowText : clBtnShadow;
  canvas.Brush = {ink, bsSolid};
  canvas.Pen.Color = ink;
  const TArrow arrow = MenuButtonArrow(W, H);
  const POINT corners[3] = {
      {arrow.P[0].X, arrow.P[0].Y}, {arrow.P[1].X, arrow.P[1].Y}, {arrow.P[2].X, arrow.P[2].Y}};
  canvas.Polygon(corners, 3);
  RECT text{origin.X, origin.Y, origin.X + T.X, origin.Y + T.Y};
  dc = canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  DrawSkinText(dc, FCaption, text, DT_WORDBREAK);
  DrawFocusAround(dc, text);
  EndBuffer(DC, R);
}
