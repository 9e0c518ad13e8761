// The modal system dialogs of the programs: message boxes, the open-file dialog and
// the folder browser. Everything goes through these functions, so that tests can
// answer instead of a user; without a hook the real dialog is shown.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <functional>

using DlgMessageBoxHook = std::function<int(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags)>;
using DlgOpenFileHook = std::function<BOOL(OPENFILENAMEW* ofn)>;
using DlgBrowseFolderHook = std::function<PIDLIST_ABSOLUTE(BROWSEINFOW* bi)>;

void SetDlgMessageBoxHook(DlgMessageBoxHook hook);
void SetDlgOpenFileHook(DlgOpenFileHook hook);
void SetDlgBrowseFolderHook(DlgBrowseFolderHook hook);

int DlgMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags);
// An 8-bit message box: the texts are converted from `codePage` and then shown (or
// handed to the hook) like any other.
int DlgMessageBoxA(HWND owner, const char* text, const char* caption, UINT flags, UINT codePage);
BOOL DlgGetOpenFileName(OPENFILENAMEW* ofn);
PIDLIST_ABSOLUTE DlgBrowseForFolder(BROWSEINFOW* bi);
