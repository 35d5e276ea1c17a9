#include "platform/process_memory.h"

#include <cstring>
#include <fstream>
#include <string>

namespace xamu::platform {
namespace {

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

std::size_t ResidentBytes() {
  return StatusBytes("VmRSS");
}

std::size_t PeakResidentBytes() {
  return StatusBytes("VmHWM");
}

bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.close();
  return clear.good() && PeakResidentBytes() <= ResidentBytes() + (std::size_t{1} << 20);
}

}  // namespace xamu::platform
