#pragma once

#include <optional>
#include <string>

#include "platform/file_system_interface.h"

namespace xamu {

// The catalogue's two texts of a failed install, in the user's language.
struct TextosInstalacion {
  std::string NoCopiaLauncher;
  std::string NoBorraLauncher;
};

// Installs the files staged in Work1: programs (".EXE") into RutaAplicacion, read-only;
// everything else into Comp; LauncherXamuWEB.exe stays staged, and XAMUwebIP.ini stays too
// and is also copied into RutaAplicacion when the launcher was not staged. Returns the text
// of the first failure (a copy not made or not verified, a staged file not deleted), after
// which nothing more is installed; nothing when all went well.
std::optional<std::string> InstalarPreparados(
    const std::string& RutaAplicacion, const TextosInstalacion& textos,
    platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
