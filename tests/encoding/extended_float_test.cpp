#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "encoding/extended_float.h"
#include "encoding/text_forms.h"
#include "support/bytes.h"

namespace xamu {
namespace {

std::string HexOf(const ExtendedBytes& b) {
  return BytesToHex(TipoArregloByte(b.begin(), b.end()));
}

ExtendedBytes FromHex(const char* hex) {
  const TipoArregloByte bytes = testing::Hex(hex);
  ExtendedBytes b{};
  std::copy(bytes.begin(), bytes.end(), b.begin());
  return b;
}

struct ExtendedCase {
  long double value;
  const char* bytes;
};

TEST(ExtendedFloat, KnownValuesHaveTheirTenBytes) {
  const ExtendedCase cases[] = {
      {1.0L, "00 00 00 00 00 00 00 80 FF 3F"},
      {-2.0L, "00 00 00 00 00 00 00 80 00 C0"},
      {0.0L, "00 00 00 00 00 00 00 00 00 00"},
      {-0.0L, "00 00 00 00 00 00 00 00 00 80"},
      {30000.0L, "00 00 00 00 00 00 60 EA 0D 40"},
      {std::numeric_limits<long double>::infinity(), "00 00 00 00 00 00 00 80 FF 7F"},
      {std::numeric_limits<long double>::denorm_min(), "01 00 00 00 00 00 00 00 00 00"},
      {std::numeric_limits<long double>::max(), "FF FF FF FF FF FF FF FF FE 7F"},
  };
  for (const ExtendedCase& c : cases) {
    EXPECT_EQ(HexOf(ExtendedToBytes(c.value)), c.bytes) << static_cast<double>(c.value);
    EXPECT_EQ(HexOf(ComposeExtendedBytes(c.value)), c.bytes) << static_cast<double>(c.value);
    const long double back = BytesToExtended(FromHex(c.bytes));
    EXPECT_EQ(back, c.value);
    EXPECT_EQ(std::signbit(back), std::signbit(c.value));
  }
}

TEST(ExtendedFloat, EveryBitOfTheSignificandSurvives) {
  // 64 significant bits: more than a double holds, so a detour through double would fail.
  const long double values[] = {1.0L + std::numeric_limits<long double>::epsilon(),
                                0.1L,
                                -1234567.891011121314L,
                                44927.5L / 3,
                                std::numeric_limits<long double>::min(),
                                std::numeric_limits<long double>::min() / 3};
  for (const long double v : values) {
    EXPECT_EQ(BytesToExtended(ExtendedToBytes(v)), v);
    EXPECT_EQ(ComposeExtendedBytes(v), ExtendedToBytes(v));
  }
}

TEST(ExtendedFloat, NaNStaysNaN) {
  EXPECT_TRUE(
      std::isnan(BytesToExtended(ExtendedToBytes(std::numeric_limits<long double>::quiet_NaN()))));
  EXPECT_TRUE(std::isnan(BytesToExtended(FromHex("01 00 00 00 00 00 00 C0 FF 7F"))));
}

}  // namespace
}  // namespace xamu
