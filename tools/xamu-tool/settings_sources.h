#pragma once

#include <string>
#include <vector>

// Where each of the launcher's settings comes from: a file it read, or a default.
namespace xamu::tool {

struct SettingsSources {
  std::string settings_file;  // XAMUwebIP.ini in the folder
  bool settings_found = false;
  std::string language_file;  // XamuWin.ini in the folder
  bool language_found = false;
  // The settings given no usable value by their file, each with the default's origin
  // when it is not a constant ("Proxy (the system proxy's)").
  std::vector<std::string> defaults;
};

// `ruta` ends with the path separator.
SettingsSources FindSettingsSources(const std::string& ruta);

// "A, B, C", or "none".
std::string Listed(const std::vector<std::string>& names);

}  // namespace xamu::tool
