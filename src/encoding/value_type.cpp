#include "encoding/value_type.h"

#include <array>

namespace xamu {

std::string_view ValueTypeName(TValueType type) {
  static constexpr std::array<std::string_view, 22> kNames = {
      "vaNull",    "vaList",  "vaInt8",       "vaInt16",  "vaInt32",    "vaExtended",
      "vaString",  "vaIdent", "vaFalse",      "vaTrue",   "vaBinary",   "vaSet",
      "vaLString", "vaNil",   "vaCollection", "vaSingle", "vaCurrency", "vaDate",
      "vaWString", "vaInt64", "vaUTF8String", "vaDouble"};
  const auto index = static_cast<std::size_t>(type);
  return index < kNames.size() ? kNames[index] : std::string_view();
}

}  // namespace xamu
