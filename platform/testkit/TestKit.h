// What the Win32 tests share: answered message boxes, a message pump with a deadline,
// the test program's folder. Screenshots: Capture.h.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testkit {

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  unsigned flags;
  std::wstring wideText;  // as shown: a wide box's may hold what `text` cannot
};

// Every message box shown since the last ClearMessageBoxes, in order; each is answered
// with the answer set by AnswerMessageBoxes (IDOK at first).
const std::vector<MessageBoxRecord>& MessageBoxes();
void ClearMessageBoxes();
void AnswerMessageBoxes(int answer);
// Installs the recording hook; the test main does it before any test runs.
void InstallMessageBoxRecorder();

// Processes messages, sleeping between them, until `done` is true or `timeoutMs` has
// passed; returns `done()` at the end.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The folder of the running test program, with a trailing backslash.
std::string ExeDir();

// How many GDI objects the process can still make: under Wine the system keeps no count
// per process, so the free room of the handle table stands in for it (about 20 ms).
int FreeGdiCapacity();

// The hint this thread's tooltips have for a pointer at a client point of the window, or
// nothing.
std::wstring HintAt(HWND window, POINT point);

}  // namespace testkit
