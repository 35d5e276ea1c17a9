#include "sync/progreso_sincronizacion.h"

namespace xamu {

ProgresoPaquetes ProgresoSincronizacion(InterfazUsuario& ui, const std::string& caption,
                                        std::string& PasoSincronizacion) {
  const auto marker = [&PasoSincronizacion](const char* prefix, int k, int n) {
    PasoSincronizacion = std::string(prefix) + std::to_string(k) + " / " + std::to_string(n);
  };
  return {
      .before_preparing = [&PasoSincronizacion] { PasoSincronizacion = "1 / N"; },
      .before_fetch =
          [&ui, caption, marker](int k, int n) {
            ui.EstablecerTextoProgreso(caption + "\n (" + std::to_string(k) + "/" +
                                       std::to_string(n) + ")");
            marker("E : ", k, n);
          },
      .after_fetch = [marker](int k, int n) { marker("S : ", k, n); },
      .all_fetched =
          [&ui, caption, &PasoSincronizacion] {
            ui.EstablecerTextoProgreso(caption);
            PasoSincronizacion = "T : 001";
          },
      .entries_cut = [&PasoSincronizacion] { PasoSincronizacion = "T : 002"; },
  };
}

}  // namespace xamu
