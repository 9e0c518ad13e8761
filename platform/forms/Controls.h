// Controls and forms: windowed components placed inside each other, with bounds,
// alignment, visibility, an enabled state that a container passes to its children, and
// a replaceable window procedure. A form reads its components from a form description
// stored as a resource of the program.
#pragma once

#include <windows.h>

#include <any>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "TypInfo.h"

// The code page of the programs' 8-bit texts.
constexpr UINT kTextCodePage = 936;
std::wstring TextToWide(const std::string& text);
std::string WideToText(const std::wstring& text);
// The same without look-alikes: nothing when a character has no place in the code page
// (a file name so converted could name another file).
std::optional<std::string> WideToTextExact(const std::wstring& text);
std::string Utf8ToText(const std::string& utf8);

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Right to left: the text reads from the right, aligned right, scroll bar on the left.
enum TBiDiMode { bdLeftToRight, bdRightToLeft };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = unsigned;  // member n is bit n
// The keys and buttons of a mouse message's wParam.
TShiftState KeysToShiftState(WPARAM keys);
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

// The framework's notifications to a control's WindowProc.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;   // Enter or Esc that the focused control left
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;  // an Alt+key no control of the form took
constexpr UINT CM_FOCUSCHANGED =
    CM_BASE + 7;  // the focus moved (the dialog manager restyles buttons here)
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;  // wParam: shown (1) or hidden (0)
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;   // the pointer came over the control
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;   // and left it again
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;  // the form's menu bar changed
constexpr UINT CM_RECREATEWND = CM_BASE + 51;  // the window is about to be made again
// A child window's notification to its parent, handed back to the child's WindowProc.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};
using TWndMethod = std::function<void(TMessage& Message)>;

// The name of the window property under which each control's window keeps a pointer to
// its control: "ControlOfs" + module instance + thread id, eight hex digits each.
std::string ControlAtomName();
// The control behind a window of this thread, or null.
class TWinControl* FindControl(HWND window);

class TCustomForm;
class TMainMenu;
class TWinControl;
LRESULT CALLBACK ControlWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A control: placed inside a windowed control, with bounds, alignment, visibility, an
// enabled state that a container passes to its children, and a replaceable window
// procedure. A windowless control (TGraphicControl) is painted by its parent and gets
// its mouse messages from it.
class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const noexcept { return parent_; }
  virtual void SetParent(TWinControl* parent);
  TCustomForm* GetParentForm();

  int Left() const noexcept { return left_; }
  int Top() const noexcept { return top_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  RECT BoundsRect() const noexcept { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  TAlign Align() const noexcept { return align_; }
  void SetAlign(TAlign value);

  bool Visible() const noexcept { return visible_; }
  virtual void SetVisible(bool value);
  // The control's own setting; a control inside a disabled container is disabled too.
  bool Enabled() const noexcept { return enabled_; }
  virtual void SetEnabled(bool value);
  bool EffectiveEnabled() const;

  virtual std::string Caption() const;
  virtual void SetCaption(const std::string& text);
  TColor Color() const noexcept { return color_; }
  virtual void SetColor(TColor value);
  // The control's font; with ParentFont (the default) it takes its parent's font when
  // it is placed and when its window is made.
  TFont* Font() noexcept { return &font_; }
  bool ParentFont = true;
  TBiDiMode BiDiMode = bdLeftToRight;
  // With ShowHint and a hint text, the tooltip shows the text while the pointer rests on
  // the control.
  bool ShowHint() const noexcept { return showHint_; }
  void SetShowHint(bool value);
  std::string Hint() const { return hint_; }
  void SetHint(const std::string& text);

  // Points between the screen and the control's client area.
  virtual POINT ScreenToClient(POINT p);
  virtual POINT ClientToScreen(POINT p);

  // The window procedure; replace it to see every message first (keep the old one).
  TWndMethod WindowProc;
  // The control's own handling.
  virtual void WndProc(TMessage& message);
  // Hands a message straight to WindowProc and answers its result.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void Invalidate();

  // What a user's click does: OnClick.
  virtual void Click();
  // A mouse button went down on the control: OnMouseDown.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;

 protected:
  // The mouse-down messages as MouseDown calls; false for other messages.
  bool DoMouseDown(const TMessage& m);

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  TColor color_ = clBtnFace;
  TFont font_;

 private:
  friend class TWinControl;
  // The hint's place in the tooltip: over the control's own window, or over its part of
  // the parent's for a windowless control; none while it has nothing to show.
  void UpdateHintTool();
  void DropHintTool();

  bool showHint_ = false;
  std::string hint_;
  HWND hintWindow_ = nullptr;  // where the tooltip has the hint, or null
  UINT_PTR hintId_ = 0;
};

// A control without a window of its own: its parent paints it (WM_PAINT with the DC in
// wParam, the origin at the control's corner) and hands it the mouse messages over it.
class TGraphicControl : public TControl {
 public:
  using TControl::TControl;

  // Draws on the DC of the paint in progress.
  TCanvas* Canvas() noexcept { return &canvas_; }
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  TCanvas canvas_;
  bool clicked_ = false;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  void SetParent(TWinControl* parent) override;
  // The controls placed inside, windowed or not, in the order placed.
  std::size_t ControlCount() const noexcept { return controls_.size(); }
  TControl* Controls(std::size_t i) const { return controls_.at(i); }
  // The windowed controls inside, at any depth, in tab order (each before its own).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool value) override;
  void SetEnabled(bool value) override;
  std::string Caption() const override;
  void SetCaption(const std::string& text) override;
  void SetColor(TColor value) override;
  POINT ScreenToClient(POINT p) override;
  POINT ClientToScreen(POINT p) override;
  // Its background shows the parent's colour instead of its own.
  bool ParentBackground() const noexcept { return parentBackground_; }
  void SetParentBackground(bool value);

  HWND Handle();  // creates the window (and its parents') when it does not exist yet
  bool HandleAllocated() const noexcept { return handle_ != nullptr; }
  void HandleNeeded();
  // A window outside the framework that holds this control's window when it has no
  // parent control.
  HWND ParentWindow() const noexcept { return parentWindow_; }
  void SetParentWindow(HWND window);
  // Makes the window anew from the stored state, telling the control first
  // (CM_RECREATEWND); nothing when it has no window.
  void RecreateWnd();
  void Invalidate() override;
  void Repaint();

  // The control's own handling, then the window class's.
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message);

  // Places the aligned children inside the client area.
  void AlignControls();
  // The brush of the control's colour; children drawn transparent paint with it.
  HBRUSH Brush();
  // Paints the visible windowless children that meet DC's clip, each from its own corner,
  // starting with `first` (null: all).
  void PaintControls(HDC dc, TControl* first);
  // The visible, enabled windowless child at a client point (the last placed on top).
  TControl* ControlAtPos(POINT p) const;

 protected:
  struct TCreateParams {
    std::string ClassName;  // the system class superclassed; empty: none
    DWORD Style = 0;
    DWORD ExStyle = 0;
  };
  virtual void CreateParams(TCreateParams& params);
  // After the window exists: fill it from the stored state.
  virtual void CreateWnd();
  virtual void Paint(HDC) {}
  // The area that aligned children share (client coordinates).
  virtual RECT DisplayRect();
  // Notifications from the control's own window, reflected by its parent (CN_*).
  virtual void CNCommand(WORD) {}
  virtual bool CNNotify(NMHDR*, LRESULT&) { return false; }
  virtual bool CtlColor(HDC, HBRUSH&) { return false; }
  virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
  virtual void Resized() {}
  // The height given to the window (a drop-down list's window includes its list).
  virtual int WindowHeight() { return height_; }
  HFONT FontHandle() { return font_.Handle(); }

  HWND handle_ = nullptr;

 private:
  friend class TControl;
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
  void RemoveControl(TControl* control);
  // The window is going: the hints over it leave the tooltip.
  void DropHintTools();
  void UpdateEnabled();
  void DestroyHandle();
  void ApplyBounds();
  // Paints the window (its class or Paint) and its windowless children into dc.
  void PaintWindow(HDC dc);
  // Hands a mouse message over a windowless child to it; true when it went there.
  bool RouteMouse(TMessage& m);
  // CM_MOUSEENTER when the pointer first moves over the window, CM_MOUSELEAVE when the
  // system reports it gone.
  void TrackMouse(const TMessage& m);
  void SetMouseControl(TControl* control);
  // The framework child a parent's notification is about, or null.
  TWinControl* ReflectTarget(const TMessage& m) const;
  void Reflected(TMessage& m);

  std::vector<TControl*> controls_;
  HWND parentWindow_ = nullptr;
  bool aligning_ = false;
  bool parentBackground_ = false;
  HBRUSH brush_ = nullptr;
  WNDPROC defProc_ = nullptr;
  TControl* mouseControl_ = nullptr;    // the windowless child under the pointer
  TControl* captureControl_ = nullptr;  // the one a button went down on
  bool mouseInside_ = false;  // CM_MOUSEENTER sent, CM_MOUSELEAVE not yet
};

enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TPosition { poDesigned, poScreenCenter };

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle = bsSizeable;
  bool BorderIconSystemMenu = true, BorderIconMinimize = true, BorderIconMaximize = true;
  TPosition Position = poDesigned;
  // The client area's size: the window's as it is now, or the one set before it exists.
  int ClientWidth() const;
  int ClientHeight() const;
  void SetClientSize(int width, int height);
  // The menu bar; the form does not own it.
  TMainMenu* Menu() const noexcept { return menu_; }
  void SetMenu(TMainMenu* menu);
  // Kept for the published interface: forms here do not scroll their contents.
  bool AutoScroll = false;

  // The main form ends the message loop when it closes.
  bool IsMainForm = false;

  void Show();
  // Asks OnCloseQuery, then closes as OnClose decides.
  void Close();
  bool CloseQuery();

  TNotifyEvent OnCreate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage& message) override;

 protected:
  // Creates the components of the form description in the program's RCDATA resource of
  // that name, binding handlers and fields registered before, then runs OnCreate.
  void ReadFormResource(const std::string& name);
  // The same from the description's text.
  void ReadForm(const std::string& description);
  // A handler the description may name (an event type in a std::any).
  void RegisterMethod(const std::string& name, std::any handler);
  // A field the description fills: the component of that name, of type T.
  template <class T>
  void RegisterField(const std::string& name, T*& field) {
    fields_[name] = [&field, name](TComponent* c) {
      field = dynamic_cast<T*>(c);
      if (!field) throw EReadError("component " + name + " has the wrong class");
    };
  }

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  RECT DisplayRect() override;

 private:
  friend class TWinControl;
  // The focus to the control that had it last, else to the first control in the tab order;
  // false when neither can take it. The form does so whenever it is active again (after a
  // dialog or a box, or from another window), and a control enabled again while the form's
  // focus is nowhere takes it back.
  bool FocusActiveControl();

  HWND focused_ = nullptr;  // the window of the control that had the focus last
  std::map<std::string, std::any> methods_;
  std::map<std::string, std::function<void(TComponent*)>> fields_;
  int clientWidth_ = 0, clientHeight_ = 0;
  TMainMenu* menu_ = nullptr;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

// The program's forms, in the order they were created.
std::vector<TCustomForm*>& ScreenForms();

// The classes and properties of the framework's own controls, registered once.
void RegisterFormsClasses();
// The common controls' window classes of `classes` (ICC_ flags), each set up once.
void InitCommonControlClasses(DWORD classes);
