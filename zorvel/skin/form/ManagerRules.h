// The skin manager's decisions that depend only on facts about a window and the skin
// data components: which windows and popup menus are skinned, and with which skin data.
// No window handles here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "WinSkinDataKinds.h"

// A child window that is not an MDI child (whose parent is no MDI client) is skinned by
// its form's control skinners, not as a window of its own.
bool IsPlainChildWindow(bool child, bool mdiChild, const std::string& parentClassName);

// Windows skinned by nobody, whatever their module: the framework's hidden application
// window and the drop-down windows of a foreign editor.
bool IsRefusedClassName(const std::string& className);

// A print-preview window is skinned only when the main skin data allows previews.
bool IsRefusedPreview(const std::string& className, bool hasDefaultSkinData, TSkinOptions defaultOptions);

// The skin data a window gets, from the registered skin data in registration order (the
// last match wins): one made for this very form; else, for a dialog, one for dialogs;
// else one for main forms; else the first registered. -1 when none is registered.
struct TSkinDataChoice {
  TSkinFormType Kind = sfMainform;
  bool OwnerIsWindow = false;  // its owner is the form whose window is being skinned
};
int ChooseSkinDataIndex(const std::vector<TSkinDataChoice>& candidates, const std::string& className);

// Whether a popup menu of that kind (0 any other, 1 of a window's menu, 2 a system
// menu) is skinned under the skin data's SkinControls.
bool IsPopupSkinned(int popupKind, TSkinControlTypes controls);
