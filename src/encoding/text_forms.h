#pragma once

#include <string>
#include <string_view>

#include "encoding/memory_stream.h"

// The two text forms in which a byte array is written onto a command line or into a
// settings file, and their inverses.
namespace xamu {

// Each byte as its decimal value followed by "/": 0A FF 00 gives "10/255/0/".
std::string ArregloATextoBarras(const TipoArregloByte& arreglo);
// The inverse; anything but decimal bytes each closed by "/" is an EConvertError.
TipoArregloByte TextoBarrasAArreglo(std::string_view texto);

// Each byte as exactly three decimal digits: 0A FF 00 gives "010255000".
std::string ArregloATextoTripletes(const TipoArregloByte& arreglo);
// The inverse, for a non-empty text: whole groups of three (a text of one or two
// characters is one group), the characters after the last whole group ignored, each
// value reduced to its low 8 bits. A group that is not a decimal integer is an
// EConvertError.
TipoArregloByte TextoTripletesAArreglo(std::string_view texto);

// "0A FF 00": upper-case two-digit hex separated by single spaces, for diagnostics.
std::string BytesToHex(const TipoArregloByte& bytes);

}  // namespace xamu
