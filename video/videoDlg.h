// The main dialog: the file list, the option lists, the output folder, Convert with its
// progress bar, the About button, the banner and the two bitmap caption buttons.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ControlButton.h"
#include "Explorer1.h"
#include "OptionTables.h"
#include "TavrinFFmpeg.h"
#include "dialogs/Dialogs.h"

class CvideoDlg : public CDialog {
 public:
  static constexpr int kExeDirSize = 300;     // wide characters, with the terminator
  static constexpr int kCommandSize = 2000;   // bytes, with the terminator
  static const wchar_t kBannerUrl[];

  explicit CvideoDlg(HWND parent = nullptr);
  ~CvideoDlg() override;

  // The encoder arguments chosen in the option lists, in the command's order.
  using EncoderOptions = video::EncoderOptions;

  // Timers of the queue: the once-a-second poll, and the end of the pause between two
  // files (the bar goes back to 0 then).
  static constexpr UINT_PTR kPollTimer = 1;
  static constexpr UINT_PTR kPauseTimer = 2;
  static constexpr UINT kPollPeriodMs = 1000;
  static constexpr UINT kPauseMs = 1000;

  // Status texts of a row that did not convert.
  static const wchar_t kStatusDone[];
  static const wchar_t kStatusFailed[];      // the encoder ended with an error
  static const wchar_t kStatusNotStarted[];  // the encoder could not be started
  static const wchar_t kStatusRefused[];     // no command could be made for the row

  BOOL PreTranslateMessage(MSG* msg) override;
  // The program folder from the program's own path; false, and an empty folder, when the
  // folder leaves no room for the program's files: progress.txt, vv.exe and h264.dat are
  // opened and started by plain paths, which the system limits to 259 characters.
  static bool ExeDirFromModulePath(const std::wstring& path, wchar_t (&out)[kExeDirSize]);
  // Paints the client area into `dc`: the icon centred when minimised, else the
  // background picture stretched over the whole area.
  void PaintClient(HDC dc, const RECT& client, bool iconic);

  HICON m_hIcon;
  int m_selected = -1;

  CEdit m_outputDir;
  CProgressBar m_progress;
  CComboBox m_format, m_videoCodec, m_videoBitrate, m_frameSize, m_frameRate, m_aspect, m_audioCodec,
      m_audioBitrate, m_sampleRate, m_channels;
  CListView m_list;
  CBitmapButton m_btnAbout;
  CControlButton m_btnMinimize;
  CControlButton m_btnClose;
  CExplorer1 m_banner;

  // The queue's state.
  TavrinFFmpeg* m_encoder = nullptr;
  int m_total = 0;
  int m_current = 0;
  char m_command[kCommandSize] = {};
  wchar_t m_exeDir[kExeDirSize] = {};
  // The program folder when it cannot be used (m_exeDir is empty then).
  std::wstring m_unusableExeDir;
  EncoderOptions m_options;
  bool m_converting = false;
  // The final status of every row already done in this run ("已完成" or a failure).
  std::vector<std::wstring> m_rowStatus;
  // The status text each row shows now, as written by the queue: a tick writes only
  // the rows whose text changes.
  std::vector<std::wstring> m_shownStatus;
  // Why the current row could not be started; empty when its encoder was created.
  std::wstring m_rowError;
  // The per-mille value last shown for the current row: kept when a read fails.
  int m_shownValue = 0;
  // The output folder of this run, as Convert took it from the edit.
  std::wstring m_outputFolder;
  // The progress file as a tick finds it.
  struct ProgressLook {
    bool read = false;  // false when it could not be opened or read
    std::string text;
    FILETIME written{};
  };
  // What the progress file held when it could not be reset for the current row: while
  // it holds that, its value is another row's.
  std::optional<ProgressLook> m_staleProgress;

  // Option lists and mappers.
  void FillOptions3gp();
  void FillOptions3gpp2();
  void FillAudioAmr();
  void FillAudioAac();
  void OnFormatChanged();
  void MapVideoCodec();
  void MapVideoBitrate();
  void MapVideoSize();
  void MapFrameRate();
  void MapAudioCodec();
  void MapAudioBitrate();
  void MapSampleRate();
  void MapChannels();
  void OnAspectChanged();

  // Handlers.
  LRESULT OnPaint();
  LRESULT OnQueryDragIcon() { return LRESULT(m_hIcon); }
  void OnConvert();
  void OnAddFile();
  void OnDeleteFile();
  void OnSetOutputDir();
  void OnClearList();
  LRESULT OnLButtonDown() { return Default(); }
  void OnAbout();
  LRESULT OnCtlColor(WPARAM w, LPARAM l);
  void OnMinimize() { PostMessage(WM_SYSCOMMAND, SC_MINIMIZE); }
  void OnCloseButton() { PostMessage(WM_CLOSE); }
  LRESULT OnListClick(NMHDR* hdr);
  void OnMoveUp();
  void OnMoveDown();
  LRESULT OnListItemChanged(NMHDR*) { return 0; }
  LRESULT OnProgressCustomDraw(NMHDR*) { return CDRF_DODEFAULT; }
  LRESULT OnTimer(WPARAM id);
  LRESULT OnClose();

  // Names the row's output (asking before an existing file is replaced), builds its
  // command into m_command and resets the progress file. Returns why the row cannot be
  // converted, or an empty text.
  std::wstring PrepareRow(int row);

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  BOOL OnInitDialog() override;
  // Escape: ends a run as the close message does, then the dialog.
  void OnCancel() override;

 private:
  void MoveSelected(int delta);
  // Stops the run's timers and ends its encoder, if any.
  void EndRun();
  // Says which program folder cannot be used, and why.
  void TellUnusableExeDir();

  // The queue's steps (videoDlgQueue.cpp).
  void InitOptionTables();
  void EnableInputs(bool enable);
  // Starts the row's encoder, or marks the row refused; false when the dialog closed
  // while one of its boxes was open, so that nothing more may start.
  bool StartRow(int row);
  // True while a run is on and the dialog has not ended: a close may come while a box
  // of the run is open.
  bool RunGoesOn() const;
  std::wstring FinishedRowStatus();
  void FinishRun();
  void RefreshStatus(bool finished);
  std::wstring ProgressPath() const;
  void SyncOptions() { m_options = m_tables->Options(); }

  std::unique_ptr<video::OptionBoxes> m_boxes;
  std::unique_ptr<video::OptionTables> m_tables;
  bool m_inTick = false;     // a tick's own modal boxes let further ticks in
  bool m_preparing = false;  // a row is being named: no progress of its own yet
};
