#include "encoding/compresion.h"

#include <algorithm>

#include "encoding/errors.h"
#include "encoding/seven_zip.h"
#include "encoding/seven_zip_format.h"
#include "encoding/zlib_codec.h"
#include "platform/local_time.h"

namespace xamu {
namespace {

// Both times of the archived item: 18 February 1982 00:00:00 local time.
constexpr double kSevenZipItemDate = 30000.0;

TipoArregloByte ExtractSevenZip(std::span<const std::uint8_t> archive) {
  try {
    return ExtractSevenZipItem0(archive, kDecompressionLimit);
  } catch (const std::bad_alloc&) {
    // Running out of memory is this extraction's failure, like any other.
    throw ESevenZipError("Out of memory");
  }
}

}  // namespace

std::string DecompressionLimitText() {
  return "Decompressed data exceeds the limit of " + std::to_string(kDecompressionLimit) + " bytes";
}

bool HasSevenZipSignature(std::span<const std::uint8_t> data) {
  const std::span recognised =
      std::span(sevenzip::kSignature).first<sevenzip::kRecognisedSignatureSize>();
  return data.size() >= recognised.size() &&
         std::equal(recognised.begin(), recognised.end(), data.begin());
}

TipoArregloByte ComprimirArreglo(MemoryStream stream) {
  if (stream.Size() == 0) return {};
  if (stream.Size() < kSevenZipThreshold) return DeflateRaw(stream.Bytes());
  return WriteSevenZipArchive(stream.Bytes(), platform::FloatDateToFileTime(kSevenZipItemDate));
}

void DescomprimirArreglo(MemoryStream& stream, TipoArregloByte& arreglo) {
  stream.Clear();
  TipoArregloByte compressed = std::move(arreglo);
  arreglo.clear();
  if (compressed.empty()) return;
  if (HasSevenZipSignature(compressed)) {
    stream.Assign(ExtractSevenZip(compressed));
    return;
  }
  stream.Assign(std::move(compressed));
  DescomprimirZLib(stream);
}

void DescomprimirStream(MemoryStream& stream) {
  const std::span<const std::uint8_t> data = stream.Bytes();
  stream.Assign(HasSevenZipSignature(data) ? ExtractSevenZip(data)
                                           : InflateRaw(data, kDecompressionLimit));
}

TipoArregloByte StreamAArreglo(MemoryStream& stream) {
  TipoArregloByte arreglo(stream.Size());
  stream.Read(arreglo.data(), arreglo.size());
  return arreglo;
}

void ArregloAStream(MemoryStream& stream, const TipoArregloByte& arreglo) {
  stream.Write(arreglo.data(), arreglo.size());
  stream.Seek(0);
}

}  // namespace xamu
