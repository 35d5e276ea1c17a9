#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "commands.h"
#include "launcher/installation_checks.h"
#include "launcher/inventario.h"
#include "launcher/settings.h"
#include "platform/run_log.h"
#include "platform/system_proxy.h"
#include "platform/user_language.h"
#include "settings_sources.h"

namespace xamu::tool {

void Settings(const std::string& folder, bool show_secrets) {
  const std::string ruta = ApplicationFolder(folder);
  const LauncherSettings s =
      LeerConfiguracion(ruta, InterpretarProxySistema(platform::QuerySystemProxy()));
  const SettingsSources sources = FindSettingsSources(ruta);
  // Comment lines around the Name=value lines, which keep their form.
  std::printf("# %s: %s\n# %s: %s\n", sources.settings_file.c_str(),
              sources.settings_found ? "read" : "not found", sources.language_file.c_str(),
              sources.language_found ? "read" : "not found");
  const std::string password =
      show_secrets || s.PasswordProxy.empty() ? s.PasswordProxy : std::string("***");
  std::printf(
      "URLServ=%s\nUserProxy=%s\nPasswordProxy=%s\nProxy=%s\nPortProxy=%s\nProxySistema=%d\n"
      "BloqueDeDatosStatus=%d\nBloqueDeDatosValor=%d\nIdioma=%d\n",
      s.URLServ.c_str(), s.UserProxy.c_str(), password.c_str(), s.Proxy.c_str(),
      s.PortProxy.c_str(), s.ProxySistema ? 1 : 0, s.BloqueDeDatosStatus ? 1 : 0,
      s.BloqueDeDatosValor, LeerIdioma(ruta, platform::UserDefaultLangId()));
  std::printf("# defaults: %s\n", Listed(sources.defaults).c_str());
}

void Log(std::size_t lines) {
  const std::string path = platform::RunLogPath();
  std::printf("%s\n",
              path.empty() ? "(no log: neither XDG_STATE_HOME nor HOME is set)" : path.c_str());
  std::error_code error;
  if (lines == 0 || !std::filesystem::is_regular_file(path, error)) return;
  std::ifstream log(path, std::ios::binary);
  if (!log) return;
  // The last lines, read from the end back: the log may hold a megabyte.
  log.seekg(0, std::ios::end);
  const std::streamoff size = log.tellg();
  std::string tail;
  std::size_t breaks = 0;
  for (std::streamoff at = size; at > 0 && breaks <= lines;) {
    const std::streamoff step = std::min<std::streamoff>(at, 4096);
    at -= step;
    std::string block(static_cast<std::size_t>(step), '\0');
    log.seekg(at);
    if (!log.read(block.data(), step)) return;  // changed while read: nothing sure to print
    breaks += static_cast<std::size_t>(std::count(block.begin(), block.end(), '\n'));
    tail.insert(0, block);
  }
  std::size_t start = tail.size();
  for (std::size_t seen = 0; start > 0; --start) {
    if (tail[start - 1] == '\n' && start != tail.size() && ++seen == lines) break;
  }
  std::fputs(tail.c_str() + start, stdout);
}

void Inventory(const Arguments& args) {
  const ListadoInventario listado = ListarInventario(ApplicationFolder(args[0]));
  for (const ArchivoLocal& archivo : listado.programas) {
    std::printf("%s\t%08X\n", archivo.nombre.c_str(), archivo.fecha_dos);
  }
  for (const std::string& nombre : listado.datasets) std::printf("cds\t%s\n", nombre.c_str());
}

void Probe(const Arguments& args) {
  std::string failed;
  if (VerificarPermisoEscritura(args[0], &failed)) {
    std::printf("writable\n");
  } else {
    std::printf("not writable: %s\n", failed.c_str());
  }
}

}  // namespace xamu::tool
