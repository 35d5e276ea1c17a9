#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace xamu {

// What the synchronization worker shares with the main thread, without locks. The worker
// writes its results, then publishes them with PublicarTerminacion (a release store); the
// main thread reads them only after SincronizacionTerminada (an acquire load) has returned
// true, and the worker touches none of them after that. The atomics may also be read
// earlier, as a snapshot. One instance per process, owned by the launcher's state; tests
// make their own.
class EstadoSincronizacion {
 public:
  // The session's values (TipoSesion's CodigoError, ProximaAccion and Status): set by the
  // opening of the session before the worker starts, then by the worker's service calls.
  std::atomic<std::int16_t> CodigoError{0};
  std::atomic<std::uint8_t> ProximaAccion{0};
  std::atomic<std::int32_t> Status{0};

  // The worker's own report: the error text, the pass it reached and its step marker.
  // The strings are published by PublicarTerminacion.
  std::string TextoError;
  std::atomic<std::int16_t> Fase{0};
  std::string PasoSincronizacion;
  // Set when the launcher is to end instead of handing over to the main application.
  std::atomic<bool> FinalizarLanzador{false};

  // The worker's last store on every path.
  void PublicarTerminacion() { terminada_.store(true, std::memory_order_release); }
  bool SincronizacionTerminada() const { return terminada_.load(std::memory_order_acquire); }

 private:
  std::atomic<bool> terminada_{false};
};

}  // namespace xamu
