#include "tables/packet_values.h"

#include <cstring>

#include "encoding/little_endian.h"
#include "encoding/text_encoding.h"
#include "tables/packet_cursor.h"

namespace xamu {
namespace {

using namespace packet;

constexpr std::uint32_t kBaseSigned = 1;
constexpr std::uint32_t kBaseUnsigned = 2;
constexpr std::uint32_t kBaseBoolean = 3;
constexpr std::uint32_t kBaseFloat = 4;
constexpr std::uint32_t kBaseAnsiText = 9;
constexpr std::uint32_t kBaseUnicodeText = 10;

std::string WithoutTrailingNuls(std::string text) {
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

// `stored` is the whole stored value, length prefix included.
CellValue Interpret(const PacketColumn& column, std::span<const std::uint8_t> stored) {
  const std::uint32_t base = (column.type & kBaseTypeMask) >> 16;
  const std::uint32_t size = column.type & kSizeMask;
  const bool varying = (column.type & kVarying) != 0;
  const bool plain = !(column.type & (kArray | kPseudo | kEmbeddedTable));
  if (plain && !varying && stored.size() == size) {
    const std::uint64_t bits = DecodeLittleEndian(stored);
    if (base == kBaseSigned && (size == 1 || size == 2 || size == 4 || size == 8)) {
      const int shift = 64 - 8 * static_cast<int>(size);
      return static_cast<std::int64_t>(bits << shift) >> shift;
    }
    if (base == kBaseUnsigned && size <= 8) return static_cast<std::int64_t>(bits);
    if (base == kBaseBoolean) return bits != 0;
    if (base == kBaseFloat && size == 8) {
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return d;
    }
  }
  if (plain && varying && stored.size() >= size &&
      (base == kBaseAnsiText || base == kBaseUnicodeText)) {
    const auto text = stored.subspan(size);
    if (base == kBaseAnsiText) {
      return WithoutTrailingNuls(Utf16ToUtf8(
          Windows1252ToUtf16({reinterpret_cast<const char*>(text.data()), text.size()})));
    }
    std::u16string utf16(text.size() / 2, u'\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
      utf16[i] = static_cast<char16_t>(text[2 * i] | text[2 * i + 1] << 8);
    }
    return WithoutTrailingNuls(Utf16ToUtf8(utf16));
  }
  return TipoArregloByte(stored.begin(), stored.end());
}

}  // namespace

DecodedRow DecodeRow(const std::vector<PacketColumn>& columns, std::span<const std::uint8_t> row) {
  Cursor c(row);
  DecodedRow decoded;
  decoded.state = c.U8("a row state");
  const auto bitmap = c.Take((columns.size() + 3) / 4, "a null bitmap");
  for (std::size_t k = 0; k < columns.size(); ++k) {
    if (BlankMark(bitmap, k) != 0) {
      decoded.values.emplace_back(NullValue{});
      continue;
    }
    const std::size_t start = c.Position();
    SkipColumnValue(c, columns[k], 0);
    decoded.values.push_back(Interpret(columns[k], c.Since(start)));
  }
  return decoded;
}

std::vector<ChangeLogEntry> ReadChangeLog(const DataPacket& packet) {
  std::vector<ChangeLogEntry> entries;
  const PacketProperty* log = FindProperty(packet.properties, "CHANGE_LOG");
  if (log == nullptr || log->value.size() < 4) return entries;
  Cursor c(log->value);
  const std::uint32_t words = c.U32("the change log");
  for (std::uint32_t i = 0; i + 3 <= words && c.Remaining() >= 12; i += 3) {
    entries.push_back({c.U32("the change log"), c.U32("the change log"), c.U32("the change log")});
  }
  return entries;
}

}  // namespace xamu
