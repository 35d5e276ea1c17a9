#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "ui/interfaz_usuario.h"
#include "ui/mensajes.h"

class QTimer;

namespace xamu::ui {

// The user-interface interface on Qt. A call from the user-interface thread runs at once;
// from any other thread it is queued for the user-interface thread, which picks it up within
// 10 ms, and the caller waits until it has run, a notice until the user has closed it. The
// event loop keeps running meanwhile (timers tick under an open notice). The label and the
// bar are the window's, given as the two setters. Created and destroyed on the
// user-interface thread, after every other thread has stopped calling it.
class InterfazQt : public InterfazUsuario {
 public:
  InterfazQt(const TMensajes& mensajes, std::function<void(const std::string&)> texto_progreso,
             std::function<void(int)> progreso);
  ~InterfazQt() override;
  InterfazQt(const InterfazQt&) = delete;
  InterfazQt& operator=(const InterfazQt&) = delete;

  void MostrarAviso(const DatosAviso& aviso) override;
  void EstablecerTextoProgreso(const std::string& texto) override;
  void EstablecerProgreso(int posicion) override;

 private:
  struct Pedido;
  void EnLaVentana(const std::function<void()>& accion);
  void Atender();

  const TMensajes& mensajes_;
  std::function<void(const std::string&)> texto_progreso_;
  std::function<void(int)> progreso_;
  // The requests of other threads, handed over under the mutex rather than through Qt's
  // own queue, so that the thread checkers see every hand-over.
  std::mutex mutex_;
  std::deque<Pedido*> pedidos_;
  std::unique_ptr<QTimer> temporizador_;
};

}  // namespace xamu::ui
