#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "encoding/currency.h"
#include "encoding/memory_stream.h"
#include "encoding/value_type.h"

namespace xamu {

// Appends tagged values to a memory stream. Output is collected 255 bytes at a time and
// reaches the sink when the buffer is full and when the writer is finished (destroyed, or
// FlushBuffer); the sink holds the complete stream only after that.
class TWriter {
 public:
  explicit TWriter(MemoryStream& sink) : sink_(sink) {}
  ~TWriter() { FlushBuffer(); }
  TWriter(const TWriter&) = delete;
  TWriter& operator=(const TWriter&) = delete;

  // The tag follows the value, never the declared width: a narrower field is widened
  // first (signed with its sign, unsigned with zeros) by the usual promotions.
  void WriteInteger(std::int32_t value);
  // Values outside the 32-bit range take vaInt64; the rest are written as above.
  void WriteInteger(std::int64_t value);
  void WriteString(std::u16string_view value);
  void WriteFloat(long double value);
  // The forms only the vendor's side writes (the local service, and tests playing it): the
  // launcher reads them but never writes them itself.
  void WriteBoolean(bool value) { WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse); }
  void WriteCurrency(Currency value);
  void WriteDouble(double value);

  void WriteListBegin() { WriteValue(TValueType::vaList); }
  void WriteListEnd() { WriteValue(TValueType::vaNull); }

  void FlushBuffer();

 private:
  static constexpr std::size_t kBufferSize = 255;

  void WriteValue(TValueType type) { WriteByte(static_cast<std::uint8_t>(type)); }
  void WriteByte(std::uint8_t byte) {
    buffer_[used_++] = byte;
    if (used_ == kBufferSize) FlushBuffer();
  }
  void WriteLittleEndian(std::uint64_t value, std::size_t width);
  void Write(const void* data, std::size_t count);
  // UTF-16 code units as one byte each (7-bit text) or two, little-endian.
  void WriteUnits(std::u16string_view units, int width);

  MemoryStream& sink_;
  std::array<std::uint8_t, kBufferSize> buffer_;
  std::size_t used_ = 0;
};

}  // namespace xamu
