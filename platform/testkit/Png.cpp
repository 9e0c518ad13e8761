#include "Png.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace testkit {
namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

std::uint32_t GetU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4],
              const std::vector<std::uint8_t>& data) {
  PutU32(out, std::uint32_t(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutU32(out, Crc32(out.data() + start, out.size() - start));
}

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kMaxStored = 65535;

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = CrcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint8_t* rgb,
                                    std::size_t stride) {
  std::vector<std::uint8_t> out(kSignature, kSignature + 8);

  std::vector<std::uint8_t> header;
  PutU32(header, std::uint32_t(width));
  PutU32(header, std::uint32_t(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  PutChunk(out, "IHDR", header);

  // Raw scanlines, each behind filter type 0.
  std::vector<std::uint8_t> raw;
  raw.reserve(std::size_t(height) * (std::size_t(width) * 3 + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const std::uint8_t* row = rgb + std::size_t(y) * stride;
    raw.insert(raw.end(), row, row + std::size_t(width) * 3);
  }

  // A zlib stream of stored blocks.
  std::vector<std::uint8_t> z = {0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  std::size_t pos = 0;
  do {
    const std::size_t n = std::min(kMaxStored, raw.size() - pos);
    const bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(std::uint8_t(n));
    z.push_back(std::uint8_t(n >> 8));
    z.push_back(std::uint8_t(~n));
    z.push_back(std::uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
  } while (pos < raw.size());
  PutU32(z, b << 16 | a);
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});
  return out;
}

bool DecodeStoredPng(const std::vector<std::uint8_t>& png, int& width, int& height,
                     std::vector<std::uint8_t>& rgb) {
  if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0) return false;
  std::vector<std::uint8_t> z;
  width = height = 0;
  std::size_t pos = 8;
  while (pos + 12 <= png.size()) {
    const std::uint32_t len = GetU32(&png[pos]);
    if (len > png.size() - pos - 12) return false;
    const std::uint8_t* type = &png[pos + 4];
    const std::uint8_t* data = &png[pos + 8];
    if (Crc32(type, len + 4) != GetU32(data + len)) return false;
    if (std::memcmp(type, "IHDR", 4) == 0 && len == 13) {
      width = int(GetU32(data));
      height = int(GetU32(data + 4));
      if (data[8] != 8 || data[9] != 2) return false;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      z.insert(z.end(), data, data + len);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      break;
    }
    pos += 12 + len;
  }
  if (width <= 0 || height <= 0 || z.size() < 6) return false;
  std::vector<std::uint8_t> raw;
  std::size_t p = 2;
  for (;;) {
    if (p + 5 > z.size()) return false;
    const bool last = z[p] & 1;
    if ((z[p] & 6) != 0) return false;  // only stored blocks
    const std::size_t n = z[p + 1] | z[p + 2] << 8;
    p += 5;
    if (p + n > z.size()) return false;
    raw.insert(raw.end(), z.begin() + p, z.begin() + p + n);
    p += n;
    if (last) break;
  }
  const std::size_t row = std::size_t(width) * 3 + 1;
  if (raw.size() != row * std::size_t(height)) return false;
  rgb.clear();
  for (int y = 0; y < height; ++y) {
    if (raw[y * row] != 0) return false;
    rgb.insert(rgb.end(), raw.begin() + y * row + 1, raw.begin() + (y + 1) * row);
  }
  return true;
}

}  // namespace testkit
