// Tab controls on the system's tab control: a row of tabs alone (TTabControl), or one
// tab per page with the chosen page shown below (TPageControl with its TTabSheets).
#pragma once

#include <string>
#include <vector>

#include "Controls.h"
#include "ImgList.h"

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };

class TCustomTabControl : public TWinControl {
 public:
  explicit TCustomTabControl(TComponent* owner);

  // Read when the window is made. Tabs at the left or right come in several rows.
  TTabPosition TabPosition = tpTop;
  TTabStyle Style = tsTabs;
  bool MultiLine = false;
  // Tab i shows image i of the list.
  TImageList* Images = nullptr;

  // The chosen tab, -1 when none.
  int TabIndex() const;
  void SetTabIndex(int index);
  // After the user chose another tab.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool CNNotify(NMHDR* header, LRESULT& result) override;
  RECT DisplayRect() override;
  // The tabs' captions, in order.
  virtual std::vector<std::string> TabCaptions() const = 0;
  // The chosen tab changed (by the user or the program).
  virtual void TabChanged() {}
  // Gives the window the captions again.
  void UpdateTabs();

  int tabIndex_ = -1;
};

class TTabControl : public TCustomTabControl {
 public:
  using TCustomTabControl::TCustomTabControl;
  const std::vector<std::string>& Tabs() const noexcept { return tabs_; }
  void SetTabs(std::vector<std::string> tabs);

 protected:
  std::vector<std::string> TabCaptions() const override { return tabs_; }

 private:
  std::vector<std::string> tabs_;
};

class TPageControl;

// A page: its caption is its tab's, and it is shown while its tab is chosen.
class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const noexcept { return pageControl_; }
  void SetPageControl(TPageControl* value);
  void SetCaption(const std::string& text) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
 public:
  using TCustomTabControl::TCustomTabControl;
  ~TPageControl() override;
  std::size_t PageCount() const noexcept { return pages_.size(); }
  TTabSheet* Pages(std::size_t index) const { return pages_.at(index); }
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);

 protected:
  std::vector<std::string> TabCaptions() const override;
  void TabChanged() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);

  std::vector<TTabSheet*> pages_;
};

void RegisterTabControls();
