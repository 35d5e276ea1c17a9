#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "encoding/memory_stream.h"

// A reference table in its readable source form: a tab-separated text file named
// "<IDObjeto>_<Nombre>.tsv", a header line of column names, one line per row.
namespace xamu::servicio {

inline constexpr const char* kExtensionTabla = ".tsv";

struct TablaFuente {
  std::int16_t IDObjeto = 0;
  std::string Nombre;  // the dataset file name the entry carries, e.g. "Paises.cds"
  // Uncompressed: a value stream holding one list of records, or a whole data packet,
  // whichever the catalogue's kind for IDObjeto asks for.
  TipoArregloByte datos;
};

// Raises EContentError naming the file and line for anything it cannot encode.
TablaFuente LeerTablaFuente(const std::filesystem::path& archivo);

}  // namespace xamu::servicio
