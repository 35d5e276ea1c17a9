#include "support/run_command.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace xamu::testing {
namespace {

void DrainPipes(int out_fd, int err_fd, std::string& out, std::string& err) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open_count = 2;
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[65536];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extra_env, bool discard_output) {
  int out_pipe[2];
  int err_pipe[2];
  if (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (discard_output) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  }
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);

  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) env_strings.emplace_back(*e);
  for (const std::string& entry : extra_env) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    std::erase_if(env_strings, [&](const std::string& s) { return s.rfind(name, 0) == 0; });
    env_strings.push_back(entry);
  }
  std::vector<char*> env;
  for (std::string& s : env_strings) env.push_back(s.data());
  env.push_back(nullptr);
  std::vector<std::string> args = argv;
  std::vector<char*> arg_pointers;
  for (std::string& a : args) arg_pointers.push_back(a.data());
  arg_pointers.push_back(nullptr);

  pid_t pid = 0;
  const int rc =
      posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, arg_pointers.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out_pipe[1]);
  close(err_pipe[1]);
  CommandResult result;
  if (rc != 0) {
    close(out_pipe[0]);
    close(err_pipe[0]);
    result.err = std::strerror(rc);
    return result;
  }
  DrainPipes(out_pipe[0], err_pipe[0], result.out, result.err);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.peak_resident = static_cast<std::size_t>(usage.ru_maxrss) * 1024;
  return result;
}

bool ProgramOnPath(const std::string& name) {
  std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  std::string dir;
  while (std::getline(path, dir, ':')) {
    if (access((dir + "/" + name).c_str(), X_OK) == 0) return true;
  }
  return false;
}

}  // namespace xamu::testing

namespace xamu::testing {

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv) {
  std::vector<std::string> args = argv;
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, pointers.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + args[0]);
  }
  pid_ = pid;
}

void BackgroundProcess::ReapIfExited() {
  int status = 0;
  if (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_) pid_ = -1;
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
}

}  // namespace xamu::testing
