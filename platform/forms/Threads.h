// The framework's thread class and the hand-over of work to the UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <list>
#include <string>

#include "Classes.h"

class TThread : public TObject {
 public:
  // Created suspended: Start runs Execute on a new thread. A derived class whose
  // Execute uses its own members stops the thread in its own destructor.
  TThread() = default;
  ~TThread() override;

  void Start();
  // Asks Execute to end; Execute watches Terminated().
  void Terminate() noexcept { terminated_ = true; }
  bool Terminated() const noexcept { return terminated_; }
  bool Finished() const noexcept { return finished_; }
  // Returns once Execute has returned (at once when the thread never started).
  void WaitFor();
  HANDLE Handle() const noexcept { return handle_; }
  // The message of an exception that escaped Execute, empty when none did.
  const std::string& FatalMessage() const noexcept { return fatalMessage_; }

  // Runs proc on the UI thread, after everything queued before it, from any thread.
  // Never waits for the UI thread.
  static void Queue(std::function<void()> proc);

  // A hand-over made in advance, so that queuing it allocates nothing: it goes even when
  // memory has run out. It is queued at most once; a later Queue does nothing.
  class TPrepared {
   public:
    explicit TPrepared(std::function<void()> proc) { node_.push_back(std::move(proc)); }

   private:
    friend class TThread;
    std::list<std::function<void()>> node_;
  };
  static void Queue(TPrepared& proc) noexcept;

 protected:
  virtual void Execute() = 0;

 private:
  static unsigned __stdcall ThreadProc(void* self);

  HANDLE handle_ = nullptr;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::string fatalMessage_;
};

// UI thread: runs everything queued so far, in order. The application calls it when
// woken; code that must see all hand-overs of a finished thread calls it directly.
void CheckSynchronize();

// The application object sets the hand-over up on its UI thread and takes it down.
void InitSynchronize();
void DoneSynchronize();
