#pragma once

#include <dirent.h>

#include <memory>
#include <string>

// The platform's own helper for reading a folder's entries; closed on every path.
namespace xamu::platform {

struct DirectoryCloser {
  void operator()(DIR* d) const { closedir(d); }
};
using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

// Null when the folder cannot be opened.
inline DirectoryHandle OpenDirectory(const std::string& path) {
  return DirectoryHandle(opendir(path.c_str()));
}

}  // namespace xamu::platform
