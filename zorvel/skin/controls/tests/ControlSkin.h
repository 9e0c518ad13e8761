// Shared by control skinner tests: a solid-colour skin, host windows, pixel sampling.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SkinControl.h"
#include "TestSkin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "forms/Forms.h"
#include "testkit/MemoryDC.h"

namespace ctlskin {

// Colours (0x00BBGGRR).
constexpr TSkinColour kFace = 0x00D0E0F0;    // ButtonFace
constexpr TSkinColour kShadow = 0x00C81410;  // ButtonShadow
constexpr TSkinColour kText = 0x00030201;    // ButtonText
// Frames 1 to 5 of the Buttons strip; each frame's top-left pixel is magenta.
constexpr TSkinColour kButton[5] = {0x00A04010, 0x0010A040, 0x00808080, 0x004010A0, 0x00A0A010};
constexpr TSkinColour kNormalText = 0x00FF0000, kHotText = 0x00008000, kPressedText = 0x00800080;
// Frames 1 to 3 of StatusBarEdges, its text colour, and the size grip of ExtraImages.
constexpr TSkinColour kEdge[3] = {0x00205020, 0x00502020, 0x00202050};
constexpr TSkinColour kEdgeText = 0x000000F0;
constexpr TSkinColour kGrip = 0x0000C0C0;
constexpr int kButtonMargin = 3;

// "r g b" of a colour, as skin descriptions write it.
std::string RgbText(TSkinColour c);
// The packed skin, with description keys over the defaults and images of a test's own.
std::vector<std::uint8_t> Pack(const testskin::Overrides& overrides = {},
                               const testskin::Images& images = {});

// A windowless child that fills itself with kMarkColour.
constexpr TSkinColour kMarkColour = 0x00C000C0;
struct TMarkControl : TGraphicControl {
  using TGraphicControl::TGraphicControl;
  void Paint() override {
    Canvas()->Brush.Color = kMarkColour;
    Canvas()->FillRect({0, 0, Width(), Height()});
  }
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void LoadSkin(const testskin::Overrides& overrides = {}, const testskin::Images& images = {});

  // A framework form (300 x 200 client), shown without taking the focus.
  TForm& Host();
  // A control of the host form placed in `parent`; `setUp` runs before its window is made.
  template <class C>
  C& Add(TWinControl& parent, RECT bounds, const std::string& caption = {},
         const std::function<void(C&)>& setUp = {}) {
    auto* c = new C(&Host());
    c->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    c->SetCaption(caption);
    if (setUp) setUp(*c);
    c->SetParent(&parent);
    return *c;
  }
  // A plain 8-bit window and a plain child of it (control identifier 100).
  HWND PlainHost();
  HWND Plain(const char* windowClass, const char* text, DWORD style, RECT bounds);
  // WM_COMMANDs the plain host had since the last call (posted ones handled), last wParam.
  int TakeCommands(WPARAM* lastWParam = nullptr);

  template <class S>
  S& Skin(TWinControl& control, bool useColour = false) {
    auto* s = new S(&control);
    s->AttachControl(form_.get(), data_.get(), form_->FControlCanvas.get(), useColour);
    return *s;
  }
  template <class S>
  S& Skin(HWND window) {
    auto* s = new S(nullptr);
    s->AttachWindow(window, data_.get(), form_->FControlCanvas.get(), form_.get());
    return *s;
  }

  // The window painted by WM_PAINT into memory, on a background no skin colour uses.
  static std::unique_ptr<testkit::MemoryDC> Paint(HWND window);
  // Pixels of a colour in `area` (empty: all), channels within `tolerance`: count and box.
  // Smoothed text shows its colour whole only inside strokes; kInk allows for that.
  struct TInk {
    int Count;
    RECT Box;
  };
  static TInk Find(const testkit::MemoryDC& dc, TSkinColour colour, RECT area = {},
                   int tolerance = 0);
  static int Count(const testkit::MemoryDC& dc, TSkinColour colour, RECT area = {},
                   int tolerance = 0) {
    return Find(dc, colour, area, tolerance).Count;
  }
  static constexpr int kInk = 80;

  static constexpr std::uint32_t kBackground = 0x00505050;
  std::unique_ptr<TSkinData> data_;
  std::unique_ptr<TWinSkinForm> form_;
  TForm* host_ = nullptr;
  HWND plainHost_ = nullptr;
};

}  // namespace ctlskin
