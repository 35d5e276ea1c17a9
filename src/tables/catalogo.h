#pragma once

#include <cstdint>
#include <span>

#include "tables/column_types.h"

// The reference tables the synchronization service delivers, by IDObjeto.
namespace xamu {

enum class TipoTabla {
  kLista,    // a value stream holding one list of records
  kPaquete,  // a complete data packet, saved as received
};

struct EntradaCatalogo {
  std::int16_t IDObjeto;
  TipoTabla tipo;
  std::int16_t codigo;  // the error code of a decoding failure
  std::span<const ColumnaCatalogo> columnas;
};

// IDObjeto 7 reads this int16 column from a Boolean too (stored as 1 or 0).
inline constexpr const char* kColumnaDiscriminado = "Discriminado";
inline constexpr std::int16_t kIDObjetoFormatos = 7;

std::span<const EntradaCatalogo> Catalogo();
// Null for an IDObjeto without a table.
const EntradaCatalogo* BuscarTabla(std::int16_t id_objeto);

}  // namespace xamu
