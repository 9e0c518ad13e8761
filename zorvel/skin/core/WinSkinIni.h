// The skin description reader: an INI-style 8-bit text read from a stream, answering
// string and integer lookups by section and key. Read-only; keeps the text in memory.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "forms/Classes.h"
#include "forms/Streams.h"

class TQuickIni : public TObject {
 public:
  // Fills the reader from the bytes between the stream's position and its end (nothing
  // for nil). A 0 byte ends the text.
  void LoadFromStream(TStream* stream);
  void LoadFromText(const char* text, std::size_t length);

  // The index in Lines of the first section line "[" + name + "]" (case ignored), or -1.
  int SectionIndex(const std::string& name) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Decimal, or hexadecimal after "$" or "0x"; the default when the text does not
  // convert to a 32-bit integer.
  std::int32_t ReadInteger(const std::string& section, const std::string& key,
                           std::int32_t defaultValue) const;
  // The section names in text order, brackets removed and trimmed; duplicates stay.
  void ReadSections(TStringList& list) const;

  static std::string KeyOfLine(const std::string& line);
  static std::string ValueOfLine(const std::string& line, const std::string& key);
  static bool IsSectionLine(const std::string& line);

  // The kept lines: trimmed, neither empty nor comments.
  const std::vector<std::string>& Lines() const noexcept { return lines_; }

 private:
  std::vector<std::string> lines_;
  // Each section line with its index in lines_.
  std::vector<std::pair<std::string, int>> sections_;
};

// Trims bytes of code 32 and below at both ends (bytes above 0x7F are kept).
std::string SkinTrim(const std::string& text);
// Converts a decimal text (optional sign) or a "$" hexadecimal text of at most eight
// significant digits (wrapping to a signed value); false when it does not convert.
bool SkinStrToInt(const std::string& text, std::int32_t& value);
