#include "encoding/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace xamu {

std::size_t MemoryStream::Read(void* destination, std::size_t count) noexcept {
  const std::size_t n = std::min(count, Remaining());
  if (n != 0) std::memcpy(destination, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

void MemoryStream::Write(const void* source, std::size_t count) {
  if (count == 0) return;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, source, count);
  position_ += count;
}

}  // namespace xamu
