#include <cstdio>

#include "commands.h"
#include "launcher/installation_checks.h"
#include "launcher/inventario.h"
#include "launcher/settings.h"
#include "platform/system_proxy.h"
#include "platform/user_language.h"

namespace xamu::tool {

void Settings(const Arguments& args) {
  RequireArgumentCount(args, 1, "settings FOLDER");
  const std::string ruta = ApplicationFolder(args[0]);
  const LauncherSettings s =
      LeerConfiguracion(ruta, InterpretarProxySistema(platform::QuerySystemProxy()));
  std::printf(
      "URLServ=%s\nUserProxy=%s\nPasswordProxy=%s\nProxy=%s\nPortProxy=%s\nProxySistema=%d\n"
      "BloqueDeDatosStatus=%d\nBloqueDeDatosValor=%d\nIdioma=%d\n",
      s.URLServ.c_str(), s.UserProxy.c_str(), s.PasswordProxy.c_str(), s.Proxy.c_str(),
      s.PortProxy.c_str(), s.ProxySistema ? 1 : 0, s.BloqueDeDatosStatus ? 1 : 0,
      s.BloqueDeDatosValor, LeerIdioma(ruta, platform::UserDefaultLangId()));
}

void Inventory(const Arguments& args) {
  RequireArgumentCount(args, 1, "inventory FOLDER");
  const ListadoInventario listado = ListarInventario(ApplicationFolder(args[0]));
  for (const ArchivoLocal& archivo : listado.programas) {
    std::printf("%s\t%08X\n", archivo.nombre.c_str(), archivo.fecha_dos);
  }
  for (const std::string& nombre : listado.datasets) std::printf("cds\t%s\n", nombre.c_str());
}

void Probe(const Arguments& args) {
  RequireArgumentCount(args, 1, "probe FOLDER");
  std::string failed;
  if (VerificarPermisoEscritura(args[0], &failed)) {
    std::printf("writable\n");
  } else {
    std::printf("not writable: %s\n", failed.c_str());
  }
}

}  // namespace xamu::tool
