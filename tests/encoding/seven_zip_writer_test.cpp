#include <gtest/gtest.h>
#include <zlib.h>

#include "encoding/compresion.h"
#include "encoding/little_endian.h"
#include "encoding/seven_zip.h"
#include "encoding/text_forms.h"
#include "support/bytes.h"
#include "support/time_zone.h"

namespace xamu {
namespace {

using testing::Hex;

std::uint64_t LittleEndian(const TipoArregloByte& b, std::size_t at, std::size_t width) {
  return DecodeLittleEndian(std::span(b).subspan(at, width));
}

std::uint32_t Crc(const TipoArregloByte& b, std::size_t at, std::size_t size) {
  return static_cast<std::uint32_t>(crc32(0, b.data() + at, static_cast<uInt>(size)));
}

struct NumberCase {
  std::uint64_t value;
  const char* bytes;
};

TEST(SevenZipNumber, HighBitsGoInTheFirstByte) {
  const NumberCase cases[] = {
      {0, "00"},
      {127, "7F"},
      {128, "80 80"},
      {6305, "98 A1"},
      {16383, "BF FF"},
      {16384, "C0 00 40"},
      {20000, "C0 20 4E"},
      {(1u << 21) - 1, "DF FF FF"},
      {1u << 21, "E0 00 00 20"},
      {7611903, "E0 FF 25 74"},
      {20311932, "E1 7C EF 35"},
      {(1ull << 56) - 1, "FE FF FF FF FF FF FF FF"},
      {1ull << 56, "FF 00 00 00 00 00 00 00 01"},
      {UINT64_MAX, "FF FF FF FF FF FF FF FF FF"},
  };
  for (const NumberCase& c : cases) {
    TipoArregloByte out;
    AppendSevenZipNumber(out, c.value);
    EXPECT_EQ(BytesToHex(out), c.bytes) << c.value;
  }
}

TEST(SevenZipWriter, OneItemArchiveIsLaidOutByteForByte) {
  testing::ScopedTimeZone utc("UTC");
  const TipoArregloByte data = testing::SampleData(20000);
  const TipoArregloByte a = ComprimirArreglo(MemoryStream(data));

  ASSERT_GT(a.size(), 32u);
  EXPECT_EQ(BytesToHex(TipoArregloByte(a.begin(), a.begin() + 8)), "37 7A BC AF 27 1C 00 04");
  EXPECT_EQ(LittleEndian(a, 8, 4), Crc(a, 12, 20)) << "start header CRC over bytes 12-31";
  const std::uint64_t packed = LittleEndian(a, 12, 8);
  const std::uint64_t header_size = LittleEndian(a, 20, 8);
  ASSERT_EQ(32 + packed + header_size, a.size()) << "header offset counts from byte 32";
  EXPECT_EQ(LittleEndian(a, 28, 4), Crc(a, 32 + packed, header_size));
  EXPECT_EQ(a[32], 0x00) << "raw LZMA starts with 00";

  const TipoArregloByte header(a.begin() + 32 + static_cast<std::ptrdiff_t>(packed), a.end());
  ASSERT_EQ(header.size(), 74u);
  TipoArregloByte packed_number;
  AppendSevenZipNumber(packed_number, packed);
  const std::uint32_t data_crc = Crc(data, 0, data.size());
  const std::string crc = BytesToHex(
      {static_cast<std::uint8_t>(data_crc), static_cast<std::uint8_t>(data_crc >> 8),
       static_cast<std::uint8_t>(data_crc >> 16), static_cast<std::uint8_t>(data_crc >> 24)});
  const std::string expected =
      "01 04 06 00 01 09 " + BytesToHex(packed_number) +
      " 00 07 0B 01 00 01 23 03 01 01 05 5D 00 60 00 00 0C C0 20 4E 00 08 0A 01 " + crc +
      " 00 00 05 01 "
      "12 0A 01 00 00 C0 A0 F1 C3 4B AB 01 "
      "14 0A 01 00 00 C0 A0 F1 C3 4B AB 01 "
      "15 06 01 00 20 00 00 00 00 00";
  EXPECT_EQ(BytesToHex(header), expected);
  EXPECT_EQ(ExtractSevenZipItem0(a, kDecompressionLimit), data);
}

struct ZoneCase {
  const char* zone;
  const char* filetime;  // 1982-02-18 00:00 local, in UTC ticks
};

TEST(SevenZipWriter, ItemTimesAreTheLocalMidnightOf1982February18) {
  const ZoneCase cases[] = {
      {"UTC", "00 C0 A0 F1 C3 4B AB 01"},
      {"Europe/Berlin", "00 58 DC 8F BB 4B AB 01"},     // 1982-02-17 23:00 UTC
      {"Australia/Sydney", "00 48 30 BE 67 4B AB 01"},  // 13:00 UTC, daylight saving time
  };
  for (const ZoneCase& c : cases) {
    testing::ScopedTimeZone zone(c.zone);
    const TipoArregloByte a = ComprimirArreglo(MemoryStream(testing::SampleData(25000)));
    const std::string hex = BytesToHex(a);
    EXPECT_NE(hex.find("12 0A 01 00 " + std::string(c.filetime)), std::string::npos) << c.zone;
    EXPECT_NE(hex.find("14 0A 01 00 " + std::string(c.filetime)), std::string::npos) << c.zone;
  }
}

TEST(SevenZipWriter, DictionaryFollowsTheDataSizeAsSevenZipDoes) {
  struct DictionaryCase {
    std::size_t size;
    const char* props;
  };
  const DictionaryCase cases[] = {
      {20000, "5D 00 60 00 00"},    // 24 KiB
      {30000, "5D 00 80 00 00"},    // 32 KiB
      {100000, "5D 00 00 02 00"},   // 128 KiB
      {2500000, "5D 00 00 30 00"},  // 3 MiB
  };
  for (const DictionaryCase& c : cases) {
    const std::string hex = BytesToHex(ComprimirArreglo(MemoryStream(testing::SampleData(c.size))));
    EXPECT_NE(hex.find("23 03 01 01 05 " + std::string(c.props)), std::string::npos) << c.size;
  }
}

}  // namespace
}  // namespace xamu
