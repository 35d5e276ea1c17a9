#include <gtest/gtest.h>

#include <stdexcept>

#include "encoding/compresion.h"
#include "service/estructura_paquetes.h"
#include "support/bytes.h"
#include "support/fake_sincronizacion.h"
#include "support/recording_ui.h"
#include "sync/progreso_sincronizacion.h"

namespace xamu {
namespace {

using testing::FakeSincronizacion;
using testing::Hex;

// A service with `packets` answering true, and a structure of `entries`.
FakeSincronizacion Service(std::vector<TipoArregloByte> packets,
                           const SincronizacionArchivoInformacion& entries) {
  FakeSincronizacion service;
  service.results.assign(packets.size(), true);
  service.packets = std::move(packets);
  service.structure = ComprimirArreglo(EscribirEstructura({}, entries));
  return service;
}

struct Transfer {
  testing::RecordingUi ui;
  std::string paso;
  RespuestaSincronizacion answer;

  bool Packets(FakeSincronizacion& service) {
    TipoArregloByte carrier;
    return SincronizarEnPaquetes(service, {.IDCliente = 1, .IDUsuario = 2, .TamanoPaquete = 100},
                                 carrier, answer,
                                 ProgresoSincronizacion(ui, "Sincronizando", paso));
  }
};

TEST(ProgresoSincronizacion, ShowsEachPacketUnderTheCaptionAndRestoresIt) {
  FakeSincronizacion service =
      Service({Hex("01 02 03 04"), Hex("05 06 07 08 09"), Hex("0A 0B")},
              {{6, "Paises.cds", 6, 45000.5, {}}, {7, "Formatos.cds", 5, 45000.5, {}}});
  Transfer run;
  EXPECT_TRUE(run.Packets(service));
  EXPECT_EQ(run.paso, "T : 002");
  EXPECT_EQ(run.ui.textos, (std::vector<std::string>{"Sincronizando\n (2/3)",
                                                     "Sincronizando\n (3/3)", "Sincronizando"}));

  FakeSincronizacion one = Service({Hex("01 02 03 04 05")}, {{6, "A.cds", 2, 45000.5, {}}});
  Transfer single;
  EXPECT_TRUE(single.Packets(one));
  EXPECT_EQ(single.ui.textos, std::vector<std::string>{"Sincronizando"}) << "nothing to fetch";
}

TEST(ProgresoSincronizacion, TheStepMarkerTellsHowFarTheTransferCame) {
  FakeSincronizacion rejected = Service({Hex("01"), Hex("02")}, {{6, "A.cds", 2, 45000.5, {}}});
  rejected.results = {true, false};
  Transfer after_fetch;
  EXPECT_FALSE(after_fetch.Packets(rejected));
  EXPECT_EQ(after_fetch.paso, "T : 001") << "all arrived, the answer refused";

  rejected.code = 67;
  Transfer coded;
  coded.Packets(rejected);
  EXPECT_EQ(coded.paso, "1 / N") << "an error code stops before any fetch";

  FakeSincronizacion broken = Service({Hex("01")}, {});
  broken.structure = Hex("FF FF");
  Transfer unreadable;
  EXPECT_ANY_THROW(unreadable.Packets(broken));
  EXPECT_EQ(unreadable.paso, "T : 001") << "the structure is read after every packet arrived";
}

TEST(ProgresoSincronizacion, AFailedFetchLeavesTheStepMarkerAtThatPacket) {
  FakeSincronizacion service = Service(std::vector<TipoArregloByte>(12, Hex("00")), {});
  service.on_fetch = [](int k) {
    if (k == 5) throw std::runtime_error("connection reset");
  };
  Transfer run;
  EXPECT_THROW(run.Packets(service), std::runtime_error);
  EXPECT_EQ(run.paso, "E : 5 / 12");
  EXPECT_EQ(run.ui.textos.back(), "Sincronizando\n (5/12)");
}

}  // namespace
}  // namespace xamu
