#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "encoding/memory_stream.h"
#include "launcher/settings.h"
#include "sync/estado_sincronizacion.h"
#include "ui/interfaz_usuario.h"
#include "ui/mensajes.h"

namespace xamu {

// The session the launcher holds. Its CodigoError, ProximaAccion and Status are written by
// the worker too, so they live in EstadoSincronizacion (EstadoLanzador::Sincronizacion).
struct TipoSesion {
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  std::int16_t IDPais = 0;
  std::string NombreCliente;
  std::string NombreUsuario;
  TipoArregloByte ArregloDatosUsuario;  // compressed user record; empty when there is none
  TipoArregloByte ArregloProgramas;     // compressed update list; under 5 bytes: none
};

// Every process-wide value of the launcher, created once by the program (tests make their
// own) and passed by reference. It lives on the main thread; the worker is given only
// `Sincronizacion` and plain values taken from the rest before it starts. Everything is
// empty, zero or false until the window exists.
struct EstadoLanzador {
  // The application folder. Every file name is built by appending to it, with nothing put
  // between: derived from the executable (RutaAplicacionDerivada) it ends with the
  // separator; taken from the control file it is used exactly as written.
  std::string RutaAplicacion;
  std::uint8_t Idioma = 0;  // 1 Spanish, any other value English
  TipoSesion Sesion;
  EstadoSincronizacion Sincronizacion;
  std::vector<std::string> ArregloArchivosLocales;
  TipoArregloByte ArregloArchivosCDS;
  LauncherSettings Configuracion;
  TMensajes Mensajes;
};

// RutaAplicacion from the executable's own folder, ending with the separator.
std::string RutaAplicacionDerivada();

// RutaAplicacion as window creation settles it: the control file's value, used unchanged,
// when that file exists; otherwise the derived folder.
std::string FormarRutaAplicacion(const std::optional<ArchivoControl>& control);

// A notice for `codigo` carrying the session's values, as every notice of the launcher
// does: its Status, client name and identifiers.
DatosAviso AvisoDeSesion(const EstadoLanzador& estado, std::uint16_t codigo,
                         bool MostrarCodigo = false, bool SalirAlCerrar = false);

}  // namespace xamu
