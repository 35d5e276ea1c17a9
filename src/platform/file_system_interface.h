#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/outcome.h"

namespace xamu::platform {

// The file operations of the launcher's writers (the table builders, the staging
// installer, the program placement, the settings) and the clock they compare file dates
// with, behind one interface, so that tests can make any of them fail. Each call behaves
// as the function of the same name in file_system.h, file_times.h or local_time.h. An
// implementation may be called from any thread, one call at a time.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual std::optional<FileAttributes> GetFileAttributes(const std::string& path) = 0;
  virtual Outcome SetNormalAttributes(const std::string& path) = 0;
  virtual Outcome SetReadOnlyAttribute(const std::string& path) = 0;
  virtual Outcome CreateFolder(const std::string& path) = 0;
  virtual std::vector<FolderEntry> ListFolder(const std::string& folder,
                                              std::string_view pattern) = 0;
  virtual std::optional<std::string> CreateTempFile(const std::string& folder,
                                                    std::string_view prefix) = 0;
  virtual Outcome DeleteFile(const std::string& path) = 0;
  virtual Outcome CopyFile(const std::string& source, const std::string& target) = 0;
  // Raises EInOutError.
  virtual void ReplaceFileAtomically(const std::string& path,
                                     std::initializer_list<std::span<const std::uint8_t>> parts,
                                     unsigned new_file_mode = 0644) = 0;
  virtual std::optional<double> LastWriteTime(const std::string& path) = 0;
  virtual Outcome SetLastWriteTime(const std::string& path, double date) = 0;
  // The local clock, as a float date.
  virtual double CurrentFloatDate() = 0;

  bool FileExists(const std::string& path) {
    const std::optional<FileAttributes> a = GetFileAttributes(path);
    return a && !a->directory;
  }
  bool IsExistingFolder(const std::string& path) {
    const std::optional<FileAttributes> a = GetFileAttributes(path);
    return a && a->directory;
  }
};

// The real file system of this machine; lives for the whole process.
FileSystem& RealFileSystem();

}  // namespace xamu::platform
