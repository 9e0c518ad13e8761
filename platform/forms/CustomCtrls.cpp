#include "CustomCtrls.h"

void TCustomControl::Paint(HDC dc) {
  const TCanvasLoan loan(canvas_, dc);
  canvas_.Font.Assign(Font());
  Paint();
}
