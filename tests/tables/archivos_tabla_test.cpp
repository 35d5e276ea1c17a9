#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/local_time.h"
#include "support/temp_dir.h"
#include "tables/archivos_tabla.h"

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

}  // namespace
}  // namespace xamu
