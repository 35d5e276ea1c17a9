// GrabarTablaCDS building table 13 from its value stream, against reading the same stream
// with TReader (the same reads, nothing built) and writing the produced file's bytes, copied
// into new memory, to a file.
#include <benchmark/benchmark.h>

#include <map>
#include <stdexcept>

#include "bench_inputs.h"
#include "heap.h"
#include "platform/file_system.h"
#include "rounds.h"
#include "support/silent_ui.h"
#include "tables/data_packet.h"
#include "tables/grabar_tabla.h"
#include "tables/packet_values.h"

namespace xamu {
namespace {

constexpr const char* kFileName = "tabla13.cds";

struct TableInput {
  MemoryStream stream;
  TipoArregloByte file;  // what the builder writes, checked to load with every row
};

TableInput& Input(int rows) {
  static std::map<int, TableInput> inputs;
  auto it = inputs.find(rows);
  if (it != inputs.end()) return it->second;
  TableInput input{MemoryStream(bench::Tabla13Stream(rows)), {}};
  bench::TempFolder folder;
  testing::SilentUi ui;
  std::int16_t code = 0;
  GrabarTablaCDS(bench::kIDObjetoTabla13, folder.Path(), kFileName, input.stream, code, ui, {});
  if (code != 0) throw std::runtime_error("GrabarTablaCDS failed: " + std::to_string(code));
  input.file = platform::ReadFileBytes(folder.File(kFileName)).value();
  const DataPacket packet = ReadDataPacket(input.file);
  if (packet.RowCount() != static_cast<std::size_t>(rows) ||
      DecodeRow(packet.columns, packet.Row(0)).values.size() != 12) {
    throw std::runtime_error("the table does not load back");
  }
  return inputs.emplace(rows, std::move(input)).first->second;
}

void Counters(benchmark::State& state, const TableInput& input) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.stream.Size()));
  state.counters["stream_bytes"] = static_cast<double>(input.stream.Size());
  state.counters["file_bytes"] = static_cast<double>(input.file.size());
}

void GrabarTablaXamu(benchmark::State& state, bench::Heap heap) {
  TableInput& input = Input(static_cast<int>(state.range(0)));
  bench::TempFolder folder;
  testing::SilentUi ui;
  const DatosAviso sesion;
  const bench::HeapRegime regime(heap);
  const auto build = [&] {
    std::int16_t code = 0;
    GrabarTablaCDS(bench::kIDObjetoTabla13, folder.Path(), kFileName, input.stream, code, ui,
                   sesion);
    return code == 0;
  };
  build();  // warm-up
  for (auto _ : state) {
    bench::FreshRound(state, heap);
    if (!build()) {
      state.SkipWithError("GrabarTablaCDS failed");
      break;
    }
  }
  Counters(state, input);
}

void GrabarTablaBaseline(benchmark::State& state, bench::Heap heap, bool sync, bool windows1252) {
  TableInput& input = Input(static_cast<int>(state.range(0)));
  bench::TempFolder folder;
  const std::string path = folder.File(kFileName);
  const bench::HeapRegime regime(heap);
  for (auto _ : state) {
    bench::FreshRound(state, heap);
    // The file's bytes are written from new memory, as the builder's are: in the fresh
    // regime both then pay the first touch of as many pages.
    const TipoArregloByte file = input.file;
    if (bench::ReadTabla13(input.stream, windows1252) != state.range(0) ||
        !bench::WriteFileBytes(path, file, sync)) {
      state.SkipWithError("the baseline failed");
      break;
    }
  }
  Counters(state, input);
}

void Register(const std::string& family, bench::Heap heap) {
  const auto add = [&](const std::string& name, auto run) {
    benchmark::RegisterBenchmark((family + "/" + name).c_str(), run)
        ->Arg(100000)
        ->Apply(bench::ShortRounds)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  };
  add("xamu", [heap](benchmark::State& state) { GrabarTablaXamu(state, heap); });
  // The builder flushes its file with fsync; the baseline without shows what that costs,
  // the one that also converts the texts what the conversion costs.
  add("TReader+fsync",
      [heap](benchmark::State& state) { GrabarTablaBaseline(state, heap, true, false); });
  add("TReader+write",
      [heap](benchmark::State& state) { GrabarTablaBaseline(state, heap, false, false); });
  add("TReader+1252+fsync",
      [heap](benchmark::State& state) { GrabarTablaBaseline(state, heap, true, true); });
}

[[maybe_unused]] const bool registered = [] {
  Register("GrabarTabla13Warm", bench::Heap::kWarm);
  Register("GrabarTabla13Fresh", bench::Heap::kFresh);
  return true;
}();

}  // namespace
}  // namespace xamu
