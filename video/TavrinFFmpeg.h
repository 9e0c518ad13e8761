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
  static constexpr std::size_t kPathSize = 300;      // characters of vv.exe's path

  // `command`: 8-bit (OEM code page) command line. `encoderDir`: the folder of vv.exe
  // without a trailing backslash; nullptr for the program's own folder. A command or a
  // folder that does not fit, or a command that is not text of its code page or would
  // not come through the ANSI code page unchanged, is refused: no process starts, done
  // is 1 at once and Error() says why.
  explicit TavrinFFmpeg(const char* command, const wchar_t* encoderDir = nullptr);
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
  // Both as the process start takes them, decoded from their own code pages: the
  // 8-bit start would read the command in the ANSI code page, and where that is not the
  // OEM one the encoder would get other names than those checked.
  wchar_t command[kCommandSize] = {};
  wchar_t application[kPathSize] = {};
  int done = 0;
  bool cancelled = false;  // deleted before the process was started: do not start it
  bool exited = false;     // the process ran and its exit code is in exitCode
  DWORD exitCode = 0;
  std::wstring error;
  STARTUPINFOW startup{};
  PROCESS_INFORMATION process{};
};
