#pragma once

#include <cstdint>
#include <functional>

#include "encoding/memory_stream.h"
#include "service/clientes.h"

// Large answers of the synchronization service arrive in numbered packets. Both transfers
// run on whatever thread calls them and raise every error of a call unchanged; what they
// show and mark on the way is the caller's, through ProgresoPaquetes.
namespace xamu {

// What a transfer reports on the way; an empty callback is skipped. TraerPaquetes calls
// before_fetch and after_fetch around the fetch of packet k of n, then all_fetched once
// (also when there was nothing to fetch). SincronizarEnPaquetes adds before_preparing,
// before its first call, and entries_cut, once every entry holds its data.
struct ProgresoPaquetes {
  std::function<void()> before_preparing = nullptr;
  std::function<void(int k, int n)> before_fetch = nullptr;
  std::function<void(int k, int n)> after_fetch = nullptr;
  std::function<void()> all_fetched = nullptr;
  std::function<void()> entries_cut = nullptr;
};

// What a synchronization asks for, in either answer form.
struct SolicitudSincronizacion {
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  std::int16_t IDFormato = 0;
  bool ObligarSincronizarFormatos = false;
  bool DebeSincronizarProgramas = false;
  std::int16_t TamanoPaquete = 0;  // the packet form only
};

// What it answers. CodigoError, ProximaAccion and Status are in-out: sent as held.
struct RespuestaSincronizacion {
  std::int16_t CodigoError = 0;
  std::uint8_t ProximaAccion = 0;
  std::int32_t Status = 0;
  SincronizacionArchivoInformacion entradas;
  TipoArregloSmallInt ArregloFormatos;
};

// Appends packets 2 to NumeroDePaquetes to `paquetes` (which holds packet 1), each fetched
// once, in order, through `ArregloDeBytes`. Returns the result of the last fetch, or
// `resultado` when there is none to make.
bool TraerPaquetes(ISincronizacion& cliente, std::int16_t IDUsuario, std::int16_t NumeroDePaquetes,
                   MemoryStream& paquetes, TipoArregloByte& ArregloDeBytes, bool resultado,
                   const ProgresoPaquetes& progreso);

// The packet form of Sincronizar; `ArregloDeBytes` is the caller's carrier and holds the
// last packet afterwards. On a true result with CodigoError 0 `respuesta.entradas` holds
// every entry with its Datos. A structure that does not decode, or an entry whose Longitud
// is negative or runs past the data, raises EReadError ("Stream read error" for the cut).
bool SincronizarEnPaquetes(ISincronizacion& cliente, const SolicitudSincronizacion& solicitud,
                           TipoArregloByte& ArregloDeBytes, RespuestaSincronizacion& respuesta,
                           const ProgresoPaquetes& progreso);

// Gives each entry its Longitud bytes of the reassembled data, in order; surplus bytes
// are ignored.
void CortarDatos(const MemoryStream& paquetes, SincronizacionArchivoInformacion& entradas);

}  // namespace xamu
