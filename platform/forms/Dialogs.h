// The system's modal choosers, each behind a seam that tests answer: the open-file
// dialog and the folder browser.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "Classes.h"

class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

  // Pairs of description and patterns separated by "|", as the dialog lists them.
  std::string Filter;
  int FilterIndex = 1;
  std::string Title;
  std::string InitialDir;
  // The chosen file's full path once Execute returned true; empty when the path has a
  // character outside the code page (WideFileName then tells which file it was).
  std::string FileName;
  std::wstring WideFileName;

  // Shows the dialog (one file must exist); false when the user cancels.
  bool Execute(HWND owner = nullptr);

 private:
  bool ExecuteSystem(HWND owner);
};

// Answers every open-file dialog instead of the system: returns what Execute returns,
// having set FileName, or WideFileName for a name as the system hands it.
using TOpenDialogHook = std::function<bool(TOpenDialog& dialog)>;
void SetOpenDialogHook(TOpenDialogHook hook);

// The folder the user picks in the shell's folder browser (file-system folders only,
// with an edit box), below `root` when given (else the desktop); empty when cancelled,
// when the choice has no path, or when the browser fails.
std::wstring ShellBrowseForFolder(HWND owner, const std::string& title, const std::string& root);
using TFolderBrowserHook =
    std::function<std::wstring(const std::string& title, const std::string& root)>;
void SetFolderBrowserHook(TFolderBrowserHook hook);

void RegisterDialogs();
