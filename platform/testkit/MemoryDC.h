// A 32-bit memory device context whose pixels a test reads back: what is painted into
// it is checked by colour, never by glyph shapes.
#pragma once

#include <windows.h>

#include <cstdint>

namespace testkit {

class MemoryDC {
 public:
  // w x h pixels filled with `background` (0x00BBGGRR).
  MemoryDC(int w, int h, std::uint32_t background = 0x808080) : w_(w), h_(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, w, h};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~MemoryDC() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  HDC dc() const { return dc_; }
  int Width() const { return w_; }
  int Height() const { return h_; }
  // 0x00BBGGRR; 0xFFFFFFFF outside the picture.
  std::uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0xFFFFFFFFu;
    GdiFlush();
    const std::uint32_t v = bits_[y * w_ + x];  // bytes blue, green, red
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
  }

 private:
  int w_, h_;
  HBITMAP bitmap_;
  HDC dc_;
  HGDIOBJ old_;
  std::uint32_t* bits_;
};

}  // namespace testkit
