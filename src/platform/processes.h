#pragma once

#include <string>
#include <vector>

#include "platform/outcome.h"

namespace xamu::platform {

// The running processes, each as the path of its executable, or its short name where the
// executable cannot be read (another user's process). A process that ends while the
// snapshot is taken is left out.
std::vector<std::string> ProcessSnapshot();

// Starts `program` with exactly one argument, `argument`, in a new session and process
// group, inheriting the environment, the current folder and the standard streams but no
// other descriptor; it is not waited for. A failure carries the system's error number.
Outcome StartProcess(const std::string& program, const std::string& argument);

// The computer's host name; empty when the system will not tell it.
std::string HostName();

// Blocks the calling thread for that long.
void Sleep(int milliseconds);

}  // namespace xamu::platform
