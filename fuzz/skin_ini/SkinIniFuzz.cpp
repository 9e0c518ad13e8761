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
  for (const std::string& line : ini.Lines()) {
    std::string key = TQuickIni::KeyOfLine(line);
    TQuickIni::ValueOfLine(line, key);
    TQuickIni::IsSectionLine(line);
    for (const std::string& s : sections.Items()) {
      std::string value = ini.ReadString(s, key, "default");
      if (value.empty()) __builtin_trap();  // an empty value gives the default
      ini.ReadInteger(s, key, -7);
    }
    if (sections.Count() * ini.Lines().size() > 20000) break;
  }
  return 0;
}
