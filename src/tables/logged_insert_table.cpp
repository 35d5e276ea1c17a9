#include "tables/logged_insert_table.h"

#include <cstring>

#include "encoding/little_endian.h"
#include "encoding/text_encoding.h"

namespace xamu {

using namespace packet;

LoggedInsertTable::LoggedInsertTable(std::span<const ColumnaCatalogo> columns) : columns_(columns) {
  for (const ColumnaCatalogo& c : columns) packet_.columns.push_back(DescribirColumna(c));
}

const ColumnaCatalogo& LoggedInsertTable::Next() {
  return columns_[column_++];
}

void LoggedInsertTable::Put(std::uint64_t value, int width) {
  AppendLittleEndian(packet_.row_data, value, static_cast<std::size_t>(width));
}

void LoggedInsertTable::BeginRow() {
  packet_.BeginRow();
  packet_.row_data.push_back(kRowInserted);
  // Every column is assigned, so no mark is set in the null bitmap.
  packet_.row_data.insert(packet_.row_data.end(), (columns_.size() + 3) / 4, 0);
  column_ = 0;
}

void LoggedInsertTable::AddInteger(std::int32_t value) {
  Put(static_cast<std::uint32_t>(value), Next().tipo == TipoColumna::kInt16 ? 2 : 4);
}

void LoggedInsertTable::AddBoolean(bool value) {
  Next();
  Put(value ? 1 : 0, 2);
}

void LoggedInsertTable::AddCurrency(Currency value) {
  Next();
  const double amount = static_cast<double>(value.units) / Currency::kScale;
  std::uint64_t bits;
  std::memcpy(&bits, &amount, sizeof bits);
  Put(bits, 8);
}

void LoggedInsertTable::AddText(std::u16string_view value) {
  const ColumnaCatalogo& column = Next();
  std::string bytes = Utf16ToWindows1252(value);
  if (bytes.size() > column.ancho) bytes.resize(column.ancho);
  // The engine stores an empty text as one NUL byte.
  if (bytes.empty()) bytes.push_back('\0');
  Put(bytes.size(), TextLengthPrefix(column.ancho));
  packet_.row_data.insert(packet_.row_data.end(), bytes.begin(), bytes.end());
}

void LoggedInsertTable::ReserveForInput(std::size_t consumed, std::size_t total) {
  if (consumed == 0 || total <= consumed) return;
  // A margin of 1/16 for rows a little longer than the first ones.
  const auto scaled = [&](std::size_t so_far) {
    const double estimate = static_cast<double>(so_far) * static_cast<double>(total) /
                            static_cast<double>(consumed) * (1.0 + 1.0 / 16);
    return static_cast<std::size_t>(estimate) + 64;
  };
  packet_.row_data.reserve(scaled(packet_.row_data.size()));
  packet_.row_marks.reserve(scaled(packet_.row_marks.size()));
}

DataPacket LoggedInsertTable::Finish() && {
  const std::size_t rows = packet_.RowCount();
  if (rows > 0) {
    PacketProperty log{"CHANGE_LOG", kTypeUInt32Array, {}};
    log.value.reserve(4 + rows * 12);
    const auto put32 = [&](std::uint32_t v) { AppendLittleEndian(log.value, v, 4); };
    put32(static_cast<std::uint32_t>(rows * 3));
    for (std::size_t r = 1; r <= rows; ++r) {
      put32(static_cast<std::uint32_t>(r));
      put32(0);
      put32(kLogInsert);
    }
    packet_.properties.push_back(std::move(log));
  }
  return std::move(packet_);
}

}  // namespace xamu
