// The menu painter: measures and draws the items of drop-down and popup menus (and the
// skinned system menu) from the skin, over the background that the popup-menu skinner
// composed for the menu's window.
#pragma once

#include <windows.h>

#include <string>

#include "SkinDraw.h"

class TSkinData;
class TMenu;
class TMenuItem;

// Where an item's parts go in its rectangle (item coordinates): the icon box of the image
// or check mark, S pixels square, and the text box. A right-to-left menu mirrors them.
struct TMenuItemLayout {
  TSkinRect Icon;
  TSkinRect Text;
};
TMenuItemLayout SkinMenuItemLayout(const TSkinRect& item, int imageSize, int leftMargin, bool rightToLeft);

// The framework's plain measurement of the item (not its own measure event), widened by
// the skin's item margin and the image column (10 with an image list, 35 without).
void MeasureSkinMenuItem(const TSkinData& SkinData, TMenuItem& Item, HDC DC, int& Width, int& Height);
// Widens a measurement already made (12 with an image list, 35 without); the skin's
// margin counts only while that skin data still exists.
void WidenSkinMenuItem(const TSkinData* SkinData, const TMenuItem& Item, int& Width);

// The item composed off-screen and drawn at R of DC in one piece.
void PaintSkinMenuItem(const TSkinData& SkinData, TMenuItem& Item, HDC DC, const RECT& R, bool Selected);
// The same over the background of a given menu (for items that exist only in a window's
// menu and are wrapped in a temporary item). An item without a menu of its own takes its
// image size and direction from BarMenu (the menu bar's framework menu), when given.
void PaintSkinMenuItemByHandle(const TSkinData& SkinData, HMENU Menu, TMenuItem& Item, bool Selected, const RECT& R,
                               HDC DC, const TMenu* BarMenu = nullptr);
// Without the skin's item frame: the menu colour, or the highlight when selected.
void PaintPlainMenuItem(const TSkinData& SkinData, TMenuItem& Item, HDC DC, bool Selected, const RECT& R,
                        const TMenu* BarMenu = nullptr);

// The skin's handlers of an item, put in front of the item's own, which they keep:
// taking the skin's off gives the item's own back. The drawer paints the item from the
// skin while the skin data lives (else plainly); the system menu's items widen their
// measurement (SetSkinMenuPainter), the items of a form's menus measure themselves anew
// and widen that (SetSkinMenuMeasurer).
void SetSkinMenuPainter(TMenuItem& Item, TSkinData* SkinData);
void SetSkinMenuDrawer(TMenuItem& Item, TSkinData* SkinData);
void SetSkinMenuMeasurer(TMenuItem& Item, TSkinData* SkinData);
void ClearSkinMenuHandlers(TMenuItem& Item);

// The system's menu font as it was first read, and made from it once for the program's
// run (bold for default items).
const LOGFONTA& SkinMenuLogFont();
HFONT SkinMenuFont(bool Bold = false);

// Tool bars drawn from the skin. The background: the skin's tool-bar gradient stretched
// over the bar, unless the options keep the bar's own (DefaultDraw is left alone then).
void PaintSkinToolBar(const TSkinData& SkinData, HDC DC, const RECT& R, bool& DefaultDraw);
// A button: selected, hot or focused, or the default button, drawn from the skin's
// button frames with its caption; any other state is left to the bar.
void PaintSkinToolButton(const TSkinData& SkinData, HDC DC, const RECT& R, unsigned State, const std::wstring& Caption,
                         bool& DefaultDraw);
