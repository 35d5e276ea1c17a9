#include "launcher/settings.h"

#include <algorithm>
#include <cctype>

#include "encoding/text_encoding.h"
#include "launcher/proxy_password.h"
#include "platform/ascii_text.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "ui/codigos.h"

namespace xamu {
ProxySistemaInfo InterpretarProxySistema(const std::optional<platform::WinInetProxyInfo>& answer) {
  ProxySistemaInfo info;
  if (!answer || answer->access_type != platform::kInternetOpenTypeProxy) return info;
  info.ProxySistema = true;
  const std::string s = platform::UpperAscii(answer->proxy_list);
  const std::size_t a = s.find("HTTP=");
  if (a == std::string::npos) return info;
  const std::size_t b = s.find(':', a);
  if (b == std::string::npos) return info;
  const std::size_t c = s.find(' ', b);
  info.Proxy = s.substr(a + 5, b - (a + 5));
  info.PortProxy = c == std::string::npos ? s.substr(b + 1) : s.substr(b + 1, c - (b + 1));
  return info;
}

void RestaurarConfiguracion(const std::string& ruta_aplicacion, platform::FileSystem& archivos) {
  const std::string target = ruta_aplicacion + kArchivoConfiguracion;
  const std::string source = ruta_aplicacion + kCarpetaComp + "/" + kArchivoConfiguracion;
  if (archivos.FileExists(target) || !archivos.FileExists(source)) return;
  // Neither outcome is checked: a failure only leaves every setting at its default.
  (void)archivos.SetNormalAttributes(source);
  (void)archivos.CopyFile(source, target);
}

LauncherSettings LeerConfiguracion(const std::string& ruta_aplicacion,
                                   const ProxySistemaInfo& proxy_sistema) {
  const platform::IniFile ini = platform::IniFile::Load(ruta_aplicacion + kArchivoConfiguracion);
  const char* s = kSeccionXamuWin;
  LauncherSettings settings;
  settings.ProxySistema = proxy_sistema.ProxySistema;
  settings.URLServ = ini.ReadString(s, "URLServ", kURLServPredeterminado);
  settings.UserProxy = ini.ReadString(s, "UserProxy", "");
  settings.Proxy = ini.ReadString(s, "Proxy", proxy_sistema.Proxy);
  settings.PortProxy = ini.ReadString(s, "PortProxy", proxy_sistema.PortProxy);
  settings.BloqueDeDatosStatus = ini.ReadBool(s, "BloqueDeDatosStatus", false);
  settings.BloqueDeDatosValor = static_cast<std::int16_t>(
      ini.ReadInteger(s, "BloqueDeDatosValor", kBloqueDeDatosValorPredeterminado));
  settings.PasswordProxy = Utf16ToUtf8(DecodePasswordProxy(ini.ReadString(s, "PasswordProxy", "")));
  return settings;
}

std::uint8_t LeerIdioma(const std::string& ruta_aplicacion, std::uint16_t user_lang_id) {
  const std::string path = ruta_aplicacion + kArchivoIdioma;
  if (platform::FileExists(path)) {
    return static_cast<std::uint8_t>(
        platform::IniFile::Load(path).ReadInteger(kSeccionXamuWin, "Idioma", kIdiomaIngles));
  }
  return (user_lang_id & 0xFF) == kLenguajePrimarioEspanol ? kIdiomaEspanol : kIdiomaIngles;
}

std::optional<ArchivoControl> LeerArchivoControl(const std::string& path) {
  if (!platform::FileExists(path)) return std::nullopt;
  const platform::IniFile ini = platform::IniFile::Load(path);
  ArchivoControl control;
  control.RutaAplicacion = ini.ReadString(kSeccionControl, "RutaAplicacion", "");
  control.IDClienteInterno =
      static_cast<std::int16_t>(ini.ReadInteger(kSeccionControl, "IDClienteInterno", -1));
  control.IDUsuarioInterno =
      static_cast<std::int16_t>(ini.ReadInteger(kSeccionControl, "IDUsuarioInterno", -1));
  return control;
}

void GrabarTipoComunicacion(const std::string& ruta_aplicacion, int valor,
                            platform::FileSystem& archivos) {
  platform::WriteIniString(ruta_aplicacion + kArchivoConfiguracion, kSeccionXamuWin,
                           "TipoComunicacion", std::to_string(valor), archivos);
}

ServiceSettings ConfiguracionServicio(const LauncherSettings& s) {
  return {s.URLServ, s.ProxySistema, s.UserProxy, s.PasswordProxy, s.Proxy, s.PortProxy};
}

}  // namespace xamu
