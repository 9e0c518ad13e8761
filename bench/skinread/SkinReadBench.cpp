// Packs a skin of about 1 MB of bitmaps with the packer, then unpacks it through the
// archive reader, lists it and fetches every entry, and prints the figures; then unpacks
// each of the five shipped skins. Medians of eleven rounds.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "SkinPack.h"
#include "SkinRead.h"
#include "BenchKit.h"

namespace {

void PutLE(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
}

// A 24-bit bottom-up BMP that looks like skin artwork: frames side by side, each a
// vertical gradient with a flat face, a darker border, a magenta key in the corners and
// a little dither noise.
std::string SkinBitmap(int width, int height, int frames, std::mt19937& rng) {
  const int stride = (width * 3 + 3) & ~3;
  std::string bmp = "BM";
  PutLE(bmp, 54 + stride * height, 4);
  PutLE(bmp, 0, 4);
  PutLE(bmp, 54, 4);
  PutLE(bmp, 40, 4);
  PutLE(bmp, width, 4);
  PutLE(bmp, height, 4);
  PutLE(bmp, 1, 2);
  PutLE(bmp, 24, 2);
  PutLE(bmp, 0, 4);
  PutLE(bmp, stride * height, 4);
  for (int i = 0; i < 4; ++i) PutLE(bmp, 0, 4);
  const int frameWidth = std::max(1, width / frames);
  const int base = static_cast<int>(rng() % 160) + 60;
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      int fx = x % frameWidth, frame = x / frameWidth;
      int r, g, b;
      if ((fx < 2 || fx >= frameWidth - 2) && (y < 2 || y >= height - 2)) {
        r = 255, g = 0, b = 255;
      } else if (fx == 0 || fx == frameWidth - 1 || y == 0 || y == height - 1) {
        r = g = b = base / 3;
      } else {
        int shade = base + frame * 12 - y * 40 / std::max(1, height);
        int noise = (rng() % 8 == 0) ? static_cast<int>(rng() % 3) - 1 : 0;
        r = std::clamp(shade + noise, 0, 255);
        g = std::clamp(shade + 10 + noise, 0, 255);
        b = std::clamp(shade + 30 + noise, 0, 255);
      }
      row += static_cast<char>(b);
      row += static_cast<char>(g);
      row += static_cast<char>(r);
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    bmp += row;
  }
  return bmp;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

constexpr int kRounds = 11;

struct Figures {
  bool loaded = false;
  std::size_t unpacked = 0, fetched = 0;
  double unpack = 0, list = 0, fetch = 0;  // medians, seconds
};

// Unpacks `packed` through the archive reader, lists its names and fetches every entry.
Figures Measure(const std::vector<std::uint8_t>& packed) {
  TMemoryStream in;
  in.Write(packed.data(), packed.size());
  Figures f;
  std::vector<double> unpacks, lists, fetches;
  for (int round = 0; round < kRounds; ++round) {
    TSkinReader reader;
    auto t0 = std::chrono::steady_clock::now();
    if (!reader.LoadFromStream(in)) return f;
    auto t1 = std::chrono::steady_clock::now();
    std::vector<std::string> names;
    for (std::size_t k = 0; k < reader.Names.Count(); ++k) names.push_back(reader.Names[k]);
    auto t2 = std::chrono::steady_clock::now();
    TMemoryStream entry;
    f.fetched = 0;
    for (const std::string& name : names) {
      reader.GetEntry(name, entry);
      f.fetched += entry.Size();
    }
    std::string iniName;
    reader.FindEntry(".ini", entry, iniName);
    auto t3 = std::chrono::steady_clock::now();
    unpacks.push_back(Seconds(t1 - t0));
    lists.push_back(Seconds(t2 - t1));
    fetches.push_back(Seconds(t3 - t2));
    f.unpacked = reader.Payload.Size() + 16 + static_cast<std::size_t>(reader.NamesLength) +
                 4 * reader.Count();
  }
  f.loaded = true;
  f.unpack = bench::Median(unpacks);
  f.list = bench::Median(lists);
  f.fetch = bench::Median(fetches);
  return f;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main() {
  std::mt19937 rng(20000);
  std::vector<skinpack::Entry> entries;
  std::string ini = "[Personality]\r\n";
  std::size_t bitmapBytes = 0;
  for (int i = 0; bitmapBytes < 1000000; ++i) {
    int frames = 1 + static_cast<int>(rng() % 6);
    int width = frames * (8 + static_cast<int>(rng() % 60));
    int height = 8 + static_cast<int>(rng() % 40);
    std::string name = "element" + std::to_string(i) + ".bmp";
    entries.push_back({name, SkinBitmap(width, height, frames, rng)});
    bitmapBytes += entries.back().data.size();
    ini += "Image" + std::to_string(i) + "=" + name + "\r\n";
  }
  entries.insert(entries.begin() + static_cast<long>(entries.size() / 2), {"Skin.ini", ini});
  std::vector<std::uint8_t> packed = skinpack::PackArchive(entries);

  const Figures f = Measure(packed);
  if (!f.loaded) {
    std::printf("the benchmark skin was refused\n");
    return 1;
  }
  std::printf("skin: %zu entries, %zu bytes of bitmaps, %zu bytes packed, %zu unpacked\n",
              entries.size(), bitmapBytes, packed.size(), f.unpacked);
  std::printf(
      "unpack (decode + container): %.2f ms, %.1f MB/s of unpacked output (target >= 300)\n",
      f.unpack * 1e3, f.unpacked / f.unpack / 1e6);
  std::printf("list %zu names: %.3f ms\n", entries.size(), f.list * 1e3);
  std::printf("fetch every entry (%zu bytes): %.3f ms\n", f.fetched, f.fetch * 1e3);
  std::printf("unpack, list and fetch: %.2f ms (medians of %d rounds)\n",
              (f.unpack + f.list + f.fetch) * 1e3, kRounds);

  for (int n = 0; n < 5; ++n) {
    const std::string name = "SkinItem" + std::to_string(n);
    const std::vector<std::uint8_t> shipped =
        ReadFile(std::string(ZV_SKINS_DIR) + "/packed/" + name + ".skn");
    const Figures s = Measure(shipped);
    if (!s.loaded) {
      std::printf("%s: refused\n", name.c_str());
      return 1;
    }
    std::printf("%s: %zu bytes packed, %zu unpacked, unpack %.3f ms, %.1f MB/s\n", name.c_str(),
                shipped.size(), s.unpacked, s.unpack * 1e3, s.unpacked / s.unpack / 1e6);
  }
  return 0;
}
