#pragma once

#include <stdexcept>
#include <string>

namespace xamu {

// Every failure the system raises carries a message and the kind name that user-visible
// texts quote ("Exception class name = ..."). Subsystems derive one type per failure family.
class Error : public std::runtime_error {
 public:
  Error(std::string kind, const std::string& message)
      : std::runtime_error(message), kind_(std::move(kind)) {}

  const std::string& Kind() const noexcept { return kind_; }

 private:
  std::string kind_;
};

// A text that does not convert to a number.
class EConvertError : public Error {
 public:
  explicit EConvertError(const std::string& message) : Error("EConvertError", message) {}
};

// A file or folder operation that failed.
class EInOutError : public Error {
 public:
  explicit EInOutError(const std::string& message) : Error("EInOutError", message) {}
};

}  // namespace xamu
