#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/paths.h"
#include "platform/processes.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace xamu::platform {
namespace {

TEST(ProcessSnapshot, ListsRunningProgramsByTheirExecutable) {
  testing::TempDir dir;
  const std::string program = dir.File("XamuWEB.exe");
  std::filesystem::copy_file(XAMU_TEST_SLEEPER_PATH, program);
  const auto count = [&] {
    const std::vector<std::string> snapshot = ProcessSnapshot();
    return std::count_if(snapshot.begin(), snapshot.end(),
                         [](const std::string& p) { return FileNamePart(p) == "XamuWEB.exe"; });
  };
  const auto before = count();
  {
    testing::BackgroundProcess first({program, "10000"});
    testing::BackgroundProcess second({program, "10000"});
    EXPECT_EQ(count(), before + 2);
    const std::vector<std::string> snapshot = ProcessSnapshot();
    EXPECT_NE(std::find(snapshot.begin(), snapshot.end(), program), snapshot.end())
        << "the whole executable path is listed";
  }
  EXPECT_EQ(count(), before);
}

}  // namespace
}  // namespace xamu::platform
