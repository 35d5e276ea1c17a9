#include "platform/processes.h"

#include <dirent.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <memory>

namespace xamu::platform {
namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

constexpr std::string_view kDeletedSuffix = " (deleted)";

bool IsProcessId(const char* name) {
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name) {
    if (!std::isdigit(static_cast<unsigned char>(*name))) return false;
  }
  return true;
}

// The state letter follows the parenthesised command name in /proc/PID/stat.
bool IsZombie(const std::string& process_folder) {
  std::ifstream stat(process_folder + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;  // gone already
  const std::size_t close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z';
}

}  // namespace

std::vector<std::string> ProcessSnapshot() {
  std::vector<std::string> processes;
  std::unique_ptr<DIR, DirCloser> proc(opendir("/proc"));
  if (!proc) return processes;
  while (const dirent* entry = readdir(proc.get())) {
    if (!IsProcessId(entry->d_name)) continue;
    const std::string base = std::string("/proc/") + entry->d_name;
    char target[4096];
    const ssize_t n = readlink((base + "/exe").c_str(), target, sizeof target - 1);
    if (n > 0) {
      std::string path(target, static_cast<std::size_t>(n));
      // A replaced or deleted executable still names the program that runs.
      if (path.ends_with(kDeletedSuffix)) path.resize(path.size() - kDeletedSuffix.size());
      processes.push_back(std::move(path));
      continue;
    }
    if (IsZombie(base)) continue;  // it has ended; only its exit status remains
    std::ifstream comm(base + "/comm");
    std::string name;
    if (std::getline(comm, name) && !name.empty()) processes.push_back(std::move(name));
  }
  return processes;
}

}  // namespace xamu::platform
