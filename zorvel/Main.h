// The converter's only window: the job list with probed durations, the options, the
// output folder and the batch that runs the encoder once per job.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DosCommand.h"
#include "WinSkinData.h"
#include "forms/ComCtrls.h"
#include "forms/Dialogs.h"
#include "forms/Forms.h"
#include "forms/OleCtrls.h"
#include "forms/StdCtrls.h"

// One conversion job.
struct TFileInfo {
  int Duration = 0;  // whole seconds, 0 when the probe found none
  std::string Status;
  std::string FilePath;
};

class TFrmMain : public TForm {
 public:
  // Reads the form resource FRMMAIN and runs FormCreate.
  explicit TFrmMain(TComponent* owner);

  TWebBrowser* WebBrowser1 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TPanel* Panel1 = nullptr;
  TListView* lvwFiles = nullptr;
  TPanel* Panel2 = nullptr;
  TButton* btnAdd = nullptr;
  TButton* btnDelete = nullptr;
  TButton* btnClear = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TButton* btnMoveToUp = nullptr;
  TButton* btnMoveToDown = nullptr;
  TGroupBox* GroupBox5 = nullptr;
  TComboBox* cmbVideoKbps = nullptr;
  TComboBox* cmbVideoFrame = nullptr;
  TComboBox* cmbVideoSize = nullptr;
  TComboBox* cmbAspect = nullptr;
  TGroupBox* GroupBox6 = nullptr;
  TLabel* Label10 = nullptr;
  TEdit* edtSaveDir = nullptr;
  TButton* Button8 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* lblInfo = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TButton* btnConvert = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TSkinData* SkinData1 = nullptr;
  TSkinStore* SkinStore1 = nullptr;

  TDosCommand* DosCommand1 = nullptr;  // the encoder
  TDosCommand* DosCommand2 = nullptr;  // the duration probe

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void btnAddClick(TObject* Sender);
  void btnDeleteClick(TObject* Sender);
  void btnClearClick(TObject* Sender);
  void btnMoveToUpClick(TObject* Sender);
  void btnMoveToDownClick(TObject* Sender);
  void Button8Click(TObject* Sender);
  void lvwFilesData(TObject* Sender, TListItem* Item);
  void btnConvertClick(TObject* Sender);
  // Runs the encoder on the job to its end, writing `output`; true when it ran and
  // exited with code 0.
  bool ConvertVideo(TFileInfo* job, const std::string& output);
  void DosCommand1NewLine(TObject* Sender, std::string NewLine, TOutputType OutputType);
  void DosCommand1Terminated(TObject* Sender);
  void DosCommand2Terminated(TObject* Sender);
  // Creates the folder with its missing parents; on failure tells the user and raises
  // EInOutError.
  void ForceOutputDir(const std::string& path);

  TFileInfo* GetFileInfo(int Index) const;
  int FileCount() const noexcept { return int(FFileList.size()); }
  int GetVideoDuration(const std::string& FileName);
  void ClearFileList();

  // The folder of the encoder and the probe (the program's own, with "\").
  const std::string& AppDir() const noexcept { return FAppDir; }
  void SetAppDir(const std::string& dir) {
    FAppDir = dir;
    FProgramFolderRefused.clear();
  }
  // Takes the folder (with "\") as the command lines can hold it; one they cannot is
  // refused, which the user is told, and then no probe or encoder is started.
  void SetProgramFolder(const std::wstring& folder);
  // The probe looks for its answer once per pass, at most 50 passes.
  unsigned ProbePassMs = 1000;
  bool Probing() const noexcept { return FProbing; }
  bool Converting() const noexcept { return FConverting; }
  int CurrentIndex() const noexcept { return FCurrentIndex; }

 private:
  void SetBatchControlsEnabled(bool enabled);
  void WaitProbePass();

  std::string FAppDir;
  std::wstring FProgramFolderRefused;  // the program's folder when it cannot be used
  std::vector<std::unique_ptr<TFileInfo>> FFileList;
  bool FProbeDone = false;
  int FCurrentIndex = 0;
  bool FProbing = false;
  bool FConverting = false;
  bool FAsking = false;  // the question before a batch is open
};

// The folder the user picks, with "\" appended when longer than three characters;
// empty when cancelled or refused (a name outside the code page, which the user is told).
std::string BrowseForFolderPath(HWND owner, const std::string& title, const std::string& root);

// Texts of the form that tests and the user see.
namespace zorvel_text {
extern const char* const kReady;       // 准备就绪
extern const char* const kDone;        // 完成
extern const char* const kFailed;      // the status of a failed encode
extern const char* const kSkipped;     // a job that would overwrite a source or an output
extern const char* const kAllDone;     // 转换完成
extern const char* const kConverting;  // "正在转换 "
extern const char* const kNoFolder;    // 请选择保存的文件夹
}  // namespace zorvel_text
