#include <string>

#include "tables/data_packet.h"
#include "tables/packet_cursor.h"

namespace xamu {
namespace {

using namespace packet;

// Nested tables nest; this bounds the recursion that hostile input could ask for.
constexpr int kMaxNesting = 16;
// The smallest column descriptor: a one-byte name, type word, attributes, property count.
constexpr std::size_t kMinDescriptorSize = 1 + 1 + 4 + 2 + 2;

// What the metadata may still hold: the header's column count, and properties in a number
// the packet's size justifies. A property takes five bytes and some sixty in memory, so
// without a bound a packet of properties would take twelve times its size.
struct Budget {
  std::size_t columns;
  std::size_t properties;
};
constexpr std::size_t kFreeProperties = 65536;
constexpr std::size_t kBytesPerProperty = 64;

std::uint64_t VaryingLength(Cursor& c, std::uint32_t size, bool blob_may_be_absent) {
  if (size != 1 && size != 2 && size != 4)
    Fail("a length prefix of " + std::to_string(size) + " bytes");
  const std::uint64_t length = c.Unsigned(size, "a length prefix");
  // A 4-byte length with its top bit set marks a BLOB that was not fetched: no bytes follow.
  if (blob_may_be_absent && size == 4 && (length & 0x80000000u) != 0) return 0;
  return length;
}

// The value of a property or a plain column: prefix and bytes, element count and
// elements, or a fixed size.
void SkipPlainValue(Cursor& c, std::uint32_t type, bool is_column) {
  const std::uint32_t word = type & ~kDeltaMarker;
  const std::uint32_t size = word & kSizeMask;
  if (word & kVarying) {
    c.Take(VaryingLength(c, size, is_column), "a value");
  } else if (word & kArray) {
    const std::uint64_t count = c.U32("an array count");
    c.Take(count * size, "an array");
  } else {
    c.Take(size, "a value");
  }
}

std::vector<PacketProperty> ReadProperties(Cursor& c, std::size_t count, Budget& budget) {
  // Each property takes at least a name length and a type word.
  c.Require(static_cast<std::uint64_t>(count) * 5, "the properties");
  if (count > budget.properties) Fail("more properties than its size justifies");
  budget.properties -= count;
  std::vector<PacketProperty> properties(count);
  for (PacketProperty& p : properties) {
    const std::uint8_t name_length = c.U8("a property name");
    const auto name = c.Take(name_length, "a property name");
    p.name.assign(name.begin(), name.end());
    p.type = c.U32("a property type");
    const std::size_t start = c.Position();
    SkipPlainValue(c, p.type, false);
    const auto value = c.Since(start);
    p.value.assign(value.begin(), value.end());
  }
  return properties;
}

PacketColumn ReadColumn(Cursor& c, Budget& budget, int depth);

// Reads `count` descriptors of one level, taking nested ones from the same budget.
std::vector<PacketColumn> ReadLevel(Cursor& c, std::size_t count, Budget& budget, int depth) {
  if (depth > kMaxNesting) Fail("nested tables too deep");
  if (count > budget.columns) Fail("more columns than the header counts");
  c.Require(static_cast<std::uint64_t>(count) * kMinDescriptorSize, "the column descriptors");
  std::vector<PacketColumn> columns;
  columns.reserve(count);
  for (std::size_t i = 0; i < count; ++i) columns.push_back(ReadColumn(c, budget, depth));
  return columns;
}

PacketColumn ReadColumn(Cursor& c, Budget& budget, int depth) {
  if (budget.columns == 0) Fail("more columns than the header counts");
  --budget.columns;
  PacketColumn column;
  const std::uint8_t name_length = c.U8("a column name");
  if (name_length == 0) Fail("a column without a name");
  const auto name = c.Take(name_length, "a column name");
  column.name.assign(name.begin(), name.end());
  column.type = c.U32("a column type");
  column.attributes = c.U16("column attributes");
  column.properties = ReadProperties(c, c.U16("a property count"), budget);
  if (column.type & kEmbeddedTable) {
    column.children = ReadLevel(c, column.type & kSizeMask, budget, depth + 1);
  }
  return column;
}

}  // namespace

namespace packet {

void SkipColumnValue(Cursor& c, const PacketColumn& column, int depth) {
  if (column.type & kEmbeddedTable) {
    const std::uint32_t count = c.U32("a nested row count");
    if (count & 0x80000000u) return;  // details not fetched: no rows follow
    c.Require(count, "the nested rows");
    for (std::uint32_t i = 0; i < count; ++i) SkipRow(c, column.children, depth + 1);
  } else if (!(column.type & kPseudo)) {
    SkipPlainValue(c, column.type, true);
  }
}

void SkipRow(Cursor& c, const std::vector<PacketColumn>& columns, int depth) {
  if (depth > kMaxNesting) Fail("nested tables too deep");
  c.U8("a row state");
  const auto bitmap = c.Take((columns.size() + 3) / 4, "a null bitmap");
  for (std::size_t k = 0; k < columns.size(); ++k) {
    if (BlankMark(bitmap, k) == 0) SkipColumnValue(c, columns[k], depth);
  }
}

}  // namespace packet

std::span<const std::uint8_t> DataPacket::Row(std::size_t i) const {
  if (i >= row_count) Fail("no row " + std::to_string(i));
  Cursor c(std::span<const std::uint8_t>(row_data).subspan(row_marks[i / kRowsPerMark]));
  for (std::size_t skip = i % kRowsPerMark; skip > 0; --skip) SkipRow(c, columns, 0);
  const std::size_t start = c.Position();
  SkipRow(c, columns, 0);
  return c.Since(start);
}

DataPacket ReadDataPacket(std::span<const std::uint8_t> bytes) {
  Cursor c(bytes);
  DataPacket p;
  p.magic = c.U32("the header");
  if (p.magic != kMagic && p.magic != kLegacyMagic) Fail("not a data packet");
  p.major_version = c.U16("the header");
  p.minor_version = c.U16("the header");
  if (p.major_version > 3 || p.minor_version > 3) Fail("an unknown version");
  const std::uint32_t header_size = c.U32("the header");
  if (header_size < kHeaderSize) Fail("a header shorter than 24 bytes");
  const std::uint16_t column_count = c.U16("the header");
  const std::uint32_t row_count = c.U32("the header");
  p.flags = c.U32("the header");
  p.data_offset_field = c.U16("the header");
  if (!(p.flags & kFlagMetadata)) Fail("a packet without metadata");
  if (p.flags & kFlagXml) Fail("an XML packet");
  const auto extra = c.Take(header_size - kHeaderSize, "the header");
  p.header_extra.assign(extra.begin(), extra.end());

  Budget budget{column_count, kFreeProperties + bytes.size() / kBytesPerProperty};
  // The top level takes what nested tables leave of the header's count.
  while (budget.columns > 0) p.columns.push_back(ReadColumn(c, budget, 0));
  p.properties = ReadProperties(c, c.U16("the dataset property count"), budget);

  if (p.flags & kFlagDataOffset) {
    if (p.data_offset_field < c.Position()) Fail("rows that start inside the metadata");
    const auto gap = c.Take(p.data_offset_field - c.Position(), "the data offset");
    p.metadata_gap.assign(gap.begin(), gap.end());
  }

  // Every row holds at least its state byte.
  c.Require(row_count, "the rows");
  const std::size_t rows_start = c.Position();
  p.row_marks.reserve(row_count / DataPacket::kRowsPerMark + 1);
  for (std::uint32_t i = 0; i < row_count; ++i) {
    if (i % DataPacket::kRowsPerMark == 0) p.row_marks.push_back(c.Position() - rows_start);
    SkipRow(c, p.columns, 0);
  }
  p.row_count = row_count;
  if (c.Remaining() != 0) Fail("bytes after the last row");
  const auto rows = c.Since(rows_start);
  p.row_data.assign(rows.begin(), rows.end());
  return p;
}

}  // namespace xamu
