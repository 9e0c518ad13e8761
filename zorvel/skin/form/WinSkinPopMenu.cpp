#include "WinSkinPopMenu.h"

#include <commctrl.h>

#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "forms/Forms.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x5A50;
// A window DC that takes the window's own clipping style (an undocumented-by-name flag
// of GetDCEx that the system's own non-client painting uses).
constexpr DWORD kDcUseStyle = 0x00010000;
#ifndef MN_GETHMENU
constexpr UINT MN_GETHMENU = 0x01E1;
#endif
// The menu's own frame, inside which it draws its items.
constexpr int kMenuFrame = 3;
}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

void TWinSkinPopMenu::Attach(HWND AWindow, TSkinData* ASkinData, HMENU AMenuHandle) {
  if (FAttached) return;
  Window = AWindow;
  SkinData = ASkinData;
  MenuHandle = AMenuHandle;
  FAttached = SetWindowSubclass(Window, WndProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void TWinSkinPopMenu::Detach() {
  if (!FAttached) return;
  if (IsWindow(Window)) RemoveWindowSubclass(Window, WndProc, kSubclassId);
  Background.Clear();
  FAttached = false;
}

HMENU TWinSkinPopMenu::ShownMenu() const {
  return IsWindow(Window) ? reinterpret_cast<HMENU>(SendMessageA(Window, MN_GETHMENU, 0, 0)) : nullptr;
}

LRESULT CALLBACK TWinSkinPopMenu::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                          DWORD_PTR Data) {
  LRESULT result = 0;
  bool done = false;
  SafeCall([&] {
    result = reinterpret_cast<TWinSkinPopMenu*>(Data)->Handle(Msg, WParam, LParam);
    done = true;
  });
  return done ? result : DefSubclassProc(Wnd, Msg, WParam, LParam);
}

LRESULT TWinSkinPopMenu::CallDefault(UINT Msg, WPARAM WParam, LPARAM LParam) const {
  return DefSubclassProc(Window, Msg, WParam, LParam);
}

LRESULT TWinSkinPopMenu::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_SKINQUERY) return 1;
  if (!SkinManager || !SkinManager->Active) return CallDefault(Msg, WParam, LParam);
  switch (Msg) {
    case WM_DESTROY: {
      const HWND window = Window;
      Detach();
      return DefSubclassProc(window, Msg, WParam, LParam);
    }
    case WM_ERASEBKGND:
      if (!InSet(SkinData->Options, xoMenuBG)) CallDefault(Msg, WParam, LParam);
      return 1;
    case WM_NCPAINT:
      if (IsWinNT || !SkinIsNTFamily()) return PaintFrame(WParam);
      return 0;
    case WM_PAINT: {
      // A menu window without a non-client area draws its frame itself while painting
      // its items: the skin's frame goes over it afterwards.
      const LRESULT result = CallDefault(Msg, WParam, LParam);
      PaintBorder();
      return result;
    }
    case WM_PRINT:
      return PaintPrint(WParam, LParam);
    default:
      return CallDefault(Msg, WParam, LParam);
  }
}

bool TWinSkinPopMenu::UsableSkin() const {
  return SkinData && !SkinData->NoSkinLoaded && SkinData->MenuBackground && !SkinData->MenuBackground->Bitmap.Empty();
}

bool TWinSkinPopMenu::Compose() {
  RECT r{};
  if (!GetWindowRect(Window, &r) || r.right <= r.left || r.bottom <= r.top) return false;
  const TDataSkinObject& e = *SkinData->MenuBackground;
  SkinComposeNineSliceInto(Background, r.right - r.left, r.bottom - r.top, e.Bitmap, e.Margins, 1, 1, e.Tile == 1,
                           false);
  // Where the items start: the client area's corner, or where the first item stands
  // when the menu draws its own frame inside the client area.
  POINT client{0, 0};
  ClientToScreen(Window, &client);
  ItemOrigin = {client.x - r.left, client.y - r.top};
  RECT item{};
  if (HMENU menu = ShownMenu(); menu && GetMenuItemRect(nullptr, menu, 0, &item))
    ItemOrigin = {item.left - r.left, item.top - r.top};
  return !Background.Empty();
}

LRESULT TWinSkinPopMenu::PaintFrame(WPARAM Region) {
  if (!UsableSkin() || !Compose()) return CallDefault(WM_NCPAINT, Region, 0);
  // 1 stands for the whole window, which is no region to intersect with.
  HDC dc = Region > 1 ? GetDCEx(Window, reinterpret_cast<HRGN>(Region), DCX_WINDOW | DCX_INTERSECTRGN | kDcUseStyle)
                      : GetWindowDC(Window);
  if (!dc) return 0;
  SkinBlit(dc, 0, 0, Background);
  ReleaseDC(Window, dc);
  return 0;
}

void TWinSkinPopMenu::PaintBorder() {
  RECT window{}, client{};
  GetWindowRect(Window, &window);
  GetClientRect(Window, &client);
  const int W = window.right - window.left, H = window.bottom - window.top;
  if (client.right != W || client.bottom != H || !UsableSkin() || !Compose()) return;
  const int x = ItemOrigin.x, y = ItemOrigin.y;
  if (x <= 0 && y <= 0) return;
  TSkinImageDC picture(Background);
  HDC dc = GetDC(Window);
  if (dc && picture.Valid()) {
    BitBlt(dc, 0, 0, W, y, picture.DC(), 0, 0, SRCCOPY);
    BitBlt(dc, 0, H - y, W, y, picture.DC(), 0, H - y, SRCCOPY);
    BitBlt(dc, 0, 0, x, H, picture.DC(), 0, 0, SRCCOPY);
    BitBlt(dc, W - x, 0, x, H, picture.DC(), W - x, 0, SRCCOPY);
  }
  if (dc) ReleaseDC(Window, dc);
}

LRESULT TWinSkinPopMenu::PaintPrint(WPARAM DC, LPARAM Flags) {
  RECT r{};
  if (!UsableSkin() || !GetWindowRect(Window, &r) || !Compose()) return CallDefault(WM_PRINT, DC, Flags);
  const int W = r.right - r.left, H = r.bottom - r.top;
  HDC dc = reinterpret_cast<HDC>(DC);
  // The caller's clip region and background mode come back as they were.
  const int saved = SaveDC(dc);
  SkinBlit(dc, 0, 0, Background);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kMenuFrame, kMenuFrame, W - kMenuFrame, H - kMenuFrame);
  const LRESULT result = CallDefault(WM_PRINT, DC, Flags);
  RestoreDC(dc, saved);
  return result;
}
