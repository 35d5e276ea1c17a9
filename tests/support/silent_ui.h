#pragma once

#include <string>

#include "ui/interfaz_usuario.h"

namespace xamu::testing {

// Shows nothing; a notice counts as closed at once.
class SilentUi : public InterfazUsuario {
 public:
  void MostrarAviso(const DatosAviso&) override {}
  void EstablecerTextoProgreso(const std::string&) override {}
  void EstablecerProgreso(int) override {}
};

}  // namespace xamu::testing
