#include "DosCommand.h"

#include <cstring>
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

// Everything the hand-overs of one run touch on the UI thread. The runner outlives
// them: it drains the hand-over queue in Stop, and its destructor stops.
struct TDosThread::Delivery {
  TDosCommand* runner;
  TNewLineEvent onNewLine;
  TNotifyEvent onTerminated;
};

TDosThread::TDosThread(TDosCommand* runner)
    : delivery_(std::make_shared<Delivery>(
          Delivery{runner, runner->OnNewLine, runner->OnTerminated})),
      commandLine_(runner->CommandLine),
      clock_(runner->clock_),
      inputToOutput_(runner->InputToOutput),
      maxTimeAfterBeginning_(runner->MaxTimeAfterBeginning),
      maxTimeAfterLastOutput_(runner->MaxTimeAfterLastOutput),
      priorityClass_(runner->PriorityClass) {}

TDosThread::~TDosThread() {
  Terminate();
  WaitFor();
}

void TDosThread::DeliverLine(std::string line, TOutputType type) {
  if (type == otEntireLine) clock_->ResetOutputClock();
  TThread::Queue([d = delivery_, line = std::move(line), type]() mutable {
    if (type == otEntireLine) d->runner->Lines.Add(line);
    if (d->onNewLine) d->onNewLine(d->runner, std::move(line), type);
  });
}

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

  if (!carried_.empty()) DeliverLine(std::move(carried_), otEntireLine);
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
  std::vector<char> buffer(1024);
  for (;;) {
    // Whether the child has gone is read before the peek, so the pass that sees it gone
    // still reads what it left in the pipe. The process handle, not the exit code, tells:
    // a child may exit with the code that means "still active".
    const bool exited = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;

    DWORD available = 0;
    if (PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      if (available > buffer.size()) buffer.resize(available);
      DWORD got = 0;
      if (ReadFile(output, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
        SplitRead(buffer.data(), got);
    }

    Sleep(1);
    if (Terminated()) TerminateProcess(process, 0);

    if (exited) {
      DWORD code = 0;
      if (!Terminated() && GetExitCodeProcess(process, &code)) exitCode_ = code;
      return;
    }
    if (maxTimeAfterBeginning_ > 0 && clock_->SecondsSinceStart > maxTimeAfterBeginning_) return;
    if (maxTimeAfterLastOutput_ > 0 && clock_->SecondsSinceOutput > maxTimeAfterLastOutput_)
      return;
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
    DeliverLine(std::move(carried_), otEntireLine);
    carried_.clear();
  }
  if (!carried_.empty()) DeliverLine(carried_, otBeginningOfLine);
}

void TDosThread::Finish() {
  // The last hand-over of the run: the clock stops (IsRunning turns false) only after
  // every line before it has been delivered.
  TThread::Queue([d = delivery_, clock = clock_, exitCode = exitCode_, error = startError_] {
    clock->StopClock();
    d->runner->exitCode_ = exitCode;
    if (d->onTerminated) d->onTerminated(d->runner);
    if (!error.empty() && Application) Application->ShowException(TCreateProcessError(error));
  });
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
  // The worker has queued its last hand-over; deliver everything of the run now.
  CheckSynchronize();
  delete thread;
}

bool TDosCommand::IsRunning() const { return thread_ && clock_ && clock_->Enabled(); }
