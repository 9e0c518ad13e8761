// A hidden, message-only window that hands its messages to a handler: the framework's
// timers and the thread hand-over live on such windows.
#pragma once

#include <windows.h>

#include <functional>

class TUtilWindow {
 public:
  // Returns true when it handled the message and set the result.
  using Handler = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  // The window belongs to the calling thread: its messages arrive there.
  explicit TUtilWindow(Handler handler);
  ~TUtilWindow();
  TUtilWindow(const TUtilWindow&) = delete;
  TUtilWindow& operator=(const TUtilWindow&) = delete;

  HWND Handle() const noexcept { return handle_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  HWND handle_ = nullptr;
};
