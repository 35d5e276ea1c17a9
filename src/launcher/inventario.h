#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encoding/memory_stream.h"
#include "sync/carpetas.h"

// The inventory of the installation's local program files and dataset files.
namespace xamu {

struct ArchivoLocal {
  std::string nombre;           // without folder
  std::uint32_t fecha_dos = 0;  // last write, local DOS date-time
};

// The files found, in pattern order and, within a pattern, directory order.
struct ListadoInventario {
  std::vector<ArchivoLocal> programas;
  std::vector<std::string> datasets;
};

// Program files matching the 11 patterns ("*.exe", "Comp/*.dll", ... "*.bat") and dataset
// files "ArchivosCDS/*.cds", letter case ignored; folders, hidden and system files left out.
ListadoInventario ListarInventario(const std::string& ruta_aplicacion);

struct Inventario {
  TipoArregloByte ArregloInventario;  // compressed list of (name, DOS date-time)
  std::vector<std::string> ArregloArchivosLocales;
  TipoArregloByte ArregloArchivosCDS;  // compressed list of dataset names
};

Inventario ConstruirInventario(const ListadoInventario& listado);

// The value streams before compression.
MemoryStream EscribirListaProgramas(const std::vector<ArchivoLocal>& programas);
MemoryStream EscribirListaDatasets(const std::vector<std::string>& datasets);

}  // namespace xamu
