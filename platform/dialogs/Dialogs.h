// The dialog class library that video is written against: an application object,
// windows with message maps, modal dialogs built from DIALOGEX resources, member
// controls bound to dialog items by identifier, and thin wrappers of the common
// controls. Small on purpose: only what the program's dialogs use.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class CDialog;

// A window this library knows. Every bound window is subclassed, so the library can
// find the object behind a handle (for owner drawing) and the object's message map
// sees the window's messages before its original procedure does.
class CWindow {
 public:
  using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;

  CWindow() = default;
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;
  virtual ~CWindow();

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }

  // Binds the object to an existing window and subclasses it; false when the handle is
  // no window or is already bound to another object.
  bool SubclassWindow(HWND hwnd);
  bool SubclassDlgItem(int id, CWindow* parent);
  void UnsubclassWindow();
  static CWindow* FromHandle(HWND hwnd);

  // Message map: entries are searched in the order they were added; the first that
  // matches handles the message.
  void MapMessage(UINT msg, MessageHandler fn);
  void MapCommand(int id, UINT code, std::function<void()> fn);
  void MapClick(int id, std::function<void()> fn) { MapCommand(id, BN_CLICKED, std::move(fn)); }
  void MapNotify(int id, UINT code, std::function<LRESULT(NMHDR*)> fn);

  // The processing the window would have had without its message map, for the message
  // being handled now.
  LRESULT Default();

  // Called for an owner-drawn control when its parent receives WM_DRAWITEM for it.
  virtual void DrawItem(const DRAWITEMSTRUCT* item) { (void)item; }

  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  std::wstring GetWindowText() const;
  void SetWindowText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void SetFocus() { ::SetFocus(m_hWnd); }
  BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::PostMessageW(m_hWnd, msg, w, l); }
  LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageW(m_hWnd, msg, w, l); }
  RECT GetClientRect() const;
  RECT GetWindowRect() const;

 protected:
  // Called right after the window has been subclassed.
  virtual void PreSubclassWindow() {}
  // Looks the message up in the map; true when an entry handled it.
  bool Dispatch(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
  // The processing of unmapped messages; for a subclassed control, its own procedure.
  virtual LRESULT DefaultProc(UINT msg, WPARAM w, LPARAM l);

  struct Current {
    UINT msg;
    WPARAM w;
    LPARAM l;
  };
  Current current_{};

 private:
  friend class CDialog;
  enum class Kind { Message, Command, Notify };
  struct Entry {
    Kind kind;
    UINT msg;  // the message, or the notification code
    int id;
    MessageHandler fn;
  };
  std::vector<Entry> map_;
  bool subclassed_ = false;

  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
};

// The data exchange of a dialog: binds member controls to dialog items by identifier.
class CDataExchange {
 public:
  explicit CDataExchange(CDialog* dialog) : dialog_(dialog) {}
  // Binds `control` to item `id`; a missing item is a programming error, reported in
  // a message box so that it cannot pass unnoticed.
  void Control(int id, CWindow& control);

 private:
  CDialog* dialog_;
};

// A dialog built from a DIALOGEX resource. DoModal runs the library's own modal loop,
// which lets PreTranslateMessage see every message before the dialog manager does.
class CDialog : public CWindow {
 public:
  CDialog(int templateId, HWND parent = nullptr) : templateId_(templateId), parent_(parent) {}
  ~CDialog() override;

  INT_PTR DoModal();
  // Creates the dialog modeless, shown or not (tests drive a dialog this way); false
  // when the resource cannot be used.
  bool Create(HWND parent = nullptr, bool show = true);
  // Ends the dialog: a modal loop returns `result`; a modeless dialog is destroyed.
  void EndDialog(int result);
  bool Ended() const { return ended_; }
  int Result() const { return result_; }

  // What the modal loop does with one message: PreTranslateMessage, then the dialog
  // manager's keyboard handling, then the window procedure.
  void RouteMessage(MSG& msg);
  virtual BOOL PreTranslateMessage(MSG* msg);

 protected:
  virtual void DoDataExchange(CDataExchange& dx) { (void)dx; }
  // Binds the members (DoDataExchange); derived classes call it first.
  virtual BOOL OnInitDialog();
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  LRESULT DefaultProc(UINT msg, WPARAM w, LPARAM l) override;

 private:
  static INT_PTR CALLBACK DlgProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR Handle(UINT msg, WPARAM w, LPARAM l);

  int templateId_;
  HWND parent_;
  bool modal_ = false;
  bool ended_ = false;
  int result_ = 0;
};

// The application object: one per program. Run calls InitInstance; when it returns
// false the program ends.
class CApplication : public CWindow {
 public:
  CApplication();
  ~CApplication() override;
  virtual BOOL InitInstance() { return FALSE; }
  int Run(HINSTANCE instance);
  // Prepares hosting of ActiveX controls in dialogs (the library's control container).
  static bool EnableControlContainer();
  // The help command: there is no help file; the command is accepted and ignored.
  void OnHelp() {}
  CWindow* m_pMainWnd = nullptr;
  // Commands that no dialog handled come here.
  bool RouteCommand(UINT msg, WPARAM w, LPARAM l, LRESULT& result) { return Dispatch(msg, w, l, result); }
};
CApplication* GetApp();
HINSTANCE GetResourceHandle();
// Draws the program's bitmap resource `id` stretched over `to` (colour on colour);
// nothing when there is no such resource.
void DrawStretchedBitmap(HDC dc, int id, const RECT& to);

// A push button.
class CPushButton : public CWindow {};

// An owner-drawn button: its style gets BS_OWNERDRAW when it is bound, and its parent
// hands WM_DRAWITEM to DrawItem.
class COwnerDrawButton : public CWindow {
 protected:
  void PreSubclassWindow() override;
};

// An owner-drawn button showing one bitmap, sized to it.
class CBitmapButton : public COwnerDrawButton {
 public:
  ~CBitmapButton() override;
  bool LoadBitmaps(int id);
  void DrawItem(const DRAWITEMSTRUCT* item) override;

 private:
  HBITMAP image_ = nullptr;
};

class CEdit : public CWindow {};

class CComboBox : public CWindow {
 public:
  int InsertString(int index, const std::wstring& text);
  int AddString(const std::wstring& text);
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int GetCount() { return int(SendMessage(CB_GETCOUNT)); }
  int GetCurSel() { return int(SendMessage(CB_GETCURSEL)); }
  int SetCurSel(int index) { return int(SendMessage(CB_SETCURSEL, WPARAM(index))); }
  // The text of an entry; empty for an index that names none.
  std::wstring GetLBText(int index);
};

class CListView : public CWindow {
 public:
  int InsertColumn(int index, const std::wstring& heading, int format, int width);
  int InsertItem(int index, const std::wstring& text);
  bool SetItemText(int item, int column, const std::wstring& text);
  std::wstring GetItemText(int item, int column);
  bool DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, WPARAM(item)) != 0; }
  bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
  int GetItemCount() { return int(SendMessage(LVM_GETITEMCOUNT)); }
  int GetNextItem(int start, UINT flags) { return int(SendMessage(LVM_GETNEXTITEM, WPARAM(start), flags)); }
  bool SetItemState(int item, UINT state, UINT mask);
  UINT GetItemState(int item, UINT mask) { return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(item), mask)); }
  DWORD SetExtendedStyle(DWORD style) { return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style)); }
  DWORD GetExtendedStyle() { return DWORD(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
};

class CProgressBar : public CWindow {
 public:
  void SetRange(int low, int high) { SendMessage(PBM_SETRANGE32, WPARAM(low), LPARAM(high)); }
  void GetRange(int& low, int& high);
  int SetPos(int pos) { return int(SendMessage(PBM_SETPOS, WPARAM(pos))); }
  int GetPos() { return int(SendMessage(PBM_GETPOS)); }
};
