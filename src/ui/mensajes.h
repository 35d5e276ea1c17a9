#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The message catalogue: the texts of the numbered notices and a few shared captions, in
// Spanish (Idioma 1) or English (any other value). Texts are UTF-8; a line break inside
// one is a single line feed.
namespace xamu {

struct TMensajes {
  std::string Aviso;
  std::string SinConexion;
  std::string Correo;
  std::string Cerrar;
  std::string Sincronizando;
  std::string NoHallaPrograma;
  std::string NoSincronizo;
  std::string InformacionRequerida;
  std::string ServidorEnMantenimiento;
  std::string NoPuedeGrabar;
  std::string NoCopiaLauncher;
  std::string NoBorraLauncher;
  std::string ProgramaEjecutandose;
  std::string FallaConexion;
  std::string NoCopiaIni;
};

// Fills the catalogue for the language; entries stay mutable so that a caller may extend
// one before raising its notice.
void CargarMensajes(TMensajes& mensajes, std::uint8_t idioma);

// The entry a notice code describes itself with (24, 27, 28, 67, 84, 156, 157), or null.
const std::string* EntradaDeCodigo(const TMensajes& mensajes, std::uint16_t codigo);
std::string* EntradaDeCodigo(TMensajes& mensajes, std::uint16_t codigo);

// What the notice window shows below its title: the code-and-status line when asked for,
// else the code's entry, else nothing.
std::string DescripcionAviso(const TMensajes& mensajes, std::uint16_t codigo, std::int32_t status,
                             bool mostrar_codigo);

// Technical support's address, the one place it is kept.
inline constexpr const char* kCorreoSoporte = "soporte@xamuweb.com";

// The mailto link of the notice's e-mail button. Line feeds of the description become
// ".  "; the body adds the client's name and both identifiers. Subject and body are
// percent-encoded, so that a name holding "&", "#", "?" or "%" cannot break the link.
std::string EnlaceCorreoSoporte(std::string_view descripcion, std::string_view nombre_cliente,
                                std::int16_t id_cliente, std::int16_t id_usuario);

}  // namespace xamu
