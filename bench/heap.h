#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <climits>

namespace xamu::bench {

// The allocator settings main() starts with (see bench_main.cpp).
inline constexpr int kHarnessMmapThreshold = 32 << 20;
inline constexpr int kHarnessTrimThreshold = 256 << 20;
inline constexpr int kDefaultMmapMax = 65536;

// Cases that move tens of megabytes run under one of two allocator regimes, set for the
// duration of one repetition. First touches of fresh pages cost about 11 us each on the
// development VM (under 400 MB/s), which would otherwise swamp the code being measured.
// - kWarm: every allocation from the heap and no memory handed back, so that after a
//   warm-up round the buffers land on pages already mapped: the cost of the code alone.
// - kFresh: every allocation of 128 KiB or more mapped afresh (glibc's starting threshold),
//   and free memory handed back before every round (FreshRound), so that each round pays
//   the first touch of its large buffers: what the launcher sees for buffers above 32 MiB,
//   which glibc maps afresh every time whatever it has learnt.
enum class Heap { kWarm, kFresh };

class HeapRegime {
 public:
  explicit HeapRegime(Heap heap) {
    if (heap == Heap::kWarm) {
      mallopt(M_MMAP_MAX, 0);
      mallopt(M_TRIM_THRESHOLD, INT_MAX);
    } else {
      mallopt(M_MMAP_THRESHOLD, 128 << 10);
    }
  }
  ~HeapRegime() {
    mallopt(M_MMAP_MAX, kDefaultMmapMax);
    mallopt(M_MMAP_THRESHOLD, kHarnessMmapThreshold);
    mallopt(M_TRIM_THRESHOLD, kHarnessTrimThreshold);
  }
  HeapRegime(const HeapRegime&) = delete;
  HeapRegime& operator=(const HeapRegime&) = delete;
};

// In the fresh regime, hands the heap's free pages back to the system, outside the timing.
// Without it a large request could still be served from pages an earlier case touched.
inline void FreshRound(benchmark::State& state, Heap heap) {
  if (heap != Heap::kFresh) return;
  state.PauseTiming();
  malloc_trim(0);
  state.ResumeTiming();
}

}  // namespace xamu::bench
