#include "ui/interfaz_qt.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "ui/frm_mensaje_error.h"

namespace xamu::ui {
namespace {

// Runs `accion` on the user-interface thread and returns once it has run.
void EnLaVentana(const std::function<void()>& accion) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    accion();
    return;
  }
  QMetaObject::invokeMethod(app, accion, Qt::BlockingQueuedConnection);
}

}  // namespace

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
