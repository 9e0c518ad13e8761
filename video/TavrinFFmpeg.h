// One hidden encoder run on a worker thread: construction starts vv.exe with the
// command line, the done flag turns 1 when it has ended (or could not start), and
// deletion ends a process that still runs.
#pragma once

#include <windows.h>

#include <string>

#include "TavrinThread.h"

class TavrinFFmpeg final : public TavrinThread {
 public:
  static constexpr std::size_t kCommandSize = 2000;  // bytes, with the terminator
  static constexpr std::size_t kPathSize = 300;      // bytes of the program path

  // `command`: 8-bit (OEM code page) command line. `encoderDir`: the folder of vv.exe
  // without a trailing backslash; nullptr for the program's own folder. A command or a
  // folder that does not fit is refused: no process starts, done is 1 at once and
  // Error() says why.
  explicit TavrinFFmpeg(const char* command, const char* encoderDir = nullptr);
  ~TavrinFFmpeg();

  void Run() override;

  // The done flag, read under the process lock.
  int IsDone();
  // The encoder's exit code once it has ended; false while it runs, and when it never
  // started.
  bool GetExitCode(DWORD* code);
  // Why the run was refused; empty when it was not.
  const std::wstring& Error() const { return error; }

 private:
  CRITICAL_SECTION processLock;
  char command[kCommandSize] = {};
  char application[kPathSize] = {};
  int done = 0;
  bool cancelled = false;  // deleted before the process was started: do not start it
  bool exited = false;     // the process ran and its exit code is in exitCode
  DWORD exitCode = 0;
  std::wstring error;
  STARTUPINFOA startup{};
  PROCESS_INFORMATION process{};
};
