#include "Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "Forms.h"
#include "Menus.h"

namespace {

// The window property key: the atom of the control property's name.
LPCSTR ControlAtom() {
  static const ATOM atom = GlobalAddAtomA(ControlAtomName().c_str());
  return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom));
}

// Each framework class has a window class of its own name, registered as an 8-bit
// class the first time a window of it is made: a control of a system class superclasses
// it (the system's procedure then handles what the control does not). Answers the
// procedure that handles what the framework does not.
WNDPROC RegisterWindowClass(const std::string& name, const std::string& systemClass) {
  static std::map<std::string, WNDPROC> registered;
  if (auto it = registered.find(name); it != registered.end()) return it->second;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  WNDPROC base = DefWindowProcA;
  if (!systemClass.empty()) {
    if (!GetClassInfoExA(nullptr, systemClass.c_str(), &wc))
      throw Exception("Cannot find the window class " + systemClass);
    base = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
  } else {
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  }
  wc.lpfnWndProc = ControlWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name.c_str();
  if (!RegisterClassExA(&wc)) throw Exception("Cannot register the window class " + name);
  registered[name] = base;
  return base;
}

std::wstring ToWide(const std::string& s, UINT cp) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(cp, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(std::size_t(n), L'\0');
  MultiByteToWideChar(cp, 0, s.data(), int(s.size()), w.data(), n);
  return w;
}

std::string FromWide(const std::wstring& w, UINT cp) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(cp, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(std::size_t(n), '\0');
  WideCharToMultiByte(cp, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// A tool's record as the oldest common controls take it: the programs carry no manifest
// that asks for newer ones, and older ones refuse a longer record.
const UINT kToolInfoSize = TTTOOLINFOW_V2_SIZE;

// The one tooltip that shows every control's hint, made with the first hint; it belongs
// to no form, so it shows over inactive ones too.
HWND hintTip = nullptr;
HWND HintWindow() {
  if (!IsWindow(hintTip)) {
    InitCommonControlClasses(ICC_BAR_CLASSES);
    hintTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  return hintTip;
}

}  // namespace

std::wstring TextToWide(const std::string& text) {
  return ToWide(text, kTextCodePage);
}
std::string WideToText(const std::wstring& text) {
  return FromWide(text, kTextCodePage);
}
std::optional<std::string> WideToTextExact(const std::wstring& text) {
  if (text.empty()) return std::string();
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text.data(),
                                    int(text.size()), nullptr, 0, nullptr, &lost);
  if (n <= 0 || lost) return std::nullopt;
  std::string s(std::size_t(n), '\0');
  WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), s.data(),
                      n, nullptr, nullptr);
  return s;
}
std::string Utf8ToText(const std::string& utf8) {
  return WideToText(ToWide(utf8, CP_UTF8));
}

std::string ControlAtomName() {
  char name[40];
  std::snprintf(name, sizeof name, "ControlOfs%.8X%.8X",
                unsigned(reinterpret_cast<UINT_PTR>(GetModuleHandleW(nullptr))),
                unsigned(GetCurrentThreadId()));
  return name;
}

TWinControl* FindControl(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWinControl*>(GetPropA(window, ControlAtom()));
}

LRESULT CALLBACK ControlWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(hwnd);
  if (!control && msg == WM_NCCREATE) {
    control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (control) {
      control->handle_ = hwnd;
      SetPropA(hwnd, ControlAtom(), control);
    }
  }
  if (!control) return DefWindowProcA(hwnd, msg, wParam, lParam);
  // The tooltip learns where the pointer is from the windows themselves: a subclass of
  // its own would be one per window, shared by every hint over it.
  if (hintTip && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
    MSG relayed{hwnd, msg, wParam, lParam, 0, {}};
    SendMessageW(hintTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  TMessage m{msg, wParam, lParam, 0};
  // A copy: the procedure may replace WindowProc (a skinner that detaches) while it runs.
  const TWndMethod proc = control->WindowProc;
  SafeCall([&] { proc(m); });
  if (msg == WM_NCDESTROY) {
    control->DropHintTools();
    RemovePropA(hwnd, ControlAtom());
    control->handle_ = nullptr;
  }
  return m.Result;
}

// ---------------------------------------------------------------------------------------

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= 1u << ssShift;
  if (keys & MK_CONTROL) s |= 1u << ssCtrl;
  if (keys & MK_LBUTTON) s |= 1u << ssLeft;
  if (keys & MK_RBUTTON) s |= 1u << ssRight;
  if (keys & MK_MBUTTON) s |= 1u << ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= 1u << ssAlt;
  return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
  // What the control owns goes while its members still live: a skinner gives its
  // WindowProc back as it goes.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  DropHintTool();
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  Invalidate();
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  UpdateHintTool();
  if (!parent_) return;
  parent_->controls_.push_back(this);
  if (ParentFont) font_.Assign(parent_->Font());
  parent_->AlignControls();
  Invalidate();
}

TCustomForm* TControl::GetParentForm() {
  TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(c);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
  if (showHint_) UpdateHintTool();
}

void TControl::SetAlign(TAlign value) {
  align_ = value;
  if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  Invalidate();  // the place it leaves, or the place it takes
  visible_ = value;
  Invalidate();
  if (showHint_) UpdateHintTool();
  if (parent_) parent_->AlignControls();
  Perform(CM_VISIBLECHANGED, value, 0);
}

bool TControl::EffectiveEnabled() const {
  return enabled_ && (!parent_ || parent_->EffectiveEnabled());
}

void TControl::SetEnabled(bool value) {
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
  Invalidate();
}

std::string TControl::Caption() const {
  return caption_;
}

void TControl::SetCaption(const std::string& text) {
  caption_ = text;
  Invalidate();
}

void TControl::SetColor(TColor value) {
  color_ = value;
  Invalidate();
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  UpdateHintTool();
}

void TControl::SetHint(const std::string& text) {
  hint_ = text;
  UpdateHintTool();
}

void TControl::UpdateHintTool() {
  DropHintTool();
  auto* windowed = dynamic_cast<TWinControl*>(this);
  HWND window = windowed ? windowed->handle_ : parent_ ? parent_->handle_ : nullptr;
  // A hidden windowed control gets no mouse messages; a windowless one would still.
  if (!showHint_ || hint_.empty() || !window || (!windowed && !visible_)) return;
  std::wstring text = TextToWide(hint_);
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.uFlags = windowed ? TTF_IDISHWND : 0u;
  tool.hwnd = window;
  tool.uId = windowed ? reinterpret_cast<UINT_PTR>(window) : reinterpret_cast<UINT_PTR>(this);
  tool.rect = BoundsRect();
  tool.lpszText = text.data();
  if (SendMessageW(HintWindow(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    hintWindow_ = window;
    hintId_ = tool.uId;
  }
}

void TControl::DropHintTool() {
  if (!hintWindow_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.hwnd = hintWindow_;
  tool.uId = hintId_;
  SendMessageW(HintWindow(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  hintWindow_ = nullptr;
}

POINT TControl::ScreenToClient(POINT p) {
  if (!parent_) return p;
  p = parent_->ScreenToClient(p);
  return {p.x - left_, p.y - top_};
}

POINT TControl::ClientToScreen(POINT p) {
  if (!parent_) return p;
  return parent_->ClientToScreen({p.x + left_, p.y + top_});
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // A copy: the procedure may replace WindowProc (a skinner that detaches) while it runs.
  const TWndMethod proc = WindowProc;
  proc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  DoMouseDown(m);
}

bool TControl::DoMouseDown(const TMessage& m) {
  TMouseButton button;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      button = mbLeft;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      button = mbRight;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      button = mbMiddle;
      break;
    default:
      return false;
  }
  TShiftState shift = KeysToShiftState(m.WParam);
  if (m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK)
    shift |= 1u << ssDouble;
  MouseDown(button, shift, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  return true;
}

void TControl::Invalidate() {
  if (!parent_ || !visible_ || !parent_->HandleAllocated()) return;
  const RECT r = BoundsRect();
  InvalidateRect(parent_->handle_, &r, TRUE);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------------------

void TGraphicControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (m.WParam) {
        const TCanvasLoan loan(canvas_, reinterpret_cast<HDC>(m.WParam));
        canvas_.Font.Assign(&font_);
        Paint();
      }
      return;
    case WM_LBUTTONDOWN:
      clicked_ = true;
      break;
    case WM_LBUTTONUP: {
      const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      const bool over = p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_;
      const bool click = clicked_ && over;
      clicked_ = false;
      if (click) Click();
      return;
    }
    default:
      break;
  }
  TControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyHandle();
  for (TControl* c : controls_) c->parent_ = nullptr;
  if (brush_) DeleteObject(brush_);
}

void TWinControl::DestroyHandle() {
  if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::DropHintTools() {
  DropHintTool();
  for (TControl* c : controls_) c->DropHintTool();
}

void TWinControl::RemoveControl(TControl* control) {
  std::erase(controls_, control);
  if (mouseControl_ == control) mouseControl_ = nullptr;
  if (captureControl_ == control) captureControl_ = nullptr;
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (!parent_) {
    DestroyHandle();
    return;
  }
  parent_->controls_.push_back(this);
  if (ParentFont) font_.Assign(parent_->Font());
  if (handle_ && parent_->handle_)
    ::SetParent(handle_, parent_->handle_);
  else if (parent_->handle_)
    HandleNeeded();
  parent_->AlignControls();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  // A child keeps where it was put, so nothing needs doing when nothing changes (the
  // user may have moved a form's window since).
  if (parent_ && left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyBounds();
  if (resized) AlignControls();
}

void TWinControl::ApplyBounds() {
  if (handle_)
    SetWindowPos(handle_, nullptr, left_, top_, width_, WindowHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool value) {
  const bool changed = value != visible_;
  visible_ = value;
  if (handle_) ShowWindow(handle_, value ? SW_SHOW : SW_HIDE);
  if (parent_) parent_->AlignControls();
  if (changed) Perform(CM_VISIBLECHANGED, value, 0);
}

void TWinControl::SetEnabled(bool value) {
  enabled_ = value;
  UpdateEnabled();
}

void TWinControl::UpdateEnabled() {
  if (handle_) {
    EnableWindow(handle_, EffectiveEnabled());
    InvalidateRect(handle_, nullptr, TRUE);
    // Disabled, it lost the focus (during a batch, say): enabled again, it takes it back.
    TCustomForm* form = GetParentForm();
    if (form && form->focused_ == handle_ && EffectiveEnabled() &&
        GetActiveWindow() == form->handle_ && (!GetFocus() || GetFocus() == form->handle_))
      form->FocusActiveControl();
  }
  Perform(CM_ENABLEDCHANGED, 0, 0);
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c))
      w->UpdateEnabled();
    else
      c->Invalidate();
  }
}

std::string TWinControl::Caption() const {
  if (!handle_) return caption_;
  const int n = GetWindowTextLengthW(handle_);
  std::wstring w(std::size_t(n) + 1, L'\0');
  w.resize(std::size_t(GetWindowTextW(handle_, w.data(), n + 1)));
  return WideToText(w);
}

void TWinControl::SetCaption(const std::string& text) {
  caption_ = text;
  if (handle_) {
    SetWindowTextW(handle_, TextToWide(text).c_str());
    if (!defProc_) InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TWinControl::SetColor(TColor value) {
  color_ = value;
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
  Invalidate();
}

POINT TWinControl::ScreenToClient(POINT p) {
  ::ScreenToClient(Handle(), &p);
  return p;
}

POINT TWinControl::ClientToScreen(POINT p) {
  ::ClientToScreen(Handle(), &p);
  return p;
}

void TWinControl::SetParentBackground(bool value) {
  parentBackground_ = value;
  Invalidate();
}

HBRUSH TWinControl::Brush() {
  if (color_ & 0xFF000000u) return GetSysColorBrush(int(color_ & 0xFF));
  if (!brush_) brush_ = CreateSolidBrush(ColorToRGB(color_));
  return brush_;
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (parent_ && !parent_->handle_) {
    parent_->HandleNeeded();
    if (handle_) return;
  }
  CreateWnd();
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  AlignControls();
}

void TWinControl::SetParentWindow(HWND window) {
  parentWindow_ = window;
  if (handle_ && !parent_) ::SetParent(handle_, window);
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
  if (handle_) {
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
  }
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Style = WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_CONTROLPARENT;  // the keyboard moves into its children
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if (BiDiMode == bdRightToLeft) p.ExStyle |= WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  const WNDPROC base = RegisterWindowClass(ClassName(), p.ClassName);
  defProc_ = p.ClassName.empty() ? nullptr : base;
  DWORD style = p.Style;
  HWND parentWindow = parent_ ? parent_->handle_ : parentWindow_;
  if (parentWindow) style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_ && parentWindow) style |= WS_VISIBLE;
  if (!EffectiveEnabled()) style |= WS_DISABLED;
  if (ParentFont && parent_) font_.Assign(parent_->Font());
  HWND h =
      CreateWindowExA(p.ExStyle, ClassName().c_str(), caption_.c_str(), style, left_, top_, width_,
                      WindowHeight(), parentWindow, nullptr, GetModuleHandleA(nullptr), this);
  if (!h) throw Exception("Cannot create the window of " + Name);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  // Its own hint and those of its windowless children have a window to show over now.
  if (showHint_) UpdateHintTool();
  for (TControl* c : controls_)
    if (c->showHint_) c->UpdateHintTool();
}

RECT TWinControl::DisplayRect() {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::AlignControls() {
  if (aligning_) return;
  aligning_ = true;
  RECT r = DisplayRect();
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->align_ != pass || !c->visible_) continue;
      const int w = int(r.right - r.left), h = int(r.bottom - r.top);
      switch (pass) {
        case alTop:
          c->SetBounds(r.left, r.top, w, c->height_);
          r.top += c->height_;
          break;
        case alBottom:
          c->SetBounds(r.left, r.bottom - c->height_, w, c->height_);
          r.bottom -= c->height_;
          break;
        case alLeft:
          c->SetBounds(r.left, r.top, c->width_, h);
          r.left += c->width_;
          break;
        case alRight:
          c->SetBounds(r.right - c->width_, r.top, c->width_, h);
          r.right -= c->width_;
          break;
        default:
          c->SetBounds(r.left, r.top, w, h);
          break;
      }
    }
  }
  aligning_ = false;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  // Tab order is the order placed.
  for (TControl* control : controls_)
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
      list.push_back(windowed);
      windowed->GetTabOrderList(list);
    }
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
  // A copy: a child's painting may change the list.
  const std::vector<TControl*> children(it, controls_.end());
  for (TControl* c : children) {
    if (dynamic_cast<TWinControl*>(c) || !c->visible_) continue;
    if (!RectVisible(dc, &static_cast<const RECT&>(c->BoundsRect()))) continue;
    const int saved = SaveDC(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + c->left_, origin.y + c->top_, nullptr);
    IntersectClipRect(dc, 0, 0, c->width_, c->height_);
    try {
      c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } catch (...) {
      RestoreDC(dc, saved);
      throw;
    }
    RestoreDC(dc, saved);
  }
}

TControl* TWinControl::ControlAtPos(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->visible_ || !c->EffectiveEnabled()) continue;
    const RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::SetMouseControl(TControl* control) {
  if (control == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (control) {
    control->Perform(CM_MOUSEENTER, 0, 0);
    // The window tells when the pointer leaves it, and with it the child.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
  }
}

bool TWinControl::RouteMouse(TMessage& m) {
  if (m.Msg == WM_MOUSELEAVE) {
    SetMouseControl(nullptr);
    return false;
  }
  if (m.Msg < WM_MOUSEFIRST || m.Msg > WM_MBUTTONDBLCLK || !handle_) return false;
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (m.Msg == WM_MOUSEMOVE) SetMouseControl(ControlAtPos(p));
  TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
  if (!target) return false;
  const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                    m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK ||
                    m.Msg == WM_MBUTTONDBLCLK;
  if (down) {
    // The child keeps the mouse until the buttons are up again.
    captureControl_ = target;
    SetCapture(handle_);
  }
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->left_, p.y - target->top_));
  const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  if (up && !(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    captureControl_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  return true;
}

TWinControl* TWinControl::ReflectTarget(const TMessage& m) const {
  HWND from = nullptr;
  switch (m.Msg) {
    case WM_NOTIFY:
      from = reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType == ODT_MENU) return nullptr;
      from = dis->hwndItem;
      break;
    }
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      from = reinterpret_cast<HWND>(m.LParam);
      break;
    default:
      return nullptr;
  }
  TWinControl* c = FindControl(from);
  return c != this ? c : nullptr;
}

void TWinControl::Reflected(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      CNCommand(HIWORD(m.WParam));
      m.Result = 0;
      return;
    case CN_NOTIFY: {
      LRESULT r = 0;
      m.Result = CNNotify(reinterpret_cast<NMHDR*>(m.LParam), r) ? r : 0;
      return;
    }
    case CN_DRAWITEM:
      m.Result = DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
      HBRUSH brush = nullptr;
      if (CtlColor(reinterpret_cast<HDC>(m.WParam), brush))
        m.Result = reinterpret_cast<LRESULT>(brush);
      else  // what the parent's window would answer
        m.Result = DefWindowProcA(parent_ ? parent_->handle_ : handle_, m.Msg - CN_BASE, m.WParam,
                                  m.LParam);
      return;
    }
    default:
      m.Result = 0;
      return;
  }
}

void TWinControl::PaintWindow(HDC dc) {
  if (defProc_) {
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(paint);
  } else {
    Paint(dc);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::TrackMouse(const TMessage& m) {
  if (m.Msg == WM_MOUSEMOVE && !mouseInside_) {
    mouseInside_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
    Perform(CM_MOUSEENTER, 0, 0);
  } else if (m.Msg == WM_MOUSELEAVE && mouseInside_) {
    mouseInside_ = false;
    Perform(CM_MOUSELEAVE, 0, 0);
  }
}

void TWinControl::WndProc(TMessage& m) {
  const bool own = defProc_ == nullptr;
  TrackMouse(m);
  if (RouteMouse(m)) return;
  if (TWinControl* child = ReflectTarget(m)) {
    m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  switch (m.Msg) {
    case CN_COMMAND:
    case CN_NOTIFY:
    case CN_DRAWITEM:
    case CN_HSCROLL:
    case CN_VSCROLL:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      Reflected(m);
      return;
    case CM_RECREATEWND:
      DestroyHandle();
      HandleNeeded();
      return;
    case CM_DIALOGKEY:
      // Offered to the children until one takes it.
      for (TControl* c : std::vector<TControl*>(controls_))
        if (c->visible_ && c->Perform(CM_DIALOGKEY, m.WParam, m.LParam)) {
          m.Result = 1;
          return;
        }
      m.Result = 0;
      return;
    case WM_ERASEBKGND:
      if (own) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r,
                 parentBackground_ && parent_ ? parent_->Brush() : Brush());
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT: {
      const bool hasWindowless = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) {
        return !dynamic_cast<TWinControl*>(c);
      });
      if (m.WParam) {
        // A paint into a device context someone hands over (a parent's background).
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
      }
      if (own || hasWindowless) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        PaintWindow(dc);
        EndPaint(handle_, &ps);
        m.Result = 0;
        return;
      }
      break;
    }
    case WM_PRINTCLIENT:
      if (own) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, Brush());
        Paint(reinterpret_cast<HDC>(m.WParam));
        PaintControls(reinterpret_cast<HDC>(m.WParam), nullptr);
        m.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      DefaultHandler(m);
      AlignControls();
      Resized();
      return;
    case WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm(); form && form != this) form->focused_ = handle_;
      break;
    case WM_NOTIFYFORMAT:
      // The framework's windows are 8-bit, but it reads the common controls' wide
      // notifications.
      if (m.LParam == NF_QUERY) {
        m.Result = NFR_UNICODE;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      DefaultHandler(m);
      DoMouseDown(m);
      return;
    default:
      break;
  }
  DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  m.Result = defProc_ ? CallWindowProcA(defProc_, handle_, m.Msg, m.WParam, m.LParam)
                      : DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
}
// ---------------------------------------------------------------------------------------

std::vector<TCustomForm*>& ScreenForms() {
  static std::vector<TCustomForm*> forms;
  return forms;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  ScreenForms().push_back(this);
}

TCustomForm::~TCustomForm() {
  std::erase(ScreenForms(), this);
  SetMenu(nullptr);
  if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
  handle_ = nullptr;
}

int TCustomForm::ClientWidth() const {
  RECT r;
  if (handle_ && !IsIconic(handle_) && GetClientRect(handle_, &r)) return int(r.right);
  return clientWidth_;
}

int TCustomForm::ClientHeight() const {
  RECT r;
  if (handle_ && !IsIconic(handle_) && GetClientRect(handle_, &r)) return int(r.bottom);
  return clientHeight_;
}

void TCustomForm::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  if (HandleAllocated() && !IsIconic(handle_)) {
    // Whatever frame the window has now (a menu bar, a frame drawn by someone else)
    // stays around the new client area.
    RECT w, c;
    GetWindowRect(handle_, &w);
    GetClientRect(handle_, &c);
    SetBounds(Left(), Top(), width + int(w.right - w.left - c.right), height + int(w.bottom - w.top - c.bottom));
  }
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) menu_->form_ = nullptr;
  menu_ = menu;
  if (menu_) {
    if (menu_->form_) static_cast<TCustomForm*>(menu_->form_)->SetMenu(nullptr);
    menu_->form_ = this;
  }
  if (HandleAllocated()) {
    // Keeps the client size: the bar takes its height from the window, not the client.
    ::SetMenu(handle_, menu_ ? menu_->Handle() : nullptr);
    SetClientSize(clientWidth_, clientHeight_);
    Perform(CM_MENUCHANGED, 0, 0);
  }
}

void TCustomForm::CreateParams(TCreateParams& params) {
  params.Style = WS_CLIPCHILDREN | WS_CAPTION;
  params.ExStyle = WS_EX_CONTROLPARENT;
  if (BorderIconSystemMenu) params.Style |= WS_SYSMENU;
  if (BorderIconMinimize) params.Style |= WS_MINIMIZEBOX;
  if (BorderIconMaximize && BorderStyle == bsSizeable) params.Style |= WS_MAXIMIZEBOX;
  if (BorderStyle == bsSizeable) params.Style |= WS_THICKFRAME;
  if (BorderStyle == bsDialog) params.ExStyle |= WS_EX_DLGMODALFRAME;
  if (BorderStyle == bsNone) params.Style = WS_POPUP | WS_CLIPCHILDREN;
}

namespace {
// Tab, the arrow keys and the like move between a form's controls, as in a dialog box.
bool FormNavigation(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  auto* form = dynamic_cast<TCustomForm*>(FindControl(root));
  if (!form) return false;
  // Enter and Esc that the focused control does not take are offered to the form's
  // controls first (the default button takes Enter).
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
      !(SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
        (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) &&
      form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam))
    return true;
  // An Alt+key is the form's first (its menu's accelerators), then the controls'.
  if (msg.message == WM_SYSCHAR && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam)) return true;
  return IsDialogMessageW(root, &msg) != FALSE;
}
}  // namespace

void TCustomForm::CreateWnd() {
  if (Application && !Application->OnPreTranslateMessage)
    Application->OnPreTranslateMessage = FormNavigation;
  TCreateParams p;
  CreateParams(p);
  if (clientWidth_ > 0 || clientHeight_ > 0) {
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    const int w = int(r.right - r.left), h = int(r.bottom - r.top);
    int x = Left(), y = Top();
    if (Position == poScreenCenter) {
      x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
      y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    }
    SetBounds(x, y, w, h);
  }
  TWinControl::CreateWnd();
  // Forms show the program's icon ("MAINICON"), or the system's application icon.
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  if (!icon) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  if (menu_) ::SetMenu(handle_, menu_->Handle());
  // The frame the system draws may differ from the one computed: keep the client size.
  if (clientWidth_ > 0 || clientHeight_ > 0) SetClientSize(clientWidth_, clientHeight_);
}

RECT TCustomForm::DisplayRect() {
  if (HandleAllocated()) return TWinControl::DisplayRect();
  return RECT{0, 0, clientWidth_, clientHeight_};
}

void TCustomForm::Show() {
  HandleNeeded();
  SetVisible(true);
  SetForegroundWindow(handle_);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (action == caMinimize) {
    if (handle_) ShowWindow(handle_, SW_MINIMIZE);
    return;
  }
  SetVisible(false);
  if (IsMainForm && Application) {
    Application->Terminate();
    PostQuitMessage(0);
  }
}

void TCustomForm::WndProc(TMessage& m) {
  if (m.Msg == WM_CLOSE) {
    Close();
    m.Result = 0;
    return;
  }
  if (m.Msg == CM_MENUCHANGED) {
    // The window shows the menu's rebuilt bar (whoever took it away meanwhile).
    if (menu_ && HandleAllocated()) ::SetMenu(handle_, menu_->Handle());
    m.Result = 0;
    return;
  }
  // Given the focus itself (activated again, or restored), the form passes it on.
  if (m.Msg == WM_SETFOCUS && !IsIconic(handle_) && FocusActiveControl()) {
    m.Result = 0;
    return;
  }
  if (DispatchMenuMessage(m.Msg, m.WParam, m.LParam, m.Result)) return;
  TWinControl::WndProc(m);
}

bool TCustomForm::FocusActiveControl() {
  HWND target = focused_;
  if (!IsWindow(target) || !IsChild(handle_, target) || !IsWindowVisible(target) ||
      !IsWindowEnabled(target))
    target = GetNextDlgTabItem(handle_, nullptr, FALSE);
  if (!target || target == handle_) return false;
  SetFocus(target);
  return true;
}

void TCustomForm::RegisterMethod(const std::string& name, std::any handler) {
  methods_[name] = std::move(handler);
}

void TCustomForm::ReadFormResource(const std::string& name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));
  HGLOBAL data = res ? LoadResource(module, res) : nullptr;
  const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) throw EReadError("Resource " + name + " not found");
  ReadForm(std::string(bytes, SizeofResource(module, res)));
}

void TCustomForm::ReadForm(const std::string& description) {
  RegisterFormsClasses();
  const TComponentDesc desc = ParseFormDesc(description);
  std::set<std::string> bound;
  TReadContext context;
  context.Root = this;
  context.ConvertText = Utf8ToText;
  context.SetParent = [](TComponent* child, TComponent* parent) {
    auto* c = dynamic_cast<TWinControl*>(child);
    auto* p = dynamic_cast<TWinControl*>(parent);
    if (c && p) c->SetParent(p);
  };
  context.FindMethod = [this](const std::string& name) -> const std::any* {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
  };
  context.BindField = [this, &bound](const std::string& name, TComponent* c) {
    auto it = fields_.find(name);
    if (it == fields_.end()) return;
    it->second(c);
    bound.insert(name);
  };
  ReadComponents(desc, context);
  for (const auto& [name, bind] : fields_)
    if (!bound.count(name)) throw EReadError("The form description has no component " + name);
  HandleNeeded();
  AlignControls();
  if (OnCreate) OnCreate(this);
}

// ---------------------------------------------------------------------------------------

void RegisterStdControls();
void RegisterButtons();
void RegisterComControls();
void RegisterDialogs();
void RegisterOleControls();
void RegisterScrollControls();

namespace {

TColor ReadColor(const TPropValue& v) {
  if (v.kind == TPropValue::Integer) return TColor(v.integer);
  const std::string s = ReadIdent(v);
  static const std::pair<const char*, TColor> names[] = {{"clBtnFace", clBtnFace},
                                                         {"clWindow", clWindow},
                                                         {"clSilver", clSilver},
                                                         {"clWhite", clWhite},
                                                         {"clBlack", clBlack}};
  for (const auto& [name, color] : names)
    if (s == name) return color;
  throw EReadError("unknown colour " + s);
}

void RegisterControlProperties() {
  auto& component = RegisterClassType<TComponent>("TComponent", "");
  component.Property(
      "Tag", [](TComponent* c, const TPropValue& v, TReadContext&) { c->Tag = ReadInteger(v); });
  TPublisher<TComponent>(component)
      .Int(
          "Tag", [](TComponent* c) { return c->Tag; },
          [](TComponent* c, long long v) { c->Tag = v; })
      .Str("Name", [](TComponent* c) { return c->Name; });

  auto& control = RegisterClassType<TControl>("TControl", "TComponent");
  auto prop = [&control](const char* name,
                         std::function<void(TControl*, const TPropValue&, TReadContext&)> f) {
    control.Property(name, [f](TComponent* c, const TPropValue& v, TReadContext& ctx) {
      f(static_cast<TControl*>(c), v, ctx);
    });
  };
  prop("Left",
       [](TControl* c, const TPropValue& v, TReadContext&) { c->SetLeft(int(ReadInteger(v))); });
  prop("Top",
       [](TControl* c, const TPropValue& v, TReadContext&) { c->SetTop(int(ReadInteger(v))); });
  prop("Width",
       [](TControl* c, const TPropValue& v, TReadContext&) { c->SetWidth(int(ReadInteger(v))); });
  prop("Height",
       [](TControl* c, const TPropValue& v, TReadContext&) { c->SetHeight(int(ReadInteger(v))); });
  prop("Visible",
       [](TControl* c, const TPropValue& v, TReadContext&) { c->SetVisible(ReadBool(v)); });
  prop("Enabled",
       [](TControl* c, const TPropValue& v, TReadContext&) { c->SetEnabled(ReadBool(v)); });
  prop("Caption", [](TControl* c, const TPropValue& v, TReadContext& ctx) {
    c->SetCaption(ReadString(v, ctx));
  });
  prop("Color", [](TControl* c, const TPropValue& v, TReadContext&) { c->SetColor(ReadColor(v)); });
  prop("Align", [](TControl* c, const TPropValue& v, TReadContext&) {
    static const std::pair<const char*, TAlign> names[] = {
        {"alNone", alNone}, {"alTop", alTop},     {"alBottom", alBottom},
        {"alLeft", alLeft}, {"alRight", alRight}, {"alClient", alClient}};
    const std::string s = ReadIdent(v);
    for (const auto& [name, align] : names)
      if (s == name) return c->SetAlign(align);
    throw EReadError("unknown alignment " + s);
  });
  prop("ShowHint",
       [](TControl* c, const TPropValue& v, TReadContext&) { c->SetShowHint(ReadBool(v)); });
  prop("Hint",
       [](TControl* c, const TPropValue& v, TReadContext& ctx) { c->SetHint(ReadString(v, ctx)); });
  prop("OnClick", [](TControl* c, const TPropValue& v, TReadContext& ctx) {
    c->OnClick = ReadEvent<TNotifyEvent>(v, ctx);
  });
  TPublisher<TControl>(control)
      .Int("Left", [](TControl* c) { return c->Left(); })
      .Int("Top", [](TControl* c) { return c->Top(); })
      .Int("Width", [](TControl* c) { return c->Width(); })
      .Int("Height", [](TControl* c) { return c->Height(); })
      .Bool(
          "Visible", [](TControl* c) { return c->Visible(); },
          [](TControl* c, bool v) { c->SetVisible(v); })
      .Bool(
          "Enabled", [](TControl* c) { return c->Enabled(); },
          [](TControl* c, bool v) { c->SetEnabled(v); })
      .Str(
          "Caption", [](TControl* c) { return c->Caption(); },
          [](TControl* c, const std::string& v) { c->SetCaption(v); })
      .Int(
          "Color", [](TControl* c) { return c->Color(); },
          [](TControl* c, long long v) { c->SetColor(TColor(v)); })
      .Obj("Font", [](TControl* c) { return c->Font(); })
      .Bool(
          "ShowHint", [](TControl* c) { return c->ShowHint(); },
          [](TControl* c, bool v) { c->SetShowHint(v); })
      .Str(
          "Hint", [](TControl* c) { return c->Hint(); },
          [](TControl* c, const std::string& v) { c->SetHint(v); })
      .Bool(
          "ParentFont", [](TControl* c) { return c->ParentFont; },
          [](TControl* c, bool v) { c->ParentFont = v; })
      .Enum(
          "BiDiMode", {"bdLeftToRight", "bdRightToLeft"}, [](TControl* c) { return c->BiDiMode; },
          [](TControl* c, long long v) { c->BiDiMode = TBiDiMode(v); });
  RegisterClassType<TGraphicControl>("TGraphicControl", "TControl");
  TPublisher<TWinControl>(RegisterClassType<TWinControl>("TWinControl", "TControl"))
      .Bool(
          "ParentBackground", [](TWinControl* c) { return c->ParentBackground(); },
          [](TWinControl* c, bool v) { c->SetParentBackground(v); });

  auto& form = RegisterClassType<TCustomForm>("TForm", "TWinControl");
  auto fprop = [&form](const char* name,
                       std::function<void(TCustomForm*, const TPropValue&, TReadContext&)> f) {
    form.Property(name, [f](TComponent* c, const TPropValue& v, TReadContext& ctx) {
      f(static_cast<TCustomForm*>(c), v, ctx);
    });
  };
  fprop("ClientWidth", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    f->SetClientSize(int(ReadInteger(v)), f->ClientHeight());
  });
  fprop("ClientHeight", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    f->SetClientSize(f->ClientWidth(), int(ReadInteger(v)));
  });
  fprop("BorderStyle", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    static const std::pair<const char*, TFormBorderStyle> names[] = {{"bsNone", bsNone},
                                                                     {"bsSingle", bsSingle},
                                                                     {"bsSizeable", bsSizeable},
                                                                     {"bsDialog", bsDialog}};
    const std::string s = ReadIdent(v);
    for (const auto& [name, style] : names)
      if (s == name) return void(f->BorderStyle = style);
    throw EReadError("unknown border style " + s);
  });
  fprop("BorderIcons", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    f->BorderIconSystemMenu = f->BorderIconMinimize = f->BorderIconMaximize = false;
    for (const std::string& s : ReadIdentSet(v)) {
      if (s == "biSystemMenu")
        f->BorderIconSystemMenu = true;
      else if (s == "biMinimize")
        f->BorderIconMinimize = true;
      else if (s == "biMaximize")
        f->BorderIconMaximize = true;
      else
        throw EReadError("unknown border icon " + s);
    }
  });
  fprop("Position", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    const std::string s = ReadIdent(v);
    if (s == "poScreenCenter")
      f->Position = poScreenCenter;
    else if (s == "poDesigned")
      f->Position = poDesigned;
    else
      throw EReadError("unknown position " + s);
  });
  fprop("Font.Name", [](TCustomForm* f, const TPropValue& v, TReadContext& ctx) {
    f->Font()->Name = ReadString(v, ctx);
  });
  fprop("Font.Height", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    f->Font()->Height = int(ReadInteger(v));
  });
  fprop("Font.Charset", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    if (v.kind == TPropValue::Integer) return void(f->Font()->Charset = int(v.integer));
    const std::string s = ReadIdent(v);
    if (s == "GB2312_CHARSET")
      f->Font()->Charset = GB2312_CHARSET;
    else if (s == "DEFAULT_CHARSET")
      f->Font()->Charset = DEFAULT_CHARSET;
    else if (s == "ANSI_CHARSET")
      f->Font()->Charset = ANSI_CHARSET;
    else
      throw EReadError("unknown character set " + s);
  });
  fprop("OnCreate", [](TCustomForm* f, const TPropValue& v, TReadContext& ctx) {
    f->OnCreate = ReadEvent<TNotifyEvent>(v, ctx);
  });
  fprop("OnClose", [](TCustomForm* f, const TPropValue& v, TReadContext& ctx) {
    f->OnClose = ReadEvent<TCloseEvent>(v, ctx);
  });
  fprop("OnCloseQuery", [](TCustomForm* f, const TPropValue& v, TReadContext& ctx) {
    f->OnCloseQuery = ReadEvent<TCloseQueryEvent>(v, ctx);
  });
}

}  // namespace

void InitCommonControlClasses(DWORD classes) {
  static DWORD done = 0;  // the UI thread's alone
  if ((done & classes) == classes) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  if (InitCommonControlsEx(&icc)) done |= classes;
}

void RegisterFormsClasses() {
  static const bool done = [] {
    RegisterControlProperties();
    RegisterStdControls();
    RegisterButtons();
    RegisterComControls();
    RegisterDialogs();
    RegisterOleControls();
    RegisterScrollControls();
    return true;
  }();
  (void)done;
}
