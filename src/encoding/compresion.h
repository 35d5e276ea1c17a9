#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "encoding/memory_stream.h"

// The compressed form of byte arrays: nothing for no data, raw DEFLATE below 20000 bytes,
// a one-item 7z archive from 20000 bytes on. Readers tell the variants apart by the 7z
// signature, whatever the size.
namespace xamu {

inline constexpr std::size_t kSevenZipThreshold = 20000;
// No decompression, of either variant, yields more than this.
inline constexpr std::size_t kDecompressionLimit = std::size_t{1} << 30;

std::string DecompressionLimitText();

// Whether data begins with the four bytes 37 7A BC AF.
bool HasSevenZipSignature(std::span<const std::uint8_t> data);

// Compresses the whole stream. The stream is taken over and released on every path, so
// the caller's is left empty even when compression fails.
TipoArregloByte ComprimirArreglo(MemoryStream stream);

// Fills the stream with the decompressed array, positioned at its start, and empties the
// array. Raw DEFLATE that does not inflate leaves the stream empty without an error; a 7z
// archive that does not extract raises ESevenZipError (the array is emptied all the same).
void DescomprimirArreglo(MemoryStream& stream, TipoArregloByte& arreglo);

// Replaces the stream's content by its decompressed content, positioned at its start. Any
// failure is raised and leaves the compressed content as it was.
void DescomprimirStream(MemoryStream& stream);

// The array gets the stream's size and is filled from the stream's current position on
// (when that is not the start, the tail of the array that nothing filled stays zero).
TipoArregloByte StreamAArreglo(MemoryStream& stream);

// Writes the array at the stream's current position, then rewinds the stream.
void ArregloAStream(MemoryStream& stream, const TipoArregloByte& arreglo);

}  // namespace xamu
