#include "ui/datos_usuario.h"

#include <algorithm>
#include <exception>

#include "encoding/compresion.h"
#include "encoding/reader.h"
#include "encoding/writer.h"
#include "platform/ascii_text.h"
#include "ui/codigos.h"

namespace xamu::ui {
namespace {

std::u16string Trimmed(std::u16string_view text) {
  return std::u16string(platform::TrimBlanksAndControls(text));
}

// The codes the form shows as the bare code line; any other is stored or ignored silently.
constexpr std::uint16_t kCodigosMostrados[] = {63, 67, 68, 69, 72};

}  // namespace

std::optional<UserRecord> ReadUserRecord(TipoArregloByte& arreglo) {
  try {
    MemoryStream stream;
    DescomprimirArreglo(stream, arreglo);
    TReader reader(stream);
    UserRecord record;
    record.Empresa = Trimmed(reader.ReadString());
    for (std::u16string& campo : record.Campos) campo = Trimmed(reader.ReadString());
    record.FechaRegistro = static_cast<double>(reader.ReadFloat());
    return record;
  } catch (const std::exception&) {
    // Every way a record can be unreadable ends the same: the form's load failure.
    arreglo.clear();
    return std::nullopt;
  }
}

TipoArregloByte WriteUserRecordUpdate(std::int16_t IDCliente, std::int16_t IDUsuario,
                                      const std::array<std::u16string, 8>& campos) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteInteger(std::int32_t{IDCliente});
    writer.WriteInteger(std::int32_t{IDUsuario});
    for (const std::u16string& campo : campos) writer.WriteString(Trimmed(campo));
  }
  return ComprimirArreglo(std::move(stream));
}

std::optional<DatosAviso> SendUserRecordUpdate(
    const std::function<std::unique_ptr<IAutenticacionNEW>()>& crear_cliente,
    const UserRecordSession& sesion, TipoArregloByte update) {
  std::int16_t CodigoError = 0;
  std::uint8_t ProximaAccion = 0;
  std::int32_t Status = 0;
  const auto aviso = [&](std::uint16_t codigo, bool MostrarCodigo) {
    return DatosAviso{.CodigoError = codigo,
                      .Status = Status,
                      .MostrarCodigo = MostrarCodigo,
                      .NombreCliente = sesion.NombreCliente,
                      .IDCliente = sesion.IDCliente,
                      .IDUsuario = sesion.IDUsuario,
                      .SalirAlCerrar = false};
  };
  try {
    crear_cliente()->GrabarDatosUsuarios(CodigoError, ProximaAccion, Status, update);
  } catch (const std::exception&) {
    return aviso(kCodigoSinConexion, false);
  }
  const std::uint16_t codigo = CodigoDeAviso(CodigoError);
  if (std::ranges::find(kCodigosMostrados, codigo) == std::end(kCodigosMostrados)) {
    return std::nullopt;
  }
  return aviso(codigo, true);
}

}  // namespace xamu::ui
