// The media player's button bar: up to nine transport buttons that a host wires to its
// events. It opens no device and plays nothing; the default action of a button only
// moves the player's mode.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "Controls.h"
#include "MPlayerTypes.h"

constexpr COLORREF kMPGlyphKey = 0x008080;  // olive

using TButtonSet = unsigned;  // member n is bit n
constexpr TButtonSet kAllMPButtons = (1u << kMPButtonCount) - 1;
// A set as its published text, "[btPlay,btStop]", and back (unknown names are skipped).
std::string ButtonSetText(TButtonSet set);
TButtonSet ButtonSetFromText(const std::string& text);

enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

using TMPBtnEvent = std::function<void(TObject* Sender, TMPBtnType Button, bool& DoDefault)>;
using TMPNotifyEvent = std::function<void(TObject* Sender, TMPBtnType Button)>;

class TMediaPlayer : public TWinControl {
 public:
  explicit TMediaPlayer(TComponent* owner);
  ~TMediaPlayer() override;

  TButtonSet VisibleButtons = kAllMPButtons;
  TButtonSet EnabledButtons = kAllMPButtons;
  TButtonSet ColoredButtons = kAllMPButtons;
  TMPModes Mode() const noexcept { return mode_; }

  // The visible button at x (the buttons share the width equally); -1 for none.
  int ButtonAt(int x) const;

  // A button was clicked (press and release on it): DoDefault false skips its action.
  // It hides the control's plain OnClick: a player's clicks always name their button.
  TMPBtnEvent OnClick;
  // After the action of a clicked button.
  TMPNotifyEvent OnPostClick;

  void WndProc(TMessage& message) override;

 protected:
  void Paint(HDC dc) override;

 private:
  void ButtonClick(TMPBtnType button);

  TMPModes mode_ = mpStopped;
  int pressed_ = -1;  // the button the left button went down on
  HBITMAP glyphs_[3][kMPButtonCount] = {};
};

void RegisterMediaPlayer();
