// The scroll-bar, header and face-colour skinner tests' skin (a colour per frame) and helpers.
#pragma once

#include <memory>
#include <ostream>

#include "ControlSkin.h"
#include "SkinScrollBars.h"

#include <commctrl.h>  // after windows.h

// Window rectangles compared and shown by the tests.
inline bool operator==(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace ctlskin {

// Frame k (from 1) of the Scrollbar strip (`shade`: another skin's), tracks, thumbs, Headerbar.
constexpr TSkinColour StripColour(int k, int shade = 0) {
  return (TSkinColour(k) * 10) << 16 | TSkinColour(0x20 + shade);
}
constexpr TSkinColour TrackColour(int k) {
  return (TSkinColour(k) * 40) << 8 | 0x01;
}
constexpr TSkinColour ThumbColour(int k) {
  return TSkinColour(k) * 50 | 0x010100;
}
constexpr TSkinColour HeaderColour(int k) {
  return 0x00600002 | (TSkinColour(k) * 40) << 8;
}
constexpr int kArrow = 17;  // the system's arrow size under Wine

class ScrollTest : public ControlTest {
 protected:
  void SetUp() override;
  void LoadScrollSkin(const testskin::Overrides& overrides = {}, int shade = 0);

  // A scroll-bar skinner attached to its control as the dispatch does (mode 1: never a border).
  template <class S>
  S& SkinScroll(TWinControl& control, int mode = 0, TWinSkinForm* form = nullptr) {
    if (!form) form = form_.get();
    auto* s = new S(&control);
    s->FMode = mode;
    s->AttachScrollControl(&control, data_.get(), form->FControlCanvas.get(), form);
    return *s;
  }
  // What the screen shows where the window lies, once the posted messages and paints are done.
  static std::unique_ptr<testkit::MemoryDC> Capture(HWND window);
  static void Pump();
  // The system's bar of a window in the coordinates of its parent's client area.
  static RECT BarInParent(HWND window, LONG object);
  static RECT WindowInParent(HWND window);
  static HWND HeaderOf(TWinControl& list) {
    return reinterpret_cast<HWND>(SendMessageA(list.Handle(), LVM_GETHEADER, 0, 0));
  }
};

}  // namespace ctlskin
