#include "contenido.h"

#include <algorithm>

#include "contenido_error.h"
#include "encoding/compresion.h"
#include "encoding/text_encoding.h"
#include "encoding/writer.h"
#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/paths.h"
#include "tabla_fuente.h"

namespace xamu::servicio {
namespace {

constexpr std::int16_t kIDObjetoPrograma = 1;

TipoArregloByte LeerBytes(const std::filesystem::path& archivo) {
  auto bytes = platform::ReadFileBytes(archivo.string());
  if (!bytes) throw EContentError(archivo.string() + ": cannot be read");
  return std::move(*bytes);
}

double FechaDe(const std::filesystem::path& archivo) {
  const auto fecha = platform::LastWriteTime(archivo.string());
  if (!fecha) throw EContentError(archivo.string() + ": its date cannot be read");
  return *fecha;
}

TipoArregloByte Comprimir(TipoArregloByte bytes) {
  return ComprimirArreglo(MemoryStream(std::move(bytes)));
}

Archivo1Sincronizacion EntradaPrograma(const std::filesystem::path& archivo,
                                       TipoArregloByte datos) {
  Archivo1Sincronizacion e;
  e.IDObjeto = kIDObjetoPrograma;
  e.Nombre = archivo.filename().string();
  e.Fecha = FechaDe(archivo);
  e.Datos = std::move(datos);
  return e;
}

// The download places a file by the text after its first dot...
bool EsResParaDescarga(std::string_view nombre) {
  const std::size_t dot = nombre.find('.');
  return dot != std::string_view::npos &&
         platform::EqualsIgnoringCase(nombre.substr(dot + 1), "RES");
}

// ...while the synchronization driver looks from the last dot on.
bool EsResParaSincronizacion(std::string_view nombre) {
  const std::size_t dot = nombre.rfind('.');
  return dot != std::string_view::npos && platform::EqualsIgnoringCase(nombre.substr(dot), ".RES");
}

}  // namespace

Sesion Contenido::LeerSesion() const {
  return servicio::LeerSesion(carpeta_ / kArchivoSesion);
}

std::optional<std::filesystem::path> Contenido::BuscarPrograma(std::string_view nombre) const {
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(carpeta_ / kCarpetaProgramas, error)) {
    // Only the folder's own files: a link could name any file on the machine.
    if (entry.is_regular_file() && !entry.is_symlink() &&
        platform::EqualsIgnoringCase(entry.path().filename().string(), nombre)) {
      return entry.path();
    }
  }
  return std::nullopt;
}

std::filesystem::path Contenido::Programa(std::string_view nombre) const {
  auto archivo = BuscarPrograma(nombre);
  if (!archivo) {
    throw EContentError((carpeta_ / kArchivoSesion).string() + " names " + std::string(nombre) +
                        ", which is not in " + kCarpetaProgramas + "/");
  }
  return *archivo;
}

PreparedForms::Form Contenido::ProgramaComprimido(const std::filesystem::path& archivo) const {
  return forms_->Get(archivo,
                     [&] { return EntradaPrograma(archivo, Comprimir(LeerBytes(archivo))); });
}

PreparedForms::Form Contenido::Tabla(const std::filesystem::path& archivo) const {
  return forms_->Get(archivo, [&] {
    TablaFuente fuente = LeerTablaFuente(archivo);
    if (fuente.IDObjeto == kIDObjetoPrograma) {
      throw EContentError(archivo.string() + ": IDObjeto 1 marks program files, not tables");
    }
    Archivo1Sincronizacion e;
    e.IDObjeto = fuente.IDObjeto;
    e.Nombre = std::move(fuente.Nombre);
    e.Fecha = FechaDe(archivo);
    e.Datos = Comprimir(std::move(fuente.datos));
    return e;
  });
}

TipoArregloByte Contenido::ProgramaParaDescarga(const std::filesystem::path& archivo) const {
  if (EsResParaDescarga(archivo.filename().string())) return LeerBytes(archivo);
  return ProgramaComprimido(archivo)->Datos;
}

SincronizacionArchivoInformacion Contenido::Entradas(const Sesion& sesion) const {
  SincronizacionArchivoInformacion entradas;
  for (const std::string& nombre : sesion.sincronizacion) {
    const std::filesystem::path archivo = Programa(nombre);
    entradas.push_back(EsResParaSincronizacion(archivo.filename().string())
                           ? EntradaPrograma(archivo, LeerBytes(archivo))
                           : *ProgramaComprimido(archivo));
  }

  std::vector<std::filesystem::path> archivos;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(carpeta_ / kCarpetaTablas, error)) {
    if (entry.is_regular_file() && !entry.is_symlink() &&
        entry.path().extension() == kExtensionTabla) {
      archivos.push_back(entry.path());
    }
  }
  if (error) throw EContentError((carpeta_ / kCarpetaTablas).string() + ": " + error.message());

  std::vector<PreparedForms::Form> tablas;
  for (const std::filesystem::path& archivo : archivos) tablas.push_back(Tabla(archivo));
  std::sort(tablas.begin(), tablas.end(), [](const auto& a, const auto& b) {
    return a->IDObjeto != b->IDObjeto ? a->IDObjeto < b->IDObjeto : a->Nombre < b->Nombre;
  });
  for (const PreparedForms::Form& tabla : tablas) entradas.push_back(*tabla);
  for (Archivo1Sincronizacion& e : entradas) e.Longitud = static_cast<std::int32_t>(e.Datos.size());
  return entradas;
}

TipoArregloByte Contenido::ListaActualizaciones(const Sesion& sesion) const {
  if (sesion.actualizados.empty()) return {};
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    for (const std::string& nombre : sesion.actualizados) {
      const std::filesystem::path archivo = Programa(nombre);
      writer.WriteString(Utf8ToUtf16(archivo.filename().string()));
      writer.WriteFloat(FechaDe(archivo));
    }
    writer.WriteListEnd();
  }
  return ComprimirArreglo(std::move(stream));
}

void Contenido::Verificar() const {
  const Sesion sesion = LeerSesion();
  ListaActualizaciones(sesion);
  Entradas(sesion);
}

}  // namespace xamu::servicio
