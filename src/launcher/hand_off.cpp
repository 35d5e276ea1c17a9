#include "launcher/hand_off.h"

#include <limits>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/text_forms.h"
#include "encoding/writer.h"

namespace xamu {
namespace {

std::int16_t ReadIdentifier(TReader& reader) {
  const std::int32_t value = reader.ReadInteger();
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw EReadError(kInvalidPropertyValue);
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace

MemoryStream WriteHandOffRecord(const HandOffRecord& record) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteInteger(record.IDCliente);
    writer.WriteInteger(record.IDUsuario);
    writer.WriteInteger(record.IDPais);
    writer.WriteString(record.NombreCliente);
    writer.WriteString(record.NombreUsuario);
  }
  return stream;
}

std::string EncodeHandOffText(const HandOffRecord& record) {
  return ArregloATextoBarras(ComprimirArreglo(WriteHandOffRecord(record)));
}

HandOffRecord DecodeHandOffText(std::string_view text) {
  TipoArregloByte bytes = TextoBarrasAArreglo(text);
  MemoryStream stream;
  DescomprimirArreglo(stream, bytes);
  TReader reader(stream);
  HandOffRecord record;
  record.IDCliente = ReadIdentifier(reader);
  record.IDUsuario = ReadIdentifier(reader);
  record.IDPais = ReadIdentifier(reader);
  record.NombreCliente = reader.ReadString();
  record.NombreUsuario = reader.ReadString();
  return record;
}

}  // namespace xamu
