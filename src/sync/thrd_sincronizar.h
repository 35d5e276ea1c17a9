#pragma once

#include <string>
#include <thread>

#include "encoding/memory_stream.h"
#include "sync/estado_sincronizacion.h"
#include "sync/instalar_preparados.h"
#include "sync/sincronizar_formatos.h"

namespace xamu {

// What the worker is given before it starts, taken from the launcher's state.
struct TrabajoSincronizacion {
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  std::string RutaAplicacion;  // with its trailing separator
  TextosInstalacion textos;
  // Its markers are pointed at the state's by the body.
  EntornoSincronizacion entorno;
};

// The worker's body, on the calling thread: the format synchronization, then the install
// of what was staged. Every end leaves CodigoError, TextoError, Fase, PasoSincronizacion
// and FinalizarLanzador in `estado` and publishes them last; nothing escapes.
// `ArregloArchivosCDS` is sent as the list of local tables and does not keep it.
void EjecutarSincronizacion(TrabajoSincronizacion trabajo, TipoArregloByte& ArregloArchivosCDS,
                            EstadoSincronizacion& estado);

// The worker thread: runs the body once. Releasing it waits for the body to return. The
// state, the array and whatever the work points to must outlive it.
class thrdSincronizar {
 public:
  thrdSincronizar(TrabajoSincronizacion trabajo, TipoArregloByte& ArregloArchivosCDS,
                  EstadoSincronizacion& estado);
  ~thrdSincronizar();
  thrdSincronizar(const thrdSincronizar&) = delete;
  thrdSincronizar& operator=(const thrdSincronizar&) = delete;

 private:
  std::thread hilo_;
};

}  // namespace xamu
