#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// What the 7z reading library would allocate is decided by numbers inside the archive:
// dictionary and model sizes, stream sizes, counts. This walks the archive's headers first
// and refuses, with ESevenZipError, any such number that the data cannot justify, so that
// hostile input cannot make the reader reserve gigabytes.
namespace xamu {

// `limit` bounds every unpacked size. An encoded (compressed) header is decoded here to be
// checked too; it must use LZMA or LZMA2, as 7-Zip's headers do.
void CheckSevenZipArchive(std::span<const std::uint8_t> archive, std::size_t limit);

}  // namespace xamu
