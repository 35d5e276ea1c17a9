#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The failures a running service can be told to show, from the content folder's
// faults.ini, read again for every request so that tests switch them without a restart.
namespace xamu::servicio {

inline constexpr const char* kArchivoFallas = "faults.ini";
// The section that applies to every request; an operation's own section wins over it.
inline constexpr const char* kSeccionTodas = "*";
// The section of GET /Programas/<name>.
inline constexpr const char* kSeccionDescarga = "GET";

struct Fallas {
  int demora_ms = 0;                      // sleep before answering
  bool cortar = false;                    // close the connection without answering
  int http_status = 0;                    // answer with this HTTP status and no envelope
  std::optional<std::string> soap_fault;  // answer with a fault with this faultstring
  std::optional<std::int16_t> codigo_error;
  std::optional<std::uint8_t> proxima_accion;
  std::optional<std::int32_t> status;
  // Of a prepared packet answer (packets numbered from 1): this packet loses its second
  // half, or is answered empty.
  int paquete_corto = 0;
  int paquete_faltante = 0;
};

// The switches for `seccion` (an operation's name, or kSeccionDescarga). A missing file
// switches nothing; an empty value, or one that does not convert, is ignored.
Fallas LeerFallas(const std::filesystem::path& archivo, std::string_view seccion);

}  // namespace xamu::servicio
