#include "Dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include "Controls.h"
#include "TypInfo.h"

namespace {
TOpenDialogHook& OpenHook() {
  static TOpenDialogHook hook;
  return hook;
}
TFolderBrowserHook& FolderHook() {
  static TFolderBrowserHook hook;
  return hook;
}
}  // namespace

void SetOpenDialogHook(TOpenDialogHook hook) {
  OpenHook() = std::move(hook);
}
void SetFolderBrowserHook(TFolderBrowserHook hook) {
  FolderHook() = std::move(hook);
}

bool TOpenDialog::Execute(HWND owner) {
  WideFileName.clear();
  if (!(OpenHook() ? OpenHook()(*this) : ExecuteSystem(owner))) return false;
  if (WideFileName.empty())
    WideFileName = TextToWide(FileName);
  else
    FileName = WideToTextExact(WideFileName).value_or("");
  return true;
}

bool TOpenDialog::ExecuteSystem(HWND owner) {
  std::wstring filter = TextToWide(Filter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.append(2, L'\0');
  std::wstring file(32768, L'\0');
  const std::wstring initial = TextToWide(InitialDir), title = TextToWide(Title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner ? owner : GetActiveWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = DWORD(FilterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return false;
  WideFileName = file.c_str();
  FilterIndex = int(ofn.nFilterIndex);
  return true;
}

std::wstring ShellBrowseForFolder(HWND owner, const std::string& title, const std::string& root) {
  if (FolderHook()) return FolderHook()(title, root);
  std::wstring result;
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  PIDLIST_ABSOLUTE rootItem = nullptr;
  if (!root.empty()) {
    IShellFolder* desktop = nullptr;
    if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
      std::wstring path = TextToWide(root);
      PIDLIST_RELATIVE item = nullptr;
      if (SUCCEEDED(
              desktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr, &item, nullptr)))
        rootItem = reinterpret_cast<PIDLIST_ABSOLUTE>(item);
      desktop->Release();
    }
  }
  const std::wstring wtitle = TextToWide(title);
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.pidlRoot = rootItem;
  bi.lpszTitle = wtitle.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&bi)) {
    wchar_t path[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListW(chosen, path)) result = path;
    CoTaskMemFree(chosen);
  }
  if (rootItem) CoTaskMemFree(rootItem);
  if (SUCCEEDED(init)) CoUninitialize();
  return result;
}

void RegisterDialogs() {
  auto& open = RegisterComponentClass("TOpenDialog", "TComponent",
                                      [](TComponent* o) { return new TOpenDialog(o); });
  open.Property("Filter", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<TOpenDialog*>(c)->Filter = ReadString(v, ctx);
  });
  open.Property("Title", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<TOpenDialog*>(c)->Title = ReadString(v, ctx);
  });
  open.Property("FilterIndex", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TOpenDialog*>(c)->FilterIndex = int(ReadInteger(v));
  });
}
