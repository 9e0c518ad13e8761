// The option lists of the main dialog and the conversion queue: one encoder run per
// row, top row first, polled once a second through the progress file.
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "OemCommand.h"
#include "OutputNaming.h"
#include "dialogs/SystemDialogs.h"
#include "resource.h"
#include "videoDlg.h"

const wchar_t CvideoDlg::kStatusDone[] = L"已完成";
const wchar_t CvideoDlg::kStatusFailed[] = L"转换失败";
const wchar_t CvideoDlg::kStatusNotStarted[] = L"无法启动";
const wchar_t CvideoDlg::kStatusRefused[] = L"无法转换";

namespace {

constexpr int kFullScale = 1000;  // the progress file counts thousandths
constexpr UINT kChineseCodePage = 936;
// "转换完成" in code page 936: the completion box is an 8-bit box.
constexpr char kFinishedText[] = "\xD7\xAA\xBB\xBB\xCD\xEA\xB3\xC9";

// Widens a list's drop-down, when it is narrower, to show `text` whole beside its
// scroll bar, measured with the list's own font.
void FitDropDown(CComboBox& box, const std::wstring& text) {
  HDC dc = GetDC(box.m_hWnd);
  if (!dc) return;
  const auto font = HGDIOBJ(box.SendMessage(WM_GETFONT));
  const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
  if (old) SelectObject(dc, old);
  ReleaseDC(box.m_hWnd, dc);
  const int needed =
      extent.cx + GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE) + 4;
  if (needed > int(box.SendMessage(CB_GETDROPPEDWIDTH)))
    box.SendMessage(CB_SETDROPPEDWIDTH, WPARAM(needed));
}

// The dialog's combo boxes as the option tables address them.
class DialogOptionBoxes final : public video::OptionBoxes {
 public:
  explicit DialogOptionBoxes(CvideoDlg& dlg) : dlg_(dlg) {}

  void ResetContent(int control) override {
    if (CComboBox* box = Box(control)) {
      box->ResetContent();
      box->SendMessage(CB_SETDROPPEDWIDTH, 0);  // as wide as the box again
    }
  }
  void InsertString(int control, int position, const std::wstring& text) override {
    if (CComboBox* box = Box(control)) {
      box->InsertString(position, text);
      FitDropDown(*box, text);
    }
  }
  void SetCurSel(int control, int position) override {
    if (CComboBox* box = Box(control)) box->SetCurSel(position);
  }
  std::wstring SelectedText(int control) const override {
    CComboBox* box = Box(control);
    if (!box || !box->m_hWnd) return {};
    const int sel = box->GetCurSel();
    return sel < 0 ? std::wstring() : box->GetLBText(sel);
  }

 private:
  CComboBox* Box(int control) const {
    switch (control) {
      case video::kFormatList:
        return &dlg_.m_format;
      case video::kVideoCodecList:
        return &dlg_.m_videoCodec;
      case video::kVideoBitrateList:
        return &dlg_.m_videoBitrate;
      case video::kFrameSizeList:
        return &dlg_.m_frameSize;
      case video::kFrameRateList:
        return &dlg_.m_frameRate;
      case video::kAspectList:
        return &dlg_.m_aspect;
      case video::kAudioCodecList:
        return &dlg_.m_audioCodec;
      case video::kAudioBitrateList:
        return &dlg_.m_audioBitrate;
      case video::kSampleRateList:
        return &dlg_.m_sampleRate;
      case video::kChannelsList:
        return &dlg_.m_channels;
      default:
        return nullptr;
    }
  }
  CvideoDlg& dlg_;
};

// The progress file as it is now: its text and when it was last written. Shared every
// way: the encoder may hold the file open while it writes.
CvideoDlg::ProgressLook LookAtProgress(const std::wstring& path) {
  CvideoDlg::ProgressLook look;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return look;
  char text[64];
  DWORD got = 0;
  look.read = ReadFile(h, text, sizeof text - 1, &got, nullptr) != 0 &&
              GetFileTime(h, nullptr, nullptr, &look.written) != 0;
  CloseHandle(h);
  look.text.assign(text, look.read ? got : 0);
  return look;
}

// The value the encoder left: the first decimal integer, as a "%d" scan reads it (0 when
// the text holds none). Nothing when the file could not be read or is empty: the encoder
// may be rewriting it at this very moment.
bool ReadProgress(const CvideoDlg::ProgressLook& look, int& value) {
  if (!look.read || look.text.empty()) return false;
  const std::string_view s = look.text;
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  long long n = 0;
  bool digits = false;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    digits = true;
    if (n <= kFullScale) n = n * 10 + (s[i] - '0');  // anything past the scale stays past it
  }
  value = !digits ? 0 : int(negative ? -n : n);
  return true;
}

// True while the progress file holds what it held when it could not be reset.
bool IsUnchanged(const CvideoDlg::ProgressLook& now, const CvideoDlg::ProgressLook& stale) {
  return CompareFileTime(&now.written, &stale.written) <= 0 &&
         (!stale.read || now.text == stale.text);
}

// The status text of a per-mille value: "--%" for one outside the scale.
std::wstring PercentText(int value) {
  if (value < 0 || value > kFullScale) return L"--%";
  return std::to_wstring(value / 10) + L"%";
}

// The full path of a name; empty when the system cannot make one.
std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  const DWORD n = size ? GetFullPathNameW(path.c_str(), size, full.data(), nullptr) : 0;
  full.resize(n < size ? n : 0);
  return full;
}

// The path in the form without the length limit of plain paths: a long output name
// must be checked as the file it names.
std::wstring LongForm(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  return full.empty() ? path : video::ExtendedLengthPath(full);
}

// Only "not found" means absent: a file behind a denied access or a share that does not
// answer may well be there, and the encoder's "-y" would overwrite it.
video::FileState StateOf(const std::wstring& path, DWORD& attributes) {
  attributes = GetFileAttributesW(LongForm(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return video::FileState::present;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return video::FileState::absent;
    default:
      return video::FileState::unknown;
  }
}

// Why the output folder cannot take the outputs: it does not exist (it is not created),
// or the name is a file's; empty when it is a folder, or when the file system cannot
// tell, which each row's own output then reports.
std::wstring FolderRefusal(const std::wstring& folder) {
  DWORD attributes = 0;
  switch (StateOf(folder, attributes)) {
    case video::FileState::absent:
      return L"输出目录不存在，请先建立它，或另选一个已有的文件夹：\n" + folder;
    case video::FileState::present:
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return L"输出目录是一个文件，不是文件夹，请另选输出目录：\n" + folder;
      return {};
    default:
      return {};
  }
}

// Two names of one file (another case, a short name, ".."): the file's identity tells.
bool SameFile(const std::wstring& a, const std::wstring& b) {
  const auto identity = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileW(LongForm(path).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  return identity(a, ia) && identity(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

}  // namespace

// ---- option lists ----

void CvideoDlg::InitOptionTables() {
  m_boxes = std::make_unique<DialogOptionBoxes>(*this);
  m_tables =
      std::make_unique<video::OptionTables>(*m_boxes, [this] { return std::wstring(m_exeDir); });
}

void CvideoDlg::FillOptions3gp() {
  m_tables->FillOptions3gp();
}
void CvideoDlg::FillOptions3gpp2() {
  m_tables->FillOptions3gpp2();
}
void CvideoDlg::FillAudioAmr() {
  m_tables->FillAudioAmr();
}
void CvideoDlg::FillAudioAac() {
  m_tables->FillAudioAac();
}

void CvideoDlg::OnFormatChanged() {
  m_tables->OnFormatChanged();
  SyncOptions();
}

void CvideoDlg::MapVideoCodec() {
  m_tables->MapVideoCodec();
  SyncOptions();
}
void CvideoDlg::MapVideoBitrate() {
  m_tables->MapVideoBitrate();
  SyncOptions();
}
void CvideoDlg::MapVideoSize() {
  m_tables->MapVideoSize();
  SyncOptions();
}
void CvideoDlg::MapFrameRate() {
  m_tables->MapFrameRate();
  SyncOptions();
}
void CvideoDlg::OnAspectChanged() {
  m_tables->MapAspect();
  SyncOptions();
}
void CvideoDlg::MapAudioCodec() {
  m_tables->MapAudioCodec();
  SyncOptions();
}
void CvideoDlg::MapAudioBitrate() {
  m_tables->MapAudioBitrate();
  SyncOptions();
}
void CvideoDlg::MapSampleRate() {
  m_tables->MapSampleRate();
  SyncOptions();
}
void CvideoDlg::MapChannels() {
  m_tables->MapChannels();
  SyncOptions();
}

// ---- the queue ----

std::wstring CvideoDlg::ProgressPath() const {
  return std::wstring(m_exeDir) + L"\\progress.txt";
}

void CvideoDlg::EnableInputs(bool enable) {
  for (int id : {IDC_OUTPUT_DIR, IDC_ADD, IDC_DELETE, IDC_CLEAR, IDC_UP, IDC_DOWN, IDC_SET_OUTPUT,
                 IDC_CONVERT})
    ::EnableWindow(GetDlgItem(id), enable);
  for (int id = video::kFormatList; id <= video::kChannelsList; ++id)
    ::EnableWindow(GetDlgItem(id), enable);
  if (enable) ::EnableWindow(GetDlgItem(IDC_FILE_LIST), TRUE);
}

bool CvideoDlg::RunGoesOn() const {
  return m_converting && !Ended();
}

void CvideoDlg::OnConvert() {
  // A click that reaches the handler while a run is on (a box of the run open), or once
  // the dialog has ended, starts nothing.
  if (m_converting || Ended()) return;
  if (m_list.GetItemCount() == 0) {
    DlgMessageBox(m_hWnd, L"请添加要转换的视频", L"提示信息", MB_OK);
    return;
  }
  if (!m_exeDir[0]) {
    TellUnusableExeDir();
    return;
  }
  video::FolderResult folder = video::OutputFolder(m_outputDir.GetWindowText());
  if (folder.error.empty()) folder.error = FolderRefusal(folder.folder);
  if (!folder.error.empty()) {
    DlgMessageBox(m_hWnd, folder.error.c_str(), L"提示信息", MB_OK | MB_ICONWARNING);
    return;
  }
  m_outputFolder = std::move(folder.folder);
  EnableInputs(false);
  // The audio codec's own mapper would refill its lists; its argument is already set.
  m_tables->MapForConvert();
  SyncOptions();
  m_progress.SetPos(0);
  m_total = m_list.GetItemCount();
  m_current = 0;
  m_rowStatus.assign(std::size_t(m_total), std::wstring());
  // Texts of an earlier run stay until the first tick writes every row.
  m_shownStatus.assign(std::size_t(m_total), std::wstring(1, L'\0'));
  m_converting = true;
  if (StartRow(0)) SetTimer(m_hWnd, kPollTimer, kPollPeriodMs, nullptr);
}

std::wstring CvideoDlg::PrepareRow(int row) {
  const std::wstring source = m_list.GetItemText(row, 0);
  const std::wstring& folder = m_outputFolder;
  const std::wstring ext = m_tables->SelectedExtension();

  video::NamingCallbacks callbacks;
  callbacks.fileState = [](const std::wstring& path) {
    DWORD attributes = 0;
    return StateOf(path, attributes);
  };
  callbacks.sameFile = SameFile;
  callbacks.fullPathLength = [](const std::wstring& path) { return FullPath(path).size(); };
  callbacks.confirmOverwrite = [this](const std::wstring& prompt) {
    return DlgMessageBox(m_hWnd, prompt.c_str(), std::wstring(video::kOverwriteCaption).c_str(),
                         MB_OKCANCEL) == IDOK;
  };
  const video::NamingResult named = video::ChooseOutputPath(source, folder, ext, callbacks);
  // Closed while the question was open: the caller starts nothing.
  if (named.output.empty() || !RunGoesOn()) return named.error;

  const video::CommandResult built = video::BuildCommand(source, m_options, named.output);
  if (built.command.empty()) return built.error;
  std::string oem;
  if (std::wstring error = video::ToOemCommand(built.command, oem); !error.empty()) return error;
  if (oem.size() >= sizeof m_command) return L"转换命令太长，无法转换。";
  std::memcpy(m_command, oem.c_str(), oem.size() + 1);

  // The encoder counts from 0 again; a reader may have the file open at this moment.
  HANDLE h = CreateFileW(ProgressPath().c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (h == INVALID_HANDLE_VALUE || !WriteFile(h, "0", 1, &written, nullptr)) {
    // Locked, or a read-only folder: what the file holds now is another row's, until
    // the encoder writes it. A file that cannot be read counts from this moment.
    m_staleProgress = LookAtProgress(ProgressPath());
    if (!m_staleProgress->read) GetSystemTimeAsFileTime(&m_staleProgress->written);
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return {};
}

bool CvideoDlg::StartRow(int row) {
  m_current = row;
  m_shownValue = 0;
  m_staleProgress.reset();
  m_rowError.clear();
  m_preparing = true;
  std::wstring error = PrepareRow(row);
  if (!error.empty() && RunGoesOn()) {
    m_rowError = error;
    const std::wstring text =
        L"这个文件无法转换：\n" + m_list.GetItemText(row, 0) + L"\n\n" + error;
    DlgMessageBox(m_hWnd, text.c_str(), L"提示信息", MB_OK | MB_ICONWARNING);
  }
  m_preparing = false;
  if (!RunGoesOn()) return false;        // closed while a box was open
  if (!m_rowError.empty()) return true;  // the next tick marks the row and goes on

  // The encoder lives in the program folder, beside its progress file.
  m_encoder = new TavrinFFmpeg(m_command, m_exeDir);
  return true;
}

std::wstring CvideoDlg::FinishedRowStatus() {
  if (!m_encoder) return m_rowError.empty() ? kStatusNotStarted : kStatusRefused;
  std::wstring status;
  DWORD code = 0;
  const std::wstring refusal = m_encoder->Error();
  if (!refusal.empty())
    status = kStatusRefused;
  else if (!m_encoder->GetExitCode(&code))
    status = kStatusNotStarted;
  else
    status = code == 0 ? kStatusDone : kStatusFailed;
  delete m_encoder;
  m_encoder = nullptr;
  if (!refusal.empty()) {
    const std::wstring text =
        L"这个文件无法转换：\n" + m_list.GetItemText(m_current, 0) + L"\n\n" + refusal;
    DlgMessageBox(m_hWnd, text.c_str(), L"提示信息", MB_OK | MB_ICONWARNING);
  }
  return status;
}

void CvideoDlg::FinishRun() {
  m_converting = false;
  EnableInputs(true);
  KillTimer(m_hWnd, kPollTimer);
  KillTimer(m_hWnd, kPauseTimer);
  m_progress.SetPos(kFullScale);
  RefreshStatus(true);
  DlgMessageBoxA(nullptr, kFinishedText, kFinishedText, MB_OK, kChineseCodePage);
}

void CvideoDlg::RefreshStatus(bool finished) {
  std::wstring current;
  if (!finished && m_current < m_total) {
    int value = m_shownValue;
    if (!m_rowError.empty()) {
      current = kStatusRefused;
    } else {
      // While a row is being named its progress file still holds the previous row's end.
      if (!m_preparing) {
        const ProgressLook look = LookAtProgress(ProgressPath());
        if (m_staleProgress && look.read && !IsUnchanged(look, *m_staleProgress))
          m_staleProgress.reset();
        if (!m_staleProgress && ReadProgress(look, value)) m_shownValue = value;
      }
      current = PercentText(value);
      // Within one file the bar only moves forward.
      if (value >= 0 && value <= kFullScale && value > m_progress.GetPos())
        m_progress.SetPos(value);
    }
  }
  // Only what changed is written, so a long list costs little and does not flicker;
  // many changes at once are drawn in one go.
  std::vector<std::pair<int, std::wstring>> changes;
  for (int i = 0; i < m_total; ++i) {
    const std::wstring& text = (i < m_current || finished) ? m_rowStatus[std::size_t(i)]
                               : i > m_current             ? std::wstring(L"等待")
                                                           : current;
    if (m_shownStatus[std::size_t(i)] != text) changes.emplace_back(i, text);
  }
  const bool batch = changes.size() > 8;
  if (batch) m_list.SendMessage(WM_SETREDRAW, FALSE);
  // The texts go straight to the list view's own window procedure: through the subclass
  // chain each message costs window-property lookups, under Wine round trips to the
  // server of about 0.1 ms, and the first tick of a long list writes every row. No
  // subclasser of the list acts on these messages.
  const auto listProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(m_list.m_hWnd, GCLP_WNDPROC));
  for (auto& [row, text] : changes) {
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = text.data();
    CallWindowProcW(listProc, m_list.m_hWnd, LVM_SETITEMTEXTW, WPARAM(row), LPARAM(&item));
    m_shownStatus[std::size_t(row)] = std::move(text);
  }
  if (batch) {
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate(FALSE);
  }
}

LRESULT CvideoDlg::OnTimer(WPARAM id) {
  if (id == kPauseTimer) {
    KillTimer(m_hWnd, kPauseTimer);
    m_progress.SetPos(0);
  } else if (id == kPollTimer && RunGoesOn()) {
    // A tick inside another tick's box, or inside the naming of a row, only refreshes.
    if (!m_inTick && !m_preparing && (!m_encoder || m_encoder->IsDone())) {
      m_inTick = true;
      m_rowStatus[std::size_t(m_current)] = FinishedRowStatus();
      const bool last = m_current >= m_total - 1;
      // A close while the row's box was open ends the run here: no next row, no
      // completion box.
      bool on = RunGoesOn();
      if (on && !last) {
        m_progress.SetPos(kFullScale);
        on = StartRow(m_current + 1);
        // The pause between two files: the bar stays full for a second, the window
        // keeps answering.
        if (on) SetTimer(m_hWnd, kPauseTimer, kPauseMs, nullptr);
      }
      m_inTick = false;
      if (!on) return Default();
      // The completion box is shown outside the guard: a run that Convert starts while
      // it is open ticks on as usual.
      if (last) {
        FinishRun();
        return Default();
      }
    }
    if (RunGoesOn()) RefreshStatus(false);
  }
  return Default();
}
