#include "WinSubClass.h"

#include "SkinBoxes.h"
#include "SkinDrawWin.h"
#include "SkinLayout.h"
#include "WinSkinData.h"

bool IsPopupWindow(HWND Handle) {
  return (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_POPUP) != 0 ||
         GetParent(Handle) == reinterpret_cast<HWND>(0x00010014);
}

void DuplicateBitmap(TBitmap& Source, TBitmap& Target) {
  Target.SetPixelFormat(Source.PixelFormat());
  Target.SetSize(Source.Width(), Source.Height());
  Target.Canvas()->Draw(0, 0, Source);
}

std::wstring GetWindowTextWide(HWND Handle) {
  if (IsWinNT) {
    const int n = GetWindowTextLengthW(Handle);
    std::wstring text(std::size_t(n) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(Handle, text.data(), n + 1)));
    return text;
  }
  char buffer[1000] = {};
  SendMessageA(Handle, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  buffer[sizeof buffer - 1] = '\0';
  const int n = MultiByteToWideChar(CP_ACP, 0, buffer, -1, nullptr, 0);
  std::wstring text(std::size_t(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, buffer, -1, text.data(), n);
  text.resize(wcslen(text.c_str()));
  return text;
}

UINT AddReadingOrder(const TSkinControl* Skinner, UINT Flags) {
  const TControl* c = Skinner->FControl ? Skinner->FControl : Skinner->FGraphicControl;
  return c && c->BiDiMode == bdRightToLeft ? Flags | DT_RTLREADING : Flags;
}

void FillSolidRect(HDC DC, const RECT& R, TColor Colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Colour));
  FillRect(DC, &R, brush);
  DeleteObject(brush);
}

void FrameSolid(HDC DC, const RECT& R, TColor Colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Colour));
  FrameRect(DC, &R, brush);
  DeleteObject(brush);
}

void DrawCaptionText(const TSkinControl* Skinner, TCanvas& Canvas, const RECT& R, UINT Alignment,
                     bool Enabled, const std::wstring& Text) {
  const UINT flags = Alignment | DT_EXPANDTABS;
  Canvas.Brush.Style = bsClear;  // the text goes on without a background
  Canvas.Font.Style = 0;
  RECT t = R;
  DrawSkinText(Canvas.Handle(), Text, t, flags | DT_CALCRECT | DT_NOCLIP);
  RECT place = ToRect(PlaceCaption(ToSkinRect(R), {int(R.left), int(R.top)}, int(t.right - t.left),
                                   int(t.bottom - t.top), Alignment == DT_CENTER));
  if (!Enabled) Canvas.Font.Color = clBtnShadow;
  DrawSkinText(Canvas.Handle(), Text, place, AddReadingOrder(Skinner, flags));
}

void DrawImageAndText(const TSkinControl* Skinner, TCanvas& Canvas, const RECT& R, int Alignment,
                      const std::wstring& Text, int ImageIndex, HIMAGELIST ImageList) {
  int cx = 0, cy = 0;
  if (ImageList) ImageList_GetIconSize(ImageList, &cx, &cy);
  const bool image = ImageList && ImageIndex != -1;
  RECT t = R;
  if (!Text.empty())
    DrawSkinText(Canvas.Handle(), Text, t,
                 DT_END_ELLIPSIS | DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
  else
    t.right = t.left;
  const int w = int(t.right - t.left), h = int(t.bottom - t.top);
  const TImageTextLayout at = LayoutImageAndText(ToSkinRect(R), image, cx, cy, w, h, Alignment);
  if (image)
    ImageList_Draw(ImageList, ImageIndex, Canvas.Handle(), at.Image.X, at.Image.Y, ILD_TRANSPARENT);
  if (Text.empty()) return;
  Canvas.Brush.Style = bsClear;
  Canvas.Font.Style = 0;
  if (!Skinner->FEnabled) Canvas.Font.Color = clBtnShadow;
  RECT place{std::max(at.Text.X, int(R.left)), at.Text.Y, std::min(at.Text.X + w, int(R.right)),
             at.Text.Y + h};
  DrawSkinText(Canvas.Handle(), Text, place,
               AddReadingOrder(Skinner, DT_END_ELLIPSIS | DT_SINGLELINE | DT_EXPANDTABS));
}

void DrawSkinObject(HDC DC, const RECT& R, int FrameCount, int Frame,
                    const TDataSkinObject& Element) {
  DrawNineSlice(DC, ToSkinRect(R), Element.Bitmap, Element.Margins, Frame, FrameCount,
                Element.Trans == 1, Element.Tile != 0, false);
}

namespace {
// A picture copied into the pixels of an off-screen bitmap at dest's corner, magenta left
// out when keyed.
void CopyInto(TBitmap& Target, const TSkinRect& dest, const TSkinImage& picture, bool keyed) {
  const TPixelView view = Target.View();
  for (int y = 0; y < picture.Height(); ++y) {
    const int ty = dest.Top + y;
    if (ty < 0 || ty >= view.height) continue;
    const std::uint8_t* from = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, from += 3) {
      const int tx = dest.Left + x;
      if (tx < 0 || tx >= view.width ||
          (keyed && from[0] == 0xFF && from[1] == 0 && from[2] == 0xFF))
        continue;
      std::uint8_t* to = view.Pixel(tx, ty);
      to[0] = from[0], to[1] = from[1], to[2] = from[2];
    }
  }
}
}  // namespace

void DrawSkinObject(TBitmap& Target, const RECT& R, int FrameCount, int Frame,
                    const TDataSkinObject& Element) {
  const TSkinRect dest = ToSkinRect(R);
  if (dest.Inverted() || Element.Bitmap.Empty()) return;
  CopyInto(Target, dest,
           ComposeNineSlice(dest, Element.Bitmap, Element.Margins, Frame, FrameCount,
                            Element.Tile != 0, false),
           Element.Trans == 1);
}

void StretchFrameMasked(TBitmap& Target, const RECT& R, int FrameCount, int Frame,
                        const TSkinImage& Strip) {
  const TSkinRect dest = ToSkinRect(R);
  if (dest.Inverted() || dest.Width() == 0 || dest.Height() == 0 || Strip.Empty()) return;
  TSkinImage frame(dest.Width(), dest.Height());
  SkinStretchCopy(frame, {0, 0, frame.Width(), frame.Height()}, Strip,
                  SkinFrameRect(Strip.Width(), Strip.Height(), Frame, FrameCount, false).Rect());
  CopyInto(Target, dest, frame, true);
}

void StretchFrameTransparent(HDC DC, const RECT& R, int FrameCount, int Frame,
                             const TSkinImage& Strip) {
  DrawFrameStrip(DC, ToSkinRect(R), Strip, Frame, FrameCount, true);
}

void StretchFrameToCanvas(TCanvas& Canvas, const RECT& R, int FrameCount, int Frame,
                          const TSkinImage& Strip) {
  StretchFrameTransparent(Canvas.Handle(), R, FrameCount, Frame, Strip);
}

void StretchFrameMasked(HDC DC, const RECT& R, int FrameCount, int Frame, const TSkinImage& Strip) {
  StretchFrameTransparent(DC, R, FrameCount, Frame, Strip);
}

void CopyStatusScratch(HDC DC, const RECT& R) {
  TBitmap& scratch = StatusScratch();
  BitBlt(DC, R.left, R.top, R.right - R.left, R.bottom - R.top, scratch.Canvas()->Handle(), 0, 0,
         SRCCOPY);
}
