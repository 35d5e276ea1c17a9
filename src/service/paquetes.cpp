#include "service/paquetes.h"

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/text_encoding.h"

namespace xamu {

ProgresoPaquetes ProgresoSincronizacion(InterfazUsuario& ui, const std::string& caption,
                                        std::string& PasoSincronizacion) {
  const auto marker = [&PasoSincronizacion](const char* prefix, int k, int n) {
    PasoSincronizacion = std::string(prefix) + std::to_string(k) + " / " + std::to_string(n);
  };
  return {
      [&ui, caption, marker](int k, int n) {
        ui.EstablecerTextoProgreso(caption + "\n (" + std::to_string(k) + "/" + std::to_string(n) +
                                   ")");
        marker("E : ", k, n);
      },
      [marker](int k, int n) { marker("S : ", k, n); },
      [&ui, caption] { ui.EstablecerTextoProgreso(caption); },
  };
}

bool TraerPaquetes(ISincronizacion& cliente, std::int16_t IDUsuario, std::int16_t NumeroDePaquetes,
                   MemoryStream& paquetes, TipoArregloByte& ArregloDeBytes, bool resultado,
                   const ProgresoPaquetes& progreso) {
  for (int k = 2; k <= NumeroDePaquetes; ++k) {
    if (progreso.antes) progreso.antes(k, NumeroDePaquetes);
    resultado =
        cliente.SincronizarTraerPaquetes(IDUsuario, ArregloDeBytes, static_cast<std::int16_t>(k));
    paquetes.Write(ArregloDeBytes.data(), ArregloDeBytes.size());
    if (progreso.despues) progreso.despues(k, NumeroDePaquetes);
  }
  if (progreso.fin) progreso.fin();
  return resultado;
}

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

void CortarDatos(const MemoryStream& paquetes, SincronizacionArchivoInformacion& entradas) {
  const TipoArregloByte& datos = paquetes.Bytes();
  std::size_t offset = 0;
  for (Archivo1Sincronizacion& e : entradas) {
    // A negative length is no valid entry; it fails like one that runs past the end.
    if (e.Longitud < 0 || static_cast<std::size_t>(e.Longitud) > datos.size() - offset) {
      throw EReadError(kStreamReadError);
    }
    const auto begin = datos.begin() + static_cast<std::ptrdiff_t>(offset);
    e.Datos.assign(begin, begin + e.Longitud);
    offset += static_cast<std::size_t>(e.Longitud);
  }
}

bool SincronizarEnPaquetes(ISincronizacion& cliente, std::int16_t IDCliente, std::int16_t IDUsuario,
                           std::int16_t IDFormato, bool ObligarSincronizarFormatos,
                           bool DebeSincronizarProgramas, std::int16_t TamanoPaquete,
                           TipoArregloByte& ArregloDeBytes, std::int16_t& CodigoError,
                           std::uint8_t& ProximaAccion, std::int32_t& Status,
                           SincronizacionArchivoInformacion& entradas,
                           TipoArregloSmallInt& ArregloFormatos, InterfazUsuario& ui,
                           const std::string& caption, std::string& PasoSincronizacion) {
  PasoSincronizacion = "1 / N";
  std::int16_t NumeroDePaquetes = 0;
  TipoArregloByte estructura_comprimida;
  bool resultado = cliente.SincronizarGenerarPaquetes(
      IDCliente, IDUsuario, ArregloDeBytes, IDFormato, ObligarSincronizarFormatos,
      DebeSincronizarProgramas, CodigoError, ProximaAccion, Status, TamanoPaquete, NumeroDePaquetes,
      estructura_comprimida);
  MemoryStream estructura;
  DescomprimirArreglo(estructura, estructura_comprimida);
  MemoryStream paquetes;
  paquetes.Write(ArregloDeBytes.data(), ArregloDeBytes.size());
  entradas.clear();
  if (CodigoError != 0) return resultado;

  resultado = TraerPaquetes(cliente, IDUsuario, NumeroDePaquetes, paquetes, ArregloDeBytes,
                            resultado, ProgresoSincronizacion(ui, caption, PasoSincronizacion));
  PasoSincronizacion = "T : 001";
  if (!resultado || CodigoError != 0) return resultado;

  LeerEstructura(estructura, ArregloFormatos, entradas);
  CortarDatos(paquetes, entradas);
  PasoSincronizacion = "T : 002";
  return resultado;
}

}  // namespace xamu
