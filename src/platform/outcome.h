#pragma once

#include <string>
#include <utility>

namespace xamu::platform {

// The result of a platform call that may fail: success, or failure with the system's
// reason ("Permission denied"), kept for the error texts that quote it.
class [[nodiscard]] Outcome {
 public:
  Outcome() = default;  // success
  static Outcome Failure(std::string reason) { return Outcome(std::move(reason), 0); }
  // A failure whose reason is the text of `error_number`, by default errno read now.
  static Outcome FromErrno();
  static Outcome FromErrno(int error_number);

  explicit operator bool() const { return !failed_; }
  const std::string& Reason() const { return reason_; }
  // The system's error number, where the failure has one; else 0.
  int ErrorNumber() const { return error_number_; }

 private:
  Outcome(std::string reason, int error_number)
      : failed_(true), reason_(std::move(reason)), error_number_(error_number) {}

  bool failed_ = false;
  std::string reason_;
  int error_number_ = 0;
};

// Success when `succeeded`, else errno's failure.
inline Outcome OutcomeOf(bool succeeded) {
  return succeeded ? Outcome() : Outcome::FromErrno();
}

}  // namespace xamu::platform
