#include "launcher/sesion.h"

#include "platform/processes.h"

namespace xamu {

void AbrirSesion(EstadoLanzador& estado, const TipoArregloByte& ArregloInventario,
                 IAutenticacionNEW& cliente) {
  TipoSesion& s = estado.Sesion;
  EstadoSincronizacion& codigos = estado.Sincronizacion;
  SesionAutenticada sesion{.IDCliente = s.IDCliente,
                           .IDUsuario = s.IDUsuario,
                           .IDPais = s.IDPais,
                           .NombreCliente = s.NombreCliente,
                           .NombreUsuario = s.NombreUsuario,
                           .CodigoError = codigos.CodigoError,
                           .ProximaAccion = codigos.ProximaAccion,
                           .Status = codigos.Status,
                           .ArregloDatosUsuario = s.ArregloDatosUsuario,
                           .ArregloProgramas = s.ArregloProgramas};
  cliente.AutenticarCliente(ArregloInventario, platform::HostName(), sesion);
  s.IDCliente = sesion.IDCliente;
  s.IDUsuario = sesion.IDUsuario;
  s.IDPais = sesion.IDPais;
  s.NombreCliente = std::move(sesion.NombreCliente);
  s.NombreUsuario = std::move(sesion.NombreUsuario);
  s.ArregloDatosUsuario = std::move(sesion.ArregloDatosUsuario);
  s.ArregloProgramas = std::move(sesion.ArregloProgramas);
  codigos.CodigoError = sesion.CodigoError;
  codigos.ProximaAccion = sesion.ProximaAccion;
  codigos.Status = sesion.Status;
}

TrabajoSincronizacion TrabajoDelLanzador(const EstadoLanzador& estado, InterfazUsuario& ui) {
  const LauncherSettings& settings = estado.Configuracion;
  TrabajoSincronizacion trabajo;
  trabajo.IDCliente = estado.Sesion.IDCliente;
  trabajo.IDUsuario = estado.Sesion.IDUsuario;
  trabajo.RutaAplicacion = estado.RutaAplicacion;
  trabajo.textos = {estado.Mensajes.NoCopiaLauncher, estado.Mensajes.NoBorraLauncher};
  EntornoSincronizacion& entorno = trabajo.entorno;
  entorno.CrearCliente = [servicio = ConfiguracionServicio(settings)] {
    return CrearClienteSincronizacion(servicio);
  };
  entorno.BloqueDeDatosStatus = settings.BloqueDeDatosStatus;
  entorno.BloqueDeDatosValor = settings.BloqueDeDatosValor;
  entorno.caption = estado.Mensajes.Sincronizando;
  entorno.sesion = AvisoDeSesion(estado, 0);
  entorno.ui = &ui;
  return trabajo;
}

}  // namespace xamu
