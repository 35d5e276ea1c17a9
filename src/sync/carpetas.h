#pragma once

// The folders of an installation, under RutaAplicacion, and the files with a meaning there.
namespace xamu {

inline constexpr const char* kCarpetaArchivosCDS = "ArchivosCDS";
inline constexpr const char* kCarpetaTemporales = "Temporales";
inline constexpr const char* kCarpetaWork1 = "Work1";
inline constexpr const char* kCarpetaComp = "Comp";

// The settings file, staged and installed like the program files.
inline constexpr const char* kArchivoConfiguracion = "XAMUwebIP.ini";
// The launcher's own new file, which stays in Work1.
inline constexpr const char* kArchivoLanzador = "LauncherXamuWEB.exe";

}  // namespace xamu
