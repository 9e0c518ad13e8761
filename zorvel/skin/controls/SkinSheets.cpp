#include "SkinSheets.h"

#include "WinSkinData.h"
#include "WinSubClass.h"

namespace {

// The skin's face brush (the one the skin data keeps), or a fill of the face colour.
void FillSkinBrush(TSkinControl& Skinner, HDC DC, const RECT& R) {
  if (Skinner.FSkinData->SkinBrush)
    FillRect(DC, &R, Skinner.FSkinData->SkinBrush);
  else
    Skinner.FillSkinFace(DC, R);
}

}  // namespace

void TSkinSizer::DrawSkin(HDC DC, const RECT& R) {
  FillSkinFace(DC, R);
}

bool TSkinTabSheet::BeforeMessage(TMessage& m) {
  const bool answer = TSkinControl::BeforeMessage(m);
  if (FMode != 0) return answer;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      HandlePaint(m);
      return false;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(FHandle, &r);
      FillSkinBrush(*this, reinterpret_cast<HDC>(m.WParam), r);
      m.Result = 1;
      return false;
    }
    default:
      return answer;
  }
}

void TSkinTabSheet::DrawSkin(HDC DC, const RECT& R) {
  FillSkinFace(DC, R);
  if (FControl && FControl->ControlCount() > 0) FControl->PaintControls(DC, FControl->Controls(0));
}

bool TSkinBoxH::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetWindowRect(FHandle, &r);
      OffsetRect(&r, -r.left, -r.top);
      FillSkinFace(reinterpret_cast<HDC>(m.WParam), r);
      m.Result = 1;  // erased: the dialog's procedure must not erase again
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallOriginalProc(m);
      // The texts go on the skin's face, not on the cell the dialog's procedure chose.
      SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
      if (FSkinData->SkinBrush) m.Result = reinterpret_cast<LRESULT>(FSkinData->SkinBrush);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}
