#include "service/clientes.h"

#include "platform/ascii_text.h"
#include "service/errors.h"
#include "service/http_transport.h"
#include "service/service_names.h"
#include "service/soap_reader.h"
#include "service/soap_writer.h"

namespace xamu {
namespace {

constexpr long kTimeoutSincronizacionMs = 1'800'000;
constexpr long kTimeoutAutenticacionMs = 600'000;

HttpSettings HttpSettingsFor(const std::string& endpoint, long timeout_ms,
                             const ServiceSettings& s) {
  if (!platform::StartsWithIgnoringCase(endpoint, "http://") &&
      !platform::StartsWithIgnoringCase(endpoint, "https://")) {
    throw ESOAPHTTPException("Invalid url '" + endpoint +
                             "' - only supports 'http' and 'https' schemes");
  }
  HttpSettings http;
  http.url = endpoint;
  http.timeout_ms = timeout_ms;
  // Without a system proxy the HTTP stack's own proxy handling applies.
  if (s.ProxySistema) {
    http.user = platform::TrimWhitespace(s.UserProxy);
    http.password = platform::TrimWhitespace(s.PasswordProxy);
    http.proxy = ProxyFor(s);
  }
  return http;
}

class SoapSincronizacion : public ISincronizacion {
 public:
  explicit SoapSincronizacion(HttpSettings http) : transport_(std::move(http)) {}

  bool Sincronizar(std::int16_t IDCliente, std::int16_t IDUsuario,
                   SincronizacionArchivoInformacion& ArregloRespuesta,
                   TipoArregloByte& ArregloDeBytes, std::int16_t IDFormato,
                   bool ObligarSincronizarFormatos, bool DebeSincronizarProgramas,
                   std::int16_t& CodigoError, std::uint8_t& ProximaAccion, std::int32_t& Status,
                   TipoArregloSmallInt& ArregloFormatos) override {
    SoapWriter w("Sincronizar", kNsSincronizacion);
    w.AddShort("IDCliente", IDCliente);
    w.AddShort("IDUsuario", IDUsuario);
    w.AddEntries("ArregloRespuesta", ArregloRespuesta);
    w.AddBytes("ArregloDeBytes", ArregloDeBytes);
    w.AddShort("IDFormato", IDFormato);
    w.AddBoolean("ObligarSincronizarFormatos", ObligarSincronizarFormatos);
    w.AddBoolean("DebeSincronizarProgramas", DebeSincronizarProgramas);
    w.AddShort("CodigoError", CodigoError);
    w.AddByte("ProximaAccion", ProximaAccion);
    w.AddInt("Status", Status);
    w.AddSmallIntArray("ArregloFormatos", ArregloFormatos);
    const SoapMessage answer = Call("Sincronizar", w);
    const bool result = answer.ResultBoolean();
    answer.Read("ArregloRespuesta", ArregloRespuesta);
    answer.Read("ArregloDeBytes", ArregloDeBytes);
    answer.Read("CodigoError", CodigoError);
    answer.Read("ProximaAccion", ProximaAccion);
    answer.Read("Status", Status);
    answer.Read("ArregloFormatos", ArregloFormatos);
    return result;
  }

  bool SincronizarGenerarPaquetes(std::int16_t IDCliente, std::int16_t IDUsuario,
                                  TipoArregloByte& ArregloDeBytes, std::int16_t IDFormato,
                                  bool ObligarSincronizarFormatos, bool DebeSincronizarProgramas,
                                  std::int16_t& CodigoError, std::uint8_t& ProximaAccion,
                                  std::int32_t& Status, std::int16_t TamanoPaquete,
                                  std::int16_t& NumeroDePaquetes,
                                  TipoArregloByte& ArregloDeBytesEstructura) override {
    SoapWriter w("SincronizarGenerarPaquetes", kNsSincronizacion);
    w.AddShort("IDCliente", IDCliente);
    w.AddShort("IDUsuario", IDUsuario);
    w.AddBytes("ArregloDeBytes", ArregloDeBytes);
    w.AddShort("IDFormato", IDFormato);
    w.AddBoolean("ObligarSincronizarFormatos", ObligarSincronizarFormatos);
    w.AddBoolean("DebeSincronizarProgramas", DebeSincronizarProgramas);
    w.AddShort("CodigoError", CodigoError);
    w.AddByte("ProximaAccion", ProximaAccion);
    w.AddInt("Status", Status);
    w.AddShort("TamanoPaquete", TamanoPaquete);
    w.AddShort("NumeroDePaquetes", NumeroDePaquetes);
    w.AddBytes("ArregloDeBytesEstructura", ArregloDeBytesEstructura);
    const SoapMessage answer = Call("SincronizarGenerarPaquetes", w);
    const bool result = answer.ResultBoolean();
    answer.Read("ArregloDeBytes", ArregloDeBytes);
    answer.Read("CodigoError", CodigoError);
    answer.Read("ProximaAccion", ProximaAccion);
    answer.Read("Status", Status);
    answer.Read("NumeroDePaquetes", NumeroDePaquetes);
    answer.Read("ArregloDeBytesEstructura", ArregloDeBytesEstructura);
    return result;
  }

  bool SincronizarTraerPaquetes(std::int16_t IDUsuario, TipoArregloByte& ArregloDeBytes,
                                std::int16_t PaqueteNumero) override {
    SoapWriter w("SincronizarTraerPaquetes", kNsSincronizacion);
    w.AddShort("IDUsuario", IDUsuario);
    // The service gives the sent value no meaning; sending the previous packet back would
    // only double the traffic.
    w.AddBytes("ArregloDeBytes", {});
    w.AddShort("PaqueteNumero", PaqueteNumero);
    const SoapMessage answer = Call("SincronizarTraerPaquetes", w);
    const bool result = answer.ResultBoolean();
    answer.Read("ArregloDeBytes", ArregloDeBytes);
    return result;
  }

  void SincronizarConfirmar(std::int16_t IDUsuario, bool PRespuesta, std::int16_t& CodigoError,
                            std::uint8_t& ProximaAccion, std::int32_t& Status,
                            std::int16_t IDFormato) override {
    SoapWriter w("SincronizarConfirmar", kNsSincronizacion);
    w.AddShort("IDUsuario", IDUsuario);
    w.AddBoolean("PRespuesta", PRespuesta);
    w.AddShort("CodigoError", CodigoError);
    w.AddByte("ProximaAccion", ProximaAccion);
    w.AddInt("Status", Status);
    w.AddShort("IDFormato", IDFormato);
    const SoapMessage answer = Call("SincronizarConfirmar", w);
    answer.Read("CodigoError", CodigoError);
    answer.Read("ProximaAccion", ProximaAccion);
    answer.Read("Status", Status);
  }

  bool SincronizarProgramas(const std::string& NombreArchivo,
                            TipoArregloByte& ArregloDeBytes) override {
    SoapWriter w("SincronizarProgramas", kNsSincronizacion);
    w.AddString("NombreArchivo", NombreArchivo);
    w.AddBytes("ArregloDeBytes", ArregloDeBytes);
    const SoapMessage answer = Call("SincronizarProgramas", w);
    const bool result = answer.ResultBoolean();
    answer.Read("ArregloDeBytes", ArregloDeBytes);
    return result;
  }

  bool SincronizarProgramasGenerarPaquetes(std::int16_t IDUsuario, const std::string& NombreArchivo,
                                           TipoArregloByte& ArregloDeBytes,
                                           std::int16_t TamanoPaquete,
                                           std::int16_t& NumeroDePaquetes) override {
    SoapWriter w("SincronizarProgramasGenerarPaquetes", kNsSincronizacion);
    w.AddShort("IDUsuario", IDUsuario);
    w.AddString("NombreArchivo", NombreArchivo);
    w.AddBytes("ArregloDeBytes", ArregloDeBytes);
    w.AddShort("TamanoPaquete", TamanoPaquete);
    w.AddShort("NumeroDePaquetes", NumeroDePaquetes);
    const SoapMessage answer = Call("SincronizarProgramasGenerarPaquetes", w);
    const bool result = answer.ResultBoolean();
    answer.Read("ArregloDeBytes", ArregloDeBytes);
    answer.Read("NumeroDePaquetes", NumeroDePaquetes);
    return result;
  }

 private:
  SoapMessage Call(const std::string& operation, SoapWriter& request) {
    return SoapMessage(
        transport_.PostSoap(request.Finish(), std::string(kNsSincronizacion) + "#" + operation));
  }

  HttpTransport transport_;
};

class SoapAutenticacion : public IAutenticacionNEW {
 public:
  explicit SoapAutenticacion(HttpSettings http) : transport_(std::move(http)) {}

  void AutenticarCliente(const TipoArregloByte& ArregloInventario, const std::string& Equipo,
                         SesionAutenticada& s) override {
    SoapWriter w("AutenticarCliente", kNsAutenticacion);
    w.AddBytes("ArregloInventario", ArregloInventario);
    w.AddString("Equipo", Equipo);
    w.AddShort("IDCliente", s.IDCliente);
    w.AddShort("IDUsuario", s.IDUsuario);
    w.AddShort("IDPais", s.IDPais);
    w.AddString("NombreCliente", s.NombreCliente);
    w.AddString("NombreUsuario", s.NombreUsuario);
    w.AddShort("CodigoError", s.CodigoError);
    w.AddByte("ProximaAccion", s.ProximaAccion);
    w.AddInt("Status", s.Status);
    w.AddBytes("ArregloDatosUsuario", s.ArregloDatosUsuario);
    w.AddBytes("ArregloProgramas", s.ArregloProgramas);
    const SoapMessage answer = Call(w);
    answer.Read("IDCliente", s.IDCliente);
    answer.Read("IDUsuario", s.IDUsuario);
    answer.Read("IDPais", s.IDPais);
    answer.Read("NombreCliente", s.NombreCliente);
    answer.Read("NombreUsuario", s.NombreUsuario);
    answer.Read("CodigoError", s.CodigoError);
    answer.Read("ProximaAccion", s.ProximaAccion);
    answer.Read("Status", s.Status);
    answer.Read("ArregloDatosUsuario", s.ArregloDatosUsuario);
    answer.Read("ArregloProgramas", s.ArregloProgramas);
  }

  void GrabarDatosUsuarios(std::int16_t& CodigoError, std::uint8_t& ProximaAccion,
                           std::int32_t& Status, TipoArregloByte& ArregloDeBytes) override {
    SoapWriter w("GrabarDatosUsuarios", kNsAutenticacion);
    w.AddShort("CodigoError", CodigoError);
    w.AddByte("ProximaAccion", ProximaAccion);
    w.AddInt("Status", Status);
    w.AddBytes("ArregloDeBytes", ArregloDeBytes);
    const SoapMessage answer = Call(w);
    answer.Read("CodigoError", CodigoError);
    answer.Read("ProximaAccion", ProximaAccion);
    answer.Read("Status", Status);
    answer.Read("ArregloDeBytes", ArregloDeBytes);
  }

 private:
  SoapMessage Call(SoapWriter& request) {
    return SoapMessage(transport_.PostSoap(request.Finish(), kAccionAutenticacion));
  }

  HttpTransport transport_;
};

bool NamesLocalhost(const std::string& URLServ) {
  return URLServ.find("localhost") != std::string::npos;  // case-sensitive on purpose
}

}  // namespace

std::string ProxyFor(const ServiceSettings& s) {
  const std::string_view proxy = platform::TrimWhitespace(s.Proxy);
  if (!s.ProxySistema || proxy.empty()) return {};
  return std::string(proxy) + ":" + std::string(platform::TrimWhitespace(s.PortProxy));
}

std::string EndpointSincronizacion(const std::string& URLServ) {
  return URLServ + (NamesLocalhost(URLServ) ? kRutaSincronizacionPrueba : kRutaSincronizacion);
}

std::string EndpointAutenticacion(const std::string& URLServ) {
  return URLServ + (NamesLocalhost(URLServ) ? kRutaAutenticacionPrueba : kRutaAutenticacion);
}

std::unique_ptr<ISincronizacion> CrearClienteSincronizacion(const ServiceSettings& settings) {
  return std::make_unique<SoapSincronizacion>(HttpSettingsFor(
      EndpointSincronizacion(settings.URLServ), kTimeoutSincronizacionMs, settings));
}

std::unique_ptr<IAutenticacionNEW> CrearClienteAutenticacion(const ServiceSettings& settings) {
  return std::make_unique<SoapAutenticacion>(
      HttpSettingsFor(EndpointAutenticacion(settings.URLServ), kTimeoutAutenticacionMs, settings));
}

}  // namespace xamu
