#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system_interface.h"
#include "platform/system_proxy.h"
#include "service/clientes.h"
#include "sync/carpetas.h"

// The launcher's settings: three INI files and the system proxy.
namespace xamu {

inline constexpr const char* kArchivoIdioma = "XamuWin.ini";
inline constexpr const char* kSeccionXamuWin = "XAMUWIN";
inline constexpr const char* kSeccionControl = "CONTROL";
// The vendor's synchronization service, when the settings name none.
inline constexpr const char* kURLServPredeterminado = "http://servicios.xamuweb.com";
inline constexpr std::int16_t kBloqueDeDatosValorPredeterminado = 250;

// What the system's proxy settings contribute: the flag, and the defaults of the keys
// Proxy and PortProxy.
struct ProxySistemaInfo {
  bool ProxySistema = false;
  std::string Proxy;
  std::string PortProxy;
};

// Reads the WinInet answer: a named proxy sets ProxySistema; the host and port come from
// the "HTTP=" entry of the upper-cased list, when it has one with a ":".
ProxySistemaInfo InterpretarProxySistema(const std::optional<platform::WinInetProxyInfo>& answer);

struct LauncherSettings {
  std::string URLServ = kURLServPredeterminado;
  std::string UserProxy;
  std::string PasswordProxy;  // decoded, UTF-8
  std::string Proxy;
  std::string PortProxy;
  bool BloqueDeDatosStatus = false;
  std::int16_t BloqueDeDatosValor = kBloqueDeDatosValorPredeterminado;
  bool ProxySistema = false;
};

// What the service clients take of the settings.
ServiceSettings ConfiguracionServicio(const LauncherSettings& settings);

// When RutaAplicacion has no settings file but Comp has one, copies it over (the
// outcome is not checked: a failed copy just leaves every default).
void RestaurarConfiguracion(const std::string& ruta_aplicacion,
                            platform::FileSystem& archivos = platform::RealFileSystem());

// Reads XAMUwebIP.ini of the application folder (a missing file gives every default).
// A malformed PasswordProxy raises its error (EConvertError, EReadError, ESevenZipError)
// for the start-up guard.
LauncherSettings LeerConfiguracion(const std::string& ruta_aplicacion,
                                   const ProxySistemaInfo& proxy_sistema);

// Idioma: 1 Spanish, any other value English. From XamuWin.ini when it exists (low 8
// bits, default 2), else from the user's language id (low byte 0x0A gives 1, else 2).
std::uint8_t LeerIdioma(const std::string& ruta_aplicacion, std::uint16_t user_lang_id);

// The control file, when it exists.
struct ArchivoControl {
  std::string RutaAplicacion;  // used unchanged
  std::int16_t IDClienteInterno = -1;
  std::int16_t IDUsuarioInterno = -1;
};
std::optional<ArchivoControl> LeerArchivoControl(const std::string& path);

// Writes [XAMUWIN] TipoComunicacion into XAMUwebIP.ini, every other byte of the file kept.
// Raises EInOutError when the file cannot be replaced.
void GrabarTipoComunicacion(const std::string& ruta_aplicacion, int valor,
                            platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
