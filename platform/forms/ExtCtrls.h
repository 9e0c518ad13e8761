// The framework's window timer.
#pragma once

#include <memory>

#include "Classes.h"
#include "UtilWindow.h"

class TTimer : public TComponent {
 public:
  // Enabled, 1000 ms. The timer's messages arrive on the creating thread.
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const noexcept { return interval_; }
  void SetInterval(unsigned value);

  TNotifyEvent OnTimer;

 private:
  void UpdateTimer();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  TUtilWindow window_;
};
