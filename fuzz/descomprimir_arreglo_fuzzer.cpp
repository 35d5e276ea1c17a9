// DescomprimirArreglo over arbitrary bytes: raw DEFLATE, or 7z when they start with the
// signature.
#include <cstddef>
#include <cstdint>

#include "encoding/compresion.h"
#include "encoding/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  xamu::TipoArregloByte arreglo(data, data + size);
  // A stream with content, to see that it is replaced on every path.
  xamu::MemoryStream stream(xamu::TipoArregloByte{1, 2, 3});
  stream.Seek(2);
  const bool seven_zip = xamu::HasSevenZipSignature(arreglo);
  try {
    xamu::DescomprimirArreglo(stream, arreglo);
  } catch (const xamu::Error&) {
    // Only the 7z variant may fail; raw DEFLATE that does not inflate gives an empty stream.
    if (!seven_zip) __builtin_trap();
    if (stream.Size() != 0) __builtin_trap();
  }
  if (!arreglo.empty() || stream.Position() != 0) __builtin_trap();
  if (stream.Size() > xamu::kDecompressionLimit) __builtin_trap();
  return 0;
}
