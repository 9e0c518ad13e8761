// The form skinner's off-screen caption strip: a memory device context holding a bitmap
// that grows to the largest size asked for and is reused from paint to paint.
#pragma once

#include <windows.h>

#include "WinSkinForm.h"

class TWinSkinForm::TCaptionBuffer {
 public:
  TCaptionBuffer() = default;
  TCaptionBuffer(const TCaptionBuffer&) = delete;
  TCaptionBuffer& operator=(const TCaptionBuffer&) = delete;
  ~TCaptionBuffer() { Release(); }

  // A DC whose bitmap holds at least width x height pixels; null when none can be made.
  HDC Prepare(int width, int height) {
    if (dc_ && width <= capacityWidth_ && height <= capacityHeight_) return dc_;
    Release();
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (!dc_ || !bitmap_) {
      Release();
      return nullptr;
    }
    old_ = SelectObject(dc_, bitmap_);
    capacityWidth_ = width;
    capacityHeight_ = height;
    return dc_;
  }

 private:
  void Release() {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    capacityWidth_ = capacityHeight_ = 0;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int capacityWidth_ = 0, capacityHeight_ = 0;
};
