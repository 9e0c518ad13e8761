// Painting a skinned window's frame and caption strip, the window icon and the region
// cut from the borders' transparent parts.
#include <algorithm>
#include <array>

#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinFormBuffer.h"

namespace {
constexpr int kLeft = 1, kRight = 2, kTop = 3, kBottom = 4;
}  // namespace

const TDataSkinBorder* TWinSkinForm::BorderElement(int Index) const {
  switch (Index) {
    case kLeft:
      return FSkinData->BorderLeft.get();
    case kRight:
      return FSkinData->BorderRight.get();
    case kTop:
      return FSkinData->BorderTop.get();
    default:
      return FSkinData->BorderBottom.get();
  }
}

// One border side at the given size: frame 1 while the window is active, frame 2 while
// it is inactive (a one-frame image always frame 1), its middle tiled unless it is set
// to stretch.
void TWinSkinForm::ComposeSide(int Index, int Width, int Height, TSkinImage& Result) const {
  const TDataSkinBorder* e = BorderElement(Index);
  if (!e || Width <= 0 || Height <= 0) {
    Result.Clear();
    return;
  }
  const int frame = FActive || e->FrameCount <= 1 ? 1 : 2;
  SkinComposeNineSliceInto(Result, Width, Height, e->Bitmap, e->Margins, frame, e->FrameCount, e->Tile != 1,
                           Index == kTop || Index == kBottom);
}

void TWinSkinForm::PaintFrame(HDC DC) {
  if (!ScratchBitmap || (FState != 1 && FState != 3) || FBorderKind == kNoCaption ||
      (FKind == kMDIChild && FWindowState == kMaximized) || !FSkinData)
    return;
  HDC dc = DC ? DC : GetWindowDC(FHandle);
  if (!dc) return;
  // A failed paint ends quietly; the next one draws again.
  try {
    RECT r{};
    if (GetWindowRect(FHandle, &r)) {
      FWindowRect = r;
      FWindowWidth = r.right - r.left;
      FWindowHeight = r.bottom - r.top;
      const int W = FWindowWidth, H = FWindowHeight;
      if (FWindowState != kMinimized) {
        ComposeSide(kLeft, FLeftWidth, H, FLeftImage);
        SkinBlit(dc, 0, 0, FLeftImage);
        ComposeSide(kRight, FRightWidth, H, FRightImage);
        SkinBlit(dc, W - FRightWidth, 0, FRightImage);
        ComposeSide(kBottom, W - FLeftWidth - FRightWidth, FBottomHeight, FBottomImage);
        SkinBlit(dc, FLeftWidth, H - FBottomHeight, FBottomImage);
      }
      PaintCaption(dc);
      if (FWindowState != kMinimized && FMenuBarHeight > 0 && FSkinData->SkinBrush) {
        const RECT band{FLeftWidth, FTopHeight, W - FRightWidth, FTopHeight + FMenuBarHeight};
        FillRect(dc, &band, FSkinData->SkinBrush);
      }
    }
  } catch (...) {
  }
  FHotObject = nullptr;
  if (!DC) ReleaseDC(FHandle, dc);
}

void TWinSkinForm::PaintCaption(HDC DC) {
  const int W = FWindowWidth;
  const bool minimized = FWindowState == kMinimized;
  const int height = minimized ? FWindowHeight : FTopHeight;
  if (W <= 0 || height <= 0) return;
  HDC buffer = FCaptionBuffer->Prepare(W, height);
  if (!buffer) return;
  TSkinRect title{FLeftWidth, 0, W - FRightWidth, FTopHeight};
  if (minimized) {
    HBRUSH face = CreateSolidBrush(ColorToRGB(static_cast<TColor>(FSkinData->ButtonFaceColour)));
    const RECT all{0, 0, W, height};
    FillRect(buffer, &all, face);
    DeleteObject(face);
    title = {0, 0, W, FTopHeight};
  } else {
    // The side borders' tops are the caption strip's corners.
    SkinBlit(buffer, 0, 0, FLeftImage);
    SkinBlit(buffer, W - FRightWidth, 0, FRightImage);
  }
  ComposeSide(kTop, title.Width(), title.Height(), FTopImage);
  SkinBlit(buffer, title.Left, title.Top, FTopImage);

  LayoutButtons();
  for (const auto& b : FButtons) {
    if (!b->Visible || b->Strip().Empty() || b->Element->Visibility == 100) continue;
    if (IsIconButtonAction(b->Element->Action)) {
      DrawIconAt(buffer, b->Bounds);
      continue;
    }
    const int frames = b->FrameCount();
    int frame = FActive || frames < 4 ? 1 : 4;
    // The button under the mouse shows its state (pressed or hot).
    if (FHotObject == b.get() && b->State != 1) frame = b->State == 3 && b->Element->Visibility == 100 ? 4 : b->State;
    DrawFrameStrip(buffer, b->Bounds, b->Strip(), frame, frames, true);
  }
  BitBlt(DC, 0, 0, W, height, buffer, 0, 0, SRCCOPY);
  SetBkMode(DC, OPAQUE);
}

void TWinSysButton::Paint() {
  // The whole strip is composed again, so no earlier state shows through the button's
  // transparent parts.
  TWinSkinForm& f = *Form;
  if (f.FState != 1 && f.FState != 3) return;
  HDC dc = GetWindowDC(f.FHandle);
  if (!dc) return;
  try {
    f.PaintCaption(dc);
  } catch (...) {
  }
  ReleaseDC(f.FHandle, dc);
}

void TWinSkinForm::DrawWindowIcon() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  FIconSize = cx;
  FIcon = reinterpret_cast<HICON>(SendMessageA(FHandle, WM_GETICON, ICON_SMALL, 0));
  if (!FIcon) FIcon = reinterpret_cast<HICON>(SendMessageA(FHandle, WM_GETICON, ICON_BIG, 0));
  // A window that was given no icon of its own shows its class's, as the system does.
  if (!FIcon) FIcon = reinterpret_cast<HICON>(GetClassLongPtrA(FHandle, GCLP_HICONSM));
  if (!FIcon) FIcon = reinterpret_cast<HICON>(GetClassLongPtrA(FHandle, GCLP_HICON));
  if (!FIcon) return;  // keeps the icon drawn at the last attempt
  FIconBitmap.SetSize(cx, cy, kSkinKeyColour);
  TSkinImageDC canvas(FIconBitmap);
  HICON copy = static_cast<HICON>(CopyImage(FIcon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
  if (canvas.Valid() && copy) {
    DrawIconEx(canvas.DC(), 0, 0, copy, cx, cy, 0, nullptr, DI_NORMAL);
    canvas.ReadBack(FIconBitmap);
  }
  if (copy) DestroyIcon(copy);
}

void TWinSkinForm::DrawIconAt(HDC DC, const TSkinRect& Rect) const {
  if (FIcon) {
    HICON copy = static_cast<HICON>(CopyImage(FIcon, IMAGE_ICON, FIconSize, FIconSize, LR_COPYFROMRESOURCE));
    if (copy) {
      DrawIconEx(DC, Rect.Left, Rect.Top, copy, FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
      DestroyIcon(copy);
    }
    return;
  }
  TransparentBlit(DC, {Rect.Left, Rect.Top, Rect.Left + FIconBitmap.Width(), Rect.Top + FIconBitmap.Height()},
                  FIconBitmap, kSkinKeyColour);
}

// ---------------------------------------------------------------------------------------
// The region

void TWinSkinForm::BuildRegion() {
  if (FState == 6 || !FSkinFrame || !FSkinData) return;
  RECT r{};
  GetWindowRect(FHandle, &r);
  const int W = r.right - r.left, H = r.bottom - r.top;
  if (W <= 0 || H <= 0) return;
  if (FKind == kMDIChild && FWindowState != kRestored) return;
  // Cached by size: building scans the border images pixel by pixel.
  if (W == FRegionWidth && H == FRegionHeight && FKind != kMDIChild && FState != 3) return;
  ++RegionBuilds;
  FHasRegion = false;
  FRegionWidth = W;
  FRegionHeight = H;
  const std::array<int, 4> trans{BorderElement(kLeft)->Trans, BorderElement(kRight)->Trans,
                                 BorderElement(kTop)->Trans, BorderElement(kBottom)->Trans};
  HRGN region;
  if (trans[0] + trans[1] + trans[2] + trans[3] == 0) {
    region = CreateRectRgn(0, 0, W, H);
  } else {
    region = CreateRectRgn(FLeftWidth, FTopHeight, W - FRightWidth, H - FBottomHeight);
    if (FBorderKind != kNoCaption) {
      TFrameState state = FrameState();
      state.WindowWidth = W;
      const auto parts = SkinRegionParts(W, H, state, trans);
      TSkinImage side;
      for (std::size_t i = 0; i < parts.size(); ++i) {
        const TSkinRect& p = parts[i].Rect;
        if (p.Width() <= 0 || p.Height() <= 0) continue;
        HRGN part;
        if (parts[i].FromImage) {
          ComposeSide(int(i) + 1, p.Width(), p.Height(), side);
          part = RegionFromBitmap(side, p.Left, p.Top, kSkinKeyColour, 1, 1, 1);
        } else {
          part = CreateRectRgn(p.Left, p.Top, p.Right, p.Bottom);
        }
        CombineRgn(region, region, part, RGN_OR);
        DeleteObject(part);
      }
    }
  }
  // The window owns the region from here on; it is never deleted by the skinner.
  SetWindowRgn(FHandle, region, TRUE);
  FHasRegion = true;
}

void TWinSkinForm::DropRegion() {
  if (!FHasRegion) return;
  SetWindowRgn(FHandle, nullptr, FKind == kMDIChild);
  FHasRegion = false;
  FRegionWidth = FRegionHeight = 0;  // the next build may not keep the old one
}
