// The BMP reader on files of every supported kind, made here, and on damaged ones.
#include "forms/BmpFile.h"

#include <gtest/gtest.h>

// The cases name only the leading fields of a file description.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <string>
#include <vector>

namespace {

void Put(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
}

struct Spec {
  int width = 3, height = 2, bpp = 24, headerSize = 40;
  bool topDown = false;
  std::uint32_t compression = 0, colorsUsed = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  std::vector<std::uint32_t> masks;    // bit fields after a 40-byte header
};

// Writes a packed bitmap (info header, masks, palette, rows) whose pixel (x, y) from the
// top holds `value(x, y)` (an index, a 16-bit word or a 0x00RRGGBB colour, as the depth
// wants).
template <class F>
std::string MakeDib(const Spec& s, F value) {
  const int stride = ((s.width * s.bpp + 31) / 32) * 4;
  std::string f;
  Put(f, s.headerSize, 4);
  if (s.headerSize == 12) {
    Put(f, s.width, 2), Put(f, s.height, 2), Put(f, 1, 2), Put(f, s.bpp, 2);
  } else {
    Put(f, s.width, 4), Put(f, s.topDown ? -s.height : s.height, 4), Put(f, 1, 2), Put(f, s.bpp, 2),
        Put(f, s.compression, 4), Put(f, stride * s.height, 4);
    Put(f, 0, 4), Put(f, 0, 4), Put(f, s.colorsUsed, 4), Put(f, 0, 4);
    f.append(static_cast<std::size_t>(s.headerSize - 40), '\0');
  }
  for (std::uint32_t m : s.masks) Put(f, m, 4);
  for (std::uint32_t c : s.palette) Put(f, c, s.headerSize == 12 ? 3 : 4);
  for (int row = 0; row < s.height; ++row) {
    int y = s.topDown ? row : s.height - 1 - row;
    std::string line(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < s.width; ++x) {
      std::uint32_t v = value(x, y);
      if (s.bpp < 8) {
        int perByte = 8 / s.bpp;
        line[x / perByte] =
            static_cast<char>(line[x / perByte] | (v << (8 - s.bpp * (x % perByte + 1))));
      } else {
        for (int k = 0; k < s.bpp / 8; ++k)
          line[x * (s.bpp / 8) + k] = static_cast<char>(v >> (8 * k));
      }
    }
    f += line;
  }
  return f;
}

// The same bitmap as a file: the file header points at the rows.
template <class F>
std::string MakeBmp(const Spec& s, F value) {
  const std::string dib = MakeDib(s, value);
  const int stride = ((s.width * s.bpp + 31) / 32) * 4;
  const int off = 14 + static_cast<int>(dib.size()) - stride * s.height;
  std::string f = "BM";
  Put(f, 14 + static_cast<int>(dib.size()), 4);
  Put(f, 0, 4);
  Put(f, off, 4);
  return f + dib;
}

std::uint32_t PixelAt(TDecodedBmp& bmp, int x, int y) {
  const std::uint8_t* p = bmp.View().Pixel(x, y);
  return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

bool Decode(const std::string& file, TDecodedBmp& out, const TBmpLimits& limits = {}) {
  return DecodeBmp(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), out, limits);
}

bool DecodePacked(const std::string& dib, TDecodedBmp& out, const TBmpLimits& limits = {}) {
  return DecodeDib(reinterpret_cast<const std::uint8_t*>(dib.data()), dib.size(), out, limits);
}

// A decoded bitmap of the spec's size whose pixels are `expected(x, y)`.
void ExpectPixels(TDecodedBmp& bmp, const Spec& spec, int outBpp,
                  std::uint32_t (*expected)(int, int), const char* name) {
  EXPECT_EQ(bmp.width, spec.width) << name;
  EXPECT_EQ(bmp.height, spec.height) << name;
  EXPECT_EQ(bmp.bitsPerPixel, outBpp) << name;
  EXPECT_EQ(bmp.stride % 4, 0) << name;
  for (int y = 0; y < spec.height; ++y)
    for (int x = 0; x < spec.width; ++x)
      EXPECT_EQ(PixelAt(bmp, x, y), expected(x, y)) << name << " at " << x << "," << y;
}

// A refusal leaves nothing behind from an earlier image.
void ExpectRefused(bool (*decode)(const std::string&, TDecodedBmp&, const TBmpLimits&),
                   const std::string& bytes, const char* name) {
  TDecodedBmp bmp;
  bmp.width = 9;
  bmp.pixels.assign(4, 1);
  EXPECT_FALSE(decode(bytes, bmp, {})) << name;
  EXPECT_EQ(bmp.width, 0) << name;
  EXPECT_TRUE(bmp.pixels.empty()) << name;
}

std::uint32_t Colour(int x, int y) {
  return 0x102030u * static_cast<std::uint32_t>(x + 1) + 0x050403u * y;
}

TEST(BmpFile, DecodesEveryDepthWithTheRightPixels) {
  const std::vector<std::uint32_t> pal16 = {
      0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080, 0x123456, 0xABCDEF,
      0,        0,        0,        0,        0,        0,        0,        0};
  struct Case {
    const char* name;
    Spec spec;
    std::uint32_t (*value)(int, int);
    std::uint32_t (*expected)(int, int);
    int outBpp;
  };
  static const std::vector<std::uint32_t> pal = pal16;
  const Case cases[] = {
      {"24-bit odd width", {5, 3, 24}, Colour, Colour, 24},
      {"24-bit top-down", {5, 3, 24, 40, true}, Colour, Colour, 24},
      {"24-bit v5 header", {7, 2, 24, 124}, Colour, Colour, 24},
      {"32-bit", {3, 2, 32}, Colour, Colour, 32},
      {"8-bit palette",
       {5, 2, 8, 40, false, 0, 16, pal16},
       [](int x, int y) -> std::uint32_t { return (x + y) % 8; },
       [](int x, int y) { return pal[(x + y) % 8]; },
       24},
      {"4-bit palette",
       {13, 2, 4, 40, false, 0, 0, pal16},
       [](int x, int y) -> std::uint32_t { return (x * 3 + y) % 8; },
       [](int x, int y) { return pal[(x * 3 + y) % 8]; },
       24},
      {"1-bit core header",
       {9, 3, 1, 12, false, 0, 0, {0x000000, 0xFFFFFF}},
       [](int x, int y) -> std::uint32_t { return (x + y) & 1; },
       [](int x, int y) -> std::uint32_t { return ((x + y) & 1) ? 0xFFFFFF : 0; },
       24},
      {"16-bit 555",
       {3, 2, 16},
       [](int x, int) -> std::uint32_t { return x == 0   ? 0x7C00
                                                : x == 1 ? 0x03E0
                                                         : 0x001F; },
       [](int x, int) -> std::uint32_t { return x == 0   ? 0xFF0000
                                                : x == 1 ? 0x00FF00
                                                         : 0x0000FF; },
       24},
      {"16-bit 565 bit fields",
       {3, 1, 16, 40, false, 3, 0, {}, {0xF800, 0x07E0, 0x001F}},
       [](int x, int) -> std::uint32_t { return x == 0   ? 0xF800
                                                : x == 1 ? 0x07E0
                                                         : 0xFFFF; },
       [](int x, int) -> std::uint32_t { return x == 0   ? 0xFF0000
                                                : x == 1 ? 0x00FF00
                                                         : 0xFFFFFF; },
       24},
      {"32-bit ten-bit channels",
       {3, 1, 32, 40, false, 3, 0, {}, {0x3FF00000, 0x000FFC00, 0x3FF}},
       [](int x, int) -> std::uint32_t {
         return x == 0 ? 0x3FF00000 : x == 1 ? 512u << 10 : 0xFFFFFFFF;
       },
       [](int x, int) -> std::uint32_t { return x == 0   ? 0xFF0000
                                                : x == 1 ? 0x008000
                                                         : 0xFFFFFF; },
       32},
      {"32-bit, one channel as wide as the pixel",
       {3, 1, 32, 40, false, 3, 0, {}, {0xFFFFFFFF, 0, 0}},
       [](int x, int) -> std::uint32_t {
         return x == 0 ? 0xFFFFFFFF : x == 1 ? 0x80000000 : 0x00800000;
       },
       [](int x, int) -> std::uint32_t { return x == 0   ? 0xFF0000
                                                : x == 1 ? 0x800000
                                                         : 0; },
       32},
  };
  for (const Case& c : cases) {
    TDecodedBmp bmp;
    ASSERT_TRUE(Decode(MakeBmp(c.spec, c.value), bmp)) << c.name;
    ExpectPixels(bmp, c.spec, c.outBpp, c.expected, c.name);
  }
}

TEST(BmpFile, RefusesDamagedAndOversizedFiles) {
  const std::string good = MakeBmp(Spec{}, Colour);
  auto with = [&](std::size_t at, std::uint32_t v, int bytes) {
    std::string f = good;
    for (int i = 0; i < bytes; ++i) f[at + i] = static_cast<char>(v >> (8 * i));
    return f;
  };
  Spec many = {5, 2, 8, 40, false, 0, 300, {}};
  Spec shortPalette = {5, 2, 8, 40, false, 0, 16, {1, 2, 3}};
  struct Case {
    const char* name;
    std::string file;
  };
  const Case cases[] = {
      {"empty", ""},
      {"not BM", "XX" + good.substr(2)},
      {"cut inside the rows", good.substr(0, good.size() - 1)},
      {"cut inside the header", good.substr(0, 30)},
      {"header size 64", with(14, 64, 4)},
      {"width 0", with(18, 0, 4)},
      {"negative width", with(18, 0xFFFFFFFF, 4)},
      {"height 0", with(22, 0, 4)},
      {"100000 x 100000 in a few bytes", with(22, 100000, 4).replace(18, 4, "\xA0\x86\x01\x00")},
      {"4096 x 8192, beyond the pixel limit",
       with(22, 8192, 4).replace(18, 4, std::string("\0\x10\0\0", 4))},
      {"2 planes", with(26, 2, 2)},
      {"7 bits per pixel", with(28, 7, 2)},
      {"RLE8", with(30, 1, 4)},
      {"bit fields on 24 bits", with(30, 3, 4)},
      {"pixel offset past the end", with(10, 0x7FFFFFF0, 4)},
      {"pixel offset inside the file header", with(10, 4, 4)},
      {"more colours than 8 bits hold", MakeBmp(many, [](int, int) { return 0u; })},
      {"palette cut short", MakeBmp(shortPalette, [](int, int) { return 0u; }).substr(0, 54 + 12)},
  };
  for (const Case& c : cases) ExpectRefused(Decode, c.file, c.name);
}

TEST(BmpFile, IndexBeyondTheUsedColoursIsBlack) {
  Spec s = {4, 1, 8, 40, false, 0, 2, {0xFFFFFF, 0xFF0000}};
  TDecodedBmp bmp;
  ASSERT_TRUE(
      Decode(MakeBmp(s, [](int x, int) -> std::uint32_t { return x == 0 ? 1 : 200; }), bmp));
  EXPECT_EQ(PixelAt(bmp, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(bmp, 1, 0), 0u);
}

// Bitmap resources hold no file header: the rows follow the masks and the colour table.
TEST(BmpFile, DecodesPackedBitmapsAsResourcesHoldThem) {
  static const std::vector<std::uint32_t> pal = {
      0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080, 0x123456, 0xABCDEF,
      0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888};
  const std::vector<std::uint32_t> three = {0x010203, 0x040506, 0x070809};
  auto index = [](int x, int y) -> std::uint32_t { return (x * 5 + y) % 16; };
  auto fromPal = [](int x, int y) { return pal[(x * 5 + y) % 16]; };
  struct Case {
    const char* name;
    Spec spec;
    std::uint32_t (*value)(int, int);
    std::uint32_t (*expected)(int, int);
  };
  const Case cases[] = {
      {"4-bit, full table", {7, 3, 4, 40, false, 0, 0, pal}, index, fromPal},
      {"8-bit, 16 colours used", {5, 2, 8, 40, false, 0, 16, pal}, index, fromPal},
      {"24-bit", {5, 3, 24}, Colour, Colour},
      {"24-bit top-down", {3, 2, 24, 40, true}, Colour, Colour},
      {"24-bit with a table before the rows", {3, 2, 24, 40, false, 0, 3, three}, Colour, Colour},
      {"16-bit 565 masks before the rows",
       {3, 1, 16, 40, false, 3, 0, {}, {0xF800, 0x07E0, 0x001F}},
       [](int x, int) -> std::uint32_t { return x == 0   ? 0xF800
                                                : x == 1 ? 0x07E0
                                                         : 0x001F; },
       [](int x, int) -> std::uint32_t {
         return x == 0 ? 0xFF0000 : x == 1 ? 0x00FF00 : 0x0000FF;
       }},
      {"1-bit core header, three-byte entries",
       {9, 2, 1, 12, false, 0, 0, {0x000000, 0xFFFFFF}},
       [](int x, int y) -> std::uint32_t { return (x + y) & 1; },
       [](int x, int y) -> std::uint32_t { return ((x + y) & 1) ? 0xFFFFFF : 0; }},
  };
  for (const Case& c : cases) {
    TDecodedBmp bmp;
    ASSERT_TRUE(DecodePacked(MakeDib(c.spec, c.value), bmp)) << c.name;
    ExpectPixels(bmp, c.spec, 24, c.expected, c.name);
  }
}

TEST(BmpFile, RefusesDamagedPackedBitmaps) {
  auto zero = [](int, int) { return 0u; };
  const std::string good8 =
      MakeDib({4, 2, 8, 40, false, 0, 16, std::vector<std::uint32_t>(16, 7)}, zero);
  Spec claimsTable = {3, 2, 24, 40, false, 0, 0x40000000};
  struct Case {
    const char* name;
    std::string dib;
  };
  const Case cases[] = {
      {"empty", ""},
      {"cut inside the header", good8.substr(0, 20)},
      {"palette cut short", good8.substr(0, 40 + 4 * 3)},
      {"rows cut short", good8.substr(0, good8.size() - 1)},
      {"more colours than 4 bits hold",
       MakeDib({4, 2, 4, 40, false, 0, 17, std::vector<std::uint32_t>(17, 7)}, zero)},
      {"a table beside 24-bit rows past the end", MakeDib(claimsTable, Colour)},
      {"masks missing", MakeDib({3, 1, 16, 40, false, 3}, zero).substr(0, 40 + 8)},
      {"a whole file", MakeBmp(Spec{}, Colour)},
  };
  for (const Case& c : cases) ExpectRefused(DecodePacked, c.dib, c.name);
  TDecodedBmp bmp;
  EXPECT_FALSE(DecodeDib(nullptr, 0, bmp));
}

TEST(BmpFile, CallersMayTightenTheLimits) {
  const TBmpLimits limits{16, 64};
  struct Case {
    const char* name;
    Spec spec;
    bool fits;
  };
  const Case cases[] = {
      {"16 x 4", {16, 4, 24}, true},
      {"17 x 1", {17, 1, 24}, false},
      {"1 x 17", {1, 17, 24}, false},
      {"13 x 5, past the pixel count", {13, 5, 24}, false},
  };
  for (const Case& c : cases) {
    TDecodedBmp bmp;
    EXPECT_EQ(Decode(MakeBmp(c.spec, Colour), bmp, limits), c.fits) << c.name;
    EXPECT_EQ(DecodePacked(MakeDib(c.spec, Colour), bmp, limits), c.fits) << c.name;
    // Without them the same bitmaps are fine.
    EXPECT_TRUE(DecodePacked(MakeDib(c.spec, Colour), bmp)) << c.name;
  }
  // Looser limits than the reader's own are not granted.
  TDecodedBmp bmp;
  EXPECT_FALSE(Decode(MakeBmp({kMaxBmpDimension + 1, 1, 1}, Colour), bmp, {1 << 20, 1 << 30}));
}

}  // namespace
