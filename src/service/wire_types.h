#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encoding/memory_stream.h"

// The composite types of the services' wire, under the names they keep there.
namespace xamu {

// One file entry of a synchronization answer.
struct Archivo1Sincronizacion {
  std::int16_t IDObjeto = 0;  // 1 = program file, other values a reference table
  std::string Nombre;         // file name without folder, UTF-8
  std::int32_t Longitud = 0;  // length of its data inside a packetised answer
  double Fecha = 0;           // the server's date-time of the file, as a float date
  TipoArregloByte Datos;

  friend bool operator==(const Archivo1Sincronizacion&, const Archivo1Sincronizacion&) = default;
};

using SincronizacionArchivoInformacion = std::vector<Archivo1Sincronizacion>;
using TipoArregloSmallInt = std::vector<std::int16_t>;

}  // namespace xamu
