#include "support/peak_memory.h"

#include <malloc.h>

#include <cstring>
#include <fstream>
#include <string>

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

// A field of /proc/self/status, in bytes.
std::size_t StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':') {
      return std::stoull(line.substr(length + 1)) * 1024;
    }
  }
  return 0;
}

}  // namespace

bool MemoryIsMeasurable() {
  return !kUnderSanitizer;
}

std::optional<std::size_t> PeakMemoryOf(const std::function<void()>& operation) {
  if (kUnderSanitizer) return std::nullopt;
  malloc_trim(0);
  const std::size_t before = StatusBytes("VmRSS");
  {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";  // resets the high-water mark to the present resident size
    clear.close();
    if (!clear.good() || StatusBytes("VmHWM") > before + (std::size_t{1} << 20))
      return std::nullopt;
  }
  operation();
  const std::size_t peak = StatusBytes("VmHWM");
  return peak > before ? peak - before : 0;
}

}  // namespace xamu::testing
