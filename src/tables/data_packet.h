#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "encoding/memory_stream.h"
#include "tables/errors.h"

// The binary data packet of the client dataset: the form of the dataset files the main
// application reads, and of the packet tables the service sends. A packet read here keeps
// every header field, property and row byte as received, so that writing it again gives
// the same bytes.
namespace xamu {

namespace packet {

inline constexpr std::uint32_t kMagic = 0xBDE01996;
inline constexpr std::uint32_t kLegacyMagic = 0x0000ABCD;
inline constexpr std::uint32_t kHeaderSize = 24;
inline constexpr std::uint32_t kFlagMetadata = 0x0001;
inline constexpr std::uint32_t kFlagDataOffset = 0x0002;
inline constexpr std::uint32_t kFlagXml = 0x8000;

// The 32-bit type word of columns and properties.
inline constexpr std::uint32_t kSizeMask = 0x0000FFFF;
inline constexpr std::uint32_t kBaseTypeMask = 0x003F0000;
inline constexpr std::uint32_t kVarying = 0x00400000;
inline constexpr std::uint32_t kArray = 0x00800000;
inline constexpr std::uint32_t kPseudo = 0x01000000;
inline constexpr std::uint32_t kEmbeddedTable = 0x04000000;
inline constexpr std::uint32_t kDeltaMarker = 0x80000000;

inline constexpr std::uint32_t kTypeInt16 = 0x00010002;
inline constexpr std::uint32_t kTypeInt32 = 0x00010004;
inline constexpr std::uint32_t kTypeBool = 0x00030002;
inline constexpr std::uint32_t kTypeDouble = 0x00040008;
inline constexpr std::uint32_t kTypeTextShort = 0x00490001;  // 1-byte length prefix
inline constexpr std::uint32_t kTypeTextLong = 0x00490002;   // 2-byte length prefix
inline constexpr std::uint32_t kTypeUInt16 = 0x00020002;
inline constexpr std::uint32_t kTypeUInt32Array = 0x00820004;

// Row states and the two marks of the null bitmap.
inline constexpr std::uint8_t kRowInserted = 0x04;
inline constexpr std::uint8_t kBlankNull = 1;
inline constexpr std::uint8_t kBlankNotChanged = 2;
inline constexpr std::uint32_t kLogInsert = 4;

}  // namespace packet

// A column or dataset property: its type word and its value bytes exactly as stored (the
// length prefix or element count included).
struct PacketProperty {
  std::string name;
  std::uint32_t type = 0;
  TipoArregloByte value;

  friend bool operator==(const PacketProperty&, const PacketProperty&) = default;
};

struct PacketColumn {
  std::string name;
  std::uint32_t type = 0;
  std::uint16_t attributes = 0;
  std::vector<PacketProperty> properties;
  // The columns of a nested table; empty for every other column.
  std::vector<PacketColumn> children;

  friend bool operator==(const PacketColumn&, const PacketColumn&) = default;
};

struct DataPacket {
  std::uint32_t magic = packet::kMagic;
  std::uint16_t major_version = 1;
  std::uint16_t minor_version = 0;
  std::uint32_t flags = packet::kFlagMetadata | packet::kFlagDataOffset;
  std::uint16_t data_offset_field = 0;  // as stored; recomputed when the flag says it is valid
  TipoArregloByte header_extra;         // header bytes beyond the 24 known ones
  std::vector<PacketColumn> columns;    // the top level
  std::vector<PacketProperty> properties;
  TipoArregloByte metadata_gap;  // bytes between the metadata and the first row
  // The top-level rows, one after another exactly as stored (state byte, null bitmap,
  // values).
  TipoArregloByte row_data;
  // Where every kRowsPerMark-th row begins: a row may be a single byte, and an offset for
  // each would take eight times the rows' own memory.
  static constexpr std::size_t kRowsPerMark = 16;
  std::vector<std::size_t> row_marks;
  std::size_t row_count = 0;

  std::size_t RowCount() const { return row_count; }
  // Records that a row begins at the end of row_data.
  void BeginRow();
  // Row i, found by stepping over the rows from the nearest mark; EDataPacketError when
  // the rows do not fit the columns.
  std::span<const std::uint8_t> Row(std::size_t i) const;

  friend bool operator==(const DataPacket&, const DataPacket&) = default;
};

// Raises EDataPacketError for anything it cannot load; never reads out of bounds, and
// checks every count and length against the bytes that remain before using it.
DataPacket ReadDataPacket(std::span<const std::uint8_t> bytes);

// The header and metadata; the file is these bytes followed by row_data.
TipoArregloByte WritePacketMetadata(const DataPacket& packet);

// The same metadata with its largest property value left out, to be written in its place
// straight from the packet: a dataset's change log takes twelve bytes a row, more than the
// rows themselves, and is not worth a second copy.
struct PacketMetadata {
  TipoArregloByte bytes;                // the metadata without that value
  std::size_t value_at = 0;             // where the value belongs in `bytes`
  std::span<const std::uint8_t> value;  // the value, in the packet
};
PacketMetadata WritePacketMetadataParts(const DataPacket& packet);
TipoArregloByte WriteDataPacket(const DataPacket& packet);

// The number of descriptors, nested ones included.
std::size_t CountColumns(const std::vector<PacketColumn>& columns);

// Property lookup; null when absent.
const PacketProperty* FindProperty(const std::vector<PacketProperty>& properties,
                                   std::string_view name);

}  // namespace xamu
