#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "encoding/memory_stream.h"

// The 7z variant of the compressed form. Failures raise ESevenZipError.
namespace xamu {

// A 7z archive holding `data` as its one item: no name, LZMA at level 9 without an end
// marker, attributes 0x20 (archive), creation and last-write time both `filetime`.
// `data` must not be empty.
TipoArregloByte WriteSevenZipArchive(std::span<const std::uint8_t> data, std::uint64_t filetime);

// Appends the 7z variable-length NUMBER: as many leading 1-bits in the first byte as
// bytes follow; those hold the value's low bytes, the first byte's other bits its highest.
void AppendSevenZipNumber(TipoArregloByte& out, std::uint64_t value);

// The data of item 0 of any 7z archive a peer may send. An item larger than `limit`
// bytes is refused before anything is allocated for it.
TipoArregloByte ExtractSevenZipItem0(std::span<const std::uint8_t> archive, std::size_t limit);

// The same, handed to `sink` piece by piece as it is decompressed, for a caller that need not
// hold the whole item (the decoder's dictionary already takes as much memory as the item).
// `expected_size` is told the item's size first, when the archive records it.
struct SevenZipSink {
  std::function<void(std::uint64_t size)> expected_size = nullptr;
  std::function<void(std::span<const std::uint8_t> piece)> piece = nullptr;
};
void ExtractSevenZipItem0(std::span<const std::uint8_t> archive, std::size_t limit,
                          const SevenZipSink& sink);

}  // namespace xamu
