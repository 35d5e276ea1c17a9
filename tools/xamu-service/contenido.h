#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "encoding/memory_stream.h"
#include "service/wire_types.h"
#include "sesion.h"

// A content folder: sesion.ini, the reference tables in tablas/, the program files in
// programas/. Every call reads the files again, so a running service answers with what the
// folder holds at that moment.
namespace xamu::servicio {

inline constexpr const char* kCarpetaTablas = "tablas";
inline constexpr const char* kCarpetaProgramas = "programas";

class Contenido {
 public:
  explicit Contenido(std::filesystem::path carpeta) : carpeta_(std::move(carpeta)) {}

  const std::filesystem::path& Carpeta() const { return carpeta_; }

  Sesion LeerSesion() const;

  // The answer of a synchronization: the program files the session names for it (IDObjeto
  // 1), then every table ordered by IDObjeto; Datos as sent, Longitud its size.
  SincronizacionArchivoInformacion Entradas(const Sesion& sesion) const;

  // The program file of that name, found without regard to letter case.
  std::optional<std::filesystem::path> BuscarPrograma(std::string_view nombre) const;

  // A program file as a download delivers it: compressed, except a RES file.
  TipoArregloByte ProgramaParaDescarga(const std::filesystem::path& archivo) const;

  // ArregloProgramas: the compressed update list, empty when the session names no file.
  TipoArregloByte ListaActualizaciones(const Sesion& sesion) const;

  // Reads everything once, so that a broken folder is found at start. EContentError.
  void Verificar() const;

 private:
  std::filesystem::path Programa(std::string_view nombre) const;

  std::filesystem::path carpeta_;
};

}  // namespace xamu::servicio
