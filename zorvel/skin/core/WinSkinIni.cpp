#include "WinSkinIni.h"

#include <algorithm>

#include "SkinRead.h"

namespace {

bool SameTextAscii(const std::string& a, const std::string& b) {
  return a.size() == b.size() && SkinLowerCase(a) == SkinLowerCase(b);
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

bool IsBracketed(const std::string& s) {
  return s.size() >= 2 && s.front() == '[' && s.back() == ']';
}

}  // namespace

std::string SkinTrim(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

bool SkinStrToInt(const std::string& text, std::int32_t& value) {
  if (text.empty()) return false;
  if (text[0] == '$') {
    std::size_t i = 1;
    if (i == text.size()) return false;
    while (i < text.size() && text[i] == '0') ++i;
    if (text.size() - i > 8) return false;
    std::uint32_t v = 0;
    for (; i < text.size(); ++i) {
      char c = text[i];
      int d = (c >= '0' && c <= '9')   ? c - '0'
              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                       : -1;
      if (d < 0) return false;
      v = v << 4 | static_cast<std::uint32_t>(d);
    }
    value = static_cast<std::int32_t>(v);
    return true;
  }
  std::size_t i = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    ++i;
  }
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

void TQuickIni::LoadFromStream(TStream* stream) {
  if (!stream) return;
  std::string text(stream->Remaining(), '\0');
  std::size_t n = stream->Read(text.data(), text.size());
  LoadFromText(text.data(), n);
}

void TQuickIni::LoadFromText(const char* text, std::size_t length) {
  lines_.clear();
  sections_.clear();
  for (const std::string& raw : SkinSplitLines(text, length)) {
    std::string line = SkinTrim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (IsBracketed(line)) sections_.emplace_back(line, static_cast<int>(lines_.size()));
    lines_.push_back(std::move(line));
  }
}

int TQuickIni::SectionIndex(const std::string& name) const {
  const std::string wanted = "[" + name + "]";
  for (const auto& [line, index] : sections_)
    if (SameTextAscii(line, wanted)) return index;
  return -1;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
  const std::string wanted = SkinLowerCase(key);
  int at = lines_.empty() ? -1 : SectionIndex(section);
  if (at < 0) return defaultValue;
  for (std::size_t i = static_cast<std::size_t>(at) + 1; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (IsBracketed(line)) break;
    if (KeyOfLine(line) != wanted) continue;
    std::size_t eq = line.find('=');
    std::string value = eq == std::string::npos ? std::string() : SkinTrim(line.substr(eq + 1));
    return value.empty() ? defaultValue : value;
  }
  return defaultValue;
}

std::int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key,
                                    std::int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text = "$" + text.substr(2);
  std::int32_t value;
  return SkinStrToInt(text, value) ? value : defaultValue;
}

void TQuickIni::ReadSections(TStringList& list) const {
  list.Clear();
  for (const auto& section : sections_)
    list.Add(SkinTrim(section.first.substr(1, section.first.size() - 2)));
}

std::string TQuickIni::KeyOfLine(const std::string& line) {
  std::size_t eq = line.find('=');
  if (eq == std::string::npos) return std::string();
  return SkinLowerCase(SkinTrim(line.substr(0, eq)));
}

std::string TQuickIni::ValueOfLine(const std::string& line, const std::string& key) {
  if (line.empty() || key.empty()) return std::string();
  std::size_t eq = line.find('=');
  if (eq == std::string::npos || KeyOfLine(line) != key) return std::string();
  return SkinTrim(line.substr(eq + 1));
}

bool TQuickIni::IsSectionLine(const std::string& line) {
  return !line.empty() && IsBracketed(SkinTrim(line));
}
