#include "service/paquetes.h"

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "service/estructura_paquetes.h"

namespace xamu {
namespace {

void Report(const std::function<void()>& callback) {
  if (callback) callback();
}

}  // namespace

bool TraerPaquetes(ISincronizacion& cliente, std::int16_t IDUsuario, std::int16_t NumeroDePaquetes,
                   MemoryStream& paquetes, TipoArregloByte& ArregloDeBytes, bool resultado,
                   const ProgresoPaquetes& progreso) {
  for (int k = 2; k <= NumeroDePaquetes; ++k) {
    if (progreso.before_fetch) progreso.before_fetch(k, NumeroDePaquetes);
    resultado =
        cliente.SincronizarTraerPaquetes(IDUsuario, ArregloDeBytes, static_cast<std::int16_t>(k));
    // Nothing larger is ever used: the whole is refused rather than held.
    if (paquetes.Size() > kDecompressionLimit ||
        ArregloDeBytes.size() > kDecompressionLimit - paquetes.Size()) {
      throw EReadError(DecompressionLimitText());
    }
    paquetes.Write(ArregloDeBytes.data(), ArregloDeBytes.size());
    if (progreso.after_fetch) progreso.after_fetch(k, NumeroDePaquetes);
  }
  Report(progreso.all_fetched);
  return resultado;
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

bool SincronizarEnPaquetes(ISincronizacion& cliente, const SolicitudSincronizacion& solicitud,
                           TipoArregloByte& ArregloDeBytes, RespuestaSincronizacion& respuesta,
                           const ProgresoPaquetes& progreso) {
  Report(progreso.before_preparing);
  std::int16_t NumeroDePaquetes = 0;
  TipoArregloByte estructura_comprimida;
  bool resultado = cliente.SincronizarGenerarPaquetes(
      solicitud.IDCliente, solicitud.IDUsuario, ArregloDeBytes, solicitud.IDFormato,
      solicitud.ObligarSincronizarFormatos, solicitud.DebeSincronizarProgramas,
      respuesta.CodigoError, respuesta.ProximaAccion, respuesta.Status, solicitud.TamanoPaquete,
      NumeroDePaquetes, estructura_comprimida);
  MemoryStream estructura;
  DescomprimirArreglo(estructura, estructura_comprimida);
  MemoryStream paquetes;
  paquetes.Write(ArregloDeBytes.data(), ArregloDeBytes.size());
  respuesta.entradas.clear();
  if (respuesta.CodigoError != 0) return resultado;

  resultado = TraerPaquetes(cliente, solicitud.IDUsuario, NumeroDePaquetes, paquetes,
                            ArregloDeBytes, resultado, progreso);
  if (!resultado || respuesta.CodigoError != 0) return resultado;

  LeerEstructura(estructura, respuesta.ArregloFormatos, respuesta.entradas);
  CortarDatos(paquetes, respuesta.entradas);
  Report(progreso.entries_cut);
  return resultado;
}

}  // namespace xamu
