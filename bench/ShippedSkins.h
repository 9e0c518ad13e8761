// The shipped skins as the programs carry them: the packed archives of skins/packed, one
// skin store item each. Targets that include this define ZV_SKINS_DIR.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "WinSkinStore.h"

namespace bench {

constexpr int kShippedSkins = 5;

// Adds SkinItem0 to SkinItem4 to the store; false when one cannot be read.
inline bool LoadShippedSkins(TSkinStore& store) {
  for (int n = 0; n < kShippedSkins; ++n) {
    std::ifstream in(std::string(ZV_SKINS_DIR) + "/packed/SkinItem" + std::to_string(n) + ".skn",
                     std::ios::binary);
    const std::string archive((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (archive.empty()) return false;
    store.Store()->Add()->DataStream.Write(archive.data(), archive.size());
  }
  return true;
}

}  // namespace bench
