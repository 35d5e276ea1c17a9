#pragma once

#include <httplib.h>

namespace xamu::servicio {

// Shuts the request's connection down in both directions, so that the client sees it
// close without an answer. cpp-httplib gives a handler no way to abort a connection, so the
// socket is found among the process's descriptors by its two ends. Call only from the
// handler of that request (its connection is then still open and owned by this thread).
void CerrarConexion(const httplib::Request& peticion);

}  // namespace xamu::servicio
