// What the runner's test programs share: the scripted child and a runner whose events
// are written down.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DosCommand.h"
#include "TestKit.h"

inline std::string Child() {
  return "\"" + testkit::ExeDir() + "testchild.exe\"";
}

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
