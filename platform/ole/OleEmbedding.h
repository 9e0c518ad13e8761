// An ActiveX control embedded in place in a window: the container side that both of our
// frameworks' hosts use. Creation fails soft: a control that is not installed (or whose
// engine is switched off) leaves the window empty.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace ole {

// Initializes OLE on the calling thread once; false when that failed.
bool OleReady();

class OleEmbedding {
 public:
  // Creates the control `clsid` inside `window`, filling its client area.
  OleEmbedding(HWND window, const CLSID& clsid);
  ~OleEmbedding();
  OleEmbedding(const OleEmbedding&) = delete;
  OleEmbedding& operator=(const OleEmbedding&) = delete;

  bool Embedded() const noexcept { return object_ != nullptr; }
  // Fits the control to the window's client area again.
  void Resize();
  // An interface of the control (AddRef'ed into *out); E_NOINTERFACE when none is hosted.
  HRESULT Query(REFIID iid, void** out) const;

 private:
  class Site;
  void Close();

  HWND window_;
  Site* site_ = nullptr;
  IOleObject* object_ = nullptr;
};

}  // namespace ole
