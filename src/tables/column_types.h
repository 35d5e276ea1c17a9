#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tables/data_packet.h"

// The four kinds of column the reference tables use, and how each is described in a packet.
namespace xamu {

enum class TipoColumna { kInt16, kInt32, kBool, kCurrency, kText };

struct ColumnaCatalogo {
  const char* nombre;
  TipoColumna tipo;
  std::uint16_t ancho = 0;  // capacity in characters, text only
};

// Bytes of the length prefix of a text column of that capacity: 1 up to 253, else 2.
int TextLengthPrefix(std::uint16_t ancho);

// Type word and properties: WIDTH for text, SUBTYPE "Money" for currency.
PacketColumn DescribirColumna(const ColumnaCatalogo& columna);

// "int16", "int32", "bool", "currency", "text", or the type word in hex for other columns.
std::string ColumnTypeName(const PacketColumn& column);

// The WIDTH property (2- or 4-byte), if the column has one.
std::optional<std::int64_t> ColumnWidth(const PacketColumn& column);

}  // namespace xamu
