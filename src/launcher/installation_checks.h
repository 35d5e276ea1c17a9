#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Looks at the installation and the machine before the session is used.
namespace xamu {

inline constexpr const char* kNombreLauncher = "LauncherXamuWEB.exe";
inline constexpr const char* kNombreAplicacion = "XamuWEB.exe";
inline constexpr const char* kArchivoPrueba = "ChecK.TMP";

using TCarpetas = std::vector<std::string>;

// Appends the subfolders of `folder`, depth first, each followed by its own subfolders,
// in directory order. A subfolder with any attribute besides the directory one (read-only,
// hidden, a link) or a name beginning with "." is skipped with everything below it.
void ListarSubcarpetas(const std::string& folder, TCarpetas& carpetas);

// Creates and deletes the probe file ChecK.TMP in `folder`; fails when one is left there.
bool PuedeCrearArchivo(const std::string& folder);

// Whether a test file can be created in `folder` and in every subfolder the listing
// keeps. On failure, `failed` (when given) receives the first folder that refused.
bool VerificarPermisoEscritura(const std::string& folder, std::string* failed = nullptr);

// True when at least `n` running processes have the executable name `name` (letter case
// ignored).
bool ProcesoEnEjecucion(std::string_view name, std::uint8_t n);

using ProcessCheck = std::function<bool(std::string_view name, std::uint8_t n)>;
using Sleeper = std::function<void(int milliseconds)>;

// Whether another launcher runs (answered at once), or the main application still runs
// after 5 looks 400 ms apart.
bool OtraCopiaEnEjecucion(const ProcessCheck& en_ejecucion = ProcesoEnEjecucion,
                          const Sleeper& dormir = nullptr);

}  // namespace xamu
