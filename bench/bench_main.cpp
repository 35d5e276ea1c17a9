#include <benchmark/benchmark.h>
#include <malloc.h>

#include <vector>

#include "heap.h"

// As benchmark_main, with two differences:
// - Random interleaving of repetitions is on by default (see rounds.h); a later
//   --benchmark_enable_random_interleaving=false on the command line still wins.
// - The heap is kept warm. zlib's level-9 state is about 400 KB; with glibc's default
//   thresholds each call would map or grow, then trim, that memory again, and those page
//   faults (about 0.5 ms a call, for xamu and the direct calls alike) would outweigh a
//   19 KB compression, by an amount that depends on which cases ran before.
int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, xamu::bench::kHarnessMmapThreshold);
  mallopt(M_TRIM_THRESHOLD, xamu::bench::kHarnessTrimThreshold);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  std::vector<char*> args(argv, argv + argc);
  args.insert(args.begin() + 1, interleave);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
