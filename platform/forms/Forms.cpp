#include "Forms.h"

#include "Menus.h"
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
  // One box at a time: an exception raised while the box is up (its own painting may
  // fail the same way) would otherwise open boxes inside boxes without end.
  if (showingException_) return;
  showingException_ = true;
  struct Done {
    bool& showing;
    ~Done() { showing = false; }
  } done{showingException_};
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
