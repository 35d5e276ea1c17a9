#include <gtest/gtest.h>

#include <fstream>

#include "platform/errors.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace xamu::testing {
namespace {

using Call = FaultyFileSystem::Call;

TEST(FaultyFileSystem, FailsFromTheNthCallOfAKindWithItsReason) {
  TempDir dir;
  FaultyFileSystem files;
  files.FailFrom(Call::kCreateFolder, 2, "No space left on device");
  EXPECT_TRUE(files.CreateFolder(dir.File("one")));
  const platform::Outcome second = files.CreateFolder(dir.File("two"));
  EXPECT_EQ(second.Reason(), "No space left on device");
  EXPECT_FALSE(files.CreateFolder(dir.File("three"))) << "and every later call";
  EXPECT_FALSE(files.IsExistingFolder(dir.File("two"))) << "a failed call changes nothing";
  EXPECT_EQ(files.Calls(Call::kCreateFolder), 3);

  files.FailFrom(Call::kReplaceFile, 1);
  EXPECT_THROW(files.ReplaceFileAtomically(dir.File("f"), {}, 0644), EInOutError);
  EXPECT_FALSE(files.FileExists(dir.File("f")));
}

TEST(FaultyFileSystem, KeepsDeletedFilesAndSkewsTheClock) {
  TempDir dir;
  std::ofstream(dir.File("kept")) << "x";
  FaultyFileSystem files;
  files.KeepDeletedFiles();
  EXPECT_TRUE(files.DeleteFile(dir.File("kept")));
  EXPECT_TRUE(files.FileExists(dir.File("kept")));

  const double before = files.CurrentFloatDate();
  files.SkewClock(2.0);
  EXPECT_NEAR(files.CurrentFloatDate() - before, 2.0, 0.001);
}

}  // namespace
}  // namespace xamu::testing
