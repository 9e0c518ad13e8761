// The LZHUF decoder on hand-made streams and on round trips through the packer, and the
// archive reader on containers with every edge a caller can see.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "LZH.h"
#include "LzhEncode.h"
#include "SkinPack.h"
#include "SkinRead.h"

namespace {

std::vector<std::uint8_t> Hex(const std::string& hex) {
  std::vector<std::uint8_t> out;
  std::string digits;
  for (char c : hex)
    if (c != ' ') digits += c;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

void Fill(TMemoryStream& s, const std::vector<std::uint8_t>& bytes) {
  s.Clear();
  s.Write(bytes.data(), bytes.size());
}

std::string Text(const TMemoryStream& s) {
  return std::string(reinterpret_cast<const char*>(s.Memory()), s.Size());
}

// Unpacks a packed stream (count + LZHUF) through the reader.
std::string Unpack(const std::vector<std::uint8_t>& packed) {
  TSkinReader reader;
  TMemoryStream in, out;
  Fill(in, packed);
  reader.UnpackStream(in, out);
  EXPECT_EQ(out.Position(), 0u);
  return Text(out);
}

// Streams worked out from the decoder's rules, not by the packer. By hand, bit by bit:
// "A" is leaf 65, whose path from the root is 111001101; counting it makes leaf 65
// change places with leaf 313 (the last of the equal counts), so a second "A" is then
// reached by 11000101.
struct Vector {
  const char* name;
  const char* packed;
  std::string text;
};
const Vector kVectors[] = {
    {"one literal", "01000000 e680", "A"},
    {"a literal after the tree has adapted", "02000000 e6e280", "AA"},
    {"match into the blank ring", "07000000 8e007379c0", "     AB"},
    {"overlapping copy", "12000000 f6fbbdf30020", "abcabcabcabcabcabc"},
    {"count 0", "00000000", ""},
    {"negative count", "ffffffff e680", ""},
    {"short header", "0100", ""},
};

TEST(LzhDecoder, HandMadeVectors) {
  for (const Vector& v : kVectors) EXPECT_EQ(Unpack(Hex(v.packed)), v.text) << v.name;
}

TEST(LzhDecoder, MatchIsCutAtTheCount) {
  // The overlapping copy above, announced 4 bytes short: the last match stops early.
  EXPECT_EQ(Unpack(Hex("0e000000 f6fbbdf30020")), "abcabcabcabcab");
}

TEST(LzhDecoder, MissingSourceBytesReadAsZero) {
  std::string text = Unpack(Hex("05000000"));
  EXPECT_EQ(text.size(), 5u);
}

TEST(LzhDecoder, HugeCountOverTinyDataIsRefused) {
  TSkinReader reader;
  TMemoryStream in, out;
  Fill(in, Hex("ffffff7f 0011223344556677"));
  EXPECT_THROW(reader.UnpackStream(in, out), ElzhException);
  // A count the reader lets by, the most 4 bytes could hold (32160): the decoder gives up
  // once the data has run dry.
  TMemoryStream in2, out2;
  Fill(in2, Hex("a07d0000 00112233"));
  EXPECT_THROW(reader.UnpackStream(in2, out2), ElzhException);
  EXPECT_LT(out2.Size(), 100000u);
}

TEST(LzhDecoder, PositionTablesMatchTheirRuns) {
  struct Row {
    int firstByte, code, bits;
  };
  const Row rows[] = {{0, 0, 3},    {31, 0, 3},    {32, 1, 4},    {79, 3, 4},    {80, 4, 5},
                      {143, 11, 5}, {144, 12, 6},  {191, 23, 6},  {192, 24, 7},  {239, 47, 7},
                      {240, 48, 8}, {255, 63, 8}};
  for (const Row& r : rows) {
    EXPECT_EQ(TLZH::PositionCode(static_cast<std::uint8_t>(r.firstByte)), r.code) << r.firstByte;
    EXPECT_EQ(TLZH::PositionLength(static_cast<std::uint8_t>(r.firstByte)), r.bits) << r.firstByte;
  }
}

std::string RandomBytes(std::size_t n, unsigned seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() % alphabet);
  return s;
}

TEST(LzhDecoder, RoundTripsThroughThePacker) {
  std::string mixed;
  for (int i = 0; i < 2000; ++i)
    mixed += "frame" + std::to_string(i % 37) + RandomBytes(7, i, 4) + std::string(i % 61, 'x');
  struct Case {
    const char* name;
    std::string data;
    skinpack::EncodeOptions options;
  };
  const Case cases[] = {
      {"empty", "", {}},
      {"one byte", "A", {}},
      {"literals only", "the quick brown fox", {true, 60}},
      {"long run", std::string(100000, 'z'), {}},
      {"blanks from the ring", std::string(5000, ' '), {}},
      {"overlapping period 3", [] {
         std::string s;
         for (int i = 0; i < 3000; ++i) s += "abc";
         return s;
       }(), {}},
      // Past 32,000 symbols the tree is rebuilt; literal-only random data gets there.
      {"rebuild, literals", RandomBytes(100000, 1), {true, 60}},
      {"rebuild, mixed", mixed, {}},
      {"short matches", mixed, {false, 3}},
      {"all byte values", [] {
         std::string s;
         for (int r = 0; r < 300; ++r)
           for (int b = 0; b < 256; ++b) s += static_cast<char>((b * 7 + r) & 0xFF);
         return s;
       }(), {}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> packed = skinpack::PackBytes(c.data, c.options);
    EXPECT_EQ(Unpack(packed), c.data) << c.name;
  }
}

TEST(LzhDecoder, PackerCompressesRealisticData) {
  std::string runs(60000, 'a');
  EXPECT_LT(skinpack::PackBytes(runs).size(), 2000u);
}

// --- The container ---

struct Loaded {
  bool ok;
  TSkinReadError error;
};

Loaded Load(TSkinReader& reader, const std::string& container) {
  std::vector<std::uint8_t> packed = skinpack::PackBytes(container);
  TMemoryStream in;
  Fill(in, packed);
  bool ok = reader.LoadFromStream(in);
  return {ok, reader.LastError()};
}

std::string Int32(std::int32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i));
  return s;
}

// A container written field by field.
std::string Container(std::int32_t version, const std::string& names,
                      const std::vector<std::int32_t>& sizes, const std::string& payload) {
  std::string s = Int32(version) + Int32(static_cast<std::int32_t>(names.size())) + Int32(7) +
                  Int32(9) + names;
  for (std::int32_t n : sizes) s += Int32(n);
  return s + payload;
}

TEST(SkinReader, ReadsNamesSizesAndEntries) {
  TSkinReader reader;
  std::vector<skinpack::Entry> entries = {{"Left.BMP", "LLLL"},
                                          {"dup.bmp", "first"},
                                          {"Skin.INI", "[Colours]\r\n"},
                                          {"dup.bmp", "second"},
                                          {"empty.bmp", ""},
                                          {"frame.bmp", "FF"}};
  ASSERT_TRUE(Load(reader, skinpack::BuildContainer(entries)).ok);
  EXPECT_EQ(reader.Version, 20000);
  ASSERT_EQ(reader.Count(), 6u);
  EXPECT_EQ(reader.Names.Items(), (std::vector<std::string>{"left.bmp", "dup.bmp", "skin.ini",
                                                            "dup.bmp", "empty.bmp", "frame.bmp"}));
  EXPECT_EQ(reader.Payload.Size(), 4u + 5 + 11 + 6 + 0 + 2);

  TMemoryStream dest;
  struct Lookup {
    const char* name;
    const char* content;
  };
  const Lookup lookups[] = {{"LEFT.BMP", "LLLL"}, {"left.bmp", "LLLL"}, {"dup.bmp", "first"},
                            {"Frame.Bmp", "FF"},  {"empty.bmp", ""},    {"missing.bmp", ""},
                            {"left", ""}};
  for (const Lookup& l : lookups) {
    dest.Write("junk", 4);
    reader.GetEntry(l.name, dest);
    EXPECT_EQ(Text(dest), l.content) << l.name;
    EXPECT_EQ(dest.Position(), 0u);
  }

  std::string name = "unchanged";
  reader.FindEntry(".ini", dest, name);
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(Text(dest), "[Colours]\r\n");
  name = "unchanged";
  reader.FindEntry(".INI", dest, name);
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(dest.Size(), 0u);
}

TEST(SkinReader, NamesTextRules) {
  struct Case {
    const char* name;
    std::string names;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"trailing CR LF makes no extra name", "a\r\nb\r\n", {"a", "b"}},
      {"no trailing break", "a\r\nb", {"a", "b"}},
      {"CR and LF alone", "a\rb\nc", {"a", "b", "c"}},
      {"empty line in the middle", "a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"text after a 0 byte is ignored", std::string("a\r\nb\0c\r\nd\r\n", 11), {"a", "b"}},
      {"only A to Z are lower-cased", "\xC6\xA4\xB0Z.BMP\r\n", {"\xC6\xA4\xB0z.bmp"}},
      {"empty names text", "", {}},
  };
  for (const Case& c : cases) {
    TSkinReader reader;
    std::vector<std::int32_t> sizes(c.expected.size(), 0);
    ASSERT_TRUE(Load(reader, Container(20000, c.names, sizes, "")).ok) << c.name;
    EXPECT_EQ(reader.Names.Items(), c.expected) << c.name;
    EXPECT_EQ(reader.NamesLength, static_cast<std::int32_t>(c.names.size()));
  }
}

TEST(SkinReader, RefusesOtherVersionsAndKeepsWhatItHad) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, skinpack::BuildContainer({{"a.bmp", "xyz"}})).ok);

  for (const std::string& container :
       {skinpack::BuildContainer({{"b.bmp", "1"}}, 10000), std::string(), std::string("abc")}) {
    Loaded r = Load(reader, container);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, TSkinReadError::OlderVersion);
    EXPECT_STREQ(SkinReadErrorText(r.error),
                 "This is Older Skin File\rPlease update to new version !");
    ASSERT_EQ(reader.Count(), 1u);
    EXPECT_EQ(reader.Names[0], "a.bmp");
  }
}

TEST(SkinReader, RefusesDamagedContainersWhole) {
  std::string many;
  for (int i = 0; i < 1002; ++i) many += "n" + std::to_string(i) + "\r\n";
  std::string exactly;
  for (int i = 0; i < 1001; ++i) exactly += "n" + std::to_string(i) + "\r\n";
  struct Case {
    const char* name;
    std::string container;
    bool ok;
  };
  const Case cases[] = {
      {"1001 entries", Container(20000, exactly, std::vector<std::int32_t>(1001, 0), ""), true},
      {"1002 entries", Container(20000, many, std::vector<std::int32_t>(1002, 0), ""), false},
      {"size past the payload", Container(20000, "a\r\nb\r\n", {2, 3}, "abcd"), false},
      {"sizes exactly the payload", Container(20000, "a\r\nb\r\n", {2, 2}, "abcd"), true},
      {"sizes short of the payload", Container(20000, "a\r\nb\r\n", {1, 1}, "abcd"), true},
      {"negative size", Container(20000, "a\r\nb\r\n", {-1, 5}, "abcd"), false},
      {"sizes that wrap 32 bits",
       Container(20000, "a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, "abcd"), false},
      {"names length past the end", Int32(20000) + Int32(100) + Int32(0) + Int32(0) + "a\r\n",
       false},
      {"negative names length", Int32(20000) + Int32(-5) + Int32(0) + Int32(0), false},
      {"sizes table cut short", Container(20000, "a\r\nb\r\n", {}, "ab"), false},
  };
  for (const Case& c : cases) {
    TSkinReader reader;
    Loaded r = Load(reader, c.container);
    EXPECT_EQ(r.ok, c.ok) << c.name;
    if (!c.ok) {
      EXPECT_EQ(r.error, TSkinReadError::Damaged) << c.name;
      EXPECT_EQ(reader.Count(), 0u) << c.name;
      EXPECT_EQ(reader.Payload.Size(), 0u) << c.name;
    }
  }
}

TEST(SkinReader, ShortEntriesLeaveTheRestOfThePayloadUnread) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, Container(20000, "a\r\nb\r\n", {1, 2}, "abcdef")).ok);
  TMemoryStream dest;
  reader.GetEntry("b", dest);
  EXPECT_EQ(Text(dest), "bc");
}

TEST(SkinReader, DamagedPackedDataIsRefused) {
  TSkinReader reader;
  TMemoryStream in;
  Fill(in, Hex("ffffff7f 00"));
  EXPECT_FALSE(reader.LoadFromStream(in));
  EXPECT_EQ(reader.LastError(), TSkinReadError::Damaged);
}

}  // namespace
