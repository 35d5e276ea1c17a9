#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "encoding/currency.h"
#include "encoding/memory_stream.h"
#include "encoding/value_type.h"

namespace xamu {

// Reads tagged values from the front of a memory stream, fetching up to 255 bytes at a
// time. When finished (destroyed) it moves the source back to just after the last byte a
// read consumed, so that someone else can read on. Every failure is an EReadError:
// "Invalid property value" for an unexpected tag or an impossible length, "Stream read
// error" when the source ends inside a value. After a failure the reader and the rest of
// the stream are abandoned.
class TReader {
 public:
  explicit TReader(MemoryStream& source) : source_(source) {}
  ~TReader();
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  std::int32_t ReadInteger();
  std::int64_t ReadInt64();
  std::u16string ReadString();
  long double ReadFloat();
  double ReadDouble();
  Currency ReadCurrency();
  bool ReadBoolean();

  // Consumes one tag and requires it to be `expected`; otherwise skips the value and fails.
  void CheckValue(TValueType expected);
  // Whether the next tag, not consumed, is vaNull.
  bool EndOfList() { return NextValue() == TValueType::vaNull; }
  // The next tag, not consumed.
  TValueType NextValue();
  // Whether every byte of the source has been consumed.
  bool AtEnd() const { return BytesRemaining() == 0; }

 private:
  static constexpr std::size_t kBufferSize = 255;

  TValueType ReadValue();
  void PutBackValue() { --position_; }
  std::uint64_t ReadLittleEndian(std::size_t width);
  void Read(void* destination, std::size_t count);
  // Fails with "Stream read error" unless `count` bytes remain; checked before any
  // allocation that a length read from the stream asks for.
  void Require(std::uint64_t count);
  std::uint64_t BytesRemaining() const { return (filled_ - position_) + source_.Remaining(); }
  bool Fill();
  void SkipValue();
  void SkipPayload(TValueType type);

  MemoryStream& source_;
  std::array<std::uint8_t, kBufferSize> buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace xamu
