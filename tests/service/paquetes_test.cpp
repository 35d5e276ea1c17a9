#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/writer.h"
#include "service/paquetes.h"
#include "support/bytes.h"
#include "support/recording_ui.h"

namespace xamu {
namespace {

using testing::Hex;

struct Entry {
  std::int16_t id;
  const char* name;
  std::int32_t length;
};

TipoArregloByte Structure(const std::vector<std::int16_t>& formats,
                          const std::vector<Entry>& entries) {
  MemoryStream stream;
  {
    TWriter w(stream);
    w.WriteInteger(static_cast<std::int32_t>(formats.size()));
    for (const std::int16_t f : formats) w.WriteInteger(f);
    w.WriteInteger(static_cast<std::int32_t>(entries.size()));
    for (const Entry& e : entries) {
      w.WriteInteger(e.id);
      w.WriteString(std::u16string(e.name, e.name + std::strlen(e.name)));
      w.WriteInteger(e.length);
      w.WriteDouble(45000.5);  // as the service writes it
    }
  }
  return ComprimirArreglo(std::move(stream));
}

// Plays the service: prepared packets, a structure, and results per packet.
class FakeSincronizacion : public ISincronizacion {
 public:
  std::vector<TipoArregloByte> packets;
  std::vector<bool> results;  // per packet
  TipoArregloByte structure;
  std::int16_t code = 0;
  std::vector<std::string> calls;
  std::function<void(int)> on_fetch;

  bool SincronizarGenerarPaquetes(std::int16_t, std::int16_t, TipoArregloByte& bytes, std::int16_t,
                                  bool, bool, std::int16_t& CodigoError, std::uint8_t&,
                                  std::int32_t& Status, std::int16_t size, std::int16_t& count,
                                  TipoArregloByte& estructura) override {
    calls.push_back("generar " + std::to_string(size));
    CodigoError = code;
    Status = 42;
    count = static_cast<std::int16_t>(packets.size());
    bytes = packets.empty() ? TipoArregloByte() : packets[0];
    estructura = structure;
    return results.empty() ? false : results[0];
  }
  bool SincronizarTraerPaquetes(std::int16_t, TipoArregloByte& bytes, std::int16_t k) override {
    calls.push_back("traer " + std::to_string(k));
    if (on_fetch) on_fetch(k);
    bytes = packets.at(static_cast<std::size_t>(k - 1));
    return results.at(static_cast<std::size_t>(k - 1));
  }
  bool Sincronizar(std::int16_t, std::int16_t, SincronizacionArchivoInformacion&, TipoArregloByte&,
                   std::int16_t, bool, bool, std::int16_t&, std::uint8_t&, std::int32_t&,
                   TipoArregloSmallInt&) override {
    return false;
  }
  void SincronizarConfirmar(std::int16_t, bool, std::int16_t&, std::uint8_t&, std::int32_t&,
                            std::int16_t) override {}
  bool SincronizarProgramas(const std::string&, TipoArregloByte&) override { return false; }
  bool SincronizarProgramasGenerarPaquetes(std::int16_t, const std::string&, TipoArregloByte&,
                                           std::int16_t, std::int16_t&) override {
    return false;
  }
};

struct Outcome {
  bool result = false;
  SincronizacionArchivoInformacion entries;
  TipoArregloSmallInt formats;
  std::int16_t code = 0;
  std::int32_t status = 0;
  std::string paso;
};

Outcome RunPackets(FakeSincronizacion& service, testing::RecordingUi& ui) {
  Outcome o;
  TipoArregloByte carrier = Hex("AA BB");
  std::uint8_t next = 0;
  o.result = SincronizarEnPaquetes(service, 1, 2, 0, false, true, 250, carrier, o.code, next,
                                   o.status, o.entries, o.formats, ui, "Sincronizando", o.paso);
  return o;
}

TEST(SincronizarEnPaquetes, CutsTheReassembledPacketsByLongitud) {
  FakeSincronizacion service;
  service.packets = {Hex("01 02 03 04"), Hex("05 06 07 08 09"), Hex("0A 0B")};
  service.results = {false, false, true};
  service.structure = Structure({4, -5}, {{6, "Paises.cds", 6}, {7, "Formatos.cds", 5}});
  testing::RecordingUi ui;
  const Outcome o = RunPackets(service, ui);
  EXPECT_TRUE(o.result) << "only the last packet's result counts";
  ASSERT_EQ(o.entries.size(), 2u);
  EXPECT_EQ(o.entries[0],
            (Archivo1Sincronizacion{6, "Paises.cds", 6, 45000.5, Hex("01 02 03 04 05 06")}));
  EXPECT_EQ(o.entries[1].Datos, Hex("07 08 09 0A 0B"));
  EXPECT_EQ(o.formats, (TipoArregloSmallInt{4, -5}));
  EXPECT_EQ(o.status, 42);
  EXPECT_EQ(o.paso, "T : 002");
  EXPECT_EQ(service.calls, (std::vector<std::string>{"generar 250", "traer 2", "traer 3"}));
  EXPECT_EQ(ui.textos, (std::vector<std::string>{"Sincronizando\n (2/3)", "Sincronizando\n (3/3)",
                                                 "Sincronizando"}));
}

TEST(SincronizarEnPaquetes, LengthsOfZeroAndSurplusBytes) {
  FakeSincronizacion service;
  service.packets = {Hex("01 02 03 04 05")};
  service.results = {true};
  service.structure = Structure({}, {{6, "A.cds", 2}, {9, "B.cds", 0}, {10, "C.cds", 1}});
  testing::RecordingUi ui;
  const Outcome o = RunPackets(service, ui);
  ASSERT_EQ(o.entries.size(), 3u);
  EXPECT_EQ(o.entries[0].Datos, Hex("01 02"));
  EXPECT_TRUE(o.entries[1].Datos.empty());
  EXPECT_EQ(o.entries[2].Datos, Hex("03")) << "the next entry starts where the empty one did";
  EXPECT_EQ(service.calls.size(), 1u) << "one packet: nothing to fetch";
  EXPECT_EQ(ui.textos, std::vector<std::string>{"Sincronizando"});
}

TEST(SincronizarEnPaquetes, AFalseResultOrAnErrorCodeGivesNoEntries) {
  FakeSincronizacion service;
  service.packets = {Hex("01"), Hex("02")};
  service.results = {true, false};
  service.structure = Structure({}, {{6, "A.cds", 2}});
  testing::RecordingUi ui;
  Outcome o = RunPackets(service, ui);
  EXPECT_FALSE(o.result);
  EXPECT_TRUE(o.entries.empty());
  EXPECT_EQ(o.paso, "T : 001");

  service.code = 67;
  service.calls.clear();
  o = RunPackets(service, ui);
  EXPECT_EQ(o.code, 67);
  EXPECT_TRUE(o.entries.empty());
  EXPECT_EQ(service.calls.size(), 1u) << "no packet is fetched after an error code";
  EXPECT_EQ(o.paso, "1 / N");
}

TEST(SincronizarEnPaquetes, LengthsThatDoNotFitAndBrokenStructuresAreReadErrors) {
  const std::vector<std::pair<const char*, TipoArregloByte>> structures = {
      {"past the end", Structure({}, {{6, "A.cds", 3}, {7, "B.cds", 3}})},
      {"negative", Structure({}, {{6, "A.cds", -1}})},
      {"not a structure", Hex("FF FF")},
      {"short", Structure({1}, {})},
  };
  for (const auto& [name, structure] : structures) {
    FakeSincronizacion service;
    service.packets = {Hex("01 02 03 04 05")};
    service.results = {true};
    service.structure = structure;
    if (std::string(name) == "short")
      service.structure = ComprimirArreglo(MemoryStream(Hex("02 03")));
    testing::RecordingUi ui;
    EXPECT_THROW(RunPackets(service, ui), EReadError) << name;
  }
}

TEST(SincronizarEnPaquetes, AFailedFetchLeavesTheStepMarkerAtThatPacket) {
  FakeSincronizacion service;
  service.packets.assign(12, Hex("00"));
  service.results.assign(12, true);
  service.structure = Structure({}, {});
  service.on_fetch = [](int k) {
    if (k == 5) throw std::runtime_error("connection reset");
  };
  testing::RecordingUi ui;
  TipoArregloByte carrier;
  std::int16_t code = 0;
  std::uint8_t next = 0;
  std::int32_t status = 0;
  SincronizacionArchivoInformacion entries;
  TipoArregloSmallInt formats;
  std::string paso;
  EXPECT_THROW(SincronizarEnPaquetes(service, 1, 2, 0, false, true, 100, carrier, code, next,
                                     status, entries, formats, ui, "S", paso),
               std::runtime_error);
  EXPECT_EQ(paso, "E : 5 / 12");
}

TEST(TraerPaquetes, ProgramFilesShowTheirNameAndEachPacket) {
  FakeSincronizacion service;
  service.packets = {Hex("01"), Hex("02"), Hex("03"), Hex("04"), Hex("05")};
  service.results = {true, true, true, true, false};
  std::vector<std::string> shown;
  MemoryStream stream;
  stream.Write(service.packets[0].data(), 1);
  TipoArregloByte carrier;
  const ProgresoPaquetes progress{
      [&](int k, int n) {
        shown.push_back("XAMUWEB.EXE (" + std::to_string(k) + "/" + std::to_string(n) + ")");
      },
      nullptr, nullptr};
  EXPECT_FALSE(TraerPaquetes(service, 2, 5, stream, carrier, true, progress));
  EXPECT_EQ(stream.Bytes(), Hex("01 02 03 04 05"));
  EXPECT_EQ(shown, (std::vector<std::string>{"XAMUWEB.EXE (2/5)", "XAMUWEB.EXE (3/5)",
                                             "XAMUWEB.EXE (4/5)", "XAMUWEB.EXE (5/5)"}));
  EXPECT_TRUE(TraerPaquetes(service, 2, 1, stream, carrier, true, progress)) << "nothing to fetch";
  EXPECT_TRUE(TraerPaquetes(service, 2, 0, stream, carrier, true, progress));
}

}  // namespace
}  // namespace xamu
