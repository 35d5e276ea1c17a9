#include "launcher/installation_checks.h"

#include <chrono>
#include <thread>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/processes.h"

namespace xamu {
namespace {

constexpr int kIntentos = 5;
constexpr int kEsperaMilisegundos = 400;

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != platform::kPathSeparator) {
    folder += platform::kPathSeparator;
  }
  return folder;
}

}  // namespace

void ListarSubcarpetas(const std::string& folder, TCarpetas& carpetas) {
  if (!platform::IsExistingFolder(folder)) return;
  const std::string base = WithSeparator(folder);
  for (const platform::FolderEntry& entry : platform::ListFolder(base, "*.*")) {
    if (entry.name.starts_with('.') || !entry.attributes.IsPlainDirectory()) continue;
    carpetas.push_back(base + entry.name);
    ListarSubcarpetas(base + entry.name, carpetas);
  }
}

bool PuedeCrearArchivo(const std::string& folder) {
  return platform::CreateAndDeleteProbeFile(WithSeparator(folder) + kArchivoPrueba);
}

bool VerificarPermisoEscritura(const std::string& folder, std::string* failed) {
  TCarpetas carpetas = {folder};
  ListarSubcarpetas(folder, carpetas);
  for (const std::string& carpeta : carpetas) {
    if (!PuedeCrearArchivo(carpeta)) {
      if (failed != nullptr) *failed = carpeta;
      return false;
    }
  }
  return true;
}

bool ProcesoEnEjecucion(std::string_view name, std::uint8_t n) {
  int count = 0;
  for (const std::string& process : platform::ProcessSnapshot()) {
    if (platform::EqualsIgnoringCase(platform::FileNamePart(process), name) && ++count >= n) {
      return true;
    }
  }
  return false;
}

bool OtraCopiaEnEjecucion(const ProcessCheck& en_ejecucion, const Sleeper& dormir) {
  if (en_ejecucion(kNombreLauncher, 2)) return true;
  for (int intento = 0; intento < kIntentos; ++intento) {
    if (!en_ejecucion(kNombreLauncher, 2) && !en_ejecucion(kNombreAplicacion, 1)) return false;
    if (dormir) {
      dormir(kEsperaMilisegundos);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(kEsperaMilisegundos));
    }
  }
  return true;
}

}  // namespace xamu
