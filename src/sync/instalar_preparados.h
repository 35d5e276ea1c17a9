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

// Puts the staged settings file Work1/XAMUwebIP.ini over RutaAplicacion's with a verified
// copy, then clears the staged copy's read-only attribute (it stays staged); false when
// the copy fails.
bool InstalarConfiguracionPreparada(const std::string& RutaAplicacion,
                                    platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
