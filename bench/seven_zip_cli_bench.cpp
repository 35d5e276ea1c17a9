// The 7-Zip command line compressing the same inputs as Compress7z/xamu, one thread, so
// that the in-process 7z writer can be compared with the reference encoder.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rounds.h"
#include "sample_data.h"

extern char** environ;

namespace xamu {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSevenZip = "/usr/bin/7z";

// A scratch folder for the CLI's input and output files, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "xamu-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

const fs::path& Scratch() {
  static const ScratchFolder folder;
  return folder.Path();
}

// Runs the command with its output discarded; true when it exits with 0.
bool Run(const std::vector<std::string>& args) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return rc == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void CompressSevenZipCli(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  if (Scratch().empty()) return state.SkipWithError("cannot create a scratch folder");
  const fs::path input = Scratch() / ("input-" + std::to_string(size) + ".txt");
  const fs::path archive = Scratch() / ("output-" + std::to_string(size) + ".7z");
  {
    const TipoArregloByte data = bench::TableText(size);
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(size));
  }
  const std::vector<std::string> command = {
      kSevenZip, "a", "-m0=LZMA", "-mx9", "-mmt=1", archive.string(), input.string()};
  for (auto _ : state) {
    // "7z a" would update an existing archive; each round starts from none.
    fs::remove(archive);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = Run(command);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!ok) return state.SkipWithError("7z a failed");
    state.SetIterationTime(elapsed.count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.counters["out_bytes"] = static_cast<double>(fs::file_size(archive));
}

// The sizes of Compress7z/xamu in compression_bench.cpp.
BENCHMARK(CompressSevenZipCli)
    ->Name("Compress7z/7z-cli")
    ->Arg(20000)
    ->Apply(bench::ShortRounds)
    ->UseManualTime();
BENCHMARK(CompressSevenZipCli)
    ->Name("Compress7z/7z-cli")
    ->Arg(1 << 20)
    ->Arg(5 << 19)
    ->Apply(bench::SingleRounds)
    ->UseManualTime();

}  // namespace
}  // namespace xamu
