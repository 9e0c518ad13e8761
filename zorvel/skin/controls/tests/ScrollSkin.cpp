#include "ScrollSkin.h"

#include "SkinPack.h"

namespace ctlskin {

namespace {

std::string Rgb(TSkinColour c) {
  return std::to_string(c & 0xFF) + " " + std::to_string((c >> 8) & 0xFF) + " " +
         std::to_string((c >> 16) & 0xFF);
}

std::string Frames(int count, int size, const std::function<TSkinColour(int)>& colour) {
  std::vector<TSkinColour> colours;
  for (int k = 1; k <= count; ++k) colours.push_back(colour(k));
  return testskin::Bmp(testskin::Strip(size, size, colours, false));
}

}  // namespace

void ScrollTest::SetUp() {
  ControlTest::SetUp();
  LoadScrollSkin();
}

void ScrollTest::LoadScrollSkin(const testskin::Overrides& overrides, int shade) {
  const std::string text = testskin::DescriptionText(
      {{"Colours", {{"ButtonFace", Rgb(kFace)}, {"ButtonShadow", Rgb(kShadow)}}},
       {"Scrollbar", {{"Image", "scroll.bmp"}}},
       {"VertScroll", {{"Image", "track.bmp"}}},
       {"HorzScroll", {{"Image", "track.bmp"}}},
       {"VertScrollThumb", {{"Image", "thumb.bmp"}, {"FrameCount", "3"}}},
       {"HorzScrollThumb", {{"Image", "thumb.bmp"}, {"FrameCount", "3"}}},
       {"Headerbar", {{"Image", "header.bmp"}}}},
      overrides);
  const std::vector<std::uint8_t> archive = skinpack::PackArchive({
      {"skin.ini", text},
      {"scroll.bmp", Frames(23, kArrow, [shade](int k) { return StripColour(k, shade); })},
      {"track.bmp", Frames(4, 10, TrackColour)},
      {"thumb.bmp", Frames(3, 10, ThumbColour)},
      {"header.bmp", Frames(5, 10, HeaderColour)},
  });
  data_->SkinStream.Clear();
  data_->SkinStream.Write(archive.data(), archive.size());
  ASSERT_TRUE(data_->LoadSkinStream());
}

void ScrollTest::Pump() {
  Application->ProcessMessages();
  GdiFlush();
}

std::unique_ptr<testkit::MemoryDC> ScrollTest::Capture(HWND window) {
  Pump();
  RECT r;
  GetWindowRect(window, &r);
  auto dc = std::make_unique<testkit::MemoryDC>(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(dc->dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return dc;
}

RECT ScrollTest::BarInParent(HWND window, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, object, &info);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&info.rcScrollBar), 2);
  return info.rcScrollBar;
}

RECT ScrollTest::WindowInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace ctlskin
