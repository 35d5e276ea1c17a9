#pragma once

#include <cstdint>
#include <string>

// The small interface through which the worker thread and the table builders reach the
// user interface. The Qt implementation carries each call to the user-interface thread and
// blocks until it has run there; tests use a recording fake.
namespace xamu {

// The arguments of a numbered notice.
struct DatosAviso {
  std::uint16_t CodigoError = 0;
  std::int32_t Status = 0;
  bool MostrarCodigo = false;
  std::string NombreCliente;
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
};

class InterfazUsuario {
 public:
  virtual ~InterfazUsuario() = default;
  // Shows the notice and returns once the user has closed it. Any thread may call.
  virtual void MostrarAviso(const DatosAviso& aviso) = 0;
  virtual void EstablecerTextoProgreso(const std::string& texto) = 0;
  virtual void EstablecerProgreso(int posicion) = 0;
};

}  // namespace xamu
