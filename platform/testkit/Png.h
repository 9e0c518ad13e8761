// A small PNG writer (stored deflate blocks, no compression library), enough to save
// screenshots of the programs' windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

// rgb: `height` rows of `width` pixels, 3 bytes each (red, green, blue), rows
// `stride` bytes apart. Returns the PNG file's bytes.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint8_t* rgb,
                                    std::size_t stride);

// Decodes what EncodePng writes (stored blocks only); false on anything else.
bool DecodeStoredPng(const std::vector<std::uint8_t>& png, int& width, int& height,
                     std::vector<std::uint8_t>& rgb);

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace testkit
