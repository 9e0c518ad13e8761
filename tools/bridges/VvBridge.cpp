// vv.exe for the 3GP converter on Linux hosts: runs Debian's ffmpeg on the given
// arguments (the H.264 preset file named by -fpre is read by ffmpeg itself) and keeps
// the thousandths done in progress.txt beside this program: 0 to 999 while it works,
// 1000 after a good end. ffmpeg's exit status is this program's; a failed run leaves
// the file short of 1000.
#include "Bridge.h"
#include "BridgeText.h"

namespace {

// Rewrites the progress file in one write, shared so that a reader may hold it open.
void WriteProgress(const std::wstring& path, int value) {
  const std::string text = std::to_string(value);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  SetEndOfFile(h);
  CloseHandle(h);
}

}  // namespace

int wmain() {
  using namespace bridge;
  const std::wstring progressFile = ExeDir() + L"progress.txt";
  LinuxJob job;
  std::vector<std::string> args = {"-nostdin", "-nostats", "-progress", job.UnixFile("progress")};
  for (std::string& a : TranslateArgs(Arguments())) args.push_back(std::move(a));
  if (!job.Start(LinuxProgram(L"ZV_BRIDGE_FFMPEG", "/usr/bin/ffmpeg"), args, false, false)) {
    return 126;
  }
  std::string progress, log;
  std::optional<double> length;
  int shown = -1;
  const int code = job.Wait([&] {
    if (!length && log.size() < 262144) {
      log += job.ReadNew("err");
      length = InputDuration(log);
    }
    progress += job.ReadNew("progress");
    std::optional<double> done = LastOutTime(progress);
    int value = PerMille(done.value_or(0), length);
    if (value > shown) {
      WriteProgress(progressFile, value);
      shown = value;
    }
    if (progress.size() > 65536)
      progress.erase(0, progress.rfind('\n', progress.size() - 4096) + 1);
  });
  if (code == 0) {
    WriteProgress(progressFile, 1000);
  } else {
    Print(Tail(job.ReadAll("err"), 4096), true);
  }
  return code;
}
