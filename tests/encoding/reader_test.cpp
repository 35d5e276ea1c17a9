#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/writer.h"
#include "support/bytes.h"

namespace xamu {
namespace {

using testing::Hex;

// Runs `read` over the bytes and returns the error text, or "" when it succeeded.
std::string ReadError(const char* hex, const std::function<void(TReader&)>& read) {
  MemoryStream source(Hex(hex));
  TReader reader(source);
  try {
    read(reader);
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Kind(), "EReadError");
    return e.what();
  }
  return "";
}

struct AcceptCase {
  const char* bytes;
  long double expected;
};

// Every accepted tag of each numeric read, with its conversion.
TEST(TReader, NumericReadsAcceptTheirTagsAndConvert) {
  const AcceptCase integer_cases[] = {
      {"02 80", -128}, {"03 2C 01", 300}, {"03 00 80", -32768}, {"04 00 00 00 80", -2147483648.0L}};
  for (const AcceptCase& c : integer_cases) {
    MemoryStream s(Hex(c.bytes));
    EXPECT_EQ(TReader(s).ReadInteger(), c.expected) << c.bytes;
    s.Seek(0);
    EXPECT_EQ(TReader(s).ReadInt64(), c.expected) << c.bytes;
    s.Seek(0);
    EXPECT_EQ(TReader(s).ReadDouble(), static_cast<double>(c.expected)) << c.bytes;
    s.Seek(0);
    EXPECT_EQ(TReader(s).ReadFloat(), c.expected) << c.bytes;
  }
  const AcceptCase float_cases[] = {
      {"13 00 00 00 80 00 00 00 00", 2147483648.0L},
      {"15 00 00 00 00 00 00 F8 3F", 1.5L},
      {"05 00 00 00 00 00 00 00 C0 00 40", 3.0L},
  };
  for (const AcceptCase& c : float_cases) {
    MemoryStream s(Hex(c.bytes));
    EXPECT_EQ(TReader(s).ReadFloat(), c.expected) << c.bytes;
  }
  MemoryStream int64(Hex("13 FF FF FF FF FF FF FF 7F"));
  EXPECT_EQ(TReader(int64).ReadInt64(), INT64_MAX);
}

TEST(TReader, ReadCurrencyScalesIntegersAndTakesCurrencyAsUnits) {
  MemoryStream five(Hex("02 05"));
  EXPECT_EQ(TReader(five).ReadCurrency().units, 50000);
  MemoryStream units(Hex("10 39 30 00 00 00 00 00 00"));
  EXPECT_EQ(CurrencyToText(TReader(units).ReadCurrency()), "1.2345");
  MemoryStream negative(Hex("10 C7 CF FF FF FF FF FF FF"));
  EXPECT_EQ(CurrencyToText(TReader(negative).ReadCurrency()), "-1.2345");
  // 10^15 cannot be scaled to units without wrapping into a wrong amount.
  EXPECT_EQ(ReadError("13 00 80 C6 A4 7E 8D 03 00", [](TReader& r) { r.ReadCurrency(); }),
            "Invalid property value");
}

TEST(TReader, ReadBooleanTakesOnlyTheBooleanTags) {
  MemoryStream bools(Hex("08 09"));
  TReader reader(bools);
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_TRUE(reader.ReadBoolean());
}

struct RejectCase {
  const char* name;
  const char* bytes;
  std::function<void(TReader&)> read;
  const char* error;
};

TEST(TReader, EachReadRejectsWhatItDoesNotAccept) {
  const char* kInvalid = "Invalid property value";
  const char* kShort = "Stream read error";
  const RejectCase cases[] = {
      {"ReadInteger on vaInt64", "13 01 00 00 00 00 00 00 00", [](TReader& r) { r.ReadInteger(); },
       kInvalid},
      {"ReadInteger on vaExtended", "05 00 00 00 00 00 00 00 80 FF 3F",
       [](TReader& r) { r.ReadInteger(); }, kInvalid},
      {"ReadInt64 on vaDouble", "15 00 00 00 00 00 00 F8 3F", [](TReader& r) { r.ReadInt64(); },
       kInvalid},
      {"ReadDouble on vaExtended", "05 00 00 00 00 00 00 00 80 FF 3F",
       [](TReader& r) { r.ReadDouble(); }, kInvalid},
      {"ReadFloat on vaDate", "11 00 00 00 00 00 00 F8 3F", [](TReader& r) { r.ReadFloat(); },
       kInvalid},
      {"ReadFloat on vaSingle", "0F 00 00 C0 3F", [](TReader& r) { r.ReadFloat(); }, kInvalid},
      {"ReadCurrency on vaDouble", "15 00 00 00 00 00 00 F8 3F",
       [](TReader& r) { r.ReadCurrency(); }, kInvalid},
      {"ReadBoolean on vaInt8", "02 01", [](TReader& r) { r.ReadBoolean(); }, kInvalid},
      {"ReadString on vaIdent", "07 01 41", [](TReader& r) { r.ReadString(); }, kInvalid},
      {"ReadString on vaInt8", "02 01", [](TReader& r) { r.ReadString(); }, kInvalid},
      {"ReadString with a negative length", "0C FF FF FF FF", [](TReader& r) { r.ReadString(); },
       kInvalid},
      {"empty stream", "", [](TReader& r) { r.ReadInteger(); }, kShort},
      {"end inside an integer", "04 01 02", [](TReader& r) { r.ReadInteger(); }, kShort},
      {"end inside a string's bytes", "06 05 41 42", [](TReader& r) { r.ReadString(); }, kShort},
      {"end inside a 4-byte length", "14 05 00", [](TReader& r) { r.ReadString(); }, kShort},
      {"end inside an extended", "05 00 00 00 00 00 00 00 80 FF", [](TReader& r) { r.ReadFloat(); },
       kShort},
      {"NextValue at the end", "", [](TReader& r) { r.NextValue(); }, kShort},
      {"EndOfList at the end", "", [](TReader& r) { r.EndOfList(); }, kShort},
      // Lengths far beyond the data fail before anything is allocated for them.
      {"huge vaLString", "0C FF FF FF 7F 41", [](TReader& r) { r.ReadString(); }, kShort},
      {"huge vaWString", "12 FF FF FF 7F 41 00", [](TReader& r) { r.ReadString(); }, kShort},
      {"huge vaUTF8String", "14 00 00 00 40", [](TReader& r) { r.ReadString(); }, kShort},
  };
  for (const RejectCase& c : cases) {
    EXPECT_EQ(ReadError(c.bytes, c.read), c.error) << c.name;
  }
}

TEST(TReader, ReadStringDecodesEachForm) {
  MemoryStream source(
      Hex("06 03 41 42 43 "              // vaString
          "06 02 F1 80 "                 // single-byte text from a peer: Windows-1252, not UTF-8
          "0C 02 00 00 00 E9 9F "        // vaLString, same code page
          "12 01 00 00 00 F1 00 "        // vaWString
          "14 04 00 00 00 41 C3 B1 6F "  // vaUTF8String
          "12 00 00 00 00"));            // the empty string
  TReader reader(source);
  EXPECT_EQ(reader.ReadString(), u"ABC");
  EXPECT_EQ(reader.ReadString(), u"\u00F1\u20AC");
  EXPECT_EQ(reader.ReadString(), u"\u00E9\u0178");
  EXPECT_EQ(reader.ReadString(), u"\u00F1");
  EXPECT_EQ(reader.ReadString(), u"A\u00F1o");
  EXPECT_EQ(reader.ReadString(), u"");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(TReader, ListsReadAsCheckValueRowsAndEndOfList) {
  MemoryStream source(Hex("01 02 01 06 01 41 02 02 06 01 42 00 02 07"));
  TReader reader(source);
  reader.CheckValue(TValueType::vaList);
  std::u16string names;
  int rows = 0;
  while (!reader.EndOfList()) {
    rows += reader.ReadInteger();
    names += reader.ReadString();
  }
  reader.CheckValue(TValueType::vaNull);
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(names, u"AB");
  EXPECT_EQ(reader.NextValue(), TValueType::vaInt8);
  EXPECT_EQ(reader.ReadInteger(), 7);
}

TEST(TReader, CheckValueSkipsTheUnexpectedValueAndFails) {
  MemoryStream source(Hex("06 03 41 42 43 02 09"));
  {
    TReader reader(source);
    EXPECT_THROW(reader.CheckValue(TValueType::vaList), EReadError);
  }
  EXPECT_EQ(source.Position(), 5u) << "the string was skipped whole";

  MemoryStream nested(Hex("01 01 02 05 00 06 01 41 00 02 09"));
  {
    TReader reader(nested);
    EXPECT_THROW(reader.CheckValue(TValueType::vaNull), EReadError);
  }
  EXPECT_EQ(nested.Position(), 9u) << "a nested list is skipped to its own end";

  EXPECT_EQ(ReadError("01 01 01 01 01", [](TReader& r) { r.CheckValue(TValueType::vaNull); }),
            "Stream read error")
      << "an unterminated list runs out of data while it is skipped";
}

TEST(TReader, HandsTheSourcePositionBackAfterTheLastConsumedByte) {
  // More than one 255-byte fetch, with values straddling the fetch boundary.
  MemoryStream source;
  {
    TWriter writer(source);
    for (int i = 0; i < 200; ++i) writer.WriteInteger(1000 + i);
    writer.WriteString(std::u16string(300, u'q'));
    writer.WriteInteger(42);
  }
  source.Seek(0);
  {
    TReader reader(source);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(reader.ReadInteger(), 1000 + i);
    EXPECT_EQ(reader.ReadString(), std::u16string(300, u'q'));
  }
  EXPECT_EQ(source.Position(), 200u * 3 + 5 + 300);
  TReader next(source);
  EXPECT_EQ(next.ReadInteger(), 42);
}

TEST(TReader, AWriterRoundTripGivesBackEveryValue) {
  MemoryStream stream;
  const std::u16string texts[] = {
      u"", u"plain", u"\u00F1", u"A\u00F1o", std::u16string(70000, u'x'), u"\U0001F600 emoji"};
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    for (const auto& t : texts) writer.WriteString(t);
    writer.WriteInteger(std::int64_t{-5'000'000'000});
    writer.WriteFloat(-0.1L);
    writer.WriteListEnd();
  }
  stream.Seek(0);
  TReader reader(stream);
  reader.CheckValue(TValueType::vaList);
  for (const auto& t : texts) EXPECT_EQ(reader.ReadString(), t);
  EXPECT_EQ(reader.ReadInt64(), -5'000'000'000);
  EXPECT_EQ(reader.ReadFloat(), -0.1L);
  reader.CheckValue(TValueType::vaNull);
  EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace xamu
