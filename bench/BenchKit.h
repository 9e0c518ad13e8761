// What the benchmarks share: a wall clock, CPU clocks and the median of their rounds.
#pragma once

#include <algorithm>
#include <cstdio>
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

// Handles the messages waiting, painting included, until `done` is true or `timeoutMs`
// has passed; returns done() at the end.
template <class Done>
bool PumpUntil(Done done, double timeoutMs) {
  const double end = Now() + timeoutMs / 1000;
  for (;;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done() || Now() >= end) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// Microseconds per paint of the window into dc (WM_PAINT with the DC), median of 41
// rounds of 200 paints.
inline double PaintMicroseconds(HWND window, HDC dc) {
  std::vector<double> times;
  for (int r = 0; r < 41; ++r) {
    const double start = Now();
    for (int i = 0; i < 200; ++i) SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    times.push_back((Now() - start) / 200 * 1e6);
  }
  return Median(times);
}

// A control painted unskinned and the same control skinned.
struct PaintPair {
  const char* what;
  HWND plain, skinned;
};

// Prints one paint of each pair side by side, into a memory DC of width x height, and
// whether each skinned paint takes at most twice its unskinned one.
inline void ComparePaints(const char* name, const std::vector<PaintPair>& pairs, int width,
                          int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ReleaseDC(nullptr, screen);
  std::printf("bench %s: one paint, median of 41 rounds of 200\n", name);
  bool met = true;
  for (const PaintPair& p : pairs) {
    PaintMicroseconds(p.plain, dc);  // warm-up
    PaintMicroseconds(p.skinned, dc);
    const double plain = PaintMicroseconds(p.plain, dc), skinned = PaintMicroseconds(p.skinned, dc);
    const double ratio = skinned / plain;
    met = met && ratio <= 2;
    std::printf("  %-20s unskinned %7.1f us   skinned %7.1f us   ratio %.2f (target <= 2)\n",
                p.what, plain, skinned, ratio);
  }
  std::printf("  target %s\n", met ? "met" : "NOT met");
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}
#endif

}  // namespace bench
