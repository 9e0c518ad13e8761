// Skinned scroll bars. The system draws a window's scroll bars in its non-client area,
// where a skinner cannot paint reliably, so a small window of the engine's own
// (TWScrollbar) lies exactly over each bar, directly above the window, and paints it from
// the skin. It takes no part in scrolling: a press on it is handed to the window as a
// press on its own bar, so the system's scroll loop runs, and the overlay repaints from
// the bar's state. The skinners here own the overlays: of a framework control
// (TSkinScrollbar, and TSkinListView, which also skins the list's header), of a plain
// window (TSkinScrollbarH) and of a scroll-bar control (TSkinScControl).
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "ScrollGeometry.h"
#include "SkinControl.h"
#include "forms/StdCtrls.h"

class TSkinHeader;

class TWScrollbar : public TCustomPanel {
 public:
  // Owned by its skinner; hidden until placed.
  explicit TWScrollbar(TSkinControl* Skinner);
  ~TWScrollbar() override;

  // Covers bar `Kind` (0 the window's horizontal bar, 1 its vertical bar, 2 the window is
  // a scroll-bar control) of the control's window, from the control's parent window.
  void AttachControl(TSkinControl* Skinner, TWinControl* Control, int Kind);
  void AttachWindow(TSkinControl* Skinner, HWND Window, int Kind);
  // Placed over the bar of Window (shown or hidden as the bar is).
  void UpdatePosition(HWND Window);
  void HideBar();
  int HitTest(POINT P) const;

  void WndProc(TMessage& Message) override;

  int FTrackLength = 0;
  int FThumbStart = 0, FThumbEnd = 0;
  POINT FBarOrigin{};  // the bar's top-left on the screen (kinds 0 and 1)
  POINT FDragCursor{};
  int FDragThumbStart = 0;
  bool FPressed = false;
  int FOrientation = 0;  // 0 horizontal, 1 vertical
  int FHotPart = spNone;
  int FArrowSize;
  HWND FTarget = nullptr;
  TWinControl* FTargetControl = nullptr;
  TSkinControl* FSkinner;
  int FKind = 0;
  RECT FBarRect{};  // the bar in the target's client coordinates
  bool FBarVisible = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(HDC DC) override;

 private:
  struct TBarInfo {
    RECT Bar;  // kinds 0 and 1: the screen; kind 2: the parent's client area
    TThumbExtent Thumb;
    DWORD State;
  };
  // The bar as the system reports it, or (kind 2) as computed from the control: for a
  // paint, or for a press (kind 2 reads the control's own properties then).
  bool BarInfo(TBarInfo& Info, bool ForPress) const;
  void Attach(TSkinControl* Skinner, HWND Window, int Kind, int Orientation);
  // Places the overlay directly above the target, unless it is there already.
  void PlaceAboveTarget(const RECT& Bounds);
  void MouseDown(LPARAM Point);
  void MouseUp(LPARAM Point);
  bool Horizontal() const { return FOrientation == 0; }

  // Expires with the overlay: the scroll loop of a press may end it.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TSkinScrollbar : public TSkinControl {
 public:
  explicit TSkinScrollbar(TComponent* AOwner);
  ~TSkinScrollbar() override;

  // Attaches to Control, its owner (the canvas is not kept). Once.
  virtual void AttachScrollControl(TWinControl* Control, TSkinData* SkinData, TCanvas* Canvas,
                                   TWinSkinForm* Form);
  void DetachSkin() override;
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
  void SkinChanged() override;

  void UpdateBars();
  // A one-pixel ring of the shadow colour with one of the face colour inside, round the
  // window's edge.
  void PaintBorder(HDC DC);

  TWScrollbar* FHorzBar = nullptr;
  TWScrollbar* FVertBar = nullptr;
  bool FDrawBorder = false;
  // The window the control said it would make again (it is gone by the time the form
  // skinner replaces this skinner).
  HWND FRecreatedWindow = nullptr;

 private:
  void TakeFixedColor();
};

class TSkinListView : public TSkinScrollbar {
 public:
  using TSkinScrollbar::TSkinScrollbar;
  // Frees the header's skinner when it is still there: a new list skinner makes its own.
  ~TSkinListView() override;
  void AttachScrollControl(TWinControl* Control, TSkinData* SkinData, TCanvas* Canvas,
                           TWinSkinForm* Form) override;
  void DetachSkin() override;
  void AfterMessage(TMessage& Message) override;
  void SkinChanged() override;

  TSkinHeader* FHeaderSkinner = nullptr;  // owned by the list view control

 private:
  // The header's skinner while it is still there (its window's end, or its owner's, may
  // have freed it).
  TSkinHeader* Header() const;
  // A disabled list shows its rows on the face colour in the shadow colour, as the
  // skinned texts of other disabled controls are; enabled, its own colours come back.
  void ShowEnabled();
  using TColours = std::array<COLORREF, 3>;  // background, text background and text
  void SetColours(const TColours& Colours);
  TColours DisabledColours() const;  // the skin's face colour, the shadow colour for text
  bool FDisabledLook = false;
  TColours FOwnColours{};  // given back when enabled
};

class TSkinScrollbarH : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbarH() override;

  void AttachWindow(HWND Window, TSkinData* SkinData, TCanvas* Canvas, TWinSkinForm* Form) override;
  void DetachSkin() override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;
  void UpdateBars();

  TWScrollbar* FHorzBar = nullptr;
  TWScrollbar* FVertBar = nullptr;
};

class TSkinScControl : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;

  // Attaches to Control, its owner, a scroll-bar control (the canvas is not kept). Once.
  void AttachScroll(TWinControl* Control, TSkinData* SkinData, TCanvas* Canvas, TWinSkinForm* Form);
  void DetachSkin() override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(HDC DC, const RECT& R) override;

  TWScrollbar* FBar = nullptr;
};

// On the form skinner's WM_SKINRECREATESCROLL: the scroll-bar skinner of the window Old
// (searched from the last) leaves Skinners and is freed, and one of its family attaches
// to its control's new window.
void ReplaceScrollSkinner(TWinSkinForm& Form, std::vector<TSkinControl*>& Skinners, HWND Old);
