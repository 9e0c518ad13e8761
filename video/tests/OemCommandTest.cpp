#include "OemCommand.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace video {
namespace {

// The tests run with code page 936 as the OEM code page.
TEST(OemCommand, ConvertsChineseNamesAndRefusesWhatTheCodePageCannotHold) {
  ASSERT_EQ(GetOEMCP(), 936u);
  struct Case {
    std::wstring command;
    std::string oem;  // empty when refused
  } const cases[] = {
      {L"vv.exe -i \"D:\\视频\\a.avi\"", "vv.exe -i \"D:\\\xCA\xD3\xC6\xB5\\a.avi\""},
      {L"vv.exe \"C:\\\\新a.3gp\"",
       "vv.exe \"C:\\\\\xD0\xC2"
       "a.3gp\""},
      {L"vv.exe -i \"D:\\\u0E01.avi\"", ""},  // Thai: no equivalent in 936
      {L"vv.exe -i \"D:\\\uAC00.avi\"", ""},  // Hangul: would become another name
      {std::wstring(1999, L'x'), std::string(1999, 'x')},
      {std::wstring(2000, L'x'), ""},
      {std::wstring(1000, L'视'), ""},  // 1000 characters, 2000 bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.command.size());
    std::string oem = "stale";
    std::wstring error = ToOemCommand(c.command, oem);
    EXPECT_EQ(oem, c.oem);
    EXPECT_EQ(error.empty(), !c.oem.empty());
  }
}

}  // namespace
}  // namespace video
