// Screenshots of what a user sees, saved as PNG files.
#pragma once

#include <windows.h>

#include <string>

namespace testkit {

// Saves what the window shows (or the whole screen, for nullptr) as a PNG file. The
// window is asked to print itself, which works while it is covered; the screen is
// copied when it cannot.
bool CaptureToPng(HWND window, const std::string& path);

}  // namespace testkit
