// A scripted console child for the runner's tests: see Script.h for its steps.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "Script.h"
#include "Steps.h"

using testchild::WriteAll;

int main(int argc, char** argv) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  for (int i = 1; i < argc; ++i) {
    const std::string step = argv[i];
    const std::string arg = step.substr(step.find(':') + 1);
    if (testchild::RunCommonStep(step)) continue;
    if (step.rfind("lines:", 0) == 0) {
      const int n = std::atoi(arg.c_str());
      const auto seed = std::uint32_t(std::strtoul(arg.substr(arg.find(':') + 1).c_str(), nullptr, 10));
      const std::string text = testchild::GeneratedOutput(n, seed);
      std::size_t pos = 0;
      int k = 0;
      for (std::size_t size : testchild::ChunkSizes(text.size(), seed)) {
        WriteAll(out, text.substr(pos, size));
        pos += size;
        if (++k % 64 == 0) Sleep(1);  // let some reads catch up with the writes
      }
    } else if (step.rfind("fixed:", 0) == 0) {
      const int n = std::atoi(arg.c_str());
      std::string block;
      for (int line = 0; line < n; ++line) {
        block += testchild::FixedLine(line);
        block += "\r\n";
        if (block.size() >= 60000) {
          WriteAll(out, block);
          block.clear();
        }
      }
      WriteAll(out, block);
    } else if (step.rfind("noeol:", 0) == 0) {
      // The same block over and over: its length is a whole number of alphabets.
      const std::string block = testchild::UnendedText(26 * 2500);
      for (auto left = std::size_t(std::strtoull(arg.c_str(), nullptr, 10)); left > 0;) {
        const std::size_t n = std::min(left, block.size());
        WriteAll(out, block.substr(0, n));
        left -= n;
      }
    } else if (step.rfind("spawn:", 0) == 0) {
      // Another child with these steps, writing to the same output; not waited for.
      char self[MAX_PATH];
      const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
      std::string command = "\"" + std::string(self, n) + "\" " + arg;
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
      startup.hStdOutput = out;
      startup.hStdError = err;
      PROCESS_INFORMATION process{};
      if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process))
        return 91;
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    } else if (step.rfind("exit:", 0) == 0) {
      return std::atoi(arg.c_str());
    } else if (step == "hang") {
      Sleep(INFINITE);
    } else {
      WriteAll(err, "testchild: unknown step " + step + "\n");
      return 99;
    }
  }
  return 0;
}
