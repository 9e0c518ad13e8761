// Reads a child's 1,000,000 lines of 60 bytes (a) through TDosCommand, every line
// delivered to a handler on the UI thread, and (b) through a plain blocking ReadFile loop
// on a pipe, and (c) times writing as much text as the runner keeps of them into fresh
// memory, which the plain loop never does; then measures the CPU the runner's process
// spends while a silent child waits. Also reads 100 MB written as one line without an end,
// against 100 MB of short lines, through the runner: the process's peak memory is taken
// after the first such run, which comes before anything else. A warm-up, then rounds side
// by side; medians printed.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "DosCommand.h"
#include "forms/Forms.h"
#include "BenchKit.h"

namespace {

constexpr int kLines = 1000000;
constexpr double kBytes = kLines * 60.0;
constexpr long long kLongLine = 100000000;
constexpr long long kShortLines = kLongLine / 60;
constexpr int kRounds = 7;
constexpr int kIdleRounds = 3;
constexpr double kSettleSeconds = 1;
// Wine counts a process's CPU time in 10 ms ticks: ten seconds resolve 0.001 CPU-s/s.
constexpr double kIdleSeconds = 10;

std::string Child() {
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, n);
  return "\"" + dir.substr(0, dir.find_last_of('\\') + 1) + "testchild.exe\"";
}

// (a) Seconds for a child's output through the runner, or -1 unless its complete lines
// (empty ones aside) come to `lines` lines of `bytes` bytes without their line ends.
double ThroughRunner(TComponent* owner, const std::string& steps, long long lines,
                     long long bytes) {
  auto* runner = new TDosCommand(owner);
  long long gotLines = 0, gotBytes = 0;
  runner->OnNewLine = [&](TObject*, std::string line, TOutputType type) {
    // A CR LF pair split between two reads adds an empty line: not output lost or added.
    if (type != otEntireLine || line.empty()) return;
    ++gotLines;
    gotBytes += static_cast<long long>(line.size());
  };
  runner->CommandLine = Child() + " " + steps;
  const double start = bench::Now();
  runner->Start();
  while (runner->IsRunning()) Application->HandleMessage();
  const double took = bench::Now() - start;
  runner->Stop();
  delete runner;
  return gotLines == lines && gotBytes == bytes ? took : -1;
}

double ThroughRunner(TComponent* owner) {
  return ThroughRunner(owner, "fixed:" + std::to_string(kLines), kLines, kLines * 58LL);
}

double OneLongLine(TComponent* owner) {
  return ThroughRunner(owner, "noeol:" + std::to_string(kLongLine), 1, kLongLine);
}

// The most memory this process has held so far, in MB. Wine fills in only the peak
// working set; Windows also the peak of committed memory, which may be the larger.
double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return double(std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage)) / (1 << 20);
}

// (b) Seconds for the whole output through a blocking read loop.
double ThroughReadFile() {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &sa, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = si.hStdError = write;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  std::string cmd = Child() + " fixed:" + std::to_string(kLines);
  const double start = bench::Now();
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr,
                      nullptr, &si, &pi))
    return -1;
  CloseHandle(write);
  std::vector<char> buffer(65536);
  long long bytes = 0;
  DWORD got = 0;
  while (ReadFile(read, buffer.data(), DWORD(buffer.size()), &got, nullptr) && got > 0)
    bytes += got;
  const double took = bench::Now() - start;
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(read);
  return bytes == static_cast<long long>(kBytes) ? took : -1;
}

// (c) Seconds to write the text of the lines (without their line breaks) into fresh
// blocks of the size the runner's reads fill, all kept until the end as Lines keeps them.
double FreshMemory() {
  constexpr std::size_t kBlock = 256 * 1024;
  std::vector<std::string> blocks;
  const double start = bench::Now();
  for (double left = kLines * 58.0; left > 0; left -= kBlock) {
    blocks.emplace_back();
    blocks.back().resize(kBlock, 'x');
  }
  return bench::Now() - start;
}

// CPU seconds per wall second of this process while the runner waits on a child that
// writes nothing and never ends, the UI thread pumping messages; the child's start is
// left out of the measurement.
double IdleCost(TComponent* owner) {
  auto* runner = new TDosCommand(owner);
  runner->CommandLine = Child() + " hang";
  runner->Start();
  const auto pumpFor = [](double seconds) {
    const double end = bench::Now() + seconds;
    while (bench::Now() < end) Application->HandleMessage();  // the clock ticks every second
  };
  pumpFor(kSettleSeconds);
  const double cpu0 = bench::ProcessCpuSeconds(), wall0 = bench::Now();
  pumpFor(kIdleSeconds);
  const double cost = (bench::ProcessCpuSeconds() - cpu0) / (bench::Now() - wall0);
  runner->Stop();
  delete runner;
  return cost;
}

}  // namespace

int main() {
  TApplication application;
  TComponent owner(nullptr);
  std::vector<double> runner, plain, fresh, idle, shortLines, longLine;
  longLine.push_back(OneLongLine(&owner));  // first: the peak so far is its own
  const double peak = PeakMegabytes();
  ThroughRunner(&owner);  // warm-up: the first start of a program under Wine is slow
  ThroughReadFile();
  for (int round = 0; round < kRounds; ++round) {
    runner.push_back(ThroughRunner(&owner));
    plain.push_back(ThroughReadFile());
    fresh.push_back(FreshMemory());
    shortLines.push_back(ThroughRunner(&owner, "fixed:" + std::to_string(kShortLines), kShortLines,
                                       kShortLines * 58));
    if (round > 0) longLine.push_back(OneLongLine(&owner));
    std::printf(
        "round %d: runner %.3f s, ReadFile %.3f s, fresh memory %.3f s; 100 MB: short lines %.3f "
        "s, one line %.3f s\n",
        round + 1, runner.back(), plain.back(), fresh.back(), shortLines.back(), longLine.back());
  }
  for (int round = 0; round < kIdleRounds; ++round) {
    idle.push_back(IdleCost(&owner));
    std::printf("idle round %d: %.4f CPU-s/s\n", round + 1, idle.back());
  }
  const auto lost = [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end()) < 0;
  };
  if (lost(runner) || lost(plain) || lost(shortLines) || lost(longLine)) {
    std::printf("FAILED: output lost\n");
    return 1;
  }
  const double a = kBytes / 1e6 / bench::Median(runner), b = kBytes / 1e6 / bench::Median(plain);
  std::printf("runner, every line to a UI-thread handler: %.1f MB/s (%.0f lines/s)\n", a,
              kLines / bench::Median(runner));
  std::printf("plain blocking ReadFile loop:              %.1f MB/s (%.0f lines/s)\n", b,
              kLines / bench::Median(plain));
  std::printf("ratio runner / ReadFile: %.2f (target >= 0.8)\n", a / b);
  // The runner must write what it keeps, on its reading thread; the plain loop reuses one
  // warm buffer.
  std::printf(
      "writing the kept text to fresh memory alone: %.3f s (%.2f of the plain loop's time)\n",
      bench::Median(fresh), bench::Median(fresh) / bench::Median(plain));
  std::printf("idle cost with a silent child: %.4f CPU-s per s (target <= 0.002)\n",
              bench::Median(idle));
  // Targets: peak <= 400 MB, ratio <= 3.
  std::printf("one 100 MB line: peak %.0f MB, %.2f s, ratio %.2f\n", peak, bench::Median(longLine),
              bench::Median(longLine) / bench::Median(shortLines));
  return 0;
}
