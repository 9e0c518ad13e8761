// The skin description reader: every rule of the syntax and the lookups that a caller
// can see, in tables.
#include <gtest/gtest.h>

#include <string>

#include "WinSkinIni.h"

namespace {

void Parse(TQuickIni& ini, const std::string& text) { ini.LoadFromText(text.data(), text.size()); }

using namespace std::string_literals;

const std::string kSkin =
    "; a comment line\r\n"
    "\r\n"
    "  [Personality]  \r\n"
    "Width = 10\r\n"
    "width=20\r\n"
    "Empty=\r\n"
    "empty=later\r\n"
    "Note = 3 ; note\r\n"
    "Hex = 0x1F\r\n"
    "Dollar=$1F\r\n"
    "Bare0x=0x\r\n"
    "Junk=12abc\r\n"
    "Big=$FFFFFFFF\r\n"
    "TooBig=$100000000\r\n"
    "Over=2147483648\r\n"
    "Min=-2147483648\r\n"
    "Plus=+7\r\n"
    "NegHex=-$1F\r\n"
    "Quote=\"a\" # b\r\n"
    "Gbk=\xC6\xA4\xB7\xF4 \xB0\xD7\r\n"
    "no equals sign\r\n"
    "[ Tabs ]\r"
    "Border=2\n"
    "[Tabs] ; not a section\r\n"
    "Border=3\r\n"
    "[personality]\r\n"
    "Second=1\r\n"
    "[Last]\r\n"
    "Key=v\0"
    "[After]\r\nKey=hidden\r\n"s;

TEST(QuickIni, Lookups) {
  TQuickIni ini;
  Parse(ini, kSkin);
  struct Row {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Row rows[] = {
      {"Personality", "WIDTH", "10"},           // first line of the key wins
      {"PERSONALITY", "width", "10"},           // sections ignore case
      {"Personality", "empty", "default"},      // an empty first value hides later ones
      {"Personality", "Note", "3 ; note"},      // text after ";" belongs to the value
      {"Personality", "Quote", "\"a\" # b"},    // quotes and "#" too
      {"Personality", "Gbk", "\xC6\xA4\xB7\xF4 \xB0\xD7"},
      {"Personality", "Second", "default"},     // only the first of two equal sections
      {"Personality", "missing", "default"},
      {"Missing", "Width", "default"},
      {" Tabs ", "Border", "2"},                // blanks inside the brackets must match
      {"Tabs", "Border", "default"},
      {"Last", "Key", "v"},
      {"After", "Key", "default"},              // text after a 0 byte is ignored
  };
  for (const Row& r : rows)
    EXPECT_EQ(ini.ReadString(r.section, r.key, "default"), r.expected)
        << "[" << r.section << "] " << r.key;
}

TEST(QuickIni, Integers) {
  TQuickIni ini;
  Parse(ini, kSkin);
  struct Row {
    const char* key;
    std::int32_t expected;
  };
  const Row rows[] = {
      {"Width", 10},      {"Hex", 31},  {"Dollar", 31},        {"Bare0x", -5},
      {"Junk", -5},       {"Note", -5}, {"Big", -1},           {"TooBig", -5},
      {"Over", -5},       {"Min", INT32_MIN}, {"Plus", 7},     {"NegHex", -5},
      {"Empty", -5},      {"missing", -5},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ini.ReadInteger("Personality", r.key, -5), r.expected) << r.key;
}

TEST(QuickIni, SectionsAndLines) {
  TQuickIni ini;
  Parse(ini, kSkin);
  TStringList sections;
  sections.Add("stale");
  ini.ReadSections(sections);
  EXPECT_EQ(sections.Items(),
            (std::vector<std::string>{"Personality", "Tabs", "personality", "Last"}));
  EXPECT_EQ(ini.SectionIndex("personality"), 0);
  EXPECT_EQ(ini.SectionIndex("Tabs"), -1);
  EXPECT_EQ(ini.Lines()[0], "[Personality]");
  // The line without "=" is kept (with an empty key); comments and blank lines are not.
  EXPECT_EQ(ini.Lines()[18], "no equals sign");
}

TEST(QuickIni, LineEndings) {
  TQuickIni ini;
  Parse(ini, "[a]\rx=1\ny=2\r\n\n\rz=3");
  EXPECT_EQ(ini.Lines().size(), 4u);
  EXPECT_EQ(ini.ReadInteger("a", "z", 0), 3);
}

TEST(QuickIni, LineHelpers) {
  EXPECT_EQ(TQuickIni::KeyOfLine(" Width = 3"), "width");
  EXPECT_EQ(TQuickIni::KeyOfLine("no equals"), "");
  EXPECT_EQ(TQuickIni::ValueOfLine("Width = 3 ", "width"), "3");
  EXPECT_EQ(TQuickIni::ValueOfLine("Width = 3", "height"), "");
  EXPECT_EQ(TQuickIni::ValueOfLine("Width = 3", ""), "");
  EXPECT_EQ(TQuickIni::ValueOfLine("", "width"), "");
  EXPECT_TRUE(TQuickIni::IsSectionLine("  [a b] "));
  EXPECT_FALSE(TQuickIni::IsSectionLine("[a] ; c"));
  EXPECT_FALSE(TQuickIni::IsSectionLine("["));
  EXPECT_FALSE(TQuickIni::IsSectionLine(""));
}

TEST(QuickIni, StreamFromItsPosition) {
  TMemoryStream s;
  s.Write("[x]\r\nk=1\r\n[y]\r\nk=2\r\n", 20);
  s.SetPosition(10);
  TQuickIni ini;
  ini.LoadFromStream(&s);
  EXPECT_EQ(ini.SectionIndex("x"), -1);
  EXPECT_EQ(ini.ReadInteger("y", "k", 0), 2);
  // A position past the end is an empty text; nil changes nothing.
  s.SetPosition(99);
  ini.LoadFromStream(nullptr);
  EXPECT_EQ(ini.ReadInteger("y", "k", 0), 2);
  ini.LoadFromStream(&s);
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_EQ(ini.ReadString("y", "k", "d"), "d");
}

}  // namespace
