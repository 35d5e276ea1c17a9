#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "encoding/memory_stream.h"
#include "fallas.h"

// Packetised answers, kept per IDUsuario from the call that prepares one until its last
// packet has been fetched, the next preparation, the confirmation, or kMinutosGuardada
// minutes, whichever comes first. Any thread may call.
namespace xamu::servicio {

// NumeroDePaquetes is 16-bit on the wire.
inline constexpr std::size_t kMaxPaquetes = 32767;
// An answer nobody came back for is released after this long.
inline constexpr int kMinutosGuardada = 10;

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
  // Packet `numero` (from 1) of the answer kept for `IDUsuario`, if there is one; the last
  // packet releases the answer.
  std::optional<TipoArregloByte> Traer(std::int16_t IDUsuario, std::int16_t numero);
  void Liberar(std::int16_t IDUsuario);
  // How many answers are kept.
  std::size_t Guardadas() const;

  using Reloj = std::chrono::steady_clock;
  // The clock the answers' age is measured by; tests move it.
  std::function<Reloj::time_point()> ahora = [] { return Reloj::now(); };

 private:
  struct Respuesta {
    std::vector<TipoArregloByte> paquetes;
    Reloj::time_point preparada;
  };
  void OlvidarViejas();  // with the mutex held

  mutable std::mutex mutex_;
  std::map<std::int16_t, Respuesta> respuestas_;
};

}  // namespace xamu::servicio
