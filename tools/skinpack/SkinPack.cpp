#include "SkinPack.h"

#include <fstream>
#include <iterator>

#include "LzhEncode.h"

namespace skinpack {
namespace {
void PutInt32(std::string& out, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
}  // namespace

std::string BuildContainer(const std::vector<Entry>& entries, std::int32_t version) {
  std::string names;
  for (const Entry& e : entries) names += e.name + "\r\n";
  std::string out;
  PutInt32(out, version);
  PutInt32(out, static_cast<std::int32_t>(names.size()));
  PutInt32(out, 0);
  PutInt32(out, 0);
  out += names;
  for (const Entry& e : entries) PutInt32(out, static_cast<std::int32_t>(e.data.size()));
  for (const Entry& e : entries) out += e.data;
  return out;
}

std::vector<std::uint8_t> PackArchive(const std::vector<Entry>& entries) {
  return PackBytes(BuildContainer(entries));
}

std::vector<Entry> ReadFolder(const std::string& dir) {
  std::vector<Entry> files;
  std::ifstream list(dir + "files.txt");
  for (std::string name; std::getline(list, name);) {
    std::ifstream in(dir + name, std::ios::binary);
    files.push_back({name, {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
  }
  return files;
}

}  // namespace skinpack
