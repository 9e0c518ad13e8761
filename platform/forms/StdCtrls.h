// The standard controls: label, edit, button, drop-down list, group box and panel.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"

// Where a text too long for its label is shortened: nowhere (it wraps), or in its
// middle, keeping what follows the last "\" (a path keeps its file name).
enum TEllipsisPosition { epNone, epPathEllipsis };

class TLabel : public TWinControl {
 public:
  explicit TLabel(TComponent* owner);
  TEllipsisPosition EllipsisPosition = epNone;  // read before the window is made

 protected:
  void CreateParams(TCreateParams& params) override;
  bool CtlColor(HDC dc, HBRUSH& brush) override;
};

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  bool ReadOnly() const noexcept { return readOnly_; }
  void SetReadOnly(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  bool CtlColor(HDC dc, HBRUSH& brush) override;

 private:
  bool readOnly_ = false;
};

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);
  // Enter clicks the default button of a form unless the focus is on another button.
  bool Default() const noexcept { return default_; }
  void SetDefault(bool value);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CNCommand(WORD code) override;

 private:
  bool default_ = false;
};

// A drop-down list with a field to type in, a list always shown under such a field, or a
// fixed list to choose from (no typing).
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);
  TComboBoxStyle Style = csDropDownList;  // read when the window is made
  const std::vector<std::string>& Items() const noexcept { return items_; }
  void SetItems(std::vector<std::string> items);
  // -1 when nothing is chosen.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The chosen item's text, empty when none is chosen; with a field, the field's text.
  std::string Text() const;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CNCommand(WORD code) override;
  int WindowHeight() override { return Style == csSimple ? Height() : Height() + 200; }

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* owner);

 protected:
  void Paint(HDC dc) override;
  RECT DisplayRect() override;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised };

// What panels have in common: a container window of the framework's own class.
class TCustomPanel : public TWinControl {
 public:
  using TWinControl::TWinControl;
};

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* owner);
  TPanelBevel BevelOuter = bvRaised;

 protected:
  void Paint(HDC dc) override;
};

void RegisterStdControls();
