#include "platform/run_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <thread>

#include "support/temp_dir.h"

namespace xamu::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class RunLog : public ::testing::Test {
 protected:
  void TearDown() override { CloseRunLog(); }
  testing::TempDir dir_;
  fs::path path_ = dir_.Path() / "state" / "xamu" / "launcher.log";
};

TEST_F(RunLog, EachEventIsOneStampedLineWhateverItsText) {
  OpenRunLog(path_.string());
  LogLine("first");
  LogLine("two\nlines\tand a \\");
  const std::vector<std::string> lines = Lines(path_);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[)" +
                                                    std::to_string(getpid()) + R"(\] first)")))
      << lines[0];
  EXPECT_TRUE(lines[1].ends_with("] two\\nlines\\x09and a \\\\")) << lines[1];
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::others_read, fs::perms::none);
}

TEST_F(RunLog, KeepsAboutOneMebibyteAndOneOlderCopy) {
  OpenRunLog(path_.string());
  const std::string text(1000, 'x');
  for (int i = 0; i < 2500; ++i) LogLine(std::to_string(i) + " " + text);
  const fs::path old = path_.string() + ".1";
  ASSERT_TRUE(fs::exists(old));
  EXPECT_LT(fs::file_size(path_), std::uintmax_t{1} << 20);
  EXPECT_LT(fs::file_size(old), (std::uintmax_t{1} << 20) + 2000);
  // The newest lines are in the log, the ones before them in the copy, none lost between.
  const std::vector<std::string> current = Lines(path_), previous = Lines(old);
  const auto number = [](const std::string& line) {
    return std::stoi(line.substr(line.find("] ") + 2));
  };
  EXPECT_EQ(number(current.back()), 2499);
  EXPECT_EQ(number(previous.back()) + 1, number(current.front()));
  // The log reopened by a later run goes on where it was.
  CloseRunLog();
  OpenRunLog(path_.string());
  LogLine("later");
  EXPECT_TRUE(Lines(path_).back().ends_with("] later"));
}

TEST_F(RunLog, ALogThatCannotBeWrittenIsSkipped) {
  const struct {
    const char* name;
    std::function<fs::path()> make;
  } cases[] = {
      {"no path", [] { return fs::path(); }},
      {"a folder in its place",
       [&] {
         fs::create_directories(path_);
         return path_;
       }},
      {"a file in the place of its folder",
       [&] {
         std::ofstream(dir_.Path() / "file") << "x";
         return dir_.Path() / "file" / "xamu" / "launcher.log";
       }},
      {"a link in its place",
       [&] {
         const fs::path target = dir_.Path() / "elsewhere";
         std::ofstream(target) << "";
         fs::create_directories(dir_.Path() / "linked");
         fs::create_symlink(target, dir_.Path() / "linked" / "launcher.log");
         return dir_.Path() / "linked" / "launcher.log";
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenRunLog(c.make().string());
    LogLine("nothing happens");
    CloseRunLog();
  }
  EXPECT_EQ(fs::file_size(dir_.Path() / "elsewhere"), 0u) << "the link's target is untouched";
}

TEST_F(RunLog, LinesFromSeveralThreadsStayWhole) {
  OpenRunLog(path_.string());
  const auto write = [](char c) {
    for (int i = 0; i < 500; ++i) LogLine(std::string(200, c));
  };
  std::thread a(write, 'a'), b(write, 'b');
  a.join();
  b.join();
  const std::vector<std::string> lines = Lines(path_);
  ASSERT_EQ(lines.size(), 1000u);
  for (const std::string& line : lines) {
    const std::string text = line.substr(line.find("] ") + 2);
    EXPECT_TRUE(text == std::string(200, 'a') || text == std::string(200, 'b')) << line;
  }
}

TEST(RunLogPath, FollowsTheStateFolderOfTheUser) {
  const char* state = std::getenv("XDG_STATE_HOME");
  const std::string saved_state = state ? state : "";
  const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_STATE_HOME", "/var/state", 1);
  EXPECT_EQ(RunLogPath(), "/var/state/xamu/launcher.log");
  setenv("XDG_STATE_HOME", "relative", 1);  // not absolute: ignored, as the standard says
  setenv("HOME", "/home/ana", 1);
  EXPECT_EQ(RunLogPath(), "/home/ana/.local/state/xamu/launcher.log");
  setenv("HOME", saved_home.c_str(), 1);
  if (state) {
    setenv("XDG_STATE_HOME", saved_state.c_str(), 1);
  } else {
    unsetenv("XDG_STATE_HOME");
  }
}

}  // namespace
}  // namespace xamu::platform
