#pragma once

#include <cstdint>
#include <span>

namespace xamu {

// The CRC-32 of the 7z container (zlib's), of any length.
std::uint32_t Crc32(std::span<const std::uint8_t> data);

}  // namespace xamu
