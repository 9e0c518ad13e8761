#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
}

void TListView::SetColumns(std::vector<TListColumn> columns) {
  columns_ = std::move(columns);
  if (!HandleAllocated()) return;
  sizing_ = true;
  while (SendMessageW(handle_, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    std::wstring text = TextToWide(columns_[i].Caption);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = text.data();
    col.cx = columns_[i].Width;
    SendMessageW(handle_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
  sizing_ = false;
  SizeColumns();
}

void TListView::SizeColumns() {
  if (!HandleAllocated()) return;
  RECT r;
  GetClientRect(handle_, &r);
  sizedWidth_ = int(r.right);
  int fixed = 0;
  for (const TListColumn& c : columns_)
    if (!c.AutoSize) fixed += c.Width;
  sizing_ = true;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const int w = columns_[i].AutoSize ? std::max(0, sizedWidth_ - fixed) : columns_[i].Width;
    SendMessageW(handle_, LVM_SETCOLUMNWIDTH, i, w);
  }
  sizing_ = false;
}

void TListView::Resized() {
  // Only a change of width is for the columns: the bar that wide columns bring changes the
  // height, in the middle of a divider's drag.
  RECT r;
  GetClientRect(handle_, &r);
  if (int(r.right) != sizedWidth_) SizeColumns();
}

void TListView::KeepUserWidth(const NMHDR& header) {
  if (sizing_ || (header.code != HDN_ITEMCHANGEDW && header.code != HDN_ITEMCHANGEDA)) return;
  const auto& change = reinterpret_cast<const NMHEADERW&>(header);
  if (change.iItem < 0 || std::size_t(change.iItem) >= columns_.size() || !change.pitem ||
      !(change.pitem->mask & HDI_WIDTH))
    return;
  TListColumn& column = columns_[std::size_t(change.iItem)];
  column.Width = change.pitem->cxy;
  column.AutoSize = false;
}

void TListView::WndProc(TMessage& m) {
  if (m.Msg == WM_NOTIFY && HandleAllocated() &&
      reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom ==
          reinterpret_cast<HWND>(SendMessageW(handle_, LVM_GETHEADER, 0, 0)))
    KeepUserWidth(*reinterpret_cast<const NMHDR*>(m.LParam));
  TWinControl::WndProc(m);
}

void TListView::SetItemCount(int count) {
  count_ = std::max(0, count);
  if (HandleAllocated()) SendMessageW(handle_, LVM_SETITEMCOUNT, WPARAM(count_), 0);
}

int TListView::ItemIndex() const {
  if (!handle_) return -1;
  return int(SendMessageW(handle_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void TListView::SetItemIndex(int index) {
  if (!HandleAllocated()) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageW(handle_, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&item));
  if (index < 0 || index >= count_) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(handle_, LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&item));
}

void TListView::GetItem(int index, TListItem& item) {
  item.Index = index;
  item.Caption.clear();
  item.SubItems.Clear();
  if (OnData) OnData(this, &item);
}

void TListView::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_LISTVIEW_CLASSES);
  params.ClassName = WC_LISTVIEWA;
  params.Style = LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
  if (Bordered) params.ExStyle = WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
  TWinControl::CreateWnd();
  DWORD ex = 0;
  if (GridLines) ex |= LVS_EX_GRIDLINES;
  if (RowSelect) ex |= LVS_EX_FULLROWSELECT;
  SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  SetColumns(columns_);
  SendMessageW(handle_, LVM_SETITEMCOUNT, WPARAM(count_), 0);
}

bool TListView::CNNotify(NMHDR* header, LRESULT& result) {
  if (header->code != LVN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
  LVITEMW& lv = info->item;
  result = 0;
  if (!(lv.mask & LVIF_TEXT) || !lv.pszText || lv.cchTextMax <= 0) return true;
  lv.pszText[0] = L'\0';
  if (lv.iItem < 0 || lv.iItem >= count_) return true;
  TListItem item;
  GetItem(lv.iItem, item);
  std::string text;
  if (lv.iSubItem == 0)
    text = item.Caption;
  else if (std::size_t(lv.iSubItem) <= item.SubItems.Count())
    text = item.SubItems[std::size_t(lv.iSubItem) - 1];
  text_ = TextToWide(text);
  lstrcpynW(lv.pszText, text_.c_str(), lv.cchTextMax);
  return true;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {}

void TProgressBar::SetMin(int value) {
  min_ = value;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETRANGE32, WPARAM(min_), LPARAM(max_));
}

void TProgressBar::SetMax(int value) {
  max_ = value;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETRANGE32, WPARAM(min_), LPARAM(max_));
}

int TProgressBar::Position() const {
  if (handle_) return int(SendMessageW(handle_, PBM_GETPOS, 0, 0));
  return std::clamp(position_, std::min(min_, max_), std::max(min_, max_));
}

void TProgressBar::SetPosition(int value) {
  position_ = value;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETPOS, WPARAM(value), 0);
}

void TProgressBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_PROGRESS_CLASS);
  params.ClassName = PROGRESS_CLASSA;
  params.Style = 0;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(handle_, PBM_SETRANGE32, WPARAM(min_), LPARAM(max_));
  SendMessageW(handle_, PBM_SETPOS, WPARAM(position_), 0);
}

// ---------------------------------------------------------------------------------------

void TStatusPanel::Changed() {
  if (auto* panels = dynamic_cast<TStatusPanels*>(Collection()))
    if (auto* bar = dynamic_cast<TStatusBar*>(panels->GetOwner())) bar->UpdatePanels();
}

void TStatusPanel::SetText(const std::string& value) {
  text_ = value;
  Changed();
}
void TStatusPanel::SetWidth(int value) {
  width_ = value;
  Changed();
}
void TStatusPanel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  bevel_ = value;
  Changed();
}
void TStatusPanel::SetStyle(TStatusPanelStyle value) {
  style_ = value;
  Changed();
}
void TStatusPanel::SetBiDiMode(TBiDiMode value) {
  bidi_ = value;
  Changed();
}

TStatusPanels::TStatusPanels(TStatusBar* bar)
    : TOwnedCollection(bar,
                       [](TCollection* c) -> TCollectionItem* { return new TStatusPanel(c); }) {}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(this) {
  SetBounds(0, 0, 200, 19);
}

void TStatusBar::SetSimplePanel(bool value) {
  simplePanel_ = value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& value) {
  simpleText_ = value;
  UpdatePanels();
}

void TStatusBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_BAR_CLASSES);
  params.ClassName = STATUSCLASSNAMEA;
  // The framework places the bar; the bar does not move itself to its parent's bottom.
  params.Style = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (SizeGrip ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdatePanels();
}

void TStatusBar::Resized() {
  UpdatePanels();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  SendMessageW(handle_, SB_SIMPLE, simplePanel_ || panels_.Count() == 0, 0);
  if (simplePanel_ || panels_.Count() == 0) {
    SendMessageW(handle_, SB_SETTEXTW, SB_SIMPLEID,
                 reinterpret_cast<LPARAM>(TextToWide(simpleText_).c_str()));
    return;
  }
  std::vector<int> edges;
  int edge = 0;
  for (std::size_t i = 0; i < panels_.Count(); ++i)
    edges.push_back(edge += panels_.Items(int(i))->Width());
  SendMessageW(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < panels_.Count(); ++i) {
    const TStatusPanel* p = panels_.Items(int(i));
    WPARAM how = i | (p->Bevel() == pbNone     ? SBT_NOBORDERS
                      : p->Bevel() == pbRaised ? SBT_POPOUT
                                               : 0);
    if (p->Style() == psOwnerDraw) {
      SendMessageW(handle_, SB_SETTEXTW, how | SBT_OWNERDRAW, LPARAM(i));
      continue;
    }
    // A tab before the text centres it, two right-align it.
    const wchar_t* align = p->Alignment() == taCenter         ? L"\t"
                           : p->Alignment() == taRightJustify ? L"\t\t"
                                                              : L"";
    SendMessageW(handle_, SB_SETTEXTW, how,
                 reinterpret_cast<LPARAM>((align + TextToWide(p->Text())).c_str()));
  }
}

bool TStatusBar::DrawItem(const DRAWITEMSTRUCT& item) {
  if (!OnDrawPanel || item.itemID >= panels_.Count()) return false;
  DrawPanel(panels_.Items(int(item.itemID)), item.hDC, item.rcItem);
  return true;
}

void TStatusBar::DrawPanel(TStatusPanel* panel, HDC dc, const RECT& rect) {
  if (!OnDrawPanel) return;
  const TCanvasLoan loan(canvas_, dc);
  canvas_.Font.Assign(Font());
  OnDrawPanel(this, panel, rect);
}

void RegisterComControls() {
  auto& bar = RegisterClassType<TStatusBar>("TStatusBar", "TWinControl",
                                            [](TComponent* o) { return new TStatusBar(o); });
  TPublisher<TStatusBar>(bar)
      .Str(
          "SimpleText", [](TStatusBar* b) { return b->SimpleText(); },
          [](TStatusBar* b, const std::string& v) { b->SetSimpleText(v); })
      .Bool(
          "SimplePanel", [](TStatusBar* b) { return b->SimplePanel(); },
          [](TStatusBar* b, bool v) { b->SetSimplePanel(v); })
      .Bool("SizeGrip", [](TStatusBar* b) { return b->SizeGrip; });
  TPublisher<TStatusPanel>(RegisterClassType<TStatusPanel>("TStatusPanel", ""))
      .Str(
          "Text", [](TStatusPanel* p) { return p->Text(); },
          [](TStatusPanel* p, const std::string& v) { p->SetText(v); })
      .Int(
          "Width", [](TStatusPanel* p) { return p->Width(); },
          [](TStatusPanel* p, long long v) { p->SetWidth(int(v)); });

  auto& lv = RegisterClassType<TListView>("TListView", "TWinControl",
                                          [](TComponent* o) { return new TListView(o); });
  lv.Property("Columns", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    // Each column is a caption followed by its width; width 0 fills what the others leave.
    auto* view = static_cast<TListView*>(c);
    if (v.kind != TPropValue::List || v.items.size() % 2 != 0)
      throw EReadError("expected [caption width ...]");
    std::vector<TListColumn> columns;
    for (std::size_t i = 0; i < v.items.size(); i += 2) {
      TListColumn col;
      col.Caption = ReadString(v.items[i], ctx);
      col.Width = int(ReadInteger(v.items[i + 1]));
      col.AutoSize = col.Width == 0;
      columns.push_back(col);
    }
    view->SetColumns(std::move(columns));
  });
  lv.Property("GridLines", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TListView*>(c)->GridLines = ReadBool(v);
  });
  lv.Property("RowSelect", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TListView*>(c)->RowSelect = ReadBool(v);
  });
  lv.Property("BorderStyle", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TListView*>(c)->Bordered = ReadIdent(v) == "bsSingle";
  });
  TPublisher<TListView>(lv).Enum(
      "BorderStyle", {"bsNone", "bsSingle"}, [](TListView* l) -> long long { return l->Bordered; },
      [](TListView* l, long long v) { l->Bordered = v != 0; });
  // The list is always a read-only, owner-data report; these say so.
  for (const char* fixed : {"OwnerData", "ReadOnly", "ViewStyle"})
    lv.Property(fixed, [](TComponent*, const TPropValue&, TReadContext&) {});
  lv.Property("OnData", [](TComponent* c, const TPropValue& v, TReadContext& ctx) {
    static_cast<TListView*>(c)->OnData = ReadEvent<TLVOwnerDataEvent>(v, ctx);
  });

  auto& pb = RegisterClassType<TProgressBar>("TProgressBar", "TWinControl",
                                             [](TComponent* o) { return new TProgressBar(o); });
  pb.Property("Min", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TProgressBar*>(c)->SetMin(int(ReadInteger(v)));
  });
  pb.Property("Max", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TProgressBar*>(c)->SetMax(int(ReadInteger(v)));
  });
  pb.Property("Position", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TProgressBar*>(c)->SetPosition(int(ReadInteger(v)));
  });
}
