#include "ScrollCtrls.h"

#include <commctrl.h>

#include <algorithm>

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
}

void TMemo::CreateParams(TCreateParams& params) {
  params.ClassName = "EDIT";
  params.Style = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP;
  // Without a horizontal bar long lines wrap.
  if (ScrollBars == ssHorizontal || ScrollBars == ssBoth)
    params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (ScrollBars == ssVertical || ScrollBars == ssBoth) params.Style |= WS_VSCROLL;
  if (Bordered) params.ExStyle = WS_EX_CLIENTEDGE;
}

// ---------------------------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  RecreateWnd();
}

int TScrollBar::LastPosition() const {
  return page_ > 0 ? std::max(min_, max_ - page_ + 1) : max_;
}

void TScrollBar::SetPosition(int value) {
  value = std::clamp(value, min_, LastPosition());
  if (value == position_) return;
  position_ = value;
  UpdateWindowInfo();
}

void TScrollBar::SetParams(int min, int max, int page) {
  min_ = min;
  max_ = std::max(min, max);
  page_ = std::clamp(page, 0, max_ - min_ + 1);
  position_ = std::clamp(position_, min_, LastPosition());
  UpdateWindowInfo();
}

void TScrollBar::UpdateWindowInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{sizeof info, SIF_ALL, min_, max_, UINT(page_), position_, 0};
  SetScrollInfo(handle_, SB_CTL, &info, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  params.ClassName = "SCROLLBAR";
  params.Style = (kind_ == sbVertical ? SBS_VERT : SBS_HORZ) | WS_TABSTOP;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindowInfo();
}

void TScrollBar::Scroll(WORD code) {
  int to = position_;
  const int page = std::max(page_, 1);
  switch (code) {
    case SB_LINEUP:
      --to;
      break;
    case SB_LINEDOWN:
      ++to;
      break;
    case SB_PAGEUP:
      to -= page;
      break;
    case SB_PAGEDOWN:
      to += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      if (GetScrollInfo(handle_, SB_CTL, &info)) to = info.nTrackPos;
      break;
    }
    case SB_TOP:
      to = min_;
      break;
    case SB_BOTTOM:
      to = max_;
      break;
    default:
      return;
  }
  SetPosition(to);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    Scroll(LOWORD(m.WParam));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 200, 17);
}

void THeaderControl::SetSections(std::vector<THeaderSection> sections) {
  sections_ = std::move(sections);
  if (!HandleAllocated()) return;
  while (SendMessageW(handle_, HDM_DELETEITEM, 0, 0)) {
  }
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    std::wstring text = TextToWide(sections_[i].Text);
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = text.data();
    item.cxy = sections_[i].Width;
    item.fmt = HDF_LEFT | HDF_STRING;
    SendMessageW(handle_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_LISTVIEW_CLASSES);
  params.ClassName = WC_HEADERA;
  params.Style = HDS_HORZ | HDS_BUTTONS;
}

void THeaderControl::CreateWnd() {
  TWinControl::CreateWnd();
  SetSections(sections_);
}

// ---------------------------------------------------------------------------------------

void RegisterScrollControls() {
  auto& memo =
      RegisterClassType<TMemo>("TMemo", "TWinControl", [](TComponent* o) { return new TMemo(o); });
  TPublisher<TMemo>(memo)
      .Enum(
          "BorderStyle", {"bsNone", "bsSingle"}, [](TMemo* m) -> long long { return m->Bordered; },
          [](TMemo* m, long long v) { m->Bordered = v != 0; })
      .Enum(
          "ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
          [](TMemo* m) -> long long { return m->ScrollBars; },
          [](TMemo* m, long long v) { m->ScrollBars = TScrollStyle(v); });

  auto& bar = RegisterClassType<TScrollBar>("TScrollBar", "TWinControl",
                                            [](TComponent* o) { return new TScrollBar(o); });
  TPublisher<TScrollBar>(bar)
      .Enum(
          "Kind", {"sbHorizontal", "sbVertical"},
          [](TScrollBar* b) -> long long { return b->Kind(); },
          [](TScrollBar* b, long long v) { b->SetKind(TScrollBarKind(v)); })
      .Int(
          "Position", [](TScrollBar* b) { return b->Position(); },
          [](TScrollBar* b, long long v) { b->SetPosition(int(v)); })
      .Int(
          "Min", [](TScrollBar* b) { return b->Min(); },
          [](TScrollBar* b, long long v) { b->SetParams(int(v), b->Max(), b->PageSize()); })
      .Int(
          "Max", [](TScrollBar* b) { return b->Max(); },
          [](TScrollBar* b, long long v) { b->SetParams(b->Min(), int(v), b->PageSize()); })
      .Int(
          "PageSize", [](TScrollBar* b) { return b->PageSize(); },
          [](TScrollBar* b, long long v) { b->SetParams(b->Min(), b->Max(), int(v)); });

  RegisterClassType<THeaderControl>("THeaderControl", "TWinControl",
                                    [](TComponent* o) { return new THeaderControl(o); });
}
