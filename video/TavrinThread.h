// A small thread library: a critical section, and a worker thread with a guarded run
// state and an abstract Run.
#pragma once

#include <windows.h>

class TavrinLock {
 public:
  TavrinLock() { InitializeCriticalSection(&lock); }
  ~TavrinLock() { DeleteCriticalSection(&lock); }
  TavrinLock(const TavrinLock&) = delete;
  TavrinLock& operator=(const TavrinLock&) = delete;

  void Enter() { EnterCriticalSection(&lock); }
  void Leave() { LeaveCriticalSection(&lock); }

 protected:
  CRITICAL_SECTION lock;
};

class TavrinThread : public TavrinLock {
 public:
  enum { kRunning = 0, kStopRequested = 1, kStopped = 2 };

  TavrinThread() = default;
  ~TavrinThread();

  // Waits until Run has returned: 1 when it had to wait, 0 when Run was not running.
  // A stop request does not shorten Run.
  int Stop();
  int State();

  virtual void Run() = 0;

 protected:
  // Starts the worker thread. The thread's handle is kept so that the owner can make
  // sure the thread has left the object before it is freed (WaitForThread).
  bool StartThread();
  // Waits until the worker thread has ended, whether or not it ever entered Run.
  void WaitForThread();

 private:
  static unsigned __stdcall ThreadEntry(void* object);

  int state = kStopped;
  HANDLE thread_ = nullptr;
};
