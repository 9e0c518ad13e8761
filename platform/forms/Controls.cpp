#include "Controls.h"

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

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if (color & 0xFF000000u) return GetSysColor(int(color & 0xFF));
  return COLORREF(color & 0x00FFFFFFu);
}

std::wstring TextToWide(const std::string& text) {
  return ToWide(text, kTextCodePage);
}
std::string WideToText(const std::wstring& text) {
  return FromWide(text, kTextCodePage);
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
  TMessage m{msg, wParam, lParam, 0};
  // A copy: the procedure may replace WindowProc (a skinner that detaches) while it runs.
  const TWndMethod proc = control->WindowProc;
  SafeCall([&] { proc(m); });
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, ControlAtom());
    control->handle_ = nullptr;
  }
  return m.Result;
}

// ---------------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TWinControl::~TWinControl() {
  DestroyHandle();
  for (TWinControl* c : controls_) c->parent_ = nullptr;
  if (parent_) {
    auto& list = parent_->controls_;
    std::erase(list, this);
  }
  if (brush_) DeleteObject(brush_);
}

void TWinControl::DestroyHandle() {
  if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) std::erase(parent_->controls_, this);
  parent_ = parent;
  if (!parent_) {
    DestroyHandle();
    return;
  }
  parent_->controls_.push_back(this);
  if (handle_ && parent_->handle_)
    ::SetParent(handle_, parent_->handle_);
  else if (parent_->handle_)
    HandleNeeded();
  parent_->AlignControls();
}

TCustomForm* TWinControl::GetParentForm() {
  TWinControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(c);
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

void TWinControl::SetAlign(TAlign value) {
  align_ = value;
  if (parent_) parent_->AlignControls();
}

void TWinControl::SetVisible(bool value) {
  visible_ = value;
  if (handle_) ShowWindow(handle_, value ? SW_SHOW : SW_HIDE);
  if (parent_) parent_->AlignControls();
}

bool TWinControl::EffectiveEnabled() const {
  return enabled_ && (!parent_ || parent_->EffectiveEnabled());
}

void TWinControl::SetEnabled(bool value) {
  enabled_ = value;
  UpdateEnabled();
}

void TWinControl::UpdateEnabled() {
  if (handle_) {
    EnableWindow(handle_, EffectiveEnabled());
    InvalidateRect(handle_, nullptr, TRUE);
  }
  for (TWinControl* c : controls_) c->UpdateEnabled();
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

HBRUSH TWinControl::Brush() {
  if (color_ & 0xFF000000u) return GetSysColorBrush(int(color_ & 0xFF));
  if (!brush_) brush_ = CreateSolidBrush(ColorToRGB(color_));
  return brush_;
}

HFONT TWinControl::FontHandle() {
  if (TCustomForm* form = GetParentForm()) return form->FontHandleOfForm();
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
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
  for (TWinControl* c : controls_) c->HandleNeeded();
  AlignControls();
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
  const WNDPROC base = RegisterWindowClass(ClassName(), p.ClassName);
  defProc_ = p.ClassName.empty() ? nullptr : base;
  DWORD style = p.Style;
  if (parent_) style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_ && parent_) style |= WS_VISIBLE;
  if (!EffectiveEnabled()) style |= WS_DISABLED;
  HWND h = CreateWindowExA(p.ExStyle, ClassName().c_str(), caption_.c_str(), style, left_, top_, width_,
                           WindowHeight(), parent_ ? parent_->handle_ : nullptr, nullptr,
                           GetModuleHandleA(nullptr), this);
  if (!h) throw Exception("Cannot create the window of " + Name);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
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
    for (TWinControl* c : controls_) {
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

void TWinControl::WndProc(TMessage& m) {
  const bool own = defProc_ == nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
      if (TWinControl* c = FindControl(reinterpret_cast<HWND>(m.LParam)); c && c != this) {
        c->CNCommand(HIWORD(m.WParam));
        m.Result = 0;
        return;
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (TWinControl* c = FindControl(hdr->hwndFrom); c && c != this) {
        LRESULT r = 0;
        if (c->CNNotify(hdr, r)) {
          m.Result = r;
          return;
        }
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (TWinControl* c = FindControl(reinterpret_cast<HWND>(m.LParam)); c && c != this) {
        HBRUSH brush = nullptr;
        if (c->CtlColor(reinterpret_cast<HDC>(m.WParam), brush)) {
          m.Result = reinterpret_cast<LRESULT>(brush);
          return;
        }
      }
      break;
    case WM_ERASEBKGND:
      if (own) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, Brush());
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (own) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        Paint(dc);
        EndPaint(handle_, &ps);
        m.Result = 0;
        return;
      }
      break;
    case WM_PRINTCLIENT:
      if (own) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, Brush());
        Paint(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      DefaultHandler(m);
      AlignControls();
      Resized();
      return;
    case WM_NOTIFYFORMAT:
      // The framework's windows are 8-bit, but it reads the common controls' wide
      // notifications.
      if (m.LParam == NF_QUERY) {
        m.Result = NFR_UNICODE;
        return;
      }
      break;
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

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
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
  if (font_) DeleteObject(font_);
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

HFONT TCustomForm::FontHandleOfForm() {
  if (!font_)
    font_ = CreateFontW(Font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, BYTE(Font.Charset),
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, TextToWide(Font.Name).c_str());
  return font_;
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
  if (!dynamic_cast<TCustomForm*>(FindControl(root))) return false;
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
  if (DispatchMenuMessage(m.Msg, m.WParam, m.LParam, m.Result)) return;
  TWinControl::WndProc(m);
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
void RegisterComControls();
void RegisterDialogs();
void RegisterOleControls();

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
  RegisterComponentClass("TComponent", "")
      .Property("Tag",
                [](TComponent* c, const TPropValue& v, TReadContext&) { c->Tag = ReadInteger(v); });
  auto& wc = RegisterComponentClass("TWinControl", "TComponent");
  auto prop = [&wc](const char* name,
                    std::function<void(TWinControl*, const TPropValue&, TReadContext&)> f) {
    wc.Property(name, [f](TComponent* c, const TPropValue& v, TReadContext& ctx) {
      f(static_cast<TWinControl*>(c), v, ctx);
    });
  };
  prop("Left",
       [](TWinControl* c, const TPropValue& v, TReadContext&) { c->SetLeft(int(ReadInteger(v))); });
  prop("Top",
       [](TWinControl* c, const TPropValue& v, TReadContext&) { c->SetTop(int(ReadInteger(v))); });
  prop("Width", [](TWinControl* c, const TPropValue& v, TReadContext&) {
    c->SetWidth(int(ReadInteger(v)));
  });
  prop("Height", [](TWinControl* c, const TPropValue& v, TReadContext&) {
    c->SetHeight(int(ReadInteger(v)));
  });
  prop("Visible",
       [](TWinControl* c, const TPropValue& v, TReadContext&) { c->SetVisible(ReadBool(v)); });
  prop("Enabled",
       [](TWinControl* c, const TPropValue& v, TReadContext&) { c->SetEnabled(ReadBool(v)); });
  prop("Caption", [](TWinControl* c, const TPropValue& v, TReadContext& ctx) {
    c->SetCaption(ReadString(v, ctx));
  });
  prop("Color",
       [](TWinControl* c, const TPropValue& v, TReadContext&) { c->SetColor(ReadColor(v)); });
  prop("Align", [](TWinControl* c, const TPropValue& v, TReadContext&) {
    static const std::pair<const char*, TAlign> names[] = {
        {"alNone", alNone}, {"alTop", alTop},     {"alBottom", alBottom},
        {"alLeft", alLeft}, {"alRight", alRight}, {"alClient", alClient}};
    const std::string s = ReadIdent(v);
    for (const auto& [name, align] : names)
      if (s == name) return c->SetAlign(align);
    throw EReadError("unknown alignment " + s);
  });
  prop("OnClick", [](TWinControl* c, const TPropValue& v, TReadContext& ctx) {
    c->OnClick = ReadEvent<TNotifyEvent>(v, ctx);
  });

  auto& form = RegisterComponentClass("TForm", "TWinControl");
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
    f->Font.Name = ReadString(v, ctx);
  });
  fprop("Font.Height", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    f->Font.Height = int(ReadInteger(v));
  });
  fprop("Font.Charset", [](TCustomForm* f, const TPropValue& v, TReadContext&) {
    if (v.kind == TPropValue::Integer) return void(f->Font.Charset = int(v.integer));
    const std::string s = ReadIdent(v);
    if (s == "GB2312_CHARSET")
      f->Font.Charset = GB2312_CHARSET;
    else if (s == "DEFAULT_CHARSET")
      f->Font.Charset = DEFAULT_CHARSET;
    else if (s == "ANSI_CHARSET")
      f->Font.Charset = ANSI_CHARSET;
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

void RegisterFormsClasses() {
  static const bool done = [] {
    RegisterControlProperties();
    RegisterStdControls();
    RegisterComControls();
    RegisterDialogs();
    RegisterOleControls();
    return true;
  }();
  (void)done;
}
