#include "videoApp.h"

#include "resource.h"
#include "videoDlg.h"

CvideoApp::CvideoApp() { MapCommand(ID_HELP_COMMAND, 0, [this] { OnHelp(); }); }

BOOL CvideoApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = 0xFF;
  InitCommonControlsEx(&icc);
  EnableControlContainer();
  CvideoDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;  // nothing to save; no message loop of our own
}
