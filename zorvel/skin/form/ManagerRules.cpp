#include "ManagerRules.h"

#include "SkinRead.h"

bool IsPlainChildWindow(bool child, bool mdiChild, const std::string& parentClassName) {
  return child && !mdiChild && SkinLowerCase(parentClassName) != "mdiclient";
}

bool IsRefusedClassName(const std::string& className) {
  return className.find("TcxPopupEditPopupWindow") != std::string::npos || className == "TApplication";
}

bool IsRefusedPreview(const std::string& className, bool hasDefaultSkinData, TSkinOptions defaultOptions) {
  return hasDefaultSkinData && !InSet(defaultOptions, xoPreview) &&
         SkinLowerCase(className).find("preview") != std::string::npos;
}

int ChooseSkinDataIndex(const std::vector<TSkinDataChoice>& candidates, const std::string& className) {
  auto last = [&](auto&& match) {
    int found = -1;
    for (std::size_t i = 0; i < candidates.size(); ++i)
      if (match(candidates[i])) found = int(i);
    return found;
  };
  int i = last([](const TSkinDataChoice& c) { return c.Kind == sfOnlyThisForm && c.OwnerIsWindow; });
  const std::string lower = SkinLowerCase(className);
  if (i < 0 && (lower == "tmessageform" || lower == "#32770"))
    i = last([](const TSkinDataChoice& c) { return c.Kind == sfDialog; });
  if (i < 0) i = last([](const TSkinDataChoice& c) { return c.Kind == sfMainform; });
  if (i < 0 && !candidates.empty()) i = 0;
  return i;
}

bool IsPopupSkinned(int popupKind, TSkinControlTypes controls) {
  switch (popupKind) {
    case 1:
      return InSet(controls, xcMainMenu) || InSet(controls, xcMenuItem);
    case 2:
      return InSet(controls, xcSystemMenu);
    default:
      return InSet(controls, xcPopupMenu);
  }
}
