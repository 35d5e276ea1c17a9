#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "encoding/text_forms.h"
#include "encoding/writer.h"

namespace xamu {
namespace {

std::string Written(const std::function<void(TWriter&)>& write) {
  MemoryStream sink;
  {
    TWriter writer(sink);
    write(writer);
  }
  return BytesToHex(sink.Bytes());
}

struct IntegerCase {
  std::int64_t value;
  const char* bytes;
};

// Shown by the failure messages and the test listing.
void PrintTo(const IntegerCase& c, std::ostream* out) {
  *out << c.value;
}

class WriteIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(WriteIntegerTest, TagSwitchesExactlyAtTheLimits) {
  const IntegerCase c = GetParam();
  if (c.value >= INT32_MIN && c.value <= INT32_MAX) {
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(static_cast<std::int32_t>(c.value)); }),
              c.bytes);
  }
  EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(c.value); }), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Limits, WriteIntegerTest,
                         ::testing::Values(IntegerCase{0, "02 00"}, IntegerCase{127, "02 7F"},
                                           IntegerCase{-128, "02 80"}, IntegerCase{128, "03 80 00"},
                                           IntegerCase{-129, "03 7F FF"},
                                           IntegerCase{32767, "03 FF 7F"},
                                           IntegerCase{-32768, "03 00 80"},
                                           IntegerCase{32768, "04 00 80 00 00"},
                                           IntegerCase{-32769, "04 FF 7F FF FF"},
                                           IntegerCase{2147483647, "04 FF FF FF 7F"},
                                           IntegerCase{-2147483648LL, "04 00 00 00 80"},
                                           IntegerCase{2147483648LL, "13 00 00 00 80 00 00 00 00"},
                                           IntegerCase{-2147483649LL, "13 FF FF FF 7F FF FF FF FF"},
                                           IntegerCase{INT64_MIN, "13 00 00 00 00 00 00 00 80"}),
                         [](const ::testing::TestParamInfo<IntegerCase>& info) {
                           const std::int64_t v = info.param.value;
                           // The magnitude of INT64_MIN does not fit its own type.
                           const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v)
                                                                 : static_cast<std::uint64_t>(v);
                           if (v == 0) return std::string("Zero");
                           return (v < 0 ? "Minus" : "Plus") + std::to_string(magnitude);
                         });

TEST(WriteInteger, NarrowFieldsAreWidenedBeforeTheTagIsChosen) {
  const std::int16_t signed_id = -1;
  const std::uint16_t unsigned_field = 65535;
  const std::uint8_t byte_field = 200;
  EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(signed_id); }), "02 FF");
  EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(unsigned_field); }), "04 FF FF 00 00");
  EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(byte_field); }), "03 C8 00");
}

struct StringCase {
  const char* name;
  std::u16string text;
  const char* bytes;
};

void PrintTo(const StringCase& c, std::ostream* out) {
  *out << c.name;
}

class WriteStringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(WriteStringTest, PicksTheBranchByUtf8AndUtf16Lengths) {
  EXPECT_EQ(Written([&](TWriter& w) { w.WriteString(GetParam().text); }), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, WriteStringTest,
    ::testing::Values(StringCase{"Empty", u"", "12 00 00 00 00"},
                      StringCase{"Ascii", u"ABC", "06 03 41 42 43"},
                      StringCase{"OneLatinLetter", u"\u00F1", "12 01 00 00 00 F1 00"},
                      StringCase{"LatinInAscii", u"A\u00F1o", "14 04 00 00 00 41 C3 B1 6F"},
                      StringCase{"LatinFirst", u"\u00C1B", "14 03 00 00 00 C3 81 42"},
                      // A euro sign takes three UTF-8 bytes, a surrogate pair four.
                      StringCase{"Euro", u"\u20AC", "12 01 00 00 00 AC 20"},
                      StringCase{"SurrogatePair", u"\U0001F600", "12 02 00 00 00 3D D8 00 DE"},
                      StringCase{"AsciiAndSurrogatePair", u"a\U0001F600",
                                 "14 05 00 00 00 61 F0 9F 98 80"}),
    [](const ::testing::TestParamInfo<StringCase>& info) { return std::string(info.param.name); });

TEST(WriteString, AsciiUpTo255BytesKeepsTheOneByteLength) {
  const std::u16string exactly255(255, u'x');
  const std::string bytes255 = Written([&](TWriter& w) { w.WriteString(exactly255); });
  EXPECT_EQ(bytes255.substr(0, 5), "06 FF");
  EXPECT_EQ(bytes255.size(), (2 + 255) * 3 - 1);

  const std::u16string over255(256, u'x');
  const std::string bytes256 = Written([&](TWriter& w) { w.WriteString(over255); });
  EXPECT_EQ(bytes256.substr(0, 14), "0C 00 01 00 00");
  EXPECT_EQ(bytes256.size(), (5 + 256) * 3 - 1);
}

TEST(WriteFloat, OneIsTheExtendedFormOfOne) {
  EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(1.0L); }), "05 00 00 00 00 00 00 00 80 FF 3F");
}

TEST(TWriter, ThePeersFormsAreTheTagsTheReaderAccepts) {
  EXPECT_EQ(Written([](TWriter& w) {
              w.WriteBoolean(true);
              w.WriteBoolean(false);
            }),
            "09 08");
  EXPECT_EQ(Written([](TWriter& w) { w.WriteCurrency(Currency{12345}); }),
            "10 39 30 00 00 00 00 00 00");
  EXPECT_EQ(Written([](TWriter& w) { w.WriteDouble(1.5); }), "15 00 00 00 00 00 00 F8 3F");
}

TEST(WriteList, MarkersAreSingleBytes) {
  EXPECT_EQ(Written([](TWriter& w) {
              w.WriteListBegin();
              w.WriteInteger(1);
              w.WriteListEnd();
            }),
            "01 02 01 00");
}

TEST(TWriter, SinkHoldsTheStreamOnlyOnceTheWriterIsFinished) {
  MemoryStream sink;
  {
    TWriter writer(sink);
    writer.WriteString(u"ABC");
    EXPECT_EQ(sink.Size(), 0u) << "small output stays in the 255-byte buffer";
    for (int i = 0; i < 100; ++i) writer.WriteString(u"ABC");
    EXPECT_GT(sink.Size(), 0u) << "a full buffer reaches the sink";
    EXPECT_EQ(sink.Size() % 255, 0u);
  }
  EXPECT_EQ(sink.Size(), 101u * 5);
}

TEST(TWriter, LongValuesAcrossTheBufferBoundaryKeepTheirBytesInOrder) {
  MemoryStream sink;
  std::u16string long_text(1000, u'z');
  {
    TWriter writer(sink);
    for (int i = 0; i < 50; ++i) writer.WriteInteger(i);
    writer.WriteString(long_text);
    writer.WriteInteger(70000);
  }
  const TipoArregloByte& b = sink.Bytes();
  ASSERT_EQ(b.size(), 50u * 2 + 5 + 1000 + 5);
  EXPECT_EQ(b[98], 2);
  EXPECT_EQ(b[99], 49);
  EXPECT_EQ(b[100], 0x0C);
  EXPECT_EQ(b[105], 'z');
  EXPECT_EQ(b[1104], 'z');
  EXPECT_EQ(b[1105], 0x04);
}

}  // namespace
}  // namespace xamu
