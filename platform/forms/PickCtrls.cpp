#include "PickCtrls.h"

#include <commctrl.h>

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 45);
}

void TTrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (!handle_) return;
  SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, max_);
}

int TTrackBar::Position() const {
  return handle_ ? int(SendMessageW(handle_, TBM_GETPOS, 0, 0)) : position_;
}

void TTrackBar::SetPosition(int value) {
  position_ = value;
  if (handle_) SendMessageW(handle_, TBM_SETPOS, TRUE, value);
}

void TTrackBar::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_BAR_CLASSES);
  params.ClassName = TRACKBAR_CLASSA;
  params.Style = (Orientation == trVertical ? TBS_VERT : TBS_HORZ) |
                 (TickStyle == tsAuto ? TBS_AUTOTICKS : TBS_NOTICKS) | WS_TABSTOP;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  SetRange(min_, max_);
  SetPosition(position_);
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_UPDOWN_CLASS);
  params.ClassName = UPDOWN_CLASSA;
  params.Style = Orientation == udHorizontal ? UDS_HORZ : 0;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
  SetBounds(0, 0, 186, 21);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  InitCommonControlClasses(ICC_DATE_CLASSES);
  params.ClassName = DATETIMEPICK_CLASSA;
  params.Style = (DateMode == dmUpDown ? DTS_UPDOWN : 0) | WS_TABSTOP;
  params.ExStyle = WS_EX_CLIENTEDGE;
}
