#include "OptionTables.h"

#include <utility>

namespace video {
namespace {

using namespace std::literals;
using Texts = std::wstring_view;

// Named lists shared by several fills.
constexpr Texts kRates12[] = {L"5.0 fps",    L"6.0 fps",    L"8.0 fps",    L"10.0 fps",
                              L"12.0 fps",   L"14.985 fps", L"15.0 fps",   L"20.0 fps",
                              L"23.976 fps", L"25.0 fps",   L"29.976 fps", L"30.0 fps"};
constexpr Texts kAmr8[] = {L"4.75 kbps", L"5.15 kbps", L"5.90 kbps", L"6.70 kbps",
                           L"7.40 kbps", L"7.95 kbps", L"10.2 kbps", L"12.2 kbps"};
constexpr Texts kAac9[] = {L"32 kbps", L"48 kbps",  L"56 kbps",  L"64 kbps", L"80 kbps",
                           L"96 kbps", L"112 kbps", L"128 kbps", L"160 kbps"};
constexpr Texts kSizes22[] = {L"128x96",  L"160x120", L"176x120", L"176x144",     L"192x144",
                              L"208x176", L"220x176", L"224x176", L"240x180",     L"320x220",
                              L"320x240", L"352x240", L"352x288", L"400x240",     L"480x272",
                              L"480x360", L"640x360", L"640x480", L"720x480 DVD", L"720x576 DVD",
                              L"848x480", L"1280x720"};
constexpr Texts kVideo7[] = {L"80 kbps",  L"120 kbps", L"160 kbps", L"192 kbps",
                             L"256 kbps", L"320 kbps", L"512 kbps"};
constexpr Texts kVideo11[] = {L"80 kbps",  L"120 kbps", L"160 kbps", L"192 kbps",
                              L"256 kbps", L"320 kbps", L"512 kbps", L"768 kbps",
                              L"1.0 Mbps", L"1.5 Mbps", L"2.0 Mbps"};
constexpr Texts kAspect[] = {L"Auto", L"4:3", L"16:9"};
constexpr Texts kMono[] = {L"1 Channel Mono"};
constexpr Texts kMonoStereo[] = {L"1 Channel Mono", L"2 Channels Stereo"};
constexpr Texts kRate8000[] = {L"8000 Hz"};

constexpr Texts kCodecs3gp[] = {L"H.263", L"mpeg4"};
constexpr Texts kCodecs3gpp2[] = {L"H.264", L"mpeg4"};
constexpr Texts kSizes3gp[] = {L"128x96", L"176x144", L"352x288"};
constexpr Texts kAudio3gp[] = {L"AMR_NB", L"AAC"};
constexpr Texts kAudio3gpp2[] = {L"AAC", L"AMR_NB"};
constexpr Texts kRates3gpp2[] = {L"8000 Hz", L"32000 Hz", L"44100 Hz", L"48000 Hz"};
constexpr Texts kRatesAac[] = {L"8000 Hz",  L"16000 Hz", L"22050 Hz",
                               L"32000 Hz", L"44100 Hz", L"48000 Hz"};

const ListFill kFill3gp[] = {
    {kVideoCodecList, kCodecs3gp, 0}, {kVideoBitrateList, kVideo7, 4},
    {kFrameSizeList, kSizes3gp, 1},   {kFrameRateList, kRates12, 5},
    {kAspectList, kAspect, 0},        {kAudioCodecList, kAudio3gp, 0},
    {kAudioBitrateList, kAmr8, 7},    {kSampleRateList, kRate8000, 0},
    {kChannelsList, kMono, 0},
};
const ListFill kFill3gpp2[] = {
    {kVideoCodecList, kCodecs3gpp2, 0}, {kVideoBitrateList, kVideo11, 6},
    {kFrameSizeList, kSizes22, 10},     {kFrameRateList, kRates12, 5},
    {kAspectList, kAspect, 0},          {kAudioCodecList, kAudio3gpp2, 0},
    {kAudioBitrateList, kAac9, 6},      {kSampleRateList, kRates3gpp2, 0},
    {kChannelsList, kMonoStereo, 0},
};
const ListFill kFillAmr[] = {
    {kAudioBitrateList, kAmr8, 7},
    {kSampleRateList, kRate8000, 0},
    {kChannelsList, kMono, 0},
};
const ListFill kFillAac[] = {
    {kAudioBitrateList, kAac9, 6},
    {kSampleRateList, kRatesAac, 4},
    {kChannelsList, kMonoStereo, 1},
};

constexpr OptionEntry kVideoCodecs[] = {
    {L"H.263", L"-vcodec h263"},
    {L"mpeg4", L"-vcodec  mpeg4"},  // two blanks, as the encoder has always been given
    {L"H.264", L"-fpre \"%s\\h264.dat\" -vcodec libx264"},
};
constexpr OptionEntry kVideoBitrates[] = {
    {L"80 kbps", L"-b 80k"},    {L"120 kbps", L"-b 120k"},  {L"160 kbps", L"-b 160k"},
    {L"192 kbps", L"-b 192k"},  {L"256 kbps", L"-b 256k"},  {L"320 kbps", L"-b 320k"},
    {L"512 kbps", L"-b 512k"},  {L"768 kbps", L"-b 768k"},  {L"1.0 Mbps", L"-b 1000k"},
    {L"1.5 Mbps", L"-b 1500k"}, {L"2.0 Mbps", L"-b 2000k"},
};
// Nine of the sizes carry a trailing blank; the command keeps it.
constexpr OptionEntry kFrameSizes[] = {
    {L"128x96", L"-s 128x96"},        {L"160x120", L"-s 160x120"},
    {L"176x120", L"-s 176x120 "},     {L"176x144", L"-s 176x144 "},
    {L"192x144", L"-s 192x144"},      {L"208x176", L"-s 208x176"},
    {L"220x176", L"-s 220x176"},      {L"224x176", L"-s 224x176"},
    {L"240x180", L"-s 240x180"},      {L"320x220", L"-s 320x220"},
    {L"320x240", L"-s 320x240 "},     {L"352x240", L"-s 352x240"},
    {L"352x288", L"-s 352x288 "},     {L"400x240", L"-s 400x240"},
    {L"480x272", L"-s 480x272"},      {L"480x360", L"-s 480x360"},
    {L"640x360", L"-s 640x360"},      {L"640x480", L"-s 640x480 "},
    {L"720x480 DVD", L"-s 720x480 "}, {L"720x576 DVD", L"-s 720x576 "},
    {L"848x480", L"-s 848x480 "},     {L"1280x720", L"-s 1280x720 "},
};
constexpr OptionEntry kFrameRates[] = {
    {L"5.0 fps", L"-r 5"},   {L"6.0 fps", L"-r 6"},         {L"8.0 fps", L"-r 8"},
    {L"10.0 fps", L"-r 10"}, {L"12.0 fps", L"-r 12"},       {L"14.985 fps", L"-r 14.985"},
    {L"15.0 fps", L"-r 15"}, {L"20.0 fps", L"-r 20"},       {L"23.976 fps", L"-r 23.976"},
    {L"25.0 fps", L"-r 25"}, {L"29.976 fps", L"-r 29.976"}, {L"30.0 fps", L"-r 30"},
};
constexpr OptionEntry kAudioCodecs[] = {
    {L"AAC", L"-strict experimental -acodec aac"},
    {L"AMR_NB", L"-acodec libopencore_amrnb"},
};
constexpr OptionEntry kAudioBitrates[] = {
    {L"4.75 kbps", L"-ab 4.75k"}, {L"5.15 kbps", L"-ab 5.15k"}, {L"5.90 kbps", L"-ab 5.9k"},
    {L"6.70 kbps", L"-ab 6.7k"},  {L"7.40 kbps", L"-ab 7.4k"},  {L"7.95 kbps", L"-ab 7.95k"},
    {L"10.2 kbps", L"-ab 10.2k"}, {L"12.2 kbps", L"-ab 12.2k"}, {L"32 kbps", L"-ab 32k"},
    {L"48 kbps", L"-ab 48k"},     {L"56 kbps", L"-ab 56k"},     {L"64 kbps", L"-ab 64k"},
    {L"80 kbps", L"-ab 80k"},     {L"96 kbps", L"-ab 96k"},     {L"112 kbps", L"-ab 112k"},
    {L"128 kbps", L"-ab 128k"},   {L"160 kbps", L"-ab 160k"},
};
constexpr OptionEntry kSampleRates[] = {
    {L"8000 Hz", L"-ar 8000"},   {L"16000 Hz", L"-ar 16000"}, {L"22050 Hz", L"-ar 22050"},
    {L"32000 Hz", L"-ar 32000"}, {L"44100 Hz", L"-ar 44100"}, {L"48000 Hz", L"-ar 48000"},
};
constexpr OptionEntry kChannels[] = {
    {L"1 Channel Mono", L"-ac 1"},
    {L"2 Channels Stereo", L"-ac 2"},
};

// Fills the one "%s" of an argument; the program folder is inserted as it is.
std::wstring Expand(std::wstring_view argument, std::wstring_view exeDir) {
  std::wstring out(argument);
  if (std::size_t at = out.find(L"%s"); at != std::wstring::npos) {
    out.replace(at, 2, exeDir);
  }
  return out;
}

}  // namespace

std::span<const ListFill> FormatFill3gp() {
  return kFill3gp;
}
std::span<const ListFill> FormatFill3gpp2() {
  return kFill3gpp2;
}
std::span<const ListFill> AudioFillAmr() {
  return kFillAmr;
}
std::span<const ListFill> AudioFillAac() {
  return kFillAac;
}

std::span<const OptionEntry> MapperTable(int control) {
  switch (control) {
    case kVideoCodecList:
      return kVideoCodecs;
    case kVideoBitrateList:
      return kVideoBitrates;
    case kFrameSizeList:
      return kFrameSizes;
    case kFrameRateList:
      return kFrameRates;
    case kAudioCodecList:
      return kAudioCodecs;
    case kAudioBitrateList:
      return kAudioBitrates;
    case kSampleRateList:
      return kSampleRates;
    case kChannelsList:
      return kChannels;
    default:
      return {};
  }
}

bool MapOption(int control, std::wstring_view text, std::wstring_view exeDir,
               std::wstring& argument) {
  for (const OptionEntry& row : MapperTable(control)) {
    if (row.text == text) {
      argument = Expand(row.argument, exeDir);
      return true;
    }
  }
  return false;
}

std::wstring OutputExtension(std::wstring_view formatText) {
  return formatText == L"3gpp2"sv ? std::wstring(L"3g2") : std::wstring(formatText);
}

std::wstring FolderOfPath(std::wstring_view path) {
  std::size_t slash = path.rfind(L'\\');
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(0, slash));
}

OptionTables::OptionTables(OptionBoxes& boxes, std::function<std::wstring()> exeDir)
    : boxes_(boxes), exeDir_(std::move(exeDir)) {}

void OptionTables::InitFormats() {
  boxes_.ResetContent(kFormatList);
  boxes_.InsertString(kFormatList, 0, L"3gp");
  boxes_.InsertString(kFormatList, 1, L"3gpp2");
  boxes_.SetCurSel(kFormatList, 0);
  for (int c = kFirstOptionList; c < kFirstOptionList + kOptionListCount; ++c) {
    boxes_.ResetContent(c);
  }
  FillOptions3gp();
  MapAll();
}

void OptionTables::Fill(std::span<const ListFill> fills) {
  for (const ListFill& fill : fills) {
    int position = 0;
    for (std::wstring_view text : fill.entries) {
      boxes_.InsertString(fill.control, position++, std::wstring(text));
    }
    boxes_.SetCurSel(fill.control, fill.selected);
  }
}

void OptionTables::FillOptions3gp() {
  Fill(kFill3gp);
}
void OptionTables::FillOptions3gpp2() {
  Fill(kFill3gpp2);
}
void OptionTables::FillAudioAmr() {
  Fill(kFillAmr);
}
void OptionTables::FillAudioAac() {
  Fill(kFillAac);
}

void OptionTables::OnFormatChanged() {
  const std::wstring format = boxes_.SelectedText(kFormatList);
  if (format == L"3gp" || format == L"3gpp2") {
    for (int c = kFirstOptionList; c < kFirstOptionList + kOptionListCount; ++c) {
      boxes_.ResetContent(c);
    }
    if (format == L"3gp") {
      FillOptions3gp();
    } else {
      FillOptions3gpp2();
    }
  }
  MapAll();
}

void OptionTables::Map(int control, std::wstring& argument) {
  const std::wstring text = boxes_.SelectedText(control);
  // The folder is only asked for when the row needs it.
  std::wstring dir;
  for (const OptionEntry& row : MapperTable(control)) {
    if (row.text == text) {
      if (row.argument.find(L"%s") != std::wstring_view::npos && exeDir_) dir = exeDir_();
      break;
    }
  }
  MapOption(control, text, dir, argument);
}

void OptionTables::MapVideoCodec() {
  Map(kVideoCodecList, options_.videoCodec);
}
void OptionTables::MapVideoBitrate() {
  Map(kVideoBitrateList, options_.videoBitrate);
}
void OptionTables::MapVideoSize() {
  Map(kFrameSizeList, options_.frameSize);
}
void OptionTables::MapFrameRate() {
  Map(kFrameRateList, options_.frameRate);
}
void OptionTables::MapAspect() {
  // Any entry after "Auto" is a ratio the encoder is told; "Auto" (or none) tells nothing.
  const std::wstring ratio = boxes_.SelectedText(kAspectList);
  options_.aspect = ratio.empty() || ratio == kAspect[0] ? std::wstring() : L" -aspect " + ratio;
}
void OptionTables::MapAudioBitrate() {
  Map(kAudioBitrateList, options_.audioBitrate);
}
void OptionTables::MapSampleRate() {
  Map(kSampleRateList, options_.sampleRate);
}
void OptionTables::MapChannels() {
  Map(kChannelsList, options_.channels);
}

void OptionTables::MapAudioCodec() {
  const std::wstring codec = boxes_.SelectedText(kAudioCodecList);
  if (codec == L"AMR_NB" || codec == L"AAC") {
    for (int c : {kAudioBitrateList, kSampleRateList, kChannelsList}) boxes_.ResetContent(c);
    if (codec == L"AMR_NB") {
      FillAudioAmr();
    } else {
      FillAudioAac();
    }
  }
  Map(kAudioCodecList, options_.audioCodec);
}

void OptionTables::MapAll() {
  MapVideoCodec();
  MapVideoBitrate();
  MapVideoSize();
  MapFrameRate();
  MapAspect();
  MapAudioCodec();
  MapAudioBitrate();
  MapSampleRate();
  MapChannels();
}

void OptionTables::MapForConvert() {
  MapVideoCodec();
  MapVideoBitrate();
  MapVideoSize();
  MapFrameRate();
  MapAspect();
  MapAudioBitrate();
  MapSampleRate();
  MapChannels();
}

std::wstring OptionTables::SelectedExtension() const {
  return OutputExtension(boxes_.SelectedText(kFormatList));
}

}  // namespace video
