#include <gtest/gtest.h>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/writer.h"
#include "encoding/zlib_codec.h"
#include "service/estructura_paquetes.h"
#include "service/paquetes.h"
#include "support/bytes.h"
#include "support/fake_sincronizacion.h"
#include "support/peak_memory.h"

namespace xamu {
namespace {

using testing::FakeSincronizacion;
using testing::Hex;

TipoArregloByte Structure(const TipoArregloSmallInt& formats,
                          const SincronizacionArchivoInformacion& entries) {
  return ComprimirArreglo(EscribirEstructura(formats, entries));
}

// An entry of the structure, dated as the service dates them.
Archivo1Sincronizacion Entry(std::int16_t id, const char* name, std::int32_t length) {
  return {id, name, length, 45000.5, {}};
}

struct Outcome {
  bool result = false;
  SincronizacionArchivoInformacion entries;
  TipoArregloSmallInt formats;
  std::int16_t code = 0;
  std::int32_t status = 0;
};

Outcome RunPackets(FakeSincronizacion& service) {
  TipoArregloByte carrier = Hex("AA BB");
  RespuestaSincronizacion answer;
  const bool result = SincronizarEnPaquetes(
      service,
      {.IDCliente = 1, .IDUsuario = 2, .DebeSincronizarProgramas = true, .TamanoPaquete = 250},
      carrier, answer, {});
  return {result, answer.entradas, answer.ArregloFormatos, answer.CodigoError, answer.Status};
}

TEST(SincronizarEnPaquetes, CutsTheReassembledPacketsByLongitud) {
  FakeSincronizacion service;
  service.packets = {Hex("01 02 03 04"), Hex("05 06 07 08 09"), Hex("0A 0B")};
  service.results = {false, false, true};
  service.structure = Structure({4, -5}, {Entry(6, "Paises.cds", 6), Entry(7, "Formatos.cds", 5)});
  const Outcome o = RunPackets(service);
  EXPECT_TRUE(o.result) << "only the last packet's result counts";
  ASSERT_EQ(o.entries.size(), 2u);
  EXPECT_EQ(o.entries[0],
            (Archivo1Sincronizacion{6, "Paises.cds", 6, 45000.5, Hex("01 02 03 04 05 06")}));
  EXPECT_EQ(o.entries[1].Datos, Hex("07 08 09 0A 0B"));
  EXPECT_EQ(o.formats, (TipoArregloSmallInt{4, -5}));
  EXPECT_EQ(o.status, 42);
  EXPECT_EQ(service.calls, (std::vector<std::string>{"generar 250", "traer 2", "traer 3"}));
}

TEST(SincronizarEnPaquetes, LengthsOfZeroAndSurplusBytes) {
  FakeSincronizacion service;
  service.packets = {Hex("01 02 03 04 05")};
  service.results = {true};
  service.structure =
      Structure({}, {Entry(6, "A.cds", 2), Entry(9, "B.cds", 0), Entry(10, "C.cds", 1)});
  const Outcome o = RunPackets(service);
  ASSERT_EQ(o.entries.size(), 3u);
  EXPECT_EQ(o.entries[0].Datos, Hex("01 02"));
  EXPECT_TRUE(o.entries[1].Datos.empty());
  EXPECT_EQ(o.entries[2].Datos, Hex("03")) << "the next entry starts where the empty one did";
  EXPECT_EQ(service.calls.size(), 1u) << "one packet: nothing to fetch";
}

TEST(SincronizarEnPaquetes, AFalseResultOrAnErrorCodeGivesNoEntries) {
  FakeSincronizacion service;
  service.packets = {Hex("01"), Hex("02")};
  service.results = {true, false};
  service.structure = Structure({}, {Entry(6, "A.cds", 2)});
  Outcome o = RunPackets(service);
  EXPECT_FALSE(o.result);
  EXPECT_TRUE(o.entries.empty());

  service.code = 67;
  service.calls.clear();
  o = RunPackets(service);
  EXPECT_EQ(o.code, 67);
  EXPECT_TRUE(o.entries.empty());
  EXPECT_EQ(service.calls.size(), 1u) << "no packet is fetched after an error code";
}

TEST(SincronizarEnPaquetes, LengthsThatDoNotFitAndBrokenStructuresAreReadErrors) {
  const std::vector<std::pair<const char*, TipoArregloByte>> structures = {
      {"past the end", Structure({}, {Entry(6, "A.cds", 3), Entry(7, "B.cds", 3)})},
      {"negative", Structure({}, {Entry(6, "A.cds", -1)})},
      {"not a structure", Hex("FF FF")},
      {"short", ComprimirArreglo(MemoryStream(Hex("02 03")))},
      // No formats, then a count of 5 000 000 entries in a structure of 7 bytes.
      {"more entries than it can hold",
       ComprimirArreglo(MemoryStream(Hex("02 00 04 40 4B 4C 00")))},
  };
  for (const auto& [name, structure] : structures) {
    FakeSincronizacion service;
    service.packets = {Hex("01 02 03 04 05")};
    service.results = {true};
    service.structure = structure;
    EXPECT_THROW(RunPackets(service), EReadError) << name;
  }
}

// A structure without formats of `count` entries without a name or data, dated by the
// integer `date`.
MemoryStream EntriesDatedBy(int count, std::int32_t date) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteInteger(0);
    writer.WriteInteger(count);
    for (int i = 0; i < count; ++i) {
      writer.WriteInteger(6);
      writer.WriteString(u"");
      writer.WriteInteger(0);
      writer.WriteInteger(date);
    }
  }
  return stream;
}

// The service writes dates as doubles, but the stream may hold any number: an entry may
// take eight bytes, not fifteen.
TEST(SincronizarEnPaquetes, EntriesDatedByIntegersAreRead) {
  MemoryStream stream = EntriesDatedBy(10, 45000);
  FakeSincronizacion service;
  service.packets = {Hex("01")};
  service.results = {true};
  service.structure = ComprimirArreglo(std::move(stream));
  const Outcome o = RunPackets(service);
  ASSERT_EQ(o.entries.size(), 10u);
  EXPECT_EQ(o.entries[9].Fecha, 45000.0);
}

// Five million entries, 55 MB that deflate to some 100 KB: refused, holding no more than
// the decompressed structure itself.
TEST(SincronizarEnPaquetes, AStructureOfMillionsOfEntriesCostsNoMoreThanItself) {
  const MemoryStream stream = EntriesDatedBy(5000000, 0);
  FakeSincronizacion service;
  service.packets = {Hex("01")};
  service.results = {true};
  service.structure = DeflateRaw(stream.Bytes());
  const std::size_t arrived = service.structure.size();
  bool refused = false;
  const std::optional<std::size_t> peak = testing::PeakMemoryOf([&] {
    try {
      RunPackets(service);
    } catch (const EReadError&) {
      refused = true;
    }
  });
  EXPECT_TRUE(refused);
  if (!peak) GTEST_SKIP() << "peak memory cannot be measured here";
  RecordProperty("peak", std::to_string(*peak));
  RecordProperty("arrived", std::to_string(arrived));
  EXPECT_LE(*peak, testing::AnswerBound(arrived) + stream.Size() + stream.Size() / 4)
      << *peak / (1 << 20) << " MiB";
}

TEST(TraerPaquetes, ProgramFilesShowTheirNameAndEachPacket) {
  FakeSincronizacion service;
  service.packets = {Hex("01"), Hex("02"), Hex("03"), Hex("04"), Hex("05")};
  service.results = {true, true, true, true, false};
  std::vector<std::string> shown;
  MemoryStream stream;
  stream.Write(service.packets[0].data(), 1);
  TipoArregloByte carrier;
  const ProgresoPaquetes progress{.before_fetch = [&](int k, int n) {
    shown.push_back("XAMUWEB.EXE (" + std::to_string(k) + "/" + std::to_string(n) + ")");
  }};
  EXPECT_FALSE(TraerPaquetes(service, 2, 5, stream, carrier, true, progress));
  EXPECT_EQ(stream.Bytes(), Hex("01 02 03 04 05"));
  EXPECT_EQ(shown, (std::vector<std::string>{"XAMUWEB.EXE (2/5)", "XAMUWEB.EXE (3/5)",
                                             "XAMUWEB.EXE (4/5)", "XAMUWEB.EXE (5/5)"}));
  EXPECT_TRUE(TraerPaquetes(service, 2, 1, stream, carrier, true, progress)) << "nothing to fetch";
  EXPECT_TRUE(TraerPaquetes(service, 2, 0, stream, carrier, true, progress));
}

}  // namespace
}  // namespace xamu
