// Runs a Linux program from a Windows console program under Wine. Wine neither joins a
// Linux process's output to our handles nor reports its exit code, so the program runs
// under /bin/sh with its output, its reports and its exit status going to files in a
// private folder that the bridge reads as they grow. Each side watches the other's life,
// not its pace, so that a loaded machine that starves one of them for a while ends
// nothing: the bridge holds a lock on a file of the folder, which Wine holds as a Unix
// lock until the bridge ends however it ends, and a watchdog on the Linux side ends the
// program once the lock is gone, so nothing runs on unseen; the bridge in turn watches
// the shell, so that a shell that ends without an exit status is a failure, not a wait
// without end.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bridge {

// This program's arguments (without its own name).
std::vector<std::wstring> Arguments();

// The folder of this program, with a trailing backslash.
std::wstring ExeDir();

// The Unix name of a Windows path; folders that do not exist yet are named through the
// nearest one that does. Empty when Wine cannot tell (not running under Wine).
std::string UnixPath(const std::wstring& path);

// Each argument in UTF-8, Windows paths replaced by their Unix names.
std::vector<std::string> TranslateArgs(const std::vector<std::wstring>& args);

// The Linux program to run: `defaultPath`, or the Unix path in the environment variable
// `overrideVar` when it is set.
std::string LinuxProgram(const wchar_t* overrideVar, const char* defaultPath);

class LinuxJob {
 public:
  LinuxJob();
  ~LinuxJob();
  LinuxJob(const LinuxJob&) = delete;
  LinuxJob& operator=(const LinuxJob&) = delete;

  // The Unix name of a file in the job's folder (for options like -progress).
  std::string UnixFile(const char* name) const;

  // Starts `program` with `args` (already Unix-side text): standard output to "out",
  // standard error to "err" (or to "out" with mergeStderr). False, with a message on
  // standard error, when it cannot start.
  bool Start(const std::string& program, const std::vector<std::string>& args, bool mergeStderr,
             bool lineBuffered);

  // Sleeps between polls, calls `poll` after each, and returns the program's exit status
  // once it has ended (127 when it could not be found, 126 when the Linux side never
  // answered or ended without the status).
  int Wait(const std::function<void()>& poll);

  // What a file of the folder gained since the last call for that name.
  std::string ReadNew(const char* name);
  // The whole file.
  std::string ReadAll(const char* name) const;

 private:
  std::wstring File(const char* name) const;
  bool ShellLives(const std::string& pid) const;

  std::wstring dir_;  // Windows name, with a trailing backslash
  std::string unixDir_;
  std::map<std::string, unsigned long long> offsets_;
  HANDLE alive_ = INVALID_HANDLE_VALUE;  // locked while the bridge lives
};

// What ffprobe says of a media file: "codec,width,height" for each stream, and the
// duration in seconds (-1 when ffprobe could not run or said nothing).
struct MediaInfo {
  std::vector<std::string> streams;
  double duration = -1;
};
MediaInfo ProbeMedia(const std::wstring& path);

// Writes `text` to standard output (or error) at once, whatever the handle is.
void Print(const std::string& text, bool toStderr = false);

}  // namespace bridge
