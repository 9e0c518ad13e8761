// The form skinner: takes over the frame of one top-level window (a framework form or a
// plain window such as a standard dialog box). The skin's borders replace the system's,
// the frame and caption strip are painted from the skin's images, the window takes the
// region cut from the borders' transparent parts, hit testing and the caption buttons
// answer from the skin's geometry, and the system menu is shown owner-drawn. Detaching
// gives back every window procedure, style, region and menu it replaced.
//
// The work is split by concern: WinSkinForm.cpp (attach, window procedure, detach),
// WinSkinFormMetrics.cpp (sizes, hit testing, caption buttons), WinSkinFormPaint.cpp
// (frame painting and region), WinSkinFormMenu.cpp (the system menu).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FormGeometry.h"
#include "SkinDraw.h"
#include "forms/Classes.h"
#include "forms/Controls.h"

class TSkinData;
class TSkinControl;
class TDataSkinSysButton;
class TDataSkinBorder;
class TTimer;
class TPopupMenu;
class TWinSkinForm;
class TWinSkinMenu;
class TMenuBtn;
class TMenu;
class TMenuItem;
class TToolBar;

// Skin messages of the form skinner.
constexpr UINT WM_SKINREPAINTFRAME = 0x3502;
constexpr UINT WM_SKINSTART = 0x3503;
constexpr UINT WM_SKINBUTTONACTION = 0x3514;
constexpr UINT WM_SKINBUTTONVISIBLE = 0x3515;
constexpr UINT WM_SKINMDIREDRAW = 0x3516;
constexpr UINT WM_SKINRECREATESCROLL = 0x3517;
constexpr UINT WM_SKINOPENMENUITEM = 0x3518;
constexpr UINT WM_SKINQUERY = 0x3523;
// Messages a host program may send to a skinned framework form.
constexpr UINT WM_SKINREFRESH = 0x3401;
constexpr UINT WM_SKINPAINTINTO = 0xBC4B;
constexpr UINT WM_SKINHOSTQUERY = 0xBC4D;
constexpr UINT WM_SKINAFTERSKIN = 0xBC4E;
constexpr LPARAM kSkinHostKey = 16802;

// One hit object in the non-client area: a caption button, or an item of a painted
// menu bar.
class TNCObject : public TObject {
 public:
  explicit TNCObject(TWinSkinForm* form) : Form(form) {}

  TWinSkinForm* Form;
  TSkinRect Bounds;  // window coordinates
  bool Visible = false;
  int State = 1;  // 1 normal, 2 pressed, 3 hot

  virtual void MousePress();
  virtual void MouseRelease();
  virtual void MouseHover();
  virtual void MouseLeave();
  virtual void Paint() {}
};

// A caption button of the skin.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm* form, const TDataSkinSysButton* element);

  const TDataSkinSysButton* Element;
  // The button's strip: the skin's, or for an icon button without one, the window icon
  // its form skinner drew last (so that no window changes what the skin shares).
  const TSkinImage& Strip() const;
  int FrameCount() const;
  // The frame it shows now: its state's while the mouse acts on it.
  int Frame() const;

  void Paint() override;
};

class TWinSkinForm : public TComponent {
 public:
  explicit TWinSkinForm(TComponent* Owner);
  ~TWinSkinForm() override;

  // --- set by the manager before attaching
  HWND FHandle = nullptr;
  std::string FEventName;
  void* FManagerTag = nullptr;

  void AttachForm(TSkinData* SkinData, TWinControl* Form);
  void AttachPlainWindow(TSkinData* SkinData);
  bool Attached() const noexcept { return FAttached; }

  // Control skinners of this window. True when it was listed already.
  bool RegisterSkinControl(TSkinControl* Skinner);
  void UnregisterSkinControl(TSkinControl* Skinner);
  void FreeDestroyedSkinners();
  void DetachAllSkinners();
  std::size_t SkinnerCount() const { return FSkinners ? FSkinners->size() : 0; }

  void FreeCaptionButtons();
  void ComputeMetrics();
  void Refresh();
  void Unskin();
  void DetachOnDestroy();
  void SetCaptionStyle(bool Show);
  void SetSysMenuStyle(bool Hide);
  void PaintFrame(HDC DC);
  void BuildRegion();
  void DropRegion();

  static bool HasScrollBars(TComponent* Component);
  static void RedrawNow(HWND Window);

  // The menu side: opening a bar item's drop-down (true when one was tracked), the item
  // with an accelerator, and the walks that make a form's menus owner-drawn or give
  // them back their own drawing.
  bool OpenMenuItem(TMenuBtn* Item);
  void EndMenuTracking() { FMenuTracking = false; }
  TMenuBtn* FindAccelItem(unsigned Key) const;
  void SetSubItemsOwnerDraw(TMenuItem* Item, bool On);
  void SetPopupMenusOwnerDraw(TComponent* Component, bool On);
  void SetMenusOwnerDraw(TComponent* Owner, bool Value);

  // The control dispatch (ControlDispatch.cpp): each child control, or each child window
  // of a plain window, gets the control skinner of its kind, once.
  void SkinFormControls(TWinControl* Form);
  void SkinComponents(TComponent* Owner);
  void SkinChildren(TControl* Parent);
  bool IsControlSkipped(TWinControl* Control);
  bool IsControlSkinned(TControl* Control);
  void MarkGroupChildren(TControl* Control);
  void SkinControl(TControl* Control, TControl* Parent);
  bool SkinByThirdParty(const std::string& UpperClassName, TControl* Control);
  void SkinBorderedEdit(TControl* Control);
  void SkinChildWindows(HWND Window);
  TSkinControl* FindControlSkinner(HWND Window) const;
  void SkinWindowByClass(HWND Window);

  // A screen point (packed as in a message) in window coordinates.
  TSkinPoint ScreenToWindow(LPARAM Point) const;
  bool ActiveChildMaximized() const;

  // --- state the manager, the menu bar and the tests read
  int FState = 0;  // 0 attached, 1 running, 3 refreshing, 4 detaching, 5 resizing, 6 destroyed
  TSkinData* FSkinData = nullptr;
  TWinControl* FFormControl = nullptr;
  bool FSkinFrame = false;
  bool FActive = true;
  bool FHasRegion = false;
  std::uint8_t FKind = kOrdinaryWindow;
  std::uint8_t FBorderKind = kSizableFrame;
  std::uint8_t FFrameFlags = 0;
  std::uint8_t FWindowState = kRestored;
  int FLeftWidth = 0, FTopHeight = 0, FRightWidth = 0, FBottomHeight = 0, FMenuBarHeight = 0;
  int FWindowWidth = 0, FWindowHeight = 0;
  std::vector<std::unique_ptr<TWinSysButton>> FButtons;
  TNCObject* FHotObject = nullptr;
  TPopupMenu* FSystemMenuPopup = nullptr;
  TTimer* FHoverTimer = nullptr;
  TWinSkinMenu* FMenuBar = nullptr;  // owned as a component
  HMENU FMenuHandle = nullptr;
  HMENU FTrackedMenu = nullptr;
  bool FMenuTracking = false;
  // How many times the region was built (every build, cached or not, counts once).
  int RegionBuilds = 0;
  // The canvas lent to every control skinner of the window.
  std::unique_ptr<TCanvas> FControlCanvas = std::make_unique<TCanvas>();

 private:
  friend class TNCObject;
  friend class TWinSysButton;

  // Attaching and routing (WinSkinForm.cpp).
  void AttachWindow(TSkinData* SkinData);
  void Subclass();
  void RemoveSubclass();
  static LRESULT CALLBACK PlainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                       DWORD_PTR Data);
  void FormWndProc(TMessage& Message);
  bool Stage1(TMessage& Message);
  bool Stage2(TMessage& Message);
  void Stage3(TMessage& Message);
  void FormHook(TMessage& Message);
  void CallOwnProc(TMessage& Message);
  void CallFormProc(TMessage& Message);
  void Start();
  void AfterSkin();
  void NCActivate(TMessage& Message);
  void SysCommand(TMessage& Message);
  void SetText(TMessage& Message);
  void HoverTick();
  void DetachPlain();
  void RestoreFormState();
  void ReadWindowState();

  // Metrics, hit testing and caption buttons (WinSkinFormMetrics.cpp).
  TFrameState FrameState() const;
  TWinSysButton* ButtonAt(TSkinPoint Point) const;
  TNCObject* ObjectAt(TSkinPoint Point) const;
  void LayoutButtons();
  bool IsButtonVisible(TWinSysButton& Button);
  void ResizeForSkin(bool UseWindow);
  void SizeChanged(TMessage& Message);
  void NCCalcSize(TMessage& Message);
  void NCHitTest(TMessage& Message);
  void NCMouseMove(TMessage& Message);
  void NCLButtonDown(TMessage& Message);
  void NCLButtonUp(TMessage& Message);
  void NCLButtonDblClk(TMessage& Message);
  void NCRButtonDown(TMessage& Message);
  void ButtonAction(TWinSysButton& Button, int X, int Y);
  void ShowSystemMenuAt(POINT Point, bool FromIconButton);
  void MaximizeOrRestore();
  void Restore();
  void MinimizeOrRestore();
  void SendToActiveMDIChild(WPARAM Command);
  bool CloseEnabled() const;
  void PostSysCommand(WPARAM Command);

  // Creating and attaching skinners for the dispatch (ControlDispatch.cpp). A skinner of
  // a control is owned by the control, one of a plain window by this skinner.
  template <class T>
  T* AttachNew(TControl* Control, bool UseColour = false, void (*Prepare)(T&) = nullptr);
  template <class T>
  T* AttachNewWindow(HWND Window);
  void AttachScrollSkinner(TControl* Control, int Mode);
  void AttachScrollBarControl(TControl* Control);
  void AttachSpeedButton(TControl* Control);
  void AttachObjImage(TControl* Control, int ImageKind);
  void SkinGroupChildren(TControl* Group, const std::function<void(TControl*)>& Attach);
  void SkinToolBar(TToolBar* Bar);

  // Painting and the region (WinSkinFormPaint.cpp).
  void PaintCaption(HDC DC);
  // The menu bar's strip below the caption, in window coordinates.
  TSkinRect MenuBarBand() const {
    return {FLeftWidth, FTopHeight, FWindowWidth - FRightWidth, FTopHeight + FMenuBarHeight};
  }
  void ComposeSide(int Index, int Width, int Height, TSkinImage& Result) const;
  const TDataSkinBorder* BorderElement(int Index) const;
  void DrawWindowIcon();
  void DrawIconAt(TSkinImage& Picture, const TSkinRect& Rect) const;

  // The system menu, the menu bar's drop-downs and owner-drawn items, the MDI client
  // (WinSkinFormMenu.cpp).
  void BuildSystemMenu();
  void BuildSimpleSystemMenu();
  void CreateMenuBar();
  void FreeMenuBar();
  void MeasureMenuItem(TMessage& Message);
  void DrawMenuItem(TMessage& Message);
  void DialogChar(TMessage& Message);
  void SetMenuOwnerDraw(TMenu& Menu, bool On);
  void SubclassClient();
  void RestoreClient();
  static LRESULT CALLBACK ClientWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                        DWORD_PTR Data);

  // Expires with the skinner, for code that runs nested message loops.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  bool FAttached = false;
  TWndMethod FSavedWindowProc;
  bool FUnicode = false;
  bool FIsDialog = false;
  bool FIsChild = false;
  bool FRightToLeft = false;
  bool FSizable = false;
  bool FClientSubclassed = false;
  bool FSavedAutoScroll = false;
  bool FSavedMenuUpdate = false;
  std::string FClassName;
  HWND FOwnerWindow = nullptr;
  HWND FMDIClient = nullptr;
  HMENU FSystemMenu = nullptr;
  DWORD FStyle = 0;
  TColor FSavedColor = 0;
  RECT FClientRect{};
  RECT FFrameSize{};
  RECT FWindowRect{};
  DWORD FLastMenuTick = 0;
  DWORD FDoubleClickTime = 0;
  int FTitleTextWidth = 0;
  std::wstring FCaptionText;
  HFONT FCaptionFont = nullptr;
  HICON FIcon = nullptr;
  int FIconSize = 0;
  // The window icon: its colours, and how much of each pixel it covers.
  TSkinImage FIconBitmap;
  std::vector<std::uint8_t> FIconAlpha;
  int FRegionWidth = 0, FRegionHeight = 0;
  std::unique_ptr<std::vector<TSkinControl*>> FSkinners;
  // The drawing flag each menu had before the skin made it owner-drawn; a menu is only
  // compared with, never reached through, its entry (it may be gone).
  std::vector<std::pair<const TMenu*, bool>> FSavedOwnerDraw;

  // Off-screen pictures of the last frame paint: the sides, and the caption strip that
  // is composed in memory and copied in one piece.
  TSkinImage FLeftImage, FRightImage, FBottomImage, FCaptionImage, FButtonImage;
};

// The class name of a window (8-bit, at most 100 characters).
std::string GetWndClassName(HWND Window);
