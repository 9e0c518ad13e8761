// The application object: the UI thread's message loop, the exception display, and
// the seam through which every modal message box passes.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "Classes.h"

class TApplication : public TComponent {
 public:
  // There is one application; it belongs to the UI thread that creates it.
  TApplication();
  ~TApplication() override;

  std::string Title;

  void Initialize() {}
  // Handles every message that is waiting, then returns.
  void ProcessMessages();
  // Handles one message, sleeping until one arrives; never spins.
  void HandleMessage();
  void Terminate() noexcept { terminated_ = true; }
  bool Terminated() const noexcept { return terminated_; }

  // To be called inside a catch block: shows the exception being handled.
  void HandleException(TObject* Sender);
  void ShowException(const std::exception& e);

  DWORD MainThreadId() const noexcept { return mainThreadId_; }
  // The application's hidden window (class "TApplication"): the owner of popup menus,
  // which hands their commands and owner-drawn items to the menu items.
  HWND Handle() const noexcept { return handle_; }

  // Sees every message before it is dispatched and returns true when it handled it
  // (forms set it for the keyboard moves between their controls).
  std::function<bool(MSG& msg)> OnPreTranslateMessage;

  // When set, exceptions go here instead of a message box.
  std::function<void(TObject* Sender, const std::exception& e)> OnException;

 private:
  bool ProcessMessage();
  void Dispatch(MSG& msg);

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  bool terminated_ = false;
  bool showingException_ = false;
  // The texts of the boxes shown and waiting while a box is up, in order.
  std::vector<std::string> exceptionTexts_;
  DWORD mainThreadId_;
  HWND handle_ = nullptr;
};

extern TApplication* Application;

// Every modal message box of the programs goes through here, so that tests can answer.
using TMessageBoxHook =
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;
void SetMessageBoxHook(TMessageBoxHook hook);
int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags);
// A box whose text may hold what the code page cannot (a file's own name). Without a hook
// of its own it goes to the 8-bit hook, so that an answered box stays answered.
using TWideMessageBoxHook =
    std::function<int(const std::wstring& text, const std::string& caption, unsigned flags)>;
void SetWideMessageBoxHook(TWideMessageBoxHook hook);
int AppMessageBoxW(const std::wstring& text, const std::string& caption, unsigned flags);
void ShowMessage(const std::string& text);

// Every callback from the system runs through here: no exception crosses into it.
template <class F>
void SafeCall(F&& f) noexcept {
  try {
    f();
  } catch (...) {
    if (Application) Application->HandleException(nullptr);
  }
}
