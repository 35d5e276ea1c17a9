// The launcher's whole run in this process, its window driven and its modal windows
// answered, against xamu-service: the straight path, the session's and the worker's
// failures, the user data form, the update offer and the download of program files.
#include "launcher/lanzador.h"

#include <QLabel>
#include <QRadioButton>
#include <algorithm>
#include <fstream>
#include <regex>

#include "encoding/compresion.h"
#include "launcher/lanzador_fixture.h"
#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/local_time.h"
#include "support/run_command.h"
#include "ui/codigos.h"

namespace xamu::testing {
namespace {

constexpr const char* kSinProgramas = "";
const std::string kTresProgramas = "XamuReportes.exe, XamuGraficos.dll, XamuIconos.res";

class Arranque : public LanzadorFixture {};

TEST_F(Arranque, GoesStraightThroughWholeOrInPackets) {
  struct Case {
    const char* settings;
    const char* operation;
  };
  const Case cases[] = {
      {"", "Sincronizar"},
      {"BloqueDeDatosStatus=1\nBloqueDeDatosValor=4096\n", "SincronizarGenerarPaquetes"}};
  for (const Case& c : cases) {
    Fresh();
    Session("", kSinProgramas);
    StartService(c.settings);
    Run();
    EXPECT_TRUE(proceso_terminado) << c.operation;
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(Tables(), 31u);
    const std::vector<std::string> ops = Operations();
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops.front(), "AutenticarCliente");
    EXPECT_EQ(ops[1], c.operation);
    EXPECT_EQ(ops.back(), "SincronizarConfirmar");
    EXPECT_EQ(estado_->Sincronizacion.CodigoError, 0);
    EXPECT_TRUE(estado_->Sincronizacion.FinalizarLanzador) << "the hand-off ran";
    EXPECT_EQ(lanzador_->Ventana().ProgressBar1->value(), 100);
  }
}

TEST_F(Arranque, WhileTheWorkerRunsTheTimerStepCyclesTheBarThroughOneToHundred) {
  Lanzador lanzador(*estado_, {.TerminarProceso = [] { FAIL() << "nothing has ended"; },
                               .TerminarAplicacion = [] { FAIL() << "nothing has ended"; }});
  lanzador.Etapa = 1;
  std::vector<int> positions;
  for (int i = 0; i < 102; ++i) {
    lanzador.Timer1Timer();
    positions.push_back(lanzador.Ventana().ProgressBar1->value());
  }
  EXPECT_EQ(positions[0], 1);
  EXPECT_EQ(positions[99], 100);
  EXPECT_EQ(positions[100], 1) << "after 100 it starts again";
  EXPECT_EQ(positions[101], 2);
}

TEST_F(Arranque, AStartRemovesWhatAnInterruptedReplacementLeft) {
  Session("", kSinProgramas);
  fs::create_directories(install_ / "ArchivosCDS");
  const fs::path leftover = install_ / "ArchivosCDS" / ".Paises.cds.xamu-Ab12Cd";
  const fs::path own = install_ / "ArchivosCDS" / ".notas";
  std::ofstream(leftover) << std::string(1000, 'x');
  std::ofstream(own) << "the user's";
  StartService();
  Run();
  EXPECT_TRUE(proceso_terminado);
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(own));
}

TEST_F(Arranque, TheWorkersFailuresEndWithTheirOneMessage) {
  struct Case {
    const char* faults;
    const char* shown;  // a regular expression
  };
  const Case cases[] = {
      {"[Sincronizar]\nCodigoError=67\nStatus=3\n",
       "aviso: Servidor en mantenimiento.\nIntente más tarde.\n"},
      {"[Sincronizar]\nSoapFault=Base de datos no disponible\n",
       "dialogo: [^]*Base de datos no disponible[^]*\nFase : [0-9]+\n"},
      {"[Sincronizar]\nCodigoError=84\n", "dialogo: Aviso: 84 : [0-9]+\n"},
  };
  for (const Case& c : cases) {
    Fresh();
    Session("", kSinProgramas);
    Faults(c.faults);
    StartService();
    Run();
    EXPECT_TRUE(proceso_terminado) << c.faults;
    EXPECT_TRUE(std::regex_match(Shown(), std::regex(c.shown))) << Shown();
    EXPECT_FALSE(estado_->Sincronizacion.FinalizarLanzador && Shown().empty());
  }
}

TEST_F(Arranque, ASessionThatCannotOpenSaysSoAndItsCloseEndsTheApplication) {
  struct Case {
    const char* faults;
    const char* shown;
  };
  const Case cases[] = {
      {"[AutenticarCliente]\nHttpStatus=503\n",
       "aviso: No se puede establecer conexión con el servidor\nIntente nuevamente\n"},
      {"[AutenticarCliente]\nCodigoError=67\n",
       "aviso: Servidor en mantenimiento.\nIntente más tarde.\n"},
      {"[AutenticarCliente]\nCodigoError=190\nStatus=-4\n", "aviso: Aviso :  # 190\nStatus : -4\n"},
  };
  for (const Case& c : cases) {
    Fresh();
    Session("", kSinProgramas);
    Faults(c.faults);
    StartService();
    Run();
    EXPECT_EQ(Shown(), c.shown);
    ASSERT_EQ(modales.size(), 1u);
    EXPECT_TRUE(modales[0].aviso.SalirAlCerrar);
    EXPECT_FALSE(proceso_terminado);
    const std::vector<std::string> ops = Operations();
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "Sincronizar"), 0);
  }
}

TEST_F(Arranque, AnotherLauncherRunningEndsTheApplicationWithNotice27) {
  Session("", kSinProgramas);
  StartService();
  const fs::path stand_in = dir_->Path() / "LauncherXamuWEB.exe";
  fs::copy_file(XAMU_TEST_SLEEPER_PATH, stand_in);
  // This test's process is no launcher: two stand-ins make "another copy" of a running one.
  BackgroundProcess first({stand_in.string(), "20000"});
  BackgroundProcess second({stand_in.string(), "20000"});
  Run();
  EXPECT_TRUE(aplicacion_terminada);
  EXPECT_FALSE(proceso_terminado);
  ASSERT_EQ(modales.size(), 1u);
  EXPECT_EQ(modales[0].aviso.CodigoError, kCodigoProgramaEjecutandose);
  EXPECT_EQ(Operations(), std::vector<std::string>{}) << "no session is opened";
}

TEST_F(Arranque, AnInstallationOnARamDiskIsRefused) {
  if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm here";
  const fs::path ram = fs::path("/dev/shm") / dir_->Path().filename();
  fs::create_directories(ram);
  std::ofstream(dir_->Path() / "eXamu.ini")
      << "[CONTROL]\nRutaAplicacion=" << ram.string() << "/\n";
  Session("", kSinProgramas);
  StartService();
  Run();
  fs::remove_all(ram);
  EXPECT_TRUE(proceso_terminado);
  EXPECT_EQ(Shown(), "dialogo: Instalación válida únicamente para un disco local\n");
}

TEST_F(Arranque, TheUserDataFormGoesOnWithOkAndEndsOnExit) {
  const std::string datos =
      "[DatosUsuario]\nEmpresa=Grupo\nNombre=Ana\nDireccion=Calle 1\nCodigoPais=52\n"
      "CodigoArea=55\nTelefono1=5555\nTelefono2=\nFax=\nEmail=ana@example.com\n"
      "FechaRegistro=2019-03-14 09:30\n";
  struct Case {
    bool ok;
    bool synchronized;
  };
  for (const Case c : {Case{true, true}, Case{false, false}}) {
    Fresh();
    Session(datos, kSinProgramas);
    StartService();
    Run([&](ui::TfrmActualizacionDatosUsuarios& form) {
      (c.ok ? form.btnAceptar : form.btnSalir)->click();
    });
    EXPECT_TRUE(proceso_terminado);
    const std::vector<std::string> ops = Operations();
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "GrabarDatosUsuarios"), c.ok ? 1 : 0);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "Sincronizar"), c.synchronized ? 1 : 0);
    EXPECT_EQ(Shown(), c.ok ? "datos: Datos usuario\n"
                            : "datos: Datos usuario\npregunta: ¿Está seguro que desea salir?\n");
  }
}

TipoArregloByte Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TipoArregloByte((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The direct downloads and service transfers of program files, in order.
std::vector<std::string> Fetches(const std::vector<std::string>& ops) {
  std::vector<std::string> fetches;
  for (const std::string& op : ops) {
    if (op.starts_with("GET ") || op.starts_with("SincronizarProgramas")) fetches.push_back(op);
  }
  return fetches;
}

TEST_F(Arranque, TheOfferFetchesWhatTheChoiceAsksThenSynchronizes) {
  using Choice = QRadioButton* TfrmAutenticacion::*;
  struct Case {
    std::vector<const char*> present;  // created before the start, relative to the installation
    bool faltantes, no_actualizar;     // the choices shown
    Choice choice;
    std::vector<std::string> fetched;
  };
  const Case cases[] = {
      {{},
       false,
       false,
       &TfrmAutenticacion::rbActualizarTodo,
       {"GET /Programas/XAMUREPORTES.EXE", "GET /Programas/XAMUGRAFICOS.DLL",
        "GET /Programas/XAMUICONOS.RES"}},
      // Present in lower case: counted as present all the same.
      {{"xamureportes.exe"},
       true,
       false,
       &TfrmAutenticacion::rbActualizarFaltantes,
       {"GET /Programas/XAMUGRAFICOS.DLL", "GET /Programas/XAMUICONOS.RES"}},
      {{"XamuReportes.exe", "Comp/XamuGraficos.dll", "Comp/XamuIconos.res"},
       false,
       true,
       &TfrmAutenticacion::rbNoActualizar,
       {}},
  };
  for (const Case& c : cases) {
    Fresh();
    Session("", kTresProgramas);
    for (const char* p : c.present) {
      fs::create_directories((install_ / p).parent_path());
      std::ofstream(install_ / p) << "old";
    }
    StartService();
    bool faltantes = false, no_actualizar = false;
    Run({}, [&](TfrmAutenticacion& v) {
      faltantes = v.rbActualizarFaltantes->isVisible();
      no_actualizar = v.rbNoActualizar->isVisible();
      EXPECT_TRUE(v.rbActualizarTodo->isChecked());
      (v.*c.choice)->setChecked(true);
      v.btnContinuar->click();
    });
    EXPECT_EQ(faltantes, c.faltantes);
    EXPECT_EQ(no_actualizar, c.no_actualizar);
    EXPECT_TRUE(proceso_terminado);
    EXPECT_EQ(Shown(), "");
    const std::vector<std::string> ops = Operations();
    EXPECT_EQ(Fetches(ops), c.fetched);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "Sincronizar"), 1);
  }
  // The last files of the first case: decompressed, the RES as it was sent, read-only, with
  // the server's date.
  Fresh();
  Session("", kTresProgramas);
  StartService();
  Run({}, [](TfrmAutenticacion& v) { v.btnContinuar->click(); });
  const fs::path programas = content_ / "programas";
  const std::pair<fs::path, fs::path> placed[] = {
      {install_ / "XAMUREPORTES.EXE", programas / "XamuReportes.exe"},
      {install_ / "Comp" / "XAMUGRAFICOS.DLL", programas / "XamuGraficos.dll"},
      {install_ / "Comp" / "XAMUICONOS.RES", programas / "XamuIconos.res"},
  };
  for (const auto& [file, source] : placed) {
    EXPECT_EQ(Bytes(file), Bytes(source)) << file;
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none) << file;
    const auto written = platform::LastWriteTime(file.string());
    const auto served = platform::LastWriteTime(source.string());
    ASSERT_TRUE(written && served);
    EXPECT_NEAR(*written, *served, 2.0 / 86400) << file;
  }
}

TEST_F(Arranque, AFailedDirectDownloadFetchesEverythingThroughTheService) {
  struct Case {
    const char* faults;
    const char* settings;
    std::size_t failed_gets;
  };
  const Case cases[] = {
      {"[GET]\nHttpStatus=404\n", "", 1},
      {"", "PortProxy=80a\n", 0},  // not a number: no request is made
  };
  for (const Case& c : cases) {
    Fresh();
    Session("", kTresProgramas);
    Faults(c.faults);
    StartService(c.settings);
    Run({}, [](TfrmAutenticacion& v) { v.btnContinuar->click(); });
    EXPECT_TRUE(proceso_terminado);
    EXPECT_EQ(Shown(), "");
    std::vector<std::string> expected;
    if (c.failed_gets) expected.push_back("GET /Programas/XAMUREPORTES.EXE");
    for (int i = 0; i < 3; ++i) expected.push_back("SincronizarProgramas");
    EXPECT_EQ(Fetches(Operations()), expected) << c.faults << c.settings;
    std::ifstream ini(install_ / "XAMUwebIP.ini");
    const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("TipoComunicacion=1"), std::string::npos) << text;
    EXPECT_EQ(Bytes(install_ / "Comp" / "XAMUICONOS.RES"),
              Bytes(content_ / "programas" / "XamuIconos.res"));
  }
}

TEST_F(Arranque, AServiceTransferThatFailsEndsWithNotice28AndTheErrorsText) {
  Session("", kTresProgramas);
  Faults("[GET]\nHttpStatus=404\n[SincronizarProgramas]\nSoapFault=Archivo no disponible\n");
  StartService();
  Run({}, [](TfrmAutenticacion& v) { v.btnContinuar->click(); });
  EXPECT_TRUE(proceso_terminado);
  EXPECT_EQ(Shown(),
            "aviso: Aviso: falla en la conexión. ERemotableException. Archivo no disponible\n");
  const std::vector<std::string> ops = Operations();
  EXPECT_EQ(std::count(ops.begin(), ops.end(), "Sincronizar"), 0);
  EXPECT_FALSE(fs::exists(install_ / "XAMUREPORTES.EXE"));
}

TEST_F(Arranque, InPacketsEachPacketAfterTheFirstIsCounted) {
  Session("", "XamuReportes.exe");
  Faults("[GET]\nHttpStatus=500\n");
  MemoryStream file(Bytes(content_ / "programas" / "XamuReportes.exe"));
  const std::size_t compressed = ComprimirArreglo(std::move(file)).size();
  const std::size_t packet = (compressed + 4) / 5;
  ASSERT_EQ((compressed + packet - 1) / packet, 5u) << "the fixture's file gives five packets";
  StartService("BloqueDeDatosStatus=1\nBloqueDeDatosValor=" + std::to_string(packet) + "\n");
  std::unique_ptr<PaintedTexts> painted;
  Run({}, [&](TfrmAutenticacion& v) {
    painted = std::make_unique<PaintedTexts>(*v.lblDesarrollo);
    v.btnContinuar->click();
  });
  EXPECT_EQ(Shown(), "");
  ASSERT_TRUE(painted);
  const std::vector<std::string> expected = {"XAMUREPORTES.EXE", "XAMUREPORTES.EXE (2/5)",
                                             "XAMUREPORTES.EXE (3/5)", "XAMUREPORTES.EXE (4/5)",
                                             "XAMUREPORTES.EXE (5/5)"};
  std::vector<std::string> seen = painted->texts;
  seen.erase(std::remove(seen.begin(), seen.end(), ""), seen.end());
  EXPECT_EQ(
      std::vector<std::string>(seen.end() - std::min<std::ptrdiff_t>(5, seen.size()), seen.end()),
      expected);
  EXPECT_EQ(Bytes(install_ / "XAMUREPORTES.EXE"),
            Bytes(content_ / "programas" / "XamuReportes.exe"));
}

TEST_F(Arranque, TheLaunchersOwnExecutableGoesStraightToTheHandOff) {
  std::ofstream(content_ / "programas" / "LauncherXamuWEB.exe") << "a newer launcher";
  // The settings come with it: put in place here, as the synchronization does not run.
  const std::string settings = "[XAMUWIN]\nURLServ=http://servicios.example\n";
  std::ofstream(content_ / "programas" / "XAMUwebIP.ini") << settings;
  Session("", "XamuReportes.exe, XAMUwebIP.ini, LauncherXamuWEB.exe");
  StartService();
  Run({}, [](TfrmAutenticacion& v) { v.btnContinuar->click(); });
  EXPECT_TRUE(proceso_terminado);
  EXPECT_EQ(Shown(), "");
  EXPECT_EQ(Bytes(install_ / "Work1" / "LAUNCHERXAMUWEB.EXE"),
            Bytes(content_ / "programas" / "LauncherXamuWEB.exe"));
  EXPECT_EQ(Bytes(install_ / "XAMUwebIP.ini"), TipoArregloByte(settings.begin(), settings.end()));
  EXPECT_NE(fs::status(install_ / "Work1" / "XAMUWEBIP.INI").permissions() & fs::perms::owner_write,
            fs::perms::none)
      << "the staged copy is left writable";
  const std::vector<std::string> ops = Operations();
  EXPECT_EQ(std::count(ops.begin(), ops.end(), "Sincronizar"), 0);
  EXPECT_TRUE(estado_->Sincronizacion.FinalizarLanzador);
}

}  // namespace
}  // namespace xamu::testing
