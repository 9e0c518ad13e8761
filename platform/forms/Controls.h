// Controls and forms: windowed components placed inside each other, with bounds,
// alignment, visibility, an enabled state that a container passes to its children, and
// a replaceable window procedure. A form reads its components from a form description
// stored as a resource of the program.
#pragma once

#include <windows.h>

#include <any>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Classes.h"
#include "TypInfo.h"

// Colours: 0x00BBGGRR, or 0xFF0000nn for system colour nn.
using TColor = unsigned;
constexpr TColor clBtnFace = 0xFF00000Fu;
constexpr TColor clWindow = 0xFF000005u;
constexpr TColor clSilver = 0x00C0C0C0u;
constexpr TColor clWhite = 0x00FFFFFFu;
constexpr TColor clBlack = 0x00000000u;
COLORREF ColorToRGB(TColor color);

// The code page of the programs' 8-bit texts.
constexpr UINT kTextCodePage = 936;
std::wstring TextToWide(const std::string& text);
std::string WideToText(const std::wstring& text);
std::string Utf8ToText(const std::string& utf8);

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The framework's notifications to a control's WindowProc.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;     // an Alt+key no control of the form took
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;  // the form's menu bar changed

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
LRESULT CALLBACK ControlWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class TWinControl : public TComponent {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  TWinControl* Parent() const noexcept { return parent_; }
  void SetParent(TWinControl* parent);
  std::size_t ControlCount() const noexcept { return controls_.size(); }
  TWinControl* Controls(std::size_t i) const { return controls_.at(i); }
  TCustomForm* GetParentForm();

  int Left() const noexcept { return left_; }
  int Top() const noexcept { return top_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  TAlign Align() const noexcept { return align_; }
  void SetAlign(TAlign value);

  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool value);
  // The control's own setting; a control inside a disabled container is disabled too.
  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool value);
  bool EffectiveEnabled() const;

  virtual std::string Caption() const;
  virtual void SetCaption(const std::string& text);
  TColor Color() const noexcept { return color_; }
  void SetColor(TColor value);

  HWND Handle();  // creates the window (and its parents') when it does not exist yet
  bool HandleAllocated() const noexcept { return handle_ != nullptr; }
  void HandleNeeded();
  void Invalidate();
  void Repaint();

  // The window procedure; replace it to see every message first (keep the old one).
  TWndMethod WindowProc;
  // The control's own handling, then the window class's.
  virtual void WndProc(TMessage& message);
  void DefaultHandler(TMessage& message);
  // Hands a message straight to WindowProc and answers its result.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

  // Places the aligned children inside the client area.
  void AlignControls();
  // The brush of the control's colour; children drawn transparent paint with it.
  HBRUSH Brush();

  TNotifyEvent OnClick;

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
  // Notifications from the control's own window, sent to its parent.
  virtual void CNCommand(WORD) {}
  virtual bool CNNotify(NMHDR*, LRESULT&) { return false; }
  virtual bool CtlColor(HDC, HBRUSH&) { return false; }
  virtual void Resized() {}
  // The height given to the window (a drop-down list's window includes its list).
  virtual int WindowHeight() { return height_; }
  HFONT FontHandle();

  HWND handle_ = nullptr;

 private:
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
  void UpdateEnabled();
  void DestroyHandle();
  void ApplyBounds();

  TWinControl* parent_ = nullptr;
  std::vector<TWinControl*> controls_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool aligning_ = false;
  std::string caption_;
  TColor color_ = clBtnFace;
  HBRUSH brush_ = nullptr;
  WNDPROC defProc_ = nullptr;
};
using TControl = TWinControl;

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  int Charset = DEFAULT_CHARSET;
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

  TFont Font;
  TFormBorderStyle BorderStyle = bsSizeable;
  bool BorderIconSystemMenu = true, BorderIconMinimize = true, BorderIconMaximize = true;
  TPosition Position = poDesigned;
  int ClientWidth() const noexcept { return clientWidth_; }
  int ClientHeight() const noexcept { return clientHeight_; }
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

  HFONT FontHandleOfForm();
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
  std::map<std::string, std::any> methods_;
  std::map<std::string, std::function<void(TComponent*)>> fields_;
  int clientWidth_ = 0, clientHeight_ = 0;
  HFONT font_ = nullptr;
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
