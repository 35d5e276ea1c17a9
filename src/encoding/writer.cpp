#include "encoding/writer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "encoding/extended_float.h"
#include "encoding/text_encoding.h"

namespace xamu {

void TWriter::FlushBuffer() {
  sink_.Write(buffer_.data(), used_);
  used_ = 0;
}

void TWriter::WriteLittleEndian(std::uint64_t value, std::size_t width) {
  std::uint8_t bytes[8];
  for (std::size_t i = 0; i < width; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  Write(bytes, width);
}

void TWriter::Write(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (count != 0) {
    const std::size_t n = std::min(kBufferSize - used_, count);
    std::memcpy(buffer_.data() + used_, bytes, n);
    used_ += n;
    bytes += n;
    count -= n;
    if (used_ == kBufferSize) FlushBuffer();
  }
}

void TWriter::WriteInteger(std::int32_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(TValueType::vaInt8);
    WriteLittleEndian(static_cast<std::uint32_t>(value), 1);
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(TValueType::vaInt16);
    WriteLittleEndian(static_cast<std::uint32_t>(value), 2);
  } else {
    WriteValue(TValueType::vaInt32);
    WriteLittleEndian(static_cast<std::uint32_t>(value), 4);
  }
}

void TWriter::WriteInteger(std::int64_t value) {
  if (value >= std::numeric_limits<std::int32_t>::min() &&
      value <= std::numeric_limits<std::int32_t>::max()) {
    WriteInteger(static_cast<std::int32_t>(value));
    return;
  }
  WriteValue(TValueType::vaInt64);
  WriteLittleEndian(static_cast<std::uint64_t>(value), 8);
}

void TWriter::WriteString(std::u16string_view value) {
  const std::string utf8 = Utf16ToUtf8(value);
  const std::size_t l8 = utf8.size();
  const std::size_t l16 = value.size();
  if (l8 >= 2 * l16) {
    // Text that needs two UTF-8 bytes a character or more travels as UTF-16.
    WriteValue(TValueType::vaWString);
    WriteLittleEndian(l16, 4);
    std::string utf16le(2 * l16, '\0');
    for (std::size_t i = 0; i < l16; ++i) {
      utf16le[2 * i] = static_cast<char>(value[i] & 0xFF);
      utf16le[2 * i + 1] = static_cast<char>(value[i] >> 8);
    }
    Write(utf16le.data(), utf16le.size());
    return;
  }
  bool seven_bit = true;
  for (const char c : utf8) seven_bit = seven_bit && (static_cast<unsigned char>(c) & 0x80) == 0;
  if (!seven_bit) {
    WriteValue(TValueType::vaUTF8String);
    WriteLittleEndian(l8, 4);
  } else if (l8 > 255) {
    WriteValue(TValueType::vaLString);
    WriteLittleEndian(l8, 4);
  } else {
    WriteValue(TValueType::vaString);
    WriteLittleEndian(l8, 1);
  }
  Write(utf8.data(), l8);
}

void TWriter::WriteFloat(long double value) {
  WriteValue(TValueType::vaExtended);
  const ExtendedBytes bytes = ExtendedToBytes(value);
  Write(bytes.data(), bytes.size());
}

}  // namespace xamu
