#include "TabControls.h"

#include <commctrl.h>

#include <algorithm>

namespace {
void EnsureRegistered() {
  static const bool once = [] {
    InitCommonControlClasses(ICC_TAB_CLASSES);
    RegisterFormsClasses();
    RegisterTabControls();
    return true;
  }();
  (void)once;
}
}  // namespace

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  EnsureRegistered();
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.ClassName = WC_TABCONTROLA;
  params.Style |= WS_TABSTOP;
  if (MultiLine) params.Style |= TCS_MULTILINE;
  // The system draws tabs at a side only in rows of their own.
  if (TabPosition == tpBottom) params.Style |= TCS_BOTTOM;
  if (TabPosition == tpLeft) params.Style |= TCS_VERTICAL | TCS_MULTILINE;
  if (TabPosition == tpRight) params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
  if (Style != tsTabs) params.Style |= TCS_BUTTONS;
  if (Style == tsFlatButtons) params.Style |= TCS_FLATBUTTONS;
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateTabs();
}

void TCustomTabControl::UpdateTabs() {
  if (!handle_) return;
  SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
  SendMessageW(handle_, TCM_SETIMAGELIST, 0,
               reinterpret_cast<LPARAM>(Images ? Images->Handle() : nullptr));
  const std::vector<std::string> captions = TabCaptions();
  for (std::size_t i = 0; i < captions.size(); ++i) {
    std::wstring text = TextToWide(captions[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = Images ? int(i) : -1;
    SendMessageW(handle_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  if (tabIndex_ >= int(captions.size())) tabIndex_ = int(captions.size()) - 1;
  SendMessageW(handle_, TCM_SETCURSEL, WPARAM(tabIndex_), 0);
  AlignControls();
}

int TCustomTabControl::TabIndex() const {
  return handle_ ? int(SendMessageW(handle_, TCM_GETCURSEL, 0, 0)) : tabIndex_;
}

void TCustomTabControl::SetTabIndex(int index) {
  tabIndex_ = std::max(index, -1);
  if (handle_) SendMessageW(handle_, TCM_SETCURSEL, WPARAM(tabIndex_), 0);
  TabChanged();
}

bool TCustomTabControl::CNNotify(NMHDR* header, LRESULT& result) {
  if (header->code != TCN_SELCHANGE) return false;
  tabIndex_ = TabIndex();
  TabChanged();
  if (OnChange) OnChange(this);
  result = 0;
  return true;
}

RECT TCustomTabControl::DisplayRect() {
  RECT r = TWinControl::DisplayRect();
  if (handle_) SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

// ---------------------------------------------------------------------------------------

void TTabControl::SetTabs(std::vector<std::string> tabs) {
  tabs_ = std::move(tabs);
  if (tabIndex_ < 0 && !tabs_.empty()) tabIndex_ = 0;
  UpdateTabs();
}

// ---------------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  EnsureRegistered();
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
  if (value == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = value;
  SetAlign(alClient);
  SetParent(value);
  if (value) value->InsertPage(this);
}

void TTabSheet::SetCaption(const std::string& text) {
  TWinControl::SetCaption(text);
  if (pageControl_) pageControl_->UpdateTabs();
}

// ---------------------------------------------------------------------------------------

TPageControl::~TPageControl() {
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
}

std::vector<std::string> TPageControl::TabCaptions() const {
  std::vector<std::string> captions;
  for (TTabSheet* page : pages_) captions.push_back(page->Caption());
  return captions;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  if (tabIndex_ < 0) tabIndex_ = 0;
  UpdateTabs();
  TabChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
  std::erase(pages_, page);
  UpdateTabs();
  TabChanged();
}

TTabSheet* TPageControl::ActivePage() const {
  const int i = TabIndex();
  return i >= 0 && std::size_t(i) < pages_.size() ? pages_[std::size_t(i)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  SetTabIndex(it == pages_.end() ? -1 : int(it - pages_.begin()));
}

void TPageControl::TabChanged() {
  const TTabSheet* active = ActivePage();
  for (TTabSheet* page : pages_) page->SetVisible(page == active);
}

// ---------------------------------------------------------------------------------------

void RegisterTabControls() {
  auto& tabs = RegisterClassType<TCustomTabControl>("TCustomTabControl", "TWinControl");
  TPublisher<TCustomTabControl>(tabs)
      .Int(
          "TabIndex", [](TCustomTabControl* t) { return t->TabIndex(); },
          [](TCustomTabControl* t, long long v) { t->SetTabIndex(int(v)); })
      .Enum("TabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"},
            [](TCustomTabControl* t) { return t->TabPosition; })
      .Enum("Style", {"tsTabs", "tsButtons", "tsFlatButtons"},
            [](TCustomTabControl* t) { return t->Style; })
      .Bool("MultiLine", [](TCustomTabControl* t) { return t->MultiLine; })
      .Obj("Images", [](TCustomTabControl* t) { return t->Images; });
  RegisterClassType<TTabControl>("TTabControl", "TCustomTabControl",
                                 [](TComponent* o) { return new TTabControl(o); });
  RegisterClassType<TPageControl>("TPageControl", "TCustomTabControl",
                                  [](TComponent* o) { return new TPageControl(o); });
  RegisterClassType<TTabSheet>("TTabSheet", "TWinControl",
                               [](TComponent* o) { return new TTabSheet(o); });
}
