#include "Dg3.h"

#include "resource.h"

Dg3::Dg3(HWND parent) : CDialog(IDD_ABOUT, parent) {
  MapClick(IDC_ABOUT_CLOSE, [this] { OnCloseButton(); });
  for (UINT msg : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT, WM_CTLCOLORDLG, WM_CTLCOLORLISTBOX,
                   WM_CTLCOLORSCROLLBAR, WM_CTLCOLORMSGBOX})
    MapMessage(msg, [this](WPARAM w, LPARAM l) { return OnCtlColor(w, l); });
  MapMessage(WM_PAINT, [this](WPARAM, LPARAM) { return OnPaint(); });
  MapMessage(WM_PRINTCLIENT, [this](WPARAM w, LPARAM) -> LRESULT {
    PaintClient(HDC(w));
    return 0;
  });
}

Dg3::~Dg3() {
  // The window goes before the members its handlers use.
  if (m_hWnd) DestroyWindow(m_hWnd);
}

void Dg3::DoDataExchange(CDataExchange& dx) { dx.Control(IDC_ABOUT_CLOSE, m_btnClose); }

BOOL Dg3::OnInitDialog() {
  CDialog::OnInitDialog();
  m_btnClose.SetUpInHost(*this, IDB_BACKGROUND, IDB_CLOSE_MASK, IDB_CLOSE_HOVER, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED,
                         IDB_CLOSE_HOVER);
  return TRUE;
}

LRESULT Dg3::OnCtlColor(WPARAM w, LPARAM) {
  const LRESULT brush = Default();
  if (current_.msg != WM_CTLCOLORSTATIC) return brush;
  SetBkMode(HDC(w), TRANSPARENT);
  SetTextColor(HDC(w), RGB(0, 0, 0));
  return LRESULT(GetStockObject(NULL_BRUSH));
}

void Dg3::PaintClient(HDC dc) {
  DrawStretchedBitmap(dc, IDB_ABOUT_BACKGROUND, GetClientRect());
}

LRESULT Dg3::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  PaintClient(dc);
  EndPaint(m_hWnd, &ps);
  return 0;
}
