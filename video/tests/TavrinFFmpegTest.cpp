#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TavrinFFmpeg.h"
#include "TestKit.h"

namespace {

using Clock = std::chrono::steady_clock;

// The test's folders are named in the ANSI code page; the worker takes them wide.
std::wstring Wide(const std::string& s) {
  std::wstring w(s.size(), L'\0');
  w.resize(MultiByteToWideChar(CP_ACP, 0, s.c_str(), int(s.size()), w.data(), int(w.size())));
  return w;
}

// Each test gets the encoder double in a folder of its own, so that its progress file
// and log are its own too.
class Worker : public testing::Test {
 protected:
  void SetUp() override {
    dir = testkit::ExeDir() + "worker_" + testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(dir.c_str(), nullptr);
    DeleteFileA((dir + "\\vvlog.txt").c_str());
    DeleteFileA((dir + "\\progress.txt").c_str());
    ASSERT_TRUE(CopyFileA((testkit::ExeDir() + "doubles\\vv.exe").c_str(), (dir + "\\vv.exe").c_str(), FALSE))
        << "the encoder double is missing";
  }

  // Process ids of every start of the double, in order.
  std::vector<DWORD> Starts() const {
    std::vector<DWORD> ids;
    std::ifstream log(dir + "\\vvlog.txt");
    std::string line;
    while (std::getline(log, line)) ids.push_back(DWORD(std::stoul(line)));
    return ids;
  }

  // A handle of the started double, taken while it runs.
  HANDLE WaitForStart(std::size_t n = 1) const {
    if (!testkit::PumpUntil([&] { return Starts().size() >= n; }, 10000)) return nullptr;
    return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Starts()[n - 1]);
  }

  bool WaitDone(TavrinFFmpeg& enc, DWORD ms = 10000) {
    return testkit::PumpUntil([&] { return enc.IsDone() == 1; }, ms);
  }

  std::string dir;
};

TEST_F(Worker, NormalRunEndsDoneWithTheEncodersExitCodeAndItsProgress) {
  struct Case {
    const wchar_t* command;
    DWORD exitCode;
    bool notInAnsi = false;  // "α" has no letter there: reading 8 bits, an encoder gets "a"
  };
  // "é" and "à" are other letters in the ANSI code page where that is not the OEM one.
  const Case cases[] = {{L"vv.exe -i \"D\u00e9j\u00e0.avi\" run:300:3 exit:7", 7},
                        {L"vv.exe run:100:2", 0},
                        {L"vv.exe -i \"\u03b1.avi\" run:100:2", 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    char oem[100];
    WideCharToMultiByte(CP_OEMCP, 0, c.command, -1, oem, sizeof oem, nullptr, nullptr);
    TavrinFFmpeg enc(oem, Wide(dir).c_str());
    if (c.notInAnsi && GetACP() != GetOEMCP()) {
      EXPECT_EQ(enc.Error(), L"文件路径中有系统代码页无法表示的字符，无法转换。");
      continue;
    }
    EXPECT_TRUE(enc.Error().empty());
    EXPECT_EQ(enc.IsDone(), 0);  // the double runs for a while
    DWORD code = 12345;
    EXPECT_FALSE(enc.GetExitCode(&code));
    ASSERT_TRUE(WaitDone(enc));
    ASSERT_TRUE(enc.GetExitCode(&code));
    EXPECT_EQ(code, c.exitCode);
    // still readable later: the queue reads it after done
    ASSERT_TRUE(enc.GetExitCode(&code));
    EXPECT_EQ(code, c.exitCode);
    std::ifstream progress(dir + "\\progress.txt");
    int value = -1;
    progress >> value;
    EXPECT_EQ(value, 1000);
  }
  // The process got the command line as given; the double logs it in the ANSI code page.
  std::ifstream log(dir + "\\vvlog.txt");
  std::string line;
  std::getline(log, line);
  wchar_t wide[100] = {};
  MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, wide, 100);
  EXPECT_NE(std::wstring(wide).find(cases[0].command), std::wstring::npos) << line;
}

TEST_F(Worker, MissingEncoderIsDoneAtOnceWithoutExitCode) {
  const std::string empty = dir + "\\none";
  CreateDirectoryA(empty.c_str(), nullptr);
  TavrinFFmpeg enc("vv.exe run:5000:5", Wide(empty).c_str());
  ASSERT_TRUE(WaitDone(enc, 2000));
  EXPECT_FALSE(enc.GetExitCode(nullptr));
  EXPECT_TRUE(enc.Error().empty());  // not refused: it failed to start
}

TEST_F(Worker, DeletionDuringARunEndsTheEncoderPromptly) {
  auto enc = std::make_unique<TavrinFFmpeg>("vv.exe hang", Wide(dir).c_str());
  HANDLE process = WaitForStart();
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(enc->IsDone(), 0);
  const auto t0 = Clock::now();
  enc.reset();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
  EXPECT_LT(took, 1500);
  EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "the encoder still runs";
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  EXPECT_EQ(code, 0u);  // terminated with exit code 0
  CloseHandle(process);
}

TEST_F(Worker, DeletionAfterDoneDoesNotTerminate) {
  auto enc = std::make_unique<TavrinFFmpeg>("vv.exe sleep:200 exit:5", Wide(dir).c_str());
  HANDLE process = WaitForStart();
  ASSERT_NE(process, nullptr);
  ASSERT_TRUE(WaitDone(*enc));
  const auto t0 = Clock::now();
  enc.reset();
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count(), 1000);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  EXPECT_EQ(code, 5u);  // its own exit code, not the termination's
  CloseHandle(process);
}

TEST_F(Worker, DeletionRightAfterConstructionIsSafeAndLeavesNothingRunning) {
  for (int i = 0; i < 60; ++i) {
    auto enc = std::make_unique<TavrinFFmpeg>("vv.exe hang", Wide(dir).c_str());
    if (i % 3 == 1) Sleep(1);  // vary where the worker is when the deletion comes
    enc.reset();
  }
  // Every double that did start has been ended.
  for (DWORD id : Starts()) {
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!h) continue;  // gone already
    EXPECT_EQ(WaitForSingleObject(h, 2000), WAIT_OBJECT_0) << "process " << id << " still runs";
    CloseHandle(h);
  }
}

TEST_F(Worker, TooLongCommandOrFolderIsRefusedNotCut) {
  struct Case {
    std::string command;
    std::string folder;
    bool refused;
  };
  const std::string base = "vv.exe exit:3 ";
  const std::vector<Case> cases = {
      {base + std::string(1999 - base.size(), 'x'), dir, false},  // 1999 bytes and the terminator fit
      {base + std::string(2000 - base.size(), 'x'), dir, true},
      {"vv.exe", std::string(293, 'd'), true},  // with "\vv.exe" and terminator: 301 bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command.size());
    const std::size_t before = Starts().size();
    TavrinFFmpeg enc(c.command.c_str(), Wide(c.folder).c_str());
    if (c.refused) {
      EXPECT_EQ(enc.IsDone(), 1);
      EXPECT_FALSE(enc.Error().empty());
      EXPECT_FALSE(enc.GetExitCode(nullptr));
      Sleep(200);
      EXPECT_EQ(Starts().size(), before);
    } else {
      EXPECT_TRUE(enc.Error().empty());
      ASSERT_TRUE(WaitDone(enc));
      DWORD code = 0;
      ASSERT_TRUE(enc.GetExitCode(&code));
      EXPECT_EQ(code, 3u);
      ASSERT_EQ(Starts().size(), before + 1);
    }
  }
  TavrinFFmpeg fits("vv.exe", Wide(std::string(292, 'd')).c_str());  // 300 with "\vv.exe"
  EXPECT_TRUE(fits.Error().empty());
}

}  // namespace
