// The library's control container: a window class that hosts an ActiveX control,
// created by the class identifier in its window text. A dialog resource names it as
// the class of a control item; code creates it with CreateAxWindow. When the control
// cannot be created (not installed, or its engine switched off) the host window stays
// empty and the dialog works on.
#pragma once

#include <windows.h>
#include <oaidl.h>

// The window class name of the host, for dialog resources.
#define AXHOST_CLASS L"DlgAxHost"

// Registers the host window class and initializes OLE on this thread; idempotent.
bool RegisterAxHost();

// Creates a host window of the control `clsid` ("{...}" text).
HWND CreateAxWindow(const wchar_t* clsid, DWORD style, const RECT& rect, HWND parent, int id);

// The hosted control's automation interface (AddRef'ed), or nullptr when the host
// holds no control.
IDispatch* AxHostDispatch(HWND host);
