#include "Png.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Pattern(int w, int h) {
  std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = std::uint8_t(i * 7 + i / 3);
  return rgb;
}

TEST(Png, CrcOfKnownText) {
  const std::string text = "123456789";  // the standard check value
  EXPECT_EQ(testkit::Crc32(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
            0xCBF43926u);
}

TEST(Png, RoundTripsImagesOfManySizes) {
  // Sizes around the 65,535-byte stored-block limit make several blocks.
  const std::pair<int, int> sizes[] = {{1, 1}, {3, 2}, {640, 34}, {21845, 1}, {21846, 1}, {300, 300}};
  for (auto [w, h] : sizes) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const auto rgb = Pattern(w, h);
    const auto png = testkit::EncodePng(w, h, rgb.data(), std::size_t(w) * 3);
    int dw = 0, dh = 0;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(testkit::DecodeStoredPng(png, dw, dh, back));
    EXPECT_EQ(dw, w);
    EXPECT_EQ(dh, h);
    EXPECT_EQ(back, rgb);
  }
}

TEST(Png, HonoursRowStride) {
  const int w = 2, h = 2;
  const std::uint8_t padded[] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE};
  const auto png = testkit::EncodePng(w, h, padded, 8);
  int dw, dh;
  std::vector<std::uint8_t> back;
  ASSERT_TRUE(testkit::DecodeStoredPng(png, dw, dh, back));
  EXPECT_EQ(back, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(Png, DamagedFileIsRefused) {
  const auto rgb = Pattern(4, 4);
  auto png = testkit::EncodePng(4, 4, rgb.data(), 12);
  png[png.size() / 2] ^= 0x40;  // inside the image data: its CRC no longer matches
  int w, h;
  std::vector<std::uint8_t> back;
  EXPECT_FALSE(testkit::DecodeStoredPng(png, w, h, back));
}

}  // namespace
