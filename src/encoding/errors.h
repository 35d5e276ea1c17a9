#pragma once

#include <string>

#include "platform/errors.h"

// The encodings raise these and nothing else: a value stream that does not hold what its
// reader expects (EReadError), zlib's failures and the 7z variant's, the decompression limit
// included, and EConvertError for a text form that does not convert. DescomprimirArreglo is
// the exception: for raw DEFLATE it reports a failure as an empty result, not by raising.
namespace xamu {

inline constexpr const char* kInvalidPropertyValue = "Invalid property value";
inline constexpr const char* kStreamReadError = "Stream read error";

// A value stream that does not hold what its reader expects.
class EReadError : public Error {
 public:
  explicit EReadError(const std::string& message) : Error("EReadError", message) {}
};

// zlib failed; the code is zlib's result code.
class EZCompressionError : public Error {
 public:
  EZCompressionError(int code, const std::string& message)
      : Error("EZCompressionError", message), code_(code) {}
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

class EZDecompressionError : public Error {
 public:
  EZDecompressionError(int code, const std::string& message)
      : Error("EZDecompressionError", message), code_(code) {}
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

// Writing or reading the 7z variant failed.
class ESevenZipError : public Error {
 public:
  explicit ESevenZipError(const std::string& message) : Error("ESevenZipError", message) {}
};

}  // namespace xamu
