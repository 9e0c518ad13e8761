// Output names of the conversion queue and the encoder command of one row. Pure logic:
// the file system and the overwrite question come in as callbacks.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "OptionTables.h"

namespace video {

// Capacities of the texts handed to the encoder, as buffer sizes with their terminator.
constexpr std::size_t kOutputPathCapacity = 1000;  // wide characters
constexpr std::size_t kCommandCapacity = 1024;     // wide characters
constexpr std::size_t kOemCommandCapacity = 2000;  // bytes in the OEM code page
// The encoder is handed plain paths, which the system limits to this many characters with
// the terminator, counted on the full path.
constexpr std::size_t kEncoderPathCapacity = 260;

// The source's file name (after the last "\" or "/") without its extension: the part
// before its last ".", or the whole name when it has none.
std::wstring SourceStem(std::wstring_view source);

struct FolderResult {
  std::wstring folder;
  std::wstring error;  // set when the text cannot name a folder
};

// The output folder as typed: blanks around it and one pair of enclosing quotes (a file
// manager's "copy as path") taken off. A text that is then blank, or still holds a
// character no path may hold, is refused with a message.
FolderResult OutputFolder(std::wstring_view typed);

// A full path in the form without the length limit of plain paths: "\\?\C:\..." or
// "\\?\UNC\server\share\..."; a path already in that form, or a device path, as it is.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

// "folder\stem.ext", "folder\新stem.ext" and "folder\重命名stem.ext".
std::wstring PlainOutputPath(std::wstring_view folder, std::wstring_view stem,
                             std::wstring_view ext);
std::wstring NewOutputPath(std::wstring_view folder, std::wstring_view stem, std::wstring_view ext);
std::wstring RenamedOutputPath(std::wstring_view folder, std::wstring_view stem,
                               std::wstring_view ext);
// "folder\重命名stem(n).ext": the further names tried when the renamed one exists too.
std::wstring NumberedOutputPath(std::wstring_view folder, std::wstring_view stem,
                                std::wstring_view ext, int n);

// The overwrite question: "输出目录%s中，已经有%s，是否要覆盖？" with the folder and the
// name of the file that OK replaces.
std::wstring OverwritePrompt(std::wstring_view folder, std::wstring_view fileName);
inline constexpr std::wstring_view kOverwriteCaption = L"提示";

// True when two paths name the same file as far as text can tell: letters compared
// without case, "/" taken as "\", repeated separators as one ("C:\\\x" is "C:\x").
bool SamePath(std::wstring_view a, std::wstring_view b);

// What the file system says about a name: no such file, a file, or it cannot tell
// (access denied, a share that does not answer).
enum class FileState { absent, present, unknown };

// How a row's output is named.
struct NamingCallbacks {
  std::function<FileState(const std::wstring& path)> fileState;
  // Asks whether the existing file may be replaced; true for OK.
  std::function<bool(const std::wstring& prompt)> confirmOverwrite;
  // True when two existing paths name one file, as the file system tells (another case,
  // a short name, ".."); asked when the texts differ.
  std::function<bool(const std::wstring& a, const std::wstring& b)> sameFile;
  // The length of the full path of a name (a relative one is longer than its text).
  std::function<std::size_t(const std::wstring& path)> fullPathLength;
};

struct NamingResult {
  std::wstring output;  // empty when no name could be found (see error)
  std::wstring error;
};

// Names the output of `source` in `folder` with extension `ext`. An output that would
// be the source itself gets the "新" name. An existing output is replaced only when the
// user agrees; otherwise the "重命名" name is used, and when that exists as well, the
// first free numbered variant: a file the user did not agree to replace is never
// chosen (a name the file system cannot tell about counts as taken). An output whose
// file cannot be told present or absent, and a source or output too long for the
// encoder to open, fail the row with a message.
NamingResult ChooseOutputPath(std::wstring_view source, std::wstring_view folder,
                              std::wstring_view ext, const NamingCallbacks& callbacks);

// "vv.exe -i \"%s\" -y %s %s %s %s %s %s %s %s \"%s\"" filled with the source, the eight
// arguments and the output; a chosen aspect follows the frame size. Arguments go in
// unchanged, so blanks may double.
std::wstring FormatCommand(std::wstring_view source, const EncoderOptions& options,
                           std::wstring_view output);

struct CommandResult {
  std::wstring command;  // empty when it does not fit (see error)
  std::wstring error;
};

// The command of one row with its capacity checks: an output path or a command that
// does not fit is refused with a message, never cut into a different command.
CommandResult BuildCommand(std::wstring_view source, const EncoderOptions& options,
                           std::wstring_view output);

// The message for a command that an encoder reading it in 8 bits would not get exactly.
inline constexpr std::wstring_view kOutsideCodePageMessage =
    L"文件路径中有系统代码页无法表示的字符，无法转换。";

// Checks the command once converted to the OEM code page: `oem` the converted bytes
// (without terminator), `lossy` true when some character had no equivalent there.
// Returns an empty text when it may be handed to the encoder, else the message.
std::wstring CheckOemCommand(std::string_view oem, bool lossy);

}  // namespace video
