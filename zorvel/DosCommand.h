// The console-process runner: runs one console program as a hidden child, cuts what it
// writes into lines on a worker thread and hands every line and the end of the run to
// the UI thread, in order.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "forms/Classes.h"
#include "forms/ExtCtrls.h"
#include "forms/Threads.h"

enum TOutputType {
  otEntireLine = 0,       // a complete line
  otBeginningOfLine = 1,  // the unfinished beginning of a line, to be replaced later
};

using TNewLineEvent =
    std::function<void(TObject* Sender, std::string NewLine, TOutputType OutputType)>;

// Misuse of the runner.
class EDosCommand : public Exception {
 public:
  using Exception::Exception;
};

// The child cannot be started.
class TCreateProcessError : public Exception {
 public:
  using Exception::Exception;
};

// Counts the seconds of a run on the UI thread; the worker reads the counters and
// resets the output clock, so they are atomic.
class TProcessTimer : public TTimer {
 public:
  explicit TProcessTimer(TComponent* owner);

  void Restart();
  void ResetOutputClock() noexcept { SecondsSinceOutput = 0; }
  void StopClock() { SetEnabled(false); }
  // UI thread: an event that every tick sets (none: no event), so that a worker with
  // time limits wakes when the counters move instead of watching them.
  void SetTickEvent(HANDLE event) noexcept { tickEvent_ = event; }
  HANDLE TickEvent() const noexcept { return tickEvent_; }

  std::atomic<int> SecondsSinceStart{0};
  std::atomic<int> SecondsSinceOutput{0};

 private:
  void Tick(TObject* Sender);

  HANDLE tickEvent_ = nullptr;
};

class TDosCommand;

// One run's worker. It holds a snapshot of the runner taken before it starts, so that
// changing the runner during a run changes nothing of that run.
class TDosThread : public TThread {
 public:
  explicit TDosThread(TDosCommand* runner);
  ~TDosThread() override;

  // Asks the worker to end the run (ending the child) and wakes it.
  void Abort() noexcept;
  // UI thread: delivers everything the worker has handed over so far.
  void Deliver();

  // Tests only: when not 0, the worker of a run started now fails, as when memory runs
  // out, at the read that brings the bytes it has read to this many.
  static inline std::size_t FailAfterBytesForTests = 0;
  // Tests only: called on the worker as that failure comes (to fail what follows too).
  static inline void (*OnFailureForTests)() = nullptr;

 protected:
  void Execute() override { ReadLoop(); }

 private:
  struct Channel;  // the run's hand-over to the UI thread

  void ReadLoop();
  void OutputLoop(HANDLE process, HANDLE output);
  bool TimeIsUp() const;
  void SplitRead(const char* data, std::size_t size);
  // Ends the run with nothing to allocate: what it needs was made before the child.
  void Finish() noexcept;

  std::shared_ptr<Channel> channel_;
  std::string commandLine_;
  TProcessTimer* clock_;
  bool inputToOutput_;
  int maxTimeAfterBeginning_;
  int maxTimeAfterLastOutput_;
  DWORD priorityClass_;
  std::size_t failAfterBytes_;
  std::exception_ptr outOfMemory_;
  TThread::TPrepared endWake_;
  HANDLE stopEvent_;  // set by Abort
  HANDLE tickEvent_;  // set by the clock's ticks; none without time limits

  // Worker-side state of the run.
  std::size_t bytesRead_ = 0;
  std::optional<unsigned long> exitCode_;
};

class TDosCommand : public TComponent {
 public:
  explicit TDosCommand(TComponent* owner);
  ~TDosCommand() override;

  // Raises EDosCommand when CommandLine is empty; otherwise clears Lines and starts a
  // run, returning at once. A run still present is stopped first.
  void Start();
  // Ends the current run (ending the child when it still runs) and waits for it; every
  // event of the run has been delivered when it returns.
  void Stop();
  // True while the current run goes on; false before the first run and after Stop.
  bool IsRunning() const;
  // The child's exit code once a run has ended by the child's own exit; empty when it
  // could not be started, when a time limit ended the run, when Stop ended the child,
  // and while a run goes on.
  std::optional<unsigned long> ExitCode() const { return exitCode_; }

  std::string CommandLine;
  // A run may bring millions of lines: they are kept in blocks, not one string each.
  TLineList Lines;
  bool InputToOutput = false;
  TNewLineEvent OnNewLine;
  TNotifyEvent OnTerminated;
  int MaxTimeAfterBeginning = 0;
  int MaxTimeAfterLastOutput = 0;
  DWORD PriorityClass = NORMAL_PRIORITY_CLASS;

 private:
  friend class TDosThread;

  TDosThread* thread_ = nullptr;
  TProcessTimer* clock_ = nullptr;
  std::optional<unsigned long> exitCode_;
};
