#include "service/estructura_paquetes.h"

#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/text_encoding.h"
#include "encoding/writer.h"

namespace xamu {

namespace {

// The fewest bytes a value takes in the stream: a format is one integer (a tag and at least
// one byte); an entry two integers, a string and a date, which may be given as an integer.
constexpr std::size_t kBytesPorFormato = 2;
constexpr std::size_t kBytesPorEntrada = 2 + 2 + 2 + 2;
// An entry is a file of the answer: a table or a program file, each sent once. An entry
// takes some 80 bytes in memory against 8 in the stream, so a structure of millions of
// them would take ten times the stream; this many is far beyond any answer.
constexpr std::size_t kMaxEntradas = 65536;

// A count read from the structure, refused when the structure cannot hold that many, so
// that a few bytes cannot make the reader reserve room for millions.
std::size_t Cuenta(std::int32_t n, std::size_t bytes_por_valor, const MemoryStream& estructura) {
  if (n < 0) return 0;
  if (static_cast<std::size_t>(n) > estructura.Size() / bytes_por_valor) {
    throw EReadError(kStreamReadError);
  }
  return static_cast<std::size_t>(n);
}

}  // namespace

void LeerEstructura(MemoryStream& estructura, TipoArregloSmallInt& ArregloFormatos,
                    SincronizacionArchivoInformacion& entradas) {
  TReader reader(estructura);
  const std::size_t formatos = Cuenta(reader.ReadInteger(), kBytesPorFormato, estructura);
  ArregloFormatos.clear();
  ArregloFormatos.reserve(formatos);
  for (std::size_t i = 0; i < formatos; ++i) {
    ArregloFormatos.push_back(static_cast<std::int16_t>(reader.ReadInteger()));
  }
  const std::size_t archivos = Cuenta(reader.ReadInteger(), kBytesPorEntrada, estructura);
  if (archivos > kMaxEntradas) throw EReadError(kStreamReadError);
  entradas.clear();
  entradas.reserve(archivos);
  for (std::size_t i = 0; i < archivos; ++i) {
    Archivo1Sincronizacion e;
    e.IDObjeto = static_cast<std::int16_t>(reader.ReadInteger());
    e.Nombre = Utf16ToUtf8(reader.ReadString());
    e.Longitud = reader.ReadInteger();
    e.Fecha = reader.ReadDouble();
    entradas.push_back(std::move(e));
  }
}

MemoryStream EscribirEstructura(const TipoArregloSmallInt& ArregloFormatos,
                                const SincronizacionArchivoInformacion& entradas) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteInteger(static_cast<std::int32_t>(ArregloFormatos.size()));
    for (const std::int16_t id : ArregloFormatos) writer.WriteInteger(std::int32_t{id});
    writer.WriteInteger(static_cast<std::int32_t>(entradas.size()));
    for (const Archivo1Sincronizacion& e : entradas) {
      writer.WriteInteger(std::int32_t{e.IDObjeto});
      writer.WriteString(Utf8ToUtf16(e.Nombre));
      writer.WriteInteger(e.Longitud);
      writer.WriteDouble(e.Fecha);
    }
  }
  return stream;
}

}  // namespace xamu
