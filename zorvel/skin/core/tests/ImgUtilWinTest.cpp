// The bitmap helpers on real DIB-section bitmaps and device contexts, the bitmap itself
// (row stride, formats, BMP files) and the message of a refused skin archive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImgUtilWin.h"
#include "SkinReadWin.h"
#include "TestKit.h"

using namespace skin;

namespace {
using skin::TColor;  // the framework has a TColor of its own

// Pixel (x, y) of a fresh test bitmap: blue x, green y, red 7.
void Paint(TBitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) bmp.Canvas()->SetPixel(x, y, RGB(7, y, x));
}

std::uint32_t At(TBitmap& bmp, int x, int y) { return bmp.Canvas()->Pixel(x, y); }

TEST(Bitmap, RowsHaveAnHonestStride) {
  TBitmap bmp;
  EXPECT_TRUE(bmp.Empty());
  bmp.SetSize(5, 3);
  EXPECT_EQ(bmp.Stride(), 16);
  EXPECT_EQ(bmp.ScanLine(1) - bmp.ScanLine(0), 16);
  bmp.SetPixelFormat(pf32bit);
  EXPECT_EQ(bmp.Stride(), 20);
  EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphicOperation);
  EXPECT_THROW(bmp.ScanLine(-1), EInvalidGraphicOperation);
  EXPECT_THROW(bmp.SetSize(100000, 100000), EInvalidGraphicOperation);
  EXPECT_EQ(bmp.Width(), 5);
}

TEST(Bitmap, GdiDrawingAndRowsSeeTheSamePixels) {
  TBitmap bmp;
  bmp.SetSize(7, 4);
  bmp.Canvas()->Brush.Color = RGB(10, 20, 30);
  RECT r = {2, 1, 4, 3};
  bmp.Canvas()->FillRect(r);
  const std::uint8_t* row = bmp.ScanLine(2);
  EXPECT_EQ(row[3 * 3 + 0], 30);  // blue
  EXPECT_EQ(row[3 * 3 + 2], 10);  // red
  EXPECT_EQ(GetPixel(bmp.Canvas()->Handle(), 3, 2), RGB(10, 20, 30));
  EXPECT_EQ(At(bmp, 1, 2), 0u);
  // A system colour is resolved before it reaches GDI.
  bmp.Canvas()->Brush.Color = static_cast<std::int32_t>(0xFF000000 | COLOR_BTNFACE);
  bmp.Canvas()->FillRect(r);
  EXPECT_EQ(At(bmp, 2, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(Bitmap, ResizeAndConversionKeepPixels) {
  TBitmap bmp;
  bmp.SetSize(5, 3);
  Paint(bmp);
  bmp.SetPixelFormat(pf32bit);
  EXPECT_EQ(At(bmp, 4, 2), RGB(7, 2, 4));
  bmp.SetSize(3, 5);
  EXPECT_EQ(At(bmp, 2, 2), RGB(7, 2, 2));
  EXPECT_EQ(At(bmp, 2, 4), 0u);
  TBitmap copy;
  copy.Assign(&bmp);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_EQ(At(copy, 1, 1), RGB(7, 1, 1));
}

std::string Bmp24(int w, int h) {
  auto put = [](std::string& s, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) s += static_cast<char>(v >> (8 * i));
  };
  const int stride = (w * 3 + 3) & ~3;
  std::string f = "BM";
  put(f, 54 + stride * h, 4), put(f, 0, 4), put(f, 54, 4), put(f, 40, 4), put(f, w, 4);
  put(f, h, 4), put(f, 1, 2), put(f, 24, 2), put(f, 0, 4), put(f, stride * h, 4);
  for (int i = 0; i < 4; ++i) put(f, 0, 4);
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < w; ++x) row += {static_cast<char>(x), static_cast<char>(y), 7};
    row.resize(static_cast<std::size_t>(stride), '\0');
    f += row;
  }
  return f;
}

TEST(Bitmap, LoadsBmpFilesAndEmptiesOnBadOnes) {
  TBitmap bmp;
  TMemoryStream s;
  std::string file = Bmp24(5, 3);
  s.Write("xx", 2);
  s.Write(file.data(), file.size());
  s.SetPosition(2);
  ASSERT_TRUE(bmp.LoadFromStream(s));
  EXPECT_EQ(bmp.Width(), 5);
  EXPECT_EQ(bmp.Height(), 3);
  EXPECT_EQ(At(bmp, 4, 0), RGB(7, 0, 4));
  EXPECT_EQ(At(bmp, 0, 2), RGB(7, 2, 0));

  std::string cut = file.substr(0, file.size() - 5);
  EXPECT_FALSE(bmp.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(cut.data()), cut.size()));
  EXPECT_TRUE(bmp.Empty());
}

TEST(ImgUtil, GreyAndMagenta) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(5, 1);
  bmp.Canvas()->SetPixel(0, 0, RGB(31, 20, 10));
  bmp.Canvas()->SetPixel(1, 0, RGB(255, 0, 255));
  bmp.Canvas()->SetPixel(2, 0, RGB(255, 1, 255));
  TBitmap grey;
  grey.Assign(&bmp);
  Grayscale(grey);
  EXPECT_EQ(grey.PixelFormat(), pf24bit);
  EXPECT_EQ(At(grey, 0, 0), RGB(20, 20, 20));
  ReplaceColor(bmp, static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(At(bmp, 1, 0), RGB(1, 2, 3));
  EXPECT_EQ(At(bmp, 2, 0), RGB(255, 1, 255));
  ReplaceColor(grey, static_cast<TColor>(0xFF000000 | COLOR_WINDOW));
}

TEST(ImgUtil, MirrorFlipAndTurnOddSizes) {
  TBitmap src;
  src.SetSize(5, 3);
  Paint(src);
  TBitmap m;
  m.Assign(&src);
  MirrorHorizontal(m);
  EXPECT_EQ(At(m, 0, 1), At(src, 4, 1));
  EXPECT_EQ(At(m, 2, 2), At(src, 2, 2));
  TBitmap f;
  f.Assign(&src);
  FlipVertical(f);
  EXPECT_EQ(At(f, 3, 0), At(src, 3, 2));
  EXPECT_EQ(At(f, 3, 1), At(src, 3, 1));

  TBitmap r;
  r.Assign(&src);
  Rotate90(r);
  ASSERT_EQ(r.Width(), 3);
  ASSERT_EQ(r.Height(), 5);
  EXPECT_EQ(At(r, 0, 4), At(src, 0, 0));  // the old top edge on the left, its left end low
  EXPECT_EQ(At(r, 0, 0), At(src, 4, 0));
  Rotate270(r);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(r, x, y), At(src, x, y));
  Rotate270(r);
  EXPECT_EQ(At(r, 2, 0), At(src, 0, 0));  // the old top edge on the right, its left end high
}

TEST(ImgUtil, MixColorsWithASystemColour) {
  const TColor face = static_cast<TColor>(0xFF000000 | COLOR_BTNFACE);
  EXPECT_EQ(static_cast<COLORREF>(MixColors(face, 0, 100 * 10)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(MixColors(RGB(255, 0, 0), RGB(0, 0, 255), 50), static_cast<TColor>(RGB(128, 0, 128)));
  EXPECT_EQ(MixColors(RGB(255, 0, 0), RGB(0, 0, 255), 100), static_cast<TColor>(RGB(26, 0, 230)));
  EXPECT_EQ(MixColors(RGB(255, 0, 0), RGB(0, 0, 255), 0), static_cast<TColor>(RGB(0, 0, 255)));
  EXPECT_EQ(ColorSaturation(RGB(255, 0, 0)), 255);
}

// Paints a gradient into a 6 x 30 bitmap, optionally clipped to rows [clipTop, clipBottom).
void PaintGradient(TBitmap& bmp, int height, int clipTop = -1, int clipBottom = -1) {
  bmp.SetSize(6, 30);
  bmp.Canvas()->Brush.Color = RGB(1, 1, 1);
  RECT all = {0, 0, 6, 30};
  bmp.Canvas()->FillRect(all);
  HDC dc = bmp.Canvas()->Handle();
  if (clipTop >= 0) {
    HRGN clip = CreateRectRgn(0, clipTop, 6, clipBottom);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
  }
  RECT r = {1, 0, 5, height};
  GradientFill(dc, r, RGB(0, 0, 0), RGB(200, 100, 50), true);
  SelectClipRgn(dc, nullptr);
}

TEST(ImgUtil, GradientFill) {
  ClearGradientCache();
  TBitmap bmp;
  PaintGradient(bmp, 1);
  EXPECT_EQ(At(bmp, 2, 0), RGB(100, 50, 25));  // one band: the midpoint
  EXPECT_EQ(At(bmp, 0, 0), RGB(1, 1, 1));      // outside the rectangle
  EXPECT_EQ(At(bmp, 2, 1), RGB(1, 1, 1));
  PaintGradient(bmp, 2);
  EXPECT_EQ(At(bmp, 2, 0), RGB(0, 0, 0));
  EXPECT_EQ(At(bmp, 2, 1), RGB(200, 100, 50));

  TBitmap full, clipped;
  PaintGradient(full, 30);
  PaintGradient(clipped, 30, 10, 20);
  for (int y = 0; y < 30; ++y) {
    if (y >= 10 && y < 20)
      EXPECT_EQ(At(clipped, 3, y), At(full, 3, y)) << y;
    else
      EXPECT_EQ(At(clipped, 3, y), RGB(1, 1, 1)) << y;
  }
  EXPECT_EQ(At(full, 3, 29), RGB(200, 100, 50));

  // Seventeen different ramps: the last takes the oldest slot.
  ClearGradientCache();
  for (int i = 0; i < kGradientSlots; ++i) GetGradientColors(40 + i, 0, RGB(255, 255, 255));
  EXPECT_EQ(GetGradientColors(99, 0, RGB(255, 255, 255)), 0);
}

TEST(SkinArchive, RefusedArchiveIsToldOnce) {
  testkit::ClearMessageBoxes();
  TSkinReader reader;
  TMemoryStream empty;
  empty.Write("\0\0\0\0", 4);
  EXPECT_FALSE(LoadSkinArchive(reader, empty));
  ASSERT_EQ(testkit::MessageBoxes().size(), 1u);
  EXPECT_EQ(testkit::MessageBoxes()[0].text,
            "This is Older Skin File\rPlease update to new version !");
}

}  // namespace
