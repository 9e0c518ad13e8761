// Screenshots of what a user sees, saved as PNG files.
#pragma once

#include <windows.h>

#include <string>

namespace testkit {

// Saves what the window shows (or the whole screen, for nullptr) as a PNG file: the
// screen under a visible window, what a hidden window prints of itself otherwise.
bool CaptureToPng(HWND window, const std::string& path);

}  // namespace testkit
