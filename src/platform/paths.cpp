#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/directory.h"

namespace xamu::platform {
namespace {

constexpr const char* kDefaultControlIni = "/etc/XamuINI/eXamu.ini";
constexpr const char* kControlIniVariable = "XAMU_CONTROL_INI";

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// The name of an entry of `folder` equal to `name` but for letter case, or empty.
std::string FindIgnoringCase(const std::string& folder, std::string_view name) {
  const DirectoryHandle dir = OpenDirectory(folder.empty() ? "." : folder);
  if (!dir) return {};
  while (const dirent* entry = readdir(dir.get())) {
    if (EqualsIgnoringCase(entry->d_name, name)) return entry->d_name;
  }
  return {};
}

}  // namespace

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "./";
  const std::string path(buffer.data(), static_cast<std::size_t>(n));
  return path.substr(0, path.rfind(kPathSeparator) + 1);
}

std::string ControlIniPath() {
  const char* override_path = std::getenv(kControlIniVariable);
  return override_path != nullptr && *override_path != '\0' ? override_path : kDefaultControlIni;
}

std::string ResolveCaseInsensitive(std::string_view path) {
  if (path.empty() || Exists(std::string(path))) return std::string(path);
  std::string resolved;
  bool parent_exists = true;
  std::size_t start = 0;
  if (path[0] == kPathSeparator) {
    resolved = "/";
    start = 1;
  }
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find(kPathSeparator, start), path.size());
    const std::string_view component = path.substr(start, end - start);
    std::string name(component);
    if (parent_exists && !component.empty() && component != "." && component != "..") {
      if (!Exists(resolved + name)) {
        const std::string found = FindIgnoringCase(resolved, component);
        if (found.empty()) {
          parent_exists = false;
        } else {
          name = found;
        }
      }
    }
    resolved += name;
    if (end < path.size()) resolved += kPathSeparator;
    start = end + 1;
  }
  return resolved;
}

std::string FileNamePart(std::string_view path) {
  const std::size_t slash = path.rfind(kPathSeparator);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\:\0", 4)) == std::string_view::npos;
}

}  // namespace xamu::platform
