#include "ToolBar.h"

#include <commctrl.h>

namespace {
// Button commands count from here (the button's index added).
constexpr int kFirstButton = 100;
}  // namespace

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetAlign(alTop);
  SetHeight(26);
}

void TToolBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_BAR_CLASSES);
  params.ClassName = TOOLBARCLASSNAMEA;
  params.Style = CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_LIST | (flat_ ? TBSTYLE_FLAT : 0);
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  for (int i = 0; i < ButtonCount(); ++i) InsertButton(i);
}

void TToolBar::SetFlat(bool value) {
  if (flat_ == value) return;
  flat_ = value;
  if (!HandleAllocated()) return;
  const LRESULT style = SendMessageA(handle_, TB_GETSTYLE, 0, 0);
  SendMessageA(handle_, TB_SETSTYLE, 0, value ? style | TBSTYLE_FLAT : style & ~TBSTYLE_FLAT);
  InvalidateRect(handle_, nullptr, TRUE);
}

void TToolBar::AddButton(const std::string& caption) {
  buttons_.push_back(caption);
  if (HandleAllocated()) InsertButton(ButtonCount() - 1);
}

void TToolBar::InsertButton(int index) {
  TBBUTTON button{};
  button.iBitmap = I_IMAGENONE;
  button.idCommand = kFirstButton + index;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
  button.iString = reinterpret_cast<INT_PTR>(buttons_[std::size_t(index)].c_str());
  SendMessageA(handle_, TB_INSERTBUTTONA, WPARAM(index), reinterpret_cast<LPARAM>(&button));
}

bool TToolBar::CNNotify(NMHDR* header, LRESULT& result) {
  if (header->code == NM_CLICK) {
    const auto* mouse = reinterpret_cast<NMMOUSE*>(header);
    const int index = int(mouse->dwItemSpec) - kFirstButton;
    if (index >= 0 && index < ButtonCount() && OnButtonClick) OnButtonClick(this, index);
    return false;
  }
  if (header->code != NM_CUSTOMDRAW) return false;
  auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
  bool defaultDraw = true;
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      if (OnCustomDraw) OnCustomDraw(this, draw->nmcd.hdc, draw->nmcd.rc, defaultDraw);
      // The buttons are offered one by one whether or not the background was drawn.
      result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT: {
      if (!OnCustomDrawButton) return false;
      const UINT s = draw->nmcd.uItemState;
      const unsigned state = (s & CDIS_SELECTED ? tbsSelected : 0u) | (s & CDIS_HOT ? tbsHot : 0u) |
                             (s & CDIS_FOCUS ? tbsFocused : 0u) | (s & CDIS_DEFAULT ? tbsDefault : 0u) |
                             (s & CDIS_GRAYED ? tbsGrayed : 0u) | (s & CDIS_DISABLED ? tbsDisabled : 0u);
      OnCustomDrawButton(this, draw->nmcd.hdc, int(draw->nmcd.dwItemSpec) - kFirstButton, draw->nmcd.rc, state,
                         defaultDraw);
      result = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
      return true;
    }
    default:
      return false;
  }
}
