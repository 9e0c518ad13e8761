// The About dialog.
#pragma once

#include "ControlButton.h"
#include "dialogs/Dialogs.h"

class Dg3 : public CDialog {
 public:
  explicit Dg3(HWND parent = nullptr);
  ~Dg3() override;

  CControlButton m_btnClose;

  // Paints the client area (the background picture stretched over it) into `dc`.
  void PaintClient(HDC dc);

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  BOOL OnInitDialog() override;
  void OnCloseButton() { PostMessage(WM_CLOSE); }
  LRESULT OnCtlColor(WPARAM w, LPARAM l);
  LRESULT OnPaint();
};
