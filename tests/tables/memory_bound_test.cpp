#include <gtest/gtest.h>

#include <filesystem>

#include "encoding/little_endian.h"
#include "encoding/writer.h"
#include "platform/file_system.h"
#include "support/peak_memory.h"
#include "support/silent_ui.h"
#include "support/temp_dir.h"
#include "tables/catalogo.h"
#include "tables/data_packet.h"
#include "tables/grabar_tabla.h"

// Inputs far larger than any table, each made of what costs the reader or a builder the
// most memory for its size; whatever they keep of it stays within four times its size.
namespace xamu {
namespace {

using testing::AnswerBound;
using testing::PeakMemoryOf;

constexpr std::size_t kInputSize = std::size_t{48} << 20;

struct BuildRun {
  std::int16_t code = 0;
  std::optional<std::size_t> peak;
};

BuildRun Build(std::int16_t id, MemoryStream& input, const testing::TempDir& dir) {
  BuildRun run;
  testing::SilentUi ui;
  run.peak = PeakMemoryOf([&] {
    GrabarTablaCDS(id, dir.Path().string(), "tabla.cds", input, run.code, ui, DatosAviso{},
                   platform::RealFileSystem());
  });
  return run;
}

// The header of a packet with neither flag for the data offset.
TipoArregloByte Header(std::uint16_t columns, std::uint32_t rows) {
  TipoArregloByte bytes;
  AppendLittleEndian(bytes, packet::kMagic, 4);
  AppendLittleEndian(bytes, 1, 2);
  AppendLittleEndian(bytes, 0, 2);
  AppendLittleEndian(bytes, packet::kHeaderSize, 4);
  AppendLittleEndian(bytes, columns, 2);
  AppendLittleEndian(bytes, rows, 4);
  AppendLittleEndian(bytes, packet::kFlagMetadata, 4);
  AppendLittleEndian(bytes, 0, 2);
  return bytes;
}

// A packet without columns, of rows that are their state byte alone.
TipoArregloByte SingleByteRows() {
  const std::uint32_t rows = kInputSize;
  TipoArregloByte bytes = Header(0, rows);
  AppendLittleEndian(bytes, 0, 2);  // no dataset properties
  bytes.resize(bytes.size() + rows, packet::kRowInserted);
  return bytes;
}

// Columns carrying as many properties as they can, each a five-byte empty one.
TipoArregloByte PropertiesOnly() {
  const std::uint16_t columns = kInputSize / (5 * 0xFFFF) + 1;
  TipoArregloByte bytes = Header(columns, 0);
  for (std::uint16_t c = 0; c < columns; ++c) {
    bytes.insert(bytes.end(), {1, 'c'});
    AppendLittleEndian(bytes, packet::kTypeInt16, 4);
    AppendLittleEndian(bytes, 0, 2);
    AppendLittleEndian(bytes, 0xFFFF, 2);
    for (int p = 0; p < 0xFFFF; ++p) bytes.insert(bytes.end(), {0, 0, 0, 0, 0});
  }
  AppendLittleEndian(bytes, 0, 2);
  return bytes;
}

TEST(MemoryBound, DatasetFilesOfTheCostliestForms) {
  const struct {
    const char* name;
    TipoArregloByte (*make)();
    bool loads;
  } cases[] = {
      {"single-byte rows", SingleByteRows, true},
      {"properties only", PropertiesOnly, false},
  };
  const std::int16_t paquete = 3;
  ASSERT_EQ(BuscarTabla(paquete)->tipo, TipoTabla::kPaquete);
  bool measured = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    MemoryStream input(c.make());
    const BuildRun run = Build(paquete, input, dir);
    EXPECT_EQ(run.code, c.loads ? 0 : BuscarTabla(paquete)->codigo);
    if (c.loads) {
      EXPECT_EQ(std::filesystem::file_size(dir.File("tabla.cds")), input.Size());
    }
    measured = measured && run.peak;
    if (!run.peak) continue;
    RecordProperty(c.name, std::to_string(*run.peak));
    EXPECT_LE(*run.peak, AnswerBound(input.Size()))
        << *run.peak / (1 << 20) << " MiB for " << input.Size() / (1 << 20) << " MiB";
  }
  if (!measured) GTEST_SKIP() << "results checked; peak memory cannot be measured here";
}

// Table 70's rows are three small integers, six bytes in the stream; the dataset adds the
// row's state and null bitmap, and twelve bytes of change log.
TEST(MemoryBound, TableBuiltFromAValueStreamOfTheCheapestRows) {
  const std::int16_t lista = 70;
  ASSERT_EQ(BuscarTabla(lista)->columnas.size(), 3u);
  MemoryStream input;
  {
    TWriter writer(input);
    writer.WriteListBegin();
    for (std::size_t row = 0; row < kInputSize / 6; ++row) {
      for (int column = 0; column < 3; ++column) writer.WriteInteger(1);
    }
    writer.WriteListEnd();
  }
  testing::TempDir dir;
  const BuildRun run = Build(lista, input, dir);
  EXPECT_EQ(run.code, 0);
  EXPECT_GT(std::filesystem::file_size(dir.File("tabla.cds")), input.Size());
  if (!run.peak) GTEST_SKIP() << "peak memory cannot be measured here";
  RecordProperty("peak", std::to_string(*run.peak));
  EXPECT_LE(*run.peak, AnswerBound(input.Size()))
      << *run.peak / (1 << 20) << " MiB for " << input.Size() / (1 << 20) << " MiB";
}

}  // namespace
}  // namespace xamu
