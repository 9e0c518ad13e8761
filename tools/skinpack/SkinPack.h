// The skin container: version 20000, the names text, one size per entry, the entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skinpack {

struct Entry {
  std::string name;  // as it goes into the names text (the reader lower-cases it)
  std::string data;
};

// The unpacked container of `entries`, in the given order.
std::string BuildContainer(const std::vector<Entry>& entries, std::int32_t version = 20000);

// A whole packed archive of `entries`.
std::vector<std::uint8_t> PackArchive(const std::vector<Entry>& entries);

// The files of a skin folder (ending in "/"), in the order its files.txt lists them.
std::vector<Entry> ReadFolder(const std::string& dir);

}  // namespace skinpack
