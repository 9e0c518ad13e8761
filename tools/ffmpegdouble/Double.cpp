// A scripted stand-in for the encoder (ENCODER_ROLE) or the duration probe. It reads
// its script from the source file it is given: a file that starts with "ZVDOUBLE"
// holds lines "encode: STEP..." and "probe: STEP...", each step one of
//   out:TEXT   write TEXT (escapes as the test child's) to standard output
//   err:TEXT   the same to standard error
//   sleep:MS   pause
//   waitfor:PATH  pause until that file exists (at most 60 s)
//   markers:N:MS:STEP  N progress markers, one every MS ms, seconds going up by STEP
//   write      write the output file (the encoder's last argument)
//   exit:CODE  end now with that exit code
//   hang       wait forever
// Without a script the encoder writes the output file and ends with code 0, the probe
// prints nothing. With ZV_DOUBLE_LOG set, each start and end is appended to that file
// as "<100 ns ticks> start|end <command line>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Script.h"
#include "Steps.h"

using testchild::WriteAll;

namespace {

#ifdef ENCODER_ROLE
const char kRole[] = "encode:";
#else
const char kRole[] = "probe:";
#endif

void Log(const char* what) {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("ZV_DOUBLE_LOG", path, sizeof path)) return;
  FILETIME t;
  GetSystemTimePreciseAsFileTime(&t);
  const unsigned long long ticks = (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  // Several doubles may log at once: each line is one append.
  HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  const std::string line = std::to_string(ticks) + " " + what + " " + GetCommandLineA() + "\r\n";
  DWORD done = 0;
  WriteFile(f, line.data(), DWORD(line.size()), &done, nullptr);
  CloseHandle(f);
}

int Finish(int code) {
  Log("end");
  return code;
}

std::vector<std::string> ScriptSteps(const std::string& source) {
  std::ifstream in(source, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line) || line.rfind("ZVDOUBLE", 0) != 0) return {};
  std::vector<std::string> steps;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kRole, 0) != 0) continue;
    std::istringstream words(line.substr(sizeof kRole - 1));
    for (std::string w; words >> w;) steps.push_back(w);
  }
  return steps;
}

void WriteOutput(const std::string& output, const std::string& source) {
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out << "RIFF double output of " << source << "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  Log("start");
  std::string source, output;
#ifdef ENCODER_ROLE
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "-i") source = argv[i + 1];
  if (argc > 1) output = argv[argc - 1];
#else
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "-msglevel" || a == "-vo" || a == "-ao") && i + 1 < argc) {
      ++i;
    } else if (!a.empty() && a[0] != '-') {
      source = a;
      break;
    }
  }
#endif
  const std::vector<std::string> steps = ScriptSteps(source);
#ifdef ENCODER_ROLE
  if (steps.empty()) {
    WriteOutput(output, source);
    return Finish(0);
  }
#endif
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  for (const std::string& step : steps) {
    const std::string arg = step.substr(step.find(':') + 1);
    if (testchild::RunCommonStep(step)) continue;
    if (step.rfind("waitfor:", 0) == 0) {
      for (int i = 0; i < 6000 && GetFileAttributesA(arg.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(10);
    } else if (step.rfind("markers:", 0) == 0) {
      int n = 0, ms = 0;
      double each = 0;
      std::sscanf(arg.c_str(), "%d:%d:%lf", &n, &ms, &each);
      for (int k = 1; k <= n; ++k) {
        char line[96];
        std::snprintf(line, sizeof line,
                      "frame=%d ffmpeg_release_time=%.2f=ffmpeg_release_time\r\n", k, k * each);
        WriteAll(out, line);
        if (ms > 0) Sleep(DWORD(ms));
      }
    } else if (step == "write") {
      WriteOutput(output, source);
    } else if (step.rfind("exit:", 0) == 0) {
      return Finish(std::atoi(arg.c_str()));
    } else if (step == "hang") {
      Sleep(INFINITE);
    } else {
      WriteAll(err, "double: unknown step " + step + "\n");
      return Finish(99);
    }
  }
  return Finish(0);
}
