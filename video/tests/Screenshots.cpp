// video_screenshots OUT_DIR: shows the main dialog (with two files added as a user adds
// them) and the About dialog under Wine and saves what the screen shows of each as
// video-main.png and video-about.png. For the README; not a test.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Dg3.h"
#include "Png.h"
#include "dialogs/SystemDialogs.h"
#include "resource.h"
#include "videoDlg.h"

namespace {
void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

bool SaveScreen(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
  const auto* px = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < std::size_t(w) * h; ++i) {
    rgb[i * 3 + 0] = px[i * 4 + 2];
    rgb[i * 3 + 1] = px[i * 4 + 1];
    rgb[i * 3 + 2] = px[i * 4 + 0];
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  const auto png = testkit::EncodePng(w, h, rgb.data(), std::size_t(w) * 3);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  return bool(file);
}
}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? std::string(argv[1]) + "\\" : "";
  INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
  InitCommonControlsEx(&icc);
  CApplication::EnableControlContainer();

  std::vector<std::wstring> files = {L"D:\\视频\\旅行记录.avi", L"D:\\视频\\毕业晚会.rmvb"};
  SetDlgOpenFileHook([&](OPENFILENAMEW* ofn) -> BOOL {
    if (files.empty()) return FALSE;
    lstrcpynW(ofn->lpstrFile, files.front().c_str(), int(ofn->nMaxFile));
    files.erase(files.begin());
    return TRUE;
  });
  CvideoDlg dlg;
  if (!dlg.Create(nullptr, true)) return 1;
  SetWindowPos(dlg.m_hWnd, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(dlg.GetDlgItem(IDC_ADD), BM_CLICK, 0, 0);
  SendMessageW(dlg.GetDlgItem(IDC_ADD), BM_CLICK, 0, 0);
  Pump(1500);
  bool ok = SaveScreen(dlg.m_hWnd, out + "video-main.png");

  Dg3 about(dlg.m_hWnd);
  if (!about.Create(dlg.m_hWnd, true)) return 1;
  SetWindowPos(about.m_hWnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Pump(1000);
  ok = SaveScreen(about.m_hWnd, out + "video-about.png") && ok;
  std::printf("%s\n", ok ? "saved" : "failed");
  return ok ? 0 : 1;
}
