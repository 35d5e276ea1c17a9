#pragma once

#include <mutex>

#include "ui/interfaz_usuario.h"
#include "ui/mensajes.h"

namespace xamu::tool {

// The user interface of a command: each notice (its title, then what the notice window
// would show below it) and each progress text go to standard error, and nothing waits for
// input. Any thread may call.
class ConsoleUi : public InterfazUsuario {
 public:
  explicit ConsoleUi(const TMensajes& mensajes) : mensajes_(mensajes) {}

  void MostrarAviso(const DatosAviso& aviso) override;
  void EstablecerTextoProgreso(const std::string& texto) override;
  void EstablecerProgreso(int) override {}

 private:
  const TMensajes& mensajes_;
  std::mutex mutex_;
};

}  // namespace xamu::tool
