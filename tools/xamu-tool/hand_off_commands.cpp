#include <cstdio>
#include <limits>

#include "commands.h"
#include "encoding/text_encoding.h"
#include "launcher/hand_off.h"
#include "launcher/proxy_password.h"

namespace xamu::tool {
namespace {

std::int16_t ParseIdentifier(const std::string& text) {
  return static_cast<std::int16_t>(ParseInteger(text, std::numeric_limits<std::int16_t>::min(),
                                                std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

void HandOffEncode(const Arguments& args) {
  HandOffRecord record;
  record.IDCliente = ParseIdentifier(args[0]);
  record.IDUsuario = ParseIdentifier(args[1]);
  record.IDPais = ParseIdentifier(args[2]);
  record.NombreCliente = Utf8ToUtf16(args[3]);
  record.NombreUsuario = Utf8ToUtf16(args[4]);
  std::printf("%s\n", EncodeHandOffText(record).c_str());
}

void HandOffDecode(const Arguments& args) {
  const HandOffRecord record = DecodeHandOffText(args[0]);
  std::printf("IDCliente=%d\nIDUsuario=%d\nIDPais=%d\nNombreCliente=%s\nNombreUsuario=%s\n",
              record.IDCliente, record.IDUsuario, record.IDPais,
              Utf16ToUtf8(record.NombreCliente).c_str(), Utf16ToUtf8(record.NombreUsuario).c_str());
}

void PasswordEncode(const Arguments& args) {
  std::printf("%s\n", EncodePasswordProxy(Utf8ToUtf16(args[0])).c_str());
}

void PasswordDecode(const Arguments& args) {
  std::printf("%s\n", Utf16ToUtf8(DecodePasswordProxy(args[0])).c_str());
}

}  // namespace xamu::tool
