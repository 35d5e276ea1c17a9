#include "tables/grabar_tabla.h"

#include <cstring>
#include <limits>
#include <new>

#include "encoding/errors.h"
#include "encoding/reader.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "tables/catalogo.h"
#include "tables/data_packet.h"
#include "tables/file_checks.h"
#include "tables/logged_insert_table.h"
#include "ui/codigos.h"

namespace xamu {
namespace {

std::int32_t ReadInt16(TReader& reader) {
  const std::int32_t value = reader.ReadInteger();
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw EReadError(kInvalidPropertyValue);
  }
  return value;
}

// Discriminado takes a Boolean as 1 or 0, and an integer as it is.
std::int32_t ReadDiscriminado(TReader& reader) {
  const TValueType next = reader.NextValue();
  if (next == TValueType::vaTrue || next == TValueType::vaFalse)
    return reader.ReadBoolean() ? 1 : 0;
  return ReadInt16(reader);
}

// The rows from which the room for the whole table is estimated.
constexpr std::size_t kSampleRows = 512;

DataPacket ConstruirLista(const EntradaCatalogo& tabla, MemoryStream& datos) {
  const auto& columnas = tabla.columnas;
  std::size_t discriminado = columnas.size();
  if (tabla.IDObjeto == kIDObjetoFormatos) {
    for (std::size_t i = 0; i < columnas.size(); ++i) {
      if (std::strcmp(columnas[i].nombre, kColumnaDiscriminado) == 0) discriminado = i;
    }
  }
  LoggedInsertTable table(columnas);
  TReader reader(datos);
  reader.CheckValue(TValueType::vaList);
  std::size_t rows = 0;
  while (!reader.EndOfList()) {
    if (rows++ == kSampleRows) table.ReserveForInput(datos.Position(), datos.Size());
    table.BeginRow();
    for (std::size_t i = 0; i < columnas.size(); ++i) {
      switch (columnas[i].tipo) {
        case TipoColumna::kInt16:
          table.AddInteger(i == discriminado ? ReadDiscriminado(reader) : ReadInt16(reader));
          break;
        case TipoColumna::kInt32:
          table.AddInteger(reader.ReadInteger());
          break;
        case TipoColumna::kBool:
          table.AddBoolean(reader.ReadBoolean());
          break;
        case TipoColumna::kCurrency:
          table.AddCurrency(reader.ReadCurrency());
          break;
        case TipoColumna::kText:
          table.AddText(reader.ReadString());
          break;
      }
    }
  }
  reader.CheckValue(TValueType::vaNull);
  return std::move(table).Finish();
}

bool Guardar(const DataPacket& packet, const std::string& carpeta, const std::string& nombre,
             platform::FileSystem& archivos) {
  // A name the service sends must stay inside the tables' folder.
  if (!platform::IsPlainFileName(nombre)) return false;
  std::string path = carpeta;
  if (!path.empty() && path.back() != platform::kPathSeparator) path += platform::kPathSeparator;
  path += nombre;
  if (archivos.FileExists(path) && !archivos.SetNormalAttributes(path)) return false;
  try {
    const PacketMetadata metadata = WritePacketMetadataParts(packet);
    const std::span<const std::uint8_t> bytes = metadata.bytes;
    archivos.ReplaceFileAtomically(path, {bytes.first(metadata.value_at), metadata.value,
                                          bytes.subspan(metadata.value_at), packet.row_data});
  } catch (const Error&) {
    return false;
  }
  return ArchivoRecienGrabado(path, archivos);
}

}  // namespace

void GrabarTablaCDS(std::int16_t id_objeto, const std::string& carpeta, const std::string& nombre,
                    MemoryStream& datos, std::int16_t& codigo_error, InterfazUsuario& ui,
                    const DatosAviso& sesion, platform::FileSystem& archivos) {
  const EntradaCatalogo* tabla = BuscarTabla(id_objeto);
  if (tabla == nullptr) return;
  DataPacket packet;
  try {
    datos.Seek(0);
    packet = tabla->tipo == TipoTabla::kLista ? ConstruirLista(*tabla, datos)
                                              : ReadDataPacket(datos.Bytes());
  } catch (const Error&) {
    codigo_error = tabla->codigo;
    return;
  } catch (const std::bad_alloc&) {
    codigo_error = tabla->codigo;
    return;
  }
  if (!Guardar(packet, carpeta, nombre, archivos)) {
    DatosAviso aviso = sesion;
    aviso.CodigoError = kCodigoNoPuedeGrabar;
    aviso.MostrarCodigo = false;
    ui.MostrarAviso(aviso);
    codigo_error = kCodigoNoPuedeGrabar;
  }
}

}  // namespace xamu
