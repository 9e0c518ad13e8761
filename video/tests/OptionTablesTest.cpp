#include "OptionTables.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace video {
namespace {

// The ten drop-down lists in memory, as the dialog's combo boxes would hold them.
class FakeBoxes : public OptionBoxes {
 public:
  struct Box {
    std::vector<std::wstring> entries;
    int selected = -1;
  };

  void ResetContent(int control) override { boxes[control] = Box{}; }
  void InsertString(int control, int position, const std::wstring& text) override {
    Box& box = boxes[control];
    ASSERT_LE(position, static_cast<int>(box.entries.size()));
    box.entries.insert(box.entries.begin() + position, text);
  }
  void SetCurSel(int control, int position) override {
    Box& box = boxes[control];
    ASSERT_LT(position, static_cast<int>(box.entries.size()));
    box.selected = position;
  }
  std::wstring SelectedText(int control) const override {
    auto it = boxes.find(control);
    if (it == boxes.end() || it->second.selected < 0) return {};
    return it->second.entries[static_cast<std::size_t>(it->second.selected)];
  }

  // What a user's pick does: select the entry with that text (it must be offered).
  void Pick(int control, const std::wstring& text) {
    Box& box = boxes[control];
    for (std::size_t i = 0; i < box.entries.size(); ++i) {
      if (box.entries[i] == text) {
        box.selected = static_cast<int>(i);
        return;
      }
    }
    FAIL() << "not offered in " << control;
  }

  std::map<int, Box> boxes;
};

struct Dialog {
  FakeBoxes boxes;
  std::wstring exeDir = L"C:\\Program Files\\video";
  OptionTables tables{boxes, [this] { return exeDir; }};

  Dialog() { tables.InitFormats(); }

  std::vector<std::wstring> Selections() const {
    std::vector<std::wstring> out;
    for (int c = kVideoCodecList; c <= kChannelsList; ++c) out.push_back(boxes.SelectedText(c));
    return out;
  }
  std::vector<std::wstring> Arguments() const {
    const EncoderOptions& o = tables.Options();
    return {o.videoCodec, o.videoBitrate, o.frameSize,  o.frameRate,
            o.audioCodec, o.audioBitrate, o.sampleRate, o.channels};
  }
  void ChooseFormat(const std::wstring& format) {
    boxes.Pick(kFormatList, format);
    tables.OnFormatChanged();
  }
};

using W = std::vector<std::wstring>;

const W kRates12 = {L"5.0 fps",    L"6.0 fps",    L"8.0 fps",    L"10.0 fps",
                    L"12.0 fps",   L"14.985 fps", L"15.0 fps",   L"20.0 fps",
                    L"23.976 fps", L"25.0 fps",   L"29.976 fps", L"30.0 fps"};
const W kAmr8 = {L"4.75 kbps", L"5.15 kbps", L"5.90 kbps", L"6.70 kbps",
                 L"7.40 kbps", L"7.95 kbps", L"10.2 kbps", L"12.2 kbps"};
const W kAac9 = {L"32 kbps", L"48 kbps",  L"56 kbps",  L"64 kbps", L"80 kbps",
                 L"96 kbps", L"112 kbps", L"128 kbps", L"160 kbps"};
const W kVideo7 = {L"80 kbps",  L"120 kbps", L"160 kbps", L"192 kbps",
                   L"256 kbps", L"320 kbps", L"512 kbps"};

W Concat(W a, const W& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct FillCase {
  const wchar_t* format;
  int control;
  W entries;
  int selected;
};

// What each list offers after a format is chosen (the audio codec mapper has run).
TEST(OptionTables, FormatFillsOfferTheirListsInOrder) {
  const W sizes22 = {L"128x96",      L"160x120",     L"176x120", L"176x144", L"192x144", L"208x176",
                     L"220x176",     L"224x176",     L"240x180", L"320x220", L"320x240", L"352x240",
                     L"352x288",     L"400x240",     L"480x272", L"480x360", L"640x360", L"640x480",
                     L"720x480 DVD", L"720x576 DVD", L"848x480", L"1280x720"};
  const FillCase cases[] = {
      {L"3gp", kVideoCodecList, {L"H.263", L"mpeg4"}, 0},
      {L"3gp", kVideoBitrateList, kVideo7, 4},
      {L"3gp", kFrameSizeList, {L"128x96", L"176x144", L"352x288"}, 1},
      {L"3gp", kFrameRateList, kRates12, 5},
      {L"3gp", kAspectList, {L"Auto", L"4:3", L"16:9"}, 0},
      {L"3gp", kAudioCodecList, {L"AMR_NB", L"AAC"}, 0},
      {L"3gp", kAudioBitrateList, kAmr8, 7},
      {L"3gp", kSampleRateList, {L"8000 Hz"}, 0},
      {L"3gp", kChannelsList, {L"1 Channel Mono"}, 0},
      {L"3gpp2", kVideoCodecList, {L"H.264", L"mpeg4"}, 0},
      {L"3gpp2", kVideoBitrateList,
       Concat(kVideo7, {L"768 kbps", L"1.0 Mbps", L"1.5 Mbps", L"2.0 Mbps"}), 6},
      {L"3gpp2", kFrameSizeList, sizes22, 10},
      {L"3gpp2", kFrameRateList, kRates12, 5},
      {L"3gpp2", kAspectList, {L"Auto", L"4:3", L"16:9"}, 0},
      {L"3gpp2", kAudioCodecList, {L"AAC", L"AMR_NB"}, 0},
      {L"3gpp2", kAudioBitrateList, kAac9, 6},
      // The AAC refill replaces the format's four rates by six.
      {L"3gpp2",
       kSampleRateList,
       {L"8000 Hz", L"16000 Hz", L"22050 Hz", L"32000 Hz", L"44100 Hz", L"48000 Hz"},
       4},
      {L"3gpp2", kChannelsList, {L"1 Channel Mono", L"2 Channels Stereo"}, 1},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.control);
    Dialog d;
    d.ChooseFormat(c.format);
    EXPECT_EQ(d.boxes.boxes[c.control].entries, c.entries);
    EXPECT_EQ(d.boxes.boxes[c.control].selected, c.selected);
  }
}

TEST(OptionTables, FormatFillerAloneLeavesTheFormatsFourRates) {
  FakeBoxes boxes;
  OptionTables tables(boxes, [] { return std::wstring(L"C:\\v"); });
  tables.FillOptions3gpp2();
  EXPECT_EQ(boxes.boxes[kSampleRateList].entries,
            (W{L"8000 Hz", L"32000 Hz", L"44100 Hz", L"48000 Hz"}));
  EXPECT_EQ(boxes.boxes[kSampleRateList].selected, 0);
  EXPECT_EQ(boxes.boxes[kChannelsList].selected, 0);
  // Filling selects from the program: no argument is written.
  EXPECT_EQ(tables.Options().videoCodec, L"");
  EXPECT_EQ(tables.Options().sampleRate, L"");
}

TEST(OptionTables, StartUpShowsThreeGpWithItsArguments) {
  Dialog d;
  EXPECT_EQ(d.boxes.boxes[kFormatList].entries, (W{L"3gp", L"3gpp2"}));
  EXPECT_EQ(d.boxes.SelectedText(kFormatList), L"3gp");
  EXPECT_EQ(d.Selections(), (W{L"H.263", L"256 kbps", L"176x144", L"14.985 fps", L"Auto", L"AMR_NB",
                               L"12.2 kbps", L"8000 Hz", L"1 Channel Mono"}));
  EXPECT_EQ(d.Arguments(), (W{L"-vcodec h263", L"-b 256k", L"-s 176x144 ", L"-r 14.985",
                              L"-acodec libopencore_amrnb", L"-ab 12.2k", L"-ar 8000", L"-ac 1"}));
  EXPECT_EQ(d.tables.SelectedExtension(), L"3gp");
}

TEST(OptionTables, SwitchingFormatsBackAndForthRestoresEachFormat) {
  Dialog d;
  const W first3gp = d.Arguments();
  const W firstLists = d.Selections();
  const W args3gpp2 = {L"-fpre \"C:\\Program Files\\video\\h264.dat\" -vcodec libx264",
                       L"-b 512k",
                       L"-s 320x240 ",
                       L"-r 14.985",
                       L"-strict experimental -acodec aac",
                       L"-ab 112k",
                       L"-ar 44100",
                       L"-ac 2"};
  for (int round = 0; round < 2; ++round) {
    d.ChooseFormat(L"3gpp2");
    EXPECT_EQ(d.Selections(), (W{L"H.264", L"512 kbps", L"320x240", L"14.985 fps", L"Auto", L"AAC",
                                 L"112 kbps", L"44100 Hz", L"2 Channels Stereo"}));
    EXPECT_EQ(d.Arguments(), args3gpp2);
    EXPECT_EQ(d.tables.SelectedExtension(), L"3g2");
    d.ChooseFormat(L"3gp");
    EXPECT_EQ(d.Selections(), firstLists);
    EXPECT_EQ(d.Arguments(), first3gp);
    EXPECT_EQ(d.boxes.boxes[kFrameSizeList].entries.size(), 3u);
  }
}

TEST(OptionTables, AudioCodecRefillsTheThreeAudioListsButNotTheirArguments) {
  Dialog d;
  d.ChooseFormat(L"3gpp2");

  d.boxes.Pick(kAudioCodecList, L"AMR_NB");
  d.tables.MapAudioCodec();
  EXPECT_EQ(d.boxes.boxes[kAudioBitrateList].entries, kAmr8);
  EXPECT_EQ(d.boxes.boxes[kSampleRateList].entries, W{L"8000 Hz"});
  EXPECT_EQ(d.boxes.boxes[kChannelsList].entries, W{L"1 Channel Mono"});
  EXPECT_EQ(d.Selections()[6], L"12.2 kbps");
  EXPECT_EQ(d.tables.Options().audioCodec, L"-acodec libopencore_amrnb");
  // The audio arguments wait for their own mappers (or Convert).
  EXPECT_EQ(d.tables.Options().audioBitrate, L"-ab 112k");
  EXPECT_EQ(d.tables.Options().sampleRate, L"-ar 44100");
  EXPECT_EQ(d.tables.Options().channels, L"-ac 2");

  d.tables.MapForConvert();
  EXPECT_EQ(d.tables.Options().audioBitrate, L"-ab 12.2k");
  EXPECT_EQ(d.tables.Options().sampleRate, L"-ar 8000");
  EXPECT_EQ(d.tables.Options().channels, L"-ac 1");

  d.boxes.Pick(kAudioCodecList, L"AAC");
  d.tables.MapAudioCodec();
  EXPECT_EQ(d.boxes.boxes[kSampleRateList].entries.size(), 6u);
  EXPECT_EQ(d.Selections()[6], L"112 kbps");
  EXPECT_EQ(d.Selections()[7], L"44100 Hz");
  EXPECT_EQ(d.Selections()[8], L"2 Channels Stereo");
  EXPECT_EQ(d.tables.Options().audioCodec, L"-strict experimental -acodec aac");
}

TEST(OptionTables, ConvertMappersTakeTheUsersPicksButNotTheAudioCodec) {
  Dialog d;
  d.boxes.Pick(kVideoCodecList, L"mpeg4");
  d.boxes.Pick(kVideoBitrateList, L"80 kbps");
  d.boxes.Pick(kFrameSizeList, L"128x96");
  d.boxes.Pick(kFrameRateList, L"30.0 fps");
  d.boxes.Pick(kAudioCodecList, L"AAC");  // no selection change handled: not mapped
  d.tables.MapForConvert();
  EXPECT_EQ(d.Arguments(), (W{L"-vcodec  mpeg4", L"-b 80k", L"-s 128x96", L"-r 30",
                              L"-acodec libopencore_amrnb", L"-ab 12.2k", L"-ar 8000", L"-ac 1"}));
}

TEST(OptionTables, NoMatchOrNoSelectionKeepsTheArgument) {
  Dialog d;
  d.boxes.boxes[kVideoBitrateList].selected = -1;
  d.tables.MapVideoBitrate();
  EXPECT_EQ(d.tables.Options().videoBitrate, L"-b 256k");
  d.boxes.boxes[kFrameRateList].entries[5] = L"14.985 FPS";  // case counts
  d.tables.MapFrameRate();
  EXPECT_EQ(d.tables.Options().frameRate, L"-r 14.985");
  // A format text that is neither leaves the lists and re-maps what they hold.
  d.boxes.boxes[kFormatList].entries[0] = L"mp4";
  d.tables.OnFormatChanged();
  EXPECT_EQ(d.boxes.boxes[kFrameSizeList].entries.size(), 3u);
  EXPECT_EQ(d.tables.Options().videoCodec, L"-vcodec h263");
}

TEST(OptionTables, PresetPathTakesTheProgramFolderAfresh) {
  Dialog d;
  d.ChooseFormat(L"3gpp2");
  d.exeDir = L"D:\\新建 文件夹";
  d.tables.MapVideoCodec();
  EXPECT_EQ(d.tables.Options().videoCodec, L"-fpre \"D:\\新建 文件夹\\h264.dat\" -vcodec libx264");
  // A folder holding "%s" is inserted as it is, not formatted again.
  d.exeDir = L"C:\\100%s";
  d.tables.MapVideoCodec();
  EXPECT_EQ(d.tables.Options().videoCodec, L"-fpre \"C:\\100%s\\h264.dat\" -vcodec libx264");
}

// Every row of the eight mapper tables, and nothing beyond them.
TEST(OptionTables, EveryMapperRow) {
  using Rows = std::vector<std::pair<std::wstring, std::wstring>>;
  const std::pair<int, Rows> tables[] = {
      {kVideoCodecList,
       {{L"H.263", L"-vcodec h263"},
        {L"mpeg4", L"-vcodec  mpeg4"},
        {L"H.264", L"-fpre \"X:\\dir\\h264.dat\" -vcodec libx264"}}},
      {kVideoBitrateList,
       {{L"80 kbps", L"-b 80k"},
        {L"120 kbps", L"-b 120k"},
        {L"160 kbps", L"-b 160k"},
        {L"192 kbps", L"-b 192k"},
        {L"256 kbps", L"-b 256k"},
        {L"320 kbps", L"-b 320k"},
        {L"512 kbps", L"-b 512k"},
        {L"768 kbps", L"-b 768k"},
        {L"1.0 Mbps", L"-b 1000k"},
        {L"1.5 Mbps", L"-b 1500k"},
        {L"2.0 Mbps", L"-b 2000k"}}},
      {kFrameSizeList, {{L"128x96", L"-s 128x96"},        {L"160x120", L"-s 160x120"},
                        {L"176x120", L"-s 176x120 "},     {L"176x144", L"-s 176x144 "},
                        {L"192x144", L"-s 192x144"},      {L"208x176", L"-s 208x176"},
                        {L"220x176", L"-s 220x176"},      {L"224x176", L"-s 224x176"},
                        {L"240x180", L"-s 240x180"},      {L"320x220", L"-s 320x220"},
                        {L"320x240", L"-s 320x240 "},     {L"352x240", L"-s 352x240"},
                        {L"352x288", L"-s 352x288 "},     {L"400x240", L"-s 400x240"},
                        {L"480x272", L"-s 480x272"},      {L"480x360", L"-s 480x360"},
                        {L"640x360", L"-s 640x360"},      {L"640x480", L"-s 640x480 "},
                        {L"720x480 DVD", L"-s 720x480 "}, {L"720x576 DVD", L"-s 720x576 "},
                        {L"848x480", L"-s 848x480 "},     {L"1280x720", L"-s 1280x720 "}}},
      {kFrameRateList,
       {{L"5.0 fps", L"-r 5"},
        {L"6.0 fps", L"-r 6"},
        {L"8.0 fps", L"-r 8"},
        {L"10.0 fps", L"-r 10"},
        {L"12.0 fps", L"-r 12"},
        {L"14.985 fps", L"-r 14.985"},
        {L"15.0 fps", L"-r 15"},
        {L"20.0 fps", L"-r 20"},
        {L"23.976 fps", L"-r 23.976"},
        {L"25.0 fps", L"-r 25"},
        {L"29.976 fps", L"-r 29.976"},
        {L"30.0 fps", L"-r 30"}}},
      {kAudioCodecList,
       {{L"AAC", L"-strict experimental -acodec aac"}, {L"AMR_NB", L"-acodec libopencore_amrnb"}}},
      {kAudioBitrateList,
       {{L"4.75 kbps", L"-ab 4.75k"},
        {L"5.15 kbps", L"-ab 5.15k"},
        {L"5.90 kbps", L"-ab 5.9k"},
        {L"6.70 kbps", L"-ab 6.7k"},
        {L"7.40 kbps", L"-ab 7.4k"},
        {L"7.95 kbps", L"-ab 7.95k"},
        {L"10.2 kbps", L"-ab 10.2k"},
        {L"12.2 kbps", L"-ab 12.2k"},
        {L"32 kbps", L"-ab 32k"},
        {L"48 kbps", L"-ab 48k"},
        {L"56 kbps", L"-ab 56k"},
        {L"64 kbps", L"-ab 64k"},
        {L"80 kbps", L"-ab 80k"},
        {L"96 kbps", L"-ab 96k"},
        {L"112 kbps", L"-ab 112k"},
        {L"128 kbps", L"-ab 128k"},
        {L"160 kbps", L"-ab 160k"}}},
      {kSampleRateList,
       {{L"8000 Hz", L"-ar 8000"},
        {L"16000 Hz", L"-ar 16000"},
        {L"22050 Hz", L"-ar 22050"},
        {L"32000 Hz", L"-ar 32000"},
        {L"44100 Hz", L"-ar 44100"},
        {L"48000 Hz", L"-ar 48000"}}},
      {kChannelsList, {{L"1 Channel Mono", L"-ac 1"}, {L"2 Channels Stereo", L"-ac 2"}}},
  };
  for (const auto& [control, rows] : tables) {
    SCOPED_TRACE(testing::Message() << control);
    for (const auto& [text, argument] : rows) {
      std::wstring out = L"previous";
      EXPECT_TRUE(MapOption(control, text, L"X:\\dir", out));
      EXPECT_EQ(out, argument);
    }
    EXPECT_EQ(MapperTable(control).size(), rows.size());
  }
  std::wstring out = L"kept";
  EXPECT_FALSE(MapOption(kAspectList, L"4:3", L"", out));
  EXPECT_FALSE(MapOption(kFrameSizeList, L"720x480", L"", out));
  EXPECT_FALSE(MapOption(kVideoBitrateList, L"", L"", out));
  EXPECT_EQ(out, L"kept");
}

}  // namespace
}  // namespace video
