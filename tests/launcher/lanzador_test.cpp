// The launcher's whole run in this process, its window driven and its modal windows
// answered, against xamu-service: the straight path, the session's and the worker's
// failures, the user data form, the update offer and the download of program files.
#include "launcher/lanzador.h"

#include <QLabel>
#include <QRadioButton>
#include <algorithm>
#include <regex>

#include "launcher/lanzador_fixture.h"
#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/local_time.h"

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

}  // namespace
}  // namespace xamu::testing
