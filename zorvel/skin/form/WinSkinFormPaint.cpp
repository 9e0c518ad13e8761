// Painting a skinned window's frame and caption strip, the window icon and the region
// cut from the borders' transparent parts.
#include <algorithm>
#include <array>

#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"

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
      const TSkinRect band = MenuBarBand();
      if (FWindowState != kMinimized && FMenuBar) {
        FMenuBar->PaintBar(dc, band);
      } else if (FWindowState != kMinimized && FMenuBarHeight > 0 && FSkinData->SkinBrush) {
        const RECT r{band.Left, band.Top, band.Right, band.Bottom};
        FillRect(dc, &r, FSkinData->SkinBrush);
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
  FCaptionImage.SetSize(W, height, minimized ? TSkinColour(ColorToRGB(TColor(FSkinData->ButtonFaceColour))) : 0);
  TSkinRect title{FLeftWidth, 0, W - FRightWidth, FTopHeight};
  if (minimized) {
    title = {0, 0, W, FTopHeight};
  } else {
    // The side borders' tops are the caption strip's corners.
    SkinStretchCopy(FCaptionImage, {0, 0, FLeftWidth, height}, FLeftImage, {0, 0, FLeftWidth, height});
    SkinStretchCopy(FCaptionImage, {W - FRightWidth, 0, W, height}, FRightImage, {0, 0, FRightWidth, height});
  }
  if (const TDataSkinBorder* top = BorderElement(kTop); top && !title.Inverted())
    SkinPaintNineSlice(FCaptionImage, title, top->Bitmap, top->Margins, FActive || top->FrameCount <= 1 ? 1 : 2,
                       top->FrameCount, top->Tile != 1, true);

  LayoutButtons();
  for (const auto& b : FButtons) {
    if (!b->Visible || b->Strip().Empty() || b->Element->Visibility == 100) continue;
    if (IsIconButtonAction(b->Element->Action)) {
      DrawIconAt(FCaptionImage, b->Bounds);
      continue;
    }
    const TSkinFrame f =
        SkinFrameRect(b->Strip().Width(), b->Strip().Height(), b->Frame(), b->FrameCount(), false);
    FButtonImage.SetSize(b->Bounds.Width(), b->Bounds.Height());
    SkinStretchCopy(FButtonImage, {0, 0, FButtonImage.Width(), FButtonImage.Height()}, b->Strip(), f.Rect());
    SkinKeyedCopy(FCaptionImage, b->Bounds.Left, b->Bounds.Top, FButtonImage);
  }
  SkinBlit(DC, 0, 0, FCaptionImage);
  SetBkMode(DC, OPAQUE);
}

int TWinSysButton::Frame() const {
  // The buttons of a maximized MDI child, in the menu bar, show frame 4 when hot.
  const bool inMenuBar = Element->Visibility == 100;
  if (Form->FHotObject == this && State != 1) return State == 3 && inMenuBar ? 4 : State;
  return Form->FActive || inMenuBar || FrameCount() < 4 ? 1 : 4;
}

void TWinSysButton::Paint() {
  // The whole strip (the caption, or the menu bar that holds a maximized MDI child's
  // buttons) is composed again, so no earlier state shows through the button's
  // transparent parts.
  TWinSkinForm& f = *Form;
  if (f.FState != 1 && f.FState != 3) return;
  HDC dc = GetWindowDC(f.FHandle);
  if (!dc) return;
  try {
    if (Element->Visibility != 100)
      f.PaintCaption(dc);
    else if (f.FMenuBar)
      f.FMenuBar->PaintBar(dc, f.MenuBarBand());
  } catch (...) {
  }
  ReleaseDC(f.FHandle, dc);
}

void TWinSkinForm::DrawWindowIcon() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  FIconSize = cx;
  const HICON drawn = FIcon;
  FIcon = reinterpret_cast<HICON>(SendMessageA(FHandle, WM_GETICON, ICON_SMALL, 0));
  if (!FIcon) FIcon = reinterpret_cast<HICON>(SendMessageA(FHandle, WM_GETICON, ICON_BIG, 0));
  // A window that was given no icon of its own shows its class's, as the system does.
  if (!FIcon) FIcon = reinterpret_cast<HICON>(GetClassLongPtrA(FHandle, GCLP_HICONSM));
  if (!FIcon) FIcon = reinterpret_cast<HICON>(GetClassLongPtrA(FHandle, GCLP_HICON));
  // A window that never had an icon shows the default application one, as the system
  // does: a blank icon button would still close the window on a double-click.
  if (!FIcon && FIconBitmap.Empty()) FIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  if (!FIcon) {
    // Keeps the icon drawn at the last attempt; without any, the button keeps its place.
    if (FIconBitmap.Empty()) {
      FIconBitmap.SetSize(cx, cy);
      FIconAlpha.assign(std::size_t(cx) * std::size_t(cy), 0);
    }
    return;
  }
  if (FIcon == drawn && !FIconBitmap.Empty()) return;
  HICON copy = static_cast<HICON>(CopyImage(FIcon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
  if (!copy) return;
  // Drawn once on black and once on white: where the two differ the icon is partly
  // transparent, so it can be laid over any caption without a fringe.
  TSkinImage onBlack(cx, cy, 0x000000), onWhite(cx, cy, 0xFFFFFF);
  for (TSkinImage* picture : {&onBlack, &onWhite}) {
    TSkinImageDC canvas(*picture);
    if (canvas.Valid()) {
      DrawIconEx(canvas.DC(), 0, 0, copy, cx, cy, 0, nullptr, DI_NORMAL);
      canvas.ReadBack(*picture);
    }
  }
  DestroyIcon(copy);
  FIconBitmap = onBlack;
  FIconAlpha.assign(std::size_t(cx) * std::size_t(cy), 0);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) {
      const TSkinColour b = onBlack.Pixel(x, y), w = onWhite.Pixel(x, y);
      // Covered fraction: 255 minus how far white showed through (green channel).
      FIconAlpha[std::size_t(y) * std::size_t(cx) + std::size_t(x)] =
          std::uint8_t(255 - (int((w >> 8) & 0xFF) - int((b >> 8) & 0xFF)));
    }
}

void TWinSkinForm::DrawIconAt(TSkinImage& Picture, const TSkinRect& Rect) const {
  const int w = FIconBitmap.Width(), h = FIconBitmap.Height();
  if (FIconAlpha.size() != std::size_t(w) * std::size_t(h)) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int a = FIconAlpha[std::size_t(y) * std::size_t(w) + std::size_t(x)];
      if (a == 0) continue;
      // The icon on black is its colour already scaled by how much it covers.
      const TSkinColour fg = FIconBitmap.Pixel(x, y), bg = Picture.Pixel(Rect.Left + x, Rect.Top + y);
      TSkinColour out = 0;
      for (int shift : {0, 8, 16})
        out |= TSkinColour(std::min(255, int((fg >> shift) & 0xFF) + int((bg >> shift) & 0xFF) * (255 - a) / 255))
               << shift;
      Picture.SetPixel(Rect.Left + x, Rect.Top + y, out);
    }
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
  // The window owns the region from here on; it is never deleted by the skinner. While
  // a new skin is applied, the window is repainted once at the end instead.
  SetWindowRgn(FHandle, region, FState != 3);
  FHasRegion = true;
}

void TWinSkinForm::DropRegion() {
  if (!FHasRegion) return;
  SetWindowRgn(FHandle, nullptr, FKind == kMDIChild);
  FHasRegion = false;
  FRegionWidth = FRegionHeight = 0;  // the next build may not keep the old one
}
