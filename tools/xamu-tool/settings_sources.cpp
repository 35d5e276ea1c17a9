#include "settings_sources.h"

#include "launcher/settings.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"

namespace xamu::tool {

SettingsSources FindSettingsSources(const std::string& ruta) {
  SettingsSources s;
  s.settings_file = ruta + kArchivoConfiguracion;
  s.settings_found = platform::FileExists(s.settings_file);
  s.language_file = ruta + kArchivoIdioma;
  s.language_found = platform::FileExists(s.language_file);
  const platform::IniFile ini = platform::IniFile::Load(s.settings_file);
  const auto text = [&](const char* key, const char* origin = nullptr) {
    if (!ini.ReadString(kSeccionXamuWin, key)) {
      s.defaults.push_back(origin ? std::string(key) + " (" + origin + ")" : key);
    }
  };
  // A number that does not parse is read as the default, like a missing one.
  const auto number = [&](const char* key) {
    const auto value = ini.ReadString(kSeccionXamuWin, key);
    if (!value || !platform::ParseDecimalInteger(*value)) s.defaults.push_back(key);
  };
  text("URLServ");
  text("UserProxy");
  text("PasswordProxy");
  text("Proxy", "the system proxy's");
  text("PortProxy", "the system proxy's");
  number("BloqueDeDatosStatus");
  number("BloqueDeDatosValor");
  const platform::IniFile idioma = platform::IniFile::Load(s.language_file);
  if (!s.language_found) {
    s.defaults.push_back("Idioma (the user's language)");
  } else {
    const auto value = idioma.ReadString(kSeccionXamuWin, "Idioma");
    if (!value || !platform::ParseDecimalInteger(*value)) s.defaults.push_back("Idioma");
  }
  return s;
}

std::string Listed(const std::vector<std::string>& names) {
  if (names.empty()) return "none";
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

}  // namespace xamu::tool
