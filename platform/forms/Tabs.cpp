#include "Tabs.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {
void EnsureRegistered() {
  static const bool once = [] {
    InitCommonControlClasses(ICC_UPDOWN_CLASS);
    RegisterFormsClasses();
    RegisterTabSet();
    return true;
  }();
  (void)once;
}

constexpr int kScrollerWidth = 24;
// Room kept for the arrows while they show.
constexpr int kScrollerRoom = 12;
}  // namespace

TTabScroller::TTabScroller(TTabSet* tabSet) : TWinControl(tabSet), tabSet_(tabSet) {}

void TTabScroller::CreateParams(TCreateParams& params) {
  params.ClassName = UPDOWN_CLASSA;
  params.Style = UDS_HORZ;
}

void TTabScroller::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL) {
    if (LOWORD(m.WParam) == SB_THUMBPOSITION) tabSet_->SetFirstIndex(short(HIWORD(m.WParam)));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner) {
  EnsureRegistered();
  scroller_ = new TTabScroller(this);
  scroller_->SetVisible(false);
  scroller_->SetParent(this);
}

void TTabSet::SetTabs(std::vector<std::string> tabs) {
  tabs_ = std::move(tabs);
  tabIndex_ = tabs_.empty() ? -1 : 0;
  firstIndex_ = 0;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetTabIndex(int index) {
  tabIndex_ = index >= 0 && std::size_t(index) < tabs_.size() ? index : -1;
  Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
  firstIndex_ = std::clamp(index, 0, std::max(int(tabs_.size()) - 1, 0));
  UpdateScroller();
  Invalidate();
}

std::vector<std::pair<int, int>> TTabSet::TabSpans() {
  std::vector<std::pair<int, int>> spans(tabs_.size());
  if (!HandleAllocated()) return spans;
  canvas_.Font.Assign(Font());
  HDC dc = GetDC(handle_);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  std::vector<int> widths;
  for (const std::string& t : tabs_) {
    const std::wstring text = TextToWide(t);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    widths.push_back(int(size.cx) + 9);
  }
  SelectObject(dc, old);
  ReleaseDC(handle_, dc);
  // Tabs follow each other from the first shown until one does not fit.
  const auto lay = [&](int reserve) {
    int x = StartMargin;
    bool all = true;
    for (std::size_t i = std::size_t(firstIndex_); i < tabs_.size(); ++i) {
      if (x + widths[i] + reserve > Width() - EndMargin) {
        all = false;
        break;
      }
      spans[i] = {x, x + widths[i]};
      x += widths[i];
    }
    return all;
  };
  if (!lay(0) || firstIndex_ > 0) {
    std::fill(spans.begin(), spans.end(), std::pair{0, 0});
    lay(kScrollerRoom);
  }
  return spans;
}

void TTabSet::UpdateScroller() {
  if (!HandleAllocated()) return;
  const std::vector<std::pair<int, int>> spans = TabSpans();
  const bool all = std::all_of(
      spans.begin() + std::min<std::ptrdiff_t>(firstIndex_, std::ptrdiff_t(spans.size())),
      spans.end(), [](auto s) { return s.second > 0; });
  scroller_->SetBounds(Width() - kScrollerWidth, 0, kScrollerWidth, std::min(Height(), 16));
  HWND updown = scroller_->Handle();
  SendMessageW(updown, UDM_SETRANGE32, 0, std::max(int(tabs_.size()) - 1, 0));
  SendMessageW(updown, UDM_SETPOS32, 0, firstIndex_);
  scroller_->SetVisible(!all || firstIndex_ > 0);
}

void TTabSet::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScroller();
}

void TTabSet::Resized() {
  UpdateScroller();
}

void TTabSet::Paint(HDC dc) {
  const std::vector<std::pair<int, int>> spans = TabSpans();
  HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, Width(), 0);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color));
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const auto [left, right] = spans[i];
    if (right == 0) continue;
    RECT r{left, int(i) == tabIndex_ ? 0 : 1, right, Height() - 2};
    FillRect(dc, &r, GetSysColorBrush(int(i) == tabIndex_ ? COLOR_WINDOW : COLOR_BTNFACE));
    const POINT edge[] = {{left, 1}, {left, r.bottom}, {right, r.bottom}, {right, 0}};
    Polyline(dc, edge, 4);
    const std::wstring text = TextToWide(tabs_[i]);
    DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
}

void TTabSet::WndProc(TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN) {
    const int x = GET_X_LPARAM(m.LParam);
    const std::vector<std::pair<int, int>> spans = TabSpans();
    for (std::size_t i = 0; i < spans.size(); ++i)
      if (spans[i].second > 0 && x >= spans[i].first && x < spans[i].second &&
          int(i) != tabIndex_) {
        SetTabIndex(int(i));
        if (OnChange) OnChange(this);
        break;
      }
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------

void RegisterTabSet() {
  auto& info = RegisterClassType<TTabSet>("TTabSet", "TWinControl",
                                          [](TComponent* o) { return new TTabSet(o); });
  TPublisher<TTabSet>(info)
      .Int(
          "TabIndex", [](TTabSet* t) { return t->TabIndex(); },
          [](TTabSet* t, long long v) { t->SetTabIndex(int(v)); })
      .Int("StartMargin", [](TTabSet* t) { return t->StartMargin; })
      .Int("EndMargin", [](TTabSet* t) { return t->EndMargin; })
      .Int("FirstIndex", [](TTabSet* t) { return t->FirstIndex(); });
}
