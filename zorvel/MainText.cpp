#include "MainText.h"

#include <algorithm>
#include <cfenv>
#include <climits>
#include <cmath>

#include "forms/Collections.h"

namespace zorvel {
namespace {

bool IsLeadByte(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}

// Positions of the single-byte characters of `path` equal to one of `chars`.
std::vector<std::size_t> Delimiters(const std::string& path, const char* chars) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(c) && i + 1 < path.size()) {
      ++i;  // the second byte of a double-byte character
      continue;
    }
    for (const char* d = chars; *d; ++d)
      if (path[i] == *d) at.push_back(i);
  }
  return at;
}

const char kProbeKey[] = "id_length=";
const char kMarker[] = "ffmpeg_release_time=";
const char kMarkerEnd[] = "=ffmpeg_release_time";

}  // namespace

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

double StrToFloat(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  const std::string s = text.substr(b, e - b);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  double value = 0, scale = 1;
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      if (point) {
        scale /= 10;
        value += (c - '0') * scale;
      } else {
        value = value * 10 + (c - '0');
      }
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits || i != s.size())
    throw EConvertError("'" + text + "' is not a valid floating point value");
  return negative ? -value : value;
}

bool HasProbeKey(const std::string& probeOutput) {
  return LowerAscii(probeOutput).find(kProbeKey) != std::string::npos;
}

int ProbeDuration(const std::string& probeOutput) {
  const std::string lower = LowerAscii(probeOutput);
  const std::size_t at = lower.find(kProbeKey);
  if (at == std::string::npos) return 0;
  const std::string after = lower.substr(at + sizeof kProbeKey - 1, 20);
  std::string kept;
  for (char c : after) {
    if (c == '\r' || c == '\n') break;
    if ((c >= '0' && c <= '9') || c == '.') kept += c;
  }
  if (kept.empty()) return 0;
  const double seconds = std::trunc(StrToFloat(kept));
  // Twenty digits may exceed what a duration holds: keep the largest.
  return seconds >= double(INT_MAX) ? INT_MAX : int(seconds);
}

std::optional<int> ProgressSeconds(const std::string& text) {
  const std::size_t at = text.find(kMarker);
  if (at == std::string::npos) return std::nullopt;
  const std::string rest = text.substr(at + sizeof kMarker - 1);
  const std::size_t end = rest.find(kMarkerEnd);
  if (end == std::string::npos) return std::nullopt;
  double seconds = 0;
  try {
    seconds = StrToFloat(rest.substr(0, end));
  } catch (const EConvertError&) {
    return std::nullopt;  // a marker we cannot read leaves the bar where it is
  }
  if (!(std::fabs(seconds) < 2e9)) return std::nullopt;
  std::fesetround(FE_TONEAREST);
  return int(std::nearbyint(seconds));
}

std::string ProbeCommandLine(const std::string& appDir, const std::string& file) {
  return "\"" + appDir + "mplayer.exe\" -msglevel identify=6 -vo none -ao none \"" + file +
         "\" 2>&1 |grep ID_LENGTH";
}

std::string ConvertCommandLine(const std::string& appDir, const std::string& source,
                               const TConvertOptions& o, const std::string& output) {
  const std::string size = o.Size.empty() ? "" : " -s " + o.Size + " ";
  const std::string aspect = o.Aspect.empty() ? "" : " -aspect " + o.Aspect + " ";
  return "\"" + appDir + "ffmpeg.exe\" -i \"" + source + "\" -y -f avi " + "" + " -b " + o.Kbps +
         "k -r " + o.FrameRate + " " + size + " " + aspect + " " + "" +
         " -vcodec mpeg4 -acodec libmp3lame \"" + output + "\"";
}

std::string ExtractFileName(const std::string& path) {
  const auto at = Delimiters(path, "\\:");
  return at.empty() ? path : path.substr(at.back() + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const auto at = Delimiters(path, "\\:.");
  if (!at.empty() && path[at.back()] == '.') return path.substr(0, at.back()) + ext;
  return path + ext;
}

std::string OutputPath(const std::string& saveDir, const std::string& source) {
  return saveDir + ChangeFileExt(ExtractFileName(source), ".avi");
}

std::vector<TPlannedJob> PlanBatch(const std::vector<std::string>& sources,
                                   const std::string& saveDir, const TSameFile& sameFile) {
  std::vector<TPlannedJob> plan;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    TPlannedJob job;
    job.Output = OutputPath(saveDir, sources[i]);
    auto skip = [&job](TSkip why, std::size_t other) {
      job.Skip = why;
      job.Other = other;
    };
    if (sameFile(job.Output, sources[i])) skip(TSkip::OwnSource, i);
    for (std::size_t k = 0; k < sources.size() && job.Skip == TSkip::None; ++k)
      if (k != i && sameFile(job.Output, sources[k])) skip(TSkip::OtherSource, k);
    for (std::size_t k = 0; k < i && job.Skip == TSkip::None; ++k)
      if (plan[k].Skip == TSkip::None && sameFile(job.Output, plan[k].Output))
        job.SameOutput.push_back(k);
    plan.push_back(std::move(job));
  }
  return plan;
}

TPlannedJob JobAtItsTurn(const std::vector<TPlannedJob>& plan, std::size_t index,
                         const std::vector<bool>& written) {
  TPlannedJob job = plan[index];
  if (job.Skip != TSkip::None) return job;
  for (std::size_t k : job.SameOutput) {
    if (k < written.size() && written[k]) {
      job.Skip = TSkip::AlreadyWritten;
      job.Other = k;
      break;
    }
  }
  return job;
}

namespace {

// A heading, then the first `shown` rows, then a line counting those left out.
std::string NamedRows(const std::string& heading, const std::vector<std::string>& rows,
                      std::size_t shown, const std::string& more) {
  std::string text = heading;
  shown = std::min(shown, rows.size());
  for (std::size_t i = 0; i < shown; ++i) text += "\r\n" + rows[i];
  if (shown < rows.size())
    text += "\r\n……另有 " + std::to_string(rows.size() - shown) + " 个文件" + more;
  return text;
}

}  // namespace

std::string SkippedNote(const std::vector<std::string>& rows, std::size_t shown) {
  return NamedRows("以下文件没有转换，已跳过：", rows, shown, "也已跳过，在列表中标为“已跳过”。");
}

std::string ReplaceQuestion(const std::vector<std::string>& outputs, std::size_t shown) {
  return NamedRows("输出目录中已有以下文件，转换会替换它们：", outputs, shown, "也会被替换。") +
         "\r\n\r\n要替换这些文件并开始转换吗？选“取消”则不转换。";
}

std::string FolderText(const std::string& chosen) {
  return chosen.size() > 3 ? chosen + "\\" : chosen;
}

std::vector<std::string> FolderPrefixes(const std::string& path) {
  std::vector<std::string> prefixes;
  for (std::size_t at : Delimiters(path, "\\")) prefixes.push_back(path.substr(0, at));
  prefixes.push_back(path);
  return prefixes;
}

}  // namespace zorvel
