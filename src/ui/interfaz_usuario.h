#pragma once

#include <cstdint>
#include <string>

// The small interface through which the worker thread and the table builders reach the
// user interface. Header-only, so that the layers below the windows can take it without
// depending on them. The Qt implementation carries each call to the user-interface thread
// with a blocking queued invocation; tests use a recording fake.
namespace xamu {

// A notice's code is 16-bit and shown unsigned. The session's CodigoError is 16-bit
// signed; this is the one place where it becomes a notice's code (-1 shows as 65535).
constexpr std::uint16_t CodigoDeAviso(std::int16_t CodigoError) {
  return static_cast<std::uint16_t>(CodigoError);
}

// Everything the notice window shows and does: the code (its description comes from the
// catalogue, or the code line when MostrarCodigo is set), the session's values for the
// e-mail to support, and whether closing the notice ends the application.
struct DatosAviso {
  std::uint16_t CodigoError = 0;
  std::int32_t Status = 0;
  bool MostrarCodigo = false;
  std::string NombreCliente{};
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  bool SalirAlCerrar = false;
};

// The progress bar runs from 0 to this.
inline constexpr int kProgresoMaximo = 100;

class InterfazUsuario {
 public:
  virtual ~InterfazUsuario() = default;
  // Shows the notice modally and returns once the user has closed it. Any thread may call;
  // from another thread it blocks until the user-interface thread has shown and closed it.
  // With SalirAlCerrar the close ends the application, and the call may never return.
  virtual void MostrarAviso(const DatosAviso& aviso) = 0;
  // The main window's progress label (Label1). Any thread may call; it returns once the
  // user-interface thread has set the text.
  virtual void EstablecerTextoProgreso(const std::string& texto) = 0;
  // The main window's progress bar position. Any thread may call; it returns once the
  // user-interface thread has moved the bar.
  virtual void EstablecerProgreso(int posicion) = 0;
};

}  // namespace xamu
