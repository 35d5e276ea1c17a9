#include <cstdio>
#include <limits>

#include "commands.h"
#include "console_ui.h"
#include "launcher/inventario.h"
#include "launcher/sesion.h"
#include "launcher/settings.h"
#include "platform/system_proxy.h"
#include "platform/user_language.h"
#include "sync/thrd_sincronizar.h"

namespace xamu::tool {
namespace {

std::string WithEscapedLineBreaks(const std::string& text) {
  std::string out;
  for (const char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

}  // namespace

void Sync(const std::string& folder, const std::string& cliente_text,
          const std::string& usuario_text) {
  constexpr auto kMin = std::numeric_limits<std::int16_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int16_t>::max();
  const auto cliente = static_cast<std::int16_t>(ParseInteger(cliente_text, kMin, kMax));
  const auto usuario = static_cast<std::int16_t>(ParseInteger(usuario_text, kMin, kMax));

  // The installation as the launcher would find it at start.
  const std::string ruta = ApplicationFolder(folder);
  EstadoLanzador lanzador;
  lanzador.RutaAplicacion = ruta;
  lanzador.Configuracion =
      LeerConfiguracion(ruta, InterpretarProxySistema(platform::QuerySystemProxy()));
  CargarMensajes(lanzador.Mensajes, LeerIdioma(ruta, platform::UserDefaultLangId()));
  lanzador.Sesion.IDCliente = cliente;
  lanzador.Sesion.IDUsuario = usuario;
  TipoArregloByte ArregloArchivosCDS =
      ConstruirInventario(ListarInventario(ruta)).ArregloArchivosCDS;
  ConsoleUi ui(lanzador.Mensajes);
  EstadoSincronizacion estado;
  { const thrdSincronizar hilo(TrabajoDelLanzador(lanzador, ui), ArregloArchivosCDS, estado); }
  std::printf("CodigoError=%d\nTextoError=%s\nFase=%d\nPasoSincronizacion=%s\n",
              int{estado.CodigoError}, WithEscapedLineBreaks(estado.TextoError).c_str(),
              int{estado.Fase}, estado.PasoSincronizacion.c_str());
  if (estado.CodigoError != 0 || !estado.TextoError.empty()) throw ExitCode{1};
}

}  // namespace xamu::tool
