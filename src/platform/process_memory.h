#pragma once

#include <cstddef>

// The process's resident memory as the kernel counts it.
namespace xamu::platform {

std::size_t ResidentBytes();
// The high-water mark since the start, or since the last reset.
std::size_t PeakResidentBytes();
// Sets the high-water mark back to the present resident size; false where the kernel does
// not allow it.
bool ResetPeakResident();

}  // namespace xamu::platform
