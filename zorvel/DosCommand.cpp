#include "DosCommand.h"

#include <deque>
#include <mutex>
#include <vector>

#include "forms/Forms.h"

namespace {
bool IsWindowsNT() {
  // Every system this program runs on today is NT-based; the check keeps the old
  // systems' path (no security descriptor) honest.
  return (GetVersion() & 0x80000000u) == 0;
}

void CloseIf(HANDLE& h) {
  if (h) CloseHandle(h);
  h = nullptr;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// TProcessTimer

TProcessTimer::TProcessTimer(TComponent* owner) : TTimer(owner) {
  SetEnabled(false);
  OnTimer = [this](TObject* sender) { Tick(sender); };
}

void TProcessTimer::Restart() {
  SetInterval(1000);
  SecondsSinceStart = 0;
  SecondsSinceOutput = 0;
  // Re-arm even when still enabled, so that the first second is a whole one.
  SetEnabled(false);
  SetEnabled(true);
}

void TProcessTimer::Tick(TObject*) {
  ++SecondsSinceStart;
  ++SecondsSinceOutput;
}

// ---------------------------------------------------------------------------------------
// TDosThread

// One run's hand-over. The worker appends what it produces to `incoming` and wakes the
// UI thread only when `incoming` was empty; the UI thread moves it to `ready` and
// delivers from there one item at a time. A handler that pumps messages or stops the
// run re-enters Deliver, which goes on from the same `ready`, so nothing is delivered
// twice, out of order or after the end of the run.
struct TDosThread::Channel : std::enable_shared_from_this<Channel> {
  enum Kind { kLine, kBeginning, kEnd };
  struct Item {
    Kind kind;
    std::string text;  // the line, or the start error for kEnd
    std::optional<unsigned long> exitCode;
  };

  TDosCommand* runner;
  TNewLineEvent onNewLine;
  TNotifyEvent onTerminated;
  TProcessTimer* clock;

  std::vector<Item> outgoing;  // worker thread only: what the current read produced
  std::mutex lock;
  std::vector<Item> incoming;  // guarded by lock
  bool wakeQueued = false;     // guarded by lock
  std::deque<Item> ready;      // UI thread only
  bool ended = false;          // UI thread only

  // Worker thread: hands `outgoing` over.
  void Post() {
    if (outgoing.empty()) return;
    bool wake;
    {
      std::lock_guard<std::mutex> guard(lock);
      if (incoming.empty()) {
        incoming.swap(outgoing);
      } else {
        for (Item& item : outgoing) incoming.push_back(std::move(item));
        outgoing.clear();
      }
      wake = !wakeQueued;
      wakeQueued = true;
    }
    if (wake) TThread::Queue([self = shared_from_this()] { self->Deliver(); });
  }

  void Deliver() {
    for (;;) {
      if (ready.empty()) {
        std::lock_guard<std::mutex> guard(lock);
        wakeQueued = false;
        for (Item& item : incoming) ready.push_back(std::move(item));
        incoming.clear();
      }
      if (ready.empty() || ended) return;
      Item item = std::move(ready.front());
      ready.pop_front();
      SafeCall([&] { DeliverOne(item); });
    }
  }

  void DeliverOne(Item& item) {
    if (item.kind == kEnd) {
      // The clock stops (IsRunning turns false) only after every line before it.
      ended = true;
      clock->StopClock();
      runner->exitCode_ = item.exitCode;
      if (onTerminated) onTerminated(runner);
      if (!item.text.empty() && Application)
        Application->ShowException(TCreateProcessError(item.text));
      return;
    }
    const TOutputType type = item.kind == kLine ? otEntireLine : otBeginningOfLine;
    if (type == otEntireLine) runner->Lines.Add(item.text);
    if (onNewLine) onNewLine(runner, std::move(item.text), type);
  }
};

TDosThread::TDosThread(TDosCommand* runner)
    : channel_(std::make_shared<Channel>()),
      commandLine_(runner->CommandLine),
      clock_(runner->clock_),
      inputToOutput_(runner->InputToOutput),
      maxTimeAfterBeginning_(runner->MaxTimeAfterBeginning),
      maxTimeAfterLastOutput_(runner->MaxTimeAfterLastOutput),
      priorityClass_(runner->PriorityClass) {
  channel_->runner = runner;
  channel_->onNewLine = runner->OnNewLine;
  channel_->onTerminated = runner->OnTerminated;
  channel_->clock = runner->clock_;
}

TDosThread::~TDosThread() {
  Terminate();
  WaitFor();
}

void TDosThread::Deliver() { channel_->Deliver(); }

void TDosThread::ReadLoop() {
  SECURITY_DESCRIPTOR descriptor;
  SECURITY_ATTRIBUTES attributes{};
  attributes.nLength = sizeof attributes;
  attributes.bInheritHandle = TRUE;
  if (IsWindowsNT()) {
    // An access list that is present but null allows every access.
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    attributes.lpSecurityDescriptor = &descriptor;
  }

  HANDLE inputRead = nullptr, inputWrite = nullptr, outputRead = nullptr, outputWrite = nullptr;
  PROCESS_INFORMATION process{};
  bool started = false;
  if (CreatePipe(&inputRead, &inputWrite, &attributes, 0) &&
      CreatePipe(&outputRead, &outputWrite, &attributes, 0)) {
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = outputWrite;
    // Our own C runtime's inherited-handle table would override the child's standard
    // handles with ours; the child gets only the pipes.
    startup.cbReserved2 = 0;
    startup.lpReserved2 = nullptr;
    std::vector<char> command(commandLine_.begin(), commandLine_.end());
    command.push_back('\0');
    started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE,
                             priorityClass_ | CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                             &process) != 0;
    if (!started) startError_ = commandLine_ + " doesn't exist.";
  }

  if (started) OutputLoop(process.hProcess, outputRead);

  // Unfinished text left at the end is a complete line (the clock is not reset for it).
  if (!carried_.empty()) channel_->outgoing.push_back({Channel::kLine, std::move(carried_), {}});
  carried_.clear();
  CloseIf(process.hThread);
  CloseIf(process.hProcess);
  CloseIf(inputRead);
  CloseIf(inputWrite);
  CloseIf(outputRead);
  CloseIf(outputWrite);
  Finish();
}

void TDosThread::OutputLoop(HANDLE process, HANDLE output) {
  // While output flows, passes follow each other without a pause: after a pass that read
  // something, this many more look again at once before pausing, since a writer's next
  // block is often a moment behind. A silent child costs one peek per millisecond.
  constexpr int kEagerPasses = 12;
  std::vector<char> buffer(1024);
  int quietPasses = kEagerPasses;

  // Whether the child has gone is known before each peek, so the pass that sees it gone
  // still reads what it left in the pipe. The process handle tells, not the exit code: a
  // child may exit with the code that means "still active".
  bool exited = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  for (;;) {
    DWORD available = 0, got = 0;
    if (PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      if (available > buffer.size()) buffer.resize(available);
      if (ReadFile(output, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
        SplitRead(buffer.data(), got);
    }
    quietPasses = got > 0 ? 0 : quietPasses + 1;

    // The pause watches the child at the same time and ends early when it exits; what it
    // tells is the next pass's view.
    const DWORD pause = quietPasses > kEagerPasses ? 1 : 0;
    const bool exitedNow = WaitForSingleObject(process, pause) == WAIT_OBJECT_0;
    if (Terminated()) TerminateProcess(process, 0);

    if (exited) {
      DWORD code = 0;
      if (!Terminated() && GetExitCodeProcess(process, &code)) exitCode_ = code;
      return;
    }
    if (maxTimeAfterBeginning_ > 0 && clock_->SecondsSinceStart > maxTimeAfterBeginning_) return;
    if (maxTimeAfterLastOutput_ > 0 && clock_->SecondsSinceOutput > maxTimeAfterLastOutput_)
      return;
    exited = exitedNow;
  }
}

void TDosThread::SplitRead(const char* data, std::size_t size) {
  std::size_t i = 0;
  while (i < size && !Terminated()) {
    // Take the plain run up to the next NUL, CR or LF in one step.
    std::size_t end = i;
    while (end < size && data[end] != '\0' && data[end] != '\r' && data[end] != '\n') ++end;
    carried_.append(data + i, end - i);
    if (end == size) break;
    const char c = data[end];
    i = end + 1;
    if (c == '\0') continue;
    if (c == '\r' && i < size && data[i] == '\n') ++i;
    clock_->ResetOutputClock();
    channel_->outgoing.push_back({Channel::kLine, std::move(carried_), {}});
    carried_.clear();
  }
  // The whole unfinished line so far, shown provisionally after every read.
  if (!carried_.empty()) channel_->outgoing.push_back({Channel::kBeginning, carried_, {}});
  channel_->Post();
}

void TDosThread::Finish() {
  channel_->outgoing.push_back({Channel::kEnd, startError_, exitCode_});
  channel_->Post();
}
// ---------------------------------------------------------------------------------------
// TDosCommand

TDosCommand::TDosCommand(TComponent* owner) : TComponent(owner) {}

TDosCommand::~TDosCommand() { Stop(); }

void TDosCommand::Start() {
  if (CommandLine.empty()) throw EDosCommand("No Commandline to execute");
  Stop();
  // The runner owns its clock: the clock must outlive every hand-over of a run.
  if (!clock_) clock_ = new TProcessTimer(this);
  Lines.Clear();
  exitCode_.reset();
  clock_->Restart();
  thread_ = new TDosThread(this);
  thread_->Start();
}

void TDosCommand::Stop() {
  if (!thread_) return;
  TDosThread* thread = thread_;
  thread_ = nullptr;
  thread->Terminate();
  thread->WaitFor();
  // The worker has handed over its last item; deliver everything of the run now, even
  // when Stop is called from one of the run's own handlers.
  thread->Deliver();
  delete thread;
}

bool TDosCommand::IsRunning() const { return thread_ && clock_ && clock_->Enabled(); }
