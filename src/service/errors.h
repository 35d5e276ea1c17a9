#pragma once

#include <string>

#include "platform/errors.h"

// A service call raises these for a failure of the call itself (transport, fault, answer);
// what the service reports about the request comes back as a value, in CodigoError and
// Status. The packet transfer adds EReadError for a structure or Longitud that does not fit.
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
