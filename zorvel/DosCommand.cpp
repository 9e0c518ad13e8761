#include "DosCommand.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>
#include <new>
#include <string_view>
#include <vector>

#include "forms/Forms.h"

namespace {
bool IsWindowsNT() {
  // Every system this program runs on today is NT-based; the check keeps the old
  // systems' path (no security descriptor) honest.
  return (GetVersion() & 0x80000000u) == 0;
}

// Inside a handler: the exception being handled, out of memory said in words made in
// advance (none can be made then).
std::exception_ptr Failure(const std::exception_ptr& outOfMemory) noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return outOfMemory;
  } catch (...) {
    return std::current_exception();
  }
}

void CloseIf(HANDLE& h) {
  if (h) CloseHandle(h);
  h = nullptr;
}

// The output pipe: a named pipe, because only its read end can be read overlapped
// (anonymous pipes cannot), which lets one wait cover output, the child's end, Stop and
// the clock. The child's end is opened as an ordinary handle, inheritable.
bool CreateOutputPipe(SECURITY_ATTRIBUTES& attributes, HANDLE& read, HANDLE& write) {
  // Room for a burst of output while the worker is busy splitting the last one.
  constexpr DWORD kPipeSize = 1024 * 1024;
  static std::atomic<unsigned> serial{0};
  char name[80];
  std::snprintf(name, sizeof name, "\\\\.\\pipe\\zorvel-output-%lu-%u", GetCurrentProcessId(),
                ++serial);
  SECURITY_ATTRIBUTES ours = attributes;
  ours.bInheritHandle = FALSE;
  read = CreateNamedPipeA(
      name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, kPipeSize, kPipeSize, 0, &ours);
  if (read == INVALID_HANDLE_VALUE) {
    read = nullptr;
    return false;
  }
  write = CreateFileA(name, GENERIC_WRITE, 0, &attributes, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                      nullptr);
  if (write == INVALID_HANDLE_VALUE) {
    write = nullptr;
    return false;
  }
  return true;
}

// One overlapped read at a time from the output pipe into one buffer. A read that
// completes at once is taken like one that completes later, after the wait, so that
// Stop and the child's end are seen between any two reads however fast output flows.
class PipeReader {
 public:
  explicit PipeReader(HANDLE pipe) : pipe_(pipe), buffer_(kBufferSize) {
    overlapped_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    open_ = overlapped_.hEvent != nullptr;
  }
  ~PipeReader() {
    Cancel([](const char*, DWORD) {});
    if (overlapped_.hEvent) CloseHandle(overlapped_.hEvent);
  }
  PipeReader(const PipeReader&) = delete;
  PipeReader& operator=(const PipeReader&) = delete;

  // Set when the read under way has completed.
  HANDLE Event() const noexcept { return overlapped_.hEvent; }
  // A read is under way (or done and not yet taken).
  bool Pending() const noexcept { return pending_; }

  // Starts a read unless one is under way or the pipe has no writer left.
  void Start() {
    if (pending_ || !open_) return;
    DWORD got = 0;
    if (ReadFile(pipe_, buffer_.data(), kBufferSize, &got, &overlapped_)) {
      SetEvent(overlapped_.hEvent);
      pending_ = true;
    } else {
      pending_ = GetLastError() == ERROR_IO_PENDING;
      open_ = pending_;
    }
  }

  // Hands the bytes of the completed read to `take`; (wait) waits for it to complete.
  template <class Take>
  void Complete(Take&& take, bool wait = false) {
    if (!pending_) return;
    DWORD got = 0;
    if (GetOverlappedResult(pipe_, &overlapped_, &got, wait)) {
      pending_ = false;
      if (got > 0) take(buffer_.data(), got);
    } else if (const DWORD error = GetLastError(); error != ERROR_IO_INCOMPLETE) {
      pending_ = false;
      open_ = error == ERROR_OPERATION_ABORTED;  // cancelled: the pipe itself is still open
    }
  }

  // Ends the read under way. One that took bytes from the pipe before the cancel
  // completes with them, so nothing is lost.
  template <class Take>
  void Cancel(Take&& take) {
    if (!pending_) return;
    CancelIo(pipe_);
    Complete(take, true);
  }

  // Reads what the pipe holds now, and no more: a process that the child started may
  // hold the pipe open and write on.
  template <class Take>
  void Drain(Take&& take) {
    Cancel(take);
    DWORD left = 0;
    if (!open_ || !PeekNamedPipe(pipe_, nullptr, 0, nullptr, &left, nullptr)) return;
    const auto counted = [&](const char* data, DWORD size) {
      left -= std::min(left, size);
      take(data, size);
    };
    while (left > 0 && open_) {
      const DWORD before = left;
      Start();
      Complete(counted, true);  // the bytes are there: the read completes at once
      if (left == before) return;
    }
  }

 private:
  static constexpr DWORD kBufferSize = 256 * 1024;

  HANDLE pipe_;
  std::vector<char> buffer_;
  OVERLAPPED overlapped_{};
  bool pending_ = false;
  bool open_ = false;
};
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
  if (tickEvent_) SetEvent(tickEvent_);
}

// ---------------------------------------------------------------------------------------
// TDosThread

// One run's hand-over. The worker writes what a read produced into a batch, the texts
// back to back in one block, and queues it in `incoming`, waking the UI thread only when
// no wake is pending; the UI thread takes the queued batches over as `ready` and
// delivers them one item at a time. A batch's block is shared with the Lines list, which
// keeps it for the lines in it, so a line's text is written once, by the worker, and the
// UI thread only makes the string each handler is given. Emptied item lists go back to
// the worker to fill again. A handler that pumps messages or stops the run re-enters
// Deliver, which goes on from the same `ready`, so nothing is delivered twice, out of
// order or after the end of the run.
//
// An unfinished line is kept as the pieces that the reads left of it, never copied whole
// until it ends. Its beginning is shown by a marker item; while a marker waits, the reads
// that follow only add pieces, and the UI thread puts the line together as it stands when
// the marker's turn comes. A later line's marker replaces a waiting one, so at most one
// beginning waits, however slow the handler.
//
// The end of the run is no item: it needs nothing made when it comes, so that a run whose
// worker failed for want of memory still ends.
struct TDosThread::Channel : std::enable_shared_from_this<Channel> {
  enum Kind { kLine, kBeginning };
  struct Item {
    Kind kind;
    // A line: its text in the block. A beginning: its line's serial.
    std::size_t begin, size;
  };
  struct Batch {
    TLineList::TBlock block;
    std::vector<Item> items;
  };
  // Pieces are added under the lock, by the worker only, and never change.
  struct Unfinished {
    std::size_t serial;
    std::vector<TLineList::TBlock> pieces;
  };
  static std::size_t Length(const std::vector<TLineList::TBlock>& pieces) {
    std::size_t n = 0;
    for (const TLineList::TBlock& piece : pieces) n += piece->size();
    return n;
  }

  TDosCommand* runner;
  TNewLineEvent onNewLine;
  TNotifyEvent onTerminated;
  TProcessTimer* clock;

  std::string text;         // worker thread only: the texts of what the current read produced
  std::vector<Item> items;  // worker thread only: and its items
  std::shared_ptr<Unfinished> carried;  // worker thread only: the line the reads are in
  std::size_t lastSerial = 0;           // worker thread only
  std::mutex lock;
  std::deque<Batch> incoming;             // guarded by lock
  std::vector<std::vector<Item>> spare;   // guarded by lock: delivered item lists, emptied
  bool wakeQueued = false;                // guarded by lock
  bool endPosted = false;                 // guarded by lock: after the run's last batch
  std::optional<unsigned long> exitCode;  // written under lock, before endPosted
  // Why the run ended early (a start that failed, a worker that failed): set by the worker
  // before it posts the end, shown by the UI thread after OnTerminated.
  std::exception_ptr error;
  std::shared_ptr<Unfinished> shown;  // guarded by lock: the line whose marker waits
  std::deque<Batch> ready;            // UI thread only
  std::size_t next = 0;               // UI thread only: the next item of ready.front()
  bool ended = false;                 // UI thread only

  // Worker thread: an item whose text is `head` followed by `tail`.
  void Add(Kind kind, std::string_view head, std::string_view tail = {}) {
    items.push_back({kind, text.size(), head.size() + tail.size()});
    text.append(head).append(tail);
  }

  // Worker thread: the carried line followed by `head` and `tail` is complete. `room`: what
  // the rest of the read may add.
  void AddLine(std::string_view head, std::string_view tail, std::size_t room) {
    if (!carried) return Add(kLine, head, tail);
    const std::size_t size = Length(carried->pieces) + head.size() + tail.size();
    text.reserve(text.size() + size + room);
    items.push_back({kLine, text.size(), size});
    for (const TLineList::TBlock& piece : carried->pieces) text.append(*piece);
    text.append(head).append(tail);
    carried.reset();
  }

  // Worker thread: `tail` is left unfinished at the end of a read. A small read joins a
  // small last piece, so that a child writing a byte at a time costs no piece per byte.
  void Carry(std::string tail) {
    if (tail.empty()) return;
    if (!carried) carried = std::make_shared<Unfinished>(Unfinished{++lastSerial, {}});
    constexpr std::size_t kSmallPiece = 4096;
    const bool join =
        !carried->pieces.empty() && carried->pieces.back()->size() + tail.size() <= kSmallPiece;
    auto piece = std::make_shared<const std::string>(join ? *carried->pieces.back() + tail
                                                          : std::move(tail));
    bool mark;
    {
      std::lock_guard<std::mutex> guard(lock);
      if (join) carried->pieces.pop_back();
      carried->pieces.push_back(piece);
      mark = shown != carried;
      shown = carried;
    }
    if (mark) items.push_back({kBeginning, carried->serial, 0});
  }

  // Worker thread: lets go of everything not handed over yet, the unfinished line too.
  void Drop() {
    text = {};
    items.clear();
    carried.reset();
    std::lock_guard<std::mutex> guard(lock);
    shown.reset();
  }

  // Worker thread: hands what was added over.
  void Post() {
    if (items.empty()) return;
    Batch batch{std::make_shared<const std::string>(std::move(text)), std::move(items)};
    text = {};
    items = {};
    bool wake;
    {
      std::lock_guard<std::mutex> guard(lock);
      incoming.push_back(std::move(batch));
      if (!spare.empty()) {
        items.swap(spare.back());
        spare.pop_back();
      }
      wake = !wakeQueued;
      wakeQueued = true;
    }
    if (wake) TThread::Queue([self = shared_from_this()] { self->Deliver(); });
  }

  // Worker thread: the run is over, after every batch posted.
  void End(std::optional<unsigned long> code) noexcept {
    std::lock_guard<std::mutex> guard(lock);
    exitCode = code;
    endPosted = true;
  }

  void Deliver() {
    while (!ended) {
      if (!ready.empty() && next == ready.front().items.size()) {
        std::vector<Item> done = std::move(ready.front().items);
        ready.pop_front();
        next = 0;
        done.clear();
        std::lock_guard<std::mutex> guard(lock);
        spare.push_back(std::move(done));
      }
      if (ready.empty()) {
        bool end;
        {
          std::lock_guard<std::mutex> guard(lock);
          wakeQueued = false;
          ready.swap(incoming);
          end = endPosted;
        }
        if (ready.empty()) {
          if (end) SafeCall([&] { DeliverEnd(); });
          return;
        }
      }
      if (next == ready.front().items.size()) continue;
      // Taken out of the batch before any handler runs: a handler may re-enter Deliver,
      // which moves on and recycles the batch.
      const Item item = ready.front().items[next++];
      const TLineList::TBlock block = ready.front().block;
      SafeCall([&] { DeliverOne(item, block); });
    }
  }

  // UI thread: the line of a beginning's marker as it stands now; none when a later
  // line's marker has replaced it.
  std::optional<std::string> TakeBeginning(std::size_t serial) {
    std::vector<TLineList::TBlock> pieces;
    {
      std::lock_guard<std::mutex> guard(lock);
      if (!shown || shown->serial != serial) return std::nullopt;
      pieces = shown->pieces;
      shown.reset();
    }
    std::string line;
    line.reserve(Length(pieces));
    for (const TLineList::TBlock& piece : pieces) line.append(*piece);
    return line;
  }

  // The clock stops (IsRunning turns false) only after every line of the run.
  void DeliverEnd() {
    ended = true;
    clock->StopClock();
    runner->exitCode_ = exitCode;  // final: written before the end, which was seen under lock
    if (onTerminated) onTerminated(runner);
    if (error) std::rethrow_exception(error);  // the application shows it
  }

  void DeliverOne(const Item& item, const TLineList::TBlock& block) {
    switch (item.kind) {
      case kBeginning:
        if (auto line = TakeBeginning(item.begin); line && onNewLine)
          onNewLine(runner, std::move(*line), otBeginningOfLine);
        break;
      case kLine: {
        const std::string_view view = std::string_view(*block).substr(item.begin, item.size);
        runner->Lines.Add(block, view);
        if (onNewLine) onNewLine(runner, std::string(view), otEntireLine);
        break;
      }
    }
  }
};

TDosThread::TDosThread(TDosCommand* runner)
    : channel_(std::make_shared<Channel>()),
      commandLine_(runner->CommandLine),
      clock_(runner->clock_),
      inputToOutput_(runner->InputToOutput),
      maxTimeAfterBeginning_(runner->MaxTimeAfterBeginning),
      maxTimeAfterLastOutput_(runner->MaxTimeAfterLastOutput),
      priorityClass_(runner->PriorityClass),
      failAfterBytes_(FailAfterBytesForTests),
      outOfMemory_(std::make_exception_ptr(Exception("Out of memory"))),
      endWake_([channel = channel_] { channel->Deliver(); }),
      stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      tickEvent_(maxTimeAfterBeginning_ > 0 || maxTimeAfterLastOutput_ > 0
                     ? CreateEventW(nullptr, FALSE, FALSE, nullptr)
                     : nullptr) {
  channel_->runner = runner;
  channel_->onNewLine = runner->OnNewLine;
  channel_->onTerminated = runner->OnTerminated;
  channel_->clock = runner->clock_;
  clock_->SetTickEvent(tickEvent_);
}

TDosThread::~TDosThread() {
  Abort();
  WaitFor();
  if (clock_->TickEvent() == tickEvent_) clock_->SetTickEvent(nullptr);
  CloseIf(tickEvent_);
  CloseIf(stopEvent_);
}

void TDosThread::Abort() noexcept {
  Terminate();
  if (stopEvent_) SetEvent(stopEvent_);
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
  try {
    bool started = false;
    if (stopEvent_ && CreatePipe(&inputRead, &inputWrite, &attributes, 0) &&
        CreateOutputPipe(attributes, outputRead, outputWrite)) {
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
      if (!started)
        channel_->error =
            std::make_exception_ptr(TCreateProcessError(commandLine_ + " doesn't exist."));
    }

    if (started) {
      // Only the child holds the pipe's writing end now, so the pipe closes with it.
      CloseIf(outputWrite);
      OutputLoop(process.hProcess, outputRead);
    }
    // Unfinished text left at the end is a complete line (the clock is not reset for it).
    if (channel_->carried) channel_->AddLine({}, {}, 0);
    channel_->Post();
  } catch (...) {
    // The worker failed (memory ran out, say): what it holds goes first, then the child,
    // and the run ends as a failed one, so that no caller waits for it forever; the user
    // is told why.
    channel_->Drop();
    channel_->error = Failure(outOfMemory_);
    if (process.hProcess) {
      TerminateProcess(process.hProcess, 0);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    exitCode_.reset();
  }
  CloseIf(process.hThread);
  CloseIf(process.hProcess);
  CloseIf(inputRead);
  CloseIf(inputWrite);
  CloseIf(outputRead);
  CloseIf(outputWrite);
  Finish();
}

void TDosThread::OutputLoop(HANDLE process, HANDLE output) {
  PipeReader reader(output);
  const auto split = [this](const char* data, DWORD size) { SplitRead(data, size); };
  for (;;) {
    reader.Start();
    // Nothing wakes the worker but Stop, the child's end, a read or a tick of the clock.
    HANDLE handles[4];
    DWORD count = 0;
    handles[count++] = stopEvent_;
    handles[count++] = process;
    if (reader.Pending()) handles[count++] = reader.Event();
    if (tickEvent_) handles[count++] = tickEvent_;
    const DWORD woken = WaitForMultipleObjects(count, handles, FALSE, INFINITE) - WAIT_OBJECT_0;
    if (woken >= count) return;  // cannot wait: the run ends as a time limit ends it
    if (handles[woken] == stopEvent_ || Terminated()) {
      // The child ends with code 0; nothing more of it is split.
      TerminateProcess(process, 0);
      WaitForSingleObject(process, INFINITE);
      return;
    }
    if (handles[woken] == process) {
      // What the child left in the pipe is still read. The process handle tells, not the
      // exit code: a child may exit with the code that means "still active".
      reader.Drain(split);
      DWORD code = 0;
      if (!Terminated() && GetExitCodeProcess(process, &code)) exitCode_ = code;
      return;
    }
    if (handles[woken] == reader.Event()) reader.Complete(split);
    // A time limit ends the run without ending the child; what was read comes first.
    if (TimeIsUp()) {
      reader.Cancel(split);
      return;
    }
  }
}

bool TDosThread::TimeIsUp() const {
  return (maxTimeAfterBeginning_ > 0 && clock_->SecondsSinceStart > maxTimeAfterBeginning_) ||
         (maxTimeAfterLastOutput_ > 0 && clock_->SecondsSinceOutput > maxTimeAfterLastOutput_);
}

void TDosThread::SplitRead(const char* data, std::size_t size) {
  if (failAfterBytes_ && (bytesRead_ += size) >= failAfterBytes_) {
    if (OnFailureForTests) OnFailureForTests();
    throw std::bad_alloc();
  }
  Channel& channel = *channel_;
  channel.text.reserve(channel.text.size() + size);
  std::string tail;  // what this read adds to the unfinished line
  std::size_t i = 0;
  while (i < size && !Terminated()) {
    // Take the plain run up to the next NUL, CR or LF in one step.
    std::size_t end = i;
    while (end < size && data[end] != '\0' && data[end] != '\r' && data[end] != '\n') ++end;
    const std::string_view run(data + i, end - i);
    const char stop = end < size ? data[end] : '\0';
    i = end + 1;
    if (stop != '\r' && stop != '\n') {  // a NUL, skipped, or the end of the read
      tail.append(run);
      continue;
    }
    if (stop == '\r' && i < size && data[i] == '\n') ++i;
    clock_->ResetOutputClock();
    channel.AddLine(tail, run, size - i);
    tail.clear();
  }
  // The unfinished line so far is shown provisionally.
  channel.Carry(std::move(tail));
  channel.Post();
}

void TDosThread::Finish() noexcept {
  channel_->End(exitCode_);
  // Woken in any case: a hand-over that failed may have lost the wake before it.
  TThread::Queue(endWake_);
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
  thread->Abort();
  thread->WaitFor();
  // The worker has handed over its last item; deliver everything of the run now, even
  // when Stop is called from one of the run's own handlers.
  thread->Deliver();
  delete thread;
}

bool TDosCommand::IsRunning() const { return thread_ && clock_ && clock_->Enabled(); }
