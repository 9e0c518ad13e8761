// A tool bar of text buttons whose look its host may draw: the bar's background and each
// button are offered to custom-draw events before the system draws them.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"

class TToolBar;

// A button's state as the custom-draw events see it.
enum TToolButtonState : unsigned {
  tbsSelected = 1u << 0,
  tbsHot = 1u << 1,
  tbsFocused = 1u << 2,
  tbsDefault = 1u << 3,
  tbsGrayed = 1u << 4,
  tbsDisabled = 1u << 5,
};

// The bar's background: DefaultDraw false leaves it as the event drew it.
using TTBCustomDrawEvent = std::function<void(TToolBar* Sender, HDC DC, const RECT& Rect, bool& DefaultDraw)>;
// One button (its index, rectangle and state): DefaultDraw false means the event drew it.
using TTBCustomDrawButtonEvent = std::function<void(TToolBar* Sender, HDC DC, int Button, const RECT& Rect,
                                                    unsigned State, bool& DefaultDraw)>;

class TToolBar : public TWinControl {
 public:
  explicit TToolBar(TComponent* owner);

  // Adds a text button; OnClick hears which.
  void AddButton(const std::string& caption);
  int ButtonCount() const noexcept { return int(buttons_.size()); }
  const std::string& ButtonCaption(int index) const { return buttons_.at(std::size_t(index)); }
  // Buttons without a raised edge until the mouse is over them; takes effect at once.
  bool Flat() const noexcept { return flat_; }
  void SetFlat(bool value);

  TTBCustomDrawEvent OnCustomDraw;
  TTBCustomDrawButtonEvent OnCustomDrawButton;
  std::function<void(TToolBar* Sender, int Button)> OnButtonClick;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool CNNotify(NMHDR* header, LRESULT& result) override;

 private:
  void InsertButton(int index);
  std::vector<std::string> buttons_;
  bool flat_ = false;
};
