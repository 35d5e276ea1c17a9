#pragma once

#include "ui/interfaz_usuario.h"
#include "ui/mensajes.h"

namespace xamu {

// Writes each notice, its code and text, into the run log, then shows it through the
// interface it wraps; progress goes straight through.
class InterfazRegistrada : public InterfazUsuario {
 public:
  InterfazRegistrada(InterfazUsuario& ui, const TMensajes& mensajes)
      : ui_(ui), mensajes_(mensajes) {}

  void MostrarAviso(const DatosAviso& aviso) override;
  void EstablecerTextoProgreso(const std::string& texto) override {
    ui_.EstablecerTextoProgreso(texto);
  }
  void EstablecerProgreso(int posicion) override { ui_.EstablecerProgreso(posicion); }

 private:
  InterfazUsuario& ui_;
  const TMensajes& mensajes_;
};

// Each HTTP exchange of the process into the run log.
void RegistrarIntercambiosHttp();

}  // namespace xamu
