#include "console_ui.h"

#include <cstdio>

namespace xamu::tool {

void ConsoleUi::MostrarAviso(const DatosAviso& aviso) {
  const std::string descripcion =
      DescripcionAviso(mensajes_, aviso.CodigoError, aviso.Status, aviso.MostrarCodigo);
  const std::lock_guard lock(mutex_);
  std::fprintf(stderr, "%s %u: %s\n", mensajes_.Aviso.c_str(), unsigned{aviso.CodigoError},
               descripcion.c_str());
}

void ConsoleUi::EstablecerTextoProgreso(const std::string& texto) {
  const std::lock_guard lock(mutex_);
  std::fprintf(stderr, "%s\n", texto.c_str());
}

}  // namespace xamu::tool
