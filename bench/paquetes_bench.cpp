// SincronizarEnPaquetes reassembling an answer of N packets and cutting it into entries,
// for several N, to show that the time per packet stays flat.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "bench_inputs.h"
#include "heap.h"
#include "rounds.h"

namespace xamu {
namespace {

constexpr std::int16_t kPacketSize = 8192;
constexpr int kPacketsPerEntry = 10;

bench::PacketService& Service(int packets) {
  static std::map<int, std::unique_ptr<bench::PacketService>> services;
  auto& service = services[packets];
  if (!service) {
    service = std::make_unique<bench::PacketService>(packets, kPacketSize, kPacketsPerEntry);
  }
  return *service;
}

void PaquetesXamu(benchmark::State& state, bench::Heap heap) {
  const int packets = static_cast<int>(state.range(0));
  bench::PacketService& service = Service(packets);
  const bench::HeapRegime regime(heap);
  // Also the warm-up.
  if (!bench::PacketsReassembled(service, kPacketSize, bench::RunPackets(service, kPacketSize))) {
    state.SkipWithError("the entries do not hold the packets in order");
    return;
  }
  for (auto _ : state) {
    bench::FreshRound(state, heap);
    const SincronizacionArchivoInformacion entries = bench::RunPackets(service, kPacketSize);
    benchmark::DoNotOptimize(entries.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * service.DataSize()));
  // compare.py divides the time by this for the time per packet.
  state.counters["packets"] = packets;
  state.counters["entries"] = static_cast<double>(service.EntryCount());
}

// The same data movement with plain vectors: where the time per packet grows with N here
// too, the cause is the memory hierarchy rather than the transfer code.
void PaquetesCopy(benchmark::State& state, bench::Heap heap) {
  bench::PacketService& service = Service(static_cast<int>(state.range(0)));
  const bench::HeapRegime regime(heap);
  benchmark::DoNotOptimize(bench::CopyPackets(service, kPacketsPerEntry).data());  // warm-up
  for (auto _ : state) {
    bench::FreshRound(state, heap);
    const std::vector<TipoArregloByte> pieces = bench::CopyPackets(service, kPacketsPerEntry);
    benchmark::DoNotOptimize(pieces.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * service.DataSize()));
  state.counters["packets"] = static_cast<double>(state.range(0));
}

void Register(const std::string& family, bench::Heap heap) {
  using Run = void (*)(benchmark::State&, bench::Heap);
  const auto add = [&](const char* name, Run run) {
    benchmark::RegisterBenchmark((family + "/" + name).c_str(),
                                 [run, heap](benchmark::State& state) { run(state, heap); })
        ->Arg(1000)
        ->Arg(2000)
        ->Arg(5000)
        ->Arg(10000)
        ->Apply(bench::ShortRounds)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  };
  add("xamu", PaquetesXamu);
  add("copy", PaquetesCopy);
}

[[maybe_unused]] const bool registered = [] {
  Register("SincronizarEnPaquetesWarm", bench::Heap::kWarm);
  Register("SincronizarEnPaquetesFresh", bench::Heap::kFresh);
  return true;
}();

}  // namespace
}  // namespace xamu
