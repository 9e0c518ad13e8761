// The banner: the system's web browser control, hosted by the dialog library's control
// container. Only navigation is used.
#pragma once

#include <string>

#include "dialogs/Dialogs.h"

class CExplorer1 : public CWindow {
 public:
  static const wchar_t kClassId[];

  // Creates the control in `parent`; the host window exists even when the control
  // itself cannot be created.
  bool Create(const wchar_t* windowName, DWORD style, const RECT& rect, HWND parent, int id);
  // Loads `url`; false when there is no control to ask or it refused.
  bool Navigate2(const std::wstring& url);
  // Whether a browser control is hosted at all.
  bool HasControl() const;
  // Creation at run time by name, as the library's dynamic creation does.
  static CWindow* CreateObject() { return new CExplorer1; }
};
