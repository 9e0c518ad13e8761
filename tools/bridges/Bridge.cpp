#include "Bridge.h"

#include <shellapi.h>

#include <cstdlib>

#include "BridgeText.h"

namespace bridge {
namespace {

constexpr DWORD kPollMs = 100;
// The Linux side writes "started" first thing; silence beyond this means it never ran.
constexpr DWORD kStartTimeoutMs = 15000;

using UnixNameFn = char*(CDECL*)(LPCWSTR);
using DosNameFn = WCHAR*(CDECL*)(LPCSTR);

// Wine's own exports of kernel32, found by name (absent on Windows).
template <typename Fn>
Fn WineExport(const char* name) {
  FARPROC p = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string UnixNameOf(const std::wstring& path) {
  static const auto fn = WineExport<UnixNameFn>("wine_get_unix_file_name");
  if (!fn) return {};
  char* name = fn(path.c_str());
  if (!name) return {};
  std::string out = name;
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

std::wstring DosNameOf(const char* unixPath) {
  static const auto fn = WineExport<DosNameFn>("wine_get_dos_file_name");
  if (!fn) return {};
  WCHAR* name = fn(unixPath);
  if (!name) return {};
  std::wstring out = name;
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

bool WriteWhole(const std::wstring& path, const std::string& text) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == text.size();
}

std::string ReadFrom(const std::wstring& path, unsigned long long offset) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string out;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (SetFilePointerEx(h, at, nullptr, FILE_BEGIN)) {
    char buffer[8192];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
  }
  CloseHandle(h);
  return out;
}

}  // namespace

std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> out;
  for (int i = 1; argv && i < count; ++i) out.emplace_back(argv[i]);
  if (argv) LocalFree(argv);
  return out;
}

std::wstring ExeDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.rfind(L'\\') + 1);
}

std::string UnixPath(const std::wstring& path) {
  std::string name = UnixNameOf(path);
  if (!name.empty()) return name;
  // A name in a folder that does not exist yet: the nearest existing folder, then the rest.
  std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash < 3) return {};
  std::string parent = UnixPath(path.substr(0, slash));
  if (parent.empty()) return {};
  return parent + "/" + ToUtf8(path.substr(slash + 1));
}

std::vector<std::string> TranslateArgs(const std::vector<std::wstring>& args) {
  std::vector<std::string> out;
  for (const std::wstring& a : args) {
    std::string unix = LooksLikeWindowsPath(a) ? UnixPath(a) : std::string();
    out.push_back(unix.empty() ? ToUtf8(a) : unix);
  }
  return out;
}

std::string LinuxProgram(const wchar_t* overrideVar, const char* defaultPath) {
  wchar_t buffer[1024];
  DWORD n = GetEnvironmentVariableW(overrideVar, buffer, 1024);
  if (n > 0 && n < 1024) return ToUtf8(std::wstring_view(buffer, n));
  return defaultPath;
}

void Print(const std::string& text, bool toStderr) {
  HANDLE h = GetStdHandle(toStderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
  std::size_t done = 0;
  while (done < text.size()) {
    DWORD written = 0;
    if (!WriteFile(h, text.data() + done, static_cast<DWORD>(text.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

LinuxJob::LinuxJob() {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base = n > 0 && n <= MAX_PATH ? std::wstring(temp, n) : ExeDir();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring dir = base + L"zvbridge-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt);
    if (CreateDirectoryW(dir.c_str(), nullptr)) {
      dir_ = dir + L"\\";
      unixDir_ = UnixPath(dir);
      return;
    }
  }
}

LinuxJob::~LinuxJob() {
  if (alive_ != INVALID_HANDLE_VALUE) CloseHandle(alive_);
  if (dir_.empty()) return;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((dir_ + L"*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW((dir_ + found.cFileName).c_str());
      }
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(dir_.c_str());
}

std::wstring LinuxJob::File(const char* name) const {
  return dir_ + Widen(name);
}

std::string LinuxJob::UnixFile(const char* name) const {
  return unixDir_ + "/" + name;
}

bool LinuxJob::Start(const std::string& program, const std::vector<std::string>& args,
                     bool mergeStderr, bool lineBuffered) {
  if (unixDir_.empty()) {
    Print("cannot make a working folder for the Linux program (is this Wine?)\n", true);
    return false;
  }
  wchar_t cwd[MAX_PATH + 1];
  DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, cwd);
  std::string unixCwd = n > 0 && n <= MAX_PATH ? UnixPath(std::wstring(cwd, n)) : std::string();

  // The lock is Wine's and goes with this process: the Linux side reads it in /proc/locks.
  alive_ = CreateFileW(File("alive").c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  OVERLAPPED first{};
  if (alive_ == INVALID_HANDLE_VALUE ||
      !LockFileEx(alive_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first)) {
    Print("cannot lock a file in the working folder of the Linux program\n", true);
    return false;
  }

  std::string s = "#!/bin/sh\n";
  s += "d=" + ShellQuote(unixDir_) + "\n";
  s += "prog=" + ShellQuote(program) + "\n";
  // Each answer appears whole: "started" holds the shell's process id, "status" the code.
  s += "put() { echo \"$2\" > \"$d/$1.part\" && mv \"$d/$1.part\" \"$d/$1\"; }\n";
  s += "put started $$\n";
  s += "if [ ! -x \"$prog\" ]; then\n"
       "  echo \"$prog was not found on this Linux host; the bridge runs it to do the work"
       " (install the Debian package that provides it).\" > \"$d/err\"\n"
       "  put status 127; exit 0\n"
       "fi\n";
  if (!unixCwd.empty()) s += "cd " + ShellQuote(unixCwd) + " 2>/dev/null\n";
  s += "buf=\n";
  if (lineBuffered) s += "command -v stdbuf >/dev/null 2>&1 && buf='stdbuf -oL -eL'\n";
  s += "$buf \"$prog\"";
  for (const std::string& a : args) s += " " + ShellQuote(a);
  s +=
      mergeStderr ? " </dev/null >\"$d/out\" 2>&1 &\n" : " </dev/null >\"$d/out\" 2>\"$d/err\" &\n";
  // The watchdog: once the bridge's lock is gone, the bridge was ended; so is its program.
  s += "child=$!\n"
       "lock=\":$(stat -c %i \"$d/alive\") \"\n"
       "( while kill -0 $child 2>/dev/null; do\n"
       "    sleep 0.5\n"
       "    if ! grep -q \"$lock\" /proc/locks; then\n"
       "      : > \"$d/orphan\"; kill $child 2>/dev/null; sleep 1; kill -9 $child 2>/dev/null\n"
       "      break\n"
       "    fi\n"
       "  done ) &\n"
       "dog=$!\n"
       "wait $child\n"
       "code=$?\n"
       "kill $dog 2>/dev/null\n"
       "if [ -e \"$d/orphan\" ]; then rm -rf \"$d\"; exit 0; fi\n"
       "put status $code\n";
  if (!WriteWhole(File("run.sh"), s)) {
    Print("cannot write the start script of the Linux program\n", true);
    return false;
  }
  std::wstring sh = DosNameOf("/bin/sh");
  if (sh.empty()) {
    Print("/bin/sh cannot be reached from Wine\n", true);
    return false;
  }
  std::wstring command = QuoteWindowsArg(sh) + L" " + QuoteWindowsArg(Widen(UnixFile("run.sh")));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(sh.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    Print("cannot start /bin/sh (error " + std::to_string(GetLastError()) + ")\n", true);
    return false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// Whether the shell of this job still runs: a process of that id whose command line
// names this job's script (a process that ended, or another one with its id, does not).
bool LinuxJob::ShellLives(const std::string& pid) const {
  const std::wstring cmdline = DosNameOf(("/proc/" + pid + "/cmdline").c_str());
  return ReadFrom(cmdline, 0).find(UnixFile("run.sh")) != std::string::npos;
}

int LinuxJob::Wait(const std::function<void()>& poll) {
  const ULONGLONG begun = GetTickCount64();
  std::string shell;  // the shell's process id, once it has started
  for (;;) {
    Sleep(kPollMs);
    if (shell.empty()) {
      shell = ReadAll("started");
      shell = shell.substr(0, shell.find('\n'));
      if (shell.empty() && GetTickCount64() - begun > kStartTimeoutMs) {
        Print("the Linux program did not start\n", true);
        return 126;
      }
    }
    // Asked before the status is read: a shell found gone has written all it ever will.
    const bool lives = shell.empty() || ShellLives(shell);
    std::string status = ReadAll("status");
    poll();
    if (!status.empty()) return std::atoi(status.c_str());
    if (!lives) {
      Print("the Linux program's shell ended without its exit status\n", true);
      return 126;
    }
  }
}

std::string LinuxJob::ReadNew(const char* name) {
  unsigned long long& offset = offsets_[name];
  std::string more = ReadFrom(File(name), offset);
  offset += more.size();
  return more;
}

std::string LinuxJob::ReadAll(const char* name) const {
  return ReadFrom(File(name), 0);
}

MediaInfo ProbeMedia(const std::wstring& path) {
  MediaInfo info;
  LinuxJob job;
  if (!job.Start("/usr/bin/ffprobe",
                 {"-v", "error", "-show_entries", "stream=codec_name,width,height:format=duration",
                  "-of", "csv=p=0", UnixPath(path)},
                 false, false))
    return info;
  job.Wait([] {});
  std::string carry;
  info.streams = TakeLines(carry, job.ReadAll("out") + "\n");
  if (!info.streams.empty()) {
    info.duration = std::atof(info.streams.back().c_str());
    info.streams.pop_back();
  }
  return info;
}

}  // namespace bridge
