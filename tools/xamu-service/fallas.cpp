#include "fallas.h"

#include <limits>

#include "platform/ini_file.h"

namespace xamu::servicio {

Fallas LeerFallas(const std::filesystem::path& archivo, std::string_view seccion) {
  const platform::IniFile ini = platform::IniFile::Load(archivo.string());
  const auto texto = [&](std::string_view clave) {
    auto valor = ini.ReadString(seccion, clave);
    return valor ? valor : ini.ReadString(kSeccionTodas, clave);
  };
  const auto numero = [&](std::string_view clave, std::int64_t min,
                          std::int64_t max) -> std::optional<std::int64_t> {
    const auto valor = texto(clave);
    const auto n = valor ? platform::ParseDecimalInteger(*valor) : std::nullopt;
    if (!n || *n < min || *n > max) return std::nullopt;
    return *n;
  };
  constexpr std::int64_t kMaxInt = std::numeric_limits<std::int32_t>::max();

  Fallas f;
  f.demora_ms = static_cast<int>(numero("DemoraMs", 0, kMaxInt).value_or(0));
  f.cortar = numero("Cortar", 0, 1).value_or(0) == 1;
  f.http_status = static_cast<int>(numero("HttpStatus", 100, 599).value_or(0));
  if (auto fault = texto("SoapFault"); fault && !fault->empty()) f.soap_fault = std::move(fault);
  if (const auto n = numero("CodigoError", std::numeric_limits<std::int16_t>::min(),
                            std::numeric_limits<std::int16_t>::max())) {
    f.codigo_error = static_cast<std::int16_t>(*n);
  }
  if (const auto n = numero("ProximaAccion", 0, 255))
    f.proxima_accion = static_cast<std::uint8_t>(*n);
  if (const auto n = numero("Status", std::numeric_limits<std::int32_t>::min(), kMaxInt)) {
    f.status = static_cast<std::int32_t>(*n);
  }
  f.paquete_corto = static_cast<int>(numero("PaqueteCorto", 1, kMaxInt).value_or(0));
  f.paquete_faltante = static_cast<int>(numero("PaqueteFaltante", 1, kMaxInt).value_or(0));
  return f;
}

}  // namespace xamu::servicio
