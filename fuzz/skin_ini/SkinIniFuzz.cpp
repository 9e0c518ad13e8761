// Input: a skin description. Every section is listed, and every key of the text is
// looked up in every section, as text and as a number.
#include <cstddef>
#include <cstdint>

#include "WinSkinIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemoryStream stream;
  stream.Write(data, size);
  stream.SetPosition(size ? data[0] % (size + 1) : 0);
  TQuickIni ini;
  ini.LoadFromStream(&stream);

  TStringList sections;
  ini.ReadSections(sections);
  if (sections.Count() > ini.Lines().size()) __builtin_trap();
  sections.Add("");
  // Lookups cost lines x sections x lines: a sample of each keeps a run short.
  const std::size_t kSample = 32;
  for (std::size_t i = 0; i < ini.Lines().size() && i < kSample; ++i) {
    const std::string& line = ini.Lines()[i];
    std::string key = TQuickIni::KeyOfLine(line);
    TQuickIni::ValueOfLine(line, key);
    TQuickIni::IsSectionLine(line);
    for (std::size_t k = 0; k < sections.Count() && k < kSample; ++k) {
      std::string value = ini.ReadString(sections[k], key, "default");
      if (value.empty()) __builtin_trap();  // an empty value gives the default
      ini.ReadInteger(sections[k], key, -7);
    }
  }
  return 0;
}
