#pragma once

#include <cstdint>
#include <string_view>

namespace xamu {

// The tag byte in front of every value of a value stream. The numbering is fixed by the
// peers; tags that are never written keep their numbers.
enum class TValueType : std::uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaDouble = 21,
};

// "vaInt8" and so on; empty for a byte that is no tag at all.
std::string_view ValueTypeName(TValueType type);

}  // namespace xamu
