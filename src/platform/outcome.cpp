#include "platform/outcome.h"

#include <cerrno>
#include <cstring>

namespace xamu::platform {

Outcome Outcome::FromErrno() {
  return FromErrno(errno);
}

Outcome Outcome::FromErrno(int error_number) {
  return Outcome(std::strerror(error_number), error_number);
}

}  // namespace xamu::platform
