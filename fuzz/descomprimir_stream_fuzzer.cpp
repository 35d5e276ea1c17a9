// DescomprimirStream over arbitrary bytes: raw DEFLATE, or 7z when they start with the
// signature.
#include <cstddef>
#include <cstdint>

#include "encoding/compresion.h"
#include "encoding/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xamu::TipoArregloByte input(data, data + size);
  xamu::MemoryStream stream(input);
  try {
    xamu::DescomprimirStream(stream);
  } catch (const xamu::Error&) {
    // A failure leaves the compressed content as it was.
    if (stream.Bytes() != input) __builtin_trap();
    return 0;
  }
  if (stream.Position() != 0 || stream.Size() > xamu::kDecompressionLimit) __builtin_trap();
  return 0;
}
