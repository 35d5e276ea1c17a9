#include <gtest/gtest.h>

#include <filesystem>

#include "platform/drive_type.h"
#include "support/temp_dir.h"

namespace xamu::platform {
namespace {

TEST(DriveType, TheTestFolderOnTheRootDiskIsFixed) {
  testing::TempDir dir;
  EXPECT_EQ(GetDriveType(dir.Path().string()), DriveType::kFixed);
  EXPECT_EQ(GetDriveType(dir.File("not/yet/created/")), DriveType::kFixed)
      << "a path that does not exist yet is judged by its nearest existing folder";
}

TEST(DriveType, TmpfsIsARamDisk) {
  if (!std::filesystem::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm on this machine";
  EXPECT_EQ(GetDriveType("/dev/shm/"), DriveType::kRamDisk);
}

}  // namespace
}  // namespace xamu::platform
