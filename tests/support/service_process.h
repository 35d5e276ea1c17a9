#pragma once

#include <sys/types.h>

#include <csignal>
#include <string>
#include <vector>

namespace xamu::testing {

// A running xamu-service (the binary at `binary`, with `args`), killed when this ends. Its
// first line on standard output gives the address; the rest of its output is not read.
class ServiceProcess {
 public:
  ServiceProcess(const std::string& binary, const std::vector<std::string>& args);
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  const std::string& FirstLine() const { return first_line_; }
  std::string Url() const { return first_line_.substr(first_line_.find("http://")); }
  int Port() const { return std::stoi(first_line_.substr(first_line_.rfind(':') + 1)); }

  // Sends the signal and returns the exit code (-1 when it did not exit normally).
  int Stop(int signal = SIGTERM);

 private:
  pid_t pid_ = -1;
  std::string first_line_;
};

}  // namespace xamu::testing
