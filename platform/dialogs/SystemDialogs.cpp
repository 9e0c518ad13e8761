#include "SystemDialogs.h"

#include <string>

namespace {
DlgMessageBoxHook& BoxHook() {
  static DlgMessageBoxHook hook;
  return hook;
}
DlgOpenFileHook& OpenHook() {
  static DlgOpenFileHook hook;
  return hook;
}
DlgBrowseFolderHook& BrowseHook() {
  static DlgBrowseFolderHook hook;
  return hook;
}

std::wstring Widen(const char* text, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(std::size_t(n), L'\0');
  MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n);
  wide.resize(std::size_t(n) - 1);
  return wide;
}
}  // namespace

void SetDlgMessageBoxHook(DlgMessageBoxHook hook) { BoxHook() = std::move(hook); }
void SetDlgOpenFileHook(DlgOpenFileHook hook) { OpenHook() = std::move(hook); }
void SetDlgBrowseFolderHook(DlgBrowseFolderHook hook) { BrowseHook() = std::move(hook); }

int DlgMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags) {
  if (BoxHook()) return BoxHook()(owner, text, caption, flags);
  return MessageBoxW(owner, text, caption, flags);
}

int DlgMessageBoxA(HWND owner, const char* text, const char* caption, UINT flags, UINT codePage) {
  const std::wstring t = Widen(text, codePage), c = Widen(caption, codePage);
  return DlgMessageBox(owner, t.c_str(), c.c_str(), flags);
}

BOOL DlgGetOpenFileName(OPENFILENAMEW* ofn) {
  if (OpenHook()) return OpenHook()(ofn);
  return GetOpenFileNameW(ofn);
}

PIDLIST_ABSOLUTE DlgBrowseForFolder(BROWSEINFOW* bi) {
  if (BrowseHook()) return BrowseHook()(bi);
  return SHBrowseForFolderW(bi);
}
