#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "encoding/little_endian.h"
#include "tables/data_packet.h"

// Shared by the packet reader and the value decoder: bounded reading of packet bytes.
namespace xamu::packet {

[[noreturn]] inline void Fail(const std::string& what) {
  throw EDataPacketError("Invalid data packet: " + what);
}

// Reads little-endian values from the front of a byte range, refusing to pass its end.
class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  void Require(std::uint64_t count, const char* what) const {
    if (count > Remaining()) Fail(std::string(what) + " runs past the end");
  }
  std::uint64_t Unsigned(std::size_t width, const char* what) {
    Require(width, what);
    const std::uint64_t v = DecodeLittleEndian(bytes_.subspan(position_, width));
    position_ += width;
    return v;
  }
  std::uint8_t U8(const char* what) { return static_cast<std::uint8_t>(Unsigned(1, what)); }
  std::uint16_t U16(const char* what) { return static_cast<std::uint16_t>(Unsigned(2, what)); }
  std::uint32_t U32(const char* what) { return static_cast<std::uint32_t>(Unsigned(4, what)); }
  std::span<const std::uint8_t> Take(std::uint64_t count, const char* what) {
    Require(count, what);
    const auto part = bytes_.subspan(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return part;
  }
  std::span<const std::uint8_t> Since(std::size_t start) const {
    return bytes_.subspan(start, position_ - start);
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Steps over one stored value of a column, or one whole row of a level (state byte,
// null bitmap, values), checking every length against the bytes that remain.
void SkipColumnValue(Cursor& c, const PacketColumn& column, int depth);
void SkipRow(Cursor& c, const std::vector<PacketColumn>& columns, int depth);

// The 2-bit mark of column k in a row's null bitmap: 0 when a value is stored.
inline unsigned BlankMark(std::span<const std::uint8_t> bitmap, std::size_t k) {
  return (bitmap[k / 4] >> (2 * (k % 4))) & 3u;
}

}  // namespace xamu::packet
