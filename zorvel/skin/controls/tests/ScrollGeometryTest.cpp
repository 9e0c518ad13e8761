// The overlay scroll bar's arithmetic and its picture, on the host.
#include "ScrollGeometry.h"

#include <gtest/gtest.h>

#include <vector>

#include "WinSkinDataCore.h"

namespace {

TEST(ScrollGeometry, ThumbOfAScrollBarControl) {
  // A bar 234 long with arrows of 17: 200 between them.
  const struct {
    int min, max, page, position;
    TThumbExtent painted;
    int pressStart;
  } cases[] = {
      {0, 100, 20, 0, {17, 55}, 17},        // at the minimum the thumb touches the first arrow
      {0, 100, 20, 40, {97, 135}, 97},      // page 20 of 100: 38 long (37.8 rounded), 40 % along
      {0, 1000, 10, 500, {113, 121}, 117},  // too short a thumb is 8 long, placed in 192
      {0, 100, 5, 50, {117, 125}, 117},     // 8 long as it is: placed in the whole 200
      {0, 100, 0, 50, {109, 126}, 109},     // no page: an arrow-long thumb in 234 - 3 x 17
      {-50, 50, 0, 0, {109, 126}, 109},     // the range counts from the minimum
      {5, 5, 0, 5, {17, 34}, 17},           // one position
      {0, 0, 20, 1, {17, 17 + 8}, 17},      // no range: nothing divides by zero
      {INT32_MIN, INT32_MAX, 0, 0, {109, 126}, 109},  // a range wider than 32 bits
      {0, 200, INT32_MAX, 0, {17, 217}, 17},          // a page past the range: the whole bar
      {0, 100, 20, -30, {17, 55}, 17},                // below the minimum: at the first arrow
      {0, 100, 0, 150, {200, 217}, 200},              // past the maximum: at the second arrow
      {0, 200, 300, 0, {17, 217}, 17},                // a page just past the range: the whole bar
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ControlThumb(234, 17, c.min, c.max, c.page, c.position), c.painted) << c.position;
    EXPECT_EQ(PressThumbStart(234, 17, c.min, c.max, c.page, c.position), c.pressStart)
        << c.position;
  }
}

TEST(ScrollGeometry, HitTestBoundaries) {
  // Arrows of 17 on a bar of 200, the thumb from 50 to 80.
  const struct {
    int pos, part;
  } cases[] = {{0, spFirstArrow},    {16, spFirstArrow},  {17, spPageBefore}, {49, spPageBefore},
               {50, spThumb},        {79, spThumb},       {80, spPageAfter},  {182, spPageAfter},
               {183, spSecondArrow}, {199, spSecondArrow}};
  for (const auto& c : cases) EXPECT_EQ(ScrollHitTest(c.pos, 17, {50, 80}, 200), c.part) << c.pos;
}

TEST(ScrollGeometry, DraggedThumbStaysBetweenTheArrows) {
  const struct {
    int delta;
    TThumbExtent thumb;
  } cases[] = {
      {10, {60, 90}}, {-33, {17, 47}}, {-100, {17, 47}}, {103, {153, 183}}, {500, {153, 183}}};
  for (const auto& c : cases)
    EXPECT_EQ(DragThumb({50, 80}, 50, c.delta, 17, 200), c.thumb) << c.delta;
}

TEST(ScrollGeometry, BreadthAndArrowLength) {
  // A strip two or more pixels off the arrow size is not the system's size: the arrow's is used.
  const struct {
    int strip, arrow, breadth;
  } breadths[] = {{19, 17, 17}, {19, 18, 19}, {16, 17, 16}, {15, 17, 17}};
  for (const auto& b : breadths) EXPECT_EQ(ThumbBreadth(b.strip, b.arrow), b.breadth) << b.strip;
  // A bar shorter than two arrows is shared by them.
  const struct { int track, arrow; } arrows[] = {{34, 17}, {33, 16}, {20, 10}, {0, 0}};
  for (const auto& a : arrows) EXPECT_EQ(ArrowLength(17, a.track), a.arrow) << a.track;
}

constexpr TSkinColour kFace = 0x00C8C8C8;
// Frame k (from 1) of the Scrollbar strip, of the tracks and of the thumbs.
TSkinColour StripColour(int k) {
  return (unsigned(k) * 10) << 16 | 0x20;
}
TSkinColour TrackColour(int k) {
  return (unsigned(k) * 40) << 8 | 0x01;
}
TSkinColour ThumbColour(int k) {
  return unsigned(k) * 50 | 0x010100;
}

// A strip of `count` square frames, frame k in colour(k).
TDataSkinObject Frames(int count, int size, TSkinColour (*colour)(int)) {
  TDataSkinObject object;
  object.Bitmap = TSkinImage(size * count, size);
  for (int k = 1; k <= count; ++k)
    object.Bitmap.Fill({(k - 1) * size, 0, k * size, size}, colour(k));
  object.FrameCount = count;
  return object;
}

struct Skin {
  TDataSkinObject strip = Frames(23, 17, StripColour), track = Frames(4, 10, TrackColour),
                  thumb = Frames(3, 10, ThumbColour);
  TScrollBarImages Images() const { return {&strip, &track, &thumb}; }
};

// A vertical bar 17 x 200 with its thumb from 50 to 80 (the grip 17 long at 56).
TScrollBarLook Vertical() {
  TScrollBarLook look{.Width = 17, .Height = 200, .Vertical = true, .Thumb = {50, 80}};
  look.ArrowSize = look.Breadth = 17;
  look.TrackLength = look.OverlayLength = 200;
  look.Face = kFace;
  return look;
}

TEST(ScrollBarPicture, FramesOfEachPartByState) {
  // Along the bar: the first arrow, the track, the thumb's body, its grip, the second arrow.
  const int at[] = {8, 30, 52, 64, 191};
  const struct {
    bool vertical;
    int hot;
    bool pressed;
    int first, body, grip, second;  // frames of the strip, of the thumb, of the strip, of the strip
  } cases[] = {
      {true, spNone, false, 9, 1, 20, 13},       {true, spFirstArrow, false, 12, 1, 20, 13},
      {true, spFirstArrow, true, 10, 1, 20, 13}, {true, spSecondArrow, false, 9, 1, 20, 16},
      {true, spSecondArrow, true, 9, 1, 20, 14}, {true, spThumb, false, 9, 3, 22, 13},
      {true, spThumb, true, 9, 2, 21, 13},       {true, spPageAfter, true, 9, 1, 20, 13},
      {false, spFirstArrow, false, 4, 1, 17, 5}, {false, spSecondArrow, true, 1, 1, 17, 6},
      {false, spThumb, false, 1, 3, 19, 5},
  };
  const Skin skin;
  for (const auto& c : cases) {
    TScrollBarLook look = Vertical();
    look.Vertical = c.vertical;
    if (!c.vertical) std::swap(look.Width, look.Height);
    look.HotPart = c.hot;
    look.Pressed = c.pressed;
    TSkinImage picture;
    PaintScrollBar(picture, look, skin.Images());
    const auto pixel = [&](int along) {
      return c.vertical ? picture.Pixel(8, along) : picture.Pixel(along, 8);
    };
    SCOPED_TRACE(testing::Message() << c.vertical << " hot " << c.hot << " pressed " << c.pressed);
    EXPECT_EQ(pixel(at[0]), StripColour(c.first));
    EXPECT_EQ(pixel(at[1]), TrackColour(1));
    EXPECT_EQ(pixel(at[2]), ThumbColour(c.body));
    EXPECT_EQ(pixel(at[3]), StripColour(c.grip));
    EXPECT_EQ(pixel(at[4]), StripColour(c.second));
  }
}

TEST(ScrollBarPicture, ShortBarHasTwoHalfArrowsAndNoTrack) {
  const Skin skin;
  TScrollBarLook look = Vertical();
  look.Height = look.TrackLength = look.OverlayLength = 20;
  look.Thumb = {17, 17};
  TSkinImage picture;
  PaintScrollBar(picture, look, skin.Images());
  for (int y = 0; y < 10; ++y) EXPECT_EQ(picture.Pixel(8, y), StripColour(9)) << y;
  for (int y = 10; y < 20; ++y) EXPECT_EQ(picture.Pixel(8, y), StripColour(13)) << y;
}

TEST(ScrollBarPicture, WhatTheSkinLacksStaysInTheFaceColour) {
  // No track or thumb images; a one-frame thumb pressed; a thumb reaching past the overlay.
  const Skin skin;
  TSkinImage picture;
  TScrollBarLook look = Vertical();
  PaintScrollBar(picture, look, {&skin.strip, nullptr, nullptr});
  EXPECT_EQ(picture.Pixel(8, 30), kFace);
  EXPECT_EQ(picture.Pixel(8, 52), kFace);
  EXPECT_EQ(picture.Pixel(8, 64), StripColour(20));
  EXPECT_EQ(picture.Pixel(8, 191), StripColour(13));

  TDataSkinObject single = Frames(1, 10, ThumbColour);
  look.HotPart = spThumb;
  look.Pressed = true;
  PaintScrollBar(picture, look, {&skin.strip, &skin.track, &single});
  EXPECT_EQ(picture.Pixel(8, 52), ThumbColour(1));

  look = Vertical();
  look.OverlayLength = 70;  // neither the thumb's end nor the grip's is inside
  PaintScrollBar(picture, look, skin.Images());
  EXPECT_EQ(picture.Pixel(8, 52), TrackColour(1));
  EXPECT_EQ(picture.Pixel(8, 64), TrackColour(1));

  look.Height = look.TrackLength = TSkinImage::kMaxSide + 1;  // past the image limits: no picture
  PaintScrollBar(picture, look, skin.Images());
  EXPECT_TRUE(picture.Empty());
}

}  // namespace
