// Edits, combo boxes and date-time pickers painted from the test skin and sampled by pixel.
#include "EditSkin.h"

#include <commctrl.h>

#include "SkinEdits.h"
#include "WinSkinData.h"
#include "forms/PickCtrls.h"
#include "forms/StdCtrls.h"
#include "testkit/TestKit.h"

namespace ctlskin {
namespace {

using SkinEditsTest = EditSkinTest;

RECT WindowSize(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {0, 0, r.right - r.left, r.bottom - r.top};
}

HWND ComboList(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info.hwndList;
}

TEST_F(SkinEditsTest, EditBorderIsAShadowLineAndTwoWhiteOnes) {
  TEdit& edit = Add<TEdit>(Host(), {10, 10, 110, 35}, "text");
  HWND borderless = Plain("EDIT", "text", 0, {10, 10, 110, 35});
  Skin<TSkinEdit>(edit);
  Skin<TSkinEdit>(borderless);
  auto pic = Paint(edit.Handle());
  EXPECT_EQ(pic->At(0, 12), kShadow);
  EXPECT_EQ(pic->At(1, 12), clWhite);
  EXPECT_EQ(pic->At(2, 12), clWhite);
  EXPECT_EQ(Count(*Paint(borderless), kShadow), 0);
  // Printed: the frame over the printed border; the form's request: the text, answered.
  testkit::MemoryDC printed(100, 25, kBackground);
  SendMessageA(edit.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()),
               PRF_NONCLIENT | PRF_CLIENT);
  EXPECT_EQ(printed.At(0, 12), kShadow);
  testkit::MemoryDC inside(100, 25, kBackground);
  EXPECT_EQ(SendMessageA(edit.Handle(), WM_SKINPAINTCONTROL, reinterpret_cast<WPARAM>(inside.dc()),
                         kSkinHostKey),
            kSkinHostKey);
  EXPECT_GT(Count(inside, GetSysColor(COLOR_WINDOWTEXT), {}, kInk), 0);
}

TEST_F(SkinEditsTest, ComboButtonFrameByLookAndState) {
  struct Look {
    const char* name;
    testskin::Overrides skin;
    bool flat, noInfo;
  };
  const Look looks[] = {
      {"composed", {}, false, false},
      {"composed, no combo information", {}, false, true},
      {"separate, no sunken edge", {{"SunkEdge", {{"Image", ""}}}}, false, false},
      {"flat", {{"SunkEdge", {{"Image", ""}}}, {"ComboButton", {{"Style", "1"}}}}, true, false}};
  SetForegroundWindow(Host().Handle());
  const auto info = SkinGetComboBoxInfoProc;
  for (const Look& l : looks) {
    LoadEditSkin(l.skin);
    if (l.noInfo) SkinGetComboBoxInfoProc = nullptr;
    TComboBox& combo = Add<TComboBox>(Host(), {10, 10, 130, 30});
    Skin<TSkinComBox>(combo);
    HWND w = combo.Handle();
    const RECT size = WindowSize(w);
    const POINT at = l.flat ? POINT{size.right - 6, 5} : POINT{size.right - 3, size.bottom / 2};
    const LPARAM over = MAKELPARAM(at.x, at.y);
    // clang-format off
    const struct {
      const char* state;
      std::function<void()> enter;
      int frame;
    } states[] = {
        {"normal", [] {}, 1},
        {"hot", [&] { SendMessageA(w, WM_MOUSEMOVE, 0, over); }, 4},
        {"hot, then left", [&] { SendMessageA(w, WM_MOUSEMOVE, 0, over); combo.Perform(CM_MOUSELEAVE, 0, 0); }, 1},
        {"focused", [&] { SetFocus(w); }, 4},
        {"disabled", [&] { EnableWindow(w, FALSE); }, 3},
    };
    // clang-format on
    for (const auto& s : states) {
      Paint(w);
      s.enter();
      EXPECT_EQ(Paint(w)->At(at.x, at.y), kCombo[s.frame - 1]) << l.name << ": " << s.state;
      EnableWindow(w, TRUE);
      SetFocus(nullptr);
    }
    SkinGetComboBoxInfoProc = info;
    // Read from the right: the button at the left, drawn from the mirrored picture.
    TComboBox& left = Add<TComboBox>(Host(), {10, 40, 130, 60}, "",
                                     [](TComboBox& c) { c.BiDiMode = bdRightToLeft; });
    Skin<TSkinComBox>(left);
    EXPECT_EQ(Paint(left.Handle())->At(l.flat ? 5 : 2, l.flat ? 5 : size.bottom / 2), kCombo[0])
        << l.name;
  }
  // A dialog's combo is a plain window: only the system tells it that the mouse has gone.
  LoadEditSkin();
  HWND plain = Plain("COMBOBOX", "", CBS_DROPDOWNLIST, {10, 70, 130, 170});
  Skin<TSkinComBox>(plain);
  RECT r;
  GetWindowRect(plain, &r);
  const POINT at{r.right - r.left - 3, (r.bottom - r.top) / 2};
  const auto shows = [&](TSkinColour c) {
    return testkit::PumpUntil([&] { return Paint(plain)->At(at.x, at.y) == c; }, 2000);
  };
  Paint(plain);
  SetCursorPos(r.left + at.x, r.top + at.y);
  EXPECT_TRUE(shows(kCombo[3]));
  SetCursorPos(0, 0);
  EXPECT_TRUE(shows(kCombo[0]));
}

TEST_F(SkinEditsTest, DropDownListOpenedAndClosedByMouseAndKeyboard) {
  TComboBox& combo = Add<TComboBox>(Host(), {10, 10, 130, 30}, "", [](TComboBox& c) {
    c.SetItems({"a", "b", "c"});
    c.SetItemIndex(0);
  });
  int changes = 0;
  combo.OnChange = [&](TObject*) { ++changes; };
  Skin<TSkinComBox>(combo);
  HWND w = combo.Handle();
  SetForegroundWindow(Host().Handle());
  const RECT size = WindowSize(w);
  const POINT button{size.right - 5, size.bottom / 2};
  const auto dropped = [&] { return SendMessageA(w, CB_GETDROPPEDSTATE, 0, 0) != 0; };
  // By mouse: pressed on the button, then a click on the third item.
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.x, button.y));
  EXPECT_TRUE(dropped());
  EXPECT_EQ(Paint(w)->At(button.x, button.y), kCombo[1]);
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));
  HWND list = ComboList(w);
  RECT item;
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  const LPARAM third = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, third);
  SendMessageA(list, WM_LBUTTONUP, 0, third);
  Application->ProcessMessages();
  EXPECT_FALSE(dropped());
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(changes, 1);
  // By keyboard: opened, one up, taken.
  SetFocus(w);
  SendMessageA(w, WM_KEYDOWN, VK_F4, 0);
  EXPECT_TRUE(dropped());
  SendMessageA(w, WM_KEYDOWN, VK_UP, 0);
  SendMessageA(w, WM_KEYDOWN, VK_RETURN, 0);
  Application->ProcessMessages();
  EXPECT_FALSE(dropped());
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(changes, 2);
}

TEST_F(SkinEditsTest, SimpleComboListGetsItsSkinnerOnlyAsAFrameworkControl) {
  const auto simple = [](TComboBox& c) { c.Style = csSimple; };
  TComboBox& combo = Add<TComboBox>(Host(), {10, 10, 130, 110}, "", simple);
  HWND plain = Plain("COMBOBOX", "", CBS_SIMPLE, {10, 10, 130, 110});
  auto& skinner = Skin<TSkinComBox>(combo);
  Skin<TSkinComBox>(plain);
  HWND list = ComboList(combo.Handle());
  EXPECT_EQ(SendMessageA(list, WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageA(ComboList(plain), WM_SKINQUERY, 0, 0), 0);
  // The list's skinner goes with the combo's, and the list works on without it.
  skinner.DetachSkin();
  delete &skinner;
  EXPECT_EQ(SendMessageA(list, WM_SKINQUERY, 0, 0), 0);
  SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
  // A combo that goes first takes its list's skinner with it.
  TComboBox& other = Add<TComboBox>(Host(), {10, 10, 130, 110}, "", simple);
  SendMessageA(Skin<TSkinComBox>(other).FHandle, WM_SKINENABLE, 0, 0);  // sees no WM_NCDESTROY
  delete &other;
  Application->ProcessMessages();
}

TEST_F(SkinEditsTest, DropDownComboWatchesItsEditAndGivesEverythingBack) {
  TComboBox& combo =
      Add<TComboBox>(Host(), {10, 10, 130, 30}, "", [](TComboBox& c) { c.Style = csDropDown; });
  HWND w = combo.Handle(), edit = GetTopWindow(w);
  const LONG_PTR editProc = GetWindowLongPtrA(edit, GWLP_WNDPROC);
  auto& skinner = Skin<TSkinComBox>(combo);
  const POINT button{WindowSize(w).right - 3, WindowSize(w).bottom / 2};
  // A press in the edit shows the button pressed.
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(Paint(w)->At(button.x, button.y), kCombo[1]);
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(Paint(w)->At(button.x, button.y), kCombo[3]);  // the edit has the focus
  skinner.DetachSkin();
  delete &skinner;
  EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), editProc);
  EXPECT_EQ(combo.Perform(WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(Count(*Paint(w), kCombo[0]) + Count(*Paint(w), kCombo[3]), 0);
}

TEST_F(SkinEditsTest, DateTimeArrowButtonOverThePickersOwn) {
  for (TBiDiMode bidi : {bdLeftToRight, bdRightToLeft}) {
    TDateTimePicker& picker = Add<TDateTimePicker>(Host(), {10, 10, 196, 31}, "",
                                                   [&](TDateTimePicker& p) { p.BiDiMode = bidi; });
    HWND w = picker.Handle();
    auto& skinner = Skin<TSkinDateTime>(picker);
    TArrowButton& arrow = *skinner.FArrow;
    const int size = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(GetParent(arrow.Handle()), w);
    EXPECT_EQ(arrow.Left(), bidi == bdRightToLeft ? 2 : 186 - size - 4);
    // A flat frame; the arrow from the skin, hot under the mouse.
    auto pic = Paint(w);
    EXPECT_EQ(pic->At(0, 10), kShadow);
    EXPECT_EQ(pic->At(1, 10), clWhite);
    for (UINT m : {CM_MOUSELEAVE, CM_MOUSEENTER}) {
      arrow.Perform(m, 0, 0);
      pic = Paint(arrow.Handle());
      const bool hot = m == CM_MOUSEENTER;
      EXPECT_GT(Count(*pic, kCombo[hot ? 3 : 0]), Count(*pic, kCombo[hot ? 0 : 3]));
    }
    // A click goes to the picker where its own button lies.
    using Clicks = std::vector<std::pair<UINT, LPARAM>>;
    Clicks seen;
    const SUBCLASSPROC record = [](HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR d) {
      if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONUP) return DefSubclassProc(h, msg, wp, lp);
      reinterpret_cast<Clicks*>(d)->push_back({msg, lp});
      return LRESULT(0);  // the calendar stays shut
    };
    SetWindowSubclass(w, record, 1, reinterpret_cast<DWORD_PTR>(&seen));
    SendMessageA(arrow.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    Application->ProcessMessages();
    RemoveWindowSubclass(w, record, 1);
    const LPARAM at = MAKELPARAM(arrow.Left() + 3, 4);
    EXPECT_EQ(seen, (Clicks{{WM_LBUTTONDOWN, at}, {WM_LBUTTONUP, at}}));
    // It follows the picker's width; it goes, and the picker's style comes back, on detach.
    picker.SetWidth(150);
    if (bidi == bdLeftToRight) {
      EXPECT_EQ(arrow.Left(), 150 - size - 4);
    }
    skinner.DetachSkin();
    EXPECT_EQ(GetTopWindow(w), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE) & WS_CLIPCHILDREN, 0);
  }
}

}  // namespace
}  // namespace ctlskin
