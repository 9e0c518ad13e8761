// The texts the main form works with: the probe's answer, the encoder's progress
// markers, the encoder command line, output names and folder prefixes. Pure: 8-bit
// texts in code page 936, where a double-byte character's second byte may look like
// "\" and is never taken for one.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorvel {

// "A".."Z" to "a".."z", every other byte unchanged.
std::string LowerAscii(std::string text);

// A decimal number with "." as separator (spaces around it allowed); raises
// EConvertError when the text is not one.
double StrToFloat(const std::string& text);

// The duration the probe's output gives: the digits and points of the 20 characters
// after "id_length=" (any case), truncated to whole seconds; 0 when the key is missing
// or nothing numeric follows it. Raises EConvertError when what follows is not a
// number (two points, say).
int ProbeDuration(const std::string& probeOutput);
bool HasProbeKey(const std::string& probeOutput);

// The seconds carried by a progress marker "ffmpeg_release_time=N=ffmpeg_release_time",
// rounded to the nearest whole number (halves to even); empty when the text has no
// complete marker or its number does not convert.
std::optional<int> ProgressSeconds(const std::string& text);

std::string ProbeCommandLine(const std::string& appDir, const std::string& file);

struct TConvertOptions {
  std::string Kbps, FrameRate;
  std::string Size;    // empty: keep the source's ("Auto")
  std::string Aspect;  // empty: keep the source's ("Auto")
};
std::string ConvertCommandLine(const std::string& appDir, const std::string& source,
                               const TConvertOptions& options, const std::string& output);

// The part after the last "\" or ":".
std::string ExtractFileName(const std::string& path);
// The name with its extension (from the last "." of the name on) replaced.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// The output folder (ending in "\") followed by the source's name with ".avi".
std::string OutputPath(const std::string& saveDir, const std::string& source);

// Why a job of a batch is not converted.
enum class TSkip { None, OwnSource, OtherSource, AlreadyWritten };
struct TPlannedJob {
  std::string Output;
  TSkip Skip = TSkip::None;
  // OtherSource: the listed source the output would overwrite; AlreadyWritten: the
  // earlier job that wrote the same output.
  std::size_t Other = 0;
  // The earlier jobs that may write the same output, in list order.
  std::vector<std::size_t> SameOutput;
};
// Whether two paths name one file.
using TSameFile = std::function<bool(const std::string& a, const std::string& b)>;
// The batch planned before its first job: the encoder overwrites its output, so no job
// may write over a listed source (its own or another). Which earlier jobs share a job's
// output is found here too; whether one of them wrote it is known only at the job's turn.
std::vector<TPlannedJob> PlanBatch(const std::vector<std::string>& sources,
                                   const std::string& saveDir, const TSameFile& sameFile);
// Job `index` at its turn, `written[k]` telling whether the earlier job k ended with its
// output written. Only such a job makes a later one of the same output a skip:
// overwriting what a failed job left loses nothing.
TPlannedJob JobAtItsTurn(const std::vector<TPlannedJob>& plan, std::size_t index,
                         const std::vector<bool>& written);

// The closing box's text: its heading, then the rows of the skipped jobs; only the first
// `shown` rows are named, and a last line says how many more there are.
std::string SkippedNote(const std::vector<std::string>& rows, std::size_t shown);

// The question asked before a batch whose outputs are there already: the files it would
// replace (the first `shown` named, the rest counted), and whether to go on.
std::string ReplaceQuestion(const std::vector<std::string>& outputs, std::size_t shown);

// What the folder browser's choice becomes: "\" appended when longer than three
// characters, so that a drive root such as "C:\" keeps its own.
std::string FolderText(const std::string& chosen);

// The folders to create, parents first: the text before every "\", then the whole path.
std::vector<std::string> FolderPrefixes(const std::string& path);

}  // namespace zorvel
