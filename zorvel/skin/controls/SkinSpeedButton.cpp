#include "SkinSpeedButton.h"

#include "SkinDrawWin.h"
#include "SkinRead.h"
#include "SkinStates.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

namespace {

// Sent by the framework when a control is about to lose its procedure for good.
constexpr UINT kControlGone = 0xB021;

bool IsTrue(TObject* Instance, const char* Name) {
  return SkinLowerCase(GetEnumPropByName(Instance, Name)) == "true";
}

}  // namespace

void TSkinSpeedButton::AttachGraphicControl(TWinSkinForm* Form, TSkinData* SkinData,
                                            TCanvas* Canvas) {
  auto* control = dynamic_cast<TControl*>(Owner());
  if (!control || FOldWindowProc) return;
  FSkinData = SkinData;
  FCanvas = Canvas;
  FForm = Form;
  FGraphicControl = control;
  HookWindowProc(control);
  if (Form) Form->RegisterSkinControl(this);
  FStatus = 1;
  FDrawParentBg = ShowsParentBackground(control, SkinData);
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintOnMessage(m);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOriginalProc(m);  // the button does its own press handling
      SetState(skPressed, true);
      PaintWindow(nullptr);
      return false;
    case WM_LBUTTONUP:
      return true;  // its own procedure clicks
    default:
      return TSkinBitButton::BeforeMessage(m);
  }
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
    case WM_MOUSEMOVE:  // hot comes with CM_MOUSEENTER: there is no window to track
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        SetState(skPressed, m.Msg == WM_KEYDOWN);
        PaintWindow(nullptr);
      }
      break;
    case WM_LBUTTONUP:
      SetState(skPressed, false);
      PaintWindow(nullptr);
      break;
    case CM_MOUSEENTER:
      SetState(skHot, true);
      PaintWindow(nullptr);
      break;
    case CM_MOUSELEAVE:
      SetState(skHot, false);
      SetState(skPressed, false);
      PaintWindow(nullptr);
      break;
    case WM_NCDESTROY:
    case kControlGone:
      // The control paints itself again; the skinner stays listed until it is freed.
      Unhook();
      break;
    default:
      TSkinBitButton::AfterMessage(m);
      break;
  }
}

void TSkinSpeedButton::PaintWindow(HDC) {
  auto* button = dynamic_cast<TGraphicControl*>(FGraphicControl);
  TWinControl* parent = button ? button->Parent() : nullptr;
  // Nowhere to paint: no parent window (yet, or any more), or the button hidden.
  if (!parent || !parent->HandleAllocated() || !button->Visible()) return;
  HDC dc = GetDC(parent->Handle());
  SetViewportOrgEx(dc, button->Left(), button->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, button->Width(), button->Height());
  {
    const TCanvasLoan loan(*button->Canvas(), dc);
    DrawSpeedButton(*button->Canvas(), {0, 0, button->Width(), button->Height()});
  }
  ReleaseDC(parent->Handle(), dc);
}

void TSkinSpeedButton::PaintOnMessage(TMessage& m) {
  auto* button = dynamic_cast<TGraphicControl*>(FGraphicControl);
  // While it paints (the parent's background painting the button too), its canvas stays
  // on the device context it draws on.
  if (button && m.WParam && !FPainting) {
    const TCanvasLoan loan(*button->Canvas(), reinterpret_cast<HDC>(m.WParam));
    DrawSpeedButton(*button->Canvas(), {0, 0, button->Width(), button->Height()});
  }
  m.Result = 1;
}

void TSkinSpeedButton::DrawSpeedButton(TCanvas& Canvas, const RECT& R) {
  const TDataSkinButton* buttons = FSkinData ? FSkinData->Buttons.get() : nullptr;
  if (!buttons || buttons->Bitmap.Empty() || FPainting || !FGraphicControl) return;
  FPainting = true;
  struct Done {
    bool& painting;
    ~Done() { painting = false; }
  } done{FPainting};
  TControl* c = FGraphicControl;
  const bool enabled = IsTrue(c, "Enabled"), down = IsTrue(c, "Down");
  const int frame = SpeedButtonFrame(InState(skPressed), InState(skHot), enabled, down);
  FCaption = GetWidePropByName(c, "Caption");
  TFont* font = GetObjectPropByName<TFont>(c, "Font");
  TBitmap* glyph = GetObjectPropByName<TBitmap>(c, "Glyph");
  long long numGlyphs = GetOrdPropByName(c, "NumGlyphs");
  if (numGlyphs == -1) numGlyphs = 1;
  const int layout = ButtonGlyphLayout(c);

  const int W = int(R.right - R.left), H = int(R.bottom - R.top);
  if (W < 1 || H < 1) return;
  try {
    FBuffer->SetSize(W, H);
  } catch (...) {
    return;
  }
  TCanvas& canvas = *FBuffer->Canvas();
  if (font) canvas.Font.Assign(font);
  const RECT all{0, 0, W, H};
  if (FDrawParentBg)
    PaintParentBackground(c, canvas.Handle());
  else
    FillSkinFace(canvas.Handle(), all);
  // A flat button at rest or disabled shows only its background.
  if (frame == 2 || frame == 4 || !IsTrue(c, "Flat"))
    DrawSkinObject(*FBuffer, all, 5, frame, *buttons);
  SetButtonStateColour(canvas.Font, *buttons, frame, enabled);

  const TSkinPoint G =
      glyph && !glyph->Empty()
          ? TSkinPoint{glyph->Width() / int(std::max(numGlyphs, 1LL)), glyph->Height()}
          : TSkinPoint{};
  if (G.X * G.Y == 0) {
    DrawCaption(canvas, all, DT_CENTER);
  } else {
    RECT room{2, 2, W - 2, H - 2};
    if (layout <= 1)
      room.right -= G.X + 2;
    else
      room.bottom -= G.Y + 2;
    HDC dc = canvas.Handle();
    TSkinPoint T{};
    if (!FCaption.empty()) {
      DrawSkinText(dc, FCaption, room, DT_CALCRECT | DT_WORDBREAK);
      T = {int(room.right - room.left), int(room.bottom - room.top)};
    }
    const TSkinPoint C{W, H};
    const int spacing = int(GetOrdPropByName(c, "Spacing"));
    const int margin =
        SpeedButtonMargin(C, G, T, layout, int(GetOrdPropByName(c, "Margin")), spacing);
    const TGlyphLayout at = LayoutGlyphAndText(C, G, T, layout, margin, spacing, false);
    DrawGlyph(canvas, {at.Glyph.X, at.Glyph.Y, at.Glyph.X + G.X, at.Glyph.Y + G.Y}, int(numGlyphs),
              SpeedButtonGlyph(frame, down), *glyph);
    RECT text{at.Text.X, at.Text.Y, at.Text.X + T.X, at.Text.Y + T.Y};
    dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawSkinText(dc, FCaption, text, AddReadingOrder(this, at.TextFlags));
    SetBkMode(dc, OPAQUE);
  }
  Canvas.Draw(R.left, R.top, *FBuffer);
}
