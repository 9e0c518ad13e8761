// Zorvel's start-up. Until the main form arrives this is the runner's demo: a window
// that lists what "ffmpeg.exe -version" (beside the program) prints, line by line.
#include <windows.h>

#include "DosCommand.h"
#include "forms/Forms.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) {
    MoveWindow(GetWindow(hwnd, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  TApplication application;
  application.Initialize();
  application.Title = "Zorvel";

  WNDCLASSA wc{};
  wc.lpfnWndProc = DemoProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "ZorvelDemo";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("ZorvelDemo", "Zorvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 400, nullptr, nullptr, instance, nullptr);
  HWND list = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                            0, 0, 0, 0, window, nullptr, instance, nullptr);
  ShowWindow(window, show);

  // Owned by the application, which frees it (stopping any run) when the program ends.
  auto& runner = *new TDosCommand(&application);
  runner.OnNewLine = [list](TObject*, std::string line, TOutputType type) {
    if (type == otEntireLine) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line.c_str()));
  };
  runner.CommandLine = "\"" + ProgramFolder() + "ffmpeg.exe\" -version";
  SafeCall([&] { runner.Start(); });

  while (!application.Terminated()) application.HandleMessage();
  return 0;
}
