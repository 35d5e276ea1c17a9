#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "encoding/memory_stream.h"
#include "fallas.h"

// Packetised answers, kept per IDUsuario from the call that prepares one until the next
// preparation or the confirmation. Any thread may call.
namespace xamu::servicio {

// NumeroDePaquetes is 16-bit on the wire.
inline constexpr std::size_t kMaxPaquetes = 32767;

// Cuts `datos` into packets of `tamano` bytes; a `tamano` of 0 or less gives the whole
// answer in one packet, and a size that would need more than kMaxPaquetes packets is
// enlarged to fit. There is always at least one packet, possibly empty.
std::vector<TipoArregloByte> CortarEnPaquetes(const TipoArregloByte& datos, std::int16_t tamano);

class PaquetesPreparados {
 public:
  // What the preparing call sends: how many packets there are, and packet 1.
  struct Preparada {
    std::size_t numero = 0;
    TipoArregloByte primero;
  };
  // Keeps the answer for `IDUsuario`, with the packet faults applied.
  Preparada Preparar(std::int16_t IDUsuario, const TipoArregloByte& datos, std::int16_t tamano,
                     const Fallas& fallas);
  // Packet `numero` (from 1) of the answer kept for `IDUsuario`, if there is one.
  std::optional<TipoArregloByte> Traer(std::int16_t IDUsuario, std::int16_t numero) const;
  void Liberar(std::int16_t IDUsuario);

 private:
  mutable std::mutex mutex_;
  std::map<std::int16_t, std::vector<TipoArregloByte>> respuestas_;
};

}  // namespace xamu::servicio
