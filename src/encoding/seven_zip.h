#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "encoding/memory_stream.h"

// The 7z variant of the compressed form. Failures raise ESevenZipError.
namespace xamu {

// A 7z archive holding `data` as its one item: no name, LZMA at level 9 without an end
// marker, attributes 0x20 (archive), creation and last-write time both `filetime`.
// `data` must not be empty.
TipoArregloByte WriteSevenZipArchive(std::span<const std::uint8_t> data, std::uint64_t filetime);

// The data of item 0 of any 7z archive a peer may send. An item larger than `limit`
// bytes is refused before anything is allocated for it.
TipoArregloByte ExtractSevenZipItem0(std::span<const std::uint8_t> archive, std::size_t limit);

}  // namespace xamu
