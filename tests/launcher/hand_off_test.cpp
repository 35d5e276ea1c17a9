#include <gtest/gtest.h>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/text_forms.h"
#include "launcher/hand_off.h"
#include "platform/errors.h"

namespace xamu {
namespace {

TEST(HandOffRecord, IsTheIdentityAsAValueStreamWithoutMarkers) {
  const HandOffRecord record{1, 2, 58, u"ABC", u"X"};
  EXPECT_EQ(BytesToHex(WriteHandOffRecord(record).Bytes()),
            "02 01 02 02 02 3A 06 03 41 42 43 06 01 58");
  const HandOffRecord override_identity{-1, -1, 300, u"", u"\u00D1"};
  EXPECT_EQ(BytesToHex(WriteHandOffRecord(override_identity).Bytes()),
            "02 FF 02 FF 03 2C 01 12 00 00 00 00 12 01 00 00 00 D1 00");
}

TEST(HandOffText, IsTheCompressedRecordInTheSlashForm) {
  const HandOffRecord record{1, 2, 58, u"Banco del Norte & Cia.", u"Mar\u00EDa"};
  const std::string text = EncodeHandOffText(record);
  EXPECT_EQ(text, ArregloATextoBarras(ComprimirArreglo(WriteHandOffRecord(record))));
  EXPECT_EQ(text.back(), '/');
  EXPECT_EQ(DecodeHandOffText(text), record);
}

TEST(HandOffText, LargeNamesTakeThe7zVariantAndStillRoundTrip) {
  const HandOffRecord record{-32768, 32767, 0, std::u16string(30000, u'N'), u"u"};
  const std::string text = EncodeHandOffText(record);
  EXPECT_EQ(text.substr(0, 15), "55/122/188/175/") << "the 7z signature";
  EXPECT_EQ(DecodeHandOffText(text), record);
}

TEST(HandOffText, MalformedTextIsRefused) {
  EXPECT_THROW(DecodeHandOffText("1/2/x/"), EConvertError);
  EXPECT_THROW(DecodeHandOffText("255/255/"), EReadError);
  EXPECT_THROW(DecodeHandOffText(""), EReadError);
}

}  // namespace
}  // namespace xamu
