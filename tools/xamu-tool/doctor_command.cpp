#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"
#include "launcher/descarga_directa.h"
#include "launcher/installation_checks.h"
#include "launcher/inventario.h"
#include "launcher/programas.h"
#include "launcher/settings.h"
#include "platform/drive_type.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/host_lookup.h"
#include "platform/system_proxy.h"
#include "settings_sources.h"
#include "sync/carpetas.h"
#include "tables/data_packet.h"

namespace xamu::tool {
namespace {

enum class Result { kOk, kWarning, kFailed };

class Checks {
 public:
  void Report(Result result, const char* check, const std::string& reason) {
    static constexpr const char* kWords[] = {"ok", "warning", "failed"};
    std::printf("%-8s %s: %s\n", kWords[static_cast<int>(result)], check, reason.c_str());
    std::fflush(stdout);
    failed_ = failed_ || result == Result::kFailed;
  }
  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
};

const char* DriveTypeName(platform::DriveType type) {
  switch (type) {
    case platform::DriveType::kFixed:
      return "a local disk";
    case platform::DriveType::kRemovable:
      return "a removable disk";
    case platform::DriveType::kRemote:
      return "a network drive";
    case platform::DriveType::kCdRom:
      return "a CD-ROM";
    case platform::DriveType::kRamDisk:
      return "a RAM disk";
    default:
      return "a drive of unknown kind";
  }
}

// The files the install would take from Work1.
std::vector<std::string> StagedFiles(const std::string& work1) {
  std::vector<std::string> names;
  for (const platform::FolderEntry& entry : platform::ListFolder(work1, "*.*")) {
    if (!entry.attributes.directory) names.push_back(entry.name);
  }
  return names;
}

// The host of an address: without its scheme, user, port and path.
std::string HostOf(std::string url) {
  if (const std::size_t scheme = url.find("://"); scheme != std::string::npos) {
    url.erase(0, scheme + 3);
  }
  url = url.substr(0, url.find_first_of("/?#"));
  if (const std::size_t at = url.rfind('@'); at != std::string::npos) url.erase(0, at + 1);
  return url.substr(0, url.find(':'));
}

// The web server answers a name that cannot exist with a status of its own; only a
// connection that fails is a failure.
void CheckWebServer(Checks& checks, const LauncherSettings& settings) {
  const std::string url = DireccionPrograma(settings.URLServ, "xamu-doctor-no-such-file.txt");
  MemoryStream body;
  try {
    DescargarDirecto(url, settings, body, {});
    checks.Report(Result::kWarning, "web server", "GET " + url + " found a file");
  } catch (const EDescargaDirecta& e) {
    const std::string text = e.what();
    if (text.starts_with("HTTP/1.1 ")) {
      checks.Report(Result::kOk, "web server", "GET " + url + " answered " + text.substr(9));
    } else {
      checks.Report(Result::kFailed, "web server", "GET " + url + ": " + text);
    }
  }
}

}  // namespace

void Doctor(const std::string& folder) {
  Checks checks;
  const std::string ruta = ApplicationFolder(folder);
  std::error_code error;
  const bool is_folder = std::filesystem::is_directory(folder, error);
  checks.Report(is_folder ? Result::kOk : Result::kFailed, "folder",
                is_folder ? folder
                          : folder + (std::filesystem::exists(folder, error) ? " is not a folder"
                                                                             : " does not exist"));

  std::string refused;
  if (is_folder && VerificarPermisoEscritura(folder, &refused)) {
    checks.Report(Result::kOk, "write probe", "every folder is writable");
  } else {
    checks.Report(Result::kFailed, "write probe",
                  "cannot create a file in " + (refused.empty() ? folder : refused));
  }

  const platform::DriveType drive = platform::GetDriveType(folder);
  checks.Report(drive == platform::DriveType::kFixed ? Result::kOk : Result::kFailed, "drive",
                std::string("on ") + DriveTypeName(drive));

  const ProxySistemaInfo proxy = InterpretarProxySistema(platform::QuerySystemProxy());
  checks.Report(Result::kOk, "system proxy",
                proxy.ProxySistema ? "named: " + proxy.Proxy + ":" + proxy.PortProxy : "none");

  std::optional<LauncherSettings> settings;
  const SettingsSources sources = FindSettingsSources(ruta);
  try {
    settings = LeerConfiguracion(ruta, proxy);
    checks.Report(sources.settings_found ? Result::kOk : Result::kWarning, "settings",
                  std::string(sources.settings_found ? "read " : "no ") + sources.settings_file +
                      "; defaults: " + Listed(sources.defaults));
  } catch (const Error& e) {
    checks.Report(Result::kFailed, "settings",
                  sources.settings_file + ": " + e.Kind() + ": " + e.what());
  }

  if (!is_folder) {
    checks.Report(Result::kWarning, "service host", "not checked without an installation");
  } else if (settings) {
    const std::string host = HostOf(settings->URLServ);
    if (platform::HostResolves(host)) {
      checks.Report(Result::kOk, "service host", host + " resolves");
      CheckWebServer(checks, *settings);
    } else {
      checks.Report(Result::kFailed, "service host",
                    host + " of " + settings->URLServ + " does not resolve");
    }
  }

  const bool launcher = ProcesoEnEjecucion(kNombreLauncher, 1);
  const bool application = ProcesoEnEjecucion(kNombreAplicacion, 1);
  checks.Report(launcher || application ? Result::kWarning : Result::kOk, "other copies",
                launcher      ? "a launcher is running"
                : application ? "the main application is running"
                              : "none running");

  const std::vector<std::string> staged = StagedFiles(ruta + kCarpetaWork1);
  checks.Report(staged.empty() ? Result::kOk : Result::kWarning, kCarpetaWork1,
                staged.empty() ? "empty" : "files left from an update: " + Listed(staged));

  std::vector<std::string> broken;
  // The dataset files the launcher lists, and sends the service as its own.
  const std::vector<std::string> datasets = ListarInventario(ruta).datasets;
  for (const std::string& name : datasets) {
    const std::string path = ruta + kCarpetaArchivosCDS + "/" + name;
    const std::optional<TipoArregloByte> bytes = platform::ReadFileBytes(path);
    try {
      if (!bytes) throw EInOutError("cannot read");
      (void)ReadDataPacket(*bytes);
    } catch (const Error& e) {
      broken.push_back(name + " (" + e.what() + ")");
    }
  }
  checks.Report(broken.empty() ? Result::kOk : Result::kFailed, kCarpetaArchivosCDS,
                broken.empty() ? std::to_string(datasets.size()) + " dataset files load"
                               : "do not load: " + Listed(broken));

  const bool present = platform::FileExists(ruta + kNombreAplicacion);
  checks.Report(present ? Result::kOk : Result::kFailed, "main application",
                ruta + kNombreAplicacion + (present ? " is present" : " is missing"));
  if (checks.Failed()) throw ExitCode{1};
}

}  // namespace xamu::tool
