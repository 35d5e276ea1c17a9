#pragma once

#include "launcher/estado_lanzador.h"
#include "ui/interfaz_usuario.h"

namespace xamu {

// The hand-off: the session's identity as the slash text, and RutaAplicacion + XamuWEB.exe
// started with it as its one argument. A missing XamuWEB.exe starts nothing and shows
// nothing; a start that fails shows notice 156 with the system's error number appended to
// the catalogue's text. FinalizarLanzador is set on every path.
void CargarXamu(EstadoLanzador& estado, std::int16_t IDPaisInterno, InterfazUsuario& ui);

}  // namespace xamu
