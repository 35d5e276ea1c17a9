#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "encoding/currency.h"
#include "tables/column_types.h"
#include "tables/data_packet.h"

namespace xamu {

// Builds a dataset whose rows are logged insertions: state 4, every column assigned, and
// a CHANGE_LOG entry (r, 0, 4) for each row. Values are given row by row, column by
// column, in column order.
class LoggedInsertTable {
 public:
  explicit LoggedInsertTable(std::span<const ColumnaCatalogo> columns);

  void BeginRow();
  void AddInteger(std::int32_t value);  // int16 and int32 columns; the caller checks the range
  void AddBoolean(bool value);
  void AddCurrency(Currency value);
  // Windows-1252, cut to the column's capacity.
  void AddText(std::u16string_view value);

  // Reserves room for the rows still to come, estimated from the rows so far: they took
  // the first `consumed` of `total` input bytes. The row data then grows once instead of
  // being copied to ever larger buffers, each in fresh memory.
  void ReserveForInput(std::size_t consumed, std::size_t total);

  DataPacket Finish() &&;

 private:
  void Put(std::uint64_t value, int width);
  const ColumnaCatalogo& Next();

  std::span<const ColumnaCatalogo> columns_;
  DataPacket packet_;
  std::size_t column_ = 0;
};

}  // namespace xamu
