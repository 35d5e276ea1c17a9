// Value stream writing and reading against a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "encoding/reader.h"
#include "encoding/writer.h"
#include "rounds.h"

namespace xamu {
namespace {

// One value of the mix, in stream order.
struct Value {
  enum class Kind { kListBegin, kListEnd, kInt32, kInt64, kString, kFloat };
  Kind kind = Kind::kListBegin;
  std::int64_t integer = 0;
  std::u16string text;
  long double real = 0;
};

constexpr std::array<std::u16string_view, 6> kNames = {
    u"Pedro Alvarez", u"Maria Gomez", u"Luis Herrera", u"Ana Torres", u"Jorge Ruiz", u"Sara Diaz"};
// Latin text with some accents travels as UTF-8, Greek as UTF-16.
constexpr std::array<std::u16string_view, 6> kAccented = {
    u"José Núñez",   u"Peñalosa & Cía.", u"Cañón del Chicamocha",
    u"Bogotá, D.C.", u"Ñandú Güemes",    u"Αθήνα"};

// About 520 KB of stream: a list of rows, each a list of integers of every width, short
// and accented strings and a price, with a long description in every eighth row.
std::vector<Value> MakeMix() {
  std::mt19937_64 random(7);
  const auto between = [&random](std::int64_t lo, std::int64_t hi) {
    return lo + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(hi - lo + 1));
  };
  std::u16string description;
  while (description.size() < 600) description += u"Producto de papeleria escolar y de oficina. ";
  std::vector<Value> mix;
  const auto add = [&mix](Value::Kind kind) -> Value& {
    Value& value = mix.emplace_back();
    value.kind = kind;
    return value;
  };
  add(Value::Kind::kListBegin);
  for (int row = 0; row < 4000; ++row) {
    add(Value::Kind::kListBegin);
    add(Value::Kind::kInt32).integer = between(-100, 100);
    add(Value::Kind::kInt32).integer = between(-30000, 30000);
    add(Value::Kind::kInt32).integer = between(100000, 2000000000);
    add(Value::Kind::kInt64).integer = between(10'000'000'000, 900'000'000'000'000);
    add(Value::Kind::kString).text =
        u"ART-" + std::u16string(1, u'A' + row % 26) + std::u16string(1, u'0' + row % 10);
    add(Value::Kind::kString).text = kNames[static_cast<std::size_t>(between(0, 5))];
    add(Value::Kind::kString).text = kAccented[static_cast<std::size_t>(between(0, 5))];
    add(Value::Kind::kFloat).real = static_cast<long double>(between(100, 9'999'999)) / 100;
    if (row % 8 == 0) {
      add(Value::Kind::kString).text =
          description.substr(0, static_cast<std::size_t>(between(300, 600)));
    }
    add(Value::Kind::kListEnd);
  }
  add(Value::Kind::kListEnd);
  return mix;
}

void WriteMix(TWriter& writer, const std::vector<Value>& mix) {
  for (const Value& v : mix) {
    switch (v.kind) {
      case Value::Kind::kListBegin:
        writer.WriteListBegin();
        break;
      case Value::Kind::kListEnd:
        writer.WriteListEnd();
        break;
      case Value::Kind::kInt32:
        writer.WriteInteger(static_cast<std::int32_t>(v.integer));
        break;
      case Value::Kind::kInt64:
        writer.WriteInteger(v.integer);
        break;
      case Value::Kind::kString:
        writer.WriteString(v.text);
        break;
      case Value::Kind::kFloat:
        writer.WriteFloat(v.real);
        break;
    }
  }
}

// Reads the mix back as a caller that knows the layout would. With `check`, whether every
// value equals the one written; without, only enough use of each value to keep it alive.
bool ReadMix(TReader& reader, const std::vector<Value>& mix, bool check) {
  bool same = true;
  for (const Value& v : mix) {
    switch (v.kind) {
      case Value::Kind::kListBegin:
        reader.CheckValue(TValueType::vaList);
        break;
      case Value::Kind::kListEnd:
        same &= reader.EndOfList();
        reader.CheckValue(TValueType::vaNull);
        break;
      case Value::Kind::kInt32: {
        const std::int32_t value = reader.ReadInteger();
        same &= !check || value == v.integer;
        break;
      }
      case Value::Kind::kInt64: {
        const std::int64_t value = reader.ReadInt64();
        same &= !check || value == v.integer;
        break;
      }
      case Value::Kind::kString: {
        const std::u16string value = reader.ReadString();
        same &= check ? value == v.text : !value.empty();
        break;
      }
      case Value::Kind::kFloat: {
        const long double value = reader.ReadFloat();
        same &= !check || value == v.real;
        break;
      }
    }
  }
  return same;
}

const std::vector<Value>& Mix() {
  static const std::vector<Value> mix = MakeMix();
  return mix;
}

const TipoArregloByte& EncodedMix() {
  static const TipoArregloByte bytes = [] {
    MemoryStream stream;
    {
      TWriter writer(stream);
      WriteMix(writer, Mix());
    }
    return stream.Take();
  }();
  return bytes;
}

void ValueStreamWriteXamu(benchmark::State& state) {
  const std::vector<Value>& mix = Mix();
  for (auto _ : state) {
    MemoryStream sink;
    {
      TWriter writer(sink);
      WriteMix(writer, mix);
    }
    benchmark::DoNotOptimize(sink.Data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * EncodedMix().size()));
}

void ValueStreamWriteMemcpy(benchmark::State& state) {
  const TipoArregloByte& bytes = EncodedMix();
  for (auto _ : state) {
    MemoryStream sink;
    sink.Write(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(sink.Data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void ValueStreamReadXamu(benchmark::State& state) {
  const std::vector<Value>& mix = Mix();
  MemoryStream source(EncodedMix());
  {
    TReader reader(source);
    if (!ReadMix(reader, mix, true)) state.SkipWithError("the mix does not read back as written");
  }
  for (auto _ : state) {
    source.Seek(0);
    TReader reader(source);
    benchmark::DoNotOptimize(ReadMix(reader, mix, false));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.Size()));
}

void ValueStreamReadMemcpy(benchmark::State& state) {
  MemoryStream source(EncodedMix());
  TipoArregloByte out(source.Size());
  for (auto _ : state) {
    source.Seek(0);
    benchmark::DoNotOptimize(source.Read(out.data(), out.size()));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.Size()));
}

BENCHMARK(ValueStreamWriteXamu)
    ->Name("ValueStreamWrite/xamu")
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(ValueStreamWriteMemcpy)
    ->Name("ValueStreamWrite/memcpy")
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(ValueStreamReadXamu)
    ->Name("ValueStreamRead/xamu")
    ->Apply(bench::ShortRounds)
    ->UseRealTime();
BENCHMARK(ValueStreamReadMemcpy)
    ->Name("ValueStreamRead/memcpy")
    ->Apply(bench::ShortRounds)
    ->UseRealTime();

}  // namespace
}  // namespace xamu
