#include "SkinScrollBars.h"

#include <commctrl.h>
#include <windowsx.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "SkinDrawWin.h"
#include "SkinHeader.h"
#include "SkinRead.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

namespace {

void MapRect(HWND From, HWND To, RECT& R) {
  MapWindowPoints(From, To, reinterpret_cast<POINT*>(&R), 2);
}

TColor FaceColour(const TSkinControl& Skinner) {
  return static_cast<TColor>(Skinner.FSkinData->ButtonFaceColour);
}

bool IsDC(WPARAM Handle) {
  switch (GetObjectType(reinterpret_cast<HGDIOBJ>(Handle))) {
    case OBJ_DC:
    case OBJ_MEMDC:
    case OBJ_METADC:
    case OBJ_ENHMETADC:
      return true;
    default:
      return false;
  }
}

// The square between a shown horizontal and vertical bar filled with the face colour. It
// lies where the bars meet in the client area, moved by where the client area lies in the
// window.
void FillCorner(TSkinControl& Skinner, HDC DC, const TWScrollbar* Horz, const TWScrollbar* Vert) {
  if (!Horz || !Vert || !Horz->Visible() || !Vert->Visible()) return;
  RECT w{};
  GetWindowRect(Skinner.FHandle, &w);
  POINT client{0, 0};
  ClientToScreen(Skinner.FHandle, &client);
  const LONG dx = client.x - w.left, dy = client.y - w.top;
  Skinner.FillSkinFace(DC, {Vert->FBarRect.left + dx, Horz->FBarRect.top + dy,
                            Vert->FBarRect.right + dx, Horz->FBarRect.bottom + dy});
}

void Repaint(TWScrollbar* Bar) {
  if (Bar) Bar->Repaint();
}
void Hide(TWScrollbar* Bar) {
  if (Bar) Bar->HideBar();
}
void Place(TWScrollbar* Bar, HWND Window) {
  if (Bar) Bar->UpdatePosition(Window);
}
// The scroll request of a bar's own scroll message shows as the part being scrolled.
void ShowRequest(TWScrollbar* Bar, WPARAM Request) {
  if (!Bar) return;
  Bar->FHotPart = LOWORD(Request);
  Bar->Repaint();
}
// Hooks the control, the skinner's owner, as a control attach without colour does (the
// canvas is not kept); false when already attached or not its owner.
bool HookOwner(TSkinControl& Skinner, TWinControl* Control, TSkinData* SkinData,
               TWinSkinForm* Form) {
  if (Skinner.FAttached || Control != Skinner.Owner()) return false;
  Skinner.TSkinControl::AttachControl(Form, SkinData, nullptr, false);
  return Skinner.FAttached;
}

// Hidden where the window is gone (the destructor frees it), freed otherwise.
void DropBar(const TSkinControl& Skinner, TWScrollbar*& Bar) {
  if (Skinner.FStatus == 6)
    Hide(Bar);
  else
    delete std::exchange(Bar, nullptr);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The overlay

TWScrollbar::TWScrollbar(TSkinControl* Skinner)
    : TCustomPanel(Skinner), FArrowSize(GetSystemMetrics(SM_CXHSCROLL)), FSkinner(Skinner) {
  SetVisible(false);
}

TWScrollbar::~TWScrollbar() {
  *FAlive = false;
}

void TWScrollbar::CreateParams(TCreateParams& Params) {
  TCustomPanel::CreateParams(Params);
  Params.ExStyle = WS_EX_TOOLWINDOW;
}

void TWScrollbar::AttachControl(TSkinControl* Skinner, TWinControl* Control, int Kind) {
  FTargetControl = Control;
  SetColor(Skinner->GetParentColor(FaceColour(*Skinner)));
  int orientation = Kind;
  if (Kind == 2) orientation = SkinLowerCase(GetEnumPropByName(Control, "Kind")) == "sbhorizontal" ? 0 : 1;
  Attach(Skinner, Control->Handle(), Kind, orientation);
}

void TWScrollbar::AttachWindow(TSkinControl* Skinner, HWND Window, int Kind) {
  Attach(Skinner, Window, Kind, Kind);
}

void TWScrollbar::Attach(TSkinControl* Skinner, HWND Window, int Kind, int Orientation) {
  FSkinner = Skinner;
  FTarget = Window;
  FKind = Kind;
  FOrientation = Orientation;
  SetParentWindow(GetParent(Window));
  HandleNeeded();
  UpdatePosition(Window);
}

bool TWScrollbar::BarInfo(TBarInfo& Info, bool ForPress) const {
  if (FKind != 2) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    if (!SkinGetScrollBarInfo(FTarget, FKind == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, sbi))
      return false;
    Info = {sbi.rcScrollBar, {sbi.xyThumbTop, sbi.xyThumbBottom}, sbi.rgstate[0]};
    return true;
  }
  if (!IsWindow(FTarget)) return false;
  Info.State = 0;
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  if (ForPress) {
    // Where a press starts: the client area on the screen, the range the control says.
    GetClientRect(FTarget, &Info.Bar);
    MapRect(FTarget, nullptr, Info.Bar);
    if (FTargetControl) {
      si.nMin = int(GetOrdPropByName(FTargetControl, "Min"));
      si.nMax = int(GetOrdPropByName(FTargetControl, "Max"));
      si.nPage = UINT(GetOrdPropByName(FTargetControl, "PageSize"));
      si.nPos = int(GetOrdPropByName(FTargetControl, "Position"));
    } else {
      GetScrollInfo(FTarget, SB_CTL, &si);
    }
  } else {
    GetWindowRect(FTarget, &Info.Bar);
    MapRect(nullptr, GetParent(FTarget), Info.Bar);
    GetScrollInfo(FTarget, SB_CTL, &si);
  }
  const RECT& r = Info.Bar;
  const int track = Horizontal() ? int(r.right - r.left) : int(r.bottom - r.top);
  const int page = int(si.nPage);
  if (ForPress)
    Info.Thumb.Start = PressThumbStart(track, FArrowSize, si.nMin, si.nMax, page, si.nPos);
  else
    Info.Thumb = ControlThumb(track, FArrowSize, si.nMin, si.nMax, page, si.nPos);
  return true;
}

void TWScrollbar::UpdatePosition(HWND Window) {
  FTarget = Window;
  TBarInfo info;
  FBarVisible = BarInfo(info, false);
  if (!FBarVisible) return;
  if (!(GetWindowLongPtrA(FTarget, GWL_STYLE) & WS_VISIBLE) ||
      (info.State & STATE_SYSTEM_INVISIBLE)) {
    HideBar();
    return;
  }
  HWND parent = GetParent(FTarget);
  if (parent != ParentWindow()) SetParentWindow(parent);
  RECT bar = info.Bar;
  FBarRect = bar;
  if (FKind == 2) {
    MapRect(parent, FTarget, FBarRect);
  } else {
    FBarOrigin = {bar.left, bar.top};
    MapRect(nullptr, FTarget, FBarRect);
    MapRect(nullptr, parent, bar);
  }
  FTrackLength = FOrientation == 1 ? int(bar.bottom - bar.top) : int(bar.right - bar.left);
  PlaceAboveTarget(bar);
  SetVisible(true);
}

void TWScrollbar::PlaceAboveTarget(const RECT& Bounds) {
  SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
  // The target's other overlays may lie between it and the window above them all.
  HWND above = GetWindow(FTarget, GW_HWNDPREV);
  while (above && above != Handle()) {
    auto* other = dynamic_cast<TWScrollbar*>(FindControl(above));
    if (!other || other->FTarget != FTarget) break;
    above = GetWindow(above, GW_HWNDPREV);
  }
  if (above != Handle())
    SetWindowPos(Handle(), above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TWScrollbar::HideBar() {
  FBarVisible = false;
  SetVisible(false);
}

int TWScrollbar::HitTest(POINT P) const {
  return ScrollHitTest(FOrientation != 0 ? int(P.y) : int(P.x), FArrowSize,
                       {FThumbStart, FThumbEnd}, FTrackLength);
}

void TWScrollbar::Paint(HDC DC) {
  const TSkinData& skin = *FSkinner->FSkinData;
  const TDataSkinObject* strip = skin.Scrollbar.get();
  if (!strip || strip->Bitmap.Empty()) return;
  TBarInfo info;
  if (!BarInfo(info, false) || (info.State & STATE_SYSTEM_INVISIBLE)) return;
  RECT client;
  GetClientRect(Handle(), &client);
  const int w = int(info.Bar.right - info.Bar.left), h = int(info.Bar.bottom - info.Bar.top);
  if (w < 0 || h < 0 || w > client.right || h > client.bottom) return;

  const bool vertical = FOrientation == 1;
  FTrackLength = vertical ? h : w;
  TScrollBarLook look;
  look.Vertical = vertical;
  // The system does not always report a disabled bar as unavailable: a disabled window
  // has one too.
  look.Enabled = !(info.State & STATE_SYSTEM_UNAVAILABLE) && IsWindowEnabled(FTarget);
  look.ArrowSize = FArrowSize;
  look.Breadth = ThumbBreadth(strip->Bitmap.Height(), FArrowSize);
  look.TrackLength = FTrackLength;
  // A control's bar is painted at the skin's breadth and stretched over the control.
  look.Width = FKind == 2 && vertical ? look.Breadth : w;
  look.Height = FKind == 2 && !vertical ? look.Breadth : h;
  TThumbExtent thumb = info.Thumb;
  if (FPressed && FHotPart == spThumb && FKind != 2) {
    POINT cursor;
    GetCursorPos(&cursor);
    const int delta = vertical ? cursor.y - FDragCursor.y : cursor.x - FDragCursor.x;
    thumb = DragThumb({FThumbStart, FThumbEnd}, FDragThumbStart, delta, FArrowSize, FTrackLength);
  }
  FThumbStart = thumb.Start;
  FThumbEnd = thumb.End;
  look.Thumb = thumb;
  look.HotPart = FHotPart;
  look.Pressed = FPressed;
  look.OverlayLength = vertical ? int(client.bottom) : int(client.right);
  look.Face = ColorToRGB(static_cast<TColor>(skin.ButtonFaceColour));
  const TScrollBarImages images{strip, vertical ? skin.VertScroll.get() : skin.HorzScroll.get(),
                                vertical ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get()};

  TSkinImage picture;
  try {
    PaintScrollBar(picture, look, images);
    if (FKind == 2) {
      TSkinImage whole(int(client.right), int(client.bottom));
      SkinStretchCopy(whole, {0, 0, whole.Width(), whole.Height()}, picture,
                      {0, 0, picture.Width(), picture.Height()});
      picture = std::move(whole);
    }
  } catch (const std::length_error&) {
    return;  // no picture of that size: nothing painted
  }
  SkinBlit(DC, 0, 0, picture);
}

void TWScrollbar::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;  // the paint covers everything
    return;
  }
  TCustomPanel::WndProc(m);
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const int part = HitTest({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (part != FHotPart) {
        FHotPart = part;
        Repaint();
      }
      SkinTrackMouseLeave(Handle());
      break;
    }
    case WM_MOUSELEAVE:
      if (!FPressed) {
        FHotPart = spNone;
        Repaint();
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(m.LParam);
      break;
    case WM_LBUTTONUP:
      MouseUp(m.LParam);
      break;
    default:
      break;
  }
}

void TWScrollbar::MouseDown(LPARAM Point) {
  POINT p{GET_X_LPARAM(Point), GET_Y_LPARAM(Point)};
  GetCursorPos(&FDragCursor);
  TBarInfo info;
  if (BarInfo(info, true)) {
    FDragThumbStart = info.Thumb.Start;
    if (FKind != 2) FBarOrigin = {info.Bar.left, info.Bar.top};
  }
  FHotPart = HitTest(p);
  if (FKind != 2) p = {p.x + FBarOrigin.x, p.y + FBarOrigin.y};
  FPressed = true;
  Repaint();
  ReleaseCapture();
  // The system's scroll loop runs inside this call, on the target's own bar.
  const std::shared_ptr<bool> alive = FAlive;
  const LPARAM at = MAKELPARAM(p.x, p.y);
  if (FKind == 2)
    SendMessageA(FTarget, WM_LBUTTONDOWN, MK_LBUTTON, at);
  else
    SendMessageA(FTarget, WM_NCLBUTTONDOWN, FKind == 0 ? HTHSCROLL : HTVSCROLL, at);
  if (!*alive) return;
  FPressed = false;
  ReleaseCapture();
  if (FKind == 2) Repaint();
}

void TWScrollbar::MouseUp(LPARAM Point) {
  POINT p{GET_X_LPARAM(Point), GET_Y_LPARAM(Point)};
  if (FKind != 2) p = {p.x + FBarOrigin.x, p.y + FBarOrigin.y};
  FPressed = false;
  ReleaseCapture();
  const LPARAM at = MAKELPARAM(p.x, p.y);
  if (FKind == 2) {
    PostMessageA(FTarget, WM_LBUTTONUP, MK_LBUTTON, at);
    Repaint();
  } else {
    PostMessageA(FTarget, WM_NCLBUTTONUP, FKind == 0 ? HTHSCROLL : HTVSCROLL, at);
  }
}

// ---------------------------------------------------------------------------------------
// A framework control's bars

TSkinScrollbar::TSkinScrollbar(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbar::~TSkinScrollbar() {
  delete std::exchange(FHorzBar, nullptr);
  delete std::exchange(FVertBar, nullptr);
}

void TSkinScrollbar::AttachScrollControl(TWinControl* Control, TSkinData* SkinData, TCanvas*,
                                         TWinSkinForm* Form) {
  if (!HookOwner(*this, Control, SkinData, Form)) return;
  // A control without the property has a border.
  FDrawBorder = SkinLowerCase(GetEnumPropByName(Control, "BorderStyle")) != "bsnone" &&
                Control->ClassName() != "TImageScrollBox" && FMode != 1;
  TakeFixedColor();
  FHorzBar = new TWScrollbar(this);
  FHorzBar->AttachControl(this, Control, 0);
  FVertBar = new TWScrollbar(this);
  FVertBar->AttachControl(this, Control, 1);
  for (TWScrollbar* bar : {FHorzBar, FVertBar}) {
    bar->SetEnabled(Control->Enabled());
    if (!Control->Visible()) bar->HideBar();
  }
}

void TSkinScrollbar::TakeFixedColor() {
  const TPropInfo* fixed = GetPropInfo(FControl, "FixedColor");
  if (!fixed || fixed->Kind != tkInteger || !fixed->SetOrd) return;
  // What the control had before the first skin is what it gets back, whatever skins follow.
  if (!FUseColour) {
    FOldColor = static_cast<TColor>(fixed->GetOrd(FControl));
    FUseColour = true;
  }
  fixed->SetOrd(FControl, FaceColour(*this));
}

void TSkinScrollbar::DetachSkin() {
  if (FUseColour && FControl)
    if (const TPropInfo* fixed = GetPropInfo(FControl, "FixedColor"); fixed && fixed->SetOrd)
      fixed->SetOrd(FControl, FOldColor);
  FUseColour = false;
  TSkinControl::DetachSkin();
  DropBar(*this, FHorzBar);
  DropBar(*this, FVertBar);
}

void TSkinScrollbar::SkinChanged() {
  if (!FControl) return;
  TakeFixedColor();
  // The bars take the new colour and, with it, repaint from the new skin.
  for (TWScrollbar* bar : {FHorzBar, FVertBar})
    if (bar) bar->SetColor(GetParentColor(FaceColour(*this)));
}

void TSkinScrollbar::UpdateBars() {
  Place(FHorzBar, FHandle);
  Place(FVertBar, FHandle);
}

void TSkinScrollbar::PaintBorder(HDC DC) {
  RECT r;
  if (!GetWindowRect(FHandle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  FrameSolid(DC, r, static_cast<TColor>(FSkinData->ButtonShadowColour));
  InflateRect(&r, -1, -1);
  FrameSolid(DC, r, FaceColour(*this));
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT: {
      if (!FDrawBorder) return true;
      CallOriginalProc(m);
      HDC dc = GetWindowDC(FHandle);
      PaintBorder(dc);
      ReleaseDC(FHandle, dc);
      return false;
    }
    case CM_RECREATEWND:
      // The control's own handling destroys this window: the form skinner hears of it now
      // and, once the message arrives, replaces this skinner by one for the new window.
      if (FControl && FForm && FForm->FHandle) {
        FRecreatedWindow = FHandle;
        PostMessageA(FForm->FHandle, WM_SKINRECREATESCROLL, reinterpret_cast<WPARAM>(FHandle), 0);
      }
      return true;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      UpdateBars();
      break;
    case WM_HSCROLL:
      ShowRequest(FHorzBar, m.WParam);
      break;
    case WM_VSCROLL:
      ShowRequest(FVertBar, m.WParam);
      break;
    case WM_MOUSEWHEEL:
      for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar && bar->FBarVisible) bar->Repaint();
      break;
    case CM_VISIBLECHANGED:
      if (m.WParam) {
        UpdateBars();
      } else {
        Hide(FHorzBar);
        Hide(FVertBar);
      }
      break;
    case CM_ENABLEDCHANGED:
      for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar) bar->SetEnabled(FControl->Enabled());
      break;
    case WM_SKINPAINTINTO:
      if (m.LParam != kSkinHostKey) break;
      // A control without a border has no frame to paint.
      if (FDrawBorder && IsDC(m.WParam)) PaintBorder(reinterpret_cast<HDC>(m.WParam));
      m.Result = kSkinHostKey;
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScrollbar::DrawSkin(HDC DC, const RECT&) {
  const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  const std::pair<TWScrollbar*, LONG_PTR> bars[] = {{FHorzBar, WS_HSCROLL}, {FVertBar, WS_VSCROLL}};
  for (const auto& [bar, bit] : bars) {
    if (!bar) continue;
    if (bar->Visible())
      bar->Repaint();
    else if (style & bit)
      bar->UpdatePosition(FHandle);
  }
  FillCorner(*this, DC, FHorzBar, FVertBar);
}

// ---------------------------------------------------------------------------------------
// A list view's bars and header

TSkinListView::~TSkinListView() {
  delete Header();
}

TSkinHeader* TSkinListView::Header() const {
  TComponent* owner = Owner();
  if (!FHeaderSkinner || !owner) return nullptr;
  for (std::size_t i = 0; i < owner->ComponentCount(); ++i)
    if (owner->Components(i) == FHeaderSkinner) return FHeaderSkinner;
  return nullptr;
}

void TSkinListView::AttachScrollControl(TWinControl* Control, TSkinData* SkinData, TCanvas* Canvas,
                                        TWinSkinForm* Form) {
  const bool attached = FAttached;
  TSkinScrollbar::AttachScrollControl(Control, SkinData, Canvas, Form);
  if (attached || !FAttached) return;
  ShowEnabled();
  HWND header = reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0));
  if (!header) return;
  FHeaderSkinner = new TSkinHeader(Control);
  FHeaderSkinner->AttachWindow(header, SkinData, Canvas, Form);
  FHeaderSkinner->FitToRows();
}

void TSkinListView::DetachSkin() {
  if (std::exchange(FDisabledLook, false)) SetColours(FOwnColours);
  // The header's skinner goes with this one (its destructor), so it gives back the
  // list's layout now.
  if (TSkinHeader* header = Header(); header && header->FStatus == 1) header->DetachSkin();
  TSkinScrollbar::DetachSkin();
}

void TSkinListView::SkinChanged() {
  TSkinScrollbar::SkinChanged();
  if (std::exchange(FDisabledLook, false)) {  // the new skin's colours
    SetColours(FOwnColours);
    ShowEnabled();
  }
}

void TSkinListView::AfterMessage(TMessage& m) {
  TSkinScrollbar::AfterMessage(m);
  switch (m.Msg) {
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      ShowEnabled();
      break;
    case CN_NOTIFY: {
      // The selected row is as grey as the others.
      auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(m.LParam);
      if (!FDisabledLook || draw.nmcd.hdr.code != NM_CUSTOMDRAW) break;
      if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        m.Result = CDRF_NOTIFYITEMDRAW;
      } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        draw.nmcd.uItemState &= ~UINT(CDIS_SELECTED | CDIS_FOCUS);
        const TColours grey = DisabledColours();
        draw.clrText = grey[2];
        draw.clrTextBk = grey[1];
        m.Result = CDRF_DODEFAULT;
      }
      break;
    }
    case WM_SIZE:
    case LVM_SETITEMCOUNT:  // the first rows show where the strip under the header lies
      if (TSkinHeader* header = Header(); header && FStatus == 1) header->FitToRows();
      break;
    default:
      break;
  }
}

namespace {
constexpr UINT kGetColour[] = {LVM_GETBKCOLOR, LVM_GETTEXTBKCOLOR, LVM_GETTEXTCOLOR};
constexpr UINT kSetColour[] = {LVM_SETBKCOLOR, LVM_SETTEXTBKCOLOR, LVM_SETTEXTCOLOR};
}  // namespace

void TSkinListView::SetColours(const TColours& Colours) {
  for (std::size_t i = 0; i < Colours.size(); ++i)
    SendMessageW(FHandle, kSetColour[i], 0, LPARAM(Colours[i]));
}

TSkinListView::TColours TSkinListView::DisabledColours() const {
  const COLORREF face = ColorToRGB(FaceColour(*this));
  return {face, face, ColorToRGB(clBtnShadow)};
}

void TSkinListView::ShowEnabled() {
  const bool disabled = !IsWindowEnabled(FHandle);
  if (disabled == FDisabledLook) return;
  if (disabled) {
    for (std::size_t i = 0; i < FOwnColours.size(); ++i)
      FOwnColours[i] = COLORREF(SendMessageW(FHandle, kGetColour[i], 0, 0));
    SetColours(DisabledColours());
  } else {
    SetColours(FOwnColours);
  }
  FDisabledLook = disabled;
  InvalidateRect(FHandle, nullptr, TRUE);
  if (TSkinHeader* header = Header()) header->RedrawSkin();
}

// ---------------------------------------------------------------------------------------
// A plain window's bars

TSkinScrollbarH::~TSkinScrollbarH() {
  delete std::exchange(FHorzBar, nullptr);
  delete std::exchange(FVertBar, nullptr);
}

void TSkinScrollbarH::AttachWindow(HWND Window, TSkinData* SkinData, TCanvas* Canvas,
                                   TWinSkinForm* Form) {
  if (FAttached) return;
  TSkinControl::AttachWindow(Window, SkinData, Canvas, Form);
  FHorzBar = new TWScrollbar(this);
  FHorzBar->AttachWindow(this, Window, 0);
  FVertBar = new TWScrollbar(this);
  FVertBar->AttachWindow(this, Window, 1);
}

void TSkinScrollbarH::DetachSkin() {
  TSkinControl::DetachSkin();
  DropBar(*this, FHorzBar);
  DropBar(*this, FVertBar);
}

void TSkinScrollbarH::UpdateBars() {
  Place(FHorzBar, FHandle);
  Place(FVertBar, FHandle);
}

void TSkinScrollbarH::AfterMessage(TMessage& m) {
  // Neither bar stays over a hidden window.
  if (!(GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_VISIBLE)) {
    Hide(FHorzBar);
    Hide(FVertBar);
  }
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
      UpdateBars();
      RedrawSkin();
      break;
    case WM_HSCROLL:
      ShowRequest(FHorzBar, m.WParam);
      break;
    case WM_VSCROLL:
      ShowRequest(FVertBar, m.WParam);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScrollbarH::DrawSkin(HDC DC, const RECT&) {
  for (TWScrollbar* bar : {FHorzBar, FVertBar})
    if (bar && bar->Visible()) bar->Repaint();
  FillCorner(*this, DC, FHorzBar, FVertBar);
}

// ---------------------------------------------------------------------------------------
// A scroll-bar control

TSkinScControl::~TSkinScControl() {
  delete std::exchange(FBar, nullptr);
}

void TSkinScControl::AttachScroll(TWinControl* Control, TSkinData* SkinData, TCanvas*,
                                  TWinSkinForm* Form) {
  if (!HookOwner(*this, Control, SkinData, Form)) return;
  FBar = new TWScrollbar(this);
  // The pointer rests on the overlay, not on the control: the overlay shows its hint.
  FBar->SetShowHint(Control->ShowHint());
  FBar->SetHint(Control->Hint());
  FBar->AttachControl(this, Control, 2);
  if (!Control->Visible()) FBar->HideBar();
}

void TSkinScControl::DetachSkin() {
  TSkinControl::DetachSkin();
  DropBar(*this, FBar);
}

void TSkinScControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
      Place(FBar, FHandle);
      break;
    case WM_NCPAINT:
      if (FControl && FControl->HandleAllocated()) FHandle = FControl->Handle();
      Place(FBar, FHandle);
      break;
    case SBM_SETSCROLLINFO:
    case CN_VSCROLL:
    case CN_HSCROLL:  // a horizontal bar moves as much as a vertical one
      Repaint(FBar);
      break;
    case CM_VISIBLECHANGED:
      if (m.WParam)
        Place(FBar, FHandle);
      else
        Hide(FBar);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScControl::DrawSkin(HDC, const RECT&) {
  Repaint(FBar);
}

// ---------------------------------------------------------------------------------------

void ReplaceScrollSkinner(TWinSkinForm& Form, std::vector<TSkinControl*>& Skinners, HWND Old) {
  for (auto it = Skinners.rbegin(); it != Skinners.rend(); ++it) {
    auto* old = dynamic_cast<TSkinScrollbar*>(*it);
    if (!old || (old->FHandle != Old && old->FRecreatedWindow != Old)) continue;
    auto* control = dynamic_cast<TWinControl*>(old->Owner());
    const bool list = dynamic_cast<TSkinListView*>(old) != nullptr;
    // The new window is skinned as the old one was, and the colour the control had
    // before any skin is still the one it gets back.
    const int mode = old->FMode;
    const bool heldColour = old->FUseColour;
    const TColor original = old->FOldColor;
    Skinners.erase(std::next(it).base());
    delete old;
    if (!control) return;
    TSkinScrollbar* fresh = list ? new TSkinListView(control) : new TSkinScrollbar(control);
    fresh->FMode = mode;
    fresh->FUseColour = heldColour;
    fresh->FOldColor = original;
    fresh->AttachScrollControl(control, Form.FSkinData, Form.FControlCanvas.get(), &Form);
    return;
  }
}
