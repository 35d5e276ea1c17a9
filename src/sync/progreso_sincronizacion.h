#pragma once

#include <string>

#include "service/paquetes.h"
#include "ui/interfaz_usuario.h"

namespace xamu {

// What a synchronization answer in packets shows and marks, on the worker thread: the
// step marker reads "1 / N" before the preparing call, "E : k / n" before the fetch of
// packet k and "S : k / n" after it, "T : 001" once all have arrived and "T : 002" once
// the entries are cut; before each fetch the main label shows `caption`, a line break and
// " (k/n)", and `caption` again once all have arrived. `ui` and `PasoSincronizacion` must
// outlive the transfer.
ProgresoPaquetes ProgresoSincronizacion(InterfazUsuario& ui, const std::string& caption,
                                        std::string& PasoSincronizacion);

}  // namespace xamu
