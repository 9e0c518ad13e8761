// video_screenshots OUT_DIR: shows the main dialog (with two files added as a user adds
// them), the About dialog, and the main dialog in the middle of a queue under Wine, and
// saves what the screen shows of each as video-main.png, video-about.png and
// video-queue.png. For the README; not a test.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Dg3.h"
#include "Capture.h"
#include "dialogs/SystemDialogs.h"
#include "resource.h"
#include "videoDlg.h"

namespace {
void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

std::wstring ExeDir() {
  wchar_t path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

// The dialog in the middle of a queue of three files: the encoder double (from
// "doubles" beside this program) reports 42 % and waits.
bool QueueShot(const std::string& path) {
  const std::wstring work = ExeDir() + L"screenshot_queue";
  CreateDirectoryW(work.c_str(), nullptr);
  CreateDirectoryW((work + L"\\out").c_str(), nullptr);
  if (!CopyFileW((ExeDir() + L"doubles\\vv.exe").c_str(), (work + L"\\vv.exe").c_str(), FALSE))
    return false;
  std::ofstream((work + L"\\vvscript.txt").c_str()) << "progress:420 sleep:30000";

  CvideoDlg dlg;
  if (!dlg.Create(nullptr, true)) return false;
  SetWindowPos(dlg.m_hWnd, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  lstrcpynW(dlg.m_exeDir, work.c_str(), CvideoDlg::kExeDirSize);
  dlg.m_outputDir.SetWindowText(work + L"\\out");
  const wchar_t* sources[] = {L"D:\\视频\\毕业晚会.rmvb", L"D:\\视频\\旅行记录.avi",
                              L"D:\\视频\\家庭聚会.mp4"};
  for (int i = 0; i < 3; ++i) dlg.m_list.InsertItem(i, sources[i]);
  SendMessageW(dlg.GetDlgItem(IDC_CONVERT), BM_CLICK, 0, 0);
  Pump(2600);  // two ticks of the progress poll
  const bool ok = testkit::CaptureToPng(dlg.m_hWnd, path);
  SendMessageW(dlg.m_hWnd, WM_CLOSE, 0, 0);  // ends the encoder
  Pump(300);
  return ok;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? std::string(argv[1]) + "\\" : "";
  INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
  InitCommonControlsEx(&icc);
  CApplication::EnableControlContainer();

  std::vector<std::wstring> files = {L"D:\\视频\\旅行记录.avi", L"D:\\视频\\毕业晚会.rmvb"};
  SetDlgOpenFileHook([&](OPENFILENAMEW* ofn) -> BOOL {
    if (files.empty()) return FALSE;
    lstrcpynW(ofn->lpstrFile, files.front().c_str(), int(ofn->nMaxFile));
    files.erase(files.begin());
    return TRUE;
  });
  CvideoDlg dlg;
  if (!dlg.Create(nullptr, true)) return 1;
  SetWindowPos(dlg.m_hWnd, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(dlg.GetDlgItem(IDC_ADD), BM_CLICK, 0, 0);
  SendMessageW(dlg.GetDlgItem(IDC_ADD), BM_CLICK, 0, 0);
  Pump(1500);
  bool ok = testkit::CaptureToPng(dlg.m_hWnd, out + "video-main.png");

  Dg3 about(dlg.m_hWnd);
  if (!about.Create(dlg.m_hWnd, true)) return 1;
  SetWindowPos(about.m_hWnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Pump(1000);
  ok = testkit::CaptureToPng(about.m_hWnd, out + "video-about.png") && ok;
  SendMessageW(about.m_hWnd, WM_CLOSE, 0, 0);
  SendMessageW(dlg.m_hWnd, WM_CLOSE, 0, 0);
  Pump(300);
  ok = QueueShot(out + "video-queue.png") && ok;
  std::printf("%s\n", ok ? "saved" : "failed");
  return ok ? 0 : 1;
}
