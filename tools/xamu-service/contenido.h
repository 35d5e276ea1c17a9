#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "encoding/memory_stream.h"
#include "prepared_forms.h"
#include "service/wire_types.h"
#include "sesion.h"

// A content folder: sesion.ini, the reference tables in tablas/, the program files in
// programas/. Every call looks at the folder again, so a running service answers with what
// the folder holds at that moment; the encoded and compressed form of a file is made again
// only when the file has changed.
namespace xamu::servicio {

inline constexpr const char* kCarpetaTablas = "tablas";
inline constexpr const char* kCarpetaProgramas = "programas";

class Contenido {
 public:
  explicit Contenido(std::filesystem::path carpeta)
      : carpeta_(std::move(carpeta)), forms_(std::make_shared<PreparedForms>()) {}

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

  // Reads and prepares everything once, so that a broken folder is found at start and the
  // first request finds the forms made. EContentError.
  void Verificar() const;

 private:
  std::filesystem::path Programa(std::string_view nombre) const;
  PreparedForms::Form ProgramaComprimido(const std::filesystem::path& archivo) const;
  PreparedForms::Form Tabla(const std::filesystem::path& archivo) const;

  std::filesystem::path carpeta_;
  // Shared by copies, so that the service keeps what Verificar prepared.
  std::shared_ptr<PreparedForms> forms_;
};

}  // namespace xamu::servicio
