#include "tables/column_types.h"
#include "encoding/little_endian.h"

#include <algorithm>
#include <cstdio>

namespace xamu {
namespace {

using namespace packet;

constexpr const char* kWidth = "WIDTH";
constexpr const char* kSubtype = "SUBTYPE";
constexpr const char* kMoney = "Money";
// Text of up to 253 characters takes a one-byte length prefix, longer text two bytes.
constexpr std::uint16_t kLongestShortText = 253;

PacketProperty U16Property(const char* name, std::uint16_t value) {
  PacketProperty p{name, kTypeUInt16, TipoArregloByte(2)};
  EncodeLittleEndian(value, p.value);
  return p;
}

// String properties carry a NUL that their length counts.
PacketProperty StringProperty(const char* name, std::string_view text) {
  const std::size_t length = text.size() + 1;
  PacketProperty p{name, kTypeTextLong, TipoArregloByte(2 + length, 0)};
  EncodeLittleEndian(length, std::span(p.value).first(2));
  std::copy(text.begin(), text.end(), p.value.begin() + 2);
  return p;
}

bool IsMoney(const PacketColumn& column) {
  const PacketProperty* subtype = FindProperty(column.properties, kSubtype);
  if (subtype == nullptr || subtype->value.size() < 2) return false;
  std::string text(subtype->value.begin() + 2, subtype->value.end());
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text == kMoney;
}

}  // namespace

int TextLengthPrefix(std::uint16_t ancho) {
  return ancho <= kLongestShortText ? 1 : 2;
}

PacketColumn DescribirColumna(const ColumnaCatalogo& columna) {
  PacketColumn c;
  c.name = columna.nombre;
  switch (columna.tipo) {
    case TipoColumna::kInt16:
      c.type = kTypeInt16;
      break;
    case TipoColumna::kInt32:
      c.type = kTypeInt32;
      break;
    case TipoColumna::kBool:
      c.type = kTypeBool;
      break;
    case TipoColumna::kCurrency:
      c.type = kTypeDouble;
      c.properties.push_back(StringProperty(kSubtype, kMoney));
      break;
    case TipoColumna::kText:
      c.type = TextLengthPrefix(columna.ancho) == 1 ? kTypeTextShort : kTypeTextLong;
      c.properties.push_back(U16Property(kWidth, columna.ancho));
      break;
  }
  return c;
}

std::string ColumnTypeName(const PacketColumn& column) {
  switch (column.type) {
    case kTypeInt16:
      return "int16";
    case kTypeInt32:
      return "int32";
    case kTypeBool:
      return "bool";
    case kTypeDouble:
      if (IsMoney(column)) return "currency";
      break;
    case kTypeTextShort:
    case kTypeTextLong:
      return "text";
    default:
      break;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", column.type);
  return hex;
}

std::optional<std::int64_t> ColumnWidth(const PacketColumn& column) {
  const PacketProperty* width = FindProperty(column.properties, kWidth);
  if (width == nullptr) return std::nullopt;
  const auto& v = width->value;
  if (v.size() == 2) return static_cast<std::int64_t>(DecodeLittleEndian(v));
  if (v.size() == 4) return static_cast<std::int32_t>(DecodeLittleEndian(v));
  return std::nullopt;
}

}  // namespace xamu
