#include "platform/processes.h"

#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <thread>

#include <cctype>
#include <fstream>
#include <memory>

#include "platform/directory.h"

namespace xamu::platform {
namespace {

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
  const DirectoryHandle proc = OpenDirectory("/proc");
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

namespace {

// posix_spawn's attributes and file actions, released on every path.
struct SpawnSetup {
  SpawnSetup() {
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawnattr_t attributes;
  posix_spawn_file_actions_t actions;
};

}  // namespace

Outcome StartProcess(const std::string& program, const std::string& argument) {
  SpawnSetup setup;
  posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);
  std::string program_copy = program;
  std::string argument_copy = argument;
  char* const argv[] = {program_copy.data(), argument_copy.data(), nullptr};
  pid_t pid = 0;
  const int error =
      posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes, argv, environ);
  return error == 0 ? Outcome() : Outcome::FromErrno(error);
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace xamu::platform
