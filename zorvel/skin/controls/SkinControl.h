// The base of the control skinners: what a form skinner keeps of each control skinner
// registered with it, and what it asks of them when the skin changes or goes.
#pragma once

#include <windows.h>

#include "forms/Classes.h"

class TSkinData;
class TWinSkinForm;

class TSkinControl : public TComponent {
 public:
  explicit TSkinControl(TComponent* AOwner) : TComponent(AOwner) {}
  // Takes itself off its form skinner's list.
  ~TSkinControl() override;

  // Gives back what attaching changed.
  virtual void DetachSkin() {}
  // The skin data read another skin.
  virtual void SkinChanged() {}

  // 0 created, 1 attached, 6 the window was destroyed.
  int FStatus = 0;
  HWND FHandle = nullptr;
  TSkinData* FSkinData = nullptr;
  TWinSkinForm* FForm = nullptr;
};
