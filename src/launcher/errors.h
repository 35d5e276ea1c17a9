#pragma once

#include "platform/errors.h"

// The launcher passes on the errors of the layers below (a malformed stored proxy password
// raises the encodings' EConvertError, EReadError or ESevenZipError; writing the settings or
// a program file raises EInOutError) to the edges that turn them into a notice or a
// message: the first-paint guard, the placing of a program file, the completion step.
// Its one error of its own is the direct download's, which only ever sends the download
// through the service instead.
namespace xamu {

// A direct download that failed: no connection, a protocol error, an HTTP error status, an
// answer beyond the decompression limit, or a PortProxy that is not a number.
class EDescargaDirecta : public Error {
 public:
  explicit EDescargaDirecta(const std::string& message)
      : Error("EIdHTTPProtocolException", message) {}
};

}  // namespace xamu
