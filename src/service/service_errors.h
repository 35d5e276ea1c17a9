#pragma once

#include <string>

#include "platform/error.h"

namespace xamu {

// A SOAP fault; the message is the fault's faultstring.
class ERemotableException : public Error {
 public:
  explicit ERemotableException(const std::string& message)
      : Error("ERemotableException", message) {}
};

// An HTTP status, a connection that fails or breaks, a time-out, an invalid address.
class ESOAPHTTPException : public Error {
 public:
  explicit ESOAPHTTPException(const std::string& message) : Error("ESOAPHTTPException", message) {}
};

// An answer that is not an envelope, or that lacks the function result.
class ESOAPResponseError : public Error {
 public:
  explicit ESOAPResponseError(const std::string& message) : Error("ESOAPResponseError", message) {}
};

}  // namespace xamu
