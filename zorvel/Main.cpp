#include "Main.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "MainText.h"
#include "SkinDrawWin.h"
#include "SkinManage.h"

namespace zorvel_text {
const char* const kReady = "准备就绪";
const char* const kDone = "完成";
const char* const kFailed = "转换失败";
const char* const kSkipped = "已跳过";
const char* const kAllDone = "转换完成";
const char* const kConverting = "正在转换 ";
const char* const kNoFolder = "请选择保存的文件夹";
}  // namespace zorvel_text

namespace {

using namespace zorvel_text;

const char kProbeBusy[] = "正在读取视频的时长，请稍候。";
const char kProbeBusyClose[] = "正在读取视频的时长，请稍候再关闭。";
const char kBatchBusyClose[] = "正在转换，请等转换完成后再关闭。";
const char kAddRefused[] = "无法添加文件：";
const char kFolderRefused[] = "无法使用输出目录：";
const char kProgramFolderRefused[] =
    "无法从本程序所在的文件夹启动 mplayer.exe 和 ffmpeg.exe，读不出新增文件的时长，也无法转换：";
const char kOutsideCodePage[] =
    "名字中有本程序不能处理的字符（简体中文代码页以外的字符），请改名后再试。";

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// A folder as command lines hold it: exactly, or the programs in it would be started by a
// look-alike path. One the code page cannot hold is taken by its short name, which it
// mostly can; nothing when neither is held.
std::optional<std::string> FolderForCommands(const std::wstring& folder) {
  if (auto exact = WideToTextExact(folder)) return exact;
  std::wstring shortName(32768, L'\0');
  const DWORD n = GetShortPathNameW(folder.c_str(), shortName.data(), DWORD(shortName.size()));
  if (n == 0 || n >= shortName.size()) return std::nullopt;
  shortName.resize(n);
  return WideToTextExact(shortName);
}

bool DirectoryExists(const std::string& path) {
  const DWORD attr = GetFileAttributesW(TextToWide(path).c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The absolute, case-folded form of a path, for telling whether two name one file.
std::wstring ComparablePath(const std::string& path) {
  const std::wstring w = TextToWide(path);
  std::wstring full(32768, L'\0');
  const DWORD n = GetFullPathNameW(w.c_str(), DWORD(full.size()), full.data(), nullptr);
  full.resize(n > 0 && n < full.size() ? n : 0);
  if (full.empty()) full = w;
  std::replace(full.begin(), full.end(), L'/', L'\\');
  CharUpperBuffW(full.data(), DWORD(full.size()));
  return full;
}

// Tells whether two paths name one file. Each path is looked up on disk once: the batch
// plan compares every job with every source.
class TFileIdentities {
 public:
  bool SameFile(const std::string& a, const std::string& b) {
    const Key &ka = KeyOf(a), &kb = KeyOf(b);
    return ka.path == kb.path || (ka.id && ka.id == kb.id);
  }

 private:
  struct Key {
    std::wstring path;
    // Two names of one file (a short name, say): the file's identity tells.
    std::optional<std::tuple<DWORD, DWORD, DWORD>> id;
  };
  const Key& KeyOf(const std::string& path) {
    if (auto it = keys_.find(path); it != keys_.end()) return it->second;
    Key key{ComparablePath(path), std::nullopt};
    HANDLE h = CreateFileW(TextToWide(path).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      BY_HANDLE_FILE_INFORMATION info{};
      if (GetFileInformationByHandle(h, &info))
        key.id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
      CloseHandle(h);
    }
    return keys_.emplace(path, std::move(key)).first->second;
  }
  std::unordered_map<std::string, Key> keys_;
};

std::string Title() {
  return Application ? Application->Title : std::string();
}

// A name the code page cannot hold would reach the encoder as "?" or as a look-alike
// that may name another file: it is refused, and shown as it is.
void RefuseName(const char* what, const std::wstring& name) {
  AppMessageBoxW(TextToWide(what) + L"\r\n" + name + L"\r\n\r\n" + TextToWide(kOutsideCodePage),
                 Title(), MB_OK | MB_ICONWARNING);
}

// One line of the closing box: the skipped source and why.
std::string SkipLine(const std::vector<std::string>& sources, const zorvel::TPlannedJob& job,
                     std::size_t index) {
  const std::string& other = sources[job.Other];
  std::string why = "输出文件就是源文件本身";
  if (job.Skip == zorvel::TSkip::OtherSource) why = "输出文件会覆盖列表中的源文件 " + other;
  if (job.Skip == zorvel::TSkip::AlreadyWritten)
    why = "输出文件 " + job.Output + " 已由本次转换的 " + other + " 写出";
  return sources[index] + "：" + why;
}

// How many rows of a box that names files fit on the screen beside its `otherLines`
// lines of text and its button. A long row wraps: each is measured in the box's font as
// it would wrap at a width narrower than any box's, so that the estimate errs on the
// short side.
std::size_t RowsThatFit(const std::vector<std::string>& rows, int otherLines) {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const int line = std::max<int>(tm.tmHeight + tm.tmExternalLeading, 1);
  const int width = std::max<int>((work.right - work.left) / 5, 160);
  // The caption, the other lines, the button and the margins.
  int room = (work.bottom - work.top) - (otherLines + 8) * line - GetSystemMetrics(SM_CYCAPTION);
  std::size_t fit = 0;
  for (; fit < rows.size(); ++fit) {
    const std::wstring text = TextToWide(rows[fit]);
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    room -= std::max<int>(r.bottom - r.top, line);
    if (room < 0) break;
  }
  SelectObject(dc, old);
  if (font) DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return fit;
}

// True for the life of the object.
struct TScopedFlag {
  bool& flag;
  explicit TScopedFlag(bool& f) : flag(f) { flag = true; }
  ~TScopedFlag() { flag = false; }
  TScopedFlag(const TScopedFlag&) = delete;
  TScopedFlag& operator=(const TScopedFlag&) = delete;
};

// Only "not found" means absent: a file the system cannot tell about may well be there.
bool MayExist(const std::string& path) {
  if (GetFileAttributesW(TextToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
         error != ERROR_INVALID_DRIVE;
}

// The outputs of the planned jobs that are in the folder already, each named once: the
// encoder would replace them without a word.
std::vector<std::string> ExistingOutputs(const std::vector<zorvel::TPlannedJob>& plan) {
  std::vector<std::string> existing;
  for (const zorvel::TPlannedJob& job : plan)
    if (job.Skip == zorvel::TSkip::None && job.SameOutput.empty() && MayExist(job.Output))
      existing.push_back(job.Output);
  return existing;
}

}  // namespace

std::string BrowseForFolderPath(HWND owner, const std::string& title, const std::string& root) {
  std::wstring chosen;
  try {
    chosen = ShellBrowseForFolder(owner, title, root);
  } catch (...) {
    return {};  // the browser never reports its failures
  }
  const auto text = WideToTextExact(chosen);
  if (!text) {
    RefuseName(kFolderRefused, chosen);
    return {};
  }
  return zorvel::FolderText(*text);
}

TFrmMain::TFrmMain(TComponent* owner) : TForm(owner) {
  RegisterFormsClasses();
  RegisterSkinClasses();
  RegisterComponentClass("TFrmMain", "TForm");
  RegisterMethod("FormCreate", TNotifyEvent([this](TObject* s) { FormCreate(s); }));
  RegisterMethod("FormClose",
                 TCloseEvent([this](TObject* s, TCloseAction& a) { FormClose(s, a); }));
  RegisterMethod("FormCloseQuery",
                 TCloseQueryEvent([this](TObject* s, bool& c) { FormCloseQuery(s, c); }));
  RegisterMethod("btnAddClick", TNotifyEvent([this](TObject* s) { btnAddClick(s); }));
  RegisterMethod("btnDeleteClick", TNotifyEvent([this](TObject* s) { btnDeleteClick(s); }));
  RegisterMethod("btnClearClick", TNotifyEvent([this](TObject* s) { btnClearClick(s); }));
  RegisterMethod("btnMoveToUpClick", TNotifyEvent([this](TObject* s) { btnMoveToUpClick(s); }));
  RegisterMethod("btnMoveToDownClick", TNotifyEvent([this](TObject* s) { btnMoveToDownClick(s); }));
  RegisterMethod("Button8Click", TNotifyEvent([this](TObject* s) { Button8Click(s); }));
  RegisterMethod("btnConvertClick", TNotifyEvent([this](TObject* s) { btnConvertClick(s); }));
  RegisterMethod("lvwFilesData",
                 TLVOwnerDataEvent([this](TObject* s, TListItem* i) { lvwFilesData(s, i); }));

  RegisterField("WebBrowser1", WebBrowser1);
  RegisterField("GroupBox3", GroupBox3);
  RegisterField("Panel1", Panel1);
  RegisterField("lvwFiles", lvwFiles);
  RegisterField("Panel2", Panel2);
  RegisterField("btnAdd", btnAdd);
  RegisterField("btnDelete", btnDelete);
  RegisterField("btnClear", btnClear);
  RegisterField("GroupBox1", GroupBox1);
  RegisterField("btnMoveToUp", btnMoveToUp);
  RegisterField("btnMoveToDown", btnMoveToDown);
  RegisterField("GroupBox5", GroupBox5);
  RegisterField("cmbVideoKbps", cmbVideoKbps);
  RegisterField("cmbVideoFrame", cmbVideoFrame);
  RegisterField("cmbVideoSize", cmbVideoSize);
  RegisterField("cmbAspect", cmbAspect);
  RegisterField("GroupBox6", GroupBox6);
  RegisterField("Label10", Label10);
  RegisterField("edtSaveDir", edtSaveDir);
  RegisterField("Button8", Button8);
  RegisterField("GroupBox2", GroupBox2);
  RegisterField("Label1", Label1);
  RegisterField("Label2", Label2);
  RegisterField("lblInfo", lblInfo);
  RegisterField("ProgressBar1", ProgressBar1);
  RegisterField("btnConvert", btnConvert);
  RegisterField("OpenDialog1", OpenDialog1);
  RegisterField("SkinData1", SkinData1);
  RegisterField("SkinStore1", SkinStore1);

  ReadFormResource("FRMMAIN");
}

void TFrmMain::FormCreate(TObject*) {
  DosCommand1 = new TDosCommand(this);
  DosCommand2 = new TDosCommand(this);
  DosCommand1->OnNewLine = [this](TObject* s, std::string line, TOutputType t) {
    DosCommand1NewLine(s, std::move(line), t);
  };
  DosCommand1->OnTerminated = [this](TObject* s) { DosCommand2Terminated(s); };
  DosCommand2->OnTerminated = [this](TObject* s) { DosCommand2Terminated(s); };
  // The form resource has been read: the skin data finishes loading, then takes the
  // third stored skin and switches skinning on (a refused folder's box is skinned too).
  SkinData1->Loaded();
  SkinData1->LoadSkinFromStore(SkinStore1, 2);
  SkinData1->SetActive(true);
  SetProgramFolder(ProgramFolder());
  // The banner: our own page beside the program, never the network.
  if (!FAppDir.empty()) WebBrowser1->Navigate(FAppDir + "start.html");
  FFileList.clear();
}

void TFrmMain::SetProgramFolder(const std::wstring& folder) {
  const auto text = FolderForCommands(folder);
  FAppDir = text.value_or(std::string());
  FProgramFolderRefused = text ? std::wstring() : folder;
  if (!text) RefuseName(kProgramFolderRefused, folder);
}

void TFrmMain::FormCloseQuery(TObject*, bool& CanClose) {
  // Closing now would pull the window from under a wait that is still running; the
  // question before a batch is answered in its own box.
  if (FAsking) {
    CanClose = false;
  } else if (FProbing || FConverting) {
    CanClose = false;
    AppMessageBox(FProbing ? kProbeBusyClose : kBatchBusyClose, Title(),
                  MB_OK | MB_ICONINFORMATION);
  }
}

void TFrmMain::FormClose(TObject*, TCloseAction&) {
  ClearFileList();
}

TFileInfo* TFrmMain::GetFileInfo(int Index) const {
  if (Index < 0 || Index >= int(FFileList.size())) return nullptr;
  return FFileList[std::size_t(Index)].get();
}

void TFrmMain::ClearFileList() {
  FFileList.clear();
}

void TFrmMain::WaitProbePass() {
  const ULONGLONG end = GetTickCount64() + ProbePassMs;
  while (!FProbeDone) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
    Application->ProcessMessages();
  }
}

int TFrmMain::GetVideoDuration(const std::string& FileName) {
  const TScopedFlag probing(FProbing);
  if (!FProgramFolderRefused.empty()) return 0;  // the user has been told at start-up
  DosCommand2->CommandLine = zorvel::ProbeCommandLine(FAppDir, FileName);
  FProbeDone = false;
  DosCommand2->Start();
  for (int pass = 0; pass < 50 && !FProbeDone; ++pass) {
    if (zorvel::HasProbeKey(DosCommand2->Lines.Text())) break;
    WaitProbePass();
  }
  DosCommand2->Stop();
  return zorvel::ProbeDuration(DosCommand2->Lines.Text());
}

void TFrmMain::btnAddClick(TObject*) {
  if (FProbing) {
    AppMessageBox(kProbeBusy, Title(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!OpenDialog1->Execute(Handle())) return;
  if (OpenDialog1->FileName.empty()) {
    RefuseName(kAddRefused, OpenDialog1->WideFileName);
    return;
  }
  ProgressBar1->SetPosition(0);
  lblInfo->SetCaption(kReady);
  auto info = std::make_unique<TFileInfo>();
  info->FilePath = OpenDialog1->FileName;
  info->Duration = GetVideoDuration(info->FilePath);
  info->Status = kReady;
  FFileList.push_back(std::move(info));
  lvwFiles->SetItemCount(int(FFileList.size()));
}

void TFrmMain::lvwFilesData(TObject*, TListItem* Item) {
  const TFileInfo* info = GetFileInfo(Item->Index);
  if (!info) return;
  Item->Caption = info->FilePath;
  Item->SubItems.Add(info->Status);
}

void TFrmMain::btnDeleteClick(TObject*) {
  const int index = lvwFiles->ItemIndex();
  if (lvwFiles->ItemCount() <= 0 || index < 0 || index >= int(FFileList.size())) return;
  FFileList.erase(FFileList.begin() + index);
  lvwFiles->SetItemCount(int(FFileList.size()));
  lvwFiles->Repaint();
}

void TFrmMain::btnClearClick(TObject*) {
  ClearFileList();
  lvwFiles->SetItemCount(0);
  lvwFiles->Repaint();
}

void TFrmMain::btnMoveToUpClick(TObject*) {
  const int index = lvwFiles->ItemIndex();
  if (lvwFiles->ItemCount() <= 0 || index < 1 || index >= int(FFileList.size())) return;
  std::swap(FFileList[std::size_t(index)], FFileList[std::size_t(index) - 1]);
  lvwFiles->Repaint();
}

void TFrmMain::btnMoveToDownClick(TObject*) {
  const int index = lvwFiles->ItemIndex();
  if (lvwFiles->ItemCount() <= 0 || index < 0 || index + 1 >= int(FFileList.size())) return;
  std::swap(FFileList[std::size_t(index)], FFileList[std::size_t(index) + 1]);
  lvwFiles->Repaint();
}

void TFrmMain::Button8Click(TObject*) {
  const std::string dir = BrowseForFolderPath(Handle(), "请选择文件", "");
  if (!dir.empty()) edtSaveDir->SetText(dir);
}

void TFrmMain::ForceOutputDir(const std::string& path) {
  if (DirectoryExists(path)) return;
  for (const std::string& folder : zorvel::FolderPrefixes(path)) {
    if (folder.empty() || DirectoryExists(folder)) continue;
    if (CreateDirectoryW(TextToWide(folder).c_str(), nullptr)) continue;
    const DWORD error = GetLastError();
    AppMessageBox("建立目录：" + path + "出错！\r\n\r\n请检查目录名是否正确。", Title(),
                  MB_OK | MB_ICONERROR);
    throw EInOutError("I/O error " + std::to_string(error), int(error));
  }
}

void TFrmMain::SetBatchControlsEnabled(bool enabled) {
  GroupBox3->SetEnabled(enabled);
  GroupBox6->SetEnabled(enabled);
  lvwFiles->SetEnabled(enabled);
  btnConvert->SetEnabled(enabled);
}

void TFrmMain::btnConvertClick(TObject*) {
  if (FProbing) {
    AppMessageBox(kProbeBusy, Title(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (FConverting || FAsking) return;
  const std::string saveDir = edtSaveDir->Text();
  if (saveDir.empty()) {
    ShowMessage(kNoFolder);
    return;
  }
  if (!FProgramFolderRefused.empty()) {
    RefuseName(kProgramFolderRefused, FProgramFolderRefused);
    return;
  }
  ForceOutputDir(saveDir);

  std::vector<std::string> sources;
  for (const auto& job : FFileList) sources.push_back(job->FilePath);
  TFileIdentities files;
  const auto plan = zorvel::PlanBatch(
      sources, saveDir,
      [&files](const std::string& a, const std::string& b) { return files.SameFile(a, b); });
  if (const auto existing = ExistingOutputs(plan); !existing.empty()) {
    const TScopedFlag asking(FAsking);
    if (AppMessageBox(zorvel::ReplaceQuestion(existing, RowsThatFit(existing, 4)), Title(),
                      MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK)
      return;
  }
  std::vector<std::string> skipped;
  FConverting = true;
  SetBatchControlsEnabled(false);
  try {
    FCurrentIndex = 0;
    const int count = int(FFileList.size());
    std::vector<bool> written(std::size_t(count), false);
    for (int i = 0; i < count; ++i) {
      FCurrentIndex = i;
      TFileInfo* job = GetFileInfo(i);
      lblInfo->SetCaption(kConverting + job->FilePath);
      // The encoder overwrites its output: a listed source or what this batch wrote is
      // never risked.
      const zorvel::TPlannedJob turn = zorvel::JobAtItsTurn(plan, std::size_t(i), written);
      if (turn.Skip != zorvel::TSkip::None) {
        job->Status = kSkipped;
        skipped.push_back(SkipLine(sources, turn, std::size_t(i)));
      } else {
        written[std::size_t(i)] = ConvertVideo(job, turn.Output);
        job->Status = written[std::size_t(i)] ? kDone : kFailed;
      }
      lvwFiles->Invalidate();
    }
  } catch (...) {
    FConverting = false;
    ProgressBar1->SetPosition(0);
    SetBatchControlsEnabled(true);
    throw;
  }
  ProgressBar1->SetPosition(0);
  lblInfo->SetCaption(kAllDone);
  SetBatchControlsEnabled(true);
  FConverting = false;
  if (!skipped.empty())
    AppMessageBox(zorvel::SkippedNote(skipped, RowsThatFit(skipped, 2)), Title(),
                  MB_OK | MB_ICONWARNING);
}

bool TFrmMain::ConvertVideo(TFileInfo* job, const std::string& output) {
  ProgressBar1->SetMax(job->Duration);
  ProgressBar1->SetMin(0);
  zorvel::TConvertOptions options;
  options.Kbps = cmbVideoKbps->Text();
  options.FrameRate = cmbVideoFrame->Text();
  if (cmbVideoSize->ItemIndex() > 0) options.Size = cmbVideoSize->Text();
  if (cmbAspect->ItemIndex() > 0) options.Aspect = cmbAspect->Text();
  DosCommand1->CommandLine = zorvel::ConvertCommandLine(FAppDir, job->FilePath, options, output);
  DosCommand1->Start();
  // Every line and the end of the run arrive as messages: wait for them, never spin.
  while (DosCommand1->IsRunning()) Application->HandleMessage();
  DosCommand1->Stop();
  const auto code = DosCommand1->ExitCode();
  return code && *code == 0;
}

void TFrmMain::DosCommand1NewLine(TObject*, std::string NewLine, TOutputType) {
  if (const auto seconds = zorvel::ProgressSeconds(NewLine)) ProgressBar1->SetPosition(*seconds);
}

void TFrmMain::DosCommand1Terminated(TObject*) {
  ProgressBar1->SetPosition(0);
}

void TFrmMain::DosCommand2Terminated(TObject*) {
  FProbeDone = true;
}

// Start-up: the application, its title, the main form, the message loop until the main
// form closes.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitSkinData();
  InitSkinDraw();
  InitSkinManage();
  {
    TApplication application;
    application.Initialize();
    application.Title = "Kestrin 8.5";
    SafeCall([&] {
      auto* form = new TFrmMain(&application);  // the application frees it
      form->IsMainForm = true;
      form->Show();
      while (!application.Terminated()) application.HandleMessage();
    });
  }
  DoneSkinManage();
  DoneSkinDraw();
  DoneSkinData();
  return 0;
}
