// The geometry of a skinned window's frame, as pure functions of the window's state:
// border sizes from the skin's images, the client rectangle inside the skinned frame,
// hit-test answers, caption-button places, visibility and actions, the size that keeps
// the client area, and the parts of the window region. No window handles here.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "SkinDraw.h"

// Bits of a window's frame flags.
constexpr std::uint8_t kFrameMaximizeBox = 1, kFrameMinimizeBox = 2, kFrameSystemMenu = 8,
                       kFrameCaptionRemoved = 16;

// Window states and kinds as the form skinner keeps them.
constexpr std::uint8_t kRestored = 0, kMaximized = 1, kMinimized = 2;
constexpr std::uint8_t kOrdinaryWindow = 0, kMDIMainForm = 1, kMDIChild = 2;
// Border kinds: a sizable caption frame, a fixed one, no caption, a dialog frame.
constexpr std::uint8_t kSizableFrame = 0, kFixedFrame = 1, kNoCaption = 2, kDialogFrame = 3;

// What the frame geometry depends on.
struct TFrameState {
  int WindowWidth = 0;
  int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  int MenuBarHeight = 0;
  // Where buttons measured from the title's ends stand.
  int TitleLeft = 0, TitleRight = 0;
  // The menu bar image's left margin (0 without a menu bar image).
  int MenuBarLeftMargin = 0;
  bool Active = true;
  bool RightToLeft = false;
  bool IsDialog = false;  // a standard dialog box or a framework message form
  bool HasMenuBar = false;
  bool ActiveChildMaximized = false;  // an MDI main form whose active child is maximized
  std::uint8_t WindowState = kRestored;
  std::uint8_t BorderKind = kSizableFrame;
  std::uint8_t FrameFlags = 0;
  std::uint8_t Kind = kOrdinaryWindow;
};

// A border's thickness: the image's width (left, right) or height (top, bottom) shared
// by its frames. A count below 1 counts as 1.
int SkinBorderSize(int imageExtent, int frameCount);

// The client rectangle of a window at `window` (its new position and size) under the
// skinned frame. Windows without a skinned frame (no caption, a minimized or maximized
// MDI child) keep the system's rectangle: `keepSystem` then says so.
TSkinRect SkinClientRect(const TSkinRect& window, const TFrameState& state, bool& keepSystem);

// Hit-test codes the frame uses.
constexpr int kHitNowhere = 0, kHitCaption = 2, kHitMenu = 5;
// The answer to a hit test at `point` (window coordinates), given the system's answer:
// what the system calls nowhere or caption below the top 3 pixels is caption, and below
// the caption strip it is the menu bar when there is one.
int SkinHitTest(int systemAnswer, TSkinPoint point, int topHeight, int menuBarHeight);

// A caption button's rectangle in window coordinates, from its image size (one frame)
// and its alignment. Coordinates too far for any window keep it 2^30 pixels off.
TSkinRect SkinButtonBounds(int align, int xcoord, int ycoord, int width, int height, const TFrameState& state);

// Whether a caption button shows: the tests of its Visibility, its Visibility1 and its
// action. A Visibility between 1000 and 2000 asks the window (`askHost`).
struct TButtonRule {
  int Action = 0, Visibility = 0, Visibility1 = 0;
};
template <class AskHost>
bool SkinButtonVisible(const TButtonRule& rule, const TFrameState& state, AskHost&& askHost);

// What a click on a caption button does.
enum class TButtonEffect {
  Close,
  MaximizeOrRestore,
  MinimizeOrRestore,
  SystemMenu,
  MDIChildMinimize,
  MDIChildRestore,
  MDIChildClose,
  HostAction,  // posted to the window for the program to handle
};
TButtonEffect SkinButtonEffect(int action);
// The window-icon button (it shows the window's icon and opens the system menu).
constexpr bool IsIconButtonAction(int action) { return action == 3 || action == 11; }

// A system-menu request (`now` and `lastOpened` in milliseconds): a second click on the
// icon button within the double-click time of the last opening closes the window; a
// request that is not that opens the menu, unless it comes within that time from
// anywhere else, when it does nothing.
enum class TSystemMenuClick { Open, Close, Ignore };
TSystemMenuClick SkinSystemMenuClick(std::uint32_t now, std::uint32_t lastOpened, std::uint32_t doubleClickTime,
                                     bool fromIconButton);

// The window size that puts a client area of `clientWidth` x `clientHeight` inside the
// skinned frame.
struct TSkinSize {
  int Width = 0, Height = 0;
};
TSkinSize SkinWindowSize(int clientWidth, int clientHeight, const TFrameState& state);
// How far a dialog's children move right when its width grows to `minimumWidth` (0 when
// it is wide enough).
int SkinDialogShift(int width, int minimumWidth);

// One side's part of the window region: from the border image's opaque pixels or, for a
// side that is not transparent or too thin, the plain rectangle. An empty rectangle adds
// nothing.
struct TRegionPart {
  TSkinRect Rect;
  bool FromImage = false;
};
// Left, right, top, bottom, for a window of `width` x `height`; `trans` holds each
// side's transparency setting in that order.
std::array<TRegionPart, 4> SkinRegionParts(int width, int height, const TFrameState& state,
                                           const std::array<int, 4>& trans);

// The painted menu bar: where its first item starts (from the bar's left end, or from
// its right end for a right-to-left menu), an item's width from its caption's measured
// width, each item's rectangle (an invisible item gets an empty one), and the item next
// to `index` in the bar (the last wraps to the first and back; an index outside the bar
// gives the first or the last).
int SkinMenuBarStart(bool hasImage, int leftMargin, int rightMargin, bool rightToLeft, int barWidth);
int SkinMenuItemWidth(int textWidth);
struct TMenuBarItem {
  int Width = 0;
  bool Visible = true;
};
std::vector<TSkinRect> SkinMenuBarLayout(const TSkinRect& bar, const std::vector<TMenuBarItem>& items, int start,
                                         bool rightToLeft);
int SkinNeighbourIndex(int index, int count, bool forward);
// What an open menu gets for a message's wParam: in a menu read from the right the left
// and right arrow keys change places; any other value, and every message that is not a
// key (where the same numbers are button flags or characters), stays as it is.
std::uintptr_t SkinMenuArrowKey(bool keyMessage, bool rightToLeft, std::uintptr_t wParam);

// ---------------------------------------------------------------------------------------

namespace skin_detail {
bool FirstVisibilityTest(int value, const TFrameState& state, bool askedHost);
bool SecondVisibilityTest(int value, bool first, const TFrameState& state);
bool ActionTest(int action, const TFrameState& state);
}  // namespace skin_detail

template <class AskHost>
bool SkinButtonVisible(const TButtonRule& rule, const TFrameState& state, AskHost&& askHost) {
  const bool asks = rule.Visibility >= 1000 && rule.Visibility <= 2000;
  const bool first = skin_detail::FirstVisibilityTest(rule.Visibility, state, asks && askHost());
  return first && skin_detail::SecondVisibilityTest(rule.Visibility1, first, state) &&
         skin_detail::ActionTest(rule.Action, state);
}
