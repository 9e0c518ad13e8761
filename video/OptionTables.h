// The encoder option lists of the main dialog and the mappers that turn the selected
// entries into encoder arguments. Pure logic: the dialog gives access to its ten
// drop-down lists through OptionBoxes, so the same code runs on real combo boxes and
// on the in-memory lists of the tests.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace video {

// Control identifiers of the format list and the nine option lists.
enum OptionControl : int {
  kFormatList = 1009,
  kVideoCodecList = 1010,
  kVideoBitrateList = 1011,
  kFrameSizeList = 1012,
  kFrameRateList = 1013,
  kAspectList = 1014,  // its choice goes with the frame size (EncoderOptions::aspect)
  kAudioCodecList = 1015,
  kAudioBitrateList = 1016,
  kSampleRateList = 1017,
  kChannelsList = 1018,
};
constexpr int kFirstOptionList = kVideoCodecList;
constexpr int kOptionListCount = 9;  // 1010 to 1018

// One row of a mapper table: the text shown in a list and the argument it stands for.
// An argument may hold one "%s", the program folder (only the H.264 row does).
struct OptionEntry {
  std::wstring_view text;
  std::wstring_view argument;
};

// The entries of one list in the order they are inserted, and the position selected
// after the fill (counted from 0).
struct ListFill {
  int control;
  std::span<const std::wstring_view> entries;
  int selected;
};

// The eight argument texts that the command template takes, in its order, and the
// display aspect that goes with the frame size.
struct EncoderOptions {
  std::wstring videoCodec;
  std::wstring videoBitrate;
  std::wstring frameSize;
  std::wstring frameRate;
  std::wstring audioCodec;
  std::wstring sampleRate;
  std::wstring audioBitrate;
  std::wstring channels;
  // " -aspect " and the chosen ratio, for the frame size's place; empty for "Auto",
  // which keeps the source's.
  std::wstring aspect = {};
};

// The fills of one format (lists 1010 to 1018) and of one audio codec (1016 to 1018).
std::span<const ListFill> FormatFill3gp();
std::span<const ListFill> FormatFill3gpp2();
std::span<const ListFill> AudioFillAmr();
std::span<const ListFill> AudioFillAac();

// The mapper table of a list; empty for the aspect list (MapAspect) and unknown controls.
std::span<const OptionEntry> MapperTable(int control);

// Looks `text` up in the list's table (exactly, case-sensitively, first match) and
// writes the row's argument into `argument`, "%s" replaced by `exeDir`. Returns false
// and leaves `argument` unchanged when no row matches.
bool MapOption(int control, std::wstring_view text, std::wstring_view exeDir,
               std::wstring& argument);

// The output extension of a format text: "3g2" for "3gpp2", else the text itself.
std::wstring OutputExtension(std::wstring_view formatText);

// The part of a path before its last "\" (the whole text when it has none).
std::wstring FolderOfPath(std::wstring_view path);

// The dialog's drop-down lists as the option logic sees them.
class OptionBoxes {
 public:
  virtual ~OptionBoxes() = default;
  virtual void ResetContent(int control) = 0;
  virtual void InsertString(int control, int position, const std::wstring& text) = 0;
  // Selecting from the program is no selection change: it triggers no mapper.
  virtual void SetCurSel(int control, int position) = 0;
  // The text of the selected entry; empty when nothing is selected.
  virtual std::wstring SelectedText(int control) const = 0;
};

// The option lists of the dialog with their fills, the format switch and the eight
// mappers, and the aspect's. The dialog forwards each list's selection change to the
// mapper of the same name and reads `EncoderOptions` for the command template.
class OptionTables {
 public:
  // `exeDir` gives the program folder (without its trailing "\"); it is asked afresh
  // each time the H.264 row is mapped.
  OptionTables(OptionBoxes& boxes, std::function<std::wstring()> exeDir);

  // Start-up: "3gp" and "3gpp2" into the format list, "3gp" selected, its fill and
  // all eight mappers.
  void InitFormats();

  void FillOptions3gp();
  void FillOptions3gpp2();
  void FillAudioAmr();
  void FillAudioAac();

  void OnFormatChanged();

  void MapVideoCodec();
  void MapVideoBitrate();
  void MapVideoSize();
  void MapFrameRate();
  void MapAspect();
  void MapAudioCodec();  // refills the three audio lists first
  void MapAudioBitrate();
  void MapSampleRate();
  void MapChannels();

  // The mappers that Convert runs: all but the audio codec one, which would refill.
  void MapForConvert();

  // The extension of the selected format ("3gp" or "3g2").
  std::wstring SelectedExtension() const;

  const EncoderOptions& Options() const { return options_; }

 private:
  void Fill(std::span<const ListFill> fills);
  void Map(int control, std::wstring& argument);
  void MapAll();

  OptionBoxes& boxes_;
  std::function<std::wstring()> exeDir_;
  EncoderOptions options_;
};

}  // namespace video
