// The steps every scripted child program knows (see Script.h): writing to its standard
// output or error and pausing. Win32 side, header only.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "Script.h"

namespace testchild {

// Writes all of `data`; a child that cannot write ends at once with code 90.
inline void WriteAll(HANDLE h, const std::string& data) {
  std::size_t pos = 0;
  while (pos < data.size()) {
    DWORD done = 0;
    if (!WriteFile(h, data.data() + pos, DWORD(data.size() - pos), &done, nullptr)) std::exit(90);
    pos += done;
  }
}

// Carries out an "out:", "err:" or "sleep:" step; false for any other step.
inline bool RunCommonStep(const std::string& step) {
  const std::string arg = step.substr(step.find(':') + 1);
  if (step.rfind("out:", 0) == 0) {
    WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), Unescape(arg));
  } else if (step.rfind("err:", 0) == 0) {
    WriteAll(GetStdHandle(STD_ERROR_HANDLE), Unescape(arg));
  } else if (step.rfind("sleep:", 0) == 0) {
    Sleep(DWORD(std::atoi(arg.c_str())));
  } else {
    return false;
  }
  return true;
}

}  // namespace testchild
