#include "launcher/cargar_xamu.h"

#include "encoding/text_encoding.h"
#include "launcher/hand_off.h"
#include "launcher/installation_checks.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/run_log.h"
#include "ui/codigos.h"

namespace xamu {
namespace {

void NoHallaPrograma(EstadoLanzador& estado, const std::string& numero, InterfazUsuario& ui) {
  estado.Mensajes.NoHallaPrograma += " (" + numero + ")";
  DatosAviso aviso = AvisoDeSesion(estado, kCodigoNoHallaPrograma);
  aviso.Status = 0;
  ui.MostrarAviso(aviso);
}

}  // namespace

void CargarXamu(EstadoLanzador& estado, std::int16_t IDPaisInterno, InterfazUsuario& ui) {
  const TipoSesion& s = estado.Sesion;
  const std::string texto = EncodeHandOffText({.IDCliente = s.IDCliente,
                                               .IDUsuario = s.IDUsuario,
                                               .IDPais = IDPaisInterno,
                                               .NombreCliente = Utf8ToUtf16(s.NombreCliente),
                                               .NombreUsuario = Utf8ToUtf16(s.NombreUsuario)});
  const std::string programa = estado.RutaAplicacion + kNombreAplicacion;
  if (platform::FileExists(programa)) {
    try {
      const platform::Outcome started = platform::StartProcess(programa, texto);
      platform::LogLine(started ? "hand-off to " + programa
                                : "cannot start " + programa + ": errno " +
                                      std::to_string(started.ErrorNumber()));
      if (!started) NoHallaPrograma(estado, std::to_string(started.ErrorNumber()), ui);
    } catch (const std::exception& e) {
      platform::LogLine("cannot start " + programa + ": " + e.what());
      NoHallaPrograma(estado, "0", ui);
    }
  } else {
    platform::LogLine("no hand-off: " + programa + " is missing");
  }
  estado.Sincronizacion.FinalizarLanzador = true;
}

}  // namespace xamu
