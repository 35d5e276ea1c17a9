// The update list, the destinations and addresses of program files, and their placing.
#include "launcher/programas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/value_type.h"
#include "encoding/writer.h"
#include "launcher/cargar_xamu.h"
#include "launcher/colocar_programa.h"
#include "launcher/hand_off.h"
#include "platform/file_times.h"
#include "platform/local_time.h"
#include "support/files.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "ui/codigos.h"

namespace xamu {
namespace {

namespace fs = std::filesystem;

TipoArregloByte Lista(const std::vector<std::pair<std::u16string, double>>& programas) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    for (const auto& [nombre, fecha] : programas) {
      writer.WriteString(nombre);
      writer.WriteFloat(fecha);
    }
    writer.WriteListEnd();
  }
  return ComprimirArreglo(std::move(stream));
}

TEST(ListaProgramas, NamesAreUpperCasedAndTrimmedEachStillToBeFetched) {
  const auto programas = LeerListaProgramas(Lista({{u" xamu.exe\t", 45000.5}, {u"Setup.Dll", 1}}));
  ASSERT_EQ(programas.size(), 2u);
  EXPECT_EQ(programas[0].Archivo, "XAMU.EXE");
  EXPECT_DOUBLE_EQ(programas[0].Fecha, 45000.5);
  EXPECT_TRUE(programas[0].Status);
  EXPECT_EQ(programas[1].Archivo, "SETUP.DLL");
}

TEST(ListaProgramas, ThatDoesNotDecodeIsRaised) {
  EXPECT_THROW(LeerListaProgramas({1, 2, 3, 4, 5}), Error);
  MemoryStream sin_lista;
  TWriter(sin_lista).WriteString(u"X.EXE");
  EXPECT_THROW(LeerListaProgramas(ComprimirArreglo(std::move(sin_lista))), EReadError);
}

TEST(ListaProgramas, PresenceIgnoresLetterCase) {
  const std::vector<std::string> locales = {"XamuWEB.exe", "setup.dll"};
  EXPECT_TRUE(EstaPresente("XAMUWEB.EXE", locales));
  EXPECT_TRUE(EstaPresente("SETUP.DLL", locales));
  EXPECT_FALSE(EstaPresente("SETUP.DL", locales));
  EXPECT_EQ(ContarPresentes({{"SETUP.DLL"}, {"OTRO.DLL"}, {"XAMUWEB.EXE"}}, locales), 2u);
}

TEST(DestinoPrograma, ByTheTextAfterTheFirstDot) {
  struct Case {
    const char* archivo;
    const char* carpeta;
    bool lanzador;
    bool comprimido;
    bool ejecutable;
  };
  const Case cases[] = {
      {"XAMU.EXE", "/x/", false, true, true},
      {"LAUNCHERXAMUWEB.EXE", "/x/Work1/", true, true, true},
      {"A.B.EXE", "/x/Comp/", false, true, false},  // the extension is B.EXE
      {"PAISES.CDS", "/x/ArchivosCDS/", false, true, false},
      {"XAMUWEBIP.INI", "/x/Work1/", false, true, false},
      {"OTRO.INI", "/x/Comp/", false, true, false},
      {"ICONOS.RES", "/x/Comp/", false, false, false},
      {"LEEME", "/x/Comp/", false, true, false},
  };
  for (const Case& c : cases) {
    const DestinoPrograma d = DestinoDe("/x/", c.archivo);
    EXPECT_EQ(d.carpeta, c.carpeta) << c.archivo;
    EXPECT_EQ(d.es_lanzador, c.lanzador) << c.archivo;
    EXPECT_EQ(d.comprimido, c.comprimido) << c.archivo;
    EXPECT_EQ(d.ejecutable, c.ejecutable) << c.archivo;
  }
}

TEST(DireccionPrograma, AlwaysOverPlainHttp) {
  EXPECT_EQ(DireccionPrograma("https://servicios.example.com", "X.DLL"),
            "http://servicios.example.com/Programas/X.DLL");
  EXPECT_EQ(DireccionPrograma("HTTPS://a.example", "X.DLL"), "HTTPS://a.example/Programas/X.DLL");
  EXPECT_EQ(DireccionPrograma("http://127.0.0.1:8080", "X.DLL"),
            "http://127.0.0.1:8080/Programas/X.DLL");
}

TEST(DireccionPrograma, OnlyAPlainHostResolves) {
  EXPECT_TRUE(ServidorResuelve("http://localhost"));
  EXPECT_FALSE(ServidorResuelve("http://localhost:8080"));  // the port stays in the name
  EXPECT_FALSE(ServidorResuelve("https://localhost"));
}

class ColocarPrograma_ : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"Comp", "Work1", "ArchivosCDS"})
      fs::create_directory(dir_.Path() / folder);
    ruta_ = dir_.Path().string() + "/";
  }
  MemoryStream Compressed(const TipoArregloByte& bytes) {
    MemoryStream stream;
    ArregloAStream(stream, ComprimirArreglo(MemoryStream(bytes)));
    return stream;
  }
  testing::TempDir dir_;
  std::string ruta_;
  const double fecha_ = platform::LocalToFloatDate({2024, 5, 6, 7, 8, 10});
};

TEST_F(ColocarPrograma_, PlacesTheFileDecompressedReadOnlyWithTheServersDate) {
  const TipoArregloByte contenido = {'M', 'Z', 1, 2, 3};
  MemoryStream buffer = Compressed(contenido);
  ASSERT_TRUE(ColocarPrograma(buffer, {"SETUP.DLL", fecha_}, ruta_));
  const std::string path = ruta_ + "Comp/SETUP.DLL";
  EXPECT_EQ(testing::ReadFile(path), contenido);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_NEAR(*platform::LastWriteTime(path), fecha_, 1e-6);

  // Placed again over the read-only file; a RES file as it arrived.
  MemoryStream again = Compressed({9});
  ASSERT_TRUE(ColocarPrograma(again, {"SETUP.DLL", fecha_}, ruta_));
  EXPECT_EQ(testing::ReadFile(path), TipoArregloByte{9});
  MemoryStream res(TipoArregloByte{'R', 'E', 'S'});
  ASSERT_TRUE(ColocarPrograma(res, {"ICONOS.RES", fecha_}, ruta_));
  EXPECT_EQ(testing::ReadFile(ruta_ + "Comp/ICONOS.RES"), (TipoArregloByte{'R', 'E', 'S'}));
}

TEST_F(ColocarPrograma_, RefusesANameThatLeavesItsFolderAndRaisesDataThatDoesNotDecompress) {
  MemoryStream buffer = Compressed({1});
  EXPECT_FALSE(ColocarPrograma(buffer, {"../FUERA.DLL", fecha_}, ruta_));
  EXPECT_FALSE(fs::exists(dir_.Path() / "FUERA.DLL"));
  MemoryStream basura(TipoArregloByte{'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0, 4, 1, 2, 3});
  EXPECT_THROW(ColocarPrograma(basura, {"SETUP.DLL", fecha_}, ruta_), Error);
  EXPECT_FALSE(fs::exists(ruta_ + "Comp/SETUP.DLL")) << "nothing half-written";
}

TEST_F(ColocarPrograma_, ADateTheFileCannotKeepIsNotInPlace) {
  MemoryStream buffer = Compressed({1});
  // Before 1980 the file system's DOS form cannot hold the date.
  EXPECT_FALSE(
      ColocarPrograma(buffer, {"SETUP.DLL", platform::LocalToFloatDate({1975, 1, 1})}, ruta_));
}

TEST(CargarXamu, StartsNothingWithoutTheMainApplicationAndSaysAFailedStart) {
  testing::TempDir dir;
  EstadoLanzador estado;
  estado.RutaAplicacion = dir.Path().string() + "/";
  CargarMensajes(estado.Mensajes, kIdiomaIngles);
  testing::RecordingUi ui;
  CargarXamu(estado, 1, ui);
  EXPECT_TRUE(estado.Sincronizacion.FinalizarLanzador);
  EXPECT_TRUE(ui.avisos.empty());

  // A main application that cannot be run: notice 156 with the system's error number.
  std::ofstream(dir.Path() / "XamuWEB.exe") << "not a program";
  fs::permissions(dir.Path() / "XamuWEB.exe", fs::perms::owner_read | fs::perms::owner_write);
  estado.Sincronizacion.FinalizarLanzador = false;
  estado.Sincronizacion.Status = 9;
  CargarXamu(estado, 1, ui);
  ASSERT_EQ(ui.avisos.size(), 1u);
  EXPECT_EQ(ui.avisos[0].CodigoError, kCodigoNoHallaPrograma);
  EXPECT_EQ(ui.avisos[0].Status, 0);
  EXPECT_EQ(estado.Mensajes.NoHallaPrograma,
            "Can not find file XamuWEB.exe\nContact your local dealer (13)");
  EXPECT_TRUE(estado.Sincronizacion.FinalizarLanzador);
}

}  // namespace
}  // namespace xamu
