#include "CheckBoxes.h"

#include <algorithm>

namespace {
void EnsureRegistered() {
  static const bool once = (RegisterFormsClasses(), RegisterCheckBoxes(), true);
  (void)once;
}
}  // namespace

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  EnsureRegistered();
}

TCheckBoxState TCheckBox::State() const {
  if (!handle_) return state_;
  const LRESULT check = SendMessageW(handle_, BM_GETCHECK, 0, 0);
  return check == BST_CHECKED ? cbChecked : check == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCheckBox::SetState(TCheckBoxState value) {
  state_ = value;
  if (handle_) SendMessageW(handle_, BM_SETCHECK, WPARAM(value), 0);
}

void TCheckBox::CreateParams(TCreateParams& params) {
  params.ClassName = "BUTTON";
  params.Style = (AllowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX) | WS_TABSTOP |
                 (Alignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(handle_, BM_SETCHECK, WPARAM(state_), 0);
}

void TCheckBox::CNCommand(WORD code) {
  if (code != BN_CLICKED) return;
  state_ = State();
  Click();
}

// ---------------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  EnsureRegistered();
}

bool TRadioButton::Checked() const {
  return handle_ ? SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void TRadioButton::SetChecked(bool value) {
  checked_ = value;
  if (!handle_) return;
  SendMessageW(handle_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  // As a click would: the others of the parent go out.
  if (value && parent_)
    for (std::size_t i = 0; i < parent_->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent_->Controls(i)); other && other != this)
        other->SetChecked(false);
}

void TRadioButton::CreateParams(TCreateParams& params) {
  params.ClassName = "BUTTON";
  params.Style = BS_AUTORADIOBUTTON | WS_TABSTOP;
}

void TRadioButton::CreateWnd() {
  TWinControl::CreateWnd();
  if (checked_) SendMessageW(handle_, BM_SETCHECK, BST_CHECKED, 0);
}

void TRadioButton::CNCommand(WORD code) {
  if (code != BN_CLICKED) return;
  checked_ = Checked();
  Click();
}

// ---------------------------------------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) {
  EnsureRegistered();
}

void TRadioGroup::SetItems(std::vector<std::string> items) {
  for (TRadioButton* b : buttons_) delete b;
  buttons_.clear();
  items_ = std::move(items);
  itemIndex_ = -1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    auto* b = new TRadioButton(this);
    b->SetCaption(items_[i]);
    b->OnClick = [this, i](TObject*) {
      if (!buttons_[i]->Checked()) return;
      itemIndex_ = int(i);
      Click();
    };
    buttons_.push_back(b);
    b->SetParent(this);
  }
  ArrangeButtons();
}

int TRadioGroup::ItemIndex() const {
  return itemIndex_;
}

void TRadioGroup::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && std::size_t(index) < buttons_.size() ? index : -1;
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetChecked(int(i) == itemIndex_);
}

void TRadioGroup::Resized() {
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const RECT r = DisplayRect();
  const int rows = int(buttons_.size());
  const int h = std::max(int(r.bottom - r.top) / rows, 1);
  for (int i = 0; i < rows; ++i)
    buttons_[std::size_t(i)]->SetBounds(r.left + 6, r.top + i * h, int(r.right - r.left) - 8, h);
}

// ---------------------------------------------------------------------------------------

void RegisterCheckBoxes() {
  auto& check = RegisterClassType<TCheckBox>("TCheckBox", "TWinControl",
                                             [](TComponent* o) { return new TCheckBox(o); });
  TPublisher<TCheckBox>(check)
      .Enum(
          "State", {"cbUnchecked", "cbChecked", "cbGrayed"},
          [](TCheckBox* c) { return c->State(); },
          [](TCheckBox* c, long long v) { c->SetState(TCheckBoxState(v)); })
      .Bool(
          "Checked", [](TCheckBox* c) { return c->Checked(); },
          [](TCheckBox* c, bool v) { c->SetChecked(v); })
      .Bool(
          "AllowGrayed", [](TCheckBox* c) { return c->AllowGrayed; },
          [](TCheckBox* c, bool v) { c->AllowGrayed = v; });
  auto& radio = RegisterClassType<TRadioButton>("TRadioButton", "TWinControl",
                                                [](TComponent* o) { return new TRadioButton(o); });
  TPublisher<TRadioButton>(radio).Bool(
      "Checked", [](TRadioButton* r) { return r->Checked(); },
      [](TRadioButton* r, bool v) { r->SetChecked(v); });
  auto& group = RegisterClassType<TRadioGroup>("TRadioGroup", "TGroupBox",
                                               [](TComponent* o) { return new TRadioGroup(o); });
  TPublisher<TRadioGroup>(group).Int(
      "ItemIndex", [](TRadioGroup* g) { return g->ItemIndex(); },
      [](TRadioGroup* g, long long v) { g->SetItemIndex(int(v)); });
}
