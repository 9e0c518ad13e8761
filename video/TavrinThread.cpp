#include "TavrinThread.h"

#include <process.h>

TavrinThread::~TavrinThread() {
  Stop();
  WaitForThread();
}

int TavrinThread::State() {
  Enter();
  const int s = state;
  Leave();
  return s;
}

int TavrinThread::Stop() {
  bool wait = false;
  Enter();
  if (state == kRunning) {
    state = kStopRequested;
    wait = true;
  }
  Leave();
  if (!wait) return 0;
  // Marking itself stopped is the thread's last act: waiting for its end waits for that,
  // without polling.
  WaitForSingleObject(thread_, INFINITE);
  return 1;
}

bool TavrinThread::StartThread() {
  const uintptr_t h = _beginthreadex(nullptr, 0, ThreadEntry, this, 0, nullptr);
  thread_ = reinterpret_cast<HANDLE>(h);
  return thread_ != nullptr;
}

void TavrinThread::WaitForThread() {
  if (!thread_) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

unsigned __stdcall TavrinThread::ThreadEntry(void* object) {
  auto* self = static_cast<TavrinThread*>(object);
  self->Enter();
  self->state = kRunning;
  self->Leave();
  self->Run();
  self->Enter();
  self->state = kStopped;
  self->Leave();
  return 0;
}
