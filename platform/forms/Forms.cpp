#include "Forms.h"

#include "Threads.h"

TApplication* Application = nullptr;

namespace {
TMessageBoxHook& MessageBoxHook() {
  static TMessageBoxHook hook;
  return hook;
}
}  // namespace

TApplication::TApplication() : TComponent(nullptr), mainThreadId_(GetCurrentThreadId()) {
  if (Application) throw Exception("There is one application object");
  Application = this;
  InitSynchronize();
}

TApplication::~TApplication() {
  DoneSynchronize();
  Application = nullptr;
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
  } else {
    bool handled = false;
    if (OnPreTranslateMessage) SafeCall([&] { handled = OnPreTranslateMessage(msg); });
    if (!handled) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) WaitMessage();
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
  AppMessageBox(e.what(), Title, MB_OK | MB_ICONSTOP);
}

void SetMessageBoxHook(TMessageBoxHook hook) { MessageBoxHook() = std::move(hook); }

int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (MessageBoxHook()) return MessageBoxHook()(text, caption, flags);
  HWND owner = GetActiveWindow();
  return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void ShowMessage(const std::string& text) {
  AppMessageBox(text, Application ? Application->Title : std::string(), MB_OK);
}
