// Prints (label bench): the converter's CPU seconds per wall second while the encoder
// stand-in runs 20 s printing a progress marker ten times a second (target at most
// 0.01), and over a batch of 20 short jobs the pause from one encoder's end to the next
// one's start (target: median under 50 ms), as the stand-ins' own clocks see it and as
// the converter sees it (from the end of a run reaching it to the next start call), and
// the plan a batch makes before its first job (every job against every source) for 500
// jobs, all skipped so that nothing else runs.
// The window is skinned as the program starts it, and each figure says whether it was.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ZorvelBench.h"

namespace {

// The form's list: `count` files `prefix`N`ext` with the given content, made first.
void Fill(TFrmMain* form, const std::string& prefix, const std::string& ext, int count,
          const std::string& content) {
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i) {
    files.push_back(prefix + std::to_string(i) + ext);
    std::ofstream(files.back(), std::ios::binary) << content;
  }
  bench::AddFiles(*form, files);
}

// Asked, not assumed: the skinned window answers the skin query.
const char* SkinnedAnswer(TFrmMain* form) {
  return bench::Skinned(form->Handle()) ? "yes" : "NO";
}

void Measure(TFrmMain& mainForm) {
  TFrmMain* form = &mainForm;
  const std::string dir =
      bench::ExeDir() + "batchbench.tmp\\" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA((bench::ExeDir() + "batchbench.tmp").c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  form->SetAppDir(bench::ExeDir() + "doubles\\");
  form->edtSaveDir->SetText(dir + "out\\");

  // 1. One long encode: 200 markers, 100 ms apart.
  Fill(form, dir + "long", ".avs", 1, "ZVDOUBLE\nencode: markers:200:100:0.1 write\n");
  form->GetFileInfo(0)->Duration = 20;
  int lines = 0;
  auto handler = form->DosCommand1->OnNewLine;
  form->DosCommand1->OnNewLine = [&](TObject* s, std::string line, TOutputType t) {
    ++lines;
    handler(s, std::move(line), t);
  };
  const double cpu0 = bench::ProcessCpuSeconds(), ui0 = bench::ThreadCpuSeconds(), wall0 = bench::Now();
  form->btnConvert->Click();
  const double cpu = bench::ProcessCpuSeconds() - cpu0, ui = bench::ThreadCpuSeconds() - ui0, wall = bench::Now() - wall0;
  std::printf(
      "bench: batch wait, one 20 s encode with 10 markers/s: %.2f s wall, %.3f s CPU, "
      "%.4f CPU s per wall s (target <= 0.01; a spinning wait ~1.0), of which the UI thread "
      "%.4f (the rest is the runner's reader thread), %d lines, status %s, window skinned: %s\n",
      wall, cpu, cpu / wall, ui / wall, lines,
      form->GetFileInfo(0)->Status == zorvel_text::kDone ? "done" : "FAILED", SkinnedAnswer(form));

  // 2. Twenty short jobs: the stand-in writes its output and ends at once.
  form->DosCommand1->OnNewLine = handler;
  form->btnClearClick(form);
  Fill(form, dir + "short", ".avs", 20, "plain source\n");
  const std::string log = dir + "calls.log";
  SetEnvironmentVariableA("ZV_DOUBLE_LOG", log.c_str());
  std::vector<double> ends, starts;  // as the converter sees them
  form->DosCommand1->OnTerminated = [&](TObject* s) {
    ends.push_back(bench::Now());
    form->DosCommand2Terminated(s);
  };
  // The next start follows the label's change to the next job, on the same call path.
  auto labelProc = form->lblInfo->WindowProc;
  form->lblInfo->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SETTEXT) starts.push_back(bench::Now());
    labelProc(m);
  };
  const double batch0 = bench::Now();
  form->btnConvert->Click();
  const double batchWall = bench::Now() - batch0;
  form->lblInfo->WindowProc = labelProc;
  SetEnvironmentVariableA("ZV_DOUBLE_LOG", nullptr);

  std::vector<double> childGaps, formGaps;
  std::vector<unsigned long long> childStart, childEnd;
  std::istringstream in([&] {
    std::ifstream f(log, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }());
  for (std::string line; std::getline(in, line);) {
    unsigned long long ticks = 0;
    char what[8] = {};
    if (std::sscanf(line.c_str(), "%llu %7s", &ticks, what) != 2) continue;
    (std::string(what) == "start" ? childStart : childEnd).push_back(ticks);
  }
  for (std::size_t i = 0; i + 1 < childEnd.size() && i + 1 < childStart.size(); ++i)
    childGaps.push_back(double(childStart[i + 1] - childEnd[i]) / 1e4);
  // starts[0] is the first job's label; the label of job i+1 follows the end of job i.
  for (std::size_t i = 0; i + 1 < starts.size() && i < ends.size(); ++i)
    formGaps.push_back((starts[i + 1] - ends[i]) * 1000);
  int done = 0;
  for (int i = 0; i < form->FileCount(); ++i)
    done += form->GetFileInfo(i)->Status == zorvel_text::kDone;
  std::printf(
      "bench: batch of 20 short jobs: %.2f s, %d done; end-to-next-start median %.1f ms as the "
      "stand-ins' clocks see it (includes starting a process under Wine), %.2f ms inside the "
      "converter (end of run handled to next start; target median < 50 ms), window skinned: %s\n",
      batchWall, done, bench::Median(childGaps), bench::Median(formGaps), SkinnedAnswer(form));

  // 3. The plan alone: 500 sources that already are the AVI files of the output folder.
  form->btnClearClick(form);
  Fill(form, dir + "out\\own", ".avi", 500, "plain source\n");
  const double plan0 = bench::Now();
  form->btnConvert->Click();
  const double planWall = bench::Now() - plan0;
  int skipped = 0;
  for (int i = 0; i < form->FileCount(); ++i)
    skipped += form->GetFileInfo(i)->Status == zorvel_text::kSkipped;
  std::printf(
      "bench: batch plan of 500 jobs, each checked against every source: %.3f s, %d "
      "skipped, window skinned: %s\n",
      planWall, skipped, SkinnedAnswer(form));
}

}  // namespace

int main() {
  bench::WithMainForm(Measure);
  return 0;
}
