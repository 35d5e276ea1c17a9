// The worker's body and thread: each of its ends, as the completion step reads them.
#include "sync/thrd_sincronizar.h"

#include <gtest/gtest.h>

#include "service/errors.h"
#include "support/files.h"
#include "sync/sync_fixture.h"

namespace xamu {
namespace {

using testing::Entry;
using Call = testing::FaultyFileSystem::Call;

class Worker : public ::testing::Test {
 protected:
  void Run() {
    TrabajoSincronizacion trabajo;
    trabajo.IDCliente = 17;
    trabajo.IDUsuario = 203;
    trabajo.RutaAplicacion = in_.ruta;
    trabajo.textos = {"NoCopia", "NoBorra"};
    trabajo.entorno = in_.Entorno(service_);
    estado_.CodigoError = 9;  // set to 0 when the worker starts
    const thrdSincronizar hilo(std::move(trabajo), cds_, estado_);
  }

  testing::Installation in_;
  testing::WholeAnswerService service_;
  TipoArregloByte cds_ = {1, 2, 3};
  EstadoSincronizacion estado_;
};

TEST_F(Worker, ASuccessfulRunInstallsAndPublishes) {
  service_.entradas = {Entry(1, "XamuWEB.exe", {'x'}), Entry(1, "A.dll", {'a'})};
  Run();
  ASSERT_TRUE(estado_.SincronizacionTerminada());
  EXPECT_EQ(estado_.CodigoError, 0);
  EXPECT_EQ(estado_.Status, 99);
  EXPECT_EQ(estado_.TextoError, "");
  EXPECT_FALSE(estado_.FinalizarLanzador);
  EXPECT_EQ(estado_.PasoSincronizacion, "T : 004");
  EXPECT_TRUE(in_.Exists("XamuWEB.exe"));
  EXPECT_TRUE(in_.Exists("Comp/A.dll"));
  EXPECT_FALSE(in_.Exists("Work1/A.dll"));
  EXPECT_TRUE(in_.ui.posiciones.empty()) << "the bar is the completion step's on success";
}

TEST_F(Worker, EveryFailureEndsWithItsTextCodeAndAFullBar) {
  struct Case {
    const char* what;
    std::function<void(testing::Installation&, testing::WholeAnswerService&)> set_up;
    std::int16_t codigo;
    std::string texto;  // "{ruta}" stands for the application folder
  };
  const Case cases[] = {
      {"a code from the service", [](auto&, auto& s) { s.code = 5; }, 5,
       "Error Sincronizando : 5\n1 / 1"},
      {"a transport error",
       [](auto&, auto& s) { s.on_call = [] { throw ESOAPHTTPException("Connection refused"); }; },
       788,
       "Exception class name = ESOAPHTTPException\nException message = Connection refused\n1 / 1"},
      {"a folder that cannot be written",
       [](auto& in, auto&) { in.files.FailFrom(Call::kCreateTempFile, 1, "Permission denied"); },
       788, "Folder: {ruta}is write protected"},
      {"a staged file not copied",
       [](auto& in, auto& s) {
         s.entradas = {Entry(1, "A.dll", {'a'})};
         in.files.FailFrom(Call::kCopyFile, 1);
       },
       788, "NoCopia: A.dll"},
      {"a staged file not deleted",
       [](auto& in, auto& s) {
         s.entradas = {Entry(1, "A.dll", {'a'})};
         in.files.FailFrom(Call::kDeleteFile, 6);  // after the five probes
       },
       788, "NoBorra: A.dll"},
      {"a confirmation that answers a code",
       [](auto&, auto& s) {
         s.entradas = {Entry(1, "A.dll", {'a'})};
         s.confirmation_code = 67;
       },
       67, "Error Sincronizando : 67\nT : 004"},
      {"a confirmation that fails",
       [](auto&, auto& s) {
         s.entradas = {Entry(1, "A.dll", {'a'})};
         s.confirmation_fails = true;
       },
       788,
       "Exception class name = ESOAPHTTPException\nException message = Operation timed out\n"
       "T : 004"},
  };
  for (const Case& c : cases) {
    testing::Installation in;
    testing::WholeAnswerService service;
    c.set_up(in, service);
    TrabajoSincronizacion trabajo;
    trabajo.RutaAplicacion = in.ruta;
    trabajo.textos = {"NoCopia", "NoBorra"};
    trabajo.entorno = in.Entorno(service);
    TipoArregloByte cds;
    EstadoSincronizacion estado;
    { const thrdSincronizar hilo(std::move(trabajo), cds, estado); }
    std::string texto = c.texto;
    if (const auto at = texto.find("{ruta}"); at != std::string::npos)
      texto.replace(at, 6, in.ruta);
    ASSERT_TRUE(estado.SincronizacionTerminada()) << c.what;
    EXPECT_EQ(estado.CodigoError, c.codigo) << c.what;
    EXPECT_EQ(estado.TextoError, texto) << c.what;
    EXPECT_TRUE(estado.FinalizarLanzador) << c.what;
    EXPECT_EQ(in.ui.posiciones, std::vector<int>{kProgresoMaximo}) << c.what;
  }
}

}  // namespace
}  // namespace xamu
