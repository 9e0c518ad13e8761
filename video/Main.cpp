// The program's entry: the one application object runs.
#include <windows.h>

#include "videoApp.h"

CvideoApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return theApp.Run(instance); }
