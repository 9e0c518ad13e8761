#include "ControlButton.h"

namespace {
HBITMAP LoadBitmapResource(int id) {
  return static_cast<HBITMAP>(LoadImageW(GetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}
}  // namespace

CControlButton::CControlButton() {
  MapMessage(WM_MOUSEMOVE, [this](WPARAM, LPARAM) { return OnMouseMove(); });
  MapMessage(WM_MOUSELEAVE, [this](WPARAM, LPARAM) { return OnMouseLeave(); });
  MapMessage(WM_MOUSEHOVER, [this](WPARAM, LPARAM) { return OnMouseHover(); });
  MapMessage(WM_ERASEBKGND, [this](WPARAM, LPARAM) { return OnEraseBkgnd(); });
}

CControlButton::~CControlButton() {
  for (HBITMAP* slot : {&m_normal, &m_hoverImage, &m_pressed, &m_spare, &m_mask, &m_background}) Replace(*slot, nullptr);
}

void CControlButton::Replace(HBITMAP& slot, HBITMAP image) {
  if (slot) DeleteObject(slot);
  slot = image;
}

void CControlButton::PreSubclassWindow() {
  CPushButton::PreSubclassWindow();
  const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | BS_OWNERDRAW);
}

void CControlButton::SetBitmaps(int hover, int normal, int pressed, int spare) {
  for (HBITMAP* slot : {&m_normal, &m_hoverImage, &m_pressed, &m_spare}) Replace(*slot, nullptr);
  m_normal = LoadBitmapResource(normal);
  m_pressed = LoadBitmapResource(pressed);
  m_spare = LoadBitmapResource(spare);
  m_hoverImage = LoadBitmapResource(hover);
}

void CControlButton::SetUpInHost(CWindow& host, int background, int mask, int hover, int normal, int pressed,
                                 int spare) {
  RECT r = GetWindowRect();
  MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  m_backgroundX = r.left;
  m_backgroundY = r.top;
  m_hasBackground = true;
  Replace(m_background, LoadBitmapResource(background));
  m_hasMask = true;
  Replace(m_mask, LoadBitmapResource(mask));
  SetBitmaps(hover, normal, pressed, spare);
}

LRESULT CControlButton::OnMouseMove() {
  if (!m_tracking) {
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof tme;
    tme.dwFlags = TME_LEAVE | TME_HOVER;
    tme.hwndTrack = m_hWnd;
    tme.dwHoverTime = 1;
    m_tracking = TrackMouseEvent(&tme) != 0;
  }
  return Default();
}

LRESULT CControlButton::OnMouseHover() {
  m_hover = true;
  Invalidate(TRUE);
  return 0;
}

LRESULT CControlButton::OnMouseLeave() {
  m_hover = false;
  m_tracking = false;
  Invalidate(FALSE);
  return 0;
}

void CControlButton::PaintImage(HDC dc, int width, int height, HBITMAP image) {
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, image);
  if (m_hasMask) {
    if (m_hasBackground && m_background) {
      SelectObject(mem, m_background);
      BitBlt(dc, 0, 0, width, height, mem, m_backgroundX, m_backgroundY, SRCCOPY);
    }
    // The mask is black where the image is opaque: MERGEPAINT whitens those pixels and
    // keeps the rest; SRCAND then lays the image (white where transparent) over them.
    if (m_mask) {
      SelectObject(mem, m_mask);
      BitBlt(dc, 0, 0, width, height, mem, 0, 0, MERGEPAINT);
    }
    if (image) {
      SelectObject(mem, image);
      BitBlt(dc, 0, 0, width, height, mem, 0, 0, SRCAND);
    }
  } else if (image) {
    SelectObject(mem, image);
    BitBlt(dc, 0, 0, width, height, mem, 0, 0, SRCCOPY);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
}

void CControlButton::DrawItem(const DRAWITEMSTRUCT* item) {
  const int width = item->rcItem.right - item->rcItem.left;
  const int height = item->rcItem.bottom - item->rcItem.top;
  const int saved = SaveDC(item->hDC);
  PaintImage(item->hDC, width, height, m_hover ? m_hoverImage : m_normal);
  RestoreDC(item->hDC, saved);
  if (item->itemState & ODS_SELECTED) PaintImage(item->hDC, width, height, m_pressed);
}
