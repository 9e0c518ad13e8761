// The popup-menu skinner: paints the skin's menu background, cut to the window's size,
// as the frame and background of one open popup-menu window ("#32768"). The picture it
// composes is also what the owner-drawn items of that menu paint behind themselves.
#pragma once

#include <windows.h>

#include "SkinDraw.h"

class TSkinData;

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu() = default;
  // Gives the window its procedure back if it still has the skinner's.
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  void Attach(HWND Window, TSkinData* SkinData, HMENU MenuHandle);
  void Detach();
  bool Attached() const noexcept { return FAttached; }

  HWND Window = nullptr;
  TSkinData* SkinData = nullptr;
  // The last background composed at the window's size; empty until the first paint.
  TSkinImage Background;
  // The menu the window shows; 0 until bound.
  HMENU MenuHandle = nullptr;
  // The offset of the window's item area from its corner: the items' background starts
  // there in Background.
  POINT ItemOrigin{0, 0};

  // The menu the window shows, asked of the window itself.
  HMENU ShownMenu() const;

 private:
  static LRESULT CALLBACK WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id, DWORD_PTR Data);
  LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT CallDefault(UINT Msg, WPARAM WParam, LPARAM LParam) const;
  bool UsableSkin() const;
  bool Compose();
  LRESULT PaintFrame(WPARAM Region);
  LRESULT PaintPrint(WPARAM DC, LPARAM Flags);
  void PaintBorder();

  bool FAttached = false;
};
