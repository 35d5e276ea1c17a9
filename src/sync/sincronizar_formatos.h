#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_system_interface.h"
#include "service/clientes.h"
#include "service/paquetes.h"
#include "ui/interfaz_usuario.h"

namespace xamu {

// What the format synchronization works with besides its arguments: how it reaches the
// service, the screen and the disk, and where it leaves its two markers.
struct EntornoSincronizacion {
  std::function<std::unique_ptr<ISincronizacion>()> CrearCliente;
  bool BloqueDeDatosStatus = false;
  std::int16_t BloqueDeDatosValor = 0;
  // Label1's caption, shown again under the packet counts.
  std::string caption;
  // The session's identity for the notices; their Status is the one current when shown.
  DatosAviso sesion;
  InterfazUsuario* ui = nullptr;
  platform::FileSystem* archivos = &platform::RealFileSystem();
  std::string* PasoSincronizacion = nullptr;
  std::atomic<std::int16_t>* Fase = nullptr;
};

// One exchange with the synchronization service: the answer whole or in packets; program
// files (IDObjeto 1) staged into Work1, every table of the catalogue written into
// ArchivosCDS by its builder, then the confirmation. RutaAplicacion ends with the
// separator. A folder that cannot be written sets `texto_error` ("Folder: ...is write
// protected"); the service's codes come back in CodigoError, ProximaAccion and Status.
// An error of the service calls (the answer, the packets, the confirmation) is raised;
// everything else ends as a code. Runs on the calling thread; notices block it.
void SincronizarFormatos(const SolicitudSincronizacion& solicitud, std::int16_t& CodigoError,
                         std::uint8_t& ProximaAccion, std::int32_t& Status,
                         TipoArregloByte& ArregloDeBytes, const std::string& RutaAplicacion,
                         std::string& texto_error, const EntornoSincronizacion& entorno);

}  // namespace xamu
