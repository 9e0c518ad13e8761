#include "videoDlg.h"

#include <shlobj.h>

#include "Dg3.h"
#include "OutputNaming.h"
#include "dialogs/SystemDialogs.h"
#include "resource.h"

const wchar_t CvideoDlg::kBannerUrl[] = L"http://banner.plenvo.example/video/index.html";

CvideoDlg::CvideoDlg(HWND parent) : CDialog(IDD_VIDEO_DIALOG, parent) {
  InitOptionTables();
  m_hIcon = static_cast<HICON>(LoadImageW(GetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  auto ctlColor = [this](WPARAM w, LPARAM l) { return OnCtlColor(w, l); };
  MapMessage(WM_PAINT, [this](WPARAM, LPARAM) { return OnPaint(); });
  MapMessage(WM_PRINTCLIENT, [this](WPARAM w, LPARAM) -> LRESULT {
    PaintClient(HDC(w), GetClientRect(), IsIconic(m_hWnd) != FALSE);
    return 0;
  });
  MapMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM) { return OnQueryDragIcon(); });
  MapClick(IDC_CONVERT, [this] { OnConvert(); });
  MapClick(IDC_ADD, [this] { OnAddFile(); });
  MapClick(IDC_DELETE, [this] { OnDeleteFile(); });
  MapClick(IDC_SET_OUTPUT, [this] { OnSetOutputDir(); });
  MapClick(IDC_CLEAR, [this] { OnClearList(); });
  MapMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) { return OnLButtonDown(); });
  MapClick(IDC_ABOUT, [this] { OnAbout(); });
  for (UINT msg : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT, WM_CTLCOLORDLG, WM_CTLCOLORLISTBOX,
                   WM_CTLCOLORSCROLLBAR, WM_CTLCOLORMSGBOX})
    MapMessage(msg, ctlColor);
  MapClick(IDC_MINIMIZE, [this] { OnMinimize(); });
  MapClick(IDC_CLOSE, [this] { OnCloseButton(); });
  MapNotify(IDC_FILE_LIST, NM_CLICK, [this](NMHDR* h) { return OnListClick(h); });
  MapClick(IDC_UP, [this] { OnMoveUp(); });
  MapClick(IDC_DOWN, [this] { OnMoveDown(); });
  MapNotify(IDC_FILE_LIST, LVN_ITEMCHANGED, [this](NMHDR* h) { return OnListItemChanged(h); });
  MapNotify(IDC_PROGRESS, NM_CUSTOMDRAW, [this](NMHDR* h) { return OnProgressCustomDraw(h); });
  MapCommand(IDC_FORMAT, CBN_SELCHANGE, [this] { OnFormatChanged(); });
  MapCommand(IDC_VIDEO_BITRATE, CBN_SELCHANGE, [this] { MapVideoBitrate(); });
  MapMessage(WM_TIMER, [this](WPARAM w, LPARAM) { return OnTimer(w); });
  MapCommand(IDC_VIDEO_CODEC, CBN_SELCHANGE, [this] { MapVideoCodec(); });
  MapCommand(IDC_FRAME_SIZE, CBN_SELCHANGE, [this] { MapVideoSize(); });
  MapCommand(IDC_FRAME_RATE, CBN_SELCHANGE, [this] { MapFrameRate(); });
  MapCommand(IDC_AUDIO_CODEC, CBN_SELCHANGE, [this] { MapAudioCodec(); });
  MapCommand(IDC_AUDIO_BITRATE, CBN_SELCHANGE, [this] { MapAudioBitrate(); });
  MapCommand(IDC_SAMPLE_RATE, CBN_SELCHANGE, [this] { MapSampleRate(); });
  MapCommand(IDC_CHANNELS, CBN_SELCHANGE, [this] { MapChannels(); });
  MapMessage(WM_CLOSE, [this](WPARAM, LPARAM) { return OnClose(); });
  MapCommand(IDC_ASPECT, CBN_SELCHANGE, [this] { OnAspectChanged(); });
}

CvideoDlg::~CvideoDlg() {
  // The window goes before the members its handlers use.
  if (m_hWnd) DestroyWindow(m_hWnd);
  // However the dialog ended, no hidden encoder goes on writing after it.
  EndRun();
  if (m_hIcon) DestroyIcon(m_hIcon);
}

namespace {

// The files the program keeps beside itself.
constexpr const wchar_t* kOwnFiles[] = {L"\\progress.txt", L"\\vv.exe", L"\\h264.dat"};

// The program's own path, however long.
std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// A path broken into lines short enough for a message box, after a separator where one
// comes late enough in the line: a box as wide as a long path would not fit the screen.
std::wstring BrokenPath(const std::wstring& path) {
  constexpr std::size_t kLine = 64;
  std::wstring out;
  std::size_t line = 0;
  for (wchar_t c : path) {
    out.push_back(c);
    if (++line >= kLine || (c == L'\\' && line >= kLine / 2)) {
      out.push_back(L'\n');
      line = 0;
    }
  }
  return out;
}

}  // namespace

bool CvideoDlg::ExeDirFromModulePath(const std::wstring& path, wchar_t (&out)[kExeDirSize]) {
  out[0] = L'\0';
  if (path.empty()) return false;
  const std::wstring folder = video::FolderOfPath(path);
  // Refused, never cut: a shorter folder would be another one.
  for (const wchar_t* file : kOwnFiles)
    if (folder.size() + wcslen(file) >= video::kEncoderPathCapacity) return false;
  lstrcpynW(out, folder.c_str(), kExeDirSize);
  return true;
}

void CvideoDlg::TellUnusableExeDir() {
  const std::wstring text =
      L"程序所在文件夹的路径太长，无法转换视频：\n" + BrokenPath(m_unusableExeDir) +
      L"\n\n程序要用到放在这个文件夹中的 progress.txt、vv.exe 和 h264.dat，它们的完整路径最多" +
      std::to_wstring(video::kEncoderPathCapacity - 1) +
      L"个字符。请把程序放到路径较短的文件夹后再运行。";
  DlgMessageBox(m_hWnd, text.c_str(), L"提示信息", MB_OK | MB_ICONWARNING);
}

void CvideoDlg::DoDataExchange(CDataExchange& dx) {
  dx.Control(IDC_OUTPUT_DIR, m_outputDir);
  dx.Control(IDC_PROGRESS, m_progress);
  dx.Control(IDC_FORMAT, m_format);
  dx.Control(IDC_VIDEO_CODEC, m_videoCodec);
  dx.Control(IDC_VIDEO_BITRATE, m_videoBitrate);
  dx.Control(IDC_FRAME_SIZE, m_frameSize);
  dx.Control(IDC_FRAME_RATE, m_frameRate);
  dx.Control(IDC_ASPECT, m_aspect);
  dx.Control(IDC_AUDIO_CODEC, m_audioCodec);
  dx.Control(IDC_AUDIO_BITRATE, m_audioBitrate);
  dx.Control(IDC_SAMPLE_RATE, m_sampleRate);
  dx.Control(IDC_CHANNELS, m_channels);
  dx.Control(IDC_FILE_LIST, m_list);
  dx.Control(IDC_ABOUT, m_btnAbout);
  dx.Control(IDC_MINIMIZE, m_btnMinimize);
  dx.Control(IDC_CLOSE, m_btnClose);
  dx.Control(IDC_BANNER, m_banner);
}

BOOL CvideoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, LPARAM(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, LPARAM(m_hIcon));
  m_encoder = nullptr;
  m_outputDir.SetWindowText(L"C:\\");
  m_btnAbout.LoadBitmaps(IDB_ABOUT);
  m_btnMinimize.SetUpInHost(*this, IDB_BACKGROUND, IDB_MIN_MASK, IDB_MIN_HOVER, IDB_MIN_NORMAL, IDB_MIN_PRESSED,
                            IDB_MIN_NORMAL);
  m_btnClose.SetUpInHost(*this, IDB_BACKGROUND, IDB_CLOSE_MASK, IDB_CLOSE_HOVER, IDB_CLOSE_NORMAL,
                         IDB_CLOSE_PRESSED, IDB_CLOSE_HOVER);
  m_list.InsertColumn(0, L"文件名", LVCFMT_LEFT, 290);
  m_list.InsertColumn(1, L"状态显示", LVCFMT_LEFT, 74);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_banner.Navigate2(kBannerUrl);
  m_progress.SetRange(0, 1000);
  InvalidateRect(m_progress.m_hWnd, nullptr, FALSE);
  // "3gp" and "3gpp2" into the format list, "3gp" selected, its fill and every mapper.
  m_tables->InitFormats();
  SyncOptions();

  // The program folder: one too long for the program's own files is said once here and
  // again at Convert, which starts nothing.
  const std::wstring path = ModulePath();
  if (!ExeDirFromModulePath(path, m_exeDir)) {
    m_unusableExeDir = video::FolderOfPath(path);
    TellUnusableExeDir();
  }
  return TRUE;
}

void CvideoDlg::PaintClient(HDC dc, const RECT& client, bool iconic) {
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (iconic) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, client.left + (width - cx + 1) / 2, client.top + (height - cy + 1) / 2, m_hIcon);
    return;
  }
  DrawStretchedBitmap(dc, IDB_BACKGROUND, client);
}

LRESULT CvideoDlg::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  PaintClient(dc, GetClientRect(), IsIconic(m_hWnd) != FALSE);
  EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT CvideoDlg::OnCtlColor(WPARAM w, LPARAM l) {
  const LRESULT brush = Default();
  if (current_.msg != WM_CTLCOLORSTATIC) return brush;
  // Read-only and disabled edits ask with the static colour type too; they keep theirs.
  wchar_t cls[16] = {};
  GetClassNameW(HWND(l), cls, 16);
  if (lstrcmpiW(cls, L"Edit") == 0) return brush;
  SetBkMode(HDC(w), TRANSPARENT);
  SetTextColor(HDC(w), RGB(0, 0, 0));
  return LRESULT(GetStockObject(NULL_BRUSH));
}

BOOL CvideoDlg::PreTranslateMessage(MSG* msg) {
  // Enter would press the default button and end the dialog: swallowed in every control.
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_hWnd &&
      (msg->hwnd == m_hWnd || IsChild(m_hWnd, msg->hwnd)))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void CvideoDlg::OnAddFile() {
  static const wchar_t kFilter[] =
      L" ALL Files\0*.RM;*.RMVB;*.rm;*.rmvb;*.AVI;*.avi;*.WMV;*.ASF;*.wmv;*.asf;*.MPG;*.mpg;*.MPEG;*.mpeg;"
      L"*.mp4;*.MP4;*.3GP;*.3GPP2;*.3gp;*.3g2;*.swf;*.flv;*.SWF;*.FLV;\0"
      L" Real文件\0*.RM;*.RMVB;*.rm;*.rmvb\0"
      L" AVI\0*.AVI;*.avi\0"
      L" Windows媒体文件\0*.WMV;*.ASF;*.wmv;*.asf\0"
      L" MPEG文件\0*.MPG;*.mpg;*.MPEG;*.mpeg\0"
      L" MP4文件\0*.mp4;*.MP4\0"
      L" 3gp文件\0*.3GP;*.3GPP2;*.3gp;*.3g2\0"
      L" flash文件\0*.swf;*.flv;*.SWF;*.FLV\0";
  std::wstring file(4096, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_hWnd;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.lpstrTitle = L"选择打开的文件";
  ofn.lpstrDefExt = L"";
  // A typed name of no file would join the list only to fail later with no word why.
  ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
              OFN_EXPLORER;
  if (!DlgGetOpenFileName(&ofn)) return;
  file.resize(wcsnlen(file.c_str(), file.size()));
  if (file.empty()) return;
  const int row = m_list.InsertItem(0, file);
  if (row >= 0) m_list.SetItemText(row, 1, L"");
}

void CvideoDlg::OnDeleteFile() {
  if (m_selected >= 0 && m_selected < m_list.GetItemCount()) m_list.DeleteItem(m_selected);
}

void CvideoDlg::OnClearList() { m_list.DeleteAllItems(); }

LRESULT CvideoDlg::OnListClick(NMHDR*) {
  m_selected = m_list.GetNextItem(-1, LVNI_SELECTED);
  return 0;
}

void CvideoDlg::MoveSelected(int delta) {
  const std::wstring path = m_list.GetItemText(m_selected, 0);
  const std::wstring status = m_list.GetItemText(m_selected, 1);
  m_list.DeleteItem(m_selected);
  m_selected += delta;
  const int row = m_list.InsertItem(m_selected, path);
  m_list.SetItemText(row, 1, status);
  m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CvideoDlg::OnMoveUp() {
  m_list.SetFocus();
  // A remembered row that Delete or Clear has taken away names nothing: no move.
  if (m_selected <= 0 || m_selected >= m_list.GetItemCount()) return;
  MoveSelected(-1);
}

void CvideoDlg::OnMoveDown() {
  m_list.SetFocus();
  if (m_selected < 0 || m_selected + 1 >= m_list.GetItemCount()) return;
  MoveSelected(+1);
}

void CvideoDlg::OnSetOutputDir() {
  IMalloc* malloc = nullptr;
  if (FAILED(SHGetMalloc(&malloc)) || !malloc) return;
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW bi{};
  bi.hwndOwner = m_hWnd;
  bi.pidlRoot = nullptr;
  bi.pszDisplayName = display;
  bi.lpszTitle = L"请选择要打开的文件夹:";
  bi.ulFlags = BIF_RETURNFSANCESTORS;
  PIDLIST_ABSOLUTE item = DlgBrowseForFolder(&bi);
  if (item) {
    // An item without a file-system path (a virtual folder) leaves the edit as it is.
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path) && path[0]) m_outputDir.SetWindowText(path);
    malloc->Free(item);
  }
  malloc->Release();
}

void CvideoDlg::OnAbout() {
  Dg3 about(m_hWnd);
  about.DoModal();
}

void CvideoDlg::EndRun() {
  if (m_hWnd) {
    KillTimer(m_hWnd, kPollTimer);
    KillTimer(m_hWnd, kPauseTimer);
  }
  m_converting = false;
  if (m_encoder) {
    delete m_encoder;  // ends a running encoder and waits for its thread
    m_encoder = nullptr;
  }
}

LRESULT CvideoDlg::OnClose() {
  EndRun();
  return Default();
}

void CvideoDlg::OnCancel() {
  // Escape ends the dialog; a file being converted would otherwise go on being written
  // by an encoder nobody can see or stop.
  EndRun();
  CDialog::OnCancel();
}
