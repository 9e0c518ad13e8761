// Common controls: the report list view (owner data: rows are asked for when shown),
// the progress bar and the status bar.
#pragma once

#include <string>
#include <vector>

#include "Collections.h"
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
  // A sunken border ("BorderStyle" bsSingle); none by default. Read when the window is made.
  bool Bordered = false;
  TLVOwnerDataEvent OnData;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool CNNotify(NMHDR* header, LRESULT& result) override;
  void Resized() override;
  void WndProc(TMessage& message) override;

 private:
  void SizeColumns();
  // A width the user gave a column (dragging a divider) is kept from then on.
  void KeepUserWidth(const NMHDR& header);

  std::vector<TListColumn> columns_;
  int count_ = 0;
  int sizedWidth_ = -1;  // the client width the columns were last sized for
  bool sizing_ = false;  // the widths changing now are the list's own
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

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

// One part of a status bar: its text, width and look. A change shows at once.
class TStatusPanel : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;

  const std::string& Text() const noexcept { return text_; }
  void SetText(const std::string& value);
  int Width() const noexcept { return width_; }
  void SetWidth(int value);
  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel Bevel() const noexcept { return bevel_; }
  void SetBevel(TStatusPanelBevel value);
  TStatusPanelStyle Style() const noexcept { return style_; }
  void SetStyle(TStatusPanelStyle value);
  TBiDiMode BiDiMode() const noexcept { return bidi_; }
  void SetBiDiMode(TBiDiMode value);

 private:
  void Changed();

  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TStatusPanelStyle style_ = psText;
  TBiDiMode bidi_ = bdLeftToRight;
};

class TStatusPanels : public TOwnedCollection {
 public:
  explicit TStatusPanels(TStatusBar* bar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int index) const {
    return static_cast<TStatusPanel*>(TCollection::Items(index));
  }
};

using TDrawPanelEvent =
    std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const RECT& Rect)>;

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* owner);

  TStatusPanels& Panels() noexcept { return panels_; }
  // One text over the whole bar instead of the panels.
  bool SimplePanel() const noexcept { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const noexcept { return simpleText_; }
  void SetSimpleText(const std::string& value);
  bool SizeGrip = true;  // read when the window is made
  // Draws the owner-drawn panels, on Canvas.
  TDrawPanelEvent OnDrawPanel;
  TCanvas* Canvas() noexcept { return &canvas_; }

  // Hands the panels to the window.
  void UpdatePanels();
  // Runs OnDrawPanel for the panel with Canvas drawing on dc.
  void DrawPanel(TStatusPanel* panel, HDC dc, const RECT& rect);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;
  void Resized() override;

 private:
  TStatusPanels panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
  TCanvas canvas_;
};

void RegisterComControls();
