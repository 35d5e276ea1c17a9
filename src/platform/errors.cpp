#include "platform/errors.h"

#include <new>

namespace xamu {

std::string KindName(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Error*>(&error)) return own->Kind();
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) return "EOutOfMemory";
  return "Exception";
}

}  // namespace xamu
