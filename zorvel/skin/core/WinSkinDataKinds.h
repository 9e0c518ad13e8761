// The sets and kinds that steer a skin data component: which controls are skinned, the
// options, and what kind of form the component serves. Pure, for the rules that read them.
#pragma once

#include <cstdint>

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
  xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
// A set of TSkinControlType: member n is bit n.
using TSkinControlTypes = std::uint32_t;

enum TSkinOption {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoMDIChildBorder, xoMenuBG, xoFormScrollbar
};
using TSkinOptions = std::uint16_t;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

template <class Set, class Member>
constexpr bool InSet(Set set, Member m) {
  return (set >> static_cast<int>(m)) & 1u;
}
template <class Set, class Member>
constexpr void Include(Set& set, Member m) {
  set = static_cast<Set>(set | (Set{1} << static_cast<int>(m)));
}
template <class Set, class Member>
constexpr void Exclude(Set& set, Member m) {
  set = static_cast<Set>(set & ~(Set{1} << static_cast<int>(m)));
}

constexpr TSkinControlTypes kDefaultSkinControls = 0x1FFFFB;  // all but xcMenuItem, xcFastReport
constexpr TSkinOptions kDefaultSkinOptions = 0x48;            // xoPreview, xoToolbarBK
