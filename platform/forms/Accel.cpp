#include "Accel.h"

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
}  // namespace

char AccelOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return Upper(caption[i + 1]);
    ++i;  // "&&" stands for the character itself
  }
  return 0;
}

bool IsAccel(unsigned key, const std::string& caption) {
  const char accel = AccelOf(caption);
  return accel != 0 && key < 0x100 && accel == Upper(char(key));
}
