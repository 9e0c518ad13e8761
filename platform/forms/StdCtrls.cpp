#include "StdCtrls.h"

#include "Forms.h"

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {}

void TLabel::CreateParams(TCreateParams& params) {
  params.ClassName = "STATIC";
  params.Style = SS_LEFT | SS_NOPREFIX | (EllipsisPosition == epPathEllipsis ? SS_PATHELLIPSIS : 0);
}

bool TLabel::CtlColor(HDC dc, HBRUSH& brush) {
  // Labels show their container's colour through.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(EffectiveEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  brush = Parent() ? Parent()->Brush() : Brush();
  return true;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
}

void TEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TEdit::CreateParams(TCreateParams& params) {
  params.ClassName = "EDIT";
  params.Style = ES_AUTOHSCROLL | WS_TABSTOP | (readOnly_ ? ES_READONLY : 0);
  params.ExStyle = WS_EX_CLIENTEDGE;
}

bool TEdit::CtlColor(HDC dc, HBRUSH& brush) {
  // A read-only edit keeps its own colour instead of the system's grey.
  SetBkColor(dc, ColorToRGB(Color()));
  SetTextColor(dc, GetSysColor(EffectiveEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  brush = Brush();
  return true;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {}

void TButton::SetDefault(bool value) {
  default_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGKEY && m.WParam == VK_RETURN && Visible() && EffectiveEnabled()) {
    // Enter belongs to the focused button, else to the default one.
    TWinControl* focused = FindControl(GetFocus());
    if (focused == this || (default_ && !dynamic_cast<TButton*>(focused))) {
      Click();
      m.Result = 1;
      return;
    }
  }
  TWinControl::WndProc(m);
}

void TButton::CreateParams(TCreateParams& params) {
  params.ClassName = "BUTTON";
  params.Style = (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
}

void TButton::CNCommand(WORD code) {
  if (code == BN_CLICKED) Click();
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
  SetBounds(0, 0, 145, 20);
}

void TComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  if (HandleAllocated()) {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& s : items_)
      SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TextToWide(s).c_str()));
  }
}

int TComboBox::ItemIndex() const {
  if (handle_) return int(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TComboBox::SetItemIndex(int index) {
  itemIndex_ = (index >= 0 && std::size_t(index) < items_.size()) ? index : -1;
  if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, WPARAM(itemIndex_), 0);
}

std::string TComboBox::Text() const {
  if (Style != csDropDownList && handle_) return Caption();
  const int i = ItemIndex();
  return (i >= 0 && std::size_t(i) < items_.size()) ? items_[std::size_t(i)] : std::string();
}

void TComboBox::CreateParams(TCreateParams& params) {
  params.ClassName = "COMBOBOX";
  const DWORD kinds[] = {CBS_DROPDOWN | CBS_AUTOHSCROLL, CBS_SIMPLE | CBS_AUTOHSCROLL,
                         CBS_DROPDOWNLIST};
  params.Style = kinds[Style] | WS_VSCROLL | WS_TABSTOP;
}

void TComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  for (const std::string& s : items_)
    SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TextToWide(s).c_str()));
  SendMessageW(handle_, CB_SETCURSEL, WPARAM(itemIndex_), 0);
}

void TComboBox::CNCommand(WORD code) {
  if (code == CBN_SELCHANGE && OnChange) OnChange(this);
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {}

RECT TGroupBox::DisplayRect() {
  RECT r = TWinControl::DisplayRect();
  r.left += 2;
  r.right -= 2;
  r.bottom -= 2;
  r.top += 15;  // below the caption
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void TGroupBox::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  r.top = 6;
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  const std::wstring text = TextToWide(Caption());
  if (text.empty()) return;
  HGDIOBJ old = SelectObject(dc, FontHandle());
  SetBkColor(dc, ColorToRGB(ParentBackground() && Parent() ? Parent()->Color() : Color()));
  SetBkMode(dc, OPAQUE);
  SetTextColor(dc, EffectiveEnabled() ? ColorToRGB(Font()->Color) : GetSysColor(COLOR_GRAYTEXT));
  TextOutW(dc, 8, 0, text.c_str(), int(text.size()));
  SelectObject(dc, old);
}

TPanel::TPanel(TComponent* owner) : TCustomPanel(owner) {}

void TPanel::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  if (BevelOuter == bvRaised) DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
  if (BevelOuter == bvLowered) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  const std::wstring text = TextToWide(Caption());
  if (text.empty()) return;
  HGDIOBJ old = SelectObject(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
}

void RegisterStdControls() {
  auto& label =
      RegisterClassType<TLabel>("TLabel", "TWinControl", [](TComponent* o) { return new TLabel(o); });
  label.Property("EllipsisPosition", [](TComponent* c, const TPropValue& v, TReadContext&) {
    const std::string s = ReadIdent(v);
    if (s != "epNone" && s != "epPathEllipsis") throw EReadError("unknown ellipsis position " + s);
    static_cast<TLabel*>(c)->EllipsisPosition = s == "epNone" ? epNone : epPathEllipsis;
  });
  auto& button = RegisterClassType<TButton>("TButton", "TWinControl",
                                            [](TComponent* o) { return new TButton(o); });
  button.Property("Default", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TButton*>(c)->SetDefault(ReadBool(v));
  });
  TPublisher<TButton>(button).Bool("Default", [](TButton* b) { return b->Default(); });
  RegisterClassType<TGroupBox>("TGroupBox", "TWinControl",
                               [](TComponent* o) { return new TGroupBox(o); });

  auto& edit =
      RegisterClassType<TEdit>("TEdit", "TWinControl", [](TComponent* o) { return new TEdit(o); });
  edit.Property("Text", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<TEdit*>(c)->SetText(ReadString(v, ctx));
  });
  edit.Property("ReadOnly", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TEdit*>(c)->SetReadOnly(ReadBool(v));
  });

  auto& combo = RegisterClassType<TComboBox>("TComboBox", "TWinControl",
                                             [](TComponent* o) { return new TComboBox(o); });
  combo.Property("Items", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<TComboBox*>(c)->SetItems(ReadStrings(v, ctx));
  });
  combo.Property("ItemIndex", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TComboBox*>(c)->SetItemIndex(int(ReadInteger(v)));
  });
  combo.Property("Style", [](TComponent* c, const TPropValue& v, TReadContext&) {
    const std::string s = ReadIdent(v);
    const char* names[] = {"csDropDown", "csSimple", "csDropDownList"};
    for (int i = 0; i < 3; ++i)
      if (s == names[i]) {
        static_cast<TComboBox*>(c)->Style = TComboBoxStyle(i);
        return;
      }
    throw EReadError("unknown combo box style " + s);
  });
  combo.Property("OnChange", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<TComboBox*>(c)->OnChange = ReadEvent<TNotifyEvent>(v, ctx);
  });

  auto& panel = RegisterClassType<TPanel>("TPanel", "TWinControl",
                                          [](TComponent* o) { return new TPanel(o); });
  panel.Property("BevelOuter", [](TComponent* c, const TPropValue& v, TReadContext&) {
    const std::string s = ReadIdent(v);
    auto* p = static_cast<TPanel*>(c);
    if (s == "bvNone")
      p->BevelOuter = bvNone;
    else if (s == "bvLowered")
      p->BevelOuter = bvLowered;
    else if (s == "bvRaised")
      p->BevelOuter = bvRaised;
    else
      throw EReadError("unknown bevel " + s);
  });
}
