#include "Threads.h"

#include <process.h>

#include <list>
#include <memory>
#include <mutex>

#include "Forms.h"
#include "UtilWindow.h"

namespace {
constexpr UINT kWakeMessage = WM_APP + 0x51;

// Work posted by other threads. The UI thread moves it in batches to `running`, from
// which it takes one item at a time, so that a handler that runs a nested message loop
// (a message box) never lets later items overtake earlier ones.
struct SyncQueue {
  std::mutex lock;
  // Lists, so that a prepared hand-over joins them without allocating.
  std::list<std::function<void()>> posted;
  bool wakePending = false;
  std::list<std::function<void()>> running;
  std::unique_ptr<TUtilWindow> window;
};

SyncQueue& Sync() {
  static SyncQueue queue;
  return queue;
}
}  // namespace

void InitSynchronize() {
  Sync().window = std::make_unique<TUtilWindow>(
      [](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != kWakeMessage) return false;
        CheckSynchronize();
        result = 0;
        return true;
      });
}

void DoneSynchronize() {
  CheckSynchronize();
  Sync().window.reset();
}

void CheckSynchronize() {
  SyncQueue& q = Sync();
  {
    std::lock_guard<std::mutex> guard(q.lock);
    q.wakePending = false;
    q.running.splice(q.running.end(), q.posted);
  }
  while (!q.running.empty()) {
    std::function<void()> proc = std::move(q.running.front());
    q.running.pop_front();
    SafeCall(proc);
  }
}

namespace {
void Post(std::list<std::function<void()>>& node) noexcept {
  if (node.empty()) return;
  SyncQueue& q = Sync();
  bool wake;
  HWND target = q.window ? q.window->Handle() : nullptr;
  {
    std::lock_guard<std::mutex> guard(q.lock);
    q.posted.splice(q.posted.end(), node);
    wake = !q.wakePending;
    q.wakePending = true;
  }
  if (wake && target) PostMessageW(target, kWakeMessage, 0, 0);
}
}  // namespace

void TThread::Queue(std::function<void()> proc) {
  std::list<std::function<void()>> node;
  node.push_back(std::move(proc));
  Post(node);
}

void TThread::Queue(TPrepared& proc) noexcept {
  Post(proc.node_);
}

TThread::~TThread() {
  Terminate();
  WaitFor();
  if (handle_) CloseHandle(handle_);
}

void TThread::Start() {
  if (handle_) return;
  handle_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &ThreadProc, this, 0, nullptr));
  if (!handle_) throw Exception("Cannot create a thread");
}

void TThread::WaitFor() {
  if (handle_) WaitForSingleObject(handle_, INFINITE);
}

unsigned __stdcall TThread::ThreadProc(void* param) {
  auto* self = static_cast<TThread*>(param);
  try {
    self->Execute();
  } catch (const std::exception& e) {
    self->fatalMessage_ = e.what();
  } catch (...) {
    self->fatalMessage_ = "Unknown exception";
  }
  self->finished_ = true;
  return 0;
}
