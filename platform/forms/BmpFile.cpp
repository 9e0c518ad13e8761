#include "BmpFile.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// One channel of a bit-field pixel, scaled to 8 bits. Only the lowest run of set bits
// counts, so that a mask with holes or of any width cannot push a value past 255.
struct Field {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;  // the channel's full value
  explicit Field(std::uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    int bits = 0;
    while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
    max = (std::uint64_t(1) << bits) - 1;
  }
  std::uint8_t Get(std::uint32_t pixel) const {
    if (!max) return 0;
    const std::uint64_t v = ((pixel & mask) >> shift) & max;
    // Rounded, so that all ones stays all ones and short channels spread evenly.
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

constexpr std::uint32_t BI_RGB = 0, BI_BITFIELDS = 3;
constexpr std::size_t kFileHeaderSize = 14;

// The packed bitmap at `dib`; its rows start at `bitsAt` when `haveBitsAt`, else right
// behind the masks and the colour table. `out` is written only on success.
bool DecodePacked(const std::uint8_t* dib, std::size_t size, bool haveBitsAt, std::size_t bitsAt,
                  const TBmpLimits& limits, TDecodedBmp& out) {
  if (size < 12) return false;
  const std::uint32_t headerSize = U32(dib);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124)
    return false;
  if (size < headerSize) return false;
  const std::uint8_t* h = dib;

  std::int64_t width, height;
  int planes, bpp;
  std::uint32_t compression = BI_RGB, colorsUsed = 0;
  if (core) {
    // Unsigned here: the small header knows no top-down rows.
    width = U16(h + 4);
    height = U16(h + 6);
    planes = U16(h + 8);
    bpp = U16(h + 10);
  } else {
    width = static_cast<std::int32_t>(U32(h + 4));
    height = static_cast<std::int32_t>(U32(h + 8));
    planes = U16(h + 12);
    bpp = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  const std::int64_t maxSide = std::min(limits.maxSide, kMaxBmpDimension);
  const std::int64_t maxPixels = std::min(limits.maxPixels, kMaxBmpPixels);
  if (planes != 1 || width <= 0 || height <= 0 || width > maxSide || height > maxSide ||
      width * height > maxPixels)
    return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bpp == 16 || bpp == 32)))
    return false;

  // Bit fields: in the header from 52 bytes on, else three words after it.
  std::size_t tableAt = headerSize;
  std::uint32_t masks[3] = {0, 0, 0};
  if (compression == BI_BITFIELDS) {
    if (headerSize == 40) {
      if (size < tableAt + 12) return false;
      for (int i = 0; i < 3; ++i) masks[i] = U32(dib + tableAt + 4 * i);
      tableAt += 12;
    } else {
      for (int i = 0; i < 3; ++i) masks[i] = U32(h + 40 + 4 * i);
    }
  } else if (bpp == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (bpp == 32) {
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  }

  // The palette: at most 2^bpp entries, all inside the data.
  std::vector<std::uint8_t> palette;  // blue, green, red per entry
  const std::size_t entrySize = core ? 3 : 4;
  std::size_t tableEnd = tableAt;
  if (bpp <= 8) {
    const std::uint32_t most = 1u << bpp;
    const std::uint32_t count = colorsUsed ? colorsUsed : most;
    if (count > most) return false;
    if (size < tableAt || (size - tableAt) / entrySize < count) return false;
    palette.resize(static_cast<std::size_t>(most) * 3, 0);  // missing entries are black
    for (std::uint32_t i = 0; i < count; ++i)
      std::memcpy(&palette[i * 3], dib + tableAt + i * entrySize, 3);
    tableEnd = tableAt + count * entrySize;
  } else if (!haveBitsAt && colorsUsed) {
    // A table beside direct colours only helps palette devices; the rows follow it.
    if (size < tableAt || (size - tableAt) / entrySize < colorsUsed) return false;
    tableEnd = tableAt + colorsUsed * entrySize;
  }
  if (!haveBitsAt) bitsAt = tableEnd;

  const std::ptrdiff_t srcStride = BmpStride(static_cast<int>(width), bpp);
  if (bitsAt > size ||
      static_cast<std::uint64_t>(srcStride) * static_cast<std::uint64_t>(height) > size - bitsAt)
    return false;

  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.bitsPerPixel = bpp == 32 ? 32 : 24;
  out.stride = BmpStride(out.width, out.bitsPerPixel);
  out.pixels.assign(static_cast<std::size_t>(out.stride * out.height), 0);
  const Field red(masks[0]), green(masks[1]), blue(masks[2]);

  for (int y = 0; y < out.height; ++y) {
    const std::uint8_t* src = dib + bitsAt + srcStride * (topDown ? y : out.height - 1 - y);
    std::uint8_t* dst = out.pixels.data() + out.stride * y;
    for (int x = 0; x < out.width; ++x) {
      std::uint8_t* px = dst + x * (out.bitsPerPixel / 8);
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          const int perByte = 8 / bpp;
          const int byte = src[x / perByte];
          const int shift = 8 - bpp * (x % perByte + 1);
          const int index = (byte >> shift) & ((1 << bpp) - 1);
          std::memcpy(px, &palette[static_cast<std::size_t>(index) * 3], 3);
          break;
        }
        case 16: {
          std::uint32_t v = U16(src + 2 * x);
          px[0] = blue.Get(v), px[1] = green.Get(v), px[2] = red.Get(v);
          break;
        }
        case 24:
          std::memcpy(px, src + 3 * x, 3);
          break;
        case 32: {
          std::uint32_t v = U32(src + 4 * x);
          if (compression == BI_RGB) {
            std::memcpy(px, src + 4 * x, 4);
          } else {
            px[0] = blue.Get(v), px[1] = green.Get(v), px[2] = red.Get(v), px[3] = 0;
          }
          break;
        }
      }
    }
  }
  return true;
}

}  // namespace

bool DecodeBmp(const std::uint8_t* data, std::size_t size, TDecodedBmp& out,
               const TBmpLimits& limits) {
  out = TDecodedBmp();
  if (!data || size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') return false;
  // The offset counts from the start of the file; rows inside the file header are nonsense.
  const std::uint32_t offBits = U32(data + 10);
  if (offBits < kFileHeaderSize) return false;
  return DecodePacked(data + kFileHeaderSize, size - kFileHeaderSize, true,
                      offBits - kFileHeaderSize, limits, out);
}

bool DecodeDib(const std::uint8_t* data, std::size_t size, TDecodedBmp& out,
               const TBmpLimits& limits) {
  out = TDecodedBmp();
  return data && DecodePacked(data, size, false, 0, limits, out);
}
