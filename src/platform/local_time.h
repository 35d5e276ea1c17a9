#pragma once

#include <cstdint>
#include <ctime>

// Conversions between the time forms the system meets: float dates (days since
// 1899-12-30 00:00, the fraction being the time of day), DOS date-times, Windows FILETIMEs
// and the file system's Unix times. Float and DOS dates are local time; FILETIME and Unix
// time are UTC. Local time follows the C library's time zone (TZ honoured).
namespace xamu::platform {

struct LocalDateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// Calendar arithmetic only, no time zone involved.
LocalDateTime FloatDateToLocal(double date);
double LocalToFloatDate(const LocalDateTime& local);

// Through the time zone; a local time that does not exist or is ambiguous (a daylight
// saving change) is resolved as mktime resolves it with tm_isdst = -1.
std::int64_t LocalToUnixSeconds(const LocalDateTime& local);
LocalDateTime UnixSecondsToLocal(std::int64_t seconds);

double UnixSecondsToFloatDate(std::int64_t seconds, int milliseconds = 0);
std::int64_t FloatDateToUnixSeconds(double date);

// The current local time, to the millisecond.
double CurrentFloatDate();

// DOS date in the high 16 bits, DOS time (2-second steps) in the low 16 bits. Years
// outside 1980..2107 cannot be held and give 0.
std::uint32_t FloatDateToDosDateTime(double date);
double DosDateTimeToFloatDate(std::uint32_t dos);

// 100-nanosecond ticks since 1601-01-01 00:00 UTC.
std::uint64_t UnixSecondsToFileTime(std::int64_t seconds);
std::int64_t FileTimeToUnixSeconds(std::uint64_t filetime);
std::uint64_t FloatDateToFileTime(double date);

}  // namespace xamu::platform
