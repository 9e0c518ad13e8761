// skinpack: packs a skin description and its bitmaps into one skin archive.
//   skinpack -o OUT FILE...   each FILE is stored under its own file name, in the given order
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "SkinPack.h"

namespace {

int Usage() {
  std::cerr << "usage: skinpack -o OUT FILE...\n"
               "Packs the files, each under its own file name, into the skin archive OUT.\n";
  return 2;
}

std::string BaseName(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  std::string output;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-o" && i + 1 < argc)
      output = argv[++i];
    else if (!arg.empty() && arg[0] == '-')
      return Usage();
    else
      inputs.push_back(arg);
  }
  if (output.empty() || inputs.empty()) return Usage();

  std::vector<skinpack::Entry> entries;
  for (const std::string& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::cerr << "skinpack: cannot read " << path << "\n";
      return 1;
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    entries.push_back({BaseName(path), std::move(data)});
  }
  std::vector<std::uint8_t> archive = skinpack::PackArchive(entries);
  std::ofstream out(output, std::ios::binary);
  out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  if (!out) {
    std::cerr << "skinpack: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}
