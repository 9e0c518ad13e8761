// mplayer.exe for the duration probe on Linux hosts: runs Debian's mplayer on the given
// arguments and passes its output on, line by line as it comes. The probe's "2>&1" and
// "|grep PATTERN" arrive as plain arguments; they are done here as a shell would (the
// error output joined, only lines holding the pattern shown) instead of being handed
// to the player as file names. mplayer's exit status is this program's.
#include "Bridge.h"
#include "BridgeText.h"

int wmain() {
  using namespace bridge;
  ProbeArgs probe = SplitProbeArgs(Arguments());
  LinuxJob job;
  if (!job.Start(LinuxProgram(L"ZV_BRIDGE_MPLAYER", "/usr/bin/mplayer"), TranslateArgs(probe.args),
                 probe.mergeStderr, true)) {
    return 126;
  }
  std::string carry;
  const auto pass = [&](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      if (!probe.grep || line.find(*probe.grep) != std::string::npos) Print(line + "\r\n");
    }
  };
  const int code = job.Wait([&] {
    pass(TakeLines(carry, job.ReadNew("out")));
    if (!probe.mergeStderr) Print(job.ReadNew("err"), true);
  });
  pass(TakeLines(carry, "\n"));
  return code;
}
