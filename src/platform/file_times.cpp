#include "platform/file_times.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/local_time.h"

namespace xamu::platform {

std::optional<double> LastWriteTime(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return UnixSecondsToFloatDate(st.st_mtim.tv_sec);
}

bool SetLastWriteTime(const std::string& path, double date) {
  const timespec when{static_cast<time_t>(FloatDateToUnixSeconds(date)), 0};
  const timespec times[2] = {when, when};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace xamu::platform
