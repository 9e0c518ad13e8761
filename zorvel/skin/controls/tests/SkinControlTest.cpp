// The skinner base on framework controls and plain windows: messages, unhooking, text.
#include "ControlSkin.h"

#include <commctrl.h>

#include <algorithm>

#include "WinSubClass.h"
#include "forms/StdCtrls.h"

namespace ctlskin {
namespace {

struct Recorder : TSkinControl {
  using TSkinControl::TSkinControl;
  int paints = 0;
  void DrawSkin(HDC, const RECT&) override { ++paints; }
};

// Records the messages that reach a control's own procedure.
struct RecordingProc {
  std::vector<UINT>* seen;
  TWndMethod next;
  void operator()(TMessage& m) const {
    seen->push_back(m.Msg);
    next(m);
  }
};
LRESULT CALLBACK RecordingSubclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                   DWORD_PTR data) {
  reinterpret_cast<std::vector<UINT>*>(data)->push_back(msg);
  return DefSubclassProc(w, msg, wp, lp);
}
bool Saw(const std::vector<UINT>& seen, UINT msg) {
  return std::find(seen.begin(), seen.end(), msg) != seen.end();
}

using SkinControlTest = ControlTest;

TEST_F(SkinControlTest, SkinMessagesOnAFrameworkControlAndAPlainWindow) {
  std::vector<UINT> seen;
  TPanel& panel = Add<TPanel>(Host(), {10, 10, 110, 60});
  panel.WindowProc = RecordingProc{&seen, panel.WindowProc};
  HWND plain = Plain("STATIC", "x", 0, {10, 10, 110, 60});
  SetWindowSubclass(plain, RecordingSubclass, 1, reinterpret_cast<DWORD_PTR>(&seen));
  const struct {
    Recorder& skinner;
    HWND window;
  } subjects[] = {{Skin<Recorder>(panel), panel.Handle()}, {Skin<Recorder>(plain), plain}};
  for (const auto& s : subjects) {
    UpdateWindow(s.window);
    seen.clear();
    // Asked whether it is skinned: the skinner answers, the control never hears of it.
    EXPECT_EQ(SendMessageA(s.window, WM_SKINQUERY, 0, 0), 1);
    EXPECT_FALSE(Saw(seen, WM_SKINQUERY));
    const int paints = s.skinner.paints;
    EXPECT_EQ(SendMessageA(s.window, WM_SKINENABLE, 0, 0), 0);
    RedrawWindow(s.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(s.skinner.paints, paints);  // off: the control paints itself
    EXPECT_TRUE(Saw(seen, WM_PAINT));
    EXPECT_EQ(SendMessageA(s.window, WM_SKINQUERY, 0, 0), 0);
    SendMessageA(s.window, WM_SKINENABLE, 1, 0);
    EXPECT_EQ(s.skinner.paints, paints + 1);  // on: painted at once
    EXPECT_FALSE(Saw(seen, WM_SKINENABLE));
    RedrawWindow(s.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(s.skinner.paints, paints + 2);  // over what the control painted
  }
  RemoveWindowSubclass(plain, RecordingSubclass, 1);
}

TEST_F(SkinControlTest, GoingGivesTheWindowProcedureBack) {
  std::vector<UINT> seen;
  HWND plain = Plain("STATIC", "x", 0, {10, 10, 110, 60});
  const LONG_PTR original = GetWindowLongPtrA(plain, GWLP_WNDPROC);
  Recorder* s = &Skin<Recorder>(plain);
  s->AttachWindow(plain, data_.get(), nullptr, form_.get());  // once only: no loop
  RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(s->paints, 1);
  delete s;
  EXPECT_EQ(GetWindowLongPtrA(plain, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessageA(plain, WM_SKINQUERY, 0, 0), 0);

  TPanel& panel = Add<TPanel>(Host(), {10, 10, 110, 60});
  panel.WindowProc = RecordingProc{&seen, panel.WindowProc};
  s = &Skin<Recorder>(panel);
  s->AttachControl(form_.get(), data_.get(), nullptr, false);  // changes nothing
  RedrawWindow(panel.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(s->paints, 1);
  delete s;
  EXPECT_NE(panel.WindowProc.target<RecordingProc>(), nullptr);  // ours again
  EXPECT_EQ(form_->SkinnerCount(), 0u);

  // A hook set after the skinner's keeps working when the skinner goes before it.
  std::vector<UINT> above;
  s = &Skin<Recorder>(panel);
  panel.WindowProc = RecordingProc{&above, panel.WindowProc};
  delete s;
  seen.clear();
  EXPECT_EQ(SendMessageA(panel.Handle(), WM_SKINQUERY, 0, 0), 0);
  EXPECT_TRUE(Saw(above, WM_SKINQUERY));
  EXPECT_TRUE(Saw(seen, WM_SKINQUERY));
}

TEST_F(SkinControlTest, WindowsDestroyedWhileSkinned) {
  HWND plain = Plain("STATIC", "x", 0, {10, 10, 110, 60});
  Recorder& s = Skin<Recorder>(plain);
  DestroyWindow(plain);
  EXPECT_EQ(s.FStatus, 6);
  EXPECT_EQ(s.FHandle, nullptr);  // a new window may get the handle: nothing goes to it
  s.SkinChanged();
  form_->FreeDestroyedSkinners();
  EXPECT_EQ(form_->SkinnerCount(), 0u);

  // A control freed while skinned takes its skinner with it.
  auto* panel = &Add<TPanel>(Host(), {10, 10, 110, 60});
  Skin<Recorder>(*panel, true);
  EXPECT_EQ(form_->SkinnerCount(), 1u);
  delete panel;
  EXPECT_EQ(form_->SkinnerCount(), 0u);
}

TEST_F(SkinControlTest, TextOfWideAndEightBitWindowsSurvives) {
  HWND wide = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 190, 20, PlainHost(),
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND narrow = Plain("EDIT", "", 0, {10, 40, 200, 60});
  Skin<Recorder>(wide);
  Skin<Recorder>(narrow);
  const std::wstring text = L"Hello \x6C49\x5B57 \x03A9";
  SetWindowTextW(wide, text.c_str());
  wchar_t back[64] = {};
  GetWindowTextW(wide, back, 64);
  EXPECT_EQ(std::wstring(back), text);
  EXPECT_EQ(GetWindowTextWide(wide), text);
  const char bytes[] = "\xBA\xBA\xD7\xD6 ok";  // two Chinese characters in code page 936
  SetWindowTextA(narrow, bytes);
  char got[64] = {};
  GetWindowTextA(narrow, got, 64);
  EXPECT_STREQ(got, bytes);
  EXPECT_EQ(GetWindowTextWide(narrow), L"\x6C49\x5B57 ok");
}

}  // namespace
}  // namespace ctlskin
