#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "encoding/memory_stream.h"

// The raw DEFLATE variant of the compressed form (no zlib or gzip wrapper).
namespace xamu {

// Level 9, window bits -15, memory level 9, default strategy. EZCompressionError on failure.
TipoArregloByte DeflateRaw(std::span<const std::uint8_t> data);

// Inflates up to the end of the DEFLATE stream (bytes after it are ignored) or until the
// input runs out, whichever comes first: a truncated stream yields what it decoded.
// EZDecompressionError on corrupt data or when the result would exceed `limit` bytes.
TipoArregloByte InflateRaw(std::span<const std::uint8_t> data, std::size_t limit);

// Inflates a whole memory stream in place, left positioned at its start. A failure to
// inflate is not raised: the stream is left empty, so that the value stream reader that
// follows fails with "Stream read error".
void DescomprimirZLib(MemoryStream& stream);

}  // namespace xamu
