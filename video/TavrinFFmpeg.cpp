#include "TavrinFFmpeg.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>

#include "OutputNaming.h"

namespace {
// True when the text comes back unchanged from the ANSI code page: an encoder that reads
// its command line in 8 bits gets the system's ANSI conversion of it, where a character
// of another code page becomes a look-alike that names another file.
bool SurvivesAnsi(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::string narrow(std::size_t(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), bytes, nullptr, nullptr);
  const int chars = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, nullptr, 0);
  if (chars <= 0) return false;
  std::wstring back(std::size_t(chars), L'\0');
  MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, back.data(), chars);
  return std::wcscmp(back.c_str(), text) == 0;
}

// The folder of this program without the last backslash; false when the path does not
// fit `size` characters.
bool ProgramFolder(wchar_t* out, std::size_t size) {
  const DWORD n = GetModuleFileNameW(nullptr, out, DWORD(size));
  if (n == 0 || n >= size) return false;
  wchar_t* slash = std::wcsrchr(out, L'\\');
  if (slash) *slash = L'\0';
  return true;
}
}  // namespace

TavrinFFmpeg::TavrinFFmpeg(const char* commandLine, const wchar_t* encoderDir) {
  InitializeCriticalSection(&processLock);
  const std::size_t length = commandLine ? std::strlen(commandLine) : 0;
  wchar_t folder[kPathSize];
  bool folderOk;
  if (encoderDir) {
    folderOk = std::wcslen(encoderDir) < kPathSize;
    if (folderOk) std::wcscpy(folder, encoderDir);
  } else {
    folderOk = ProgramFolder(folder, kPathSize);
  }
  static const wchar_t kExe[] = L"\\vv.exe";
  if (!commandLine || length + 1 > kCommandSize) {
    error = L"命令行太长（超过 1999 个字节），这个文件不能转换。请缩短输出目录或文件名。";
  } else if (!folderOk || std::wcslen(folder) + std::size(kExe) > kPathSize) {
    error = L"程序所在文件夹的路径太长，找不到转换程序 vv.exe。请把程序放到路径较短的文件夹。";
  } else if (MultiByteToWideChar(CP_OEMCP, MB_ERR_INVALID_CHARS, commandLine, -1, command,
                                 int(kCommandSize)) == 0) {
    error = L"命令行不是系统代码页的文字，这个文件不能转换。";
  } else if (!SurvivesAnsi(command)) {
    error = video::kOutsideCodePageMessage;
  }
  if (!error.empty()) {
    done = 1;  // refused: nothing will run, the caller sees done at once
    return;
  }
  std::wcscpy(application, folder);
  std::wcscat(application, kExe);
  if (!StartThread()) {
    error = L"无法启动转换线程。";
    done = 1;
  }
}

TavrinFFmpeg::~TavrinFFmpeg() {
  EnterCriticalSection(&processLock);
  cancelled = true;
  if (done == 0 && process.hProcess) TerminateProcess(process.hProcess, 0);
  LeaveCriticalSection(&processLock);
  Stop();
  // Stop cannot tell a thread that has not entered Run yet from one that has left it;
  // waiting for the thread itself can.
  WaitForThread();
  DeleteCriticalSection(&processLock);
}

void TavrinFFmpeg::Run() {
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  std::memset(&process, 0, sizeof process);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;

  // The start happens under the process lock, so a deletion either comes before it
  // (and nothing starts) or after it (and terminates the process).
  EnterCriticalSection(&processLock);
  bool started = false;
  if (!cancelled) {
    started = CreateProcessW(application, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process) != 0;
    if (!started) std::printf("CreateProcess failed (%d).\n", int(GetLastError()));
  }
  LeaveCriticalSection(&processLock);

  if (started) WaitForSingleObject(process.hProcess, INFINITE);

  EnterCriticalSection(&processLock);
  if (started) {
    exited = GetExitCodeProcess(process.hProcess, &exitCode) != 0;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    process.hProcess = process.hThread = nullptr;
  }
  done = 1;
  LeaveCriticalSection(&processLock);
}

int TavrinFFmpeg::IsDone() {
  EnterCriticalSection(&processLock);
  const int d = done;
  LeaveCriticalSection(&processLock);
  return d;
}

bool TavrinFFmpeg::GetExitCode(DWORD* code) {
  EnterCriticalSection(&processLock);
  const bool ok = done && exited;
  if (ok && code) *code = exitCode;
  LeaveCriticalSection(&processLock);
  return ok;
}
