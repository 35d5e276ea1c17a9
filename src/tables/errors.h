#pragma once

#include <string>

#include "platform/errors.h"

// The packet reader raises EDataPacketError (and the value stream's EReadError) for what
// does not load; the table builder raises nothing: its failures come back as the table's
// error code, or code 24 with its notice, as a value.
namespace xamu {

// A packet that cannot be loaded.
class EDataPacketError : public Error {
 public:
  explicit EDataPacketError(const std::string& message) : Error("EDataPacketError", message) {}
};

}  // namespace xamu
