#include "SkinTabs.h"

#include <commctrl.h>

#include <algorithm>

#include "ImgUtilWin.h"
#include "SkinBoxes.h"
#include "SkinDrawWin.h"
#include "SkinRanges.h"
#include "SkinStates.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "forms/Tabs.h"

namespace {
TSkinControl* NewUpDownSkinner(TComponent* Owner, bool Horizontal) {
  auto* arrows = new TSkinUpDown(Owner);
  arrows->FHorizontal = Horizontal ? 1 : 0;
  return arrows;
}
}  // namespace

TSkinControl* (*NewTabUpDownSkinner)(TComponent* Owner, bool Horizontal) = NewUpDownSkinner;

namespace {

bool IsEnabledWindow(HWND window) {
  return !(GetWindowLongPtrA(window, GWL_STYLE) & WS_DISABLED);
}

// The display area of a tab control of window rectangle R.
TSkinRect DisplayArea(HWND window, const RECT& R) {
  RECT display = R;
  SendMessageA(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  return ToSkinRect(display);
}

}  // namespace

HWND FindTabUpDown(TSkinControl& Skinner, TComponent* Owner, TSkinControl*& UpDownSkinner,
                   bool& Visible) {
  Visible = false;
  HWND child = GetWindow(Skinner.FHandle, GW_CHILD);
  while (child && _stricmp(GetWndClassName(child).c_str(), UPDOWN_CLASSA) != 0)
    child = GetWindow(child, GW_HWNDNEXT);
  if (!child) return nullptr;
  // Skinned when they answer so or, since arrows whose skin the application switched off
  // answer as plain ones, when the form skinner lists their skinner (it drops one that
  // goes); without a form skinner, when they have the one made here.
  const bool skinned = SendMessageA(child, WM_SKINQUERY, 0, 0) == 1 ||
                       (Skinner.FForm ? Skinner.FForm->FindControlSkinner(child) != nullptr
                                      : UpDownSkinner && UpDownSkinner->FHandle == child);
  if (NewTabUpDownSkinner && !skinned) {
    UpDownSkinner = NewTabUpDownSkinner(Owner, false);
    UpDownSkinner->AttachWindow(child, Skinner.FSkinData, Skinner.FCanvas, Skinner.FForm);
  }
  Visible = GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE;
  return child;
}

std::vector<TTabItem> TabItems(const TSkinControl& Skinner, HIMAGELIST& Images) {
  constexpr int kChars = 80;
  HWND tabs = Skinner.FHandle;
  Images = reinterpret_cast<HIMAGELIST>(SendMessageA(tabs, TCM_GETIMAGELIST, 0, 0));
  const int count = int(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  const int current = int(SendMessageA(tabs, TCM_GETCURFOCUS, 0, 0));
  std::vector<TTabItem> items;
  for (int i = 0; i < count; ++i) {
    TTabItem tab{{}, -1, {}, i == current};
    if (!SendMessageA(tabs, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&tab.Rect)))
      continue;
    if (Skinner.FUnicode) {
      wchar_t text[kChars] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
      item.pszText = text;
      item.cchTextMax = kChars;
      SendMessageW(tabs, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
      tab.Image = item.iImage;
      tab.Text = WideStrFromBuffer(item.pszText ? item.pszText : text, -1);
    } else {
      char text[kChars] = {};
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
      item.pszText = text;
      item.cchTextMax = kChars;
      SendMessageA(tabs, TCM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
      tab.Image = item.iImage;
      const char* from = item.pszText ? item.pszText : text;
      tab.Text = SkinStrToWide(std::string(from, strnlen(from, kChars)));
    }
    items.push_back(std::move(tab));
  }
  return items;
}

// ---------------------------------------------------------------------------------------
// Tab control

TSkinTab::TSkinTab(TComponent* AOwner) : TSkinControl(AOwner) {
  WorkBitmap.SetPixelFormat(pf24bit);
}

void TSkinTab::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                             bool UseColour) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  if (!FHandle) return;
  FEnabled = IsEnabledWindow(FHandle);
  LoadImages();
  FindUpDown();
  FSkinOn = true;
}

void TSkinTab::AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas, TWinSkinForm* Form) {
  if (FAttached) return;
  TSkinControl::AttachWindow(Handle, SkinData, Canvas, Form);
  FFocused = GetFocus() == Handle;
  FEnabled = IsEnabledWindow(Handle);
  LoadImages();
  FindUpDown();
  FSkinOn = true;
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  if (m.Msg != WM_PAINT) return TSkinControl::BeforeMessage(m);
  HandlePaint(m);
  return false;
}

// The new skin's pictures first: the base repaints at once.
void TSkinTab::SkinChanged() {
  LoadImages();
  TSkinControl::SkinChanged();
}

void TSkinTab::LoadImages() {
  TabPosition = std::uint8_t(TabPositionOfStyle(unsigned(GetWindowLongAuto(FHandle, GWL_STYLE))));
  // From the skin in force each time, so that a skin without them leaves none, and what
  // is turned below is never turned twice.
  TabImage.Clear();
  PaneImage.Clear();
  const TDataSkinBorder* tabs = FSkinData->Tabs.get();
  if (!tabs) return;
  TabImage = tabs->Bitmap;
  const TDataSkinObject* pane = FSkinData->TabPane.get();
  if (tabs->Style == 0)
    PaneImage = tabs->Bitmap2;
  else if (tabs->Style == 1 && pane)
    PaneImage = pane->Bitmap;
  if (TabPosition == 1) {
    TabImage.FlipVertical();
    PaneImage.FlipVertical();
  }
  if (TabPosition == 2) PaneImage = PaneImage.Turned(false);
  if (TabPosition == 3) PaneImage = PaneImage.Turned(true);
}

bool TSkinTab::FindUpDown() {
  return VisibleUpDown() != nullptr;
}

HWND TSkinTab::VisibleUpDown() {
  bool visible;
  // A plain window has no owner to give the arrows' skinner to: this skinner keeps it.
  TComponent* owner = FControl && FControl->Owner() ? FControl->Owner() : this;
  HWND arrows = FindTabUpDown(*this, owner, UpDownSkinner, visible);
  return visible ? arrows : nullptr;
}

void TSkinTab::DrawSkin(HDC DC, const RECT& R) {
  FEnabled = IsEnabledWindow(FHandle);
  const TDataSkinBorder* tabs = FSkinData->Tabs.get();
  const TSkinRect r = ToSkinRect(R);
  const TSkinRect pane = TabPaneRect(TabPosition, DisplayArea(FHandle, R));
  if (tabs && !TabImage.Empty()) DrawStrip(DC, r, pane, VisibleUpDown());
  if (tabs && !PaneImage.Empty()) {
    const TDataSkinObject* element = FSkinData->TabPane.get();
    const TSkinMargins margins =
        tabs->Style != 0 && element ? element->Margins : TSkinMargins{4, 5, 4, 4};
    try {
      DrawNineSlice(DC, pane, PaneImage, margins, 1, 1, false, false, false);
    } catch (...) {
      // A pane that cannot be drawn leaves the control's own.
    }
  }
  if (FControl && FMode == 2) FControl->PaintControls(DC, nullptr);
}

void TSkinTab::DrawStrip(HDC DC, const TSkinRect& R, const TSkinRect& Pane, HWND Arrows) {
  const TDataSkinBorder& tabs = *FSkinData->Tabs;
  const TSkinRect strip = TabStripRect(TabPosition, R, Pane);
  const TSkinPoint size = TabWorkSize(TabPosition, strip);
  if (size.X <= 0 || size.Y <= 0) return;
  WorkBitmap.SetSize(size.X, size.Y);
  TCanvas& canvas = *WorkBitmap.Canvas();
  FillParentColor(canvas.Handle(), {0, 0, size.X, size.Y});
  AssignWindowFont(canvas.Font, FHandle);
  HIMAGELIST images;
  for (const TTabItem& tab : TabItems(*this, images)) {
    const TSkinRect place = TabInWork(TabPosition, ToSkinRect(tab.Rect), R, Pane, size.X);
    DrawNineSlice(canvas.Handle(), place, TabImage, tabs.Margins, tab.Current ? 2 : 1,
                  tabs.FrameCount, tabs.Trans == 1, tabs.Tile != 0, false);
    canvas.Font.Color = tab.Current ? tabs.MouseOverColour2 : tabs.NormalColour2;
    DrawImageAndText(this, canvas, ToRect(place), 1, tab.Text, tab.Image, images);
  }
  if (TabPosition == 2) skin::Rotate90(WorkBitmap);
  if (TabPosition == 3) skin::Rotate270(WorkBitmap);
  // The arrows stay visible: the strip goes around them, and the caller's clip returns.
  const int saved = SaveDC(DC);
  if (Arrows) {
    RECT a;
    GetWindowRect(Arrows, &a);
    OffsetRect(&a, -FWindowRect.left, -FWindowRect.top);
    ExcludeClipRect(DC, a.left, a.top, a.right, a.bottom);
  }
  BitBlt(DC, strip.Left, strip.Top, WorkBitmap.Width(), WorkBitmap.Height(), canvas.Handle(), 0, 0,
         SRCCOPY);
  RestoreDC(DC, saved);
}

// ---------------------------------------------------------------------------------------
// Tab set

void TSkinTab31::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                               bool UseColour) {
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (FAttached || !control) return;
  FControl = control;
  FUseColour = UseColour;
  AttachWindow(control->Handle(), SkinData, Canvas, Form);
  LoadImage();
  auto* set = dynamic_cast<TTabSet*>(control);
  Scroller = set ? set->Scroller() : nullptr;
  if (Scroller && NewTabUpDownSkinner) {
    UpDownSkinner = NewTabUpDownSkinner(control, true);
    UpDownSkinner->AttachWindow(Scroller->Handle(), SkinData, Canvas, Form);
  }
}

bool TSkinTab31::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      HandlePaint(m);
      // The control's own paint follows (on screen it finds nothing left to paint); into
      // a device context handed over it would paint over the skin.
      return m.WParam == 0;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinTab31::SkinChanged() {
  LoadImage();
  TSkinControl::SkinChanged();
}

void TSkinTab31::LoadImage() {
  TabImage.Clear();
  const TDataSkinBorder* tabs = FSkinData->Tabs.get();
  if (!tabs) return;
  TabImage = tabs->Bitmap;
  TabImage.FlipVertical();
}

void TSkinTab31::DrawSkin(HDC DC, const RECT& R) {
  const TDataSkinBorder* tabs = FSkinData->Tabs.get();
  auto* set = dynamic_cast<TTabSet*>(FControl);
  if (!tabs || TabImage.Empty() || !set) return;
  const int W = int(R.right - R.left), H = int(R.bottom - R.top);
  TBitmap buffer;
  buffer.SetSize(W, H);
  TCanvas& canvas = *buffer.Canvas();
  FillSkinFace(canvas.Handle(), {0, 0, W, H});
  canvas.Font.Assign(&set->Canvas()->Font);
  HDC dc = canvas.Handle();
  std::vector<int> widths;
  for (const std::string& tab : set->Tabs()) {
    RECT m{0, 0, W, H};
    DrawSkinText(dc, SkinStrToWide(tab), m, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    widths.push_back(int(m.right - m.left) + 9);
  }
  const bool scroller = Scroller && Scroller->Visible();
  const std::vector<int> at =
      TabSetLayout(widths, set->FirstIndex(), set->StartMargin, W - set->EndMargin, scroller);
  for (std::size_t i = 0; i < at.size(); ++i) {
    if (at[i] < 0) continue;
    const bool current = int(i) == set->TabIndex();
    const RECT place{at[i], 0, at[i] + widths[i], H};
    DrawNineSlice(canvas.Handle(), ToSkinRect(place), TabImage, tabs->Margins, current ? 2 : 1,
                  tabs->FrameCount, tabs->Trans == 1, tabs->Tile != 0, false);
    canvas.Font.Color = current ? tabs->MouseOverColour2 : tabs->NormalColour2;
    DrawCaptionText(this, canvas, place, DT_CENTER, true, SkinStrToWide(set->Tabs()[i]));
  }
  BitBlt(DC, R.left, R.top, W, H, canvas.Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// Tab buttons

bool TSkinTabBtn::BeforeMessage(TMessage& m) {
  if (m.Msg != WM_PAINT) return TSkinControl::BeforeMessage(m);
  HandlePaint(m);
  return false;
}

void TSkinTabBtn::DrawSkin(HDC DC, const RECT& R) {
  const TDataSkinButton& buttons = *FSkinData->Buttons;
  if (buttons.Bitmap.Empty()) return;
  // A tab control attached by window has no framework control to ask.
  FEnabled = FControl ? FControl->Enabled() : IsEnabledWindow(FHandle);
  TSkinRect display = DisplayArea(FHandle, R);
  const RECT strip{R.left, R.top, R.right, display.Top - 4 + 1};
  const int W = int(strip.right - strip.left), H = int(strip.bottom - strip.top);
  if (W <= 0 || H <= 0) return;
  TBitmap buffer;
  buffer.SetSize(W, H);
  TCanvas& canvas = *buffer.Canvas();
  FillSkinFace(canvas.Handle(), {0, 0, W, H});
  AssignWindowFont(canvas.Font, FHandle);
  canvas.Font.Color = clBlack;
  HIMAGELIST images;
  for (const TTabItem& tab : TabItems(*this, images)) {
    RECT t = tab.Rect;
    OffsetRect(&t, 0, 1);
    DrawNineSlice(canvas.Handle(), ToSkinRect(t), buttons.Bitmap, buttons.Margins,
                  tab.Current ? 2 : 1, buttons.FrameCount, buttons.Trans == 1, buttons.Tile != 0,
                  false);
    // A colour the skin does not give leaves the one in force.
    if (!tab.Current && buttons.HasNormalColour2) canvas.Font.Color = buttons.NormalColour2;
    if (tab.Current && buttons.HasPressedColour2) canvas.Font.Color = buttons.PressedColour2;
    DrawImageAndText(this, canvas, t, 1, tab.Text, tab.Image, images);
  }
  BitBlt(DC, strip.left, strip.top, W, H, canvas.Handle(), 0, 0, SRCCOPY);
}
