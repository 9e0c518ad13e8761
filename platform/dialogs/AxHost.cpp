#include "AxHost.h"

#include <string>

#include "ole/OleEmbedding.h"

namespace {

ole::OleEmbedding* StateOf(HWND hwnd) {
  return reinterpret_cast<ole::OleEmbedding*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The control named by the host's window text ("{...}"), or nothing.
ole::OleEmbedding* Embed(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(std::size_t(n) + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), n + 1);
  CLSID clsid;
  if (FAILED(CLSIDFromString(text.c_str(), &clsid))) return nullptr;
  return new ole::OleEmbedding(hwnd, clsid);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  try {
    switch (msg) {
      case WM_CREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(Embed(hwnd)));
        return 0;
      case WM_SIZE:
        if (ole::OleEmbedding* state = StateOf(hwnd)) state->Resize();
        return 0;
      case WM_ERASEBKGND:
        // An empty host (no control) shows white, the colour of an empty page.
        if (ole::OleEmbedding* state = StateOf(hwnd); !state || !state->Embedded()) {
          RECT r;
          GetClientRect(hwnd, &r);
          FillRect(HDC(w), &r, HBRUSH(GetStockObject(WHITE_BRUSH)));
          return 1;
        }
        break;
      case WM_DESTROY:
        if (ole::OleEmbedding* state = StateOf(hwnd)) {
          SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
          delete state;
        }
        return 0;
      default:
        break;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace

bool RegisterAxHost() {
  const bool oleReady = ole::OleReady();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), AXHOST_CLASS, &wc)) return oleReady;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.lpszClassName = AXHOST_CLASS;
  return RegisterClassExW(&wc) != 0 && oleReady;
}

HWND CreateAxWindow(const wchar_t* clsid, DWORD style, const RECT& r, HWND parent, int id) {
  RegisterAxHost();
  return CreateWindowExW(0, AXHOST_CLASS, clsid, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
}

IDispatch* AxHostDispatch(HWND host) {
  ole::OleEmbedding* state = IsWindow(host) ? StateOf(host) : nullptr;
  IDispatch* dispatch = nullptr;
  if (!state || FAILED(state->Query(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) return nullptr;
  return dispatch;
}
