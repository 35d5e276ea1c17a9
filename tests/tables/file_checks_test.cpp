#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/local_time.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"
#include "tables/file_checks.h"

namespace xamu {
namespace {

constexpr double kMinute = 1.0 / (24 * 60);
constexpr double kSecond = kMinute / 60;

TEST(ArchivoRecienGrabado, ThirtyWholeMinutesEitherWay) {
  testing::TempDir dir;
  const std::string path = dir.File("Paises.cds");
  std::ofstream(path) << "x";
  const struct {
    double offset;
    bool fresh;
  } cases[] = {
      {0, true},
      {-30 * kMinute, true},
      {-(30 * kMinute + 50 * kSecond), true},  // 30 minutes 50 seconds: still 30 whole minutes
      {-31 * kMinute - 5 * kSecond, false},
      {+30 * kMinute, true},
      {+31 * kMinute + 5 * kSecond, false},  // a clock ahead counts the same
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(platform::SetLastWriteTime(path, platform::CurrentFloatDate() + c.offset));
    EXPECT_EQ(ArchivoRecienGrabado(path), c.fresh) << c.offset / kMinute << " minutes";
  }
  EXPECT_FALSE(ArchivoRecienGrabado(dir.File("missing.cds")));
}

TEST(PuedeGrabarEnCarpeta, CreatesAndDeletesATemporaryFile) {
  testing::TempDir dir;
  EXPECT_TRUE(PuedeGrabarEnCarpeta(dir.Path().string()));
  EXPECT_TRUE(platform::ListFolder(dir.Path().string(), "*.*").empty());
  EXPECT_FALSE(PuedeGrabarEnCarpeta(dir.File("missing")));
}

TEST(PuedeGrabarEnCarpeta, AProbeFileThatCannotBeDeletedFailsTheFolder) {
  testing::TempDir dir;
  testing::FaultyFileSystem files;
  files.FailFrom(testing::FaultyFileSystem::Call::kDeleteFile, 1, "Device or resource busy");
  EXPECT_FALSE(PuedeGrabarEnCarpeta(dir.Path().string(), files));
}

TEST(ArchivoRecienGrabado, ComparesWithTheClockItIsGiven) {
  testing::TempDir dir;
  const std::string path = dir.File("Paises.cds");
  std::ofstream(path) << "x";
  testing::FaultyFileSystem files;
  EXPECT_TRUE(ArchivoRecienGrabado(path, files));
  files.SkewClock(-31 * kMinute - 5 * kSecond);
  EXPECT_FALSE(ArchivoRecienGrabado(path, files)) << "a clock behind the file counts too";
}

}  // namespace
}  // namespace xamu
