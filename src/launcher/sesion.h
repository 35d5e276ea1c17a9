#pragma once

#include "encoding/memory_stream.h"
#include "launcher/estado_lanzador.h"
#include "service/clientes.h"
#include "sync/thrd_sincronizar.h"
#include "ui/interfaz_usuario.h"

namespace xamu {

// Opens the session with AutenticarCliente: the inventory and the computer's name go in;
// the answer fills the state's session and its CodigoError, ProximaAccion and Status.
// Raises the client's errors, leaving the session as it was.
void AbrirSesion(EstadoLanzador& estado, const TipoArregloByte& ArregloInventario,
                 IAutenticacionNEW& cliente);

// What the worker is given, taken from the state: the session's identity, the settings'
// service and packet values, the catalogue's texts, the progress caption.
TrabajoSincronizacion TrabajoDelLanzador(const EstadoLanzador& estado, InterfazUsuario& ui);

}  // namespace xamu
