#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/directory.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace xamu::platform {
namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

// Closes a descriptor on every path.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

FileAttributes AttributesOf(const struct stat& st, std::string_view name) {
  FileAttributes a;
  a.directory = S_ISDIR(st.st_mode);
  a.read_only = (st.st_mode & kAnyWriteBit) == 0;
  a.hidden = !name.empty() && name[0] == '.';
  return a;
}

// On the name itself: following a link would change a file elsewhere, wherever it lies.
Outcome ChangeMode(const std::string& path, bool writable) {
  const std::string resolved = ResolveCaseInsensitive(path);
  struct stat st {};
  if (lstat(resolved.c_str(), &st) != 0) return Outcome::FromErrno();
  if (S_ISLNK(st.st_mode)) {
    return writable ? Outcome() : Outcome::Failure("a symbolic link cannot be made read-only");
  }
  const mode_t mode = writable ? (st.st_mode | S_IWUSR) : (st.st_mode & ~kAnyWriteBit);
  return OutcomeOf(chmod(resolved.c_str(), mode & 07777) == 0);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind(kPathSeparator);
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

}  // namespace

std::optional<FileAttributes> GetFileAttributes(const std::string& path) {
  const std::string resolved = ResolveCaseInsensitive(path);
  struct stat st {};
  if (stat(resolved.c_str(), &st) != 0) return std::nullopt;
  std::string name = FileNamePart(resolved);
  if (name.empty()) name = FileNamePart(resolved.substr(0, resolved.size() - 1));
  return AttributesOf(st, name);
}

Outcome SetNormalAttributes(const std::string& path) {
  return ChangeMode(path, true);
}
Outcome SetReadOnlyAttribute(const std::string& path) {
  return ChangeMode(path, false);
}

bool IsExistingFolder(const std::string& path) {
  const std::optional<FileAttributes> a = GetFileAttributes(path);
  return a && a->directory;
}

bool FileExists(const std::string& path) {
  const std::optional<FileAttributes> a = GetFileAttributes(path);
  return a && !a->directory;
}

Outcome CreateFolder(const std::string& path) {
  return OutcomeOf(mkdir(ResolveCaseInsensitive(path).c_str(), 0777) == 0);
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative wildcard match with one backtracking point for the last "*".
  std::size_t n = 0, p = 0, star = std::string_view::npos, resume = 0;
  const auto same = [](char a, char b) { return LowerAscii(a) == LowerAscii(b); };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++n, ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<FolderEntry> ListFolder(const std::string& folder, std::string_view pattern) {
  std::vector<FolderEntry> entries;
  std::string resolved = ResolveCaseInsensitive(folder);
  const DirectoryHandle dir = OpenDirectory(resolved);
  if (!dir) return entries;
  if (resolved.back() != kPathSeparator) resolved += kPathSeparator;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." || !MatchesPattern(name, pattern)) continue;
    const std::string path = resolved + entry->d_name;
    struct stat st {};
    struct stat link {};
    // An entry that vanished since the directory was read is not listed.
    if (stat(path.c_str(), &st) != 0 || lstat(path.c_str(), &link) != 0) continue;
    FileAttributes attributes = AttributesOf(st, name);
    attributes.reparse_point = S_ISLNK(link.st_mode);
    entries.push_back({entry->d_name, attributes});
  }
  return entries;
}

bool CreateAndDeleteProbeFile(const std::string& path) {
  const std::string resolved = ResolveCaseInsensitive(path);
  const Descriptor fd(open(resolved.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600));
  if (fd.get() < 0) return false;
  unlink(resolved.c_str());
  return true;
}

std::optional<std::string> CreateTempFile(const std::string& folder, std::string_view prefix) {
  std::string base = ResolveCaseInsensitive(folder);
  if (!base.empty() && base.back() != kPathSeparator) base += kPathSeparator;
  auto unique =
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFF);
  for (int attempt = 0; attempt < 0x10000; ++attempt, ++unique) {
    char number[8];
    std::snprintf(number, sizeof number, "%X", (unique & 0xFFFF) == 0 ? 1u : unique & 0xFFFF);
    const std::string path = base + std::string(prefix) + number + ".TMP";
    const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0644);
    if (fd >= 0) {
      close(fd);
      return path;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

Outcome DeleteFile(const std::string& path) {
  return OutcomeOf(unlink(ResolveCaseInsensitive(path).c_str()) == 0);
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path) {
  const Descriptor fd(open(ResolveCaseInsensitive(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return std::nullopt;
  // Sized once from the file's length; a file that grows meanwhile is still read whole.
  struct stat st {};
  std::vector<std::uint8_t> bytes;
  if (fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode)) bytes.resize(st.st_size);
  std::size_t filled = 0;
  std::uint8_t tail[4096];
  for (;;) {
    const bool full = filled == bytes.size();
    std::uint8_t* into = full ? tail : bytes.data() + filled;
    const ssize_t n = read(fd.get(), into, full ? sizeof tail : bytes.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    if (full) bytes.insert(bytes.end(), tail, tail + n);
    filled += static_cast<std::size_t>(n);
  }
  bytes.resize(filled);
  return bytes;
}

Outcome CopyFile(const std::string& source, const std::string& target) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(source);
  if (!bytes) return Outcome::FromErrno();
  struct stat st {};
  const unsigned mode =
      stat(ResolveCaseInsensitive(source).c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  try {
    ReplaceFileAtomically(target, *bytes, mode);
  } catch (const EInOutError& e) {
    return Outcome::Failure(e.what());
  }
  // The copy keeps the source's last-write time, as a copy on Windows does.
  const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
  if (st.st_mtim.tv_sec != 0 || st.st_mtim.tv_nsec != 0) {
    if (utimensat(AT_FDCWD, ResolveCaseInsensitive(target).c_str(), times, 0) != 0)
      return Outcome::FromErrno();
  }
  return Outcome();
}

void ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           unsigned new_file_mode) {
  ReplaceFileAtomically(path, {bytes}, new_file_mode);
}

void ReplaceFileAtomically(const std::string& path,
                           std::initializer_list<std::span<const std::uint8_t>> parts,
                           unsigned new_file_mode) {
  ReplaceFileAtomicallyInPieces(
      path,
      [&](const PieceSink& write) {
        for (const std::span<const std::uint8_t> part : parts) write(part);
      },
      new_file_mode);
}

void ReplaceFileAtomicallyInPieces(const std::string& path,
                                   const std::function<void(const PieceSink&)>& produce,
                                   unsigned new_file_mode) {
  const std::string target = ResolveCaseInsensitive(path);
  struct stat st {};
  const bool keeps_mode = lstat(target.c_str(), &st) == 0 && !S_ISLNK(st.st_mode);
  const mode_t mode = keeps_mode ? (st.st_mode & 07777) : new_file_mode;
  std::string temp = Folder(target) + "." + FileNamePart(target) + kTempFileMark + "XXXXXX";
  const auto fail = [&](const char* what) {
    const std::string reason = std::strerror(errno);
    unlink(temp.c_str());
    throw EInOutError(std::string(what) + " " + target + ": " + reason);
  };
  Descriptor fd(mkostemp(temp.data(), O_CLOEXEC));
  if (fd.get() < 0)
    throw EInOutError("cannot create a file beside " + target + ": " + std::strerror(errno));
  try {
    produce([&](std::span<const std::uint8_t> piece) {
      if (!WriteAll(fd.get(), piece)) fail("cannot write");
    });
  } catch (...) {
    unlink(temp.c_str());
    throw;
  }
  if (fsync(fd.get()) != 0) fail("cannot flush");
  if (fchmod(fd.get(), mode) != 0) fail("cannot set the permissions of");
  if (close(fd.Release()) != 0) fail("cannot close");
  if (rename(temp.c_str(), target.c_str()) != 0) fail("cannot replace");
}

std::size_t RemoveLeftoverTempFiles(const std::string& folder) {
  std::size_t removed = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    const std::size_t mark = name.rfind(kTempFileMark);
    const std::size_t suffix = mark + std::string_view(kTempFileMark).size();
    const bool ours =
        name.size() > 1 && name[0] == '.' && mark != std::string::npos && mark > 1 &&
        name.size() == suffix + 6 &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(suffix), name.end(),
                    [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
    std::error_code kind_error;
    if (ours && entry.is_regular_file(kind_error) && !entry.is_symlink(kind_error) &&
        unlink(entry.path().c_str()) == 0) {
      ++removed;
    }
  }
  return removed;
}

std::string MakeScratchFolder() {
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / "xamu-XXXXXX").string();
  if (error || mkdtemp(pattern.data()) == nullptr) return "";
  return pattern;
}

}  // namespace xamu::platform
