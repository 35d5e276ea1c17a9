#pragma once

#include <string>
#include <vector>

#include "ui/interfaz_usuario.h"

namespace xamu::testing {

// Records what would have reached the screen; a notice counts as closed at once.
class RecordingUi : public InterfazUsuario {
 public:
  void MostrarAviso(const DatosAviso& aviso) override { avisos.push_back(aviso); }
  void EstablecerTextoProgreso(const std::string& texto) override { textos.push_back(texto); }
  void EstablecerProgreso(int posicion) override { posiciones.push_back(posicion); }

  std::vector<DatosAviso> avisos;
  std::vector<std::string> textos;
  std::vector<int> posiciones;
};

}  // namespace xamu::testing
