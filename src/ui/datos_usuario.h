#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "encoding/memory_stream.h"
#include "service/clientes.h"
#include "ui/interfaz_usuario.h"

// The user data form's work apart from its widgets: the record it shows, the update it
// sends and what the service's answer to it means. Runs on the user-interface thread.
namespace xamu::ui {

// The user record as received, each string trimmed.
struct UserRecord {
  std::u16string Empresa;
  // The eight editable fields, in the order of the update.
  std::array<std::u16string, 8> Campos;
  double FechaRegistro = 0;  // float date
};

// Indexes into UserRecord::Campos and the update, in the order of both.
enum CampoUsuario {
  kNombre,
  kDireccion,
  kCodigoPais,
  kCodigoArea,
  kTelefono1,
  kTelefono2,
  kFax,
  kEmail,
};

// Decompresses the record from `arreglo`, which is left empty, and reads its ten values.
// Empty when it cannot: no bytes, bytes that do not decompress, a value missing or of
// another type.
std::optional<UserRecord> ReadUserRecord(TipoArregloByte& arreglo);

// The compressed update: the session's two identifiers, then the eight fields, trimmed.
TipoArregloByte WriteUserRecordUpdate(std::int16_t IDCliente, std::int16_t IDUsuario,
                                      const std::array<std::u16string, 8>& campos);

// Who the update is for and the notices it may end with.
struct UserRecordSession {
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  std::string NombreCliente;
};

// Sends the update with GrabarDatosUsuarios through a client from `crear_cliente` and
// returns the notice its outcome asks for, if any: 157 when the client cannot be made or the
// call fails; the code form for 63, 67, 68, 69 and 72; nothing for any other code.
std::optional<DatosAviso> SendUserRecordUpdate(
    const std::function<std::unique_ptr<IAutenticacionNEW>()>& crear_cliente,
    const UserRecordSession& sesion, TipoArregloByte update);

}  // namespace xamu::ui
