#include <gtest/gtest.h>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/text_forms.h"
#include "encoding/writer.h"
#include "launcher/proxy_password.h"
#include "platform/errors.h"

namespace xamu {
namespace {

std::string StoredForm(const std::function<void(TWriter&)>& write) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    write(writer);
  }
  return ArregloATextoTripletes(ComprimirArreglo(std::move(stream)));
}

TEST(PasswordProxy, DecodesTheThreeLayersAndTrims) {
  EXPECT_EQ(DecodePasswordProxy(""), u"");
  EXPECT_EQ(DecodePasswordProxy(EncodePasswordProxy(u"s3cr3t")), u"s3cr3t");
  EXPECT_EQ(DecodePasswordProxy(
                StoredForm([](TWriter& w) { w.WriteString(u" \t contrase\u00F1a \r\n"); })),
            u"contrase\u00F1a");
  // A stored text with a stray character after the last whole group still decodes.
  EXPECT_EQ(DecodePasswordProxy(EncodePasswordProxy(u"clave") + "9"), u"clave");
}

TEST(PasswordProxy, MalformedStoredTextsAreErrorsNotCrashes) {
  EXPECT_THROW(DecodePasswordProxy("12a"), EConvertError) << "a group that is not a number";
  EXPECT_THROW(DecodePasswordProxy("255255255"), EReadError) << "bytes that do not decompress";
  EXPECT_THROW(DecodePasswordProxy(StoredForm([](TWriter& w) { w.WriteInteger(5); })), EReadError)
      << "a stream that holds no string";
  EXPECT_THROW(DecodePasswordProxy("055122188175"), ESevenZipError) << "a broken 7z archive";
}

}  // namespace
}  // namespace xamu
