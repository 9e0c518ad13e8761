#include "DosCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>

#include "DosCommandRecorder.h"
#include "Script.h"
#include "TestKit.h"
#include "forms/Forms.h"

namespace {

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
  // Short children, eight runners at once, each waited for the way the converter waits
  // for its encoder; each child says a line and exits with a code of its own.
  constexpr int kRunners = 8, kRuns = 96;
  struct Slot {
    TDosCommand* runner;
    int run = -1;
  };
  TComponent owner(nullptr);
  std::vector<Slot> slots(kRunners);
  int started = 0, finished = 0;
  std::vector<std::string> wrong;
  const auto startNext = [&](Slot& slot) {
    slot.run = started < kRuns ? started++ : -1;
    if (slot.run < 0) return;
    slot.runner->CommandLine =
        Child() + " out:" + std::to_string(slot.run) + "\\n exit:" + std::to_string(slot.run);
    slot.runner->Start();
  };
  for (Slot& slot : slots) {
    slot.runner = new TDosCommand(&owner);
    startNext(slot);
  }
  const bool done = testkit::PumpUntil(
      [&] {
        for (Slot& slot : slots) {
          if (slot.run < 0 || slot.runner->IsRunning()) continue;
          slot.runner->Stop();
          const auto code = slot.runner->ExitCode();
          const std::vector<std::string> lines = slot.runner->Lines.Items();
          if (code != static_cast<unsigned long>(slot.run) ||
              lines != std::vector{std::to_string(slot.run)})
            wrong.push_back(std::to_string(slot.run) + ": code " +
                            (code ? std::to_string(*code) : "none") + ", " +
                            std::to_string(lines.size()) + " lines");
          ++finished;
          startNext(slot);
        }
        return finished == kRuns;
      },
      120000);
  EXPECT_TRUE(done) << finished << " runs of " << kRuns << " ended";
  EXPECT_THAT(wrong, testing::IsEmpty());
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

TEST(DosCommand, StopEndsTheChildAndDeliversEverythingFirst) {
  Recorder r;
  const std::set<DWORD> before = OurChildren();
  r.runner->CommandLine = Child() + " out:start\\n out:partial hang";
  r.runner->Start();
  ASSERT_TRUE(testkit::PumpUntil([&] { return r.events.size() >= 2; }, 10000));
  std::vector<DWORD> started;
  for (DWORD pid : OurChildren())
    if (!before.count(pid)) started.push_back(pid);
  ASSERT_EQ(started.size(), 1u);

  r.runner->Stop();
  // Everything of the run arrived inside Stop: the unfinished line as a complete one,
  // then the end.
  EXPECT_EQ(r.events, (std::vector<std::string>{"E:start", "B:partial", "E:partial", "T"}));
  EXPECT_FALSE(r.runner->IsRunning());
  EXPECT_FALSE(r.runner->ExitCode().has_value());
  EXPECT_TRUE(ProcessEnded(started[0]));
  testkit::PumpUntil([] { return false; }, 100);
  EXPECT_EQ(r.terminated, 1);
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
// The test environment

// The Wine tests run on a checked heap (tools/wine-env.sh), so that a call through a
// freed object faults at once; only the volume test and the benchmarks run without.
TEST(WineEnvironment, TheHeapIsChecked) {
  using GlobalFlags = ULONG(WINAPI*)();
  const auto flags = reinterpret_cast<GlobalFlags>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetNtGlobalFlags")));
  ASSERT_NE(flags, nullptr);
  constexpr ULONG kTailCheck = 0x10, kFreeCheck = 0x20;
  EXPECT_EQ(flags() & (kTailCheck | kFreeCheck), kTailCheck | kFreeCheck);
}

}  // namespace
