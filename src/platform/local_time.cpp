#include "platform/local_time.h"

#include <cmath>

namespace xamu::platform {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr std::int64_t kFileTimeEpochToUnixEpochSeconds = 11'644'473'600;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const std::int64_t kFloatDateEpochDays = DaysFromCivil(1899, 12, 30);

}  // namespace

LocalDateTime FloatDateToLocal(double date) {
  // The day is the whole part toward zero and the time of day the fraction's magnitude,
  // which is how dates before the epoch are read elsewhere too.
  const double whole = std::trunc(date);
  std::int64_t days = static_cast<std::int64_t>(whole);
  std::int64_t ms = std::llround(std::fabs(date - whole) * kMillisecondsPerDay);
  if (ms >= kMillisecondsPerDay) {
    ms -= kMillisecondsPerDay;
    days += date < 0 ? -1 : 1;
  }
  LocalDateTime local;
  CivilFromDays(kFloatDateEpochDays + days, local.year, local.month, local.day);
  local.hour = static_cast<int>(ms / 3'600'000);
  local.minute = static_cast<int>(ms / 60'000 % 60);
  local.second = static_cast<int>(ms / 1000 % 60);
  local.millisecond = static_cast<int>(ms % 1000);
  return local;
}

double LocalToFloatDate(const LocalDateTime& local) {
  const double days =
      static_cast<double>(DaysFromCivil(local.year, local.month, local.day) - kFloatDateEpochDays);
  const double time =
      (((local.hour * 60.0 + local.minute) * 60.0 + local.second) * 1000.0 + local.millisecond) /
      static_cast<double>(kMillisecondsPerDay);
  return days >= 0 ? days + time : days - time;
}

std::int64_t LocalToUnixSeconds(const LocalDateTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&tm));
}

LocalDateTime UnixSecondsToLocal(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalDateTime local;
  local.year = tm.tm_year + 1900;
  local.month = tm.tm_mon + 1;
  local.day = tm.tm_mday;
  local.hour = tm.tm_hour;
  local.minute = tm.tm_min;
  local.second = tm.tm_sec;
  return local;
}

double UnixSecondsToFloatDate(std::int64_t seconds, int milliseconds) {
  LocalDateTime local = UnixSecondsToLocal(seconds);
  local.millisecond = milliseconds;
  return LocalToFloatDate(local);
}

double CurrentFloatDate() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return UnixSecondsToFloatDate(now.tv_sec, static_cast<int>(now.tv_nsec / 1'000'000));
}

std::int64_t FloatDateToUnixSeconds(double date) {
  return LocalToUnixSeconds(FloatDateToLocal(date));
}

std::uint32_t FloatDateToDosDateTime(double date) {
  const LocalDateTime l = FloatDateToLocal(date);
  if (l.year < 1980 || l.year > 2107) return 0;
  const std::uint32_t dos_date =
      static_cast<std::uint32_t>(((l.year - 1980) << 9) | (l.month << 5) | l.day);
  const std::uint32_t dos_time =
      static_cast<std::uint32_t>((l.hour << 11) | (l.minute << 5) | (l.second / 2));
  return dos_date << 16 | dos_time;
}

double DosDateTimeToFloatDate(std::uint32_t dos) {
  LocalDateTime l;
  l.year = static_cast<int>((dos >> 25) & 0x7F) + 1980;
  l.month = static_cast<int>((dos >> 21) & 0x0F);
  l.day = static_cast<int>((dos >> 16) & 0x1F);
  l.hour = static_cast<int>((dos >> 11) & 0x1F);
  l.minute = static_cast<int>((dos >> 5) & 0x3F);
  l.second = static_cast<int>(dos & 0x1F) * 2;
  return LocalToFloatDate(l);
}

std::uint64_t UnixSecondsToFileTime(std::int64_t seconds) {
  return static_cast<std::uint64_t>(seconds + kFileTimeEpochToUnixEpochSeconds) *
         kFileTimeTicksPerSecond;
}

std::int64_t FileTimeToUnixSeconds(std::uint64_t filetime) {
  return static_cast<std::int64_t>(filetime / kFileTimeTicksPerSecond) -
         kFileTimeEpochToUnixEpochSeconds;
}

std::uint64_t FloatDateToFileTime(double date) {
  return UnixSecondsToFileTime(FloatDateToUnixSeconds(date));
}

}  // namespace xamu::platform
