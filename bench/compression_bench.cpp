// ComprimirArreglo and DescomprimirArreglo against calling zlib, liblzma and libarchive
// directly with the same settings on the same data.
#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>
#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>

#include "encoding/compresion.h"
#include "rounds.h"
#include "sample_data.h"

namespace xamu {
namespace {

using Bytes = std::span<const std::uint8_t>;

const TipoArregloByte& Input(std::size_t size) {
  static std::map<std::size_t, TipoArregloByte> inputs;
  auto it = inputs.find(size);
  if (it == inputs.end()) it = inputs.emplace(size, bench::TableText(size)).first;
  return it->second;
}

const TipoArregloByte& Compressed(std::size_t size) {
  static std::map<std::size_t, TipoArregloByte> compressed;
  auto it = compressed.find(size);
  if (it == compressed.end()) {
    it = compressed.emplace(size, ComprimirArreglo(MemoryStream(Input(size)))).first;
  }
  return it->second;
}

// --- Direct calls --------------------------------------------------------------------

TipoArregloByte DeflateDirect(Bytes data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  TipoArregloByte out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(rc == Z_STREAM_END ? z.total_out : 0);
  deflateEnd(&z);
  return out;
}

// The original size is known to the caller here, which is the best case for zlib.
TipoArregloByte InflateDirect(Bytes data, std::size_t size) {
  z_stream z{};
  inflateInit2(&z, -15);
  TipoArregloByte out(size);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  out.resize(rc == Z_STREAM_END ? z.total_out : 0);
  inflateEnd(&z);
  return out;
}

// The dictionary 7-Zip picks at level 9 (as seven_zip_writer.cpp does): the data size,
// at least 4 KiB, rounded up to a whole MiB from 2 MiB on and below that to 2^k or 3 * 2^k.
std::uint32_t SevenZipDictionary(std::size_t size) {
  const std::uint64_t wanted =
      std::max<std::uint64_t>(std::min<std::uint64_t>(size, 64u << 20), 4096);
  constexpr std::uint64_t kMiB = 1u << 20;
  if (wanted >= 2 * kMiB) return static_cast<std::uint32_t>((wanted + kMiB - 1) / kMiB * kMiB);
  for (int k = 12;; ++k) {
    if ((1ull << k) >= wanted) return static_cast<std::uint32_t>(1ull << k);
    if ((3ull << k) >= wanted) return static_cast<std::uint32_t>(3ull << k);
  }
}

// Raw LZMA1 without an end marker: the 7z payload alone, no container.
TipoArregloByte LzmaDirect(Bytes data) {
  lzma_options_lzma options{};
  lzma_lzma_preset(&options, 9);
  options.dict_size = SevenZipDictionary(data.size());
  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  TipoArregloByte out(data.size() + data.size() / 2 + 4096);
  std::size_t produced = 0;
  const lzma_ret rc = lzma_raw_buffer_encode(filters, nullptr, data.data(), data.size(), out.data(),
                                             &produced, out.size());
  out.resize(rc == LZMA_OK ? produced : 0);
  return out;
}

// Item 0 of a 7z archive through libarchive, into a buffer of the known size.
TipoArregloByte ExtractDirect(Bytes archive_bytes, std::size_t size) {
  archive* a = archive_read_new();
  archive_read_support_format_7zip(a);
  TipoArregloByte out(size);
  std::size_t produced = 0;
  archive_entry* entry = nullptr;
  if (archive_read_open_memory(a, archive_bytes.data(), archive_bytes.size()) == ARCHIVE_OK &&
      archive_read_next_header(a, &entry) == ARCHIVE_OK) {
    la_ssize_t n;
    while (produced < size &&
           (n = archive_read_data(a, out.data() + produced, size - produced)) > 0) {
      produced += static_cast<std::size_t>(n);
    }
  }
  archive_read_free(a);
  out.resize(produced);
  return out;
}

// --- Benchmarks ----------------------------------------------------------------------

std::size_t SizeArg(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

void CompressXamu(benchmark::State& state) {
  const TipoArregloByte& data = Input(SizeArg(state));
  std::size_t out_size = 0;
  for (auto _ : state) {
    // ComprimirArreglo takes the stream over, so each round hands it a fresh copy.
    const TipoArregloByte out = ComprimirArreglo(MemoryStream(data));
    out_size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
  state.counters["out_bytes"] = static_cast<double>(out_size);
}

void CompressZlib(benchmark::State& state) {
  const TipoArregloByte& data = Input(SizeArg(state));
  std::size_t out_size = 0;
  for (auto _ : state) {
    const TipoArregloByte out = DeflateDirect(data);
    out_size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  if (out_size == 0) state.SkipWithError("deflate failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
  state.counters["out_bytes"] = static_cast<double>(out_size);
}

void CompressLzma(benchmark::State& state) {
  const TipoArregloByte& data = Input(SizeArg(state));
  std::size_t out_size = 0;
  for (auto _ : state) {
    const TipoArregloByte out = LzmaDirect(data);
    out_size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  if (out_size == 0) state.SkipWithError("LZMA encoding failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
  state.counters["out_bytes"] = static_cast<double>(out_size);
}

void DecompressXamu(benchmark::State& state) {
  const TipoArregloByte& data = Input(SizeArg(state));
  const TipoArregloByte& compressed = Compressed(data.size());
  {
    MemoryStream stream;
    TipoArregloByte arreglo = compressed;
    DescomprimirArreglo(stream, arreglo);
    if (stream.Bytes() != data) state.SkipWithError("does not decompress to the input");
  }
  for (auto _ : state) {
    // DescomprimirArreglo empties the array it is given, so each round gets a copy.
    TipoArregloByte arreglo = compressed;
    MemoryStream stream;
    DescomprimirArreglo(stream, arreglo);
    benchmark::DoNotOptimize(stream.Data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void DecompressZlib(benchmark::State& state) {
  const TipoArregloByte& data = Input(SizeArg(state));
  const TipoArregloByte& compressed = Compressed(data.size());
  if (InflateDirect(compressed, data.size()) != data) state.SkipWithError("inflate differs");
  for (auto _ : state) {
    const TipoArregloByte out = InflateDirect(compressed, data.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void DecompressLibarchive(benchmark::State& state) {
  const TipoArregloByte& data = Input(SizeArg(state));
  const TipoArregloByte& compressed = Compressed(data.size());
  if (ExtractDirect(compressed, data.size()) != data) state.SkipWithError("extraction differs");
  for (auto _ : state) {
    const TipoArregloByte out = ExtractDirect(compressed, data.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

// Below the 7z threshold: raw DEFLATE.
constexpr std::int64_t kDeflateSize = 19000;
// The 7z path: from the threshold on, then sizes where LZMA takes about a second a round.
constexpr std::int64_t kSevenZipSmall = kSevenZipThreshold;
constexpr std::int64_t kSevenZipMedium = 1 << 20;
constexpr std::int64_t kSevenZipLarge = 5 << 19;  // 2.5 MiB

BENCHMARK(CompressXamu)
    ->Name("CompressDeflate/xamu")
    ->Arg(kDeflateSize)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(CompressZlib)
    ->Name("CompressDeflate/zlib")
    ->Arg(kDeflateSize)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(DecompressXamu)
    ->Name("DecompressDeflate/xamu")
    ->Arg(kDeflateSize)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(DecompressZlib)
    ->Name("DecompressDeflate/zlib")
    ->Arg(kDeflateSize)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();

BENCHMARK(CompressXamu)
    ->Name("Compress7z/xamu")
    ->Arg(kSevenZipSmall)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(CompressLzma)
    ->Name("Compress7z/liblzma")
    ->Arg(kSevenZipSmall)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(CompressXamu)
    ->Name("Compress7z/xamu")
    ->Arg(kSevenZipMedium)
    ->Arg(kSevenZipLarge)
    ->Apply(bench::SingleRounds)
    ->UseRealTime();
BENCHMARK(CompressLzma)
    ->Name("Compress7z/liblzma")
    ->Arg(kSevenZipMedium)
    ->Arg(kSevenZipLarge)
    ->Apply(bench::SingleRounds)
    ->UseRealTime();
BENCHMARK(DecompressXamu)
    ->Name("Decompress7z/xamu")
    ->Arg(kSevenZipMedium)
    ->Arg(kSevenZipLarge)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(DecompressLibarchive)
    ->Name("Decompress7z/libarchive")
    ->Arg(kSevenZipMedium)
    ->Arg(kSevenZipLarge)
    ->Apply(bench::ShortRounds)
    ->UseRealTime();

}  // namespace
}  // namespace xamu
