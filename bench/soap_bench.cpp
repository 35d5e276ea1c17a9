// The SOAP wire with a large byte array: writing an answer with SoapWriter and reading it
// back with SoapMessage, against copying what each direction produces into new memory.
#include <benchmark/benchmark.h>
#include <sys/mman.h>

#include <cstring>
#include <map>
#include <string>

#include "bench_inputs.h"
#include "heap.h"
#include "rounds.h"

namespace xamu {
namespace {

const TipoArregloByte& PayloadBytes(std::size_t size) {
  static std::map<std::size_t, TipoArregloByte> payloads;
  auto it = payloads.find(size);
  if (it == payloads.end()) it = payloads.emplace(size, bench::Payload(size)).first;
  return it->second;
}

const std::string& Response(std::size_t size) {
  static std::map<std::size_t, std::string> responses;
  auto it = responses.find(size);
  if (it == responses.end()) {
    it = responses.emplace(size, bench::ProgramasResponse(PayloadBytes(size))).first;
  }
  return it->second;
}

std::size_t SizeArg(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

void Counters(benchmark::State& state) {
  // Rates count the payload, whichever direction.
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  state.counters["xml_bytes"] = static_cast<double>(Response(SizeArg(state)).size());
}

void EncodeXamu(benchmark::State& state, bench::Heap heap) {
  const TipoArregloByte& payload = PayloadBytes(SizeArg(state));
  if (bench::ProgramasResponse(payload) != Response(SizeArg(state))) {
    state.SkipWithError("the writer is not deterministic");
    return;
  }
  const bench::HeapRegime regime(heap);
  benchmark::DoNotOptimize(bench::ProgramasResponse(payload).data());  // warm-up
  for (auto _ : state) {
    bench::FreshRound(state, heap);
    const std::string xml = bench::ProgramasResponse(payload);
    benchmark::DoNotOptimize(xml.data());
  }
  Counters(state);
}

// The answer's text copied into new memory: what producing it costs at the least.
void EncodeCopy(benchmark::State& state, bench::Heap heap) {
  const std::string& response = Response(SizeArg(state));
  const bench::HeapRegime regime(heap);
  benchmark::DoNotOptimize(std::string(response).data());
  for (auto _ : state) {
    bench::FreshRound(state, heap);
    const std::string xml = response;
    benchmark::DoNotOptimize(xml.data());
  }
  Counters(state);
}

void ParseXamu(benchmark::State& state, bench::Heap heap) {
  const TipoArregloByte& payload = PayloadBytes(SizeArg(state));
  const std::string& response = Response(SizeArg(state));
  const bench::HeapRegime regime(heap);
  if (bench::ReadProgramasResponse(response) != payload) {  // also the warm-up
    state.SkipWithError("the answer does not read back");
    return;
  }
  for (auto _ : state) {
    // SoapMessage parses its text in place, so every round needs a fresh copy.
    state.PauseTiming();
    std::string xml = response;
    state.ResumeTiming();
    bench::FreshRound(state, heap);
    const TipoArregloByte bytes = bench::ReadProgramasResponse(std::move(xml));
    benchmark::DoNotOptimize(bytes.data());
  }
  Counters(state);
}

// The payload copied into new memory: what producing the byte array costs at the least.
void ParseCopy(benchmark::State& state, bench::Heap heap) {
  const TipoArregloByte& payload = PayloadBytes(SizeArg(state));
  const bench::HeapRegime regime(heap);
  benchmark::DoNotOptimize(TipoArregloByte(payload).data());
  for (auto _ : state) {
    bench::FreshRound(state, heap);
    const TipoArregloByte bytes = payload;
    benchmark::DoNotOptimize(bytes.data());
  }
  Counters(state);
}

// The machine's cost of first touches: map, write and unmap N bytes.
void FirstTouch(benchmark::State& state) {
  const std::size_t size = SizeArg(state);
  for (auto _ : state) {
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
      state.SkipWithError("mmap failed");
      break;
    }
    std::memset(p, 1, size);
    benchmark::DoNotOptimize(p);
    munmap(p, size);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void Register(const std::string& family, bench::Heap heap) {
  using Run = void (*)(benchmark::State&, bench::Heap);
  const auto add = [&](const std::string& direction, const char* name, Run run) {
    benchmark::RegisterBenchmark((direction + family + "/" + name).c_str(),
                                 [run, heap](benchmark::State& state) { run(state, heap); })
        ->Arg(64 << 20)
        ->Apply(bench::SingleRounds)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  };
  add("SoapEncode", "xamu", EncodeXamu);
  add("SoapEncode", "copy", EncodeCopy);
  add("SoapParse", "xamu", ParseXamu);
  add("SoapParse", "copy", ParseCopy);
}

[[maybe_unused]] const bool registered = [] {
  Register("Warm", bench::Heap::kWarm);
  Register("Fresh", bench::Heap::kFresh);
  return true;
}();

BENCHMARK(FirstTouch)
    ->Name("FirstTouch/mmap")
    ->Arg(64 << 20)
    ->Apply(bench::SingleRounds)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace xamu
