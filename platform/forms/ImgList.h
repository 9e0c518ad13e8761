// A list of equal-sized images with their masks, drawn by index, enabled or in the
// list's own disabled look.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Classes.h"
#include "Graphics.h"

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner, int width = 16, int height = 16);
  ~TImageList() override;

  HIMAGELIST Handle() const noexcept { return handle_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  int Count() const;
  // Adds the image's frames (its width divided by the list's), pixels of `mask` (RGB)
  // transparent; answers the index of the first, -1 when none was added.
  int AddMasked(TBitmap& image, TColor mask);
  // Image `index` at (x, y). Disabled: its shape embossed in the system's highlight and
  // shadow colours.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

 private:
  HIMAGELIST handle_ = nullptr;
  int width_, height_;
};
