#include "ui/interfaz_qt.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <future>

#include "ui/frm_mensaje_error.h"

namespace xamu::ui {

struct InterfazQt::Pedido {
  const std::function<void()>& accion;
  std::promise<void> hecho;
};

InterfazQt::InterfazQt(const TMensajes& mensajes,
                       std::function<void(const std::string&)> texto_progreso,
                       std::function<void(int)> progreso)
    : mensajes_(mensajes),
      texto_progreso_(std::move(texto_progreso)),
      progreso_(std::move(progreso)),
      temporizador_(std::make_unique<QTimer>()) {
  temporizador_->setInterval(10);
  QObject::connect(temporizador_.get(), &QTimer::timeout, [this] { Atender(); });
  temporizador_->start();
}

InterfazQt::~InterfazQt() = default;

void InterfazQt::EnLaVentana(const std::function<void()>& accion) {
  const QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    accion();
    return;
  }
  Pedido pedido{accion, {}};
  std::future<void> listo = pedido.hecho.get_future();
  {
    const std::lock_guard lock(mutex_);
    pedidos_.push_back(&pedido);
  }
  listo.wait();
}

// On the user-interface thread. One request at a time: its caller waits for it, and a
// notice it opens runs its own event loop until it is closed.
void InterfazQt::Atender() {
  for (;;) {
    Pedido* pedido = nullptr;
    {
      const std::lock_guard lock(mutex_);
      if (pedidos_.empty()) return;
      pedido = pedidos_.front();
      pedidos_.pop_front();
    }
    pedido->accion();
    pedido->hecho.set_value();
  }
}

void InterfazQt::MostrarAviso(const DatosAviso& aviso) {
  EnLaVentana([&] { MostrarAvisoEnVentana(mensajes_, aviso); });
}

void InterfazQt::EstablecerTextoProgreso(const std::string& texto) {
  EnLaVentana([&] { texto_progreso_(texto); });
}

void InterfazQt::EstablecerProgreso(int posicion) {
  EnLaVentana([&] { progreso_(posicion); });
}

}  // namespace xamu::ui
