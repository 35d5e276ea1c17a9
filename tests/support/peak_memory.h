#pragma once

#include <cstddef>
#include <functional>
#include <optional>

namespace xamu::testing {

// The bound every answer is held to: 64 MiB, plus four times the bytes that arrived.
inline constexpr std::size_t AnswerBound(std::size_t arrived) {
  return (std::size_t{64} << 20) + 4 * arrived;
}

// Runs `operation` and returns the resident memory it added to the process at its peak,
// from the kernel's high-water mark. Null where that cannot be measured: under a
// sanitizer, whose allocator pads every block and keeps freed ones, or where the mark
// cannot be reset.
std::optional<std::size_t> PeakMemoryOf(const std::function<void()>& operation);

// Whether the programs of this build use memory as they would for users: not so under a
// sanitizer.
bool MemoryIsMeasurable();

}  // namespace xamu::testing
