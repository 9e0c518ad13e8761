// Which windows and popup menus the skin manager skins, and with which skin data.
#include "ManagerRules.h"

#include <gtest/gtest.h>

namespace {

TEST(ManagerRules, SomeWindowsAreNeverSkinnedAsWindows) {
  EXPECT_TRUE(IsPlainChildWindow(true, false, "TFrmMain"));
  EXPECT_FALSE(IsPlainChildWindow(true, true, "TFrmMain"));    // an MDI child
  EXPECT_FALSE(IsPlainChildWindow(true, false, "mdiclient"));  // inside an MDI client

  const std::pair<const char*, bool> cases[] = {
      {"TApplication", true}, {"tapplication", false}, {"MyTcxPopupEditPopupWindow2", true}, {"#32770", false}};
  for (const auto& [name, refused] : cases) EXPECT_EQ(IsRefusedClassName(name), refused) << name;

  const TSkinOptions preview = TSkinOptions(1u << xoPreview), none = 0;
  EXPECT_TRUE(IsRefusedPreview("TfrmPrintPreview", true, none));
  EXPECT_FALSE(IsRefusedPreview("TfrmPrintPreview", true, preview));
  EXPECT_FALSE(IsRefusedPreview("TfrmPrintPreview", false, none));  // no main skin data, no filter
}

TEST(ManagerRules, SkinDataIsChosenByKindTheLastMatchWinning) {
  using C = TSkinDataChoice;
  const struct {
    std::vector<C> candidates;
    const char* className;
    int chosen;
  } cases[] = {
      {{}, "TFrmMain", -1},
      {{{sfMainform, false}, {sfMainform, false}}, "TFrmMain", 1},
      {{{sfOnlyThisForm, false}, {sfDLL, false}}, "TFrmMain", 0},  // nothing fits: the first
      {{{sfMainform, false}, {sfOnlyThisForm, true}, {sfMainform, false}}, "TFrmMain", 1},
      {{{sfMainform, false}, {sfDialog, false}}, "#32770", 1},
      {{{sfMainform, false}, {sfDialog, false}}, "TMessageForm", 1},
      {{{sfMainform, false}, {sfDialog, false}}, "TFrmMain", 0},
      {{{sfDialog, false}, {sfMainform, false}}, "TForm2", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseSkinDataIndex(c.candidates, c.className), c.chosen) << c.className;
}

TEST(ManagerRules, PopupKindsFollowTheirSkinControls) {
  auto set = [](std::initializer_list<TSkinControlType> members) {
    TSkinControlTypes s = 0;
    for (TSkinControlType m : members) Include(s, m);
    return s;
  };
  EXPECT_TRUE(IsPopupSkinned(0, set({xcPopupMenu})));
  EXPECT_FALSE(IsPopupSkinned(0, set({xcMainMenu, xcSystemMenu})));
  EXPECT_TRUE(IsPopupSkinned(1, set({xcMainMenu})));
  EXPECT_TRUE(IsPopupSkinned(1, set({xcMenuItem})));
  EXPECT_FALSE(IsPopupSkinned(1, set({xcPopupMenu})));
  EXPECT_TRUE(IsPopupSkinned(2, set({xcSystemMenu})));
  EXPECT_FALSE(IsPopupSkinned(2, set({xcMainMenu})));
}

}  // namespace
