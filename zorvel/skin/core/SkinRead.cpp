#include "SkinRead.h"

#include <cstring>
#include <utility>

#include "LZH.h"

const char* const kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";
const char* const kDamagedSkinMessage = "This Skin File is damaged and cannot be used.";

const char* SkinReadErrorText(TSkinReadError error) {
  switch (error) {
    case TSkinReadError::OlderVersion:
      return kOlderSkinMessage;
    case TSkinReadError::Damaged:
      return kDamagedSkinMessage;
    case TSkinReadError::None:
      break;
  }
  return "";
}

std::string SkinLowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string SkinUpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::vector<std::string> SkinSplitLines(const char* text, std::size_t length) {
  const void* nul = std::memchr(text, 0, length);
  if (nul) length = static_cast<std::size_t>(static_cast<const char*>(nul) - text);
  std::vector<std::string> lines;
  std::size_t start = 0, i = 0;
  while (i < length) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text + start, i - start);
      ++i;
      if (c == '\r' && i < length && text[i] == '\n') ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < length) lines.emplace_back(text + start, length - start);
  return lines;
}

namespace {

std::int32_t LoadInt32(const std::uint8_t* p) {
  std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                    std::uint32_t(p[3]) << 24;
  return static_cast<std::int32_t>(v);
}

}  // namespace

void TSkinReader::UnpackStream(TStream& packed, TMemoryStream& unpacked) {
  packed.SetPosition(0);
  unpacked.Clear();
  std::uint8_t header[4] = {};
  // A packed stream shorter than its count field counts as empty.
  if (packed.Read(header, 4) < 4) return;
  std::int64_t count = LoadInt32(header);
  if (count <= 0) return;
  if (count > kMaxUnpackedSize)
    throw ElzhException("LZH : Unpacked size " + std::to_string(count) + " is beyond the limit");
  // Packed data already in memory is decoded where it is; any other stream is read first.
  std::vector<std::uint8_t> copy;
  const std::uint8_t* source = nullptr;
  std::size_t sourceSize = 0;
  if (auto* memory = dynamic_cast<TMemoryStream*>(&packed)) {
    source = memory->Memory() + memory->Position();
    sourceSize = memory->Remaining();
    memory->SetPosition(memory->Size());  // read to its end, as a copy would have
  } else {
    copy.resize(packed.Remaining());
    copy.resize(packed.Read(copy.data(), copy.size()));
    source = copy.data();
    sourceSize = copy.size();
  }
  // A count the data cannot fill is refused before its room is made.
  if (static_cast<std::uint64_t>(count) > TLZH::MaxUnpackedSize(sourceSize))
    throw ElzhException("LZH : Packed data ends too early");
  unpacked.SetSize(static_cast<std::size_t>(count));
  try {
    TLZH().LZHUnpack(source, sourceSize, unpacked.Memory(), unpacked.Size());
  } catch (...) {
    unpacked.Clear();
    throw;
  }
  unpacked.SetPosition(0);
}

bool TSkinReader::LoadFromStream(TStream& packed) {
  TMemoryStream unpacked;
  try {
    UnpackStream(packed, unpacked);
  } catch (const ElzhException&) {
    lastError_ = TSkinReadError::Damaged;
    return false;
  }
  return ReadContainer(unpacked);
}

bool TSkinReader::ReadContainer(TMemoryStream& unpacked) {
  const std::uint8_t* data = unpacked.Memory();
  const std::size_t size = unpacked.Size();
  // A container without a whole header has no valid version.
  std::int32_t header[4] = {0, 0, 0, 0};
  if (size >= 16)
    for (int i = 0; i < 4; ++i) header[i] = LoadInt32(data + 4 * i);
  if (header[0] != SkinFileVersion) {
    lastError_ = TSkinReadError::OlderVersion;
    return false;
  }
  lastError_ = TSkinReadError::Damaged;
  const std::int32_t namesLength = header[1];
  if (namesLength < 0 || static_cast<std::size_t>(namesLength) > size - 16) return false;

  std::vector<std::string> names = SkinSplitLines(reinterpret_cast<const char*>(data + 16),
                                                  static_cast<std::size_t>(namesLength));
  if (names.size() > kMaxEntries) return false;
  const std::size_t sizesAt = 16 + static_cast<std::size_t>(namesLength);
  if (names.size() * 4 > size - sizesAt) return false;
  const std::size_t payloadAt = sizesAt + names.size() * 4;
  const std::size_t payloadSize = size - payloadAt;

  // Every entry must lie inside the payload; the sums cannot overflow (at most 1001
  // sizes below 2^31 each).
  std::vector<std::int32_t> sizes(names.size());
  std::vector<std::size_t> offsets(names.size());
  std::uint64_t end = 0;
  for (std::size_t k = 0; k < names.size(); ++k) {
    sizes[k] = LoadInt32(data + sizesAt + 4 * k);
    if (sizes[k] < 0) return false;
    offsets[k] = static_cast<std::size_t>(end);
    end += static_cast<std::uint64_t>(sizes[k]);
    if (end > payloadSize) return false;
  }

  Version = header[0];
  NamesLength = namesLength;
  Reserved1 = header[2];
  Reserved2 = header[3];
  Names.Clear();
  for (std::string& name : names) Names.Add(SkinLowerCase(std::move(name)));
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  // The entries move to the front of the unpacked container, which becomes the payload.
  std::memmove(unpacked.Memory(), unpacked.Memory() + payloadAt, payloadSize);
  unpacked.SetSize(payloadSize);
  Payload.Swap(unpacked);
  Payload.SetPosition(0);
  lastError_ = TSkinReadError::None;
  return true;
}

void TSkinReader::CopyEntry(std::size_t index, TMemoryStream& destination) const {
  destination.Write(Payload.Memory() + offsets_[index], static_cast<std::size_t>(sizes_[index]));
  destination.SetPosition(0);
}

void TSkinReader::GetEntry(const std::string& name, TMemoryStream& destination) const {
  destination.Clear();
  const std::string wanted = SkinLowerCase(name);
  for (std::size_t k = 0; k < Names.Count(); ++k)
    if (Names[k] == wanted) return CopyEntry(k, destination);
}

void TSkinReader::FindEntry(const std::string& part, TMemoryStream& destination,
                            std::string& name) const {
  destination.Clear();
  for (std::size_t k = 0; k < Names.Count(); ++k)
    if (Names[k].find(part) != std::string::npos) {
      name = Names[k];
      return CopyEntry(k, destination);
    }
}
