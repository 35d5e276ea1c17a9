#include "platform/file_system.h"
#include "platform/file_system_interface.h"
#include "platform/file_times.h"
#include "platform/local_time.h"

namespace xamu::platform {
namespace {

class PosixFileSystem final : public FileSystem {
 public:
  std::optional<FileAttributes> GetFileAttributes(const std::string& path) override {
    return platform::GetFileAttributes(path);
  }
  Outcome SetNormalAttributes(const std::string& path) override {
    return platform::SetNormalAttributes(path);
  }
  Outcome SetReadOnlyAttribute(const std::string& path) override {
    return platform::SetReadOnlyAttribute(path);
  }
  Outcome CreateFolder(const std::string& path) override { return platform::CreateFolder(path); }
  std::vector<FolderEntry> ListFolder(const std::string& folder,
                                      std::string_view pattern) override {
    return platform::ListFolder(folder, pattern);
  }
  std::optional<std::string> CreateTempFile(const std::string& folder,
                                            std::string_view prefix) override {
    return platform::CreateTempFile(folder, prefix);
  }
  Outcome DeleteFile(const std::string& path) override { return platform::DeleteFile(path); }
  Outcome CopyFile(const std::string& source, const std::string& target) override {
    return platform::CopyFile(source, target);
  }
  void ReplaceFileAtomically(const std::string& path,
                             std::initializer_list<std::span<const std::uint8_t>> parts,
                             unsigned new_file_mode) override {
    platform::ReplaceFileAtomically(path, parts, new_file_mode);
  }
  std::optional<double> LastWriteTime(const std::string& path) override {
    return platform::LastWriteTime(path);
  }
  Outcome SetLastWriteTime(const std::string& path, double date) override {
    return platform::SetLastWriteTime(path, date);
  }
  double CurrentFloatDate() override { return platform::CurrentFloatDate(); }
};

}  // namespace

FileSystem& RealFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}

}  // namespace xamu::platform
