#pragma once

#include <cstdint>

// The numbers the user interface is driven by, named once: the notice codes the launcher
// raises or tells apart, and the language codes.
namespace xamu {

inline constexpr std::uint16_t kCodigoNoPuedeGrabar = 24;  // a folder or file not written
inline constexpr std::uint16_t kCodigoNoCopiaIni = 25;     // the staged settings not installed
inline constexpr std::uint16_t kCodigoProgramaEjecutandose = 27;
inline constexpr std::uint16_t kCodigoFallaConexion = 28;  // a program file not fetched
inline constexpr std::uint16_t kCodigoServidorEnMantenimiento = 67;
inline constexpr std::uint16_t kCodigoNoSincronizo = 84;
inline constexpr std::uint16_t kCodigoNoHallaPrograma = 156;
inline constexpr std::uint16_t kCodigoSinConexion = 157;
inline constexpr std::uint16_t kCodigoFallaSincronizacion = 788;  // the worker's own failures

// Idioma: 1 Spanish; 2, and any other value, English.
inline constexpr std::uint8_t kIdiomaEspanol = 1;
inline constexpr std::uint8_t kIdiomaIngles = 2;
// The low byte of a Windows language id that means Spanish, whatever the sublanguage.
inline constexpr std::uint16_t kLenguajePrimarioEspanol = 0x0A;

}  // namespace xamu
