#pragma once

#include <string>
#include <vector>

namespace xamu::platform {

// The running processes, each as the path of its executable, or its short name where the
// executable cannot be read (another user's process). A process that ends while the
// snapshot is taken is left out.
std::vector<std::string> ProcessSnapshot();

}  // namespace xamu::platform
