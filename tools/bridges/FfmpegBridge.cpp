// ffmpeg.exe for the AVI converter on Linux hosts: runs Debian's ffmpeg on the given
// arguments and prints the seconds done as "ffmpeg_release_time=" lines on standard
// output while it works; ffmpeg's exit status is this program's.
#include "Bridge.h"
#include "BridgeText.h"

int wmain() {
  using namespace bridge;
  LinuxJob job;
  std::vector<std::string> args = {"-nostdin", "-nostats", "-progress", job.UnixFile("progress")};
  for (std::string& a : TranslateArgs(Arguments())) args.push_back(std::move(a));
  if (!job.Start(LinuxProgram(L"ZV_BRIDGE_FFMPEG", "/usr/bin/ffmpeg"), args, false, false)) {
    return 126;
  }
  std::string progress;
  std::optional<double> shown;
  const int code = job.Wait([&] {
    progress += job.ReadNew("progress");
    std::optional<double> done = LastOutTime(progress);
    if (done && done != shown) {
      Print(ReleaseTimeLine(*done) + "\r\n");
      shown = done;
    }
    // Only the last report matters; keep the text short on long runs.
    if (progress.size() > 65536)
      progress.erase(0, progress.rfind('\n', progress.size() - 4096) + 1);
  });
  if (code != 0) Print(Tail(job.ReadAll("err"), 4096), true);
  return code;
}
