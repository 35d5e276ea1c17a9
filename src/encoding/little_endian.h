#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Little-endian integers of 1 to 8 bytes: the byte order of every binary form the system
// reads and writes (value streams, data packets, the 7z container).
namespace xamu {

// The unsigned value of `bytes` (at most 8), least significant byte first.
constexpr std::uint64_t DecodeLittleEndian(std::span<const std::uint8_t> bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

// The low `out.size()` bytes of `value` (at most 8) into `out`.
constexpr void EncodeLittleEndian(std::uint64_t value, std::span<std::uint8_t> out) {
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The low `width` bytes of `value` (at most 8) appended to `out`.
inline void AppendLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value,
                               std::size_t width) {
  for (std::size_t i = 0; i < width; ++i)
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace xamu
