#include "Forms.h"

#include <algorithm>

#include "Controls.h"
#include "Menus.h"
#include "Threads.h"

TApplication* Application = nullptr;

namespace {
TMessageBoxHook& MessageBoxHook() {
  static TMessageBoxHook hook;
  return hook;
}
TWideMessageBoxHook& WideMessageBoxHook() {
  static TWideMessageBoxHook hook;
  return hook;
}

// How many different errors may wait for the box that is up: one whose painting failed
// with a new text each time would otherwise never end.
constexpr std::size_t kMaxWaitingExceptions = 16;
}  // namespace

TApplication::TApplication() : TComponent(nullptr), mainThreadId_(GetCurrentThreadId()) {
  if (Application) throw Exception("There is one application object");
  static const bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TApplication";
    return RegisterClassExA(&wc) != 0;
  }();
  // A hidden top-level window: menus tracked for a message-only window do not show.
  handle_ = registered ? CreateWindowExA(0, "TApplication", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                         GetModuleHandleA(nullptr), nullptr)
                       : nullptr;
  if (!handle_) throw Exception("Cannot create the application window");
  Application = this;
  InitSynchronize();
}

TApplication::~TApplication() {
  DoneSynchronize();
  Application = nullptr;
  DestroyWindow(handle_);
}

LRESULT CALLBACK TApplication::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  bool handled = false;
  SafeCall([&] { handled = DispatchMenuMessage(msg, wParam, lParam, result); });
  return handled ? result : DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  Dispatch(msg);
  return true;
}

void TApplication::Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return;
  }
  bool handled = false;
  if (OnPreTranslateMessage) SafeCall([&] { handled = OnPreTranslateMessage(msg); });
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  // One message, waited for when none is there. Under Wine one GetMessage asks the
  // server once for a message that is already there, where a look, a wait and a second
  // look ask it three times and yield the processor besides.
  MSG msg;
  if (GetMessageW(&msg, nullptr, 0, 0) == -1) return;
  Dispatch(msg);
}

void TApplication::HandleException(TObject* Sender) {
  try {
    throw;
  } catch (const std::exception& e) {
    if (OnException)
      OnException(Sender, e);
    else
      ShowException(e);
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const std::exception& e) {
  // One box at a time. An exception raised while a box is up waits for it to close; one
  // whose text this run of boxes already holds is dropped, since the box's own painting
  // may fail the same way each time a box shows.
  std::string text = e.what();
  if (showingException_) {
    // Past that many waiting boxes, more are dropped.
    if (exceptionTexts_.size() < kMaxWaitingExceptions &&
        std::find(exceptionTexts_.begin(), exceptionTexts_.end(), text) == exceptionTexts_.end())
      exceptionTexts_.push_back(std::move(text));
    return;
  }
  showingException_ = true;
  struct Done {
    TApplication& app;
    ~Done() {
      app.showingException_ = false;
      app.exceptionTexts_.clear();
    }
  } done{*this};
  exceptionTexts_.push_back(std::move(text));
  // A copy of each text: the list grows while its box is up.
  for (std::size_t i = 0; i < exceptionTexts_.size(); ++i)
    AppMessageBox(std::string(exceptionTexts_[i]), Title, MB_OK | MB_ICONSTOP);
}

void SetMessageBoxHook(TMessageBoxHook hook) { MessageBoxHook() = std::move(hook); }

int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (MessageBoxHook()) return MessageBoxHook()(text, caption, flags);
  HWND owner = GetActiveWindow();
  return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void SetWideMessageBoxHook(TWideMessageBoxHook hook) {
  WideMessageBoxHook() = std::move(hook);
}

int AppMessageBoxW(const std::wstring& text, const std::string& caption, unsigned flags) {
  if (WideMessageBoxHook()) return WideMessageBoxHook()(text, caption, flags);
  if (MessageBoxHook()) return MessageBoxHook()(WideToText(text), caption, flags);
  return MessageBoxW(GetActiveWindow(), text.c_str(), TextToWide(caption).c_str(), flags);
}

void ShowMessage(const std::string& text) {
  AppMessageBox(text, Application ? Application->Title : std::string(), MB_OK);
}
