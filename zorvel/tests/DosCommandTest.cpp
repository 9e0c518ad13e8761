#include "DosCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <set>

#include "Script.h"
#include "TestKit.h"
#include "forms/Forms.h"

// Set on a worker whose failure is made to look as memory running out: from then on every
// allocation of that thread fails, as it would. (The library's delete frees with free.)
thread_local bool tAllocationsFail = false;

void* operator new(std::size_t size) {
  if (tAllocationsFail) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

namespace {

std::string Child() { return "\"" + testkit::ExeDir() + "testchild.exe\""; }

// One runner with its events written down as text: "B:text" for the beginning of a
// line, "E:text" for a complete line, "T" for the end of the run.
struct Recorder {
  TComponent owner{nullptr};
  TDosCommand* runner = new TDosCommand(&owner);
  std::vector<std::string> events;
  int terminated = 0;

  Recorder() {
    runner->OnNewLine = [this](TObject* sender, std::string line, TOutputType type) {
      EXPECT_EQ(sender, runner);
      events.push_back((type == otEntireLine ? "E:" : "B:") + line);
    };
    runner->OnTerminated = [this](TObject* sender) {
      EXPECT_EQ(sender, runner);
      events.push_back("T");
      ++terminated;
    };
  }

  void Run(const std::string& args, DWORD timeoutMs = 20000) {
    runner->CommandLine = Child() + " " + args;
    runner->Start();
    ASSERT_TRUE(testkit::PumpUntil([&] { return !runner->IsRunning(); }, timeoutMs));
    runner->Stop();
  }

  std::vector<std::string> Lines() const { return runner->Lines.Items(); }
};

struct SplitCase {
  const char* args;
  std::vector<std::string> events;
  std::vector<std::string> lines;
};

TEST(DosCommand, CutsOutputIntoLines) {
  const SplitCase cases[] = {
      {"", {"T"}, {}},
      {"out:abc", {"B:abc", "E:abc", "T"}, {"abc"}},
      {"out:a\\r\\nb\\n", {"E:a", "E:b", "T"}, {"a", "b"}},
      {"out:a\\n\\nb", {"E:a", "E:", "B:b", "E:b", "T"}, {"a", "", "b"}},
      {"out:a\\rb", {"E:a", "B:b", "E:b", "T"}, {"a", "b"}},
      {"out:\\n\\r", {"E:", "E:", "T"}, {"", ""}},
      {"out:a\\0b\\0\\n", {"E:ab", "T"}, {"ab"}},
      {"err:oops\\r\\n", {"E:oops", "T"}, {"oops"}},
      // A line in two reads: its beginning is shown, then replaced by the whole line.
      {"out:ab sleep:300 out:c\\n", {"B:ab", "E:abc", "T"}, {"abc"}},
      {"out:ab sleep:500 out:cd sleep:500 out:e\\n", {"B:ab", "B:abcd", "E:abcde", "T"}, {"abcde"}},
      // CR ending one read and LF starting the next are two line ends.
      {"out:a\\r sleep:300 out:\\nb\\n", {"E:a", "E:", "E:b", "T"}, {"a", "", "b"}},
      // 8-bit text passes unchanged.
      {"out:\\xd7\\xaa\\xbb\\xbb\\n", {"E:\xd7\xaa\xbb\xbb", "T"}, {"\xd7\xaa\xbb\xbb"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.args);
    Recorder r;
    r.Run(c.args);
    EXPECT_EQ(r.events, c.events);
    EXPECT_EQ(r.Lines(), c.lines);
  }
}

TEST(DosCommand, EmptyCommandLineIsRefusedAndLinesKept) {
  Recorder r;
  r.Run("out:kept\\n");
  r.runner->CommandLine.clear();
  try {
    r.runner->Start();
    FAIL() << "Start ran without a command line";
  } catch (const EDosCommand& e) {
    EXPECT_EQ(e.Message(), "No Commandline to execute");
  }
  EXPECT_EQ(r.Lines(), std::vector<std::string>{"kept"});
  EXPECT_FALSE(r.runner->IsRunning());
}

TEST(DosCommand, MissingProgramEndsTheRunAndTellsTheUser) {
  testkit::ClearMessageBoxes();
  Recorder r;
  const std::string command = "\"" + testkit::ExeDir() + "no-such-program.exe\" -x";
  r.runner->CommandLine = command;
  r.runner->Start();
  ASSERT_TRUE(testkit::PumpUntil([&] { return !r.runner->IsRunning(); }, 10000));
  EXPECT_EQ(r.events, std::vector<std::string>{"T"});
  EXPECT_FALSE(r.runner->ExitCode().has_value());
  ASSERT_EQ(testkit::MessageBoxes().size(), 1u);
  EXPECT_EQ(testkit::MessageBoxes()[0].text, command + " doesn't exist.");
  r.runner->Stop();
  EXPECT_EQ(r.terminated, 1);
}

TEST(DosCommand, ExitCodeIsKeptAfterTheRun) {
  const std::pair<const char*, unsigned long> cases[] = {
      {"out:x", 0}, {"exit:3", 3}, {"out:y\\n exit:1", 1},
      // The code that means "still active" must not keep the run going forever.
      {"exit:259", 259}};
  for (const auto& [args, code] : cases) {
    SCOPED_TRACE(args);
    Recorder r;
    r.Run(args);
    ASSERT_TRUE(r.runner->ExitCode().has_value());
    EXPECT_EQ(*r.runner->ExitCode(), code);
  }
}

TEST(DosCommand, OneRunnerServesRunAfterRun) {
  Recorder r;
  r.Run("out:one\\n");
  r.Run("out:two\\nthree\\n exit:2");
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{"two", "three"}));
  EXPECT_EQ(r.events, (std::vector<std::string>{"E:one", "T", "E:two", "E:three", "T"}));
  EXPECT_EQ(r.runner->ExitCode(), 2u);
}

TEST(DosCommand, ChangesDuringARunDoNotReachIt) {
  Recorder r;
  r.runner->CommandLine = Child() + " out:a\\n sleep:300 out:b\\n";
  r.runner->Start();
  r.runner->CommandLine = "changed";
  std::vector<std::string> other;
  r.runner->OnNewLine = [&](TObject*, std::string line, TOutputType) { other.push_back(line); };
  ASSERT_TRUE(testkit::PumpUntil([&] { return !r.runner->IsRunning(); }, 10000));
  r.runner->Stop();
  EXPECT_EQ(r.events, (std::vector<std::string>{"E:a", "E:b", "T"}));
  EXPECT_TRUE(other.empty());
}

TEST(DosCommand, EveryChildsOwnExitCodeIsKeptUnderLoad) {
  // Eight runners at once, each waited for the way the converter waits for its encoder;
  // each short child says a line and exits with a code of its own.
  constexpr int kRunners = 8, kRuns = 96;
  TComponent owner(nullptr);
  std::vector<std::pair<TDosCommand*, int>> slots;  // a runner and the run it does
  int next = 0, done = 0;
  std::vector<int> wrong;
  const auto startNext = [&](std::pair<TDosCommand*, int>& slot) {
    const std::string n = std::to_string(slot.second = next++);
    slot.first->CommandLine = Child() + " out:" + n + "\\n exit:" + n;
    if (slot.second < kRuns) slot.first->Start();
  };
  for (int i = 0; i < kRunners; ++i) startNext(slots.emplace_back(new TDosCommand(&owner), 0));
  const auto allEnded = [&] {
    for (auto& slot : slots) {
      const auto& [runner, run] = slot;
      if (run >= kRuns || runner->IsRunning()) continue;
      runner->Stop();
      if (runner->ExitCode() != static_cast<unsigned long>(run) ||
          runner->Lines.Items() != std::vector{std::to_string(run)})
        wrong.push_back(run);
      ++done;
      startNext(slot);
    }
    return done == kRuns;
  };
  EXPECT_TRUE(testkit::PumpUntil(allEnded, 120000)) << done << " of " << kRuns << " runs ended";
  EXPECT_THAT(wrong, testing::IsEmpty()) << "runs that lost their exit code or line";
}

// ---------------------------------------------------------------------------------------
// Time limits and stopping

std::set<DWORD> OurChildren() {
  std::set<DWORD> pids;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32First(snap, &e); ok; ok = Process32Next(snap, &e))
    if (e.th32ParentProcessID == GetCurrentProcessId()) pids.insert(e.th32ProcessID);
  CloseHandle(snap);
  return pids;
}

bool ProcessEnded(DWORD pid) {
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!h) return true;
  const bool ended = WaitForSingleObject(h, 5000) == WAIT_OBJECT_0;
  CloseHandle(h);
  return ended;
}

TEST(DosCommand, SilenceLongerThanTheLimitEndsTheRunButNotTheChild) {
  Recorder r;
  r.runner->MaxTimeAfterLastOutput = 1;
  const ULONGLONG start = GetTickCount64();
  r.Run("out:x\\n sleep:6000 out:late\\n");
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_EQ(r.events, (std::vector<std::string>{"E:x", "T"}));
  EXPECT_FALSE(r.runner->ExitCode().has_value());
  // Ended by the limit (two ticks of silence), well before the child's own end.
  EXPECT_GE(took, 1500u);
  EXPECT_LT(took, 5500u);
}

TEST(DosCommand, SteadyOutputIsNotCutByTheSilenceLimit) {
  Recorder r;
  // Two seconds of allowed silence against 0.3 s gaps: room for a busy machine.
  r.runner->MaxTimeAfterLastOutput = 2;
  std::string args;
  for (int i = 0; i < 10; ++i) args += " out:tick\\n sleep:300";
  r.Run(args);
  EXPECT_EQ(r.Lines().size(), 10u);
  EXPECT_EQ(r.runner->ExitCode(), 0u);
}

TEST(DosCommand, RunLongerThanTheLimitEnds) {
  Recorder r;
  r.runner->MaxTimeAfterBeginning = 1;
  std::string args;
  for (int i = 0; i < 30; ++i) args += " out:tick\\n sleep:200";
  r.Run(args);
  EXPECT_FALSE(r.runner->ExitCode().has_value());
  EXPECT_LT(r.Lines().size(), 30u);
  EXPECT_EQ(r.events.back(), "T");
}

TEST(DosCommand, StopOrAFailingWorkerEndsTheChildAndTheRun) {
  // failAfter: the worker fails (memory running out, say) after so many bytes; 0: Stop.
  const struct {
    std::size_t failAfter;
    std::vector<std::string> events, boxes;
  } cases[] = {{0, {"E:start", "B:partial", "E:partial", "T"}, {}},
               {7, {"E:start", "T"}, {"Out of memory"}}};
  // Once memory has run out, nothing more can be made: the end of the run must not need to.
  TDosThread::OnFailureForTests = [] { tAllocationsFail = true; };
  for (const auto& [failAfter, events, boxes] : cases) {
    SCOPED_TRACE(failAfter);
    testkit::ClearMessageBoxes();
    Recorder r;
    const std::set<DWORD> before = OurChildren();
    TDosThread::FailAfterBytesForTests = failAfter;
    r.runner->CommandLine = Child() + " out:start\\n sleep:300 out:partial hang";
    r.runner->Start();
    TDosThread::FailAfterBytesForTests = 0;
    ASSERT_TRUE(testkit::PumpUntil([&] { return r.events.size() >= 1; }, 10000));
    std::vector<DWORD> started;
    for (DWORD pid : OurChildren())
      if (!before.count(pid)) started.push_back(pid);
    ASSERT_EQ(started.size(), 1u);
    ASSERT_TRUE(testkit::PumpUntil([&] { return r.events.size() >= 2; }, 10000));
    EXPECT_EQ(r.runner->IsRunning(), failAfter == 0);

    r.runner->Stop();
    // Everything of the run arrived inside Stop: the unfinished line as a complete one,
    // then the end.
    EXPECT_EQ(r.events, events);
    EXPECT_FALSE(r.runner->IsRunning());
    EXPECT_FALSE(r.runner->ExitCode().has_value());
    EXPECT_TRUE(ProcessEnded(started[0]));
    testkit::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(r.terminated, 1);
    std::vector<std::string> shown;
    for (const auto& box : testkit::MessageBoxes()) shown.push_back(box.text);
    EXPECT_EQ(shown, boxes);
  }
}

TEST(DosCommandVolume, StopCutsAFloodShortAndDeliversItsBeginningInOrder) {
  Recorder r;
  std::size_t lines = 0;
  r.runner->OnNewLine = [&](TObject*, std::string, TOutputType type) {
    if (type == otEntireLine) ++lines;
  };
  r.runner->CommandLine = Child() + " fixed:1000000";
  r.runner->Start();
  ASSERT_TRUE(testkit::PumpUntil([&] { return lines > 0; }, 10000));
  r.runner->Stop();
  const std::size_t atStop = lines;
  EXPECT_LT(atStop, 1000000u);
  EXPECT_FALSE(r.runner->IsRunning());
  EXPECT_FALSE(r.runner->ExitCode().has_value());
  EXPECT_EQ(r.events, std::vector<std::string>{"T"});
  testkit::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(lines, atStop) << "lines arrived after Stop";
  // The output's beginning, in order; the last line may be cut where Stop found it.
  std::vector<std::string> got;
  for (const std::string& line : r.Lines())
    if (!line.empty()) got.push_back(line);  // a CR LF split between reads adds one
  ASSERT_FALSE(got.empty());
  for (std::size_t i = 0; i + 1 < got.size(); ++i)
    ASSERT_EQ(got[i], testchild::FixedLine(int(i))) << "line " << i;
  EXPECT_EQ(testchild::FixedLine(int(got.size() - 1)).compare(0, got.back().size(), got.back()), 0);
}

TEST(DosCommand, RunEndsWithTheChildWhileAProcessItStartedHoldsTheOutput) {
  // The child ends at once; the process it started keeps the output open and writes
  // seconds later. The run ends with the child and what the child wrote.
  Recorder r;
  r.Run("out:a\\n \"spawn:sleep:3000 out:late\\n\" exit:7");
  EXPECT_EQ(r.events, (std::vector<std::string>{"E:a", "T"}));
  EXPECT_EQ(r.runner->ExitCode(), 7u);
}

TEST(DosCommand, StopFromALineHandlerEndsTheRunCleanly) {
  Recorder r;
  std::vector<std::string> seen;
  r.runner->OnNewLine = [&](TObject*, std::string line, TOutputType type) {
    if (type != otEntireLine) return;
    seen.push_back(line);
    if (line == "stop here") r.runner->Stop();
  };
  r.runner->CommandLine = Child() + " out:one\\n \"out:stop here\\n\" sleep:200 out:after\\n hang";
  r.runner->Start();
  ASSERT_TRUE(testkit::PumpUntil([&] { return r.terminated > 0; }, 10000));
  testkit::PumpUntil([] { return false; }, 300);
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "stop here"}));
  EXPECT_EQ(r.terminated, 1);
  EXPECT_FALSE(r.runner->IsRunning());
}

TEST(DosCommand, FreeingTheOwnerDuringARunEndsIt) {
  const std::set<DWORD> before = OurChildren();
  auto* owner = new TComponent(nullptr);
  auto* runner = new TDosCommand(owner);
  int lines = 0;
  runner->OnNewLine = [&](TObject*, std::string, TOutputType) { ++lines; };
  runner->CommandLine = Child() + " out:x\\n hang";
  runner->Start();
  ASSERT_TRUE(testkit::PumpUntil([&] { return lines > 0; }, 10000));
  std::vector<DWORD> started;
  for (DWORD pid : OurChildren())
    if (!before.count(pid)) started.push_back(pid);
  delete owner;
  ASSERT_EQ(started.size(), 1u);
  EXPECT_TRUE(ProcessEnded(started[0]));
  testkit::PumpUntil([] { return false; }, 100);  // nothing of the run may arrive now
}

TEST(DosCommand, HandlerThatPumpsMessagesSeesEveryLineOnceInOrder) {
  // A handler that shows a message box runs a message loop of its own, in which later
  // hand-overs of the same run arrive.
  Recorder r;
  std::vector<std::string> seen;
  r.runner->OnNewLine = [&](TObject*, std::string line, TOutputType type) {
    if (type != otEntireLine) return;
    seen.push_back(line);
    Application->ProcessMessages();
  };
  r.Run("lines:3000:9");
  std::vector<std::string> nonEmpty;
  for (const std::string& line : seen)
    if (!line.empty()) nonEmpty.push_back(line);
  EXPECT_EQ(nonEmpty, testchild::GeneratedLines(3000, 9));
  EXPECT_EQ(seen, r.Lines());
  EXPECT_EQ(r.terminated, 1);
}

// ---------------------------------------------------------------------------------------
// Volume: the DosCommandVolume cases (the flood above too) run as a test of their own, on
// an unchecked heap; on the checked heap of the other tests they take many minutes.

TEST(DosCommandVolume, AMillionLinesArriveWholeAndInOrder) {
  constexpr int kLines = 1000000;
  Recorder r;
  int entire = 0, wrong = 0;
  r.runner->OnNewLine = [&](TObject*, std::string line, TOutputType type) {
    // A CR LF pair split between two reads is two line ends: the empty line is allowed.
    if (type != otEntireLine || line.empty()) return;
    if (line != testchild::FixedLine(entire)) ++wrong;
    ++entire;
  };
  r.Run("fixed:" + std::to_string(kLines), 120000);
  EXPECT_EQ(entire, kLines);
  EXPECT_EQ(wrong, 0);
  int kept = 0;
  for (const std::string& line : r.runner->Lines.Items()) {
    if (line.empty()) continue;
    ASSERT_EQ(line, testchild::FixedLine(kept)) << "line " << kept;
    ++kept;
  }
  EXPECT_EQ(kept, kLines);
  EXPECT_EQ(r.events, std::vector<std::string>{"T"});
}

TEST(DosCommandVolume, LargeMixedOutputLosesAndReordersNothing) {
  constexpr int kLines = 100000;
  constexpr std::uint32_t kSeed = 42;
  Recorder r;
  r.Run("lines:" + std::to_string(kLines) + ":" + std::to_string(kSeed), 120000);
  const auto expected = testchild::GeneratedLines(kLines, kSeed);

  // A CR LF pair that the pipe splits across two reads is two line ends, so an empty
  // line may follow a line that ended in CR LF (every third, from the second); nothing
  // else may differ.
  std::vector<std::string> got;
  std::size_t extraEmpty = 0;
  const auto& lines = r.runner->Lines.Items();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) {
      ASSERT_FALSE(got.empty()) << "empty line before any line";
      ASSERT_EQ((got.size() - 1) % 3, 1u) << "empty line after line " << got.size() - 1;
      ++extraEmpty;
      continue;
    }
    got.push_back(lines[i]);
  }
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << "line " << i;

  // The events tell the same story, and every provisional beginning is the beginning of
  // the line that replaces it.
  std::size_t entire = 0, beginnings = 0;
  for (std::size_t i = 0; i + 1 < r.events.size(); ++i) {
    const std::string& e = r.events[i];
    if (e[0] == 'E') {
      ASSERT_EQ(e.substr(2), lines[entire]) << "event " << i;
      ++entire;
    } else {
      ++beginnings;
      ASSERT_TRUE(lines[entire].compare(0, e.size() - 2, e.substr(2)) == 0) << "event " << i;
    }
  }
  EXPECT_EQ(entire, lines.size());
  EXPECT_EQ(r.events.back(), "T");
  EXPECT_GT(beginnings, 0u) << "the output was never split inside a line";
  RecordProperty("extra_empty_lines", int(extraEmpty));
}

TEST(DosCommandVolume, ALongLineWithoutItsEndIsShownWholeButNotAfterEveryRead) {
  // 8 MB take 32 reads at least (a read takes at most 256 KB); a slow handler is shown
  // far fewer beginnings, each the whole line so far.
  constexpr std::size_t kSize = 8 << 20;
  const std::string text = testchild::UnendedText(kSize);
  Recorder r;
  std::vector<std::size_t> shown;
  r.runner->OnNewLine = [&](TObject*, std::string line, TOutputType type) {
    if (type == otEntireLine) {
      r.events.push_back(line == text ? "E:text" : "E:other");
    } else {
      EXPECT_EQ(text.compare(0, line.size(), line), 0) << "not the line's beginning";
      shown.push_back(line.size());
      Sleep(100);
    }
  };
  r.Run("noeol:" + std::to_string(kSize));
  EXPECT_EQ(r.events, (std::vector<std::string>{"E:text", "T"}));
  EXPECT_THAT(shown, testing::SizeIs(testing::AllOf(testing::Gt(0u), testing::Lt(16u))));
  EXPECT_EQ(std::adjacent_find(shown.begin(), shown.end(), std::greater_equal<>()), shown.end());
}

// The Wine tests run on a checked heap (tools/wine-env.sh), so that a call through a
// freed object faults at once.
TEST(WineEnvironment, TheHeapIsChecked) {
  using GlobalFlags = ULONG(WINAPI*)();
  const auto flags = reinterpret_cast<GlobalFlags>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetNtGlobalFlags")));
  ASSERT_NE(flags, nullptr);
  constexpr ULONG kTailCheck = 0x10, kFreeCheck = 0x20;
  EXPECT_EQ(flags() & (kTailCheck | kFreeCheck), kTailCheck | kFreeCheck);
}

}  // namespace
