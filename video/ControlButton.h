// A push button painted from bitmaps: a normal and a hover face, a pressed image drawn
// over the face while the button is down, an optional transparency mask and an optional
// background copied from the host dialog's own background picture.
#pragma once

#include "dialogs/Dialogs.h"

class CControlButton : public CPushButton {
 public:
  CControlButton();
  ~CControlButton() override;

  // Resource identifiers of the four images; the images held before are deleted.
  void SetBitmaps(int hover, int normal, int pressed, int spare);
  // The set-up every host dialog does: the background offset is the button's place in
  // the host's client area; background and mask come from the given bitmaps.
  void SetUpInHost(CWindow& host, int background, int mask, int hover, int normal, int pressed, int spare);

  void DrawItem(const DRAWITEMSTRUCT* item) override;

  HBITMAP m_normal = nullptr;
  HBITMAP m_hoverImage = nullptr;
  HBITMAP m_pressed = nullptr;
  HBITMAP m_spare = nullptr;
  HBITMAP m_mask = nullptr;
  HBITMAP m_background = nullptr;
  bool m_hasMask = false;
  bool m_hasBackground = false;
  int m_backgroundX = 0;
  int m_backgroundY = 0;
  bool m_hover = false;
  bool m_tracking = false;

 protected:
  void PreSubclassWindow() override;
  LRESULT OnMouseMove();
  LRESULT OnMouseHover();
  LRESULT OnMouseLeave();
  LRESULT OnEraseBkgnd() { return Default(); }

 private:
  void PaintImage(HDC dc, int width, int height, HBITMAP image);
  static void Replace(HBITMAP& slot, HBITMAP image);
};
