// The shipped skins as the programs carry them: the packed archives of skins/packed, one
// skin store item each. Targets that include this define ZV_SKINS_DIR.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "WinSkinStore.h"

namespace bench {

constexpr int kShippedSkins = 5;

// The packed archive of SkinItem<n>; empty when it cannot be read.
inline std::string ShippedSkin(int n) {
  std::ifstream in(std::string(ZV_SKINS_DIR) + "/packed/SkinItem" + std::to_string(n) + ".skn",
                   std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Loads SkinItem<n> into a skin data component; false when it cannot.
template <class TData>
bool LoadShippedSkin(int n, TData& data) {
  const std::string archive = ShippedSkin(n);
  data.SkinStream.Write(archive.data(), archive.size());
  return !archive.empty() && data.LoadSkinStream();
}

// Adds SkinItem0 to SkinItem4 to the store; false when one cannot be read.
inline bool LoadShippedSkins(TSkinStore& store) {
  for (int n = 0; n < kShippedSkins; ++n) {
    const std::string archive = ShippedSkin(n);
    if (archive.empty()) return false;
    store.Store()->Add()->DataStream.Write(archive.data(), archive.size());
  }
  return true;
}

}  // namespace bench
