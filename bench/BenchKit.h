// What the benchmarks share: a wall clock, CPU clocks and the median of their rounds.
#pragma once

#include <algorithm>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace bench {

// The middle value (the mean of the two middle ones for an even count); -1 when empty.
inline double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

#ifdef _WIN32
// Seconds of a monotonic clock.
inline double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) / double(f.QuadPart);
}

inline double FileTimeSeconds(FILETIME t) {
  return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

// CPU seconds (kernel and user) this process has spent so far.
inline double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

// CPU seconds the calling thread has spent so far.
inline double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}
#endif

}  // namespace bench
