#include "OutputNaming.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace video {
namespace {

struct NameCase {
  std::wstring source;
  std::wstring folder;
  const wchar_t* ext;
  const wchar_t* stem;
  std::wstring output;
  std::wstring refused = {};  // the path that the refusal names
};

TEST(OutputNaming, StemAndOutputOfAFreshName) {
  const std::wstring o247(247, L'o');
  const NameCase cases[] = {
      {L"D:\\a.b.c.avi", L"E:\\out", L"3gp", L"a.b.c", L"E:\\out\\a.b.c.3gp"},
      {L"D:\\v.1/noext", L"E:\\out", L"3gp", L"noext", L"E:\\out\\noext.3gp"},
      {L"C:\\my.files\\clip", L"E:\\out", L"3g2", L"clip", L"E:\\out\\clip.3g2"},
      {L"D:\\v\\clip.avi", L"C:\\", L"3gp", L"clip", L"C:\\\\clip.3gp"},
      {L"D:\\视频\\片段.mp4", L"E:\\输出", L"3g2", L"片段", L"E:\\输出\\片段.3g2"},
      {L"clip.avi", L"E:", L"3gp", L"clip", L"E:\\clip.3gp"},
      {L"D:\\v\\.hidden", L"E:", L"3gp", L"", L"E:\\.3gp"},
      // The output folder is taken as typed, a trailing "\" included.
      {L"D:\\v\\clip.avi", L"E:\\out\\", L"3gp", L"clip", L"E:\\out\\\\clip.3gp"},
      // The encoder opens plain paths: 259 characters at most, the source's too.
      {L"D:\\v\\clip.avi", L"E:\\" + o247, L"3gp", L"clip", L"E:\\" + o247 + L"\\clip.3gp"},
      {L"D:\\v\\clip.avi", L"E:\\o" + o247, L"3gp", L"clip", L"", L"E:\\o" + o247 + L"\\clip.3gp"},
      {L"D:\\o" + o247 + L"\\abcd.avi", L"E:", L"3gp", L"abcd", L"", L"D:\\o" + o247 + L"\\abcd.avi"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.source).size());
    EXPECT_EQ(SourceStem(c.source), c.stem);
    NamingResult r = ChooseOutputPath(c.source, c.folder, c.ext, {});
    EXPECT_EQ(r.output, c.output);
    EXPECT_EQ(r.error.substr(r.error.rfind(L'\n') + 1), c.refused);  // its last line
  }
}

// A file system of the given names and a user who answers the overwrite question.
struct World {
  std::set<std::wstring> files;
  bool answer = false;
  std::vector<std::wstring> prompts;
  const wchar_t* alias = nullptr;  // another name of the source's file, as asked about
  std::set<std::wstring> unknown = {};  // names the file system cannot tell about

  NamingResult Name(const wchar_t* source, const wchar_t* folder, const wchar_t* ext) {
    NamingCallbacks cb;
    cb.sameFile = [this](const auto& path, const auto&) { return alias && path == alias; };
    cb.fileState = [this](const std::wstring& p) {
      if (unknown.count(p)) return FileState::unknown;
      return files.count(p) ? FileState::present : FileState::absent;
    };
    cb.confirmOverwrite = [this](const std::wstring& prompt) {
      prompts.push_back(prompt);
      return answer;
    };
    return ChooseOutputPath(source, folder, ext, cb);
  }
};

struct PromptCase {
  std::set<std::wstring> files;
  const wchar_t* source;
  const wchar_t* folder;
  bool answer;
  const wchar_t* output;
  int prompts;
  const wchar_t* alias = nullptr;
  std::set<std::wstring> unknown = {};
};

TEST(OutputNaming, ExistingOutputsAreReplacedOnlyWithConsent) {
  const PromptCase cases[] = {
      // The source itself as output: the "新" name, no question.
      {{L"C:\\v\\clip.3gp"}, L"C:\\v\\clip.3gp", L"C:\\v", false, L"C:\\v\\新clip.3gp", 0},
      {{L"C:\\v\\clip.3gp", L"C:\\v\\新clip.3gp"},
       L"C:\\v\\clip.3gp",
       L"C:\\v",
       true,
       L"C:\\v\\新clip.3gp",
       1},
      // The same file spelt otherwise is still the source.
      {{L"C:\\V\\Clip.3gp"}, L"C:\\V\\Clip.3gp", L"c:\\v\\", false, L"c:\\v\\\\新Clip.3gp", 0},
      {{L"C:\\clip.3gp"}, L"C:\\clip.3gp", L"C:\\", false, L"C:\\\\新clip.3gp", 0},
      {{L"C:\\V\\a.3gp"}, L"C:\\V~1\\a.3gp", L"C:\\V", true, L"C:\\V\\新a.3gp", 0, L"C:\\V\\a.3gp"},
      // Another file of that name: OK replaces it, Cancel renames.
      {{L"E:\\o\\clip.3gp"}, L"D:\\clip.avi", L"E:\\o", true, L"E:\\o\\clip.3gp", 1},
      {{L"E:\\o\\clip.3gp"}, L"D:\\clip.avi", L"E:\\o", false, L"E:\\o\\重命名clip.3gp", 1},
      // The renamed file exists too: it is kept, the next free number is used.
      {{L"E:\\o\\clip.3gp", L"E:\\o\\重命名clip.3gp"},
       L"D:\\clip.avi",
       L"E:\\o",
       false,
       L"E:\\o\\重命名clip(2).3gp",
       1},
      {{L"E:\\o\\clip.3gp", L"E:\\o\\重命名clip.3gp", L"E:\\o\\重命名clip(2).3gp",
        L"E:\\o\\重命名clip(3).3gp"},
       L"D:\\clip.avi",
       L"E:\\o",
       false,
       L"E:\\o\\重命名clip(4).3gp",
       1},
      // A name the file system cannot tell about: refused unasked; as a renamed name, taken.
      {{}, L"D:\\clip.avi", L"E:\\o", true, L"", 0, nullptr, {L"E:\\o\\clip.3gp"}},
      {{L"E:\\o\\clip.3gp"}, L"D:\\clip.avi", L"E:\\o", false, L"E:\\o\\重命名clip(2).3gp", 1, nullptr,
       {L"E:\\o\\重命名clip.3gp"}},
      // Declined on the "新" name of a source in the output folder.
      {{L"C:\\v\\clip.3gp", L"C:\\v\\新clip.3gp"},
       L"C:\\v\\clip.3gp",
       L"C:\\v",
       false,
       L"C:\\v\\重命名clip.3gp",
       1},
  };
  for (const PromptCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "answer " << c.answer << ", files " << c.files.size());
    World w{c.files, c.answer, {}, c.alias, c.unknown};
    NamingResult r = w.Name(c.source, c.folder, L"3gp");
    EXPECT_EQ(r.output, c.output);
    EXPECT_EQ(static_cast<int>(w.prompts.size()), c.prompts);
    // A name that exists is only ever returned after an OK.
    if (!c.answer) {
      EXPECT_EQ(w.files.count(r.output), 0u);
    }
  }
}

TEST(OutputNaming, PromptNamesFolderStemAndExtension) {
  World w{{L"C:\\\\a.b.3g2"}, false, {}};
  w.Name(L"D:\\a.b.mov", L"C:\\", L"3g2");
  ASSERT_EQ(w.prompts.size(), 1u);
  EXPECT_EQ(w.prompts[0], L"输出目录C:\\中，已经有a.b.3g2，是否要覆盖？");
  EXPECT_EQ(kOverwriteCaption, L"提示");
}

TEST(OutputNaming, NoFreeNameFailsTheRowInsteadOfReplacingAFile) {
  World w{{L"E:\\o\\clip.3gp", L"E:\\o\\重命名clip.3gp"}, false, {}};
  for (int n = 2; n <= 999; ++n) w.files.insert(NumberedOutputPath(L"E:\\o", L"clip", L"3gp", n));
  NamingResult r = w.Name(L"D:\\clip.avi", L"E:\\o", L"3gp");
  EXPECT_EQ(r.output, L"");
  EXPECT_NE(r.error.find(L"重命名clip.3gp"), std::wstring::npos);
}

TEST(OutputNaming, TypedFolderLosesBlanksAndQuotesRefusesWhatNoPathHoldsAndHasALongForm) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L" \"D:\\My Videos\\o\"  ", L"D:\\My Videos\\o"},
      {L"\\\\?\\D:\\o", L"\\\\?\\D:\\o"},
      {L"\"D:\\o", nullptr},
      {L"D:\\a|b<>", nullptr},
      {L"D:\\a?", nullptr},
      {L"D:\\a\tb", nullptr},
      {L" \" \" ", nullptr}};
  for (auto [typed, folder] : cases) {
    const FolderResult r = OutputFolder(typed);
    EXPECT_EQ(r.folder, folder ? folder : L"") << typed;
    EXPECT_EQ(r.error.empty(), folder != nullptr) << typed;
  }
  EXPECT_EQ(ExtendedLengthPath(L"C:\\o\\a"), L"\\\\?\\C:\\o\\a");
  EXPECT_EQ(ExtendedLengthPath(L"\\\\srv\\s\\a"), L"\\\\?\\UNC\\srv\\s\\a");
  EXPECT_EQ(ExtendedLengthPath(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
}

EncoderOptions Defaults3gp() {
  return {L"-vcodec h263", L"-b 256k",   L"-s 176x144 ", L"-r 14.985", L"-acodec libopencore_amrnb",
          L"-ar 8000",     L"-ab 12.2k", L"-ac 1"};
}

TEST(OutputNaming, CommandTakesTheArgumentsInTemplateOrderWithTheirBlanks) {
  EXPECT_EQ(FormatCommand(L"D:\\a b\\clip.avi", Defaults3gp(), L"C:\\\\clip.3gp"),
            L"vv.exe -i \"D:\\a b\\clip.avi\" -y -vcodec h263 -b 256k -s 176x144  -r 14.985 "
            L"-acodec libopencore_amrnb -ar 8000 -ab 12.2k -ac 1 \"C:\\\\clip.3gp\"");
  EncoderOptions o = Defaults3gp();
  o.videoCodec = L"-vcodec  mpeg4";
  o.frameRate.clear();
  o.aspect = L" -aspect 16:9";  // a chosen aspect follows the frame size
  EXPECT_EQ(FormatCommand(L"s", o, L"o"),
            L"vv.exe -i \"s\" -y -vcodec  mpeg4 -b 256k -s 176x144  -aspect 16:9  -acodec "
            L"libopencore_amrnb -ar 8000 -ab 12.2k -ac 1 \"o\"");
}

TEST(OutputNaming, CommandThatDoesNotFitIsRefusedNotCut) {
  const EncoderOptions o = Defaults3gp();
  const std::size_t fixed = FormatCommand(L"", o, L"").size();
  struct Case {
    std::size_t sourceLength;
    std::size_t outputLength;
    const wchar_t* error;  // a word of the message; empty when the command fits
  } const cases[] = {
      {1023 - fixed - 4, 4, L""},      // exactly the capacity less its terminator
      {1024 - fixed - 4, 4, L"命令"},  // one character more
      {3000, 4, L"命令"},
      {10, 999, L"命令"},  // the path fits, the command does not
      {10, 1000, L"路径"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sourceLength << " " << c.outputLength);
    const std::wstring source(c.sourceLength, L's');
    const std::wstring output = L"E:\\" + std::wstring(c.outputLength - 3, L'o');
    CommandResult r = BuildCommand(source, o, output);
    if (*c.error == 0) {
      EXPECT_EQ(r.error, L"");
      EXPECT_EQ(r.command, FormatCommand(source, o, output));
      EXPECT_EQ(r.command.size(), source.size() + output.size() + fixed);
    } else {
      EXPECT_EQ(r.command, L"");
      EXPECT_NE(r.error.find(c.error), std::wstring::npos);
    }
  }
}

TEST(OutputNaming, OemCommandLimits) {
  EXPECT_EQ(CheckOemCommand(std::string(1999, 'x'), false), L"");
  EXPECT_NE(CheckOemCommand(std::string(2000, 'x'), false), L"");
  EXPECT_NE(CheckOemCommand("vv.exe -i \"?\"", true), L"");
}

}  // namespace
}  // namespace video
