#include "SkinHeader.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "SkinBoxes.h"
#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSubClass.h"

namespace {
// A header item's text: 100 wide characters and the terminator.
constexpr int kItemTextChars = 101;
}  // namespace

void TSkinHeader::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                bool UseColour) {
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  FHotItem = -1;
}

void TSkinHeader::AttachWindow(HWND Handle, TSkinData* SkinData, TCanvas* Canvas,
                               TWinSkinForm* Form) {
  TSkinControl::AttachWindow(Handle, SkinData, Canvas, Form);
  FHotItem = -1;
}

bool TSkinHeader::HasSkin() const {
  const TDataSkinObject* bar = FSkinData->Headerbar.get();
  return bar && !bar->Bitmap.Empty();
}

bool TSkinHeader::BeforeMessage(TMessage& m) {
  // Without the skin's strip the header paints and erases as it always does.
  if ((m.Msg == WM_PAINT || m.Msg == WM_ERASEBKGND) && !HasSkin())
    return TSkinControl::BeforeMessage(m);
  return !PaintAlone(m) && TSkinControl::BeforeMessage(m);
}

void TSkinHeader::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      // Only another item changes the hot one: dividers and the empty end keep it.
      const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      for (std::size_t i = 0; i < FItemRects.size(); ++i)
        if (PtInRect(&FItemRects[i], p) && int(i) != FHotItem) {
          FHotItem = int(i);
          RedrawSkin();
        }
      SkinTrackMouseLeave(FHandle);
      break;
    }
    case WM_MOUSELEAVE:
      FHotItem = -1;
      RedrawSkin();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinHeader::DrawSkin(HDC DC, const RECT& R) {
  if (!HasSkin()) return;
  const TDataSkinObject& bar = *FSkinData->Headerbar;
  FEnabled = IsWindowEnabled(FHandle) != FALSE;  // the texts are greyed by it
  TBitmap work;
  work.SetSize(R.right - R.left, R.bottom - R.top);
  TCanvas& canvas = *work.Canvas();
  AssignWindowFont(canvas.Font, FHandle);
  canvas.Brush.Style = bsClear;

  const int count = std::max(0, int(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0)));
  FItemRects.resize(std::size_t(count));
  if (FHotItem >= count) FHotItem = -1;  // items went since
  int maxRight = 0;
  for (int i = 0; i < count; ++i) {
    RECT r;
    if (!SendMessageW(FHandle, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
    PaintItem(canvas, i, r);
    FItemRects[std::size_t(i)] = {r.left + 3, r.top, r.right - 3, r.bottom};
    maxRight = std::max(maxRight, int(r.right));
  }
  if (maxRight < R.right) {
    const TSkinRect rest{maxRight, int(R.top), int(R.right), int(R.bottom)};
    SkinBlit(
        canvas.Handle(), rest.Left, rest.Top,
        ComposeNineSlice(rest, bar.Bitmap, bar.Margins, 1, bar.FrameCount, bar.Tile != 0, false));
  }
  BitBlt(DC, R.left, R.top, R.right - R.left, R.bottom - R.top, canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinHeader::PaintItem(TCanvas& Canvas, int Index, const RECT& R) {
  const TDataSkinObject& bar = *FSkinData->Headerbar;
  wchar_t text[kItemTextChars] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = kItemTextChars;
  SendMessageW(FHandle, HDM_GETITEMW, WPARAM(Index), reinterpret_cast<LPARAM>(&item));

  HDC dc = Canvas.Handle();
  SkinBlit(dc, R.left, R.top,
           ComposeNineSlice(ToSkinRect(R), bar.Bitmap, bar.Margins, Index == FHotItem ? 2 : 1,
                            bar.FrameCount, bar.Tile != 0, false));
  const std::wstring caption = WideStrFromBuffer(item.pszText ? item.pszText : text, -1);
  if (caption.empty()) return;
  const int format = item.fmt & 0xFF;
  const int alignment = format == HDF_RIGHT ? 2 : format == HDF_CENTER ? 1 : 0;
  const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
  // The item's picture ends at its edges.
  IntersectClipRect(dc, R.left, R.top, R.right, R.bottom);
  DrawImageAndText(this, Canvas, R, alignment, caption, image,
                   reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0)));
  SelectClipRgn(dc, nullptr);
}
