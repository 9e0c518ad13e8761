#include "Streams.h"

#include <algorithm>
#include <cstring>

void TStream::ReadBuffer(void* buffer, std::size_t count) {
  if (Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::CopyFrom(TStream& source, std::size_t count) {
  std::uint8_t chunk[16384];
  while (count > 0) {
    std::size_t n = std::min(count, sizeof chunk);
    source.ReadBuffer(chunk, n);
    Write(chunk, n);
    count -= n;
  }
}

void TStream::CopyWhole(TStream& source) {
  source.SetPosition(0);
  CopyFrom(source, source.Size());
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (position_ >= data_.size()) return 0;
  std::size_t n = std::min(count, data_.size() - position_);
  if (n > 0) std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return;
  std::size_t end = position_ + count;
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ = end;
}
