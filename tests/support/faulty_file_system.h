#pragma once

#include <map>
#include <string>

#include "platform/file_system_interface.h"

namespace xamu::testing {

// The real file system with faults on demand, for the branches a real disk will not take
// when asked (LevelDB's fault-injection Env is the model): the n-th call of a kind fails
// with a reason, deleted files stay in place, the clock runs off by a set amount. A failed
// call changes nothing on the disk, as the real calls' failures do: a copy or replacement
// that fails half-way leaves its target as it was.
class FaultyFileSystem : public platform::FileSystem {
 public:
  enum class Call {
    kGetFileAttributes,
    kSetAttributes,  // normal and read-only alike
    kCreateFolder,
    kListFolder,
    kCreateTempFile,
    kDeleteFile,
    kCopyFile,
    kReplaceFile,
    kLastWriteTime,
    kSetLastWriteTime,
  };

  // Call `n` of that kind (counted from 1, from now on) and every later one fail.
  void FailFrom(Call call, int n, std::string reason = "Input/output error");
  // Deletions report success and leave the file where it was.
  void KeepDeletedFiles() { keep_deleted_ = true; }
  // The clock reads `days` later than the real one (earlier when negative).
  void SkewClock(double days) { clock_skew_ = days; }
  // Calls of a kind made so far.
  int Calls(Call call) const;

  std::optional<platform::FileAttributes> GetFileAttributes(const std::string& path) override;
  platform::Outcome SetNormalAttributes(const std::string& path) override;
  platform::Outcome SetReadOnlyAttribute(const std::string& path) override;
  platform::Outcome CreateFolder(const std::string& path) override;
  std::vector<platform::FolderEntry> ListFolder(const std::string& folder,
                                                std::string_view pattern) override;
  std::optional<std::string> CreateTempFile(const std::string& folder,
                                            std::string_view prefix) override;
  platform::Outcome DeleteFile(const std::string& path) override;
  platform::Outcome CopyFile(const std::string& source, const std::string& target) override;
  void ReplaceFileAtomically(const std::string& path,
                             std::initializer_list<std::span<const std::uint8_t>> parts,
                             unsigned new_file_mode) override;
  std::optional<double> LastWriteTime(const std::string& path) override;
  platform::Outcome SetLastWriteTime(const std::string& path, double date) override;
  double CurrentFloatDate() override;

 private:
  // Counts the call; the failure's reason when it is to fail, else empty.
  std::optional<std::string> Fault(Call call);

  platform::FileSystem* real_ = &platform::RealFileSystem();
  std::map<Call, int> calls_;
  std::map<Call, std::pair<int, std::string>> failures_;  // from which call, and why
  bool keep_deleted_ = false;
  double clock_skew_ = 0;
};

}  // namespace xamu::testing
