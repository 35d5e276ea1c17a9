#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "encoding/memory_stream.h"
#include "service/wire_types.h"

// The two SOAP services of the vendor, as the launcher calls them. Every failure of a call
// is raised (ESOAPHTTPException, ERemotableException, ESOAPResponseError); no call retries.
// In-out parameters are sent with the value held and replaced by the value the answer
// carries; one the answer leaves out keeps its value.
namespace xamu {

// What the clients take from the launcher's settings.
struct ServiceSettings {
  std::string URLServ;
  bool ProxySistema = false;
  std::string UserProxy;
  std::string PasswordProxy;
  std::string Proxy;
  std::string PortProxy;
};

class ISincronizacion {
 public:
  virtual ~ISincronizacion() = default;
  virtual bool Sincronizar(std::int16_t IDCliente, std::int16_t IDUsuario,
                           SincronizacionArchivoInformacion& ArregloRespuesta,
                           TipoArregloByte& ArregloDeBytes, std::int16_t IDFormato,
                           bool ObligarSincronizarFormatos, bool DebeSincronizarProgramas,
                           std::int16_t& CodigoError, std::uint8_t& ProximaAccion,
                           std::int32_t& Status, TipoArregloSmallInt& ArregloFormatos) = 0;
  virtual bool SincronizarGenerarPaquetes(std::int16_t IDCliente, std::int16_t IDUsuario,
                                          TipoArregloByte& ArregloDeBytes, std::int16_t IDFormato,
                                          bool ObligarSincronizarFormatos,
                                          bool DebeSincronizarProgramas, std::int16_t& CodigoError,
                                          std::uint8_t& ProximaAccion, std::int32_t& Status,
                                          std::int16_t TamanoPaquete,
                                          std::int16_t& NumeroDePaquetes,
                                          TipoArregloByte& ArregloDeBytesEstructura) = 0;
  // Sends ArregloDeBytes empty whatever it holds; the answer's packet replaces it.
  virtual bool SincronizarTraerPaquetes(std::int16_t IDUsuario, TipoArregloByte& ArregloDeBytes,
                                        std::int16_t PaqueteNumero) = 0;
  virtual void SincronizarConfirmar(std::int16_t IDUsuario, bool PRespuesta,
                                    std::int16_t& CodigoError, std::uint8_t& ProximaAccion,
                                    std::int32_t& Status, std::int16_t IDFormato) = 0;
  virtual bool SincronizarProgramas(const std::string& NombreArchivo,
                                    TipoArregloByte& ArregloDeBytes) = 0;
  virtual bool SincronizarProgramasGenerarPaquetes(std::int16_t IDUsuario,
                                                   const std::string& NombreArchivo,
                                                   TipoArregloByte& ArregloDeBytes,
                                                   std::int16_t TamanoPaquete,
                                                   std::int16_t& NumeroDePaquetes) = 0;
};

// The session as the authentication service opens it.
struct SesionAutenticada {
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  std::int16_t IDPais = 0;
  std::string NombreCliente;
  std::string NombreUsuario;
  std::int16_t CodigoError = 0;
  std::uint8_t ProximaAccion = 0;
  std::int32_t Status = 0;
  TipoArregloByte ArregloDatosUsuario;
  TipoArregloByte ArregloProgramas;
};

class IAutenticacionNEW {
 public:
  virtual ~IAutenticacionNEW() = default;
  // Opens the session: the inventory and the computer's name go in, `sesion` is in-out.
  virtual void AutenticarCliente(const TipoArregloByte& ArregloInventario,
                                 const std::string& Equipo, SesionAutenticada& sesion) = 0;
  virtual void GrabarDatosUsuarios(std::int16_t& CodigoError, std::uint8_t& ProximaAccion,
                                   std::int32_t& Status, TipoArregloByte& ArregloDeBytes) = 0;
};

// The endpoint of each interface for a service base address, used as written.
std::string EndpointSincronizacion(const std::string& URLServ);
std::string EndpointAutenticacion(const std::string& URLServ);

// The proxy address a client uses: "Proxy:PortProxy" (both trimmed) when the system names
// a proxy and Proxy is not empty; otherwise empty, and the HTTP stack's own handling applies.
std::string ProxyFor(const ServiceSettings& settings);

// A new client with its own connection. An address whose scheme is neither http nor https
// raises "Invalid url '...' - only supports 'http' and 'https' schemes".
std::unique_ptr<ISincronizacion> CrearClienteSincronizacion(const ServiceSettings& settings);
std::unique_ptr<IAutenticacionNEW> CrearClienteAutenticacion(const ServiceSettings& settings);

}  // namespace xamu
