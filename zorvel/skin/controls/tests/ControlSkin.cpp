#include "ControlSkin.h"

#include "SkinDraw.h"
#include "SkinDrawWin.h"
#include "SkinPack.h"
#include "TestSkin.h"

namespace ctlskin {

std::string RgbText(TSkinColour c) {
  return std::to_string(c & 0xFF) + " " + std::to_string((c >> 8) & 0xFF) + " " +
         std::to_string((c >> 16) & 0xFF);
}

namespace {

int commands = 0;
WPARAM lastCommand = 0;

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) {
    ++commands;
    lastCommand = wParam;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}

}  // namespace

std::vector<std::uint8_t> Pack(const testskin::Overrides& overrides,
                               const testskin::Images& images) {
  using testskin::Bmp, testskin::Strip;
  const std::string m = std::to_string(kButtonMargin);
  // clang-format off
  const std::string text = testskin::DescriptionText(
      {{"Colours", {{"ButtonFace", RgbText(kFace)}, {"ButtonShadow", RgbText(kShadow)},
                    {"ButtonText", RgbText(kText)}}},
       {"Buttons", {{"Bitmap", "buttons.bmp"}, {"LeftWidth", m}, {"RightWidth", m},
                    {"TopHeight", m}, {"BottomHeight", m}, {"Trans", "1"},
                    {"NormalColour2", RgbText(kNormalText)},
                    {"MouseOverColour2", RgbText(kHotText)},
                    {"PressedColour2", RgbText(kPressedText)}}},
       {"StatusBarEdges", {{"Image", "edges.bmp"}, {"LeftWidth", "1"}, {"RightWidth", "1"},
                           {"TopHeight", "1"}, {"BottomHeight", "1"},
                           {"NormalColour2", RgbText(kEdgeText)}}},
       {"ExtraImages", {{"Image", "extra.bmp"}}}},
      overrides);
  // clang-format on
  TSkinImage buttons = Strip(12, 12, {kButton, kButton + 5}, false);
  for (int x = 0; x < buttons.Width(); x += 12) buttons.SetPixel(x, 0, kSkinKeyColour);
  std::vector<skinpack::Entry> entries = {
      {"skin.ini", text},
      {"buttons.bmp", Bmp(buttons)},
      {"edges.bmp", Bmp(Strip(8, 8, {kEdge, kEdge + 3}, false))},
      {"extra.bmp",
       Bmp(Strip(6, 6, {0x00010101, 0x00020202, 0x00030303, 0x00040404, kGrip}, false))},
  };
  for (const auto& [name, image] : images) entries.push_back({name, Bmp(image)});
  return skinpack::PackArchive(entries);
}

void ControlTest::SetUp() {
  InitSkinData();
  InitSkinDraw();
  LoadSkin();
  form_ = std::make_unique<TWinSkinForm>(nullptr);
}

void ControlTest::TearDown() {
  // Hidden first: under Wine, destroying a visible window waits on the X server.
  if (host_) ShowWindow(host_->Handle(), SW_HIDE);
  delete host_;
  if (plainHost_) {
    ShowWindow(plainHost_, SW_HIDE);
    DestroyWindow(plainHost_);
  }
  form_.reset();
  data_.reset();
  DoneSkinDraw();
  DoneSkinData();
}

void ControlTest::LoadSkin(const testskin::Overrides& overrides, const testskin::Images& images) {
  if (!data_) data_ = std::make_unique<TSkinData>(nullptr);
  const std::vector<std::uint8_t> archive = Pack(overrides, images);
  data_->SkinStream.Clear();
  data_->SkinStream.Write(archive.data(), archive.size());
  ASSERT_TRUE(data_->LoadSkinStream());
}

TForm& ControlTest::Host() {
  if (!host_) {
    RegisterFormsClasses();
    host_ = new TForm(nullptr);
    host_->SetBounds(60, 60, 0, 0);
    host_->SetClientSize(300, 200);
    host_->SetColor(0x00406080);
    ShowWindow(host_->Handle(), SW_SHOWNOACTIVATE);
  }
  return *host_;
}

HWND ControlTest::PlainHost() {
  if (!plainHost_) {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = HostProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = "SkinControlsHost";
      return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    plainHost_ =
        CreateWindowExA(0, "SkinControlsHost", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 400,
                        60, 320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(plainHost_, SW_SHOWNOACTIVATE);
  }
  return plainHost_;
}

HWND ControlTest::Plain(const char* windowClass, const char* text, DWORD style, RECT b) {
  return CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, b.left, b.top,
                         b.right - b.left, b.bottom - b.top, PlainHost(),
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)),
                         GetModuleHandleA(nullptr), nullptr);
}

int ControlTest::TakeCommands(WPARAM* lastWParam) {
  Application->ProcessMessages();
  const int n = commands;
  if (lastWParam) *lastWParam = lastCommand;
  commands = 0;
  return n;
}

std::unique_ptr<testkit::MemoryDC> ControlTest::Paint(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  auto dc = std::make_unique<testkit::MemoryDC>(r.right - r.left, r.bottom - r.top, kBackground);
  SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc->dc()), 0);
  return dc;
}

ControlTest::TInk ControlTest::Find(const testkit::MemoryDC& dc, TSkinColour colour, RECT area,
                                    int tolerance) {
  if (IsRectEmpty(&area)) area = {0, 0, dc.Width(), dc.Height()};
  TInk ink{0, {LONG(dc.Width()), LONG(dc.Height()), -1, -1}};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const std::uint32_t p = dc.At(x, y);
      const auto off = [&](int shift) {
        return std::abs(int((p >> shift) & 0xFF) - int((colour >> shift) & 0xFF)) > tolerance;
      };
      if (off(0) || off(8) || off(16)) continue;
      ++ink.Count;
      ink.Box = {std::min(ink.Box.left, LONG(x)), std::min(ink.Box.top, LONG(y)),
                 std::max(ink.Box.right, LONG(x + 1)), std::max(ink.Box.bottom, LONG(y + 1))};
    }
  if (!ink.Count) ink.Box = {};
  return ink;
}

}  // namespace ctlskin
