#include "Dialogs.h"

#include <exception>

#include "AxHost.h"
#include "SystemDialogs.h"

namespace {
const wchar_t kObjectProp[] = L"DlgObject";
const UINT_PTR kSubclassId = 0x44'4C'47;  // any constant of ours

// No exception crosses into the system: it ends in a message box here.
template <class F>
auto Barrier(F&& f, decltype(f()) fallback) noexcept -> decltype(f()) {
  try {
    return f();
  } catch (const std::exception& e) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, e.what(), -1, nullptr, 0);
    std::wstring text(n > 0 ? n : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, e.what(), -1, text.data(), n);
    DlgMessageBox(nullptr, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
  } catch (...) {
    DlgMessageBox(nullptr, L"Unexpected error", L"Error", MB_OK | MB_ICONERROR);
  }
  return fallback;
}

CApplication* g_app = nullptr;
}  // namespace

// ---- CWindow ----

CWindow::~CWindow() { UnsubclassWindow(); }

bool CWindow::SubclassWindow(HWND hwnd) {
  if (!IsWindow(hwnd) || GetPropW(hwnd, kObjectProp)) return false;
  m_hWnd = hwnd;
  SetPropW(hwnd, kObjectProp, this);
  if (!SetWindowSubclass(hwnd, SubclassProc, kSubclassId, DWORD_PTR(this))) {
    RemovePropW(hwnd, kObjectProp);
    m_hWnd = nullptr;
    return false;
  }
  subclassed_ = true;
  PreSubclassWindow();
  return true;
}

bool CWindow::SubclassDlgItem(int id, CWindow* parent) { return SubclassWindow(::GetDlgItem(parent->m_hWnd, id)); }

void CWindow::UnsubclassWindow() {
  if (subclassed_ && IsWindow(m_hWnd)) {
    RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    RemovePropW(m_hWnd, kObjectProp);
  }
  subclassed_ = false;
}

CWindow* CWindow::FromHandle(HWND hwnd) { return hwnd ? static_cast<CWindow*>(GetPropW(hwnd, kObjectProp)) : nullptr; }

void CWindow::MapMessage(UINT msg, MessageHandler fn) { map_.push_back({Kind::Message, msg, 0, std::move(fn)}); }

void CWindow::MapCommand(int id, UINT code, std::function<void()> fn) {
  map_.push_back({Kind::Command, code, id, [fn = std::move(fn)](WPARAM, LPARAM) -> LRESULT {
                    fn();
                    return 0;
                  }});
}

void CWindow::MapNotify(int id, UINT code, std::function<LRESULT(NMHDR*)> fn) {
  map_.push_back({Kind::Notify, code, id, [fn = std::move(fn)](WPARAM, LPARAM l) -> LRESULT {
                    return fn(reinterpret_cast<NMHDR*>(l));
                  }});
}

bool CWindow::Dispatch(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  for (const Entry& e : map_) {
    bool match = false;
    switch (e.kind) {
      case Kind::Message: match = e.msg == msg; break;
      case Kind::Command: match = msg == WM_COMMAND && LOWORD(w) == e.id && HIWORD(w) == e.msg; break;
      case Kind::Notify: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(l);
        match = msg == WM_NOTIFY && hdr && int(hdr->idFrom) == e.id && hdr->code == e.msg;
        break;
      }
    }
    if (match) {
      const Current saved = current_;
      current_ = {msg, w, l};
      result = e.fn(w, l);
      current_ = saved;
      return true;
    }
  }
  return false;
}

LRESULT CWindow::Default() { return DefaultProc(current_.msg, current_.w, current_.l); }

LRESULT CWindow::DefaultProc(UINT msg, WPARAM w, LPARAM l) {
  return subclassed_ ? DefSubclassProc(m_hWnd, msg, w, l) : DefWindowProcW(m_hWnd, msg, w, l);
}

LRESULT CALLBACK CWindow::SubclassProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CWindow*>(data);
  if (msg == WM_NCDESTROY) {
    self->UnsubclassWindow();
    self->m_hWnd = nullptr;
    return DefSubclassProc(hwnd, msg, w, l);
  }
  return Barrier(
      [&]() -> LRESULT {
        LRESULT result = 0;
        if (self->Dispatch(msg, w, l, result)) return result;
        return DefSubclassProc(hwnd, msg, w, l);
      },
      LRESULT(0));
}

std::wstring CWindow::GetWindowText() const {
  const int n = GetWindowTextLengthW(m_hWnd);
  std::wstring text(std::size_t(n) + 1, L'\0');
  text.resize(std::size_t(::GetWindowTextW(m_hWnd, text.data(), n + 1)));
  return text;
}

RECT CWindow::GetClientRect() const {
  RECT r{};
  ::GetClientRect(m_hWnd, &r);
  return r;
}

RECT CWindow::GetWindowRect() const {
  RECT r{};
  ::GetWindowRect(m_hWnd, &r);
  return r;
}

// ---- CDataExchange ----

void CDataExchange::Control(int id, CWindow& control) {
  if (control.m_hWnd) return;  // bound already
  if (!control.SubclassDlgItem(id, dialog_)) {
    wchar_t text[80];
    wsprintfW(text, L"Dialog item %d is missing.", id);
    DlgMessageBox(dialog_->m_hWnd, text, L"Error", MB_OK | MB_ICONERROR);
  }
}

// ---- CDialog ----

CDialog::~CDialog() {
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal() {
  HWND owner = parent_;
  modal_ = true;
  ended_ = false;
  result_ = -1;
  if (!CreateDialogParamW(GetResourceHandle(), MAKEINTRESOURCEW(templateId_), owner, DlgProc, LPARAM(this)))
    return -1;
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  if (!ended_) ShowWindow(m_hWnd, SW_SHOW);
  MSG msg;
  while (!ended_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT: end the loop and hand the quit on
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (got < 0) break;
    RouteMessage(msg);
  }
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  if (m_hWnd) DestroyWindow(m_hWnd);
  modal_ = false;
  return result_;
}

bool CDialog::Create(HWND parent, bool show) {
  modal_ = false;
  ended_ = false;
  if (!CreateDialogParamW(GetResourceHandle(), MAKEINTRESOURCEW(templateId_), parent, DlgProc, LPARAM(this)))
    return false;
  if (show) ShowWindow(m_hWnd, SW_SHOW);
  return true;
}

void CDialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  // A modal dialog is destroyed when its loop ends; a modeless one now.
  if (!modal_ && m_hWnd) DestroyWindow(m_hWnd);
}

void CDialog::RouteMessage(MSG& msg) {
  if (PreTranslateMessage(&msg)) return;
  if (m_hWnd && IsDialogMessageW(m_hWnd, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

BOOL CDialog::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CDialog::OnInitDialog() {
  CDataExchange dx(this);
  DoDataExchange(dx);
  return TRUE;
}

LRESULT CDialog::DefaultProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_CLOSE) {  // a dialog closes as Cancel does
    OnCancel();
    return 0;
  }
  return DefWindowProcW(m_hWnd, msg, w, l);
}

INT_PTR CALLBACK CDialog::DlgProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  CDialog* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(l);
    SetWindowLongPtrW(hwnd, DWLP_USER, LONG_PTR(self));
    self->m_hWnd = hwnd;
    SetPropW(hwnd, kObjectProp, self);
  } else {
    self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kObjectProp);
    self->m_hWnd = nullptr;
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    return FALSE;
  }
  return Barrier([&] { return self->Handle(msg, w, l); }, INT_PTR(FALSE));
}

INT_PTR CDialog::Handle(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_INITDIALOG) {
    current_ = {msg, w, l};
    return OnInitDialog();
  }
  LRESULT result = 0;
  bool handled = Dispatch(msg, w, l, result);
  if (!handled) {
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(w) == IDOK && HIWORD(w) == BN_CLICKED) {
          OnOK();
          return TRUE;
        }
        if (LOWORD(w) == IDCANCEL && HIWORD(w) == BN_CLICKED) {
          OnCancel();
          return TRUE;
        }
        if (g_app && g_app->RouteCommand(msg, w, l, result)) return TRUE;
        return FALSE;
      case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        CWindow* item = dis->CtlType == ODT_MENU ? nullptr : FromHandle(dis->hwndItem);
        if (!item) return FALSE;
        item->DrawItem(dis);
        result = TRUE;
        handled = true;
        break;
      }
      case WM_CLOSE:
        OnCancel();
        return TRUE;
      default:
        return FALSE;
    }
  }
  switch (msg) {  // these return their result directly from a dialog procedure
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return INT_PTR(result);
    default:
      SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

// ---- CApplication ----

CApplication::CApplication() { g_app = this; }
CApplication::~CApplication() {
  if (g_app == this) g_app = nullptr;
}

CApplication* GetApp() { return g_app; }
HINSTANCE GetResourceHandle() { return GetModuleHandleW(nullptr); }

void DrawStretchedBitmap(HDC dc, int id, const RECT& to) {
  HBITMAP picture = static_cast<HBITMAP>(
      LoadImageW(GetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  if (!picture) return;
  BITMAP bm{};
  GetObjectW(picture, sizeof bm, &bm);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, picture);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, mem, 0, 0, bm.bmWidth,
             bm.bmHeight, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(picture);
}

int CApplication::Run(HINSTANCE) {
  // A dialog program ends when InitInstance returns false; otherwise a message loop
  // runs until the program posts its quit.
  if (!InitInstance()) return 0;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}

bool CApplication::EnableControlContainer() { return RegisterAxHost(); }

// ---- controls ----

void COwnerDrawButton::PreSubclassWindow() {
  const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | BS_OWNERDRAW);
}

CBitmapButton::~CBitmapButton() {
  if (image_) DeleteObject(image_);
}

bool CBitmapButton::LoadBitmaps(int id) {
  if (image_) DeleteObject(image_);
  image_ = static_cast<HBITMAP>(LoadImageW(GetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  if (!image_) return false;
  BITMAP bm{};
  GetObjectW(image_, sizeof bm, &bm);
  SetWindowPos(m_hWnd, nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT* item) {
  if (!image_) return;
  HDC mem = CreateCompatibleDC(item->hDC);
  HGDIOBJ old = SelectObject(mem, image_);
  // Pressed: the image moves one pixel down and right, as a pushed key does.
  const int shift = (item->itemState & ODS_SELECTED) ? 1 : 0;
  const RECT& r = item->rcItem;
  if (shift) FillRect(item->hDC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  BitBlt(item->hDC, r.left + shift, r.top + shift, r.right - r.left - shift, r.bottom - r.top - shift, mem, 0, 0,
         SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  if (item->itemState & ODS_FOCUS) {
    RECT f = r;
    InflateRect(&f, -2, -2);
    DrawFocusRect(item->hDC, &f);
  }
}

int CComboBox::InsertString(int index, const std::wstring& text) {
  return int(SendMessage(CB_INSERTSTRING, WPARAM(index), LPARAM(text.c_str())));
}
int CComboBox::AddString(const std::wstring& text) { return int(SendMessage(CB_ADDSTRING, 0, LPARAM(text.c_str()))); }

std::wstring CComboBox::GetLBText(int index) {
  const LRESULT n = SendMessage(CB_GETLBTEXTLEN, WPARAM(index));
  if (n == CB_ERR || n < 0) return {};
  std::wstring text(std::size_t(n) + 1, L'\0');
  const LRESULT got = SendMessage(CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
  text.resize(got == CB_ERR ? 0 : std::size_t(got));
  return text;
}

int CListView::InsertColumn(int index, const std::wstring& heading, int format, int width) {
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
  col.fmt = format;
  col.cx = width;
  col.pszText = const_cast<wchar_t*>(heading.c_str());
  col.iSubItem = index;
  return int(SendMessage(LVM_INSERTCOLUMNW, WPARAM(index), LPARAM(&col)));
}

int CListView::InsertItem(int index, const std::wstring& text) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  return int(SendMessage(LVM_INSERTITEMW, 0, LPARAM(&item)));
}

bool CListView::SetItemText(int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  return SendMessage(LVM_SETITEMTEXTW, WPARAM(row), LPARAM(&item)) != 0;
}

std::wstring CListView::GetItemText(int row, int column) {
  // The list answers with at most the buffer's size; grow until the text fits.
  for (std::size_t size = 256;; size *= 4) {
    std::wstring text(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = int(size);
    const auto n = std::size_t(SendMessage(LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item)));
    if (n + 1 < size || size >= (1u << 20)) {
      text.resize(n);
      return text;
    }
  }
}

bool CListView::SetItemState(int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  return SendMessage(LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item)) != 0;
}

void CProgressBar::GetRange(int& low, int& high) {
  PBRANGE range{};
  SendMessage(PBM_GETRANGE, TRUE, LPARAM(&range));
  low = range.iLow;
  high = range.iHigh;
}
