// wincapture [TITLE] OUT.png: saves what a top-level window (found by its caption)
// shows, or the whole virtual screen, as a PNG file. For the README and for looking at
// the programs under Wine.
#include <windows.h>

#include <cstdio>

#include "Capture.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: wincapture [WINDOW-TITLE] OUT.png\n");
    return 2;
  }
  HWND window = nullptr;
  if (argc == 3) {
    // The program may still be starting: wait up to ten seconds for its window.
    for (int tries = 0; tries < 100 && !window; ++tries) {
      window = FindWindowA(nullptr, argv[1]);
      if (!window) Sleep(100);
    }
    if (!window) {
      std::fprintf(stderr, "wincapture: no window titled \"%s\"\n", argv[1]);
      return 1;
    }
  }
  if (!testkit::CaptureToPng(window, argv[argc - 1])) {
    std::fprintf(stderr, "wincapture: cannot save %s\n", argv[argc - 1]);
    return 1;
  }
  return 0;
}
