#include "platform/file_times.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/local_time.h"
#include "platform/paths.h"

namespace xamu::platform {

std::optional<double> LastWriteTime(const std::string& path) {
  struct stat st {};
  if (stat(ResolveCaseInsensitive(path).c_str(), &st) != 0) return std::nullopt;
  return UnixSecondsToFloatDate(st.st_mtim.tv_sec,
                                static_cast<int>(st.st_mtim.tv_nsec / 1'000'000));
}

Outcome SetLastWriteTime(const std::string& path, double date) {
  const LocalDateTime local = FloatDateToLocal(date);
  const timespec when{static_cast<time_t>(LocalToUnixSeconds(local)),
                      static_cast<long>(local.millisecond) * 1'000'000};
  const timespec times[2] = {when, when};
  return OutcomeOf(utimensat(AT_FDCWD, ResolveCaseInsensitive(path).c_str(), times, 0) == 0);
}

}  // namespace xamu::platform
