// Drawing skin images on device contexts: frames of strips, nine-slice and three-slice
// compositions, colour-keyed blits with magenta, window regions cut by a colour key and
// the parent's background behind a control. Compositions are made off-screen and copied
// with one blit. Nothing here reports an error: an empty image draws nothing.
#pragma once

#include <windows.h>

#include <string>

#include "SkinDraw.h"

class TComponent;
class TControl;
class TWinControl;

// The window of a framework control whose window exists (null for anything else), and
// the name of the window property under which the framework keeps its controls.
HWND SkinControlWindow(TComponent* component);
std::string SkinControlAtomText();

// The one off-screen image that the frame painter, the menu bar and the status bar
// compose into before their single blit. Exists between InitSkinDraw and DoneSkinDraw;
// nothing may rely on its contents between two paints.
extern TSkinImage* ScratchBitmap;
void InitSkinDraw();
void DoneSkinDraw();

// A skin image as a GDI bitmap selected into a memory DC, for the platform's blits.
class TSkinImageDC {
 public:
  explicit TSkinImageDC(const TSkinImage& image);
  ~TSkinImageDC();
  TSkinImageDC(const TSkinImageDC&) = delete;
  TSkinImageDC& operator=(const TSkinImageDC&) = delete;
  HDC DC() const noexcept { return dc_; }
  bool Valid() const noexcept { return dc_ != nullptr; }
  // Copies what was drawn on the DC back into `image` (of the same size).
  void ReadBack(TSkinImage& image) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// Copies `image` whole to (x, y) of `dc`.
void SkinBlit(HDC dc, int x, int y, const TSkinImage& image);

// The nine-slice composition of frame `FrameIndex` at the size of `DestRect`.
TSkinImage ComposeNineSlice(const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                            int FrameIndex, int FrameCount, bool Tile, bool Vertical);
// Composes and copies it to DestRect, colour-keyed with magenta when `Transparent`.
void DrawNineSlice(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                   int FrameIndex, int FrameCount, bool Transparent, bool Tile, bool Vertical);
// Left and right columns stretched, the middle repeated at its own width (horizontal
// strips; Top and Bottom margins unused).
void DrawThreeSliceTiled(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                         int FrameIndex, int FrameCount, bool Transparent, bool Vertical);
// Three stretched slices straight into the DC, opaque.
void DrawStripThreeSlice(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinMargins& Margins,
                         int FrameIndex, int FrameCount, bool Vertical);
// Frame k of a horizontal strip stretched to DestRect.
void DrawFrameStrip(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, int FrameIndex, int FrameCount,
                    bool Transparent);
// Frame k of a horizontal strip at its own size, centred on DestRect.
void DrawFrameCentered(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, int FrameIndex,
                       int FrameCount, bool Transparent);
// SourceRect of Source repeated at its own size over DestRect.
void TileBitmapRect(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, const TSkinRect& SourceRect);

// Copies Source (from its origin) into DestRect, leaving the destination where Source is
// KeyColour. `useMaskBlt` picks the platform branch: a masked blit (NT family) or the
// three-blit mask trick (older systems).
void TransparentBlit(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, TSkinColour KeyColour);
void TransparentBlitWith(HDC DC, const TSkinRect& DestRect, const TSkinImage& Source, TSkinColour KeyColour,
                         bool useMaskBlt);

// The region of Source's pixels that are not the key (within the tolerances), moved by
// the offset; never null (an all-key image gives an empty region). The caller owns it.
HRGN RegionFromBitmap(const TSkinImage& Source, int OffsetX, int OffsetY, TSkinColour KeyColour,
                      BYTE ToleranceRed, BYTE ToleranceGreen, BYTE ToleranceBlue);

// Paints the control's parent into DC where the control lies (erase, then paint), so a
// control (windowed or not) can show its parent's background; nothing for a control
// without parent.
void PaintParentBackground(TControl* Control, HDC DC);
