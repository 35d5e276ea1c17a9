#include "support/peak_memory.h"

#include <malloc.h>

#include "platform/process_memory.h"

namespace xamu::testing {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kUnderSanitizer = true;
#else
constexpr bool kUnderSanitizer = false;
#endif
#else
constexpr bool kUnderSanitizer = false;
#endif

}  // namespace

bool MemoryIsMeasurable() {
  return !kUnderSanitizer;
}

std::optional<std::size_t> PeakMemoryOf(const std::function<void()>& operation) {
  malloc_trim(0);
  const std::size_t before = platform::ResidentBytes();
  const bool measurable = !kUnderSanitizer && platform::ResetPeakResident();
  operation();
  if (!measurable) return std::nullopt;
  const std::size_t peak = platform::PeakResidentBytes();
  return peak > before ? peak - before : 0;
}

}  // namespace xamu::testing
