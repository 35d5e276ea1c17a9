#include <gtest/gtest.h>

#include "encoding/text_forms.h"
#include "support/bytes.h"
#include "tables/data_packet.h"
#include "tables/logged_insert_table.h"
#include "tables/packet_values.h"

namespace xamu {
namespace {

using testing::Hex;

const ColumnaCatalogo kExampleColumns[] = {{"A", TipoColumna::kInt16},
                                           {"B", TipoColumna::kText, 5},
                                           {"C", TipoColumna::kBool},
                                           {"D", TipoColumna::kInt32},
                                           {"E", TipoColumna::kCurrency}};

// Header and descriptors of the five example columns, up to the dataset property count.
const char* kExampleMetadata =
    "01 41 02 00 01 00 00 00 00 00 "
    "01 42 01 00 49 00 00 00 01 00 05 57 49 44 54 48 02 00 02 00 05 00 "
    "01 43 02 00 03 00 00 00 00 00 "
    "01 44 04 00 01 00 00 00 00 00 "
    "01 45 08 00 04 00 00 00 01 00 07 53 55 42 54 59 50 45 02 00 49 00 06 00 4D 6F 6E 65 79 00";

TEST(DataPacketWriter, OneLoggedRowMatchesTheWorkedExampleByteForByte) {
  LoggedInsertTable table(kExampleColumns);
  table.BeginRow();
  table.AddInteger(1);
  table.AddText(u"ab");
  table.AddBoolean(true);
  table.AddInteger(70000);
  table.AddCurrency(Currency{15000});
  const TipoArregloByte bytes = WriteDataPacket(std::move(table).Finish());
  const std::string expected =
      std::string("96 19 E0 BD 01 00 00 00 18 00 00 00 05 00 01 00 00 00 ") + "03 00 00 00 8B 00 " +
      kExampleMetadata +
      " 01 00 0A 43 48 41 4E 47 45 5F 4C 4F 47 04 00 82 00 03 00 00 00 "
      "01 00 00 00 00 00 00 00 04 00 00 00 "
      "04 00 00 01 00 02 61 62 01 00 70 11 01 00 00 00 00 00 00 00 F8 3F";
  EXPECT_EQ(bytes.size(), 161u);
  EXPECT_EQ(BytesToHex(bytes), expected);
}

TEST(DataPacketWriter, NoRowsMatchesTheEmptyExample) {
  const TipoArregloByte bytes = WriteDataPacket(LoggedInsertTable(kExampleColumns).Finish());
  EXPECT_EQ(bytes.size(), 108u);
  EXPECT_EQ(BytesToHex(bytes), std::string("96 19 E0 BD 01 00 00 00 18 00 00 00 05 00 00 00 00 00 "
                                           "03 00 00 00 6C 00 ") +
                                   kExampleMetadata + " 00 00");
}

TEST(LoggedInsertTable, TextIsWindows1252CutToItsCapacityAndEmptyIsOneNul) {
  const ColumnaCatalogo columns[] = {{"T", TipoColumna::kText, 3}, {"L", TipoColumna::kText, 254}};
  LoggedInsertTable table(columns);
  table.BeginRow();
  table.AddText(u"\u00D1and\u00FA");
  table.AddText(u"");
  const DataPacket packet = std::move(table).Finish();
  EXPECT_EQ(BytesToHex(TipoArregloByte(packet.row_data.begin(), packet.row_data.end())),
            "04 00 03 D1 61 6E 01 00 00");
  EXPECT_EQ(packet.columns[1].type, 0x00490002u) << "254 characters take a 2-byte prefix";
}

// A packet from another writer, with what our own tables never use: a nested table, a
// memo, an unsigned column, both null marks, a column and a dataset property of their
// own, LCID, a modified row pair and a header with extra bytes.
TipoArregloByte ForeignPacket() {
  return Hex(
      "96 19 E0 BD 02 00 00 00 1A 00 00 00 05 00 03 00 00 00 03 00 00 00 C5 00 "
      "AB CD "  // two extra header bytes
      // Id: int32, READONLY|REQUIRED, SUBTYPE "Autoinc"
      "02 49 64 04 00 01 00 06 00 01 00 07 53 55 42 54 59 50 45 02 00 49 00 08 00 41 75 74 6F 69 "
      "6E 63 00 "
      // Memo: blob, 4-byte prefix, SUBTYPE "Text"
      "04 4D 65 6D 6F 04 00 4B 00 00 00 01 00 07 53 55 42 54 59 50 45 02 00 49 00 05 00 54 65 78 "
      "74 00 "
      // Unsigned: word
      "01 55 02 00 02 00 00 00 00 00 "
      // Lines: nested table with one child column
      "05 4C 69 6E 65 73 01 00 0E 05 00 00 00 00 "
      "03 51 74 79 04 00 01 00 00 00 00 00 "
      // dataset properties: CHANGE_LOG (1,0,4)(2,0,4)(3,1,8) and LCID 1033
      "02 00 0A 43 48 41 4E 47 45 5F 4C 4F 47 04 00 82 00 09 00 00 00 "
      "01 00 00 00 00 00 00 00 04 00 00 00 02 00 00 00 00 00 00 00 04 00 00 00 "
      "03 00 00 00 01 00 00 00 08 00 00 00 "
      "04 4C 43 49 44 04 00 01 00 09 04 00 00 "
      // row 1: state 1 (original), all values, one nested row
      "01 00 07 00 00 00 03 00 00 00 61 62 63 FF FF 01 00 00 00 04 00 2A 00 00 00 "
      // row 2: state 4, Memo null, Unsigned not changed, nested details not fetched
      "04 24 08 00 00 00 00 00 00 80 "
      // row 3: state 12, everything null but the id
      "0C 54 09 00 00 00");
}

TEST(DataPacketReader, KeepsEveryByteOfAForeignPacket) {
  const TipoArregloByte original = ForeignPacket();
  const DataPacket packet = ReadDataPacket(original);
  ASSERT_EQ(packet.columns.size(), 4u);
  ASSERT_EQ(packet.columns[3].children.size(), 1u);
  EXPECT_EQ(packet.RowCount(), 3u);
  EXPECT_EQ(packet.header_extra, Hex("AB CD"));
  EXPECT_EQ(WriteDataPacket(packet), original);

  const DecodedRow first = DecodeRow(packet.columns, packet.Row(0));
  EXPECT_EQ(first.state, 1);
  EXPECT_EQ(std::get<std::int64_t>(first.values[0]), 7);
  EXPECT_EQ(std::get<TipoArregloByte>(first.values[1]), Hex("03 00 00 00 61 62 63"));
  EXPECT_EQ(std::get<std::int64_t>(first.values[2]), 65535);
  const DecodedRow second = DecodeRow(packet.columns, packet.Row(1));
  EXPECT_EQ(second.state, 4);
  EXPECT_TRUE(std::holds_alternative<NullValue>(second.values[1]));
  EXPECT_TRUE(std::holds_alternative<NullValue>(second.values[2]));
  EXPECT_EQ(ReadChangeLog(packet), (std::vector<ChangeLogEntry>{{1, 0, 4}, {2, 0, 4}, {3, 1, 8}}));
}

TipoArregloByte JoinedParts(const DataPacket& packet) {
  const PacketMetadata metadata = WritePacketMetadataParts(packet);
  const auto at = metadata.bytes.begin() + static_cast<std::ptrdiff_t>(metadata.value_at);
  TipoArregloByte file(metadata.bytes.begin(), at);
  file.insert(file.end(), metadata.value.begin(), metadata.value.end());
  file.insert(file.end(), at, metadata.bytes.end());
  file.insert(file.end(), packet.row_data.begin(), packet.row_data.end());
  return file;
}

// Rows of every length, more than one mark's worth: each is found from its mark, and the
// file written in parts, the change log taken from the packet, is the file written whole.
TEST(DataPacket, RowsAreFoundFromTheirMarksAndTheFileWrittenInPartsIsTheWholeOne) {
  const ColumnaCatalogo columns[] = {{"T", TipoColumna::kText, 60}};
  LoggedInsertTable table(columns);
  for (int r = 0; r < 40; ++r) {
    table.BeginRow();
    table.AddText(std::u16string(static_cast<std::size_t>(r + 1), u'x'));
  }
  const DataPacket built = std::move(table).Finish();
  const DataPacket packet = ReadDataPacket(WriteDataPacket(built));
  ASSERT_EQ(packet.RowCount(), 40u);
  for (std::size_t r = 0; r < 40; ++r) {
    EXPECT_EQ(std::get<std::string>(DecodeRow(packet.columns, packet.Row(r)).values[0]),
              std::string(r + 1, 'x'))
        << r;
    EXPECT_EQ(built.Row(r).size(), packet.Row(r).size()) << r;
  }
  EXPECT_THROW((void)packet.Row(40), EDataPacketError);

  EXPECT_EQ(WritePacketMetadataParts(built).value.size(), 4u + 40 * 12) << "the change log";
  EXPECT_EQ(JoinedParts(built), WriteDataPacket(built));
  EXPECT_EQ(JoinedParts(ReadDataPacket(ForeignPacket())), ForeignPacket());
}

TEST(DataPacketReader, RefusesWhatItCannotLoad) {
  const TipoArregloByte good = ForeignPacket();
  const auto with = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    TipoArregloByte b = good;
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
  };
  const std::pair<const char*, TipoArregloByte> cases[] = {
      {"empty", {}},
      {"short header", Hex("96 19 E0 BD 01 00")},
      {"wrong magic", with(0, {0x97})},
      {"version 4", with(4, {4})},
      {"header size below 24", with(8, {0x10})},
      {"no metadata flag", with(18, {2})},
      {"XML flag", with(18, {3, 0x80})},
      {"more columns than present", with(12, {0xFF, 0xFF})},
      {"fewer columns than the nesting needs", with(12, {4})},
      {"data offset inside the metadata", with(22, {0x10})},
      {"a million rows", with(14, {0x40, 0x42, 0x0F})},
      {"one row too many", with(14, {4})},
      {"truncated row", TipoArregloByte(good.begin(), good.end() - 1)},
      {"a byte after the rows",
       [&] {
         TipoArregloByte b = good;
         b.push_back(0);
         return b;
       }()},
  };
  for (const auto& [name, bytes] : cases) {
    EXPECT_THROW(ReadDataPacket(bytes), EDataPacketError) << name;
  }
}

}  // namespace
}  // namespace xamu
