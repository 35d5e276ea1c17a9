#include "launcher/interfaz_registrada.h"

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
  ObserveHttp([](const HttpExchange& e) { platform::LogLine(DescribeExchange(e)); });
}

}  // namespace xamu
