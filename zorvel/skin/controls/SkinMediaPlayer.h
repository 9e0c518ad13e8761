// The media-player skinner: a panel of the same parent and bounds covers the player and
// paints its visible buttons from the skin's Buttons element; presses and releases on
// it go on to the player, which keeps doing the work.
#pragma once

#include <cstdint>

#include "SkinControl.h"
#include "SkinDraw.h"
#include "forms/MPlayerTypes.h"
#include "forms/StdCtrls.h"

class TSkinMP;

class TWMediaPlayer : public TPanel {
 public:
  // Loads the 27 glyphs of the program's resources (a missing one stays empty).
  explicit TWMediaPlayer(TComponent* AOwner);
  ~TWMediaPlayer() override;

  void Bind(TSkinMP* SkinMP, TControl* Control);
  void SyncBounds(TControl* Control);
  // The visible button at X (9: none); a point on the border between two is the left one's.
  int HitButton(int X);
  void WndProc(TMessage& Message) override;

  struct TMPButton {
    bool Visible = false, Enabled = false, Colored = false;  // at the last paint
    TSkinImage Glyphs[3];                                    // enabled, disabled, coloured
  };
  TMPButton FButtons[kMPButtonCount];
  int FVisibleCount = 0;
  TSkinData* FSkinData = nullptr;
  bool FMouseDown = false;
  std::uint8_t FPressedIndex = kMPButtonCount;
  std::uint8_t FHitIndex = kMPButtonCount;
  int FButtonWidth = 0;
  TControl* FControl = nullptr;
  TSkinMP* FSkinMP = nullptr;

 protected:
  void Paint(HDC DC) override;

 private:
  void DrawButton(TCanvas& Canvas, int Index, const RECT& R);
};

class TSkinMP : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  // The panel goes with the skinner: it never paints a player that is gone.
  ~TSkinMP() override;
  // Covers the player with the panel, owned by the form skinner.
  void AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                     bool UseColour) override;
  void DetachSkin() override;
  void AfterMessage(TMessage& Message) override;

  TWMediaPlayer* FPlayer = nullptr;

 private:
  void FreePlayer();
};
