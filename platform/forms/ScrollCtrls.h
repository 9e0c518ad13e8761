// Controls that scroll or divide a view: the memo (several lines of text with scroll
// bars), the scroll bar as a control of its own, and the header control (the sections
// above columns).
#pragma once

#include <string>
#include <vector>

#include "Controls.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* owner);
  // The lines, separated by CR LF.
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }

  // Both read when the window is made.
  TScrollStyle ScrollBars = ssNone;
  bool Bordered = true;  // "BorderStyle": bsSingle, a sunken border; bsNone

 protected:
  void CreateParams(TCreateParams& params) override;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

// Position runs from Min to Max less the page plus one (to Max without a page), as the
// system's scroll bars count; the arrows move it by one, the page areas by the page.
class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const noexcept { return kind_; }
  void SetKind(TScrollBarKind value);
  int Position() const noexcept { return position_; }
  void SetPosition(int value);
  int Min() const noexcept { return min_; }
  int Max() const noexcept { return max_; }
  int PageSize() const noexcept { return page_; }
  // Range and page; the position is kept inside.
  void SetParams(int min, int max, int page);

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int LastPosition() const;
  void Scroll(WORD code);
  void UpdateWindowInfo();

  TScrollBarKind kind_ = sbHorizontal;
  int position_ = 0, min_ = 0, max_ = 100, page_ = 0;
};

struct THeaderSection {
  std::string Text;
  int Width = 50;
};

class THeaderControl : public TWinControl {
 public:
  explicit THeaderControl(TComponent* owner);
  const std::vector<THeaderSection>& Sections() const noexcept { return sections_; }
  void SetSections(std::vector<THeaderSection> sections);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  std::vector<THeaderSection> sections_;
};

void RegisterScrollControls();
