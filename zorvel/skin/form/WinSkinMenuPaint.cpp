#include "WinSkinMenuPaint.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "SkinDrawWin.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinPopMenu.h"
#include "forms/Controls.h"
#include "forms/Menus.h"
#include "forms/ToolBar.h"

namespace {

constexpr int kMenuItemFrames = 5, kNormalFrame = 1, kSeparatorFrame = 2, kSelectedFrame = 4;
constexpr int kCheckMark = 32760;  // the system's check-mark bitmap

COLORREF Rgb(TSkinColour colour) { return ColorToRGB(TColor(colour)); }

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The item's picture, composed off-screen at its own size: a bitmap in a DC.
struct TItemPicture {
  TSkinImage Image;
  explicit TItemPicture(const RECT& r) : Image(int(r.right - r.left), int(r.bottom - r.top)) {}
};

// The popup background that the popup-menu skinner composed for the menu, and where the
// items start in it; false when there is none.
bool CopyPopupBackground(HMENU menu, const RECT& r, TSkinImage& picture, bool requireContent) {
  TSkinManage* manager = ActiveSkinManager();
  const TWinSkinPopMenu* popup = manager && menu ? manager->GetPopupSkinner(menu) : nullptr;
  if (!popup || (requireContent && popup->Background.Empty())) return false;
  const int x = int(r.left) + int(popup->ItemOrigin.x), y = int(r.top) + int(popup->ItemOrigin.y);
  SkinStretchCopy(picture, {0, 0, picture.Width(), picture.Height()}, popup->Background,
                  {x, y, x + picture.Width(), y + picture.Height()});
  return true;
}

void PaintMenuItemText(const TSkinData& skin, const TMenuItem& item, HDC dc, UINT flags, bool selected, RECT& r,
                       std::wstring text) {
  if ((flags & DT_CALCRECT) && (text.empty() || text == L"&")) text += L' ';
  if (text == L"-") {
    if (flags & DT_CALCRECT) return;
    RECT line = r;
    line.top += 4;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, SkinMenuFont(item.Default()));
  COLORREF colour;
  if (!item.Enabled())
    colour = skin.ButtonShadowColour == skin.MenuTextColour ? GetSysColor(COLOR_BTNSHADOW) : Rgb(skin.ButtonShadowColour);
  else
    colour = Rgb(selected ? skin.HilightTextColour : skin.MenuTextColour);
  SetTextColor(dc, colour);
  DrawSkinText(dc, text, r, flags);
  SelectObject(dc, old);
}

// The checkerboard behind a checked item's image.
HBRUSH CheckedImageBrush() {
  WORD bits[8];
  for (int i = 0; i < 8; ++i) bits[i] = WORD(i % 2 ? 0x55 : 0xAA);
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);
  return brush;
}

void PaintMenuItemContent(const TSkinData& skin, TMenuItem& item, HDC dc, bool selected, const RECT& r,
                          const TMenu* barMenu) {
  const std::wstring text = SkinStrToWide(item.Caption());
  const TMenu* menu = item.GetParentMenu() ? item.GetParentMenu() : barMenu;
  const HIMAGELIST images = menu ? menu->Images : nullptr;
  // The size is read whole: asked for one side alone, the image list answers nothing.
  int size = 16, ih = 16;
  if (images) ImageList_GetIconSize(images, &size, &ih);
  if (item.Checked()) size = std::max(size, 16);
  const int margin = skin.MenuItem ? skin.MenuItem->Margins.Left : 0;
  const bool rtl = menu && menu->IsRightToLeft();
  TMenuItemLayout layout = SkinMenuItemLayout({int(r.left), int(r.top), int(r.right), int(r.bottom)}, size, margin, rtl);
  // A separator has no icon column: its line starts by the item's edge.
  if (item.IsLine() && rtl) layout.Text.Right = int(r.right) - 3;
  if (item.IsLine() && !rtl) layout.Text.Left = int(r.left) + 3;
  RECT box = ToRect(layout.Icon);
  if (!item.IsLine()) {
    if (images && item.ImageIndex() >= 0 && item.ImageIndex() < ImageList_GetImageCount(images)) {
      if (item.Checked()) {
        box.top = r.top + (r.bottom - r.top - 16) / 2;
        RECT edge{box.left, box.top, box.left + size, box.top + size};
        SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        HBRUSH checker = CheckedImageBrush();
        FillRect(dc, &edge, checker);
        DeleteObject(checker);
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      } else {
        box.top = r.top + (r.bottom - r.top - ih) / 2;
      }
      ImageList_DrawEx(images, item.ImageIndex(), dc, box.left, box.top, 0, 0, CLR_NONE, CLR_NONE,
                       item.Enabled() ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
    } else if (item.Checked()) {
      // The system's check mark is a monochrome bitmap: drawn in the button-text colour
      // where it is black, leaving the rest.
      HBITMAP check = LoadBitmapA(nullptr, MAKEINTRESOURCEA(kCheckMark));
      BITMAP info{};
      GetObjectA(check, sizeof info, &info);
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(source, check);
      const int y = int(r.top) + (int(r.bottom - r.top) - info.bmHeight) / 2 + 1;
      const int x = int(box.left) + (size - info.bmWidth) / 2 + 1;
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      HBRUSH ink = CreateSolidBrush(GetSysColor(COLOR_BTNTEXT));
      HGDIOBJ oldBrush = SelectObject(dc, ink);
      // Where the mark is black: the ink (the rop keeps the destination under white).
      BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, 0x00B8074A);
      SelectObject(dc, oldBrush);
      DeleteObject(ink);
      SelectObject(source, old);
      DeleteDC(source);
      DeleteObject(check);
    }
  }
  RECT textBox = ToRect(layout.Text);
  RECT measured = textBox;
  PaintMenuItemText(skin, item, dc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE, selected, measured,
                    text);
  const int shift = (int(textBox.bottom - textBox.top) - int(measured.bottom - measured.top)) / 2;
  OffsetRect(&textBox, 0, shift);
  PaintMenuItemText(skin, item, dc, DT_EXPANDTABS | DT_SINGLELINE | (rtl ? DT_RIGHT : 0), selected, textBox, text);
  if (item.ShortCut() != 0) {
    const std::wstring key = SkinStrToWide(ShortCutToText(item.ShortCut()));
    RECT keyBox = rtl ? RECT{r.left + 11, textBox.top, measured.left, textBox.bottom}
                      : RECT{measured.right, textBox.top, r.right - 11, textBox.bottom};
    PaintMenuItemText(skin, item, dc, DT_EXPANDTABS | DT_SINGLELINE | (rtl ? DT_LEFT : DT_RIGHT), selected, keyBox,
                      key);
  }
}

// Frame 2 of the item strip, its bottom rows when it is taller than the item.
void PaintMenuSeparator(const TSkinData& skin, HDC dc, const RECT& r) {
  const TSkinImage& strip = skin.MenuItem->Bitmap;
  const int W = int(r.right - r.left), H = int(r.bottom - r.top), FW = strip.Width() / kMenuItemFrames;
  const int L = skin.MenuItem->Margins.Left, R = skin.MenuItem->Margins.Right;
  const int y0 = strip.Height() > H ? strip.Height() - H : 0, bottom = strip.Height();
  if (W <= 0 || H <= 0 || FW <= 0) return;
  TSkinImage line(W, H, kSkinKeyColour);
  SkinStretchCopy(line, {0, 0, L, H}, strip, {FW, y0, FW + L, bottom});
  SkinStretchCopy(line, {W - R, 0, W, H}, strip, {2 * FW - R, y0, 2 * FW, bottom});
  // Margins wider than the item would mirror the middle: it is left out.
  if (W - R > L) SkinStretchCopy(line, {L, 0, W - R, H}, strip, {FW + L, y0, 2 * FW - R, bottom});
  TransparentBlit(dc, {int(r.left), int(r.top), int(r.right), int(r.bottom)}, line, kSkinKeyColour);
}

// Composes the item over `picture` (its background already in) and draws it at R.
void FinishItem(const TSkinData& skin, TMenuItem& item, TItemPicture& picture, HDC dc, const RECT& r, bool selected,
                const TMenu* barMenu) {
  const TDataSkinObject& e = *skin.MenuItem;
  const TSkinRect all{0, 0, picture.Image.Width(), picture.Image.Height()};
  const int frame = selected ? kSelectedFrame : kNormalFrame;
  if (e.Trans == 1)
    SkinKeyedCopy(picture.Image, 0, 0,
                  SkinComposeNineSlice(all.Width(), all.Height(), e.Bitmap, e.Margins, frame, kMenuItemFrames,
                                       e.Tile == 1, false));
  else
    SkinPaintNineSlice(picture.Image, all, e.Bitmap, e.Margins, frame, kMenuItemFrames, e.Tile == 1, false);
  TSkinImageDC canvas(picture.Image);
  if (!canvas.Valid()) return;
  const RECT local{0, 0, all.Width(), all.Height()};
  PaintMenuItemContent(skin, item, canvas.DC(), selected, local, barMenu);
  BitBlt(dc, r.left, r.top, all.Width(), all.Height(), canvas.DC(), 0, 0, SRCCOPY);
}

}  // namespace

TMenuItemLayout SkinMenuItemLayout(const TSkinRect& r, int s, int margin, bool rtl) {
  TMenuItemLayout l;
  if (!rtl) {
    const int left = r.Left + 1 + margin;
    l.Icon = {left, r.Top + 1, left + s, r.Top + 1 + s};
    l.Text = {l.Icon.Right + 3, r.Top, r.Right - 1, r.Bottom};
  } else {
    const int right = r.Right - 1 - margin;
    l.Icon = {right - s, r.Top + 1, right, r.Top + 1 + s};
    l.Text = {r.Left + 1, r.Top, l.Icon.Left - 3, r.Bottom};
  }
  return l;
}

void MeasureSkinMenuItem(const TSkinData& SkinData, TMenuItem& Item, HDC DC, int& Width, int& Height) {
  Item.DefaultMeasure(DC, Width, Height);
  if (SkinData.MenuItem) Width += SkinData.MenuItem->Margins.Left;
  const TMenu* menu = Item.GetParentMenu();
  Width += menu && menu->Images ? 10 : 35;
}

void WidenSkinMenuItem(const TSkinData* SkinData, const TMenuItem& Item, int& Width) {
  if (!SkinData) return;
  if (IsLiveSkinData(SkinData) && SkinData->MenuItem) Width += SkinData->MenuItem->Margins.Left;
  const TMenu* menu = Item.GetParentMenu();
  Width += menu && menu->Images ? 12 : 35;
}

void PaintPlainMenuItem(const TSkinData& SkinData, TMenuItem& Item, HDC DC, bool Selected, const RECT& R,
                        const TMenu* BarMenu) {
  TItemPicture picture(R);
  picture.Image.Fill({0, 0, picture.Image.Width(), picture.Image.Height()},
                     Rgb(Selected ? SkinData.HilightColour : SkinData.MenuColour));
  TSkinImageDC canvas(picture.Image);
  if (!canvas.Valid()) return;
  PaintMenuItemContent(SkinData, Item, canvas.DC(), Selected, {0, 0, picture.Image.Width(), picture.Image.Height()},
                       BarMenu);
  BitBlt(DC, R.left, R.top, picture.Image.Width(), picture.Image.Height(), canvas.DC(), 0, 0, SRCCOPY);
}

void PaintSkinMenuItem(const TSkinData& SkinData, TMenuItem& Item, HDC DC, const RECT& R, bool Selected) {
  if (!SkinData.MenuItem) {
    PaintPlainMenuItem(SkinData, Item, DC, Selected, R);
    return;
  }
  HMENU menu = Item.Parent() ? Item.Parent()->Handle() : nullptr;
  if (TSkinManage* manager = ActiveSkinManager(); manager && menu) manager->BindPopupMenu(menu);
  TItemPicture picture(R);
  if (picture.Image.Empty()) return;
  if (!CopyPopupBackground(menu, R, picture.Image, true))
    picture.Image.Fill({0, 0, picture.Image.Width(), picture.Image.Height()}, Rgb(SkinData.MenuColour));
  if (Item.IsLine()) {
    SkinBlit(DC, R.left, R.top, picture.Image);
    PaintMenuSeparator(SkinData, DC, R);
    return;
  }
  FinishItem(SkinData, Item, picture, DC, R, Selected, nullptr);
}

void PaintSkinMenuItemByHandle(const TSkinData& SkinData, HMENU Menu, TMenuItem& Item, bool Selected, const RECT& R,
                               HDC DC, const TMenu* BarMenu) {
  if (!SkinData.MenuItem) {
    PaintPlainMenuItem(SkinData, Item, DC, Selected, R, BarMenu);
    return;
  }
  TItemPicture picture(R);
  if (picture.Image.Empty()) return;
  if (!CopyPopupBackground(Menu, R, picture.Image, false))
    picture.Image.Fill({0, 0, picture.Image.Width(), picture.Image.Height()}, Rgb(SkinData.MenuColour));
  FinishItem(SkinData, Item, picture, DC, R, Selected, BarMenu);
}

const LOGFONTA& SkinMenuLogFont() {
  static const LOGFONTA font = [] {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    return metrics.lfMenuFont;
  }();
  return font;
}

HFONT SkinMenuFont(bool Bold) {
  static const std::array<HFONT, 2> fonts = [] {
    LOGFONTA font = SkinMenuLogFont();
    const HFONT normal = CreateFontIndirectA(&font);
    font.lfWeight = FW_BOLD;
    return std::array<HFONT, 2>{normal, CreateFontIndirectA(&font)};
  }();
  return fonts[Bold ? 1 : 0];
}

namespace {

// The skin's handlers know themselves among an item's events by their type, and keep the
// event they stand in front of.
struct TSkinDrawer {
  TSkinData* Data;
  TMenuDrawItemEvent Own;
  void operator()(TObject* sender, HDC dc, const RECT& r, bool selected) const {
    auto& item = *static_cast<TMenuItem*>(sender);
    // A skin data freed under an open menu leaves its items to the plain look.
    if (IsLiveSkinData(Data))
      PaintSkinMenuItem(*Data, item, dc, r, selected);
    else
      item.DefaultDraw(dc, r, selected);
  }
};

struct TSkinMeasurer {
  TSkinData* Data;
  TMenuMeasureItemEvent Own;
  bool Anew;  // measures the item anew, or widens the measurement already made
  void operator()(TObject* sender, HDC dc, int& width, int& height) const {
    auto& item = *static_cast<TMenuItem*>(sender);
    if (!Anew)
      WidenSkinMenuItem(Data, item, width);
    else if (IsLiveSkinData(Data))
      MeasureSkinMenuItem(*Data, item, dc, width, height);
  }
};

template <class Handler, class Event>
void Install(Event& event, Handler handler) {
  Handler* mine = event.template target<Handler>();
  handler.Own = std::move(mine ? mine->Own : event);
  event = std::move(handler);
}

template <class Handler, class Event>
void Uninstall(Event& event) {
  if (Handler* mine = event.template target<Handler>()) event = Event(std::move(mine->Own));
}

}  // namespace

void SetSkinMenuPainter(TMenuItem& Item, TSkinData* SkinData) {
  Install(Item.OnMeasureItem, TSkinMeasurer{SkinData, nullptr, false});
  SetSkinMenuDrawer(Item, SkinData);
}

void SetSkinMenuDrawer(TMenuItem& Item, TSkinData* SkinData) {
  Install(Item.OnDrawItem, TSkinDrawer{SkinData, nullptr});
}

void SetSkinMenuMeasurer(TMenuItem& Item, TSkinData* SkinData) {
  Install(Item.OnMeasureItem, TSkinMeasurer{SkinData, nullptr, true});
}

void ClearSkinMenuHandlers(TMenuItem& Item) {
  Uninstall<TSkinDrawer>(Item.OnDrawItem);
  Uninstall<TSkinMeasurer>(Item.OnMeasureItem);
}

void PaintSkinToolBar(const TSkinData& SkinData, HDC DC, const RECT& R, bool& DefaultDraw) {
  const TDataSkinObject* gradient = SkinData.ToolbarGradient.get();
  if (InSet(SkinData.Options, xoToolbarBK) || !gradient || gradient->Bitmap.Empty()) return;
  const int w = int(R.right - R.left), h = int(R.bottom - R.top);
  TSkinImage picture(w, h);
  SkinStretchCopy(picture, {0, 0, w, h}, gradient->Bitmap, {0, 0, gradient->Bitmap.Width(), gradient->Bitmap.Height()});
  SkinBlit(DC, R.left, R.top, picture);
  DefaultDraw = false;
}

void PaintSkinToolButton(const TSkinData& SkinData, HDC DC, const RECT& R, unsigned State, const std::wstring& Caption,
                         bool& DefaultDraw) {
  const TDataSkinButton& e = *SkinData.Buttons;
  int frame = 0;
  TSkinColour text = 0;
  bool hasText = false;
  if (State & tbsSelected) {
    frame = 2;
    text = e.PressedColour2;
    hasText = e.HasPressedColour2;
  } else if (State & (tbsFocused | tbsHot)) {
    frame = 4;
    text = e.MouseOverColour2;
    hasText = e.HasMouseOverColour2;
  } else if ((State & tbsDefault) && !(State & (tbsGrayed | tbsDisabled))) {
    frame = 1;
    text = e.NormalColour2;
    hasText = e.HasNormalColour2;
  }
  if (!frame || e.Bitmap.Empty()) return;
  const TSkinRect inner{int(R.left) + 1, int(R.top) + 1, int(R.right) - 1, int(R.bottom) - 1};
  DrawNineSlice(DC, inner, e.Bitmap, e.Margins, frame, 5, e.Trans == 1, e.Tile == 1, false);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, hasText ? Rgb(text) : GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
  RECT box = R;
  DrawSkinText(DC, Caption, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(DC, old);
  DefaultDraw = false;
}
