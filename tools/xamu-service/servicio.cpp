#include "servicio.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "encoding/compresion.h"
#include "encoding/text_encoding.h"
#include "encoding/value_type.h"
#include "encoding/writer.h"
#include "platform/errors.h"
#include "service/estructura_paquetes.h"
#include "service/service_names.h"
#include "service/soap_reader.h"
#include "service/soap_writer.h"

namespace xamu::servicio {
namespace {

constexpr const char* kFaultCliente = "SOAP-ENV:Client";
constexpr const char* kFaultServidor = "SOAP-ENV:Server";
constexpr const char* kResultado = "return";
// GrabarDatosUsuarios for a user other than the session's.
constexpr std::int16_t kCodigoUsuarioDesconocido = 67;

// A request that asks for something the service does not have; a Client fault.
class EInvalidRequest : public Error {
 public:
  explicit EInvalidRequest(const std::string& message) : Error("EInvalidRequest", message) {}
};

Respuesta Fault(const char* code, const std::string& text, const std::string& operacion) {
  Respuesta r;
  r.status = 500;
  r.cuerpo = SoapFault(code, text);
  r.operacion = operacion;
  return r;
}

Respuesta Texto(int status, std::string cuerpo, const std::string& operacion) {
  Respuesta r;
  r.status = status;
  r.content_type = "text/plain; charset=utf-8";
  r.cuerpo = std::move(cuerpo);
  r.operacion = operacion;
  return r;
}

// The switches that act before any answer is made: delay, dropped connection, HTTP status.
std::optional<Respuesta> FallaDeTransporte(const Fallas& f, const std::string& operacion) {
  if (f.demora_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(f.demora_ms));
  if (f.cortar) {
    Respuesta r;
    r.cortar = true;
    r.operacion = operacion;
    return r;
  }
  if (f.http_status != 0) {
    return Texto(f.http_status, "status " + std::to_string(f.http_status) + "\n", operacion);
  }
  return std::nullopt;
}

TipoArregloByte Concatenar(const SincronizacionArchivoInformacion& entradas) {
  std::size_t total = 0;
  for (const Archivo1Sincronizacion& e : entradas) total += e.Datos.size();
  TipoArregloByte datos;
  datos.reserve(total);
  for (const Archivo1Sincronizacion& e : entradas)
    datos.insert(datos.end(), e.Datos.begin(), e.Datos.end());
  return datos;
}

}  // namespace

class Servicio::Peticion {
 public:
  Peticion(const SoapMessage& mensaje, const Fallas& fallas) : fallas(fallas), mensaje_(mensaje) {}

  const Fallas& fallas;

  // The parameter's value, or `defecto` when the request leaves it out.
  template <class T>
  T Leer(std::string_view nombre, T defecto = T()) const {
    mensaje_.Read(nombre, defecto);
    return defecto;
  }

  // CodigoError, ProximaAccion and Status of an answer: a switched-on fault's, else 0 and
  // the values the request carried.
  void AgregarCodigos(SoapWriter& w, std::int16_t codigo_error) const {
    w.AddShort("CodigoError", codigo_error);
    w.AddByte("ProximaAccion", fallas.proxima_accion.value_or(Leer<std::uint8_t>("ProximaAccion")));
    w.AddInt("Status", fallas.status.value_or(Leer<std::int32_t>("Status")));
  }
  std::int16_t CodigoError() const { return fallas.codigo_error.value_or(0); }

 private:
  const SoapMessage& mensaje_;
};

Respuesta Servicio::AtenderSoap(Interfaz interfaz, const std::string& cuerpo) {
  struct Operacion {
    const char* nombre;
    Interfaz interfaz;
    std::string (Servicio::*atender)(const Peticion&);
  };
  static constexpr Operacion kOperaciones[] = {
      {"Sincronizar", Interfaz::kSincronizacion, &Servicio::Sincronizar},
      {"SincronizarGenerarPaquetes", Interfaz::kSincronizacion,
       &Servicio::SincronizarGenerarPaquetes},
      {"SincronizarTraerPaquetes", Interfaz::kSincronizacion, &Servicio::SincronizarTraerPaquetes},
      {"SincronizarConfirmar", Interfaz::kSincronizacion, &Servicio::SincronizarConfirmar},
      {"SincronizarProgramas", Interfaz::kSincronizacion, &Servicio::SincronizarProgramas},
      {"SincronizarProgramasGenerarPaquetes", Interfaz::kSincronizacion,
       &Servicio::SincronizarProgramasGenerarPaquetes},
      {"AutenticarCliente", Interfaz::kAutenticacion, &Servicio::AutenticarCliente},
      {"GrabarDatosUsuarios", Interfaz::kAutenticacion, &Servicio::GrabarDatosUsuarios},
  };

  std::optional<SoapMessage> mensaje;
  try {
    mensaje.emplace(cuerpo);
  } catch (const std::exception& e) {
    return Fault(kFaultCliente, e.what(), "-");
  }
  const std::string nombre = mensaje->OperationName();
  const Operacion* operacion = nullptr;
  for (const Operacion& o : kOperaciones) {
    if (o.interfaz == interfaz && nombre == o.nombre) operacion = &o;
  }
  if (operacion == nullptr) return Fault(kFaultCliente, "Unknown operation " + nombre, nombre);

  const Fallas fallas = LeerFallas(contenido_.Carpeta() / kArchivoFallas, nombre);
  if (auto falla = FallaDeTransporte(fallas, nombre)) return *falla;
  if (fallas.soap_fault) return Fault(kFaultServidor, *fallas.soap_fault, nombre);
  try {
    Respuesta r;
    r.cuerpo = (this->*operacion->atender)(Peticion(*mensaje, fallas));
    r.operacion = nombre;
    return r;
  } catch (const EInvalidRequest& e) {
    return Fault(kFaultCliente, e.what(), nombre);
  } catch (const std::exception& e) {
    return Fault(kFaultServidor, e.what(), nombre);
  }
}

Respuesta Servicio::AtenderDescarga(const std::string& nombre) {
  const Fallas fallas = LeerFallas(contenido_.Carpeta() / kArchivoFallas, kSeccionDescarga);
  if (auto falla = FallaDeTransporte(fallas, "-")) return *falla;
  try {
    const auto archivo = contenido_.BuscarPrograma(nombre);
    if (!archivo) return Texto(404, "Not Found\n", "-");
    const TipoArregloByte bytes = contenido_.ProgramaParaDescarga(*archivo);
    Respuesta r;
    r.content_type = "application/octet-stream";
    r.cuerpo.assign(bytes.begin(), bytes.end());
    return r;
  } catch (const std::exception& e) {
    return Texto(500, std::string(e.what()) + "\n", "-");
  }
}

std::string Servicio::Sincronizar(const Peticion& p) {
  const Sesion sesion = contenido_.LeerSesion();
  const std::int16_t codigo = p.CodigoError();
  // An error code answers without data, as a failed synchronization does.
  const SincronizacionArchivoInformacion entradas =
      codigo == 0 ? contenido_.Entradas(sesion) : SincronizacionArchivoInformacion();
  SoapWriter w("SincronizarResponse", kNsSincronizacion);
  w.AddBoolean(kResultado, !entradas.empty());
  w.AddEntries("ArregloRespuesta", entradas);
  w.AddBytes("ArregloDeBytes", {});
  p.AgregarCodigos(w, codigo);
  w.AddSmallIntArray("ArregloFormatos", sesion.formatos);
  return w.Finish();
}

std::string Servicio::SincronizarGenerarPaquetes(const Peticion& p) {
  const Sesion sesion = contenido_.LeerSesion();
  const auto IDUsuario = p.Leer<std::int16_t>("IDUsuario");
  const std::int16_t codigo = p.CodigoError();
  SincronizacionArchivoInformacion entradas;
  PaquetesPreparados::Preparada paquetes;
  TipoArregloByte estructura;
  if (codigo == 0) {
    entradas = contenido_.Entradas(sesion);
    paquetes = preparados_.Preparar(IDUsuario, Concatenar(entradas),
                                    p.Leer<std::int16_t>("TamanoPaquete"), p.fallas);
    estructura = ComprimirArreglo(EscribirEstructura(sesion.formatos, entradas));
  } else {
    preparados_.Liberar(IDUsuario);
  }
  SoapWriter w("SincronizarGenerarPaquetesResponse", kNsSincronizacion);
  w.AddBoolean(kResultado, !entradas.empty());
  w.AddBytes("ArregloDeBytes", paquetes.primero);
  p.AgregarCodigos(w, codigo);
  w.AddShort("NumeroDePaquetes", static_cast<std::int16_t>(paquetes.numero));
  w.AddBytes("ArregloDeBytesEstructura", estructura);
  return w.Finish();
}

std::string Servicio::SincronizarTraerPaquetes(const Peticion& p) {
  const auto IDUsuario = p.Leer<std::int16_t>("IDUsuario");
  const auto numero = p.Leer<std::int16_t>("PaqueteNumero");
  const std::optional<TipoArregloByte> paquete = preparados_.Traer(IDUsuario, numero);
  if (!paquete) {
    throw EInvalidRequest("No packet " + std::to_string(numero) + " is prepared for IDUsuario " +
                          std::to_string(IDUsuario));
  }
  SoapWriter w("SincronizarTraerPaquetesResponse", kNsSincronizacion);
  w.AddBoolean(kResultado, true);
  w.AddBytes("ArregloDeBytes", *paquete);
  return w.Finish();
}

std::string Servicio::SincronizarConfirmar(const Peticion& p) {
  preparados_.Liberar(p.Leer<std::int16_t>("IDUsuario"));
  SoapWriter w("SincronizarConfirmarResponse", kNsSincronizacion);
  p.AgregarCodigos(w, p.CodigoError());
  return w.Finish();
}

std::filesystem::path Servicio::ProgramaPedido(const std::string& nombre) const {
  auto archivo = contenido_.BuscarPrograma(nombre);
  if (!archivo) throw EInvalidRequest("No program file named " + nombre);
  return *archivo;
}

std::string Servicio::SincronizarProgramas(const Peticion& p) {
  const TipoArregloByte bytes =
      contenido_.ProgramaParaDescarga(ProgramaPedido(p.Leer<std::string>("NombreArchivo")));
  SoapWriter w("SincronizarProgramasResponse", kNsSincronizacion);
  w.AddBoolean(kResultado, true);
  w.AddBytes("ArregloDeBytes", bytes);
  return w.Finish();
}

std::string Servicio::SincronizarProgramasGenerarPaquetes(const Peticion& p) {
  const TipoArregloByte bytes =
      contenido_.ProgramaParaDescarga(ProgramaPedido(p.Leer<std::string>("NombreArchivo")));
  const PaquetesPreparados::Preparada paquetes = preparados_.Preparar(
      p.Leer<std::int16_t>("IDUsuario"), bytes, p.Leer<std::int16_t>("TamanoPaquete"), p.fallas);
  SoapWriter w("SincronizarProgramasGenerarPaquetesResponse", kNsSincronizacion);
  w.AddBoolean(kResultado, true);
  w.AddBytes("ArregloDeBytes", paquetes.primero);
  w.AddShort("NumeroDePaquetes", static_cast<std::int16_t>(paquetes.numero));
  return w.Finish();
}

std::string Servicio::AutenticarCliente(const Peticion& p) {
  const Sesion sesion = contenido_.LeerSesion();
  const SesionAutenticada& v = sesion.valores;
  std::optional<DatosUsuario> datos = sesion.datos_usuario;
  {
    const std::lock_guard lock(mutex_);
    if (datos && datos_recibidos_)
      datos = AplicarDatosRecibidos(std::move(*datos), *datos_recibidos_);
  }
  SoapWriter w("AutenticarClienteResponse", kNsAutenticacion);
  w.AddShort("IDCliente", v.IDCliente);
  w.AddShort("IDUsuario", v.IDUsuario);
  w.AddShort("IDPais", v.IDPais);
  w.AddString("NombreCliente", v.NombreCliente);
  w.AddString("NombreUsuario", v.NombreUsuario);
  w.AddShort("CodigoError", p.fallas.codigo_error.value_or(v.CodigoError));
  w.AddByte("ProximaAccion", p.fallas.proxima_accion.value_or(v.ProximaAccion));
  w.AddInt("Status", p.fallas.status.value_or(v.Status));
  w.AddBytes("ArregloDatosUsuario", datos ? CodificarDatosUsuario(*datos) : TipoArregloByte());
  w.AddBytes("ArregloProgramas", contenido_.ListaActualizaciones(sesion));
  return w.Finish();
}

std::string Servicio::GrabarDatosUsuarios(const Peticion& p) {
  DatosUsuarioRecibidos recibidos;
  try {
    recibidos = DecodificarDatosRecibidos(p.Leer<TipoArregloByte>("ArregloDeBytes"));
  } catch (const std::exception& e) {
    throw EInvalidRequest(std::string("The user record does not decode: ") + e.what());
  }
  const Sesion sesion = contenido_.LeerSesion();
  std::int16_t codigo = p.CodigoError();
  if (codigo == 0 && (recibidos.IDCliente != sesion.valores.IDCliente ||
                      recibidos.IDUsuario != sesion.valores.IDUsuario)) {
    codigo = kCodigoUsuarioDesconocido;
  }
  if (codigo == 0) {
    const std::lock_guard lock(mutex_);
    datos_recibidos_ = std::move(recibidos);
  }
  SoapWriter w("GrabarDatosUsuariosResponse", kNsAutenticacion);
  p.AgregarCodigos(w, codigo);
  w.AddBytes("ArregloDeBytes", {});
  return w.Finish();
}

}  // namespace xamu::servicio
