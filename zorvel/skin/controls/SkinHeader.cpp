#include "SkinHeader.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

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

void TSkinHeader::DetachSkin() {
  TSkinControl::DetachSkin();
  FStatus = 2;  // unskinned: the list's own layout again, and no more fitting
  if (std::exchange(FRowGap, 0) != 0) LayOutList();
}

void TSkinHeader::LayOutList() const {
  HWND list = GetParent(FHandle);
  RECT r;
  if (!list || !GetWindowRect(list, &r)) return;
  // Only a change of size makes a list lay out its header and rows again.
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  const int w = int(r.right - r.left), h = int(r.bottom - r.top);
  SetWindowPos(list, nullptr, 0, 0, w, h + 1, kFlags | SWP_NOREDRAW);
  SetWindowPos(list, nullptr, 0, 0, w, h, kFlags);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSkinHeader::FitToRows() {
  HWND list = GetParent(FHandle);
  if (FFitting || FStatus != 1 || !list || !(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_VISIBLE))
    return;
  RECT row{LVIR_BOUNDS, 0, 0, 0}, header;
  const WPARAM top = WPARAM(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  if (!SendMessageW(list, LVM_GETITEMRECT, top, reinterpret_cast<LPARAM>(&row)) ||
      !GetWindowRect(FHandle, &header))
    return;
  MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
  const int gap = std::max(0, FRowGap + int(row.top - header.bottom));
  if (gap == FRowGap) return;
  FRowGap = gap;
  FFitting = true;  // the list's new layout brings it back here
  LayOutList();
  FFitting = false;
}

bool TSkinHeader::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_WINDOWPOSCHANGING && FRowGap > 0) {
    // The list places the header at the height it was told; it covers the strip as well.
    auto& pos = *reinterpret_cast<WINDOWPOS*>(m.LParam);
    if (!(pos.flags & SWP_NOSIZE) && pos.cy == FLaidOutHeight) pos.cy += FRowGap;
  }
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
    case HDM_LAYOUT: {
      // The rows start where the header, with the strip, ends.
      const auto* layout = reinterpret_cast<const HDLAYOUT*>(m.LParam);
      if (!m.Result || FRowGap <= 0 || !layout || !layout->prc || !layout->pwpos) break;
      const int cover = std::min(FRowGap, layout->pwpos->cy);
      layout->pwpos->cy -= cover;
      layout->prc->top -= cover;
      FLaidOutHeight = layout->pwpos->cy;
      break;
    }
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinHeader::DrawSkin(HDC DC, const RECT& R) {
  if (!HasSkin()) return;
  const TDataSkinObject& bar = *FSkinData->Headerbar;
  // The texts are greyed by it; a list's header is as disabled as its list.
  FEnabled = IsWindowEnabled(FHandle) && (FControl || IsWindowEnabled(GetParent(FHandle)));
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
