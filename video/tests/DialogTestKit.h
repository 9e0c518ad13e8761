// What the tests of video's dialogs share: the application's preparation, answered
// system dialogs, pixels of memory device contexts.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <string>
#include <vector>

#include "dialogs/Dialogs.h"
#include "dialogs/SystemDialogs.h"

namespace vt {

// A 32-bit memory device context of a given size, filled with one colour.
class MemDC {
 public:
  MemDC(int w, int h, COLORREF fill = RGB(255, 0, 255)) : w_(w), h_(h) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bmp_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bmp_);
    HBRUSH b = CreateSolidBrush(fill);
    RECT r{0, 0, w, h};
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  ~MemDC() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  MemDC(const MemDC&) = delete;
  MemDC& operator=(const MemDC&) = delete;
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const {
    GdiFlush();
    return GetPixel(dc_, x, y);
  }
  RECT rect() const { return {0, 0, w_, h_}; }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

// A pixel of a bitmap resource of the program.
inline COLORREF ResourcePixel(int id, int x, int y) {
  HBITMAP b = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  if (!b) return CLR_INVALID;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  const COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(b);
  return c;
}

inline SIZE ResourceSize(int id) {
  HBITMAP b = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  BITMAP bm{};
  if (b) GetObjectW(b, sizeof bm, &bm);
  DeleteObject(b);
  return {bm.bmWidth, bm.bmHeight};
}

inline bool Near(COLORREF a, COLORREF b, int tolerance = 8) {
  return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
         std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
         std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
}

// The system dialogs as a user answers them: message boxes are recorded and answered
// OK; open-file dialogs take the next queued path (an empty queue cancels); the folder
// browser returns whatever `browse` says.
struct Answers {
  struct Box {
    std::wstring text, caption;
    UINT flags;
  };
  std::vector<Box> boxes;
  std::deque<std::wstring> files;
  std::vector<OPENFILENAMEW> openCalls;
  std::vector<std::wstring> openFilters;
  std::function<PIDLIST_ABSOLUTE(BROWSEINFOW*)> browse;

  Answers() {
    SetDlgMessageBoxHook([this](HWND, const wchar_t* t, const wchar_t* c, UINT f) {
      boxes.push_back({t, c, f});
      return IDOK;
    });
    SetDlgOpenFileHook([this](OPENFILENAMEW* ofn) -> BOOL {
      openCalls.push_back(*ofn);
      std::wstring filter;
      for (const wchar_t* p = ofn->lpstrFilter; p && *p; p += wcslen(p) + 1) filter += std::wstring(p) + L"|";
      openFilters.push_back(filter);
      if (files.empty()) return FALSE;
      lstrcpynW(ofn->lpstrFile, files.front().c_str(), int(ofn->nMaxFile));
      files.pop_front();
      return TRUE;
    });
    SetDlgBrowseFolderHook([this](BROWSEINFOW* bi) { return browse ? browse(bi) : nullptr; });
  }
  ~Answers() {
    SetDlgMessageBoxHook(nullptr);
    SetDlgOpenFileHook(nullptr);
    SetDlgBrowseFolderHook(nullptr);
  }
};

// The application's preparation, once per test program.
inline void PrepareApplication() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);
    CApplication::EnableControlContainer();
    return true;
  }();
  (void)done;
}

inline std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace vt
