#include "launcher/estado_lanzador.h"

#include "platform/paths.h"

namespace xamu {

std::string RutaAplicacionDerivada() {
  return platform::ExecutableFolder();
}

std::string FormarRutaAplicacion(const std::optional<ArchivoControl>& control) {
  return control ? control->RutaAplicacion : RutaAplicacionDerivada();
}

DatosAviso AvisoDeSesion(const EstadoLanzador& estado, std::uint16_t codigo, bool MostrarCodigo,
                         bool SalirAlCerrar) {
  return {
      .CodigoError = codigo,
      .Status = estado.Sincronizacion.Status.load(),
      .MostrarCodigo = MostrarCodigo,
      .NombreCliente = estado.Sesion.NombreCliente,
      .IDCliente = estado.Sesion.IDCliente,
      .IDUsuario = estado.Sesion.IDUsuario,
      .SalirAlCerrar = SalirAlCerrar,
  };
}

}  // namespace xamu
