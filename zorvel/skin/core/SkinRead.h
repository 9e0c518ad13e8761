// The skin archive reader: unpacks a packed archive into memory and hands out its
// entries by name. Pure logic; the Win32 layer tells the user when an archive is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/Classes.h"
#include "forms/Streams.h"

constexpr std::int32_t SkinFileVersion = 20000;

// Why LoadFromStream refused an archive.
enum class TSkinReadError {
  None,
  OlderVersion,  // the container's version is not SkinFileVersion (or it has no header)
  Damaged,       // the packed data or the container does not hold together
};

// The texts the user is shown for a refused archive.
extern const char* const kOlderSkinMessage;
extern const char* const kDamagedSkinMessage;
const char* SkinReadErrorText(TSkinReadError error);

class TSkinReader : public TObject {
 public:
  // Limits on what an archive may claim. Real skins unpack to about half a megabyte
  // with a few dozen entries.
  static constexpr std::int64_t kMaxUnpackedSize = 64 * 1024 * 1024;
  static constexpr std::size_t kMaxEntries = 1001;

  // Lower-cased entry names, in archive order (names may repeat).
  TStringList Names;
  // The entries back to back.
  TMemoryStream Payload;
  std::int32_t Version = 0;
  std::int32_t NamesLength = 0;
  std::int32_t Reserved1 = 0;
  std::int32_t Reserved2 = 0;

  std::size_t Count() const noexcept { return sizes_.size(); }
  std::int32_t EntrySize(std::size_t index) const { return sizes_.at(index); }

  // Decodes `packed` (a 32-bit count, then the LZHUF stream) into `unpacked`; both are
  // set to position 0 first. Raises ElzhException, leaving `unpacked` empty, for a count
  // above kMaxUnpackedSize or packed data that ends far too early; a negative count
  // decodes nothing.
  void UnpackStream(TStream& packed, TMemoryStream& unpacked);

  // Unpacks and reads the container. On false the reader keeps what it had and
  // LastError says why.
  bool LoadFromStream(TStream& packed);
  TSkinReadError LastError() const noexcept { return lastError_; }

  // The first entry named `name` (A to Z compared without case), at position 0 in
  // `destination`; no match leaves it empty.
  void GetEntry(const std::string& name, TMemoryStream& destination) const;
  // The first entry whose lower-cased name contains `part` as given; its name goes to
  // `name`. No match leaves `destination` empty and `name` unchanged.
  void FindEntry(const std::string& part, TMemoryStream& destination, std::string& name) const;

 private:
  // On success the container's storage becomes Payload and `unpacked` holds the old one.
  bool ReadContainer(TMemoryStream& unpacked);
  void CopyEntry(std::size_t index, TMemoryStream& destination) const;

  std::vector<std::int32_t> sizes_;
  std::vector<std::size_t> offsets_;
  TSkinReadError lastError_ = TSkinReadError::None;
};

// ASCII-only lower- and upper-casing (bytes above 0x7F stay as they are).
std::string SkinLowerCase(std::string text);
std::string SkinUpperCase(std::string text);
// Splits at CR, LF or CR LF; a break at the very end makes no extra line and a 0 byte
// ends the text.
std::vector<std::string> SkinSplitLines(const char* text, std::size_t length);
