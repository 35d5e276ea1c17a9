#pragma once

// The names under which the vendor's two services are reached, shared by the clients and
// by the local service that plays the vendor's side.
namespace xamu {

inline constexpr const char* kNsSincronizacion = "urn:SincronizacionIntf-ISincronizacion";
inline constexpr const char* kNsAutenticacion = "urn:AutenticacionNEWIntf-IAutenticacionNEW";
// The authentication service answers every operation under this one action.
inline constexpr const char* kAccionAutenticacion =
    "urn:AutenticacionNEWIntf-IAutenticacionNEW#AutenticarCliente";

// The endpoint paths appended to URLServ: the first of each pair when URLServ names
// localhost (the vendor's test installation), the second otherwise.
inline constexpr const char* kRutaSincronizacionPrueba =
    "/SincronizacionWAD.prueba/soap/ISincronizacion";
inline constexpr const char* kRutaSincronizacion = "/Sincronizacion.exe/soap/ISincronizacion";
inline constexpr const char* kRutaAutenticacionPrueba =
    "/AutenticacionNEWWAD.Prueba/soap/IAutenticacion";
inline constexpr const char* kRutaAutenticacion = "/AutenticacionNEW.exe/soap/IAutenticacionNEW";

}  // namespace xamu
