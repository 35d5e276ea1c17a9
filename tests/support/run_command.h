#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace xamu::testing {

struct CommandResult {
  int exit_code = -1;
  std::string out;
  std::string err;
  // The program's peak resident memory, in bytes; at least the test process's own at the
  // start, which the kernel carries over the exec into the child's count.
  std::size_t peak_resident = 0;
};

// Runs a program with the given arguments (no shell), standard input from /dev/null,
// optional extra environment entries ("NAME=value"), and collects both outputs, or only
// the errors when the output is discarded (sent to /dev/null).
CommandResult RunCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extra_env = {},
                         bool discard_output = false);

// Whether a program of that name is on PATH.
bool ProgramOnPath(const std::string& name);

}  // namespace xamu::testing

namespace xamu::testing {

// A program started in the background; killed and reaped when the object goes.
class BackgroundProcess {
 public:
  explicit BackgroundProcess(const std::vector<std::string>& argv);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;
  int Pid() const { return pid_; }
  // Collects the exit of a process that has ended, so that it leaves the process table.
  void ReapIfExited();

 private:
  int pid_ = -1;
};

}  // namespace xamu::testing
