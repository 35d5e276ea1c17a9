#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "contenido.h"
#include "paquetes_preparados.h"
#include "sesion.h"

// The vendor's two SOAP services and its program download, answered from a content folder.
// Any thread may call; each request reads the content and the fault switches again.
namespace xamu::servicio {

enum class Interfaz { kSincronizacion, kAutenticacion };

// What the HTTP side sends back.
struct Respuesta {
  int status = 200;
  std::string content_type = "text/xml; charset=utf-8";
  std::string cuerpo;
  bool cortar = false;          // close the connection without answering
  std::string operacion = "-";  // for the request log
};

class Servicio {
 public:
  explicit Servicio(Contenido contenido) : contenido_(std::move(contenido)) {}

  // A SOAP request posted to one of the interface's endpoints.
  Respuesta AtenderSoap(Interfaz interfaz, const std::string& cuerpo);
  // GET /Programas/<nombre>.
  Respuesta AtenderDescarga(const std::string& nombre);

 private:
  class Peticion;

  std::string Sincronizar(const Peticion& p);
  std::string SincronizarGenerarPaquetes(const Peticion& p);
  std::string SincronizarTraerPaquetes(const Peticion& p);
  std::string SincronizarConfirmar(const Peticion& p);
  std::string SincronizarProgramas(const Peticion& p);
  std::string SincronizarProgramasGenerarPaquetes(const Peticion& p);
  std::string AutenticarCliente(const Peticion& p);
  std::string GrabarDatosUsuarios(const Peticion& p);

  std::filesystem::path ProgramaPedido(const std::string& nombre) const;

  Contenido contenido_;
  PaquetesPreparados preparados_;
  std::mutex mutex_;
  // What GrabarDatosUsuarios last stored; from then on it replaces the editable fields of
  // the content's user record.
  std::optional<DatosUsuarioRecibidos> datos_recibidos_;
};

}  // namespace xamu::servicio
