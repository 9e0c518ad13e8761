// Push, bitmap and menu buttons: frames and text of each state, clicks once, options.
#include "ControlSkin.h"

#include <commctrl.h>

#include "SkinButtons.h"
#include "forms/Buttons.h"
#include "forms/ImgList.h"

namespace ctlskin {
namespace {

void Fill(TBitmap& b, TColor colour) {
  b.SetSize(16, 16);
  b.Canvas()->Brush.Color = colour;
  b.Canvas()->FillRect({0, 0, 16, 16});
}

LRESULT CALLBACK RecordingSubclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                   DWORD_PTR data) {
  reinterpret_cast<std::vector<UINT>*>(data)->push_back(msg);
  return DefSubclassProc(w, msg, wp, lp);
}

void Send(HWND w, std::initializer_list<UINT> messages) {
  for (UINT m : messages)
    SendMessageA(w, m, m == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(5, 5));
}

using SkinButtonsTest = ControlTest;

TEST_F(SkinButtonsTest, FrameAndTextColourOfEachState) {
  TButton& button = Add<TButton>(Host(), {10, 10, 110, 40}, "Ok");
  HWND plain = Plain("BUTTON", "Ok", BS_PUSHBUTTON, {10, 10, 110, 40});
  Skin<TSkinButton>(button);
  Skin<TSkinButton>(plain);
  const TSkinColour shadow = GetSysColor(COLOR_BTNSHADOW);
  for (HWND w : {button.Handle(), plain}) {
    const TSkinColour own = w == plain ? kText : GetSysColor(COLOR_WINDOWTEXT);
    // clang-format off
    const struct {
      const char* state;
      std::function<void()> enter;
      int frame;
      TSkinColour text;
    } cases[] = {
        {"normal", [] {}, 1, kNormalText},
        {"hot", [&] { Send(w, {WM_MOUSEMOVE}); }, 4, kHotText},
        {"pressed", [&] { Send(w, {WM_MOUSEMOVE, WM_LBUTTONDOWN}); }, 2, kPressedText},
        {"focused", [&] { SetFocus(w); }, 5, own},
        {"default", [&] { SendMessageA(w, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE); }, 1, kNormalText},
        {"disabled", [&] { EnableWindow(w, FALSE); }, 3, shadow},
        {"disabled, hot and pressed",
         [&] { EnableWindow(w, FALSE); Send(w, {WM_MOUSEMOVE, WM_LBUTTONDOWN}); }, 3, shadow},
    };
    // clang-format on
    for (const auto& c : cases) {
      c.enter();
      auto pic = Paint(w);
      EXPECT_EQ(pic->At(5, 15), kButton[c.frame - 1]) << c.state;
      EXPECT_GT(Count(*pic, c.text, {}, kInk), 3) << c.state;
      Send(w, {WM_MOUSELEAVE});
      EnableWindow(w, TRUE);
      SendMessageA(w, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      SetFocus(PlainHost());
    }
  }
}

TEST_F(SkinButtonsTest, ClickByMouseAndKeyboardReachesTheHandlerOnce) {
  int clicks = 0;
  TButton& button = Add<TButton>(Host(), {10, 10, 110, 40}, "Ok");
  TButton& byWindow = Add<TButton>(Host(), {10, 50, 110, 80}, "Ok");
  button.OnClick = byWindow.OnClick = [&](TObject*) { ++clicks; };
  std::vector<UINT> seen;
  HWND plain = Plain("BUTTON", "Ok", BS_PUSHBUTTON, {10, 10, 110, 40});
  SetWindowSubclass(plain, RecordingSubclass, 1, reinterpret_cast<DWORD_PTR>(&seen));
  Skin<TSkinButton>(button);
  Skin<TSkinButton>(byWindow.Handle());  // a framework button's window: posted with wParam 0
  Skin<TSkinButton>(plain);
  const struct {
    const char* how;
    std::initializer_list<UINT> messages;
    int clicks;
  } ways[] = {
      {"press and release", {WM_LBUTTONDOWN, WM_LBUTTONUP}, 1},
      {"press, leave, release", {WM_LBUTTONDOWN, WM_MOUSELEAVE, WM_LBUTTONUP}, 0},
  };
  for (HWND w : {button.Handle(), byWindow.Handle(), plain})
    for (const auto& way : ways) {
      Send(w, way.messages);
      WPARAM id = 0;
      EXPECT_EQ(TakeCommands(&id) + clicks, way.clicks) << way.how;
      if (w == plain && way.clicks) {
        EXPECT_EQ(id, 100u);
      }
      clicks = 0;
      // The space bar: pressed while down, the control's own click on release.
      SendMessageA(w, WM_KEYDOWN, VK_SPACE, 0);
      EXPECT_EQ(Paint(w)->At(5, 15), kButton[1]);
      SendMessageA(w, WM_KEYUP, VK_SPACE, 0);
      EXPECT_EQ(TakeCommands() + clicks, 1) << "space";
      clicks = 0;
    }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), UINT(WM_LBUTTONDOWN)), 0);
  RemoveWindowSubclass(plain, RecordingSubclass, 1);

  // Enter clicks the default button, or the button that has the focus.
  int defaults = 0;
  button.SetDefault(true);
  button.OnClick = [&](TObject*) { ++defaults; };
  TEdit& edit = Add<TEdit>(Host(), {10, 90, 110, 110});
  for (HWND focus : {edit.Handle(), byWindow.Handle()}) {
    SetFocus(focus);
    PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0);
    Application->ProcessMessages();
  }
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(clicks, 1);

  // A handler may free its button.
  auto* doomed = &Add<TButton>(Host(), {120, 10, 200, 40}, "Go");
  doomed->OnClick = [&](TObject*) { delete doomed; };
  Skin<TSkinButton>(*doomed);
  const std::size_t skinners = form_->SkinnerCount();
  Send(doomed->Handle(), {WM_LBUTTONDOWN, WM_LBUTTONUP});
  EXPECT_EQ(form_->SkinnerCount(), skinners - 1);
}

TEST_F(SkinButtonsTest, ParentBackgroundFocusRectangleAndMouseDown) {
  TButton& plainFace = Add<TButton>(Host(), {10, 10, 110, 40}, "abc");
  TButton& seeThrough = Add<TButton>(Host(), {10, 50, 110, 80}, "abc");
  seeThrough.Tag = 5555;
  int downs = 0;
  plainFace.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  Skin<TSkinButton>(plainFace);
  Skin<TSkinButton>(seeThrough);
  EXPECT_EQ(Paint(plainFace.Handle())->At(0, 0), kFace);
  EXPECT_EQ(Paint(seeThrough.Handle())->At(0, 0), 0x00406080u);  // the form behind it

  SetFocus(plainFace.Handle());
  const TSkinColour inverted = kButton[4] ^ 0x00FFFFFF;  // the focus rectangle's dots
  EXPECT_GT(Count(*Paint(plainFace.Handle()), inverted), 10);
  data_->Options |= 1u << xoNoFocusRect;
  EXPECT_EQ(Count(*Paint(plainFace.Handle()), inverted), 0);

  Send(plainFace.Handle(), {WM_LBUTTONDOWN, WM_LBUTTONUP});
  EXPECT_EQ(downs, 1);  // the press the control never saw still reaches its event
}

TEST_F(SkinButtonsTest, BitButtonGlyphAndImage) {
  const TColor red = 0x0000C0, green = 0x00C000;
  TBitBtn& glyph = Add<TBitBtn>(Host(), {10, 10, 110, 40}, "Go");
  Fill(*glyph.Glyph(), red);
  glyph.Glyph()->Canvas()->SetPixel(0, 15, 0xFFFFFF);  // the bottom-left colour is transparent
  TImageList images(nullptr);
  TBitmap greenImage;
  Fill(greenImage, green);
  images.AddMasked(greenImage, 0xFFFFFF);
  TBitBtn& listed = Add<TBitBtn>(Host(), {10, 50, 110, 80}, "Go");
  listed.Images = &images;
  listed.ImageIndex = 0;
  EXPECT_EQ(Count(*Paint(glyph.Handle()), red), 255);  // unskinned, the button draws it itself
  Skin<TSkinBitButton>(glyph);
  Skin<TSkinBitButton>(listed);

  auto pic = Paint(glyph.Handle());
  EXPECT_EQ(Count(*pic, red), 255);
  EXPECT_LE(Find(*pic, red).Box.right, Find(*pic, kNormalText, {}, kInk).Box.left);  // glyph left
  EXPECT_GT(Count(*Paint(listed.Handle()), green), 200);

  glyph.NumGlyphs = 0;  // a count of another library: taken as one
  EXPECT_EQ(Count(*Paint(glyph.Handle()), red), 255);
  for (TBitBtn* b : {&glyph, &listed}) EnableWindow(b->Handle(), FALSE);
  pic = Paint(glyph.Handle());
  EXPECT_EQ(Count(*pic, red), 0);
  EXPECT_EQ(Count(*pic, 0x00404040), 255);  // the only glyph, greyed
  pic = Paint(listed.Handle());
  EXPECT_EQ(Count(*pic, green), 0);
  EXPECT_GT(Count(*pic, GetSysColor(COLOR_BTNSHADOW)), 100);  // the list's own disabled look
}

TEST_F(SkinButtonsTest, MenuButtonArrow) {
  TButton& button = Add<TButton>(Host(), {10, 10, 110, 40}, "Menu");
  Skin<TSkinMenuButton>(button);
  EXPECT_EQ(Paint(button.Handle())->At(100 - 12, 15), GetSysColor(COLOR_WINDOWTEXT));
  SetFocus(button.Handle());
  EXPECT_EQ(Paint(button.Handle())->At(5, 15), kButton[3]);  // focus looks hot
  EnableWindow(button.Handle(), FALSE);
  auto pic = Paint(button.Handle());
  EXPECT_EQ(pic->At(100 - 12, 15), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pic->At(5, 15), kButton[2]);
}

}  // namespace
}  // namespace ctlskin
