// LeerEstructura and CortarDatos over arbitrary input: the first two bytes (little-endian)
// give the length of the structure part (cut to what remains), which follows; the rest is
// the reassembled data. When both succeed, the entries must hold the data's first bytes in
// order, each exactly its Longitud.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "encoding/little_endian.h"
#include "platform/errors.h"
#include "service/estructura_paquetes.h"
#include "service/paquetes.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "estructura_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t structure_size =
      std::min<std::size_t>(xamu::DecodeLittleEndian(std::span(data, 2)), size - 2);
  const std::uint8_t* structure_begin = data + 2;
  const std::uint8_t* data_begin = structure_begin + structure_size;
  xamu::MemoryStream estructura(xamu::TipoArregloByte(structure_begin, data_begin));
  const xamu::MemoryStream paquetes(xamu::TipoArregloByte(data_begin, data + size));
  xamu::TipoArregloSmallInt formatos{1, 2};
  xamu::SincronizacionArchivoInformacion entradas(1);
  try {
    xamu::LeerEstructura(estructura, formatos, entradas);
    xamu::CortarDatos(paquetes, entradas);
  } catch (const xamu::Error&) {
    // A read error; anything other than xamu::Error escapes and is a finding.
    return 0;
  }
  std::size_t offset = 0;
  for (const xamu::Archivo1Sincronizacion& e : entradas) {
    if (e.Longitud < 0 || e.Datos.size() != static_cast<std::size_t>(e.Longitud)) {
      Broken("an entry whose data is not its Longitud");
    }
    if (e.Datos.size() > paquetes.Size() - offset ||
        !std::equal(e.Datos.begin(), e.Datos.end(), paquetes.Bytes().begin() + offset)) {
      Broken("an entry that does not hold its part of the data");
    }
    offset += e.Datos.size();
  }
  return 0;
}
