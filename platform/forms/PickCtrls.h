// Common controls that pick a value: the track bar (a number in a range), the up-down
// (arrows that step one) and the date-time picker.
#pragma once

#include "Controls.h"

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto };

class TTrackBar : public TWinControl {
 public:
  explicit TTrackBar(TComponent* owner);
  // Read when the window is made.
  TTrackBarOrientation Orientation = trHorizontal;
  TTickStyle TickStyle = tsAuto;

  int Min() const noexcept { return min_; }
  int Max() const noexcept { return max_; }
  void SetRange(int min, int max);
  // Where the thumb is (the user moves it).
  int Position() const;
  void SetPosition(int value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int min_ = 0, max_ = 10, position_ = 0;
};

enum TUDOrientation { udVertical, udHorizontal };

class TUpDown : public TWinControl {
 public:
  explicit TUpDown(TComponent* owner);
  TUDOrientation Orientation = udVertical;  // read when the window is made

 protected:
  void CreateParams(TCreateParams& params) override;
};

// A date in a field with a drop-down calendar, or with up-down arrows.
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TWinControl {
 public:
  explicit TDateTimePicker(TComponent* owner);
  TDTDateMode DateMode = dmComboBox;  // read when the window is made

 protected:
  void CreateParams(TCreateParams& params) override;
};
