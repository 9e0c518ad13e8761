// The LZHUF encoder of the skin packer: the exact mirror of the program's decoder, with
// its own copy of the adaptive tree so that a fault in one does not hide in the other.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace skinpack {

struct EncodeOptions {
  // Literal-only output (no matches) exercises the tree alone.
  bool literalsOnly = false;
  // Longest match tried (3..60).
  int maxMatch = 60;
};

// The LZHUF stream of `data`, without a count in front.
std::vector<std::uint8_t> LzhEncode(std::string_view data, const EncodeOptions& options = {});

// A packed archive body: the 32-bit little-endian count followed by the LZHUF stream.
std::vector<std::uint8_t> PackBytes(std::string_view data, const EncodeOptions& options = {});

}  // namespace skinpack
