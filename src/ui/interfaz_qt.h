#pragma once

#include <functional>
#include <string>

#include "ui/interfaz_usuario.h"
#include "ui/mensajes.h"

namespace xamu::ui {

// The user-interface interface on Qt. A call from the user-interface thread runs at once;
// from any other thread it is carried to the user-interface thread and the caller waits
// until it has run, a notice until the user has closed it. The event loop keeps running
// meanwhile (timers tick under an open notice). The label and the bar are the window's,
// given as the two setters.
class InterfazQt : public InterfazUsuario {
 public:
  InterfazQt(const TMensajes& mensajes, std::function<void(const std::string&)> texto_progreso,
             std::function<void(int)> progreso)
      : mensajes_(mensajes),
        texto_progreso_(std::move(texto_progreso)),
        progreso_(std::move(progreso)) {}

  void MostrarAviso(const DatosAviso& aviso) override;
  void EstablecerTextoProgreso(const std::string& texto) override;
  void EstablecerProgreso(int posicion) override;

 private:
  const TMensajes& mensajes_;
  std::function<void(const std::string&)> texto_progreso_;
  std::function<void(int)> progreso_;
};

}  // namespace xamu::ui
