#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "encoding/memory_stream.h"
#include "service/clientes.h"
#include "ui/interfaz_usuario.h"

// Large answers of the synchronization service arrive in numbered packets.
namespace xamu {

// What a transfer shows while it fetches packet k of n: called before each fetch, after
// each fetch, and once when all have arrived (also when there was nothing to fetch).
struct ProgresoPaquetes {
  std::function<void(int k, int n)> antes;
  std::function<void(int k, int n)> despues;
  std::function<void()> fin;
};

// For a synchronization answer: the main label shows its remembered caption, a line break
// and " (k/n)", and is restored at the end; the step marker reads "E : k / n" before a
// fetch and "S : k / n" after it.
ProgresoPaquetes ProgresoSincronizacion(InterfazUsuario& ui, const std::string& caption,
                                        std::string& PasoSincronizacion);

// Appends packets 2 to NumeroDePaquetes to `paquetes` (which holds packet 1), each fetched
// once, in order, through `ArregloDeBytes`. Returns the result of the last fetch, or
// `resultado` when there is none to make. Errors are not caught.
bool TraerPaquetes(ISincronizacion& cliente, std::int16_t IDUsuario, std::int16_t NumeroDePaquetes,
                   MemoryStream& paquetes, TipoArregloByte& ArregloDeBytes, bool resultado,
                   const ProgresoPaquetes& progreso);

// The packet form of Sincronizar. On a true result with CodigoError 0 `entradas` holds
// every entry with its Datos. A structure that does not decode, or an entry whose Longitud
// is negative or runs past the data, raises EReadError ("Stream read error" for the cut).
bool SincronizarEnPaquetes(ISincronizacion& cliente, std::int16_t IDCliente, std::int16_t IDUsuario,
                           std::int16_t IDFormato, bool ObligarSincronizarFormatos,
                           bool DebeSincronizarProgramas, std::int16_t TamanoPaquete,
                           TipoArregloByte& ArregloDeBytes, std::int16_t& CodigoError,
                           std::uint8_t& ProximaAccion, std::int32_t& Status,
                           SincronizacionArchivoInformacion& entradas,
                           TipoArregloSmallInt& ArregloFormatos, InterfazUsuario& ui,
                           const std::string& caption, std::string& PasoSincronizacion);

// Reads the decompressed structure of a packetised answer: the format ids, then the
// entries with IDObjeto, Nombre, Longitud and Fecha (Datos empty).
void LeerEstructura(MemoryStream& estructura, TipoArregloSmallInt& ArregloFormatos,
                    SincronizacionArchivoInformacion& entradas);

// Gives each entry its Longitud bytes of the reassembled data, in order; surplus bytes
// are ignored.
void CortarDatos(const MemoryStream& paquetes, SincronizacionArchivoInformacion& entradas);

}  // namespace xamu
