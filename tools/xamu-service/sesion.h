#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "encoding/memory_stream.h"
#include "service/clientes.h"
#include "service/wire_types.h"

// The session the authentication service opens, as the content folder's sesion.ini
// describes it, and the two value streams that travel with it.
namespace xamu::servicio {

inline constexpr const char* kArchivoSesion = "sesion.ini";

// The user record: what the launcher's user data form shows.
struct DatosUsuario {
  std::string Empresa;
  std::string Nombre;
  std::string Direccion;
  std::string CodigoPais;
  std::string CodigoArea;
  std::string Telefono1;
  std::string Telefono2;
  std::string Fax;
  std::string Email;
  // Without it the record is sent short, which the launcher refuses to load.
  std::optional<double> FechaRegistro;
};

struct Sesion {
  // The identity and codes; its two arrays stay empty here.
  SesionAutenticada valores;
  std::optional<DatosUsuario> datos_usuario;
  std::vector<std::string> actualizados;    // program files named by the update list
  std::vector<std::string> sincronizacion;  // program files sent as IDObjeto 1 entries
  TipoArregloSmallInt formatos;             // ArregloFormatos of a synchronization
};

// Raises EContentError for a missing file or a value that does not convert.
Sesion LeerSesion(const std::filesystem::path& archivo);

// The compressed user record (ArregloDatosUsuario).
TipoArregloByte CodificarDatosUsuario(const DatosUsuario& datos);

// The user record update GrabarDatosUsuarios receives.
struct DatosUsuarioRecibidos {
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  std::string Nombre;
  std::string Direccion;
  std::string CodigoPais;
  std::string CodigoArea;
  std::string Telefono1;
  std::string Telefono2;
  std::string Fax;
  std::string Email;
};

// Raises EReadError (or a decompression error) when the array does not hold a record.
DatosUsuarioRecibidos DecodificarDatosRecibidos(TipoArregloByte arreglo);

// The record with the received values in place of the editable ones.
DatosUsuario AplicarDatosRecibidos(DatosUsuario datos, const DatosUsuarioRecibidos& recibidos);

}  // namespace xamu::servicio
