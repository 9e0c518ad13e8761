#include "SkinDraw.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "ImgUtil.h"
#include "forms/BmpFile.h"

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// The image's rows for the shared pixel helpers.
TPixelView ViewOf(TSkinImage& image) noexcept {
  return {image.Width(), image.Height(), 3, static_cast<std::ptrdiff_t>(image.Stride()),
          image.Row(0)};
}

TSkinRect Intersect(const TSkinRect& a, const TSkinRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

}  // namespace

TSkinFrame SkinFrameRect(int width, int height, int frameIndex, int frameCount, bool vertical) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  int count = std::max(frameCount, 1);
  int k = std::clamp(frameIndex, 1, count);
  TSkinFrame f;
  if (vertical) {
    f.FW = width;
    f.FH = height / count;
    f.Y0 = (k - 1) * f.FH;
  } else {
    f.FW = width / count;
    f.FH = height;
    f.X0 = (k - 1) * f.FW;
  }
  return f;
}

TSkinMargins SkinFitMargins(const TSkinMargins& margins, int width, int height,
                            const TSkinFrame& frame) {
  TSkinMargins m{std::max(margins.Left, 0), std::max(margins.Top, 0), std::max(margins.Right, 0),
                 std::max(margins.Bottom, 0)};
  // 64-bit sums: margins come from the skin description and may be huge.
  auto tooWide = [](int a, int b, int limit) { return static_cast<std::int64_t>(a) + b > limit; };
  if (tooWide(m.Left, m.Right, width) || tooWide(m.Left, m.Right, frame.FW)) m.Left = m.Right = 0;
  if (tooWide(m.Top, m.Bottom, height) || tooWide(m.Top, m.Bottom, frame.FH)) m.Top = m.Bottom = 0;
  return m;
}

std::vector<TSkinPiece> SkinNineSlicePieces(int width, int height, const TSkinFrame& f,
                                            const TSkinMargins& margins, bool tile) {
  std::vector<TSkinPiece> pieces;
  TSkinMargins m = SkinFitMargins(margins, width, height, f);
  const int W = width, H = height, L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  const int X0 = f.X0, Y0 = f.Y0, FW = f.FW, FH = f.FH;
  if (L > 0 && T > 0) pieces.push_back({{0, 0, L, T}, {X0, Y0, X0 + L, Y0 + T}});
  if (L > 0 && B > 0) pieces.push_back({{0, H - B, L, H}, {X0, Y0 + FH - B, X0 + L, Y0 + FH}});
  if (R > 0 && T > 0) pieces.push_back({{W - R, 0, W, T}, {X0 + FW - R, Y0, X0 + FW, Y0 + T}});
  if (L > 0) pieces.push_back({{0, T, L, H - B}, {X0, Y0 + T, X0 + L, Y0 + FH - B}});
  if (T > 0) pieces.push_back({{L, 0, W - R, T}, {X0 + L, Y0, X0 + FW - R, Y0 + T}});
  pieces.push_back({{L, T, W - R, H - B}, {X0 + L, Y0 + T, X0 + FW - R, Y0 + FH - B}, tile});
  if (R > 0 && B > 0)
    pieces.push_back({{W - R, H - B, W, H}, {X0 + FW - R, Y0 + FH - B, X0 + FW, Y0 + FH}});
  if (R > 0) pieces.push_back({{W - R, T, W, H - B}, {X0 + FW - R, Y0 + T, X0 + FW, Y0 + FH - B}});
  if (B > 0) pieces.push_back({{L, H - B, W - R, H}, {X0 + L, Y0 + FH - B, X0 + FW - R, Y0 + FH}});
  return pieces;
}

std::vector<TSkinPiece> SkinThreeSliceTiledPieces(int width, int height, const TSkinFrame& f,
                                                  const TSkinMargins& margins) {
  std::vector<TSkinPiece> pieces;
  int L = std::max(margins.Left, 0), R = std::max(margins.Right, 0);
  if (static_cast<std::int64_t>(L) + R > f.FW) L = R = 0;
  const int W = width, H = height, M = f.FW - L - R;
  pieces.push_back({{0, 0, L, H}, {f.X0, f.Y0, f.X0 + L, f.Y0 + f.FH}});
  if (M > 0) {
    for (int x = L; x < W - R; x += M)
      pieces.push_back({{x, 0, x + M, H}, {f.X0 + L, f.Y0, f.X0 + L + M, f.Y0 + f.FH}});
  }
  pieces.push_back({{W - R, 0, W, H}, {f.X0 + f.FW - R, f.Y0, f.X0 + f.FW, f.Y0 + f.FH}});
  return pieces;
}

std::vector<TSkinPiece> SkinStripThreeSlicePieces(const TSkinRect& d, const TSkinFrame& f,
                                                  const TSkinMargins& margins) {
  const int W = d.Width();
  if (f.FW > W) return {{d, f.Rect()}};
  int mL = std::max(margins.Left, 0), mR = std::max(margins.Right, 0);
  if (static_cast<std::int64_t>(mL) + mR > f.FW) mL = mR = 0;
  return {
      {{d.Left, d.Top, d.Left + mL, d.Bottom}, {f.X0, f.Y0, f.X0 + mL, f.Y0 + f.FH}},
      {{d.Left + mL, d.Top, d.Right - mR, d.Bottom},
       {f.X0 + mL, f.Y0, f.X0 + f.FW - mR, f.Y0 + f.FH}},
      {{d.Right - mR, d.Top, d.Right, d.Bottom},
       {f.X0 + f.FW - mR, f.Y0, f.X0 + f.FW, f.Y0 + f.FH}},
  };
}

std::vector<TSkinPoint> SkinTilePositions(const TSkinRect& dest, int w, int h) {
  std::vector<TSkinPoint> points;
  if (w <= 0 || h <= 0) return points;
  for (int x = dest.Left; x < dest.Right; x += w)
    for (int y = dest.Top; y < dest.Bottom; y += h) points.push_back({x, y});
  return points;
}

TSkinPoint SkinCentredOrigin(const TSkinRect& dest, int fw, int fh) {
  return {dest.Left + (dest.Width() - fw) / 2, dest.Top + (dest.Height() - fh) / 2};
}

// ---------------------------------------------------------------------------------------
// TSkinImage

void TSkinImage::SetSize(int width, int height, TSkinColour fill) {
  if (width <= 0 || height <= 0) {
    Clear();
    Touch();
    return;
  }
  if (!Fits(width, height)) throw std::length_error("skin image too large");
  width_ = width;
  height_ = height;
  stride_ = static_cast<std::size_t>(BmpStride(width, 24));
  bits_.assign(stride_ * static_cast<std::size_t>(height), 0);
  if (fill != 0) Fill({0, 0, width, height}, fill);
  Touch();
}

void TSkinImage::Clear() noexcept {
  width_ = height_ = 0;
  stride_ = 0;
  bits_.clear();
  Touch();
}

TSkinColour TSkinImage::Pixel(int x, int y) const noexcept {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = Row(y) + x * 3;
  return static_cast<TSkinColour>(p[2]) | (static_cast<TSkinColour>(p[1]) << 8) |
         (static_cast<TSkinColour>(p[0]) << 16);
}

void TSkinImage::SetPixel(int x, int y, TSkinColour colour) noexcept {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* p = Row(y) + x * 3;
  p[0] = static_cast<std::uint8_t>(colour >> 16);
  p[1] = static_cast<std::uint8_t>(colour >> 8);
  p[2] = static_cast<std::uint8_t>(colour);
  Touch();
}

void TSkinImage::Fill(const TSkinRect& rect, TSkinColour colour) noexcept {
  TSkinRect r = Intersect(rect, {0, 0, width_, height_});
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const std::uint8_t b = static_cast<std::uint8_t>(colour >> 16),
                     g = static_cast<std::uint8_t>(colour >> 8),
                     red = static_cast<std::uint8_t>(colour);
  for (int y = r.Top; y < r.Bottom; ++y) {
    std::uint8_t* p = Row(y) + r.Left * 3;
    for (int x = r.Left; x < r.Right; ++x, p += 3) {
      p[0] = b;
      p[1] = g;
      p[2] = red;
    }
  }
  Touch();
}

bool TSkinImage::LoadFromBmp(const std::uint8_t* data, std::size_t size, bool packedDib) {
  Clear();
  TDecodedBmp bmp;
  const TBmpLimits limits{kMaxSide, kMaxPixels};
  if (!(packedDib ? DecodeDib(data, size, bmp, limits) : DecodeBmp(data, size, bmp, limits)))
    return false;
  width_ = bmp.width;
  height_ = bmp.height;
  stride_ = static_cast<std::size_t>(BmpStride(width_, 24));
  if (bmp.bitsPerPixel == 24) {
    bits_ = std::move(bmp.pixels);  // already our layout
  } else {
    // 32-bit rows: the fourth byte is dropped.
    bits_.assign(stride_ * static_cast<std::size_t>(height_), 0);
    const TPixelView src = bmp.View();
    for (int y = 0; y < height_; ++y) {
      std::uint8_t* dst = Row(y);
      for (int x = 0; x < width_; ++x) std::memcpy(dst + x * 3, src.Pixel(x, y), 3);
    }
  }
  Touch();
  return true;
}

std::vector<std::uint8_t> TSkinImage::SaveToBmp() const {
  std::vector<std::uint8_t> out;
  const std::uint32_t dataSize =
      static_cast<std::uint32_t>(stride_ * static_cast<std::size_t>(height_));
  out.push_back('B');
  out.push_back('M');
  PutU32(out, 54 + dataSize);
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width_));
  PutU32(out, static_cast<std::uint32_t>(height_));
  PutU16(out, 1);
  PutU16(out, 24);
  for (std::uint32_t v : {0u, dataSize, 2835u, 2835u, 0u, 0u}) PutU32(out, v);
  for (int y = height_ - 1; y >= 0; --y) out.insert(out.end(), Row(y), Row(y) + stride_);
  return out;
}

void TSkinImage::MirrorHorizontal() noexcept {
  skin::MirrorPixels(ViewOf(*this));
  Touch();
}

void TSkinImage::FlipVertical() noexcept {
  if (Empty()) return;
  skin::FlipPixels(ViewOf(*this));
  Touch();
}

TSkinImage TSkinImage::Turned(bool Clockwise) const {
  TSkinImage turned(height_, width_);
  // Only read from: the view is of this image's own rows.
  if (!Empty()) skin::RotatePixels(ViewOf(const_cast<TSkinImage&>(*this)), ViewOf(turned), Clockwise);
  turned.Touch();
  return turned;
}

void TSkinImage::ReplaceColour(TSkinColour key, TSkinColour colour) noexcept {
  skin::ReplaceColourPixels(ViewOf(*this), key, colour);
  Touch();
}

// ---------------------------------------------------------------------------------------
// Pixel copies

void SkinStretchCopy(TSkinImage& dst, const TSkinRect& dest, const TSkinImage& src,
                     const TSkinRect& source) {
  const int dw = dest.Width(), dh = dest.Height(), sw = source.Width(), sh = source.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || dst.Empty() || src.Empty()) return;
  TSkinRect visible = Intersect(dest, {0, 0, dst.Width(), dst.Height()});
  if (visible.Width() <= 0 || visible.Height() <= 0) return;
  // Source column of each visible destination column: the pixel under its centre.
  std::vector<int> columns(static_cast<std::size_t>(visible.Width()));
  for (int x = visible.Left; x < visible.Right; ++x) {
    std::int64_t dx = x - dest.Left;
    columns[static_cast<std::size_t>(x - visible.Left)] =
        source.Left + static_cast<int>(((2 * dx + 1) * sw) / (2 * static_cast<std::int64_t>(dw)));
  }
  for (int y = visible.Top; y < visible.Bottom; ++y) {
    std::int64_t dy = y - dest.Top;
    int sy =
        source.Top + static_cast<int>(((2 * dy + 1) * sh) / (2 * static_cast<std::int64_t>(dh)));
    if (sy < 0 || sy >= src.Height()) continue;
    const std::uint8_t* srow = src.Row(sy);
    std::uint8_t* d = dst.Row(y) + visible.Left * 3;
    for (int x = visible.Left; x < visible.Right; ++x, d += 3) {
      int sx = columns[static_cast<std::size_t>(x - visible.Left)];
      if (sx < 0 || sx >= src.Width()) continue;
      const std::uint8_t* s = srow + sx * 3;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  dst.Touch();
}

void SkinTileCopy(TSkinImage& dst, const TSkinRect& dest, const TSkinImage& src,
                  const TSkinRect& source) {
  const int w = source.Width(), h = source.Height();
  for (const TSkinPoint& p : SkinTilePositions(dest, w, h))
    SkinStretchCopy(dst, {p.X, p.Y, p.X + w, p.Y + h}, src, source);
}

void SkinKeyedCopy(TSkinImage& dst, int x, int y, const TSkinImage& src, TSkinColour key) {
  // Past the far edges there is nothing to copy (and the sums below could overflow).
  if (x >= dst.Width() || y >= dst.Height()) return;
  const TSkinRect visible =
      Intersect({x, y, x + src.Width(), y + src.Height()}, {0, 0, dst.Width(), dst.Height()});
  if (visible.Width() <= 0 || visible.Height() <= 0) return;
  const std::uint8_t kb = static_cast<std::uint8_t>(key >> 16),
                     kg = static_cast<std::uint8_t>(key >> 8), kr = static_cast<std::uint8_t>(key);
  for (int dy = visible.Top; dy < visible.Bottom; ++dy) {
    const std::uint8_t* s = src.Row(dy - y) + (visible.Left - x) * 3;
    std::uint8_t* d = dst.Row(dy) + visible.Left * 3;
    for (int dx = visible.Left; dx < visible.Right; ++dx, s += 3, d += 3) {
      if (s[0] == kb && s[1] == kg && s[2] == kr) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  dst.Touch();
}

void SkinComposeNineSliceInto(TSkinImage& result, int width, int height, const TSkinImage& source,
                              const TSkinMargins& margins, int frameIndex, int frameCount,
                              bool tile, bool vertical) {
  if (width <= 0 || height <= 0 || source.Empty() || !TSkinImage::Fits(width, height)) {
    result.Clear();
    return;
  }
  if (result.Width() != width || result.Height() != height) result.SetSize(width, height);
  TSkinFrame frame =
      SkinFrameRect(source.Width(), source.Height(), frameIndex, frameCount, vertical);
  for (const TSkinPiece& piece : SkinNineSlicePieces(width, height, frame, margins, tile)) {
    if (piece.Tiled)
      SkinTileCopy(result, piece.Dest, source, piece.Source);
    else
      SkinStretchCopy(result, piece.Dest, source, piece.Source);
  }
}

void SkinPaintNineSlice(TSkinImage& dst, const TSkinRect& dest, const TSkinImage& source,
                        const TSkinMargins& margins, int frameIndex, int frameCount, bool tile,
                        bool vertical) {
  const int width = dest.Width(), height = dest.Height();
  if (width <= 0 || height <= 0 || source.Empty() || dst.Empty()) return;
  TSkinFrame frame =
      SkinFrameRect(source.Width(), source.Height(), frameIndex, frameCount, vertical);
  for (TSkinPiece piece : SkinNineSlicePieces(width, height, frame, margins, tile)) {
    piece.Dest = {piece.Dest.Left + dest.Left, piece.Dest.Top + dest.Top,
                  piece.Dest.Right + dest.Left, piece.Dest.Bottom + dest.Top};
    if (!piece.Tiled) {
      SkinStretchCopy(dst, piece.Dest, source, piece.Source);
      continue;
    }
    const int w = piece.Source.Width(), h = piece.Source.Height();
    for (const TSkinPoint& p : SkinTilePositions(piece.Dest, w, h)) {
      // 1:1 copies: cutting the destination to `dest` cuts the source alike.
      TSkinRect d = Intersect({p.X, p.Y, p.X + w, p.Y + h}, dest);
      if (d.Width() <= 0 || d.Height() <= 0) continue;
      TSkinRect s{piece.Source.Left + d.Left - p.X, piece.Source.Top + d.Top - p.Y, 0, 0};
      s.Right = s.Left + d.Width();
      s.Bottom = s.Top + d.Height();
      SkinStretchCopy(dst, d, source, s);
    }
  }
}

TSkinImage SkinComposeNineSlice(int width, int height, const TSkinImage& source,
                                const TSkinMargins& margins, int frameIndex, int frameCount,
                                bool tile, bool vertical) {
  TSkinImage result;
  SkinComposeNineSliceInto(result, width, height, source, margins, frameIndex, frameCount, tile,
                           vertical);
  return result;
}

std::vector<TSkinRect> SkinRegionRuns(const TSkinImage& source, int offsetX, int offsetY,
                                      TSkinColour key, std::uint8_t toleranceRed,
                                      std::uint8_t toleranceGreen, std::uint8_t toleranceBlue) {
  const int kr = static_cast<int>(key & 0xFF), kg = static_cast<int>((key >> 8) & 0xFF),
            kb = static_cast<int>((key >> 16) & 0xFF);
  const int hr = std::min(kr + toleranceRed, 255), hg = std::min(kg + toleranceGreen, 255),
            hb = std::min(kb + toleranceBlue, 255);
  std::vector<TSkinRect> runs;
  for (int y = 0; y < source.Height(); ++y) {
    const std::uint8_t* p = source.Row(y);
    int x = 0;
    const int w = source.Width();
    auto keyed = [&](int at) {
      const std::uint8_t* q = p + at * 3;
      return q[2] >= kr && q[2] <= hr && q[1] >= kg && q[1] <= hg && q[0] >= kb && q[0] <= hb;
    };
    while (x < w) {
      while (x < w && keyed(x)) ++x;
      int start = x;
      while (x < w && !keyed(x)) ++x;
      if (x > start) runs.push_back({start + offsetX, y + offsetY, x + offsetX, y + offsetY + 1});
    }
  }
  return runs;
}

std::vector<TSkinRect> SkinMergeRows(const std::vector<TSkinRect>& runs) {
  std::vector<TSkinRect> merged;
  std::size_t previous = 0, previousCount = 0;  // the last row's rectangles in `merged`
  for (std::size_t i = 0; i < runs.size();) {
    std::size_t j = i;
    while (j < runs.size() && runs[j].Top == runs[i].Top) ++j;
    const std::size_t count = j - i;
    bool same = count == previousCount && previousCount > 0 && merged[previous].Bottom == runs[i].Top;
    for (std::size_t k = 0; same && k < count; ++k)
      same = merged[previous + k].Left == runs[i + k].Left && merged[previous + k].Right == runs[i + k].Right;
    if (same) {
      for (std::size_t k = 0; k < count; ++k) merged[previous + k].Bottom = runs[i + k].Bottom;
    } else {
      previous = merged.size();
      previousCount = count;
      merged.insert(merged.end(), runs.begin() + std::ptrdiff_t(i), runs.begin() + std::ptrdiff_t(j));
    }
    i = j;
  }
  return merged;
}
