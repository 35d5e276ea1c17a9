#include "sync/instalar_preparados.h"

#include "platform/run_log.h"

#include "platform/ascii_text.h"
#include "platform/paths.h"
#include "sync/carpetas.h"
#include "sync/copia_verificada.h"

namespace xamu {
namespace {

bool EsPrograma(const std::string& nombre) {
  const std::size_t dot = nombre.rfind('.');
  return dot != std::string::npos &&
         platform::EqualsIgnoringCase(std::string_view(nombre).substr(dot), ".EXE");
}

}  // namespace

std::optional<std::string> InstalarPreparados(const std::string& RutaAplicacion,
                                              const TextosInstalacion& textos,
                                              platform::FileSystem& archivos) {
  const std::string work1 = RutaAplicacion + kCarpetaWork1 + platform::kPathSeparator;
  const std::string comp = RutaAplicacion + kCarpetaComp + platform::kPathSeparator;
  bool lanzador_visto = false;
  bool configuracion_vista = false;
  for (const platform::FolderEntry& entry : archivos.ListFolder(work1, "*.*")) {
    const platform::FileAttributes& a = entry.attributes;
    // A name that would leave its target folder is not installed.
    if (a.directory || a.hidden || a.system || !platform::IsPlainFileName(entry.name)) continue;
    const std::string& nombre = entry.name;
    if (platform::EqualsIgnoringCase(nombre, kArchivoLanzador)) {
      lanzador_visto = true;
      continue;
    }
    const std::string destino = (EsPrograma(nombre) ? RutaAplicacion : comp) + nombre;
    // The outcomes of the attribute changes and the deletion are not checked: the copy, the
    // verified date and the file's presence afterwards are.
    if (archivos.FileExists(destino)) (void)archivos.SetNormalAttributes(destino);
    if (!CopiarArchivoVerificado(work1 + nombre, destino, archivos)) {
      platform::LogLine("cannot install " + nombre + " as " + destino);
      return textos.NoCopiaLauncher + ": " + nombre;
    }
    platform::LogLine("installed " + nombre + " as " + destino);
    if (EsPrograma(nombre)) (void)archivos.SetReadOnlyAttribute(destino);
    if (platform::EqualsIgnoringCase(nombre, kArchivoConfiguracion)) {
      configuracion_vista = true;
      continue;
    }
    (void)archivos.DeleteFile(work1 + nombre);
    if (archivos.FileExists(work1 + nombre)) return textos.NoBorraLauncher + ": " + nombre;
  }
  if (configuracion_vista && !lanzador_visto &&
      !InstalarConfiguracionPreparada(RutaAplicacion, archivos)) {
    return textos.NoCopiaLauncher + ": " + kArchivoConfiguracion;
  }
  return std::nullopt;
}

bool InstalarConfiguracionPreparada(const std::string& RutaAplicacion,
                                    platform::FileSystem& archivos) {
  const std::string preparada =
      RutaAplicacion + kCarpetaWork1 + platform::kPathSeparator + kArchivoConfiguracion;
  if (!CopiarArchivoVerificado(preparada, RutaAplicacion + kArchivoConfiguracion, archivos)) {
    platform::LogLine(std::string("cannot install the staged ") + kArchivoConfiguracion);
    return false;
  }
  platform::LogLine(std::string("installed the staged ") + kArchivoConfiguracion);
  (void)archivos.SetNormalAttributes(preparada);
  return true;
}

}  // namespace xamu
