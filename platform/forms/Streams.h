// Byte streams: the abstract stream and the memory stream that skin archives, store
// items and entries travel in. No window handles here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "Classes.h"

// A stream ran short of bytes that had to be there.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

class TStream : public TObject {
 public:
  // Copies up to `count` bytes into `buffer`; returns how many it copied (0 at the end).
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  virtual void Write(const void* buffer, std::size_t count) = 0;
  virtual std::size_t Size() const = 0;
  virtual std::size_t Position() const = 0;
  // Positions past the end are allowed; reads there deliver nothing.
  virtual void SetPosition(std::size_t position) = 0;

  std::size_t Remaining() const { return Position() < Size() ? Size() - Position() : 0; }
  // Reads exactly `count` bytes or raises EReadError.
  void ReadBuffer(void* buffer, std::size_t count);
  // Copies exactly `count` bytes from `source`'s position to this one's; 0 copies nothing.
  void CopyFrom(TStream& source, std::size_t count);
  // Copies the whole of `source`, from its start, to this stream's position.
  void CopyWhole(TStream& source);
};

class TMemoryStream : public TStream {
 public:
  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::size_t Size() const override { return data_.size(); }
  std::size_t Position() const override { return position_; }
  void SetPosition(std::size_t position) override { position_ = position; }

  // Grows with zeros or cuts; the position stays where it is.
  void SetSize(std::size_t size) { data_.resize(size); }
  void Clear() noexcept {
    data_.clear();
    position_ = 0;
  }
  const std::uint8_t* Memory() const noexcept { return data_.data(); }
  std::uint8_t* Memory() noexcept { return data_.data(); }
  const std::vector<std::uint8_t>& Bytes() const noexcept { return data_; }
  // Reserves room for growth without changing the size.
  void Reserve(std::size_t capacity) { data_.reserve(capacity); }
  // Exchanges bytes and positions with `other`, without copying.
  void Swap(TMemoryStream& other) noexcept {
    data_.swap(other.data_);
    std::swap(position_, other.position_);
  }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t position_ = 0;
};

// Restores a stream's position when it leaves scope, also when an exception passes.
class TStreamPositionGuard {
 public:
  explicit TStreamPositionGuard(TStream& stream) : stream_(stream), saved_(stream.Position()) {}
  ~TStreamPositionGuard() { stream_.SetPosition(saved_); }
  TStreamPositionGuard(const TStreamPositionGuard&) = delete;
  TStreamPositionGuard& operator=(const TStreamPositionGuard&) = delete;

 private:
  TStream& stream_;
  std::size_t saved_;
};
