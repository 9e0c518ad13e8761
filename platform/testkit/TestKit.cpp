#include "TestKit.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/Controls.h"
#include "forms/Forms.h"

namespace testkit {
namespace {
std::vector<MessageBoxRecord>& Records() {
  static std::vector<MessageBoxRecord> records;
  return records;
}
int& Answer() {
  static int answer = IDOK;
  return answer;
}
}  // namespace

const std::vector<MessageBoxRecord>& MessageBoxes() { return Records(); }
void ClearMessageBoxes() { Records().clear(); }
void AnswerMessageBoxes(int answer) { Answer() = answer; }

void InstallMessageBoxRecorder() {
  SetMessageBoxHook([](const std::string& text, const std::string& caption, unsigned flags) {
    Records().push_back({text, caption, flags, TextToWide(text)});
    return Answer();
  });
  SetWideMessageBoxHook([](const std::wstring& text, const std::string& caption, unsigned flags) {
    Records().push_back({WideToText(text), caption, flags, text});
    return Answer();
  });
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min<ULONGLONG>(deadline - now, 50)),
                              QS_ALLINPUT);
    Application->ProcessMessages();
  }
  return true;
}

std::string ExeDir() {
  char path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

int FreeGdiCapacity() {
  std::vector<HBRUSH> brushes;
  for (;;) {
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    if (!b) break;
    brushes.push_back(b);
  }
  for (HBRUSH b : brushes) DeleteObject(b);
  return int(brushes.size());
}

std::wstring HintAt(HWND window, POINT point) {
  wchar_t text[256] = {};
  TTHITTESTINFOW hit{window, point, {}};
  hit.ti.cbSize = sizeof hit.ti;
  hit.ti.lpszText = text;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr));)
    if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() &&
        SendMessageW(w, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)))
      break;
  return text;
}

}  // namespace testkit
