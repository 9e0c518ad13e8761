// wincapture [TITLE] OUT.png: saves what a top-level window (found by its caption)
// shows, or the whole virtual screen, as a PNG file. For the README and for looking at
// the programs under Wine. With -close the window is then asked to close.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "Capture.h"

int main(int argc, char** argv) {
  const bool close = argc > 1 && std::strcmp(argv[1], "-close") == 0;
  if (close) --argc, ++argv;
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: wincapture [-close] [WINDOW-TITLE] OUT.png\n");
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
  if (close && window) PostMessageA(window, WM_CLOSE, 0, 0);
  return 0;
}
