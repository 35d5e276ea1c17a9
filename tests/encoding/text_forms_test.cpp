#include <gtest/gtest.h>

#include "encoding/text_forms.h"
#include "platform/errors.h"
#include "support/bytes.h"

namespace xamu {
namespace {

using testing::Hex;

TEST(ArregloATextoBarras, EveryByteIsFollowedByASlash) {
  EXPECT_EQ(ArregloATextoBarras(Hex("0A FF 00")), "10/255/0/");
  EXPECT_EQ(ArregloATextoBarras(Hex("78 01 FF")), "120/1/255/");
  EXPECT_EQ(ArregloATextoBarras({}), "");
  EXPECT_EQ(TextoBarrasAArreglo("10/255/0/"), Hex("0A FF 00"));
  EXPECT_EQ(TextoBarrasAArreglo(""), TipoArregloByte{});
}

TEST(TextoBarrasAArreglo, RefusesAnythingButSlashClosedBytes) {
  for (const char* text : {"10/255/0", "256/", "1//", "/", "a/", "-1/", "1 /"}) {
    EXPECT_THROW(TextoBarrasAArreglo(text), EConvertError) << text;
  }
}

struct TripletCase {
  const char* text;
  const char* bytes;
};

TEST(TextoTripletesAArreglo, ReadsWholeGroupsOfThree) {
  const TripletCase cases[] = {
      {"010255000", "0A FF 00"},
      {"0102550", "0A FF"},  // the seventh character is ignored
      {"7", "07"},           // one or two characters are one group
      {"65", "41"},
      {"300", "2C"},  // reduced to the low 8 bits
      {"-01", "FF"},
      {"065066", "41 42"},
  };
  for (const TripletCase& c : cases) {
    EXPECT_EQ(TextoTripletesAArreglo(c.text), Hex(c.bytes)) << c.text;
  }
  EXPECT_EQ(ArregloATextoTripletes(Hex("0A FF 00")), "010255000");
}

TEST(TextoTripletesAArreglo, AGroupThatIsNoNumberIsAConversionError) {
  for (const char* text : {"0a1", "12x456", " 12", "abc", "--1"}) {
    try {
      TextoTripletesAArreglo(text);
      ADD_FAILURE() << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Kind(), "EConvertError");
      EXPECT_NE(std::string(e.what()).find("is not a valid integer value"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace xamu
