// The tab set: tabs that hang below a line, drawn by the control itself, with a pair of
// scroll arrows at the right when they do not all fit.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"

class TTabSet;

// The tab set's scroll arrows (the system's horizontal up-down).
class TTabScroller : public TWinControl {
 public:
  explicit TTabScroller(TTabSet* tabSet);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TTabSet* tabSet_;
};

class TTabSet : public TWinControl {
 public:
  // Its first component is its scroller.
  explicit TTabSet(TComponent* owner);

  const std::vector<std::string>& Tabs() const noexcept { return tabs_; }
  void SetTabs(std::vector<std::string> tabs);
  int TabIndex() const noexcept { return tabIndex_; }
  void SetTabIndex(int index);
  // The first tab shown.
  int FirstIndex() const noexcept { return firstIndex_; }
  void SetFirstIndex(int index);
  // Room left free before the first tab and after the last.
  int StartMargin = 5;
  int EndMargin = 15;
  TTabScroller* Scroller() const noexcept { return scroller_; }
  // Measures the tabs' captions in the control's font.
  TCanvas* Canvas() noexcept { return &canvas_; }

  // The left and right edge of each tab shown, from FirstIndex; a tab not shown is
  // (0, 0).
  std::vector<std::pair<int, int>> TabSpans();

  // After the user chose another tab.
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void Paint(HDC dc) override;
  void Resized() override;
  void CreateWnd() override;

 private:
  void UpdateScroller();

  std::vector<std::string> tabs_;
  int tabIndex_ = -1;
  int firstIndex_ = 0;
  TTabScroller* scroller_;
  TCanvas canvas_;
};

void RegisterTabSet();
