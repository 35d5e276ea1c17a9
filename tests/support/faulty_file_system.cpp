#include "support/faulty_file_system.h"

#include "platform/errors.h"

namespace xamu::testing {

using platform::Outcome;

void FaultyFileSystem::FailFrom(Call call, int n, std::string reason) {
  failures_[call] = {calls_[call] + n, std::move(reason)};
}

int FaultyFileSystem::Calls(Call call) const {
  const auto it = calls_.find(call);
  return it == calls_.end() ? 0 : it->second;
}

std::optional<std::string> FaultyFileSystem::Fault(Call call) {
  const int n = ++calls_[call];
  const auto it = failures_.find(call);
  if (it == failures_.end() || n < it->second.first) return std::nullopt;
  return it->second.second;
}

std::optional<platform::FileAttributes> FaultyFileSystem::GetFileAttributes(
    const std::string& path) {
  if (Fault(Call::kGetFileAttributes)) return std::nullopt;
  return real_->GetFileAttributes(path);
}

Outcome FaultyFileSystem::SetNormalAttributes(const std::string& path) {
  if (auto reason = Fault(Call::kSetAttributes)) return Outcome::Failure(*reason);
  return real_->SetNormalAttributes(path);
}

Outcome FaultyFileSystem::SetReadOnlyAttribute(const std::string& path) {
  if (auto reason = Fault(Call::kSetAttributes)) return Outcome::Failure(*reason);
  return real_->SetReadOnlyAttribute(path);
}

Outcome FaultyFileSystem::CreateFolder(const std::string& path) {
  if (auto reason = Fault(Call::kCreateFolder)) return Outcome::Failure(*reason);
  return real_->CreateFolder(path);
}

std::vector<platform::FolderEntry> FaultyFileSystem::ListFolder(const std::string& folder,
                                                                std::string_view pattern) {
  if (Fault(Call::kListFolder)) return {};
  return real_->ListFolder(folder, pattern);
}

std::optional<std::string> FaultyFileSystem::CreateTempFile(const std::string& folder,
                                                            std::string_view prefix) {
  if (Fault(Call::kCreateTempFile)) return std::nullopt;
  return real_->CreateTempFile(folder, prefix);
}

Outcome FaultyFileSystem::DeleteFile(const std::string& path) {
  if (auto reason = Fault(Call::kDeleteFile)) return Outcome::Failure(*reason);
  if (keep_deleted_) return Outcome();
  return real_->DeleteFile(path);
}

Outcome FaultyFileSystem::CopyFile(const std::string& source, const std::string& target) {
  if (auto reason = Fault(Call::kCopyFile)) return Outcome::Failure(*reason);
  return real_->CopyFile(source, target);
}

void FaultyFileSystem::ReplaceFileAtomically(
    const std::string& path, std::initializer_list<std::span<const std::uint8_t>> parts,
    unsigned new_file_mode) {
  if (auto reason = Fault(Call::kReplaceFile)) {
    throw EInOutError("cannot write " + path + ": " + *reason);
  }
  real_->ReplaceFileAtomically(path, parts, new_file_mode);
}

std::optional<double> FaultyFileSystem::LastWriteTime(const std::string& path) {
  if (Fault(Call::kLastWriteTime)) return std::nullopt;
  return real_->LastWriteTime(path);
}

Outcome FaultyFileSystem::SetLastWriteTime(const std::string& path, double date) {
  if (auto reason = Fault(Call::kSetLastWriteTime)) return Outcome::Failure(*reason);
  return real_->SetLastWriteTime(path, date);
}

double FaultyFileSystem::CurrentFloatDate() {
  return real_->CurrentFloatDate() + clock_skew_;
}

}  // namespace xamu::testing
