#include "sync/thrd_sincronizar.h"

#include <exception>

#include "platform/errors.h"
#include "ui/codigos.h"

namespace xamu {
namespace {

constexpr auto kCodigoFalla = static_cast<std::int16_t>(kCodigoFallaSincronizacion);

// The progress bar filled, the text, the end of the launcher, and the publication last.
void Fallar(EstadoSincronizacion& estado, InterfazUsuario& ui, std::string texto) {
  ui.EstablecerProgreso(kProgresoMaximo);
  estado.TextoError = std::move(texto);
  estado.FinalizarLanzador = true;
  estado.PublicarTerminacion();
}

}  // namespace

void EjecutarSincronizacion(TrabajoSincronizacion trabajo, TipoArregloByte& ArregloArchivosCDS,
                            EstadoSincronizacion& estado) {
  EntornoSincronizacion& entorno = trabajo.entorno;
  entorno.PasoSincronizacion = &estado.PasoSincronizacion;
  entorno.Fase = &estado.Fase;
  InterfazUsuario& ui = *entorno.ui;

  std::int16_t CodigoError = 0;
  std::uint8_t ProximaAccion = 0;
  std::int32_t Status = 0;
  std::string texto_error;
  const auto guardar = [&] {
    estado.CodigoError = CodigoError;
    estado.ProximaAccion = ProximaAccion;
    estado.Status = Status;
  };
  guardar();
  try {
    SincronizarFormatos({.IDCliente = trabajo.IDCliente,
                         .IDUsuario = trabajo.IDUsuario,
                         .IDFormato = 0,
                         .ObligarSincronizarFormatos = false,
                         .DebeSincronizarProgramas = true},
                        CodigoError, ProximaAccion, Status, ArregloArchivosCDS,
                        trabajo.RutaAplicacion, texto_error, entorno);
  } catch (const std::exception& e) {
    CodigoError = kCodigoFalla;
    guardar();
    Fallar(estado, ui,
           "Exception class name = " + KindName(e) + "\n" + "Exception message = " + e.what() +
               "\n" + estado.PasoSincronizacion);
    return;
  }
  if (!texto_error.empty()) {
    // A folder that cannot be written is a failure like the others, so that the completion
    // step shows it instead of going on as after a success.
    CodigoError = kCodigoFalla;
    guardar();
    Fallar(estado, ui, texto_error);
    return;
  }
  guardar();
  if (CodigoError != 0) {
    Fallar(
        estado, ui,
        "Error Sincronizando : " + std::to_string(CodigoError) + "\n" + estado.PasoSincronizacion);
    return;
  }
  std::optional<std::string> falla;
  try {
    falla = InstalarPreparados(trabajo.RutaAplicacion, trabajo.textos, *entorno.archivos);
  } catch (const std::exception& e) {
    // Nothing of the install raises; should the memory run out, it fails like a copy.
    falla = trabajo.textos.NoCopiaLauncher + ": " + e.what();
  }
  if (falla) {
    estado.CodigoError = kCodigoFalla;
    Fallar(estado, ui, *falla);
    return;
  }
  estado.PublicarTerminacion();
}

thrdSincronizar::thrdSincronizar(TrabajoSincronizacion trabajo, TipoArregloByte& ArregloArchivosCDS,
                                 EstadoSincronizacion& estado)
    : hilo_([trabajo = std::move(trabajo), &ArregloArchivosCDS, &estado]() mutable {
        EjecutarSincronizacion(std::move(trabajo), ArregloArchivosCDS, estado);
      }) {}

thrdSincronizar::~thrdSincronizar() {
  if (hilo_.joinable()) hilo_.join();
}

}  // namespace xamu
