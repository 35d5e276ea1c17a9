// The format synchronization driver against fake services, on a real folder.
#include "sync/sincronizar_formatos.h"

#include <gtest/gtest.h>

#include "platform/file_times.h"
#include "service/errors.h"
#include "service/estructura_paquetes.h"
#include "support/files.h"
#include "sync/sync_fixture.h"
#include "tables/data_packet.h"

namespace xamu {
namespace {

using testing::Entry;
using Call = testing::FaultyFileSystem::Call;

const TipoArregloByte kPrograma = {'#', '!', 'x', 'a', 'm', 'u'};

// What the driver left.
struct Result {
  std::int16_t CodigoError = 0;
  std::int32_t Status = 0;
  std::string texto_error;
};

// Runs the driver on the installation the environment points to.
Result RunDriver(const EntornoSincronizacion& entorno, const std::string& ruta) {
  Result r;
  std::uint8_t accion = 0;
  TipoArregloByte cds = {1, 2, 3};
  SincronizarFormatos({.IDCliente = 17, .IDUsuario = 203, .DebeSincronizarProgramas = true},
                      r.CodigoError, accion, r.Status, cds, ruta, r.texto_error, entorno);
  return r;
}

class Driver : public ::testing::Test {
 protected:
  Result Run() { return RunDriver(in_.Entorno(service_), in_.ruta); }
  std::vector<std::uint16_t> Notices() const {
    std::vector<std::uint16_t> codes;
    for (const DatosAviso& a : in_.ui.avisos) codes.push_back(a.CodigoError);
    return codes;
  }

  testing::Installation in_;
  testing::WholeAnswerService service_;
};

TEST_F(Driver, ProgramFilesAreStagedTablesBuiltAndTheInstallConfirmed) {
  service_.entradas = {Entry(1, "XamuReportes.exe", kPrograma),
                       Entry(1, "Iconos.ReS", kPrograma, false),
                       Entry(28, "Adjetivos.cds", testing::AdjetivosStream(u"Bueno")),
                       Entry(500, "Desconocida.cds", {1, 2, 3})};
  const Result r = Run();
  EXPECT_EQ(r.CodigoError, 0);
  EXPECT_EQ(r.Status, 99) << "the confirmation's answer";
  EXPECT_EQ(service_.confirmations, 1);
  EXPECT_EQ(r.texto_error, "");
  EXPECT_EQ(in_.paso, "T : 004");
  EXPECT_EQ(in_.fase, 600) << "the last entry's IDObjeto + 100";
  EXPECT_EQ(testing::ReadFile(in_.Path("Work1/XamuReportes.exe").string()), kPrograma);
  EXPECT_EQ(testing::ReadFile(in_.Path("Work1/Iconos.ReS").string()), kPrograma)
      << "a RES file is written as received";
  const double fecha = *platform::LastWriteTime(in_.Path("Work1/XamuReportes.exe").string());
  EXPECT_NEAR(fecha, service_.entradas[0].Fecha, 2.0 / 86400) << "in 2-second steps";
  EXPECT_EQ(
      ReadDataPacket(testing::ReadFile(in_.Path("ArchivosCDS/Adjetivos.cds").string())).RowCount(),
      1u);
  EXPECT_FALSE(in_.Exists("ArchivosCDS/Desconocida.cds")) << "no builder, nothing written";
  for (const char* folder : {"ArchivosCDS", "Temporales", "Work1", "Comp"})
    EXPECT_TRUE(std::filesystem::is_directory(in_.Path(folder))) << folder;
  EXPECT_TRUE(in_.ui.avisos.empty());
}

TEST_F(Driver, NamesWithAMeaningHoldBackTheTablesOrTheConfirmation) {
  struct Case {
    const char* nombre;
    bool tables_built;
  };
  for (const Case c : {Case{"LauncherXamuWEB.exe", false}, Case{"XAMUwebIP.ini", true}}) {
    testing::Installation in;
    testing::WholeAnswerService service;
    service.entradas = {Entry(1, c.nombre, kPrograma),
                        Entry(28, "Adjetivos.cds", testing::AdjetivosStream(u"Bueno"))};
    const Result r = RunDriver(in.Entorno(service), in.ruta);
    EXPECT_EQ(r.CodigoError, 0) << c.nombre;
    EXPECT_TRUE(in.Exists(std::string("Work1/") + c.nombre)) << c.nombre;
    EXPECT_EQ(in.Exists("ArchivosCDS/Adjetivos.cds"), c.tables_built) << c.nombre;
    EXPECT_EQ(service.confirmations, 0) << c.nombre;
  }
}

TEST_F(Driver, AnEmptyAnswerPreparesTheFoldersAndConfirmsNothing) {
  EXPECT_EQ(Run().CodigoError, 0);
  EXPECT_TRUE(std::filesystem::is_directory(in_.Path("Comp")));
  EXPECT_EQ(in_.paso, "T : 004");
  EXPECT_EQ(service_.confirmations, 0);
}

TEST_F(Driver, AFalseOrFailedAnswerWritesNothing) {
  for (const auto& [result, code] : {std::pair{false, 0}, std::pair{true, 5}}) {
    testing::Installation in;
    testing::WholeAnswerService service;
    service.result = result;
    service.code = static_cast<std::int16_t>(code);
    service.entradas = {Entry(1, "XamuReportes.exe", kPrograma)};
    const Result r = RunDriver(in.Entorno(service), in.ruta);
    EXPECT_EQ(r.CodigoError, code);
    EXPECT_EQ(in.paso, "1 / 1");
    EXPECT_FALSE(in.Exists("Work1"));
  }
}

TEST_F(Driver, TheFirstFolderThatCannotBeWrittenStopsEverything) {
  struct Case {
    int probe;  // which probe's temporary file fails
    std::string folder;
  };
  for (const Case& c : {Case{1, ""}, Case{2, "ArchivosCDS"}, Case{5, "Comp"}}) {
    testing::Installation in;
    testing::WholeAnswerService service;
    service.entradas = {Entry(1, "XamuReportes.exe", kPrograma)};
    in.files.FailFrom(Call::kCreateTempFile, c.probe, "Permission denied");
    const Result r = RunDriver(in.Entorno(service), in.ruta);
    EXPECT_EQ(r.texto_error, "Folder: " + in.ruta + c.folder + "is write protected");
    EXPECT_EQ(r.CodigoError, 0);
    EXPECT_EQ(in.paso, "T : 003");
    EXPECT_EQ(in.fase, 1);
    EXPECT_FALSE(in.Exists("Work1/XamuReportes.exe"));
    EXPECT_EQ(service.confirmations, 0);
  }
}

TEST_F(Driver, AProgramFileThatCannotBeStagedShowsNotice24AndHoldsBackTheConfirmation) {
  struct Case {
    const char* what;
    Archivo1Sincronizacion entry;
    std::vector<std::uint16_t> notices;
  };
  Archivo1Sincronizacion old = Entry(1, "Viejo.exe", kPrograma);
  old.Fecha = 20000;  // 1954: its date cannot be set
  Archivo1Sincronizacion corrupt = Entry(1, "Roto.dll", {}, false);
  corrupt.Datos = {0xFF, 0xFF, 0xFF};  // raw DEFLATE that does not inflate
  const Case cases[] = {
      {"a date before 1980", old, {24}},
      {"a name leaving Work1", Entry(1, "../Fuera.exe", kPrograma), {24}},
      {"a separator of the other kind", Entry(1, "..\\Fuera.exe", kPrograma), {24}},
      {"data that does not decompress", corrupt, {24}},
  };
  for (const Case& c : cases) {
    testing::Installation in;
    testing::WholeAnswerService service;
    service.entradas = {c.entry, Entry(28, "Adjetivos.cds", testing::AdjetivosStream(u"Bueno"))};
    const Result r = RunDriver(in.Entorno(service), in.ruta);
    std::vector<std::uint16_t> notices;
    for (const DatosAviso& a : in.ui.avisos) {
      notices.push_back(a.CodigoError);
      EXPECT_FALSE(a.MostrarCodigo) << c.what;
      EXPECT_EQ(a.NombreCliente, "Banco") << c.what;
    }
    EXPECT_EQ(notices, c.notices) << c.what;
    EXPECT_EQ(r.CodigoError, 0) << c.what << ": the second pass sets it back";
    EXPECT_TRUE(in.Exists("ArchivosCDS/Adjetivos.cds")) << c.what;
    EXPECT_EQ(service.confirmations, 0) << c.what;
    EXPECT_FALSE(in.Exists("Fuera.exe")) << c.what;
    EXPECT_FALSE(in.Exists("Work1/Roto.dll")) << c.what;
  }
}

TEST_F(Driver, AFailingTableEndsTheSecondPass) {
  service_.entradas = {Entry(-8, "Cuentas.cds", {0x07, 0x07}),
                       Entry(28, "Adjetivos.cds", testing::AdjetivosStream(u"Bueno"))};
  EXPECT_EQ(Run().CodigoError, 182);
  EXPECT_EQ(in_.fase, 92);
  EXPECT_FALSE(in_.Exists("ArchivosCDS/Adjetivos.cds")) << "later tables are not written";
  EXPECT_EQ(service_.confirmations, 0);
}

TEST_F(Driver, AnErrorThatEscapesTheInstallShowsTheCodeInsteadOfConfirming) {
  // A 7z archive the codec rejects.
  Archivo1Sincronizacion broken = Entry(28, "Adjetivos.cds", {}, false);
  broken.Datos = {0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C, 0x00, 0x04, 0x01};
  service_.entradas = {Entry(1, "XamuReportes.exe", kPrograma), broken};
  const Result r = Run();
  ASSERT_EQ(in_.ui.avisos.size(), 1u);
  EXPECT_TRUE(in_.ui.avisos[0].MostrarCodigo);
  EXPECT_EQ(in_.ui.avisos[0].Status, 77);
  EXPECT_EQ(service_.confirmations, 0);
  EXPECT_EQ(in_.paso, "T : 004");
  EXPECT_EQ(r.CodigoError, 0);
  EXPECT_TRUE(in_.Exists("Work1/XamuReportes.exe")) << "what was written stays";
}

TEST_F(Driver, ServiceErrorsLeaveTheDriver) {
  service_.on_call = [] { throw ESOAPHTTPException("Couldn't connect to server"); };
  EXPECT_THROW(Run(), ESOAPHTTPException);
  service_.on_call = nullptr;
  service_.entradas = {Entry(1, "XamuReportes.exe", kPrograma)};
  // The later of two entries of one name is the one staged.
  service_.entradas.push_back(Entry(1, "xamureportes.EXE", {'n', 'e', 'w'}));
  EXPECT_EQ(Run().CodigoError, 0);
  EXPECT_EQ(testing::ReadFile(in_.Path("Work1/XamuReportes.exe").string()),
            (TipoArregloByte{'n', 'e', 'w'}));
}

TEST_F(Driver, PacketsAreFetchedWhenTheSettingsAskForThem) {
  testing::FakeSincronizacion packets;
  const Archivo1Sincronizacion e = Entry(28, "Adjetivos.cds", testing::AdjetivosStream(u"Bien"));
  const std::size_t half = e.Datos.size() / 2;
  packets.packets = {TipoArregloByte(e.Datos.begin(), e.Datos.begin() + half),
                     TipoArregloByte(e.Datos.begin() + half, e.Datos.end())};
  packets.results = {true, true};
  packets.structure = ComprimirArreglo(EscribirEstructura({}, {e}));
  EntornoSincronizacion entorno = in_.Entorno(packets);
  entorno.BloqueDeDatosStatus = true;
  entorno.BloqueDeDatosValor = 4096;
  const Result r = RunDriver(entorno, in_.ruta);
  EXPECT_EQ(packets.calls, (std::vector<std::string>{"generar 4096", "traer 2"}));
  EXPECT_EQ(r.CodigoError, 0);
  EXPECT_TRUE(in_.Exists("ArchivosCDS/Adjetivos.cds"));
  EXPECT_EQ(in_.paso, "T : 004");
  EXPECT_EQ(in_.ui.textos.back(), "Sincronizando") << "the caption put back";
}

}  // namespace
}  // namespace xamu
