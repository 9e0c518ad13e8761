// A scripted stand-in for the encoder vv.exe, for tests. It is started with the encoder's
// command line; every argument that is a step below is carried out in order, everything
// else (the encoder's own options) is ignored. Without any step in the arguments the
// steps come from "vvscript.txt" beside the program (blank-separated), if it exists.
//   sleep:MS        pause
//   progress:V      write V into progress.txt beside the program
//   run:MS:N        run for MS milliseconds, writing N per-mille values up to 1000
//   touch           create the output file (the command's last argument)
//   exit:CODE       end now with that exit code
//   hang            wait forever
// Each start appends its process id and command line to "vvlog.txt" beside the program. After the last
// step it exits with code 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string Beside(const char* name) {
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

void WriteProgress(int value) {
  // Replaced whole, as the reader opens it any time.
  if (FILE* f = std::fopen(Beside("progress.txt").c_str(), "w")) {
    std::fprintf(f, "%d", value);
    std::fclose(f);
  }
}

bool IsStep(const std::string& a) {
  for (const char* p : {"sleep:", "progress:", "run:", "exit:"})
    if (a.rfind(p, 0) == 0) return true;
  return a == "hang" || a == "touch";
}
}  // namespace

int main(int argc, char** argv) {
  if (FILE* log = std::fopen(Beside("vvlog.txt").c_str(), "a")) {
    std::fprintf(log, "%lu %s\n", GetCurrentProcessId(), GetCommandLineA());
    std::fclose(log);
  }
  std::vector<std::string> steps;
  for (int i = 1; i < argc; ++i)
    if (IsStep(argv[i])) steps.push_back(argv[i]);
  if (steps.empty()) {
    std::ifstream script(Beside("vvscript.txt"));
    std::string step;
    while (script >> step) steps.push_back(step);
  }
  for (const std::string& step : steps) {
    const std::string arg = step.substr(step.find(':') + 1);
    if (step.rfind("sleep:", 0) == 0) {
      Sleep(DWORD(std::atoi(arg.c_str())));
    } else if (step.rfind("progress:", 0) == 0) {
      WriteProgress(std::atoi(arg.c_str()));
    } else if (step.rfind("run:", 0) == 0) {
      const int ms = std::atoi(arg.c_str());
      const std::size_t colon = arg.find(':');
      const int n = std::max(1, colon == std::string::npos ? 10 : std::atoi(arg.c_str() + colon + 1));
      for (int k = 1; k <= n; ++k) {
        Sleep(DWORD(ms / n));
        WriteProgress(k * 1000 / n);
      }
    } else if (step == "touch") {
      if (argc > 1) std::ofstream(argv[argc - 1], std::ios::binary) << "3gp";
    } else if (step.rfind("exit:", 0) == 0) {
      return std::atoi(arg.c_str());
    } else if (step == "hang") {
      Sleep(INFINITE);
    }
  }
  return 0;
}
