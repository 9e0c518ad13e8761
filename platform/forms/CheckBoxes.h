// Check boxes, radio buttons and the radio group: the system's own buttons of those
// kinds, their state kept by the window and mirrored while it has none.
#pragma once

#include <string>
#include <vector>

#include "StdCtrls.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner);

  // A click steps through the three states instead of two (read when the window is made).
  bool AllowGrayed = false;
  // taLeftJustify puts the caption left of the box (read when the window is made).
  TAlignment Alignment = taRightJustify;

  TCheckBoxState State() const;
  void SetState(TCheckBoxState value);
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CNCommand(WORD code) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
};

// One of a group: checking it unchecks the other radio buttons of its parent.
class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const;
  void SetChecked(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CNCommand(WORD code) override;

 private:
  bool checked_ = false;
};

// A group box holding one radio button per item, one above the other.
class TRadioGroup : public TGroupBox {
 public:
  explicit TRadioGroup(TComponent* owner);

  const std::vector<std::string>& Items() const noexcept { return items_; }
  void SetItems(std::vector<std::string> items);
  // The checked item, -1 when none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  TRadioButton* Buttons(std::size_t index) const { return buttons_.at(index); }

 protected:
  void Resized() override;

 private:
  void ArrangeButtons();

  std::vector<std::string> items_;
  std::vector<TRadioButton*> buttons_;  // owned by the group as components
  int itemIndex_ = -1;
};

void RegisterCheckBoxes();
