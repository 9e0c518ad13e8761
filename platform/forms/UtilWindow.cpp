#include "UtilWindow.h"

#include "Forms.h"

namespace {
const wchar_t kClassName[] = L"TUtilWindow";

void RegisterUtilClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}
}  // namespace

TUtilWindow::TUtilWindow(Handler handler) : handler_(std::move(handler)) {
  RegisterUtilClass(&WndProc);
  handle_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!handle_) throw Exception("Cannot create a utility window");
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
  if (handle_) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

LRESULT CALLBACK TUtilWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && self->handler_) {
    LRESULT result = 0;
    bool handled = false;
    SafeCall([&] { handled = self->handler_(msg, wParam, lParam, result); });
    if (handled) return result;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}
