#include "Script.h"

#include <cstdio>

namespace testchild {
namespace {
// A small generator with a fixed sequence on every platform.
struct Random {
  std::uint32_t state;
  std::uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void Generate(int lines, std::uint32_t seed, std::string* output, std::vector<std::string>* list) {
  static const char kEndings[3][3] = {"\n", "\r\n", "\r"};
  Random r{seed};
  for (int i = 0; i < lines; ++i) {
    std::string line = std::to_string(i) + ':';
    const int extra = int(r.Next() % 120);
    for (int k = 0; k < extra; ++k) line += char('a' + r.Next() % 26);
    if (output) {
      *output += line;
      *output += kEndings[i % 3];
    }
    if (list) list->push_back(std::move(line));
  }
}
}  // namespace

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    if (c == 'r') out += '\r';
    else if (c == 'n') out += '\n';
    else if (c == '0') out += '\0';
    else if (c == '\\') out += '\\';
    else if (c == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
             HexDigit(text[i + 2]) >= 0) {
      out += char(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += '\\';
      out += c;
    }
  }
  return out;
}

std::string GeneratedOutput(int lines, std::uint32_t seed) {
  std::string out;
  Generate(lines, seed, &out, nullptr);
  return out;
}

std::vector<std::string> GeneratedLines(int lines, std::uint32_t seed) {
  std::vector<std::string> list;
  Generate(lines, seed, nullptr, &list);
  return list;
}

std::string FixedLine(int i) {
  char line[64];
  std::snprintf(line, sizeof line, "line %010d ..........................................", i);
  return std::string(line, 58);
}

std::string UnendedText(std::size_t n) {
  std::string text(n, 'a');
  for (std::size_t i = 0; i < n; ++i) text[i] = char('a' + i % 26);
  return text;
}

std::vector<std::size_t> ChunkSizes(std::size_t total, std::uint32_t seed) {
  Random r{seed ^ 0x5EEDu};
  std::vector<std::size_t> sizes;
  while (total > 0) {
    std::size_t n = 1 + r.Next() % 8000;
    if (n > total) n = total;
    sizes.push_back(n);
    total -= n;
  }
  return sizes;
}

}  // namespace testchild
