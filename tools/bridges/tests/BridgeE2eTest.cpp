// The bridges on a real clip, started the way the two converters start their encoders:
// ffmpeg.exe and mplayer.exe through the console-process runner, vv.exe as a hidden
// process of its own whose progress file is read while it works.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Bridge.h"
#include "DosCommand.h"
#include "TestKit.h"

namespace {

// Made by the test fixture with the host's ffmpeg: 3 s of test pattern and tone.
std::string DataDir() { return testkit::ExeDir() + "bridgedata\\"; }
std::string Clip() { return DataDir() + "clip.mp4"; }

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

// What ffprobe says of a file: "codec width height" per stream, then the duration.
struct Probe {
  std::vector<std::string> streams;
  double duration = -1;
};

Probe ProbeFile(const std::string& path) {
  bridge::LinuxJob job;
  const std::wstring wide(path.begin(), path.end());
  EXPECT_TRUE(job.Start("/usr/bin/ffprobe",
                        {"-v", "error", "-show_entries",
                         "stream=codec_name,width,height:format=duration", "-of",
                         "default=noprint_wrappers=1", bridge::UnixPath(wide)},
                        false, false));
  job.Wait([] {});
  Probe p;
  std::string out = job.ReadAll("out");
  std::size_t at = 0;
  std::string stream;
  while (at < out.size()) {
    std::size_t end = out.find('\n', at);
    if (end == std::string::npos) end = out.size();
    std::string line = out.substr(at, end - at);
    at = end + 1;
    if (line.rfind("codec_name=", 0) == 0) {
      if (!stream.empty()) p.streams.push_back(stream);
      stream = line.substr(11);
    } else if (line.rfind("width=", 0) == 0 || line.rfind("height=", 0) == 0) {
      stream += " " + line.substr(line.find('=') + 1);
    } else if (line.rfind("duration=", 0) == 0) {
      p.duration = std::atof(line.c_str() + 9);
    }
  }
  if (!stream.empty()) p.streams.push_back(stream);
  return p;
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
  Probe p = ProbeFile(out);
  EXPECT_EQ(p.streams, (std::vector<std::string>{"mpeg4 320 240", "mp3"}));
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
  EXPECT_NE(r.lines[0].find("/nonexistent/ffmpeg was not found"), std::string::npos)
      << r.lines[0];
}

TEST(Bridges, MplayerAnswersTheDurationProbe) {
  ConsoleRun r = RunConsole("\"" + testkit::ExeDir() + "mplayer.exe\" -msglevel identify=6 -vo none "
                     "-ao none \"" + Clip() + "\" 2>&1 |grep ID_LENGTH");
  EXPECT_EQ(r.exitCode, 0ul);
  EXPECT_EQ(r.lines, std::vector<std::string>{"ID_LENGTH=3.00"});
}

// vv.exe runs from a folder of its own here, so that its progress file is this test's.
struct VvRun {
  unsigned long exitCode = 259;
  std::vector<int> progress;  // every distinct value seen while it ran, then the last
};

VvRun RunVv(const std::string& args) {
  const std::string dir = DataDir() + "vv\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  CopyFileA((testkit::ExeDir() + "vv.exe").c_str(), (dir + "vv.exe").c_str(), FALSE);
  const std::string progressFile = dir + "progress.txt";
  FILE* f = std::fopen(progressFile.c_str(), "w");
  if (f) {
    std::fputs("0", f);
    std::fclose(f);
  }
  const auto readProgress = [&]() -> std::optional<int> {
    FILE* in = std::fopen(progressFile.c_str(), "r");
    if (!in) return std::nullopt;
    int value = 0;
    int scanned = std::fscanf(in, "%d", &value);
    std::fclose(in);
    if (scanned != 1) return std::nullopt;
    return value;
  };
  std::string command = "vv.exe " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  VvRun run;
  if (!CreateProcessA((dir + "vv.exe").c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "vv.exe did not start";
    return run;
  }
  for (;;) {
    DWORD wait = WaitForSingleObject(pi.hProcess, 20);
    if (std::optional<int> v = readProgress();
        v && (run.progress.empty() || run.progress.back() != *v)) {
      run.progress.push_back(*v);
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
  const char* options;
  const char* name;
  std::vector<std::string> streams;
};

TEST(Bridges, VvConvertsAndKeepsItsProgressFile) {
  const std::string preset = testkit::ExeDir() + "h264.dat";
  const VvCase cases[] = {
      {"-vcodec h263 -b 256k -s 176x144  -r 14.985 -strict experimental -acodec aac "
       "-ar 8000 -ab 12.2k -ac 1",
       "clip.3gp", {"h263 176 144", "aac"}},
      {"-vcodec  mpeg4 -b 256k -s 128x96 -r 15 -strict experimental -acodec aac -ar 8000 "
       "-ab 32k -ac 1",
       "mp4v.3gp", {"mpeg4 128 96", "aac"}},
  };
  std::vector<VvCase> all(std::begin(cases), std::end(cases));
  all.push_back({nullptr, "clip.3g2", {"h264 320 240", "aac"}});
  for (const VvCase& c : all) {
    SCOPED_TRACE(c.name);
    const std::string options =
        c.options ? std::string(c.options)
                  : "-fpre \"" + preset + "\" -vcodec libx264 -b 512k -s 320x240  -r 14.985 "
                    "-strict experimental -acodec aac -ar 44100 -ab 112k -ac 2";
    // The default output folder "C:\" gives a doubled separator; the same holds here.
    const std::string out = DataDir() + "\\" + c.name;
    DeleteFileA(out.c_str());
    VvRun r = RunVv("-i \"" + Clip() + "\" -y " + options + " \"" + out + "\"");
    EXPECT_EQ(r.exitCode, 0ul);
    ASSERT_FALSE(r.progress.empty());
    EXPECT_EQ(r.progress.back(), 1000);
    for (std::size_t i = 1; i < r.progress.size(); ++i) {
      EXPECT_GT(r.progress[i], r.progress[i - 1]);  // forward only
      EXPECT_LE(r.progress[i], 1000);
    }
    Probe p = ProbeFile(DataDir() + c.name);
    EXPECT_EQ(p.streams, c.streams);
    EXPECT_NEAR(p.duration, 3.0, 0.5);
  }
}

TEST(Bridges, VvFailsVisiblyWithoutAnAmrEncoder) {
  const std::string out = DataDir() + "amr.3gp";
  DeleteFileA(out.c_str());
  VvRun r = RunVv("-i \"" + Clip() + "\" -y -vcodec h263 -b 256k -s 176x144  -r 14.985 "
                  "-acodec libopencore_amrnb -ar 8000 -ab 12.2k -ac 1 \"" + out + "\"");
  EXPECT_NE(r.exitCode, 0ul);
  ASSERT_FALSE(r.progress.empty());
  EXPECT_LT(r.progress.back(), 1000);
}

// How many Linux processes have `text` in their command line.
int CountLinuxProcesses(const std::string& text) {
  bridge::LinuxJob job;
  EXPECT_TRUE(job.Start("/usr/bin/pgrep", {"-c", "-f", text}, false, false));
  job.Wait([] {});
  return std::atoi(job.ReadAll("out").c_str());
}

TEST(Bridges, EndingABridgeEndsItsLinuxProgram) {
  const std::string name = "endless-" + std::to_string(GetTickCount64()) + ".mp4";
  ASSERT_TRUE(CopyFileA(Clip().c_str(), (DataDir() + name).c_str(), FALSE));
  std::string command = "mplayer.exe -loop 0 -vo null -ao null \"" + DataDir() + name + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA((testkit::ExeDir() + "mplayer.exe").c_str(), command.data(),
                             nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                             &pi));
  EXPECT_TRUE(testkit::PumpUntil([&] { return CountLinuxProcesses(name) > 0; }, 10000));
  TerminateProcess(pi.hProcess, 1);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_TRUE(testkit::PumpUntil([&] { return CountLinuxProcesses(name) == 0; }, 15000));
  DeleteFileA((DataDir() + name).c_str());
}

}  // namespace
