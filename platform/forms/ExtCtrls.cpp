#include "ExtCtrls.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), window_([this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_TIMER) return false;
        if (enabled_ && OnTimer) OnTimer(this);
        result = 0;
        return true;
      }) {
  UpdateTimer();
}

TTimer::~TTimer() { KillTimer(window_.Handle(), kTimerId); }

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(window_.Handle(), kTimerId);
  if (enabled_ && interval_ > 0) SetTimer(window_.Handle(), kTimerId, interval_, nullptr);
}
