#include "encoding/crc32.h"

#include <zlib.h>

#include <algorithm>

namespace xamu {

std::uint32_t Crc32(std::span<const std::uint8_t> data) {
  uLong crc = crc32(0, nullptr, 0);
  // zlib takes at most an unsigned int's worth at a time.
  for (std::size_t done = 0; done < data.size();) {
    const std::size_t piece = std::min<std::size_t>(data.size() - done, 1u << 30);
    crc = crc32(crc, data.data() + done, static_cast<uInt>(piece));
    done += piece;
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace xamu
