// SoapMessage over arbitrary text, then the function result and every kind of parameter
// read under the names the clients use and a few short ones.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/errors.h"
#include "service/soap_reader.h"

namespace {

constexpr std::array<std::string_view, 16> kNames = {"return",
                                                     "Result",
                                                     "ArregloDeBytes",
                                                     "ArregloDeBytesEstructura",
                                                     "CodigoError",
                                                     "ProximaAccion",
                                                     "Status",
                                                     "ArregloFormatos",
                                                     "ArregloRespuesta",
                                                     "NumeroDePaquetes",
                                                     "NombreCliente",
                                                     "IDCliente",
                                                     "a",
                                                     "b",
                                                     "c",
                                                     "item"};

// Every failure of a read is an xamu::Error; anything else escapes and is a finding.
template <typename Value>
void Read(const xamu::SoapMessage& message, std::string_view name) {
  Value value{};
  try {
    message.Read(name, value);
  } catch (const xamu::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string xml(reinterpret_cast<const char*>(data), size);
  try {
    const xamu::SoapMessage message(std::move(xml));
    message.OperationName();
    try {
      message.ResultBoolean();
    } catch (const xamu::Error&) {
    }
    for (const std::string_view name : kNames) {
      Read<std::int16_t>(message, name);
      Read<std::int32_t>(message, name);
      Read<std::uint8_t>(message, name);
      Read<bool>(message, name);
      Read<double>(message, name);
      Read<std::string>(message, name);
      Read<xamu::TipoArregloByte>(message, name);
      Read<xamu::TipoArregloSmallInt>(message, name);
      Read<xamu::SincronizacionArchivoInformacion>(message, name);
    }
  } catch (const xamu::Error&) {
    // Not an envelope, or a fault.
  }
  return 0;
}
