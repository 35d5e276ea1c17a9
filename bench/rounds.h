#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace xamu::bench {

// Every case runs as repetitions that main() interleaves at random with those of the other
// cases, so that drift on a shared machine hits both sides of a comparison alike. Besides
// the median, the fastest repetition is reported: the work is deterministic, so other
// tenants of the machine can only add time, and the minimum is the least noisy figure.
inline double Fastest(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

// Cases of milliseconds or less: several short repetitions.
inline void ShortRounds(benchmark::internal::Benchmark* b) {
  b->Repetitions(9)->MinTime(0.25)->ComputeStatistics("min", Fastest);
}

// Cases of a second or so (LZMA at level 9 on megabytes): one iteration a repetition.
inline void SingleRounds(benchmark::internal::Benchmark* b) {
  b->Repetitions(7)->Iterations(1)->ComputeStatistics("min", Fastest);
}

}  // namespace xamu::bench
