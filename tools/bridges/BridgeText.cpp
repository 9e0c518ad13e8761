#include "BridgeText.h"

#include <cstdio>
#include <cstdlib>

namespace bridge {
namespace {

// The value after the last "key=" that starts a line, up to the line's end.
std::optional<std::string_view> LastValue(std::string_view text, std::string_view key) {
  std::size_t at = text.size();
  while (at > 0) {
    std::size_t found = text.rfind(key, at - 1);
    if (found == std::string_view::npos) return std::nullopt;
    if (found == 0 || text[found - 1] == '\n') {
      std::size_t start = found + key.size();
      std::size_t end = text.find('\n', start);
      // A report still being written has no line end yet: not complete.
      if (end == std::string_view::npos) {
        at = found;
        continue;
      }
      std::string_view value = text.substr(start, end - start);
      if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
      return value;
    }
    at = found;
  }
  return std::nullopt;
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char16_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
        static_cast<char16_t>(text[i + 1]) >= 0xDC00 &&
        static_cast<char16_t>(text[i + 1]) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string ShellQuote(std::string_view arg) {
  std::string out = "'";
  for (char c : arg) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  out += '\'';
  return out;
}

std::wstring QuoteWindowsArg(std::wstring_view arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    return std::wstring(arg);
  }
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');  // before the closing quote
  out += L'"';
  return out;
}

bool LooksLikeWindowsPath(std::wstring_view arg) {
  if (arg.size() >= 3 &&
      ((arg[0] >= L'A' && arg[0] <= L'Z') || (arg[0] >= L'a' && arg[0] <= L'z')) &&
      arg[1] == L':' && (arg[2] == L'\\' || arg[2] == L'/')) {
    return true;
  }
  return arg.size() > 2 && arg[0] == L'\\' && arg[1] == L'\\';
}

std::optional<double> LastOutTime(std::string_view progress) {
  std::optional<std::string_view> value = LastValue(progress, "out_time_us=");
  if (!value || !AllDigits(*value)) return std::nullopt;  // "N/A", or negative at start
  return std::strtod(std::string(*value).c_str(), nullptr) / 1e6;
}

bool ProgressEnded(std::string_view progress) {
  std::optional<std::string_view> value = LastValue(progress, "progress=");
  return value && *value == "end";
}

std::optional<double> InputDuration(std::string_view log) {
  std::size_t at = log.find("Duration: ");
  if (at == std::string_view::npos) return std::nullopt;
  std::string rest(log.substr(at + 10, 16));
  int h = 0, m = 0;
  double s = 0;
  if (std::sscanf(rest.c_str(), "%d:%d:%lf", &h, &m, &s) != 3) return std::nullopt;
  if (h < 0 || m < 0 || s < 0) return std::nullopt;
  return h * 3600.0 + m * 60.0 + s;
}

int PerMille(double done, std::optional<double> total) {
  if (!total || *total <= 0 || !(done > 0)) return 0;
  double value = done / *total * 1000.0;
  if (value >= 999) return 999;
  return static_cast<int>(value);
}

std::string ReleaseTimeLine(double seconds) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "ffmpeg_release_time=%.2f=ffmpeg_release_time",
                seconds < 0 ? 0.0 : seconds);
  return buffer;
}

ProbeArgs SplitProbeArgs(const std::vector<std::wstring>& args) {
  ProbeArgs out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    if (a == L"2>&1") {
      out.mergeStderr = true;
    } else if (a == L"|grep" || a == L"|") {
      // "| grep X" or "|grep X": the rest is the filter; only its pattern counts.
      std::size_t p = i + 1;
      if (a == L"|" && p < args.size() && args[p] == L"grep") ++p;
      if (p < args.size()) {
        out.grep = ToUtf8(args[p]);
      }
      break;
    } else {
      out.args.push_back(a);
    }
  }
  return out;
}

std::string Tail(std::string_view log, std::size_t maxBytes) {
  if (log.size() <= maxBytes) return std::string(log);
  std::size_t start = log.size() - maxBytes;
  if (log[start - 1] != '\n') {
    std::size_t line = log.find('\n', start);
    if (line != std::string_view::npos) start = line + 1;
  }
  return std::string(log.substr(start));
}

std::vector<std::string> TakeLines(std::string& carry, std::string_view more) {
  std::vector<std::string> lines;
  carry.append(more);
  std::size_t start = 0;
  for (std::size_t i = 0; i < carry.size(); ++i) {
    if (carry[i] == '\n' || carry[i] == '\r') {
      // Empty lines (and the second half of a split "\r\n") carry nothing.
      if (i > start) lines.emplace_back(carry, start, i - start);
      start = i + 1;
    }
  }
  carry.erase(0, start);
  return lines;
}

}  // namespace bridge
