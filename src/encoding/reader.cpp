#include "encoding/reader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "encoding/errors.h"
#include "encoding/extended_float.h"
#include "encoding/little_endian.h"
#include "encoding/text_encoding.h"

namespace xamu {
namespace {

[[noreturn]] void InvalidPropertyValue() {
  throw EReadError(kInvalidPropertyValue);
}
[[noreturn]] void StreamReadError() {
  throw EReadError(kStreamReadError);
}

}  // namespace

TReader::~TReader() {
  source_.Seek(source_.Position() - (filled_ - position_));
}

bool TReader::Fill() {
  filled_ = source_.Read(buffer_.data(), kBufferSize);
  position_ = 0;
  return filled_ != 0;
}

void TReader::Read(void* destination, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(destination);
  while (count != 0) {
    if (position_ == filled_ && !Fill()) StreamReadError();
    const std::size_t n = std::min(count, filled_ - position_);
    std::memcpy(out, buffer_.data() + position_, n);
    position_ += n;
    out += n;
    count -= n;
  }
}

void TReader::Require(std::uint64_t count) {
  if (count > BytesRemaining()) StreamReadError();
}

std::uint64_t TReader::ReadLittleEndian(std::size_t width) {
  std::uint8_t bytes[8];
  Read(bytes, width);
  return DecodeLittleEndian(std::span(bytes, width));
}

TValueType TReader::ReadValue() {
  if (position_ == filled_ && !Fill()) StreamReadError();
  return static_cast<TValueType>(buffer_[position_++]);
}

TValueType TReader::NextValue() {
  const TValueType type = ReadValue();
  PutBackValue();
  return type;
}

std::int32_t TReader::ReadInteger() {
  switch (ReadValue()) {
    case TValueType::vaInt8:
      return static_cast<std::int8_t>(ReadLittleEndian(1));
    case TValueType::vaInt16:
      return static_cast<std::int16_t>(ReadLittleEndian(2));
    case TValueType::vaInt32:
      return static_cast<std::int32_t>(ReadLittleEndian(4));
    default:
      InvalidPropertyValue();
  }
}

std::int64_t TReader::ReadInt64() {
  if (NextValue() == TValueType::vaInt64) {
    ReadValue();
    return static_cast<std::int64_t>(ReadLittleEndian(8));
  }
  return ReadInteger();
}

double TReader::ReadDouble() {
  if (NextValue() == TValueType::vaDouble) {
    ReadValue();
    const std::uint64_t bits = ReadLittleEndian(8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  return static_cast<double>(ReadInt64());
}

long double TReader::ReadFloat() {
  if (NextValue() == TValueType::vaExtended) {
    ReadValue();
    ExtendedBytes bytes;
    Read(bytes.data(), bytes.size());
    return BytesToExtended(bytes);
  }
  return ReadDouble();
}

Currency TReader::ReadCurrency() {
  if (NextValue() == TValueType::vaCurrency) {
    ReadValue();
    return Currency{static_cast<std::int64_t>(ReadLittleEndian(8))};
  }
  const std::int64_t whole = ReadInt64();
  // A whole number too large to scale would wrap into a wrong amount.
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / Currency::kScale;
  if (whole > kLimit || whole < -kLimit) InvalidPropertyValue();
  return Currency{whole * Currency::kScale};
}

bool TReader::ReadBoolean() {
  switch (ReadValue()) {
    case TValueType::vaFalse:
      return false;
    case TValueType::vaTrue:
      return true;
    default:
      InvalidPropertyValue();
  }
}

std::u16string TReader::ReadString() {
  const TValueType type = ReadValue();
  std::uint64_t length;
  switch (type) {
    case TValueType::vaString:
      length = ReadLittleEndian(1);
      break;
    case TValueType::vaLString:
    case TValueType::vaWString:
    case TValueType::vaUTF8String: {
      const auto declared = static_cast<std::int32_t>(ReadLittleEndian(4));
      if (declared < 0) InvalidPropertyValue();
      length = static_cast<std::uint64_t>(declared);
      break;
    }
    default:
      InvalidPropertyValue();
  }
  if (type == TValueType::vaWString) {
    Require(2 * length);
    std::string bytes(2 * length, '\0');
    Read(bytes.data(), bytes.size());
    std::u16string text(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
  }
  Require(length);
  std::string bytes(length, '\0');
  Read(bytes.data(), bytes.size());
  return type == TValueType::vaUTF8String ? Utf8ToUtf16(bytes) : Windows1252ToUtf16(bytes);
}

void TReader::CheckValue(TValueType expected) {
  if (ReadValue() == expected) return;
  PutBackValue();
  SkipValue();
  InvalidPropertyValue();
}

void TReader::SkipPayload(TValueType type) {
  std::uint64_t count = 0;
  switch (type) {
    case TValueType::vaInt8:
      count = 1;
      break;
    case TValueType::vaInt16:
      count = 2;
      break;
    case TValueType::vaInt32:
      count = 4;
      break;
    case TValueType::vaInt64:
    case TValueType::vaDouble:
    case TValueType::vaCurrency:
      count = 8;
      break;
    case TValueType::vaExtended:
      count = 10;
      break;
    case TValueType::vaString:
      count = ReadLittleEndian(1);
      break;
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
      count = static_cast<std::uint32_t>(ReadLittleEndian(4));
      break;
    case TValueType::vaWString:
      count = 2 * static_cast<std::uint64_t>(static_cast<std::uint32_t>(ReadLittleEndian(4)));
      break;
    default:
      // Tags without a payload, and those this system never accepts: nothing to skip.
      return;
  }
  Require(count);
  std::uint8_t scratch[kBufferSize];
  while (count != 0) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, kBufferSize));
    Read(scratch, n);
    count -= n;
  }
}

void TReader::SkipValue() {
  // Lists nest; a depth count instead of recursion keeps hostile input off the call stack.
  std::uint64_t depth = 0;
  do {
    const TValueType type = ReadValue();
    if (type == TValueType::vaList) {
      ++depth;
    } else if (type == TValueType::vaNull && depth != 0) {
      --depth;
    } else {
      SkipPayload(type);
    }
  } while (depth != 0);
}

}  // namespace xamu
