#include "launcher/interfaz_registrada.h"

#include <cstdio>

#include "platform/run_log.h"
#include "service/http_trace.h"

namespace xamu {

void InterfazRegistrada::MostrarAviso(const DatosAviso& aviso) {
  platform::LogLine(
      "notice " + std::to_string(aviso.CodigoError) + ": " +
      DescripcionAviso(mensajes_, aviso.CodigoError, aviso.Status, aviso.MostrarCodigo));
  ui_.MostrarAviso(aviso);
}

void RegistrarIntercambiosHttp() {
  ObserveHttp([](const HttpExchange& e) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f s", e.seconds);
    platform::LogLine(e.method + " " + e.url + (e.action.empty() ? "" : " " + e.action) +
                      " proxy " + (e.proxy.empty() ? "none" : e.proxy) + ": " +
                      (e.error.empty() ? "HTTP " + std::to_string(e.status) : e.error) + " in " +
                      seconds);
  });
}

}  // namespace xamu
