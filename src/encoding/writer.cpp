#include "encoding/writer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "encoding/extended_float.h"
#include "encoding/little_endian.h"
#include "encoding/text_encoding.h"

namespace xamu {

void TWriter::FlushBuffer() {
  sink_.Write(buffer_.data(), used_);
  used_ = 0;
}

void TWriter::WriteLittleEndian(std::uint64_t value, std::size_t width) {
  std::uint8_t bytes[8];
  EncodeLittleEndian(value, std::span(bytes, width));
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
  // One pass for the UTF-8 length and whether the text is 7-bit, without encoding it.
  const std::size_t l16 = value.size();
  std::size_t l8 = 0;
  bool seven_bit = true;
  for (std::size_t i = 0; i < l16; ++i) {
    const char16_t c = value[i];
    if (c < 0x80) {
      l8 += 1;
      continue;
    }
    seven_bit = false;
    if (c < 0x800) {
      l8 += 2;
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < l16 && value[i + 1] >= 0xDC00 &&
               value[i + 1] <= 0xDFFF) {
      l8 += 4;
      ++i;
    } else {
      l8 += 3;  // a lone surrogate is written as U+FFFD
    }
  }
  if (l8 >= 2 * l16) {
    // Text that needs two UTF-8 bytes a character or more travels as UTF-16.
    WriteValue(TValueType::vaWString);
    WriteLittleEndian(l16, 4);
    WriteUnits(value, 2);
  } else if (!seven_bit) {
    WriteValue(TValueType::vaUTF8String);
    WriteLittleEndian(l8, 4);
    const std::string utf8 = Utf16ToUtf8(value);
    Write(utf8.data(), utf8.size());
  } else {
    if (l8 > 255) {
      WriteValue(TValueType::vaLString);
      WriteLittleEndian(l8, 4);
    } else {
      WriteValue(TValueType::vaString);
      WriteLittleEndian(l8, 1);
    }
    WriteUnits(value, 1);
  }
}

void TWriter::WriteUnits(std::u16string_view units, int width) {
  std::size_t i = 0;
  while (i < units.size()) {
    const std::size_t room = (kBufferSize - used_) / static_cast<std::size_t>(width);
    if (room == 0) {
      FlushBuffer();
      continue;
    }
    const std::size_t n = std::min(room, units.size() - i);
    std::uint8_t* out = buffer_.data() + used_;
    for (std::size_t k = 0; k < n; ++k) {
      const char16_t c = units[i + k];
      out[k * width] = static_cast<std::uint8_t>(c);
      if (width == 2) out[k * width + 1] = static_cast<std::uint8_t>(c >> 8);
    }
    used_ += n * static_cast<std::size_t>(width);
    i += n;
    if (used_ == kBufferSize) FlushBuffer();
  }
}

void TWriter::WriteCurrency(Currency value) {
  WriteValue(TValueType::vaCurrency);
  WriteLittleEndian(static_cast<std::uint64_t>(value.units), 8);
}

void TWriter::WriteDouble(double value) {
  WriteValue(TValueType::vaDouble);
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteLittleEndian(bits, 8);
}

void TWriter::WriteFloat(long double value) {
  WriteValue(TValueType::vaExtended);
  const ExtendedBytes bytes = ExtendedToBytes(value);
  Write(bytes.data(), bytes.size());
}

}  // namespace xamu
