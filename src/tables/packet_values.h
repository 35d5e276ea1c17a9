#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "tables/data_packet.h"

// The values of a packet's rows, decoded for people to read.
namespace xamu {

struct NullValue {
  bool operator==(const NullValue&) const = default;
};
// Integers, Booleans, floating amounts, text (UTF-8, trailing NULs stripped), or the
// stored bytes of any other kind of column.
using CellValue = std::variant<NullValue, std::int64_t, bool, double, std::string, TipoArregloByte>;

struct DecodedRow {
  std::uint8_t state = 0;
  std::vector<CellValue> values;  // one per top-level column
};

// EDataPacketError when the row does not fit the columns.
DecodedRow DecodeRow(const std::vector<PacketColumn>& columns, std::span<const std::uint8_t> row);

using ChangeLogEntry = std::array<std::uint32_t, 3>;  // row, previous row, action
std::vector<ChangeLogEntry> ReadChangeLog(const DataPacket& packet);

}  // namespace xamu
