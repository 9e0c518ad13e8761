// What the control skinners share: window text, bitmap copies, caption and image
// drawing, skin elements and frames of strips, and the property access by name of
// SkinProps.h.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "SkinControl.h"
#include "SkinDraw.h"
#include "SkinProps.h"
#include "forms/Graphics.h"

class TDataSkinObject;

// The window has the popup style, or hangs below the desktop of the old systems.
bool IsPopupWindow(HWND Handle);
// Target becomes Source's size and pixel format, with Source drawn at (0, 0).
void DuplicateBitmap(TBitmap& Source, TBitmap& Target);
// The window's text: the wide one on NT-family systems, else the 8-bit one (at most
// 1000 bytes) widened with the system's code page.
std::wstring GetWindowTextWide(HWND Handle);
// Flags plus DT_RTLREADING when the skinner's control reads from the right.
UINT AddReadingOrder(const TSkinControl* Skinner, UINT Flags);
void FillSolidRect(HDC DC, const RECT& R, TColor Colour);
// A one-pixel frame of R in Colour.
void FrameSolid(HDC DC, const RECT& R, TColor Colour);
// One caption in R: Alignment 1 (DT_CENTER) centres it both ways, any other moves it to
// the middle and aligns it in R's width as the flag says; greyed when not enabled.
void DrawCaptionText(const TSkinControl* Skinner, TCanvas& Canvas, const RECT& R, UINT Alignment,
                     bool Enabled, const std::wstring& Text);
// An image of the list (ImageIndex -1: none) followed by one line of text, aligned 0
// left, 1 centre, 2 right; the text greyed while the skinner's control is disabled.
void DrawImageAndText(const TSkinControl* Skinner, TCanvas& Canvas, const RECT& R, int Alignment,
                      const std::wstring& Text, int ImageIndex, HIMAGELIST ImageList);
// Frame `Frame` of `FrameCount` of the element as a nine-slice at R, colour-keyed when
// the element says so; an inverted R draws nothing.
void DrawSkinObject(HDC DC, const RECT& R, int FrameCount, int Frame,
                    const TDataSkinObject& Element);
// The same straight into the pixels of an off-screen bitmap: no device context, no mask.
void DrawSkinObject(TBitmap& Target, const RECT& R, int FrameCount, int Frame,
                    const TDataSkinObject& Element);
// Frame `Frame` (from 1) of a strip of FrameCount frames side by side, stretched to R,
// magenta transparent; an inverted R draws nothing.
void StretchFrameTransparent(HDC DC, const RECT& R, int FrameCount, int Frame,
                             const TSkinImage& Strip);
void StretchFrameToCanvas(TCanvas& Canvas, const RECT& R, int FrameCount, int Frame,
                          const TSkinImage& Strip);
void StretchFrameMasked(HDC DC, const RECT& R, int FrameCount, int Frame, const TSkinImage& Strip);
// The same straight into the pixels of an off-screen bitmap.
void StretchFrameMasked(TBitmap& Target, const RECT& R, int FrameCount, int Frame,
                        const TSkinImage& Strip);
// The status bar's scratch picture from its origin into R.
void CopyStatusScratch(HDC DC, const RECT& R);

inline TSkinRect ToSkinRect(const RECT& r) {
  return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}
inline RECT ToRect(const TSkinRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}
