#include "dialogs/SystemDialogs.h"
#include "videoDlg.h"

// The conversion queue and the option lists are filled in by their own modules; until
// then Convert only checks the list and the option handlers keep the lists as they are.
void CvideoDlg::OnConvert() {
  if (m_list.GetItemCount() == 0) {
    DlgMessageBox(m_hWnd, L"请添加要转换的视频", L"提示信息", MB_OK);
    return;
  }
}

LRESULT CvideoDlg::OnTimer(WPARAM) { return Default(); }

void CvideoDlg::FillOptions3gp() {}
void CvideoDlg::FillOptions3gpp2() {}
void CvideoDlg::FillAudioAmr() {}
void CvideoDlg::FillAudioAac() {}
void CvideoDlg::OnFormatChanged() {}
void CvideoDlg::MapVideoCodec() {}
void CvideoDlg::MapVideoBitrate() {}
void CvideoDlg::MapVideoSize() {}
void CvideoDlg::MapFrameRate() {}
void CvideoDlg::MapAudioCodec() {}
void CvideoDlg::MapAudioBitrate() {}
void CvideoDlg::MapSampleRate() {}
void CvideoDlg::MapChannels() {}
