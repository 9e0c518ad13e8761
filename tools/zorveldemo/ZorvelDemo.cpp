// zorvel_demo SOURCE FOLDER: Zorvel as it starts, with a scripted user, for machines
// without a display. Once the main window is up, the user adds SOURCE (the duration
// probed by the mplayer.exe beside this program), picks FOLDER\out as the output
// folder, converts with the ffmpeg.exe beside this program and closes the window. The
// window is saved as FOLDER\zorvel.png before it closes, and what happened is printed,
// message boxes included (each answered OK; texts in code page 936). The user first
// presses Convert before choosing a folder: the message box that says so is shown as
// the system shows it, saved as FOLDER\message.png and closed; then the window's system
// menu is opened, Move selected with Down, and the window saved with it as
// FOLDER\menu.png. While the file
// converts, the window is saved once its progress bar is between 20 % and 80 % as
// FOLDER\converting.png. After the conversion each skin of the form's store is loaded in
// turn and the window saved in it as FOLDER\skin1.png, skin2.png, ... (one per stored
// skin); then the skin the program starts with is put back. Exits with 0 when the file
// was converted to an AVI and every picture was saved, else 1.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "Capture.h"
#include "Main.h"
#include "MainText.h"

namespace {

struct Demo {
  std::string source;
  std::string folder;  // with "\" at the end
  std::string report;
  bool ok = false;
  bool showNextMessage = false;  // the next message box is shown for real and saved
  bool messageSaved = false;
  bool menuSaved = false;
  bool convertingTried = false;  // one attempt only, however many lines follow
  bool convertingSaved = false;
  TFrmMain* form = nullptr;
};
Demo demo;

TFrmMain* MainForm() {
  TFrmMain* found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        auto* form = dynamic_cast<TFrmMain*>(FindControl(window));
        if (form) *reinterpret_cast<TFrmMain**>(result) = form;
        return form == nullptr;
      },
      LPARAM(&found));
  return found;
}

// An encoder that ran but wrote something else is no success either.
bool IsAvi(const std::string& path) {
  char head[12] = {};
  std::ifstream file(TextToWide(path).c_str(), std::ios::binary);
  file.read(head, sizeof head);
  return file && std::string(head, 4) == "RIFF" && std::string(head + 8, 4) == "AVI ";
}

// Shown for real, so that the skin manager dresses it as a user sees it; saved and
// closed from a timer while it waits for its answer.
int ShowAndSaveMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM found) -> BOOL {
          char name[16] = {};
          GetClassNameA(w, name, sizeof name);
          if (std::string(name) != "#32770" || !IsWindowVisible(w)) return TRUE;
          *reinterpret_cast<HWND*>(found) = w;
          return FALSE;
        },
        LPARAM(&box));
    if (!box) return;
    demo.messageSaved = testkit::CaptureToPng(box, demo.folder + "message.png");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
}

// The system menu opened from the keyboard and Move selected with Down, saved with the
// window while it is open.
void ShowAndSaveSystemMenu(TFrmMain* form) {
  demo.form = form;
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (int i = 0; i < 2; ++i) {  // past Restore, greyed while the window is restored
      keybd_event(VK_DOWN, 0, 0, 0);
      keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    }
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR shown, DWORD) {
      KillTimer(nullptr, shown);
      demo.menuSaved = testkit::CaptureToPng(demo.form->Handle(), demo.folder + "menu.png");
      EndMenu();
    });
  });
  SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
  demo.report += std::string("system menu picture: ") + (demo.menuSaved ? "saved" : "failed") + "\n";
}

// Lets the window system paint and hand the window's pixels to the screen, handling
// messages as they come.
void Settle(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  for (DWORD now; (now = GetTickCount()) < end;) {
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

// Saved from the encoder's line handler, right after the line moved the bar: the run
// goes on meanwhile, and the lines that arrive while the window paints only move the bar.
void SaveWhileConverting(TFrmMain* form) {
  auto handler = form->DosCommand1->OnNewLine;
  form->DosCommand1->OnNewLine = [form, handler](TObject* sender, std::string line, TOutputType type) {
    handler(sender, std::move(line), type);
    const TProgressBar* bar = form->ProgressBar1;
    const int span = bar->Max() - bar->Min(), done = bar->Position() - bar->Min();
    if (demo.convertingTried || span <= 0 || done * 5 < span || done * 5 > span * 4) return;
    demo.convertingTried = true;
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(150);
    demo.convertingSaved = testkit::CaptureToPng(form->Handle(), demo.folder + "converting.png");
  };
}

// Each stored skin loaded into the running form: the skin manager refreshes the form
// 250 ms after a load, hence the wait before the window is saved.
bool SaveEachSkin(TFrmMain* form) {
  constexpr int kStartSkin = 2;  // the one the program loads at start-up
  const int count = int(form->SkinStore1->Store()->Count());
  bool all = count > 0;
  for (int n = 0; n < count; ++n) {
    form->SkinData1->LoadSkinFromStore(form->SkinStore1, n);
    Settle(400);
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(150);
    const std::string name = "skin" + std::to_string(n + 1) + ".png";
    const bool saved = !form->SkinData1->NoSkinLoaded &&
                       testkit::CaptureToPng(form->Handle(), demo.folder + name);
    demo.report += name + ": " + (saved ? "saved" : "failed") + "\n";
    all = all && saved;
  }
  form->SkinData1->LoadSkinFromStore(form->SkinStore1, kStartSkin);
  Settle(400);
  return all;
}

void Play(TFrmMain* form) {
  demo.showNextMessage = true;
  form->btnConvert->Click();
  demo.report += std::string("message box picture: ") + (demo.messageSaved ? "saved" : "failed") + "\n";
  ShowAndSaveSystemMenu(form);
  form->btnAdd->Click();
  form->Button8->Click();
  SaveWhileConverting(form);
  form->btnConvert->Click();
  demo.report += std::string("converting picture: ") + (demo.convertingSaved ? "saved" : "failed") + "\n";
  const TFileInfo* job = form->GetFileInfo(0);
  const std::string avi = zorvel::OutputPath(form->edtSaveDir->Text(), demo.source);
  const bool written = IsAvi(avi);
  demo.report += "duration: " + std::to_string(job ? job->Duration : -1) + "\n";
  demo.report += "status: " + (job ? job->Status : std::string("(not added)")) + "\n";
  demo.report += "output: " + avi + (written ? " written" : " missing") + "\n";
  // Let the window show the finished state before it is saved.
  RedrawWindow(form->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Settle(500);
  const bool saved = testkit::CaptureToPng(form->Handle(), demo.folder + "zorvel.png");
  demo.report += std::string("screenshot: ") + (saved ? "saved" : "failed") + "\n";
  const bool skins = SaveEachSkin(form);
  demo.ok = job && job->Status == zorvel_text::kDone && written && saved && demo.messageSaved &&
            demo.menuSaved && demo.convertingSaved && skins;
  form->Close();
}

// The user starts once the window is up and the start-up's messages are handled: a
// timer's message comes only when no other is waiting.
void CALLBACK Start(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  SafeCall([] {
    if (TFrmMain* form = MainForm()) {
      Play(form);
    } else {
      demo.report += "no main window\n";
      PostQuitMessage(1);
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zorvel_demo SOURCE FOLDER\n");
    return 2;
  }
  // Paths as the system's dialogs give them, though a Linux shell may pass "Z:/...".
  demo.source = argv[1];
  demo.folder = argv[2];
  std::replace(demo.source.begin(), demo.source.end(), '/', '\\');
  std::replace(demo.folder.begin(), demo.folder.end(), '/', '\\');
  if (demo.folder.empty() || demo.folder.back() != '\\') demo.folder += '\\';
  CreateDirectoryW(TextToWide(demo.folder).c_str(), nullptr);

  SetMessageBoxHook([](const std::string& text, const std::string& caption, unsigned flags) {
    demo.report += "message: " + text + "\n";
    if (!demo.showNextMessage) return IDOK;
    demo.showNextMessage = false;
    return ShowAndSaveMessageBox(text, caption, flags);
  });
  SetOpenDialogHook([](TOpenDialog& dialog) {
    dialog.FileName = demo.source;
    return true;
  });
  SetFolderBrowserHook(
      [](const std::string&, const std::string&) { return TextToWide(demo.folder + "out"); });
  SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Start);
  WinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineA(), SW_SHOWNORMAL);

  demo.report += demo.ok ? "result: ok\n" : "result: failed\n";
  std::fwrite(demo.report.data(), 1, demo.report.size(), stdout);
  return demo.ok ? 0 : 1;
}
