#pragma once

#include <exception>
#include <stdexcept>
#include <string>

// The platform raises only EInOutError, from a replacement that fails; every other call
// returns its failure as a value (an Outcome with the system's reason, an empty optional,
// false). The base of every error the system raises lives here, at the bottom.
namespace xamu {

// Every failure the system raises carries a message and the kind name that user-visible
// texts quote ("Exception class name = ..."). Subsystems derive one type per failure family,
// in their own errors.h.
class Error : public std::runtime_error {
 public:
  Error(std::string kind, const std::string& message)
      : std::runtime_error(message), kind_(std::move(kind)) {}

  const std::string& Kind() const noexcept { return kind_; }

 private:
  std::string kind_;
};

// A text that does not convert to a number (the triplet form, settings where an error is
// specified); shared by the layers above.
class EConvertError : public Error {
 public:
  explicit EConvertError(const std::string& message) : Error("EConvertError", message) {}
};

// A file or folder operation that failed.
class EInOutError : public Error {
 public:
  explicit EInOutError(const std::string& message) : Error("EInOutError", message) {}
};

// The kind name a report quotes for any error caught at an edge: an Error's own kind;
// EOutOfMemory for an allocation that failed; "Exception" for anything else.
std::string KindName(const std::exception& error);

}  // namespace xamu
