#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

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

TEST(StartProcess, PassesExactlyOneArgumentInANewSessionWithoutOtherDescriptors) {
  testing::TempDir dir;
  const std::string script = dir.File("XamuWEB.exe");
  const std::string out = dir.File("out");
  std::ofstream(script) << "#!/bin/sh\n"
                           "echo \"$#|$1|$(ls /proc/$$/fd | sort -n | tr '\\n' ' ')|$(cut -d' ' "
                           "-f6 /proc/$$/stat)\" > " +
                               out + ".tmp && mv " + out + ".tmp " + out + "\n";
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  const int opened = open("/dev/null", O_RDONLY);
  const int leaked = dup2(opened, 57);  // without close-on-exec
  ASSERT_TRUE(StartProcess(script, "a b  \"c\""));
  close(leaked);
  close(opened);
  for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i) Sleep(20);
  std::ifstream in(out);
  std::string line;
  ASSERT_TRUE(std::getline(in, line)) << "the program did not run";
  const std::size_t bar = line.rfind('|');
  const std::size_t fds = line.rfind('|', bar - 1);
  EXPECT_EQ(line.substr(0, fds), "1|a b  \"c\"") << "one argument, exactly as given";
  const std::string descriptors = " " + line.substr(fds + 1, bar - fds - 1);
  EXPECT_EQ(descriptors.find(" " + std::to_string(leaked) + " "), std::string::npos) << descriptors;
  EXPECT_EQ(descriptors.substr(0, 7), " 0 1 2 ") << "the standard streams stay";
  EXPECT_NE(std::stol(line.substr(bar + 1)), getsid(0)) << "a session of its own";

  const Outcome missing = StartProcess(dir.File("missing.exe"), "x");
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.ErrorNumber(), ENOENT);
}

TEST(HostName, IsTheSystemsName) {
  char name[256] = {};
  ASSERT_EQ(gethostname(name, sizeof name - 1), 0);
  EXPECT_EQ(HostName(), name);
}

}  // namespace
}  // namespace xamu::platform
