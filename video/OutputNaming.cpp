#include "OutputNaming.h"

#include <algorithm>

namespace video {
namespace {

// How many numbered names are tried before a row gives up.
constexpr int kLastNumberedName = 999;

std::wstring Join(std::wstring_view folder, std::wstring_view prefix, std::wstring_view stem,
                  std::wstring_view suffix, std::wstring_view ext) {
  std::wstring out;
  out.reserve(folder.size() + prefix.size() + stem.size() + suffix.size() + ext.size() + 2);
  out.append(folder).append(L"\\").append(prefix).append(stem).append(suffix);
  out.append(L".").append(ext);
  return out;
}

wchar_t Fold(wchar_t c) {
  if (c == L'/') return L'\\';
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
  return c;
}

std::wstring Normalised(std::wstring_view path) {
  std::wstring out;
  out.reserve(path.size());
  for (wchar_t c : path) {
    c = Fold(c);
    // "\\server" keeps its two leading separators; elsewhere a run counts as one.
    if (c == L'\\' && out.size() > 1 && out.back() == L'\\') continue;
    out.push_back(c);
  }
  return out;
}

}  // namespace

std::wstring SourceStem(std::wstring_view source) {
  const std::size_t slash = source.find_last_of(L"\\/");
  const std::wstring_view name =
      slash == std::wstring_view::npos ? source : source.substr(slash + 1);
  return std::wstring(name.substr(0, name.rfind(L'.')));
}

FolderResult OutputFolder(std::wstring_view typed) {
  const auto trim = [](std::wstring_view s) {
    constexpr std::wstring_view kBlanks = L" \t\r\n";
    const std::size_t first = s.find_first_not_of(kBlanks);
    return first == std::wstring_view::npos
               ? std::wstring_view()
               : s.substr(first, s.find_last_not_of(kBlanks) + 1 - first);
  };
  typed = trim(typed);
  if (typed.size() >= 2 && typed.front() == L'"' && typed.back() == L'"')
    typed = typed.substr(1, typed.size() - 2);
  // Blank, the encoder would write into the root of whatever drive is current.
  if (trim(typed).empty()) return {{}, L"请先设置输出目录，再开始转换。"};
  // The "?" of the "\\?\" form is no part of a name.
  const std::wstring_view names = typed.starts_with(L"\\\\?\\") ? typed.substr(4) : typed;
  for (wchar_t c : names) {
    if (c < L' ' || std::wstring_view(L"\"<>|*?").find(c) != std::wstring_view::npos) {
      return {{},
              L"输出目录中有路径不能含有的字符（\" < > | * ? 或控制字符），请改正后再转换：\n" +
                  std::wstring(typed)};
    }
  }
  return {std::wstring(typed), {}};
}

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
  if (fullPath.starts_with(L"\\\\?\\") || fullPath.starts_with(L"\\\\.\\"))
    return std::wstring(fullPath);
  if (fullPath.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
  return L"\\\\?\\" + std::wstring(fullPath);
}

std::wstring PlainOutputPath(std::wstring_view folder, std::wstring_view stem,
                             std::wstring_view ext) {
  return Join(folder, L"", stem, L"", ext);
}

std::wstring NewOutputPath(std::wstring_view folder, std::wstring_view stem,
                           std::wstring_view ext) {
  return Join(folder, L"新", stem, L"", ext);
}

std::wstring RenamedOutputPath(std::wstring_view folder, std::wstring_view stem,
                               std::wstring_view ext) {
  return Join(folder, L"重命名", stem, L"", ext);
}

std::wstring NumberedOutputPath(std::wstring_view folder, std::wstring_view stem,
                                std::wstring_view ext, int n) {
  return Join(folder, L"重命名", stem, L"(" + std::to_wstring(n) + L")", ext);
}

std::wstring OverwritePrompt(std::wstring_view folder, std::wstring_view fileName) {
  std::wstring out = L"输出目录";
  out.append(folder).append(L"中，已经有").append(fileName).append(L"，是否要覆盖？");
  return out;
}

bool SamePath(std::wstring_view a, std::wstring_view b) {
  return Normalised(a) == Normalised(b);
}

NamingResult ChooseOutputPath(std::wstring_view source, std::wstring_view folder,
                              std::wstring_view ext, const NamingCallbacks& callbacks) {
  const std::wstring stem = SourceStem(source);
  // The encoder must never write over the file it reads, however the path is spelt.
  const auto isSource = [&](const std::wstring& path) {
    return SamePath(path, source) ||
           (callbacks.sameFile && callbacks.sameFile(path, std::wstring(source)));
  };
  // The encoder is handed plain paths: a longer one would fail it with no word why.
  const auto tooLong = [&](const std::wstring& path) {
    const std::size_t full = callbacks.fullPathLength ? callbacks.fullPathLength(path) : 0;
    return std::max(path.size(), full) >= kEncoderPathCapacity;
  };
  const auto refusedForLength = [](const std::wstring& path) -> NamingResult {
    return {{},
            L"路径太长，转换程序打不开（完整路径最多" + std::to_wstring(kEncoderPathCapacity - 1) +
                L"个字符），无法转换：\n" + path};
  };
  // A name the file system cannot tell about may be a file: never written over unasked.
  const auto state = [&](const std::wstring& path) {
    return callbacks.fileState ? callbacks.fileState(path) : FileState::absent;
  };
  const auto refusedForState = [](const std::wstring& path) -> NamingResult {
    return {{}, L"无法确定输出文件是否已经存在，为免覆盖它，不转换这个文件：\n" + path};
  };

  if (const std::wstring s(source); tooLong(s)) return refusedForLength(s);
  std::wstring output = PlainOutputPath(folder, stem, ext);
  if (isSource(output)) output = NewOutputPath(folder, stem, ext);
  if (tooLong(output)) return refusedForLength(output);
  const FileState found = state(output);
  if (found == FileState::unknown) return refusedForState(output);
  if (found == FileState::absent) return {output, {}};
  // The question names the file that OK replaces.
  const std::wstring_view name = std::wstring_view(output).substr(output.rfind(L'\\') + 1);
  if (callbacks.confirmOverwrite && callbacks.confirmOverwrite(OverwritePrompt(folder, name)))
    return {output, {}};
  // Declined: a name that is known to have no file yet, and never the source.
  const std::wstring renamed = RenamedOutputPath(folder, stem, ext);
  for (int n = 1; n <= kLastNumberedName; ++n) {
    std::wstring candidate = n == 1 ? renamed : NumberedOutputPath(folder, stem, ext, n);
    if (tooLong(candidate)) return refusedForLength(candidate);
    if (state(candidate) == FileState::absent && !isSource(candidate)) return {candidate, {}};
  }
  return {{}, L"找不到可用的输出文件名：" + renamed};
}

std::wstring FormatCommand(std::wstring_view source, const EncoderOptions& options,
                           std::wstring_view output) {
  std::wstring out = L"vv.exe -i \"";
  out.append(source).append(L"\" -y ");
  for (const std::wstring* argument :
       {&options.videoCodec, &options.videoBitrate, &options.frameSize, &options.frameRate,
        &options.audioCodec, &options.sampleRate, &options.audioBitrate, &options.channels}) {
    out.append(*argument);
    // The display aspect goes with the picture's size; like every option here it lies
    // between the source and the output name, so the encoder applies it to the output.
    // "Auto" adds nothing: the command stays as it always was.
    if (argument == &options.frameSize) out.append(options.aspect);
    out.append(L" ");
  }
  out.append(L"\"").append(output).append(L"\"");
  return out;
}

CommandResult BuildCommand(std::wstring_view source, const EncoderOptions& options,
                           std::wstring_view output) {
  if (output.size() >= kOutputPathCapacity) {
    return {{},
            L"输出文件的路径太长（最多" + std::to_wstring(kOutputPathCapacity - 1) +
                L"个字符），无法转换：\n" + std::wstring(output)};
  }
  std::wstring command = FormatCommand(source, options, output);
  if (command.size() >= kCommandCapacity) {
    return {{},
            L"转换命令太长（最多" + std::to_wstring(kCommandCapacity - 1) +
                L"个字符），无法转换：\n" + std::wstring(source)};
  }
  return {std::move(command), {}};
}

std::wstring CheckOemCommand(std::string_view oem, bool lossy) {
  if (lossy) return std::wstring(kOutsideCodePageMessage);
  if (oem.size() >= kOemCommandCapacity) {
    return L"转换命令太长（最多" + std::to_wstring(kOemCommandCapacity - 1) +
           L"个字节），无法转换。";
  }
  return {};
}

}  // namespace video
