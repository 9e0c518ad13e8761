// Zorvel's main window for the benchmarks, as the program starts it: the skin engine up,
// the form shown and brought to the front, where the manager skins it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "BenchKit.h"
#include "Main.h"
#include "SkinDrawWin.h"
#include "SkinManage.h"
#include "WinSkinForm.h"

namespace bench {

// The folder of this program, with "\" at the end.
inline std::string ExeDir() {
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

inline bool Skinned(HWND window) { return SendMessageA(window, WM_SKINQUERY, 0, 0) == 1; }

// Runs `measure` on the shown main form (skinned unless the manager failed, which the
// figures then say), message boxes answered OK, between the skin engine's start and end.
template <class Measure>
void WithMainForm(Measure measure) {
  InitSkinData();
  InitSkinDraw();
  InitSkinManage();
  {
    TApplication application;
    application.Title = "bench";
    SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return IDOK; });
    SafeCall([&] {
      auto* form = new TFrmMain(&application);  // the application frees it
      form->Show();
      SetForegroundWindow(form->Handle());
      PumpUntil([form] { return Skinned(form->Handle()); }, 2000);
      measure(*form);
      ShowWindow(form->Handle(), SW_HIDE);
    });
  }
  DoneSkinManage();
  DoneSkinDraw();
  DoneSkinData();
}

// Adds each file to the list as a user picks it; the duration probe is skipped (the
// program folder is an empty one while adding) and the form's folder put back after.
inline void AddFiles(TFrmMain& form, const std::vector<std::string>& files) {
  const std::string programDir = form.AppDir();
  const std::string empty = ExeDir() + "bench.noprobe\\";
  CreateDirectoryA(empty.c_str(), nullptr);
  form.SetAppDir(empty);
  for (const std::string& file : files) {
    SetOpenDialogHook([file](TOpenDialog& d) {
      d.FileName = file;
      return true;
    });
    form.btnAdd->Click();
  }
  SetOpenDialogHook({});
  form.SetAppDir(programDir);
  RemoveDirectoryA(empty.c_str());
}

}  // namespace bench
