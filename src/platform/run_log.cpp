#include "platform/run_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>

namespace xamu::platform {
namespace {

constexpr off_t kRotateAt = 1 << 20;

struct Log {
  std::mutex mutex;
  std::string path;
  int fd = -1;
  off_t size = 0;
};

Log& TheLog() {
  static Log log;
  return log;
}

// Opens the log at its path, first moving a full one aside; -1 when it cannot be opened.
void Reopen(Log& log) {
  if (log.fd >= 0) close(log.fd);
  log.fd = -1;
  struct stat st {};
  if (stat(log.path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= kRotateAt) {
    std::rename(log.path.c_str(), (log.path + ".1").c_str());
  }
  log.fd = open(log.path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (log.fd >= 0 && (fstat(log.fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    close(log.fd);
    log.fd = -1;
  }
  log.size = log.fd >= 0 ? st.st_size : 0;
}

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (u < 0x20 || u == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string RunLogPath() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/xamu/launcher.log";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0')
    return std::string(home) + "/.local/state/xamu/launcher.log";
  return "";
}

void OpenRunLog(const std::string& path) {
  Log& log = TheLog();
  const std::lock_guard lock(log.mutex);
  log.path = path;
  if (path.empty()) return;
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  Reopen(log);
}

void CloseRunLog() {
  Log& log = TheLog();
  const std::lock_guard lock(log.mutex);
  if (log.fd >= 0) close(log.fd);
  log.fd = -1;
  log.path.clear();
}

void LogLine(std::string_view text) {
  Log& log = TheLog();
  const std::lock_guard lock(log.mutex);
  if (log.fd < 0) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  char stamp[48];
  const std::size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(stamp + n, sizeof stamp - n, ".%03ld [%d] ", now.tv_nsec / 1000000,
                static_cast<int>(getpid()));
  const std::string line = stamp + Escaped(text) + "\n";
  if (log.size >= kRotateAt) Reopen(log);
  if (log.fd < 0) return;
  // A short or failed write (a full disk) is left as it is: the log is never worth a failure.
  const ssize_t written = write(log.fd, line.data(), line.size());
  if (written > 0) log.size += written;
}

}  // namespace xamu::platform
