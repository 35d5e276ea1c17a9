#include "service/estructura_paquetes.h"

#include "encoding/reader.h"
#include "encoding/text_encoding.h"
#include "encoding/writer.h"

namespace xamu {

void LeerEstructura(MemoryStream& estructura, TipoArregloSmallInt& ArregloFormatos,
                    SincronizacionArchivoInformacion& entradas) {
  TReader reader(estructura);
  const std::int32_t formatos = reader.ReadInteger();
  ArregloFormatos.clear();
  for (std::int32_t i = 0; i < formatos; ++i) {
    ArregloFormatos.push_back(static_cast<std::int16_t>(reader.ReadInteger()));
  }
  const std::int32_t archivos = reader.ReadInteger();
  entradas.clear();
  for (std::int32_t i = 0; i < archivos; ++i) {
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
