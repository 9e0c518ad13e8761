// Common controls: the report list view (owner data: rows are asked for when shown)
// and the progress bar.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"

struct TListItem {
  int Index = 0;
  std::string Caption;
  TStringList SubItems;
};
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;

struct TListColumn {
  std::string Caption;
  int Width = 50;
  bool AutoSize = false;  // takes the width the other columns leave
};

class TListView : public TWinControl {
 public:
  explicit TListView(TComponent* owner);

  void SetColumns(std::vector<TListColumn> columns);
  const std::vector<TListColumn>& Columns() const noexcept { return columns_; }
  int ItemCount() const noexcept { return count_; }
  void SetItemCount(int count);
  // The selected row, -1 when none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The row's texts as the list shows them (asks OnData, as drawing does).
  void GetItem(int index, TListItem& item);

  bool GridLines = false;
  bool RowSelect = false;
  TLVOwnerDataEvent OnData;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool CNNotify(NMHDR* header, LRESULT& result) override;
  void Resized() override;

 private:
  void SizeColumns();

  std::vector<TListColumn> columns_;
  int count_ = 0;
  std::wstring text_;  // the text last handed to the control
};

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* owner);
  int Min() const noexcept { return min_; }
  int Max() const noexcept { return max_; }
  void SetMin(int value);
  void SetMax(int value);
  // The position the bar shows (kept inside the range).
  int Position() const;
  void SetPosition(int value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

void RegisterComControls();
