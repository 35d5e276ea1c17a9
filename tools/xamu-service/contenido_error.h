#pragma once

#include <string>

#include "platform/errors.h"

namespace xamu::servicio {

// A content folder that does not hold what the service needs; the message names the file
// and, for a table, the line.
class EContentError : public Error {
 public:
  explicit EContentError(const std::string& message) : Error("EContentError", message) {}
};

}  // namespace xamu::servicio
