#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xamu {

// A growable array of bytes: every byte array on the wire, in the settings and on the
// command line.
using TipoArregloByte = std::vector<std::uint8_t>;

// A growable byte buffer with a current position, start at 0. Reads stop at the end;
// a write past the end grows the buffer, filling any gap with zeros.
class MemoryStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(TipoArregloByte bytes) : bytes_(std::move(bytes)) {}
  MemoryStream(const MemoryStream&) = default;
  MemoryStream& operator=(const MemoryStream&) = default;
  // A moved-from stream is empty, at position 0.
  MemoryStream(MemoryStream&& other) noexcept
      : bytes_(std::move(other.bytes_)), position_(other.position_) {
    other.Clear();
  }
  MemoryStream& operator=(MemoryStream&& other) noexcept {
    bytes_ = std::move(other.bytes_);
    position_ = other.position_;
    other.Clear();
    return *this;
  }

  std::size_t Size() const noexcept { return bytes_.size(); }
  std::size_t Position() const noexcept { return position_; }
  std::size_t Remaining() const noexcept {
    return position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  }
  void Seek(std::size_t position) noexcept { position_ = position; }

  // Copies up to `count` bytes from the position on and returns how many it copied.
  std::size_t Read(void* destination, std::size_t count) noexcept;
  void Write(const void* source, std::size_t count);

  // Empties the stream and rewinds it; the memory is released.
  void Clear() noexcept {
    TipoArregloByte().swap(bytes_);
    position_ = 0;
  }
  // Replaces the content and rewinds.
  void Assign(TipoArregloByte bytes) noexcept {
    bytes_ = std::move(bytes);
    position_ = 0;
  }
  // Hands the content over and leaves the stream empty.
  TipoArregloByte Take() noexcept {
    TipoArregloByte taken = std::move(bytes_);
    Clear();
    return taken;
  }

  const TipoArregloByte& Bytes() const noexcept { return bytes_; }
  const std::uint8_t* Data() const noexcept { return bytes_.data(); }

 private:
  TipoArregloByte bytes_;
  std::size_t position_ = 0;
};

}  // namespace xamu
