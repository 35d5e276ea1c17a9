#include <string>

#include "encoding/little_endian.h"
#include "tables/data_packet.h"

namespace xamu {
namespace {

using namespace packet;

constexpr std::size_t kFlagsAt = 18;
constexpr std::size_t kDataOffsetAt = 22;

class ByteSink {
 public:
  void LittleEndian(std::uint64_t value, std::size_t width) {
    AppendLittleEndian(bytes, value, width);
  }
  void Patch(std::size_t at, std::uint64_t value, std::size_t width) {
    EncodeLittleEndian(value, std::span(bytes).subspan(at, width));
  }
  void Append(std::span<const std::uint8_t> b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
  void Name(const std::string& name) {
    if (name.size() > 255) throw EDataPacketError("a name longer than 255 bytes: " + name);
    bytes.push_back(static_cast<std::uint8_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
  }
  void Properties(const std::vector<PacketProperty>& properties) {
    for (const PacketProperty& p : properties) {
      Name(p.name);
      LittleEndian(p.type, 4);
      if (&p == left_out) {
        left_out_at = bytes.size();
      } else {
        Append(p.value);
      }
    }
  }
  void Columns(const std::vector<PacketColumn>& columns) {
    for (const PacketColumn& c : columns) {
      Name(c.name);
      LittleEndian(c.type, 4);
      LittleEndian(c.attributes, 2);
      LittleEndian(c.properties.size(), 2);
      Properties(c.properties);
      Columns(c.children);
    }
  }
  TipoArregloByte bytes;
  // A property whose value is not appended, and where it belongs.
  const PacketProperty* left_out = nullptr;
  std::size_t left_out_at = 0;
};

const PacketProperty* Largest(const std::vector<PacketProperty>& properties,
                              const PacketProperty* largest) {
  for (const PacketProperty& p : properties) {
    if (largest == nullptr || p.value.size() > largest->value.size()) largest = &p;
  }
  return largest;
}

const PacketProperty* Largest(const std::vector<PacketColumn>& columns,
                              const PacketProperty* largest) {
  for (const PacketColumn& c : columns) {
    largest = Largest(c.children, Largest(c.properties, largest));
  }
  return largest;
}

}  // namespace

void DataPacket::BeginRow() {
  if (row_count % kRowsPerMark == 0) row_marks.push_back(row_data.size());
  ++row_count;
}

std::size_t CountColumns(const std::vector<PacketColumn>& columns) {
  std::size_t count = columns.size();
  for (const PacketColumn& c : columns) count += CountColumns(c.children);
  return count;
}

const PacketProperty* FindProperty(const std::vector<PacketProperty>& properties,
                                   std::string_view name) {
  for (const PacketProperty& p : properties) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

PacketMetadata WritePacketMetadataParts(const DataPacket& packet) {
  const std::size_t column_count = CountColumns(packet.columns);
  if (column_count > 0xFFFF) throw EDataPacketError("too many columns");
  ByteSink out;
  out.left_out = Largest(packet.properties, Largest(packet.columns, nullptr));
  const std::size_t left_out_size = out.left_out ? out.left_out->value.size() : 0;
  out.LittleEndian(packet.magic, 4);
  out.LittleEndian(packet.major_version, 2);
  out.LittleEndian(packet.minor_version, 2);
  out.LittleEndian(kHeaderSize + packet.header_extra.size(), 4);
  out.LittleEndian(column_count, 2);
  out.LittleEndian(packet.RowCount(), 4);
  out.LittleEndian(packet.flags, 4);
  out.LittleEndian(packet.data_offset_field, 2);
  out.Append(packet.header_extra);
  out.Columns(packet.columns);
  if (packet.properties.size() > 0xFFFF) throw EDataPacketError("too many properties");
  out.LittleEndian(packet.properties.size(), 2);
  out.Properties(packet.properties);
  out.Append(packet.metadata_gap);

  // The offset of the first row is recorded, and flagged as valid, when it fits.
  if (packet.flags & kFlagDataOffset) {
    const std::size_t data_offset = out.bytes.size() + left_out_size;
    const bool fits = data_offset <= 0xFFFF;
    const std::uint32_t flags = fits ? packet.flags : packet.flags & ~kFlagDataOffset;
    out.Patch(kFlagsAt, flags, 4);
    out.Patch(kDataOffsetAt, fits ? data_offset : 0, 2);
  }
  PacketMetadata metadata{std::move(out.bytes), out.left_out_at, {}};
  if (out.left_out) metadata.value = out.left_out->value;
  return metadata;
}

TipoArregloByte WritePacketMetadata(const DataPacket& packet) {
  PacketMetadata metadata = WritePacketMetadataParts(packet);
  metadata.bytes.insert(metadata.bytes.begin() + static_cast<std::ptrdiff_t>(metadata.value_at),
                        metadata.value.begin(), metadata.value.end());
  return std::move(metadata.bytes);
}

TipoArregloByte WriteDataPacket(const DataPacket& packet) {
  TipoArregloByte bytes = WritePacketMetadata(packet);
  bytes.insert(bytes.end(), packet.row_data.begin(), packet.row_data.end());
  return bytes;
}

}  // namespace xamu
