#include "Capture.h"

#include <fstream>
#include <vector>

#include "Png.h"

namespace testkit {

bool CaptureToPng(HWND window, const std::string& path) {
  RECT r;
  if (window ? !GetWindowRect(window, &r) : !GetWindowRect(GetDesktopWindow(), &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, dib);
  // What the screen shows is what the user sees; a hidden window can only print itself
  // (under Wine, printing leaves out much of what child controls draw).
  const bool onScreen = !window || IsWindowVisible(window);
  bool ok = onScreen ? BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != 0
                     : PrintWindow(window, mem, 0) != 0;
  GdiFlush();

  std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
  const auto* px = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < std::size_t(w) * h; ++i) {
    rgb[i * 3 + 0] = px[i * 4 + 2];
    rgb[i * 3 + 1] = px[i * 4 + 1];
    rgb[i * 3 + 2] = px[i * 4 + 0];
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  ReleaseDC(nullptr, screen);
  if (!ok) return false;

  const auto png = EncodePng(w, h, rgb.data(), std::size_t(w) * 3);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  return bool(file);
}

}  // namespace testkit
