#include "SkinEditLayout.h"

int ComboFrame(const TComboState& s) {
  if (!s.Enabled) return 3;
  return s.Pressed ? 2 : s.Focused || s.Hot ? 4 : 1;
}

int FlatComboFrame(const TComboState& s) {
  return s.Pressed ? 2 : s.Focused || s.Hot ? 4 : s.Enabled ? 1 : 3;
}

TComboLayout ComboLayout(const TSkinRect& R, int f, bool Left) {
  if (Left)
    return {{R.Left + f + 4, R.Top + 2, R.Right - 2, R.Bottom - 2},
            {R.Left, R.Top, R.Left + f + 2, R.Bottom},
            {2, R.Top, f + 2, R.Bottom}};
  const TSkinRect button{R.Right - f - 2, R.Top, R.Right, R.Bottom};
  return {{R.Left + 2, R.Top + 2, R.Right - f - 4, R.Bottom - 2},
          button,
          {button.Left, R.Top, R.Right - 2, R.Bottom}};
}

TFlatComboLayout FlatComboLayout(const TSkinRect& R, int w, int h, int t, bool Left) {
  const TSkinRect I{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
  TFlatComboLayout l{I, I, I};
  if (Left) {
    l.Strip.Right = I.Left + t;
    l.Button.Right = I.Left + w;
  } else {
    l.Strip.Left = I.Right - t;
    l.Button.Left = I.Right - w;
  }
  if (h < t) l.Button.Bottom = l.Button.Top + h;
  return l;
}

TSkinRect ArrowButtonBounds(int PickerWidth, int Size, bool Left) {
  const int left = Left ? 2 : PickerWidth - Size - 4;
  return {left, 0, left + Size, Size + 1};
}
