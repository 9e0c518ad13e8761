// The bridges on a real clip, started the way the two converters start their encoders:
// ffmpeg.exe and mplayer.exe through the console-process runner, vv.exe as a hidden
// process of its own whose progress file is read while it works.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Bridge.h"
#include "BridgeText.h"
#include "DosCommand.h"
#include "TestKit.h"

namespace {

// Made by the test fixture with the host's ffmpeg: 3 s of test pattern and tone.
std::string DataDir() {
  return testkit::ExeDir() + "bridgedata\\";
}
std::string Clip() {
  return DataDir() + "clip.mp4";
}

struct ConsoleRun {
  std::vector<std::string> lines;
  std::optional<unsigned long> exitCode;
};

ConsoleRun RunConsole(const std::string& commandLine) {
  TComponent owner(nullptr);
  auto* runner = new TDosCommand(&owner);
  runner->CommandLine = commandLine;
  runner->Start();
  EXPECT_TRUE(testkit::PumpUntil([&] { return !runner->IsRunning(); }, 30000));
  runner->Stop();
  return {runner->Lines.Items(), runner->ExitCode()};
}


std::wstring Wide(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Bridges, FfmpegReportsTheSecondsDoneAndWritesTheAvi) {
  ASSERT_TRUE(Exists(Clip())) << Clip();
  const std::string out = DataDir() + "out dir\\clip.avi";
  CreateDirectoryA((DataDir() + "out dir").c_str(), nullptr);
  DeleteFileA(out.c_str());
  ConsoleRun r = RunConsole("\"" + testkit::ExeDir() + "ffmpeg.exe\" -i \"" + Clip() +
                            "\" -y -f avi  -b 800k -r 25      -vcodec mpeg4 -acodec libmp3lame \"" +
                            out + "\"");
  EXPECT_EQ(r.exitCode, 0ul);
  double last = -1;
  int markers = 0;
  for (const std::string& line : r.lines) {
    const std::string head = "ffmpeg_release_time=", tail = "=ffmpeg_release_time";
    ASSERT_EQ(line.rfind(head, 0), 0u) << line;
    ASSERT_EQ(line.substr(line.size() - tail.size()), tail) << line;
    double seconds = std::atof(line.c_str() + head.size());
    EXPECT_GE(seconds, last);
    last = seconds;
    ++markers;
  }
  EXPECT_GE(markers, 1);
  EXPECT_NEAR(last, 3.0, 0.5);
  bridge::MediaInfo p = bridge::ProbeMedia(Wide(out));
  EXPECT_EQ(p.streams, (std::vector<std::string>{"mpeg4,320,240", "mp3"}));
  EXPECT_NEAR(p.duration, 3.0, 0.5);
}

TEST(Bridges, FfmpegPassesAFailureOn) {
  ConsoleRun r = RunConsole("\"" + testkit::ExeDir() + "ffmpeg.exe\" -i \"" + DataDir() +
                            "missing.mp4\" -y -f avi \"" + DataDir() + "never.avi\"");
  ASSERT_TRUE(r.exitCode.has_value());
  EXPECT_NE(*r.exitCode, 0ul);
  EXPECT_FALSE(Exists(DataDir() + "never.avi"));
  for (const std::string& line : r.lines) {
    EXPECT_EQ(line.find("ffmpeg_release_time="), std::string::npos) << line;
  }
}

TEST(Bridges, AMissingLinuxProgramIsNamed) {
  SetEnvironmentVariableA("ZV_BRIDGE_FFMPEG", "/nonexistent/ffmpeg");
  ConsoleRun r = RunConsole("\"" + testkit::ExeDir() + "ffmpeg.exe\" -i \"" + Clip() + "\" x.avi");
  SetEnvironmentVariableA("ZV_BRIDGE_FFMPEG", nullptr);
  EXPECT_EQ(r.exitCode, 127ul);
  ASSERT_FALSE(r.lines.empty());
  EXPECT_NE(r.lines[0].find("/nonexistent/ffmpeg was not found"), std::string::npos) << r.lines[0];
}

TEST(Bridges, MplayerAnswersTheDurationProbe) {
  ConsoleRun r = RunConsole("\"" + testkit::ExeDir() +
                            "mplayer.exe\" -msglevel identify=6 -vo none "
                            "-ao none \"" +
                            Clip() + "\" 2>&1 |grep ID_LENGTH");
  EXPECT_EQ(r.exitCode, 0ul);
  EXPECT_EQ(r.lines, std::vector<std::string>{"ID_LENGTH=3.00"});
}

// vv.exe runs from a folder of its own here, so that its progress file is this test's.
struct VvRun {
  unsigned long exitCode = 259;
  std::vector<int> progress;  // every distinct value seen while it ran, the last one last
};

VvRun RunVv(const std::wstring& args) {
  const std::wstring dir = Wide(DataDir()) + L"vv\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  CopyFileW((Wide(testkit::ExeDir()) + L"vv.exe").c_str(), (dir + L"vv.exe").c_str(), FALSE);
  const std::wstring progressFile = dir + L"progress.txt";
  if (FILE* f = _wfopen(progressFile.c_str(), L"w")) {
    std::fputs("0", f);
    std::fclose(f);
  }
  std::wstring command = L"vv.exe " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  VvRun run;
  if (!CreateProcessW((dir + L"vv.exe").c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "vv.exe did not start";
    return run;
  }
  for (;;) {
    DWORD wait = WaitForSingleObject(pi.hProcess, 20);
    int value = 0;
    if (FILE* in = _wfopen(progressFile.c_str(), L"r")) {
      int scanned = std::fscanf(in, "%d", &value);
      std::fclose(in);
      if (scanned == 1 && (run.progress.empty() || run.progress.back() != value)) {
        run.progress.push_back(value);
      }
    }
    if (wait != WAIT_TIMEOUT) break;
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  run.exitCode = code;
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return run;
}

struct VvCase {
  const wchar_t* source;
  std::wstring options;
  const wchar_t* output;
  std::vector<std::string> streams;
};

TEST(Bridges, VvConvertsAndKeepsItsProgressFile) {
  const std::wstring data = Wide(DataDir());
  ASSERT_TRUE(CopyFileW((data + L"clip.mp4").c_str(), (data + L"视频 片段.mp4").c_str(), FALSE));
  const VvCase cases[] = {
      {L"clip.mp4",
       L"-vcodec h263 -b 256k -s 176x144  -r 14.985 -strict experimental -acodec aac "
       L"-ar 8000 -ab 12.2k -ac 1",
       L"clip.3gp",
       {"h263,176,144", "aac"}},
      {L"clip.mp4",
       L"-fpre \"" + Wide(testkit::ExeDir()) +
           L"h264.dat\" -vcodec libx264 -b 512k "
           L"-s 320x240  -r 14.985 -strict experimental -acodec aac -ar 44100 -ab 112k -ac 2",
       L"clip.3g2",
       {"h264,320,240", "aac"}},
      // Chinese names, blanks, and the doubled separator of the default folder "C:\".
      {L"视频 片段.mp4",
       L"-vcodec  mpeg4 -b 256k -s 128x96 -r 15 -strict experimental -acodec aac -ar 8000 "
       L"-ab 32k -ac 1",
       L"\\新视频 片段.3gp",
       {"mpeg4,128,96", "aac"}},
  };
  for (const VvCase& c : cases) {
    SCOPED_TRACE(c.streams[0]);
    const std::wstring out = data + c.output;
    DeleteFileW(out.c_str());
    VvRun r = RunVv(L"-i \"" + data + c.source + L"\" -y " + c.options + L" \"" + out + L"\"");
    EXPECT_EQ(r.exitCode, 0ul);
    ASSERT_FALSE(r.progress.empty());
    EXPECT_EQ(r.progress.back(), 1000);
    for (std::size_t i = 1; i < r.progress.size(); ++i) {
      EXPECT_GT(r.progress[i], r.progress[i - 1]);  // forward only
      EXPECT_LE(r.progress[i], 1000);
    }
    bridge::MediaInfo p = bridge::ProbeMedia(out);
    EXPECT_EQ(p.streams, c.streams);
    EXPECT_NEAR(p.duration, 3.0, 0.5);
  }
}

// A run that cannot be done ends with a failure status and never reads 1000.
TEST(Bridges, VvFailsVisibly) {
  const std::wstring data = Wide(DataDir());
  const std::wstring cases[] = {
      // The host's ffmpeg has no AMR-NB encoder.
      L"-vcodec h263 -b 256k -s 176x144  -r 14.985 -acodec libopencore_amrnb -ar 8000 "
      L"-ab 12.2k -ac 1",
      // A preset file that is not there.
      L"-fpre \"" + data +
          L"none\\h264.dat\" -vcodec libx264 -b 512k -s 320x240  -r 15 "
          L"-strict experimental -acodec aac -ar 44100 -ab 112k -ac 2",
  };
  for (const std::wstring& options : cases) {
    SCOPED_TRACE(bridge::ToUtf8(options));
    VvRun r =
        RunVv(L"-i \"" + data + L"clip.mp4\" -y " + options + L" \"" + data + L"failed.3gp\"");
    EXPECT_NE(r.exitCode, 0ul);
    ASSERT_FALSE(r.progress.empty());
    EXPECT_LT(r.progress.back(), 1000);
  }
}

// What a Linux program prints.
std::string LinuxOutput(const std::string& program, const std::vector<std::string>& args) {
  bridge::LinuxJob job;
  EXPECT_TRUE(job.Start(program, args, false, false));
  job.Wait([] {});
  return job.ReadAll("out");
}

// How many Linux processes have a command line that matches `pattern`.
int CountLinuxProcesses(const std::string& pattern) {
  return std::atoi(LinuxOutput("/usr/bin/pgrep", {"-c", "-f", pattern}).c_str());
}

// The bridge's process stopped (or let go on) whole, as a starved process is.
void Suspend(HANDLE process, bool suspend) {
  using ProcessFn = LONG(WINAPI*)(HANDLE);
  const auto fn = reinterpret_cast<ProcessFn>(reinterpret_cast<void*>(GetProcAddress(
      GetModuleHandleW(L"ntdll.dll"), suspend ? "NtSuspendProcess" : "NtResumeProcess")));
  ASSERT_EQ(fn(process), 0);
}

TEST(Bridges, FfmpegReportsHowItEndedWhateverBefallsIt) {
  const std::pair<const char*, const char*> cases[] = {
      // A loaded machine can starve the bridge for seconds; its encoder must work on.
      {"the bridge stalls", "converted"},
      {"the Linux side ends without a status", "failed"},
  };
  for (const auto& [mishap, outcome] : cases) {
    SCOPED_TRACE(mishap);
    const std::string out = DataDir() + "mishap-" + std::to_string(GetTickCount64()) + ".avi";
    // Nine seconds of work at the clip's own pace, whatever the machine's speed.
    std::string command = "ffmpeg.exe -re -stream_loop 2 -i \"" + Clip() + "\" -y \"" + out + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA((testkit::ExeDir() + "ffmpeg.exe").c_str(), command.data(), nullptr,
                               nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
    const std::string encoder = "^/usr/bin/ffmpeg .*" + out.substr(out.rfind('\\') + 1);
    EXPECT_TRUE(testkit::PumpUntil([&] { return CountLinuxProcesses(encoder) > 0; }, 10000));
    if (mishap == cases[0].first) {
      Suspend(pi.hProcess, true);
      Sleep(5000);
      Suspend(pi.hProcess, false);
    } else {  // the shell is the oldest process of the bridge's script
      const std::string script = "zvbridge-" + std::to_string(pi.dwProcessId) + "-.*/run.sh";
      LinuxOutput("/bin/sh", {"-c", "kill -KILL $(pgrep -o -f '" + script + "')"});
    }
    DWORD code = 0;
    std::string ended = "never ended";
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(pi.hProcess, &code))
      ended = code == 0 && Exists(out) ? "converted" : "failed";
    else
      TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_EQ(ended, outcome) << "exit code " << code;
    DeleteFileA(out.c_str());
  }
}

TEST(Bridges, EndingABridgeEndsItsLinuxProgram) {
  const std::string name = "endless-" + std::to_string(GetTickCount64()) + ".mp4";
  ASSERT_TRUE(CopyFileA(Clip().c_str(), (DataDir() + name).c_str(), FALSE));
  std::string command = "mplayer.exe -loop 0 -vo null -ao null \"" + DataDir() + name + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA((testkit::ExeDir() + "mplayer.exe").c_str(), command.data(), nullptr,
                             nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
  // The Linux player itself, not the bridge (whose command line names the clip too).
  const std::string player = "^/usr/bin/mplayer .*" + name;
  EXPECT_TRUE(testkit::PumpUntil([&] { return CountLinuxProcesses(player) > 0; }, 10000));
  TerminateProcess(pi.hProcess, 1);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_TRUE(testkit::PumpUntil([&] { return CountLinuxProcesses(player) == 0; }, 15000));
  DeleteFileA((DataDir() + name).c_str());
}

}  // namespace
