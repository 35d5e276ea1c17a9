#include "launcher/proxy_password.h"

#include "encoding/compresion.h"
#include "encoding/reader.h"
#include "encoding/text_forms.h"
#include "encoding/writer.h"

namespace xamu {
namespace {

// Spaces and control characters, as the settings' trimming understands them.
std::u16string Trim(std::u16string text) {
  const auto blank = [](char16_t c) { return c <= u' '; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::u16string DecodePasswordProxy(std::string_view stored) {
  if (stored.empty()) return {};
  TipoArregloByte bytes = TextoTripletesAArreglo(stored);
  MemoryStream stream;
  DescomprimirArreglo(stream, bytes);
  TReader reader(stream);
  return Trim(reader.ReadString());
}

std::string EncodePasswordProxy(std::u16string_view password) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteString(password);
  }
  return ArregloATextoTripletes(ComprimirArreglo(std::move(stream)));
}

}  // namespace xamu
