// Skin images and the geometry of drawing them: frames of a strip, nine-slice and
// three-slice layouts, tiling, colour-key regions. No window handles here: the Win32
// side (SkinDrawWin.h) turns these layouts into blits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A 32-bit colour: 0x00BBGGRR, or 0xFF0000nn for system colour nn.
using TSkinColour = std::uint32_t;
constexpr TSkinColour kSkinKeyColour = 0x00FF00FF;  // magenta, transparent when keyed

struct TSkinRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const noexcept { return Right - Left; }
  int Height() const noexcept { return Bottom - Top; }
  bool Inverted() const noexcept { return Right < Left || Bottom < Top; }
  bool operator==(const TSkinRect&) const = default;
};

// Widths in source pixels of a frame's fixed columns (Left, Right) and rows (Top, Bottom).
struct TSkinMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TSkinMargins&) const = default;
};

struct TSkinPoint {
  int X = 0, Y = 0;
  bool operator==(const TSkinPoint&) const = default;
};

// Frame k of a strip: its top-left corner in the image and its size.
struct TSkinFrame {
  int X0 = 0, Y0 = 0, FW = 0, FH = 0;
  TSkinRect Rect() const noexcept { return {X0, Y0, X0 + FW, Y0 + FH}; }
  bool operator==(const TSkinFrame&) const = default;
};

// Frame `frameIndex` (from 1) of an image of `width` x `height` that holds `frameCount`
// frames side by side (or stacked, `vertical`). The leftover pixels at the far end are
// never part of a frame. A count below 1 counts as 1 and the index is kept between 1
// and the count, so that a hostile skin never reaches outside the image.
TSkinFrame SkinFrameRect(int width, int height, int frameIndex, int frameCount, bool vertical);

// One copy of a layout: `Source` (in the image) scaled onto `Dest`. A tiled piece repeats
// the source at its own size over `Dest` instead (see SkinTilePositions).
struct TSkinPiece {
  TSkinRect Dest;
  TSkinRect Source;
  bool Tiled = false;
  bool operator==(const TSkinPiece&) const = default;
};

// The margins that a nine-slice of `width` x `height` from `frame` really uses: negative
// margins are 0; a pair that does not fit the target (sum strictly greater) becomes 0, and
// so does a pair that does not fit inside the frame.
TSkinMargins SkinFitMargins(const TSkinMargins& margins, int width, int height, const TSkinFrame& frame);

// The pieces of a nine-slice composition of `width` x `height` (destination from 0, 0) in
// drawing order: corners kept at their size, edges stretched along one axis, the centre
// stretched or tiled; the right and bottom pieces come after the centre and cover tiles
// that run past it.
std::vector<TSkinPiece> SkinNineSlicePieces(int width, int height, const TSkinFrame& frame,
                                            const TSkinMargins& margins, bool tile);

// Three slices side by side over `width` x `height`: the left and right columns
// stretched to the height, the middle repeated at its own width (cut by the right piece).
// A frame not wider than its two margins repeats nothing in the middle.
std::vector<TSkinPiece> SkinThreeSliceTiledPieces(int width, int height, const TSkinFrame& frame,
                                                  const TSkinMargins& margins);

// Three stretched slices into `dest`; a frame wider than the target is stretched whole.
std::vector<TSkinPiece> SkinStripThreeSlicePieces(const TSkinRect& dest, const TSkinFrame& frame,
                                                  const TSkinMargins& margins);

// Where the copies of a w x h tile start over `dest` (columns, then rows within each);
// the last ones are not cut to `dest`. Nothing for an empty tile.
std::vector<TSkinPoint> SkinTilePositions(const TSkinRect& dest, int w, int h);

// The top-left corner that centres a `fw` x `fh` frame on `dest` (halves truncated toward
// zero, so a larger frame overhangs on both sides).
TSkinPoint SkinCentredOrigin(const TSkinRect& dest, int fw, int fh);

// A 24-bit picture, rows from the top, three bytes per pixel (blue, green, red), each row
// padded to four bytes so that it can go to the platform as it is.
class TSkinImage {
 public:
  // Images larger than this are refused when read (real skin images are small).
  static constexpr int kMaxSide = 16384;
  static constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

  TSkinImage() = default;
  TSkinImage(int width, int height, TSkinColour fill = 0) { SetSize(width, height, fill); }

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  bool Empty() const noexcept { return width_ <= 0 || height_ <= 0; }
  std::size_t Stride() const noexcept { return stride_; }
  const std::uint8_t* Bits() const noexcept { return bits_.data(); }
  std::uint8_t* Row(int y) noexcept { return bits_.data() + static_cast<std::size_t>(y) * stride_; }
  const std::uint8_t* Row(int y) const noexcept {
    return bits_.data() + static_cast<std::size_t>(y) * stride_;
  }

  // Whether SetSize takes a size: an empty one, or one within the limits.
  static bool Fits(int width, int height) noexcept {
    return width <= 0 || height <= 0 ||
           (width <= kMaxSide && height <= kMaxSide && static_cast<std::int64_t>(width) * height <= kMaxPixels);
  }

  // New size, every pixel `fill` (an RGB colour). Sizes below 1 give an empty image;
  // sizes beyond the limits raise std::length_error.
  void SetSize(int width, int height, TSkinColour fill = 0);
  void Clear() noexcept;

  // 0x00BBGGRR; 0 outside the image.
  TSkinColour Pixel(int x, int y) const noexcept;
  void SetPixel(int x, int y, TSkinColour colour) noexcept;
  // Fills `rect` cut to the image.
  void Fill(const TSkinRect& rect, TSkinColour colour) noexcept;

  // Reads a Windows bitmap: a file (starting "BM") or, with `packedDib`, the info header
  // and bits as a bitmap resource holds them. 1, 4, 8, 16, 24 and 32 bits per pixel,
  // uncompressed or with bit fields. Anything malformed, compressed or too large leaves
  // the image empty and answers false.
  bool LoadFromBmp(const std::uint8_t* data, std::size_t size, bool packedDib = false);
  // The image as a 24-bit bitmap file.
  std::vector<std::uint8_t> SaveToBmp() const;

  // Left and right exchanged.
  void MirrorHorizontal() noexcept;
  // Top and bottom exchanged.
  void FlipVertical() noexcept;
  // The image a quarter turn round, clockwise or not.
  TSkinImage Turned(bool Clockwise) const;
  // Every pixel of exactly `key` becomes `colour` (both RGB).
  void ReplaceColour(TSkinColour key, TSkinColour colour) noexcept;

  // Changes whenever the pixels may have changed; the Win32 side keys its caches on it.
  std::uint64_t Generation() const noexcept { return generation_; }
  void Touch() noexcept { generation_ = ++counter_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> bits_;
  std::uint64_t generation_ = 0;
  static inline std::uint64_t counter_ = 0;
};

// Copies `source` (a rectangle of `src`) scaled onto `dest` of `dst`, nearest pixel, as a
// colour-on-colour stretch does. Both rectangles are cut to their images; a source
// rectangle that is empty or inverted copies nothing.
void SkinStretchCopy(TSkinImage& dst, const TSkinRect& dest, const TSkinImage& src, const TSkinRect& source);
// `source` of `src` repeated at its own size from dest's corner over `dest` (the last
// column and row are not cut to `dest`, only to the image).
void SkinTileCopy(TSkinImage& dst, const TSkinRect& dest, const TSkinImage& src, const TSkinRect& source);
// Copies `src` onto `dst` at (x, y), leaving `dst` as it was where `src` is `key`.
void SkinKeyedCopy(TSkinImage& dst, int x, int y, const TSkinImage& src, TSkinColour key = kSkinKeyColour);

// The nine-slice composition of frame `frameIndex` of `source` at `width` x `height`.
// An empty source or size, or a size beyond the image limits, gives an empty image.
TSkinImage SkinComposeNineSlice(int width, int height, const TSkinImage& source, const TSkinMargins& margins,
                                int frameIndex, int frameCount, bool tile, bool vertical);
// The same into an existing image (resized), so that a painter can reuse one buffer.
void SkinComposeNineSliceInto(TSkinImage& result, int width, int height, const TSkinImage& source,
                              const TSkinMargins& margins, int frameIndex, int frameCount, bool tile,
                              bool vertical);

// Draws the nine-slice composition straight into `dest` of `dst` (tiles are cut to
// `dest`), opaque: for painters that build a whole picture in one buffer.
void SkinPaintNineSlice(TSkinImage& dst, const TSkinRect& dest, const TSkinImage& source, const TSkinMargins& margins,
                        int frameIndex, int frameCount, bool tile, bool vertical);

// The opaque parts of `source` as rectangles one pixel high (maximal runs per row, rows
// from the top), moved by the offset. A pixel is transparent when each of its channels
// lies between the key's and the key's plus the tolerance (capped at 255).
std::vector<TSkinRect> SkinRegionRuns(const TSkinImage& source, int offsetX, int offsetY, TSkinColour key,
                                      std::uint8_t toleranceRed, std::uint8_t toleranceGreen,
                                      std::uint8_t toleranceBlue);
// The same area in fewer rectangles: rows whose runs are the same as the row above's
// join it (runs as SkinRegionRuns gives them: rows from the top, left to right).
std::vector<TSkinRect> SkinMergeRows(const std::vector<TSkinRect>& runs);
