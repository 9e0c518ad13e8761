#include "SkinRanges.h"

#include <commctrl.h>

#include "SkinDrawWin.h"
#include "SkinRangeLayout.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

namespace {

COLORREF Rgb(TSkinColour colour) {
  return ColorToRGB(static_cast<TColor>(colour));
}

// Source stretched opaque onto the piece's place; empty or inverted pieces draw nothing.
void DrawPiece(HDC DC, const TSkinImage& Source, const TSkinPiece& p) {
  const int w = p.Dest.Width(), h = p.Dest.Height();
  // A skin's margins far beyond the control can ask for a piece no image holds: not drawn.
  if (w <= 0 || h <= 0 || p.Source.Width() <= 0 || p.Source.Height() <= 0 || !TSkinImage::Fits(w, h))
    return;
  TSkinImage part(w, h);
  SkinStretchCopy(part, {0, 0, w, h}, Source, p.Source);
  SkinBlit(DC, p.Dest.Left, p.Dest.Top, part);
}

// A pen and a brush selected for as long as it lives.
class TPenAndBrush {
 public:
  TPenAndBrush(HDC dc, COLORREF pen, HBRUSH brush) : dc_(dc), pen_(CreatePen(PS_SOLID, 1, pen)) {
    oldPen_ = SelectObject(dc, pen_);
    oldBrush_ = SelectObject(dc, brush);
  }
  ~TPenAndBrush() {
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldPen_);
    DeleteObject(pen_);
  }
  TPenAndBrush(const TPenAndBrush&) = delete;
  TPenAndBrush& operator=(const TPenAndBrush&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ oldPen_, oldBrush_;
};

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// The arrow of a plain up-down button around (x, y), in the pen's colour.
void DrawArrow(HDC dc, int glyph, int x, int y) {
  switch (glyph) {
    case 0:
      Line(dc, x, y, x, y - 1);
      Line(dc, x + 1, y + 1, x + 4, y + 4);
      Line(dc, x, y + 1, x + 3, y + 4);
      Line(dc, x, y + 2, x + 2, y + 4);
      Line(dc, x - 1, y + 1, x - 4, y + 4);
      Line(dc, x, y + 2, x - 3, y + 4);
      Line(dc, x, y + 1, x - 2, y + 4);
      break;
    case 1:
      Line(dc, x, y + 3, x, y + 4);
      Line(dc, x + 1, y + 2, x + 4, y - 1);
      Line(dc, x, y + 2, x + 3, y - 1);
      Line(dc, x, y + 1, x + 2, y);
      Line(dc, x - 1, y + 2, x - 4, y - 1);
      Line(dc, x, y + 2, x - 3, y - 1);
      Line(dc, x, y + 1, x - 2, y);
      break;
    default: {
      const int d = glyph == 2 ? 1 : -1;  // the right arrow is the left one mirrored
      const POINT p[5] = {{x, y}, {x + d, y + 2}, {x + d, y - 2}, {x - d, y}, {x + d, y + 2}};
      Polyline(dc, p, 5);
      break;
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Track bar

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  // 0xBC4E with the host key is the form skinner's own note, not a notification.
  const bool notify = m.Msg == WM_NOTIFY || (m.Msg == CN_NOTIFY && m.LParam != kSkinHostKey);
  if (!notify) return TSkinControl::BeforeMessage(m);
  const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
  // Custom draw of the track bar itself; its tooltip's goes on to the control.
  if (!header || header->code != UINT(NM_CUSTOMDRAW) || header->hwndFrom != FHandle) return true;
  m.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam));
  return false;
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& cd) {
  if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (cd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  switch (cd.dwItemSpec) {
    case TBCD_THUMB:
      PaintThumb(cd.hdc);
      return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
      PaintChannel(cd.hdc);
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void TSkinTrackBar::PaintChannel(HDC DC) {
  RECT c{};
  SendMessageA(FHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
  const bool vertical = GetWindowLongAuto(FHandle, GWL_STYLE) & TBS_VERT;
  const bool verticalImage = vertical && FSkinData->TrackVert;
  const TDataSkinObject* image =
      verticalImage ? FSkinData->TrackVert.get() : FSkinData->Track.get();
  if (!image) return;
  const TSkinRect d = TrackChannelTarget(ToSkinRect(c), verticalImage);
  for (const TSkinPiece& p : TrackChannelPieces(d, verticalImage, image->Bitmap.Width(),
                                                image->Bitmap.Height(), image->Margins))
    DrawPiece(DC, image->Bitmap, p);
}

void TSkinTrackBar::PaintThumb(HDC DC) {
  if (!IsWindow(FHandle)) return;
  RECT r{};
  SendMessageA(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  const bool vertical = GetWindowLongAuto(FHandle, GWL_STYLE) & TBS_VERT;
  const TDataSkinObject* thumb =
      vertical && FSkinData->ThumbVert ? FSkinData->ThumbVert.get() : FSkinData->ThumbHorz.get();
  if (thumb && !thumb->Bitmap.Empty()) {
    // The same frame in every state of the thumb.
    StretchFrameTransparent(DC, r, 5, 2, thumb->Bitmap);
    return;
  }
  const TPenAndBrush tools(DC, Rgb(FSkinData->ButtonShadowColour),
                           HBRUSH(GetStockObject(WHITE_BRUSH)));
  Rectangle(DC, r.left, r.top, r.right, r.bottom);
}

void TSkinTrackBar::SkinChanged() {
  RedrawSkin();
}

// ---------------------------------------------------------------------------------------
// Up-down

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      HandlePaint(m);
      return false;
    case WM_ERASEBKGND:
      if (!FControl) {
        RECT r;
        GetClientRect(FHandle, &r);
        FillSolidRect(reinterpret_cast<HDC>(m.WParam), r, clWhite);
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOriginalProc(m);
      SetState(skPressed, true);
      PaintWindow(nullptr);
      return false;
    case WM_LBUTTONUP:
      SetState(skPressed, false);
      CallOriginalProc(m);
      PaintWindow(nullptr);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinUpDown::DrawSkin(HDC DC, const RECT& Rect) {
  TSkinRect r = ToSkinRect(Rect);
  if (FBuddy) {
    RECT client, own, parent;
    GetClientRect(FHandle, &client);
    FillSolidRect(DC, client, clWhite);
    if (GetWindowRect(FHandle, &own) && GetWindowRect(GetParent(FHandle), &parent))
      r = UpDownBuddyClear(r, ToSkinRect(own), ToSkinRect(parent));
  }
  const int W = r.Width(), H = r.Height();
  if (W <= 0 || H <= 0) return;
  TBitmap buffer;
  buffer.SetSize(W, H);
  HDC dc = buffer.Canvas()->Handle();
  FillSolidRect(dc, {0, 0, W, H}, static_cast<TColor>(FSkinData->ButtonFaceColour));

  POINT mouse;
  GetCursorPos(&mouse);
  ScreenToClient(FHandle, &mouse);
  // The halves lie in the buffer, which goes to r's corner.
  mouse.x -= r.Left;
  mouse.y -= r.Top;
  const LONG_PTR style = GetWindowLongAuto(FHandle, GWL_STYLE);
  FEnabled = !(style & WS_DISABLED);
  const bool horizontal = FHorizontal == 1 || (style & UDS_HORZ);
  const TDataSkinBorder* element =
      horizontal ? FSkinData->UpDownHorz.get() : FSkinData->UpDownVert.get();
  TUpDownHalf halves[2];
  UpDownHalves(W, H, horizontal, halves);
  for (const TUpDownHalf& half : halves) {
    const RECT h = ToRect(half.Rect);
    const int state = UpDownState(FEnabled, InState(skPressed), PtInRect(&h, mouse) != FALSE);
    if (element) {
      const int f = UpDownFrame(half.Glyph, state);
      DrawFrameStrip(dc, half.Rect, element->Bitmap, f, element->FrameCount, true);
      if (!element->Bitmap2.Empty())
        DrawFrameCentered(dc, half.Rect, element->Bitmap2, f, element->FrameCount, true);
      continue;
    }
    const TColor fill = static_cast<TColor>(state == 2 || state == 4 ? FSkinData->ButtonShadowColour
                                                                     : FSkinData->ButtonFaceColour);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(fill));
    {
      const TPenAndBrush tools(dc, Rgb(FSkinData->ButtonDkShadowColour), brush);
      Rectangle(dc, h.left, h.top, h.right, h.bottom);
      const int lift = half.Glyph <= 1 ? 2 : 0;
      DrawArrow(dc, half.Glyph, h.left + (h.right - h.left) / 2,
                h.top + (h.bottom - h.top) / 2 - lift);
    }
    DeleteObject(brush);
  }
  BitBlt(DC, r.Left, r.Top, W, H, dc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// Progress bar

bool TSkinProgress::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // Without a picture the bar paints itself.
      if (!FSkinData->Progress || FSkinData->Progress->Bitmap.Empty()) return true;
      HandlePaint(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinProgress::DrawSkin(HDC DC, const RECT& R) {
  const TDataSkinBorder* bar = FSkinData->Progress.get();
  if (!bar || bar->Bitmap.Empty()) return;
  const bool vertical = GetWindowLongAuto(FHandle, GWL_STYLE) & PBS_VERTICAL;
  const TDataSkinObject* chunk = FSkinData->ProgressChunk.get();
  TProgressLook look;
  look.Bar = &bar->Bitmap;
  look.Margins = bar->Margins;
  look.Tile = bar->Tile != 0;
  look.ChunkMode = bar->Style == 1;
  if (chunk) {
    look.Chunk = &chunk->Bitmap;
    look.ChunkMargins = chunk->Margins;
    look.ChunkTile = chunk->Tile == 1;
  }
  const int w = R.right - R.left, h = R.bottom - R.top;
  const int low = int(SendMessageA(FHandle, PBM_GETRANGE, TRUE, 0));
  const int high = int(SendMessageA(FHandle, PBM_GETRANGE, FALSE, 0));
  const int pos = int(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
  const int fill = ProgressFill(vertical ? h : w, low, high, pos);
  const TColor face = static_cast<TColor>(FSkinData->ButtonFaceColour);
  SkinBlit(DC, R.left, R.top, ComposeProgress(look, w, h, fill, vertical, ColorToRGB(face)));
}
