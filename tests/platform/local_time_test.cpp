#include <gtest/gtest.h>

#include "platform/file_times.h"
#include "platform/local_time.h"
#include "support/temp_dir.h"
#include "support/time_zone.h"

namespace xamu::platform {
namespace {

struct FloatDateCase {
  double date;
  LocalDateTime local;
};

TEST(FloatDate, DaysSince1899December30WithTheTimeAsFraction) {
  const FloatDateCase cases[] = {
      {0.0, {1899, 12, 30, 0, 0, 0, 0}},    {1.0, {1899, 12, 31, 0, 0, 0, 0}},
      {2.0, {1900, 1, 1, 0, 0, 0, 0}},      {30000.0, {1982, 2, 18, 0, 0, 0, 0}},
      {36526.5, {2000, 1, 1, 12, 0, 0, 0}}, {45351.75, {2024, 2, 29, 18, 0, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0, 0}},  // the fraction's magnitude is the time
  };
  for (const FloatDateCase& c : cases) {
    EXPECT_EQ(FloatDateToLocal(c.date), c.local) << c.date;
    EXPECT_DOUBLE_EQ(LocalToFloatDate(c.local), c.date) << c.date;
  }
  // A time that rounds up to midnight belongs to the next day.
  EXPECT_EQ(FloatDateToLocal(0.9999999999), (LocalDateTime{1899, 12, 31, 0, 0, 0, 0}));
}

TEST(DosDateTime, PacksTheLocalDateAndTimeInTwoSecondSteps) {
  const double date = LocalToFloatDate({2024, 3, 15, 13, 45, 31, 0});
  const std::uint32_t dos = FloatDateToDosDateTime(date);
  EXPECT_EQ(dos, (44u << 25 | 3u << 21 | 15u << 16 | 13u << 11 | 45u << 5 | 15u));
  EXPECT_EQ(FloatDateToLocal(DosDateTimeToFloatDate(dos)),
            (LocalDateTime{2024, 3, 15, 13, 45, 30, 0}));
  EXPECT_EQ(FloatDateToDosDateTime(LocalToFloatDate({1979, 12, 31, 0, 0, 0, 0})), 0u);
}

struct ZoneCase {
  const char* zone;
  std::int64_t unix_seconds;  // of 1982-02-18 00:00 local
};

TEST(LocalTime, FollowsTheTimeZoneWithItsDaylightSavingTime) {
  const ZoneCase cases[] = {
      {"UTC", 382838400},
      {"Europe/Berlin", 382834800},
      {"Australia/Sydney", 382798800},
  };
  for (const ZoneCase& c : cases) {
    testing::ScopedTimeZone zone(c.zone);
    EXPECT_EQ(FloatDateToUnixSeconds(30000.0), c.unix_seconds) << c.zone;
    EXPECT_EQ(UnixSecondsToFloatDate(c.unix_seconds), 30000.0) << c.zone;
    EXPECT_EQ(FloatDateToFileTime(30000.0), UnixSecondsToFileTime(c.unix_seconds)) << c.zone;
  }
  EXPECT_EQ(UnixSecondsToFileTime(382838400), 120273120000000000ULL);
  EXPECT_EQ(FileTimeToUnixSeconds(120273120000000000ULL), 382838400);
}

TEST(FileTimes, LastWriteTimeIsSetAndReadInLocalTime) {
  testing::ScopedTimeZone zone("America/Mexico_City");
  testing::TempDir dir;
  const std::string path = dir.File("A.EXE");
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  const double date = LocalToFloatDate({2023, 7, 4, 9, 30, 10, 0});
  ASSERT_TRUE(SetLastWriteTime(path, date));
  EXPECT_EQ(LastWriteTime(path), date);
  EXPECT_FALSE(LastWriteTime(dir.File("missing")).has_value());
  EXPECT_FALSE(SetLastWriteTime(dir.File("missing"), date));
}

}  // namespace
}  // namespace xamu::platform
