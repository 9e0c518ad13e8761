#include "ImgList.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height) {
  handle_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4);
  if (!handle_) throw EInvalidGraphicOperation("Out of system resources");
}

TImageList::~TImageList() {
  ImageList_Destroy(handle_);
}

int TImageList::Count() const {
  return ImageList_GetImageCount(handle_);
}

int TImageList::AddMasked(TBitmap& image, TColor mask) {
  if (image.Empty()) return -1;
  // A copy: the list takes a bitmap that no device context holds.
  HBITMAP copy =
      static_cast<HBITMAP>(CopyImage(image.Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!copy) return -1;
  const int index = ImageList_AddMasked(handle_, copy, ColorToRGB(mask));
  DeleteObject(copy);
  return index;
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  HDC dc = canvas->Handle();
  if (enabled) {
    ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  HICON icon = ImageList_GetIcon(handle_, index, ILD_NORMAL);
  if (!icon) return;
  DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width_, height_,
             DST_ICON | DSS_DISABLED);
  DestroyIcon(icon);
}
