// Input: one mode byte, then either a packed archive (even mode) or an unpacked
// container (odd mode), which is packed here so that the container rules are reached.
// Every entry is fetched and the description is read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "LzhEncode.h"
#include "SkinRead.h"
#include "WinSkinIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool container = data[0] & 1;
  std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);

  TMemoryStream packed;
  if (container) {
    std::vector<std::uint8_t> bytes = skinpack::PackBytes(body);
    packed.Write(bytes.data(), bytes.size());
  } else {
    packed.Write(body.data(), body.size());
  }

  TSkinReader reader;
  if (!reader.LoadFromStream(packed)) return 0;
  std::size_t total = 0;
  TMemoryStream entry;
  for (std::size_t k = 0; k < reader.Names.Count(); ++k) {
    reader.GetEntry(reader.Names[k], entry);
    total += entry.Size();
  }
  if (total > reader.Payload.Size() * reader.Names.Count() + 1) __builtin_trap();
  std::string name;
  reader.FindEntry(".ini", entry, name);
  TQuickIni ini;
  ini.LoadFromStream(&entry);
  TStringList sections;
  ini.ReadSections(sections);
  for (const std::string& s : sections.Items()) ini.ReadInteger(s, "Frame", 1);
  return 0;
}
