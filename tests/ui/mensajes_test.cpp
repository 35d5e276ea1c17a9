#include <gtest/gtest.h>

#include "ui/mensajes.h"

namespace xamu {
namespace {

struct Entry {
  std::string TMensajes::*entry;
  const char* spanish;
  const char* english;
};

// The catalogue as the vendor wrote it, typing slips included.
const Entry kCatalogue[] = {
    {&TMensajes::Aviso, "Aviso", "Notice"},
    {&TMensajes::SinConexion, "No se puede establecer conexión con el servidor\nIntente nuevamente",
     "Connection with the server cannot be established\nTry again"},
    {&TMensajes::Correo, "Correo", "Email"},
    {&TMensajes::Cerrar, "Cerrar", "Close"},
    {&TMensajes::Sincronizando, "Sincronizando archivos locales\nPor favor espere...",
     "Synchronizing local files\nPlease wait..."},
    {&TMensajes::NoHallaPrograma,
     "No puede hallar el archivo XamuWEB.exe\nComuníquese con su representante local",
     "Can not find file XamuWEB.exe\nContact your local dealer"},
    {&TMensajes::NoSincronizo,
     "Aviso: no se pudo sincronizar los archivos locales\nComuníquese con su representante local",
     "Notice: Could not synchronize local files\nContact your local dealer"},
    {&TMensajes::InformacionRequerida, "Información requerida", "Information required"},
    {&TMensajes::ServidorEnMantenimiento, "Servidor en mantenimiento.\nIntente más tarde.",
     "Server under manteinance.\nTry later."},
    {&TMensajes::NoPuedeGrabar,
     "No se puede grabar información.\nRevise configuración de seguridad y espacio en disco.",
     "Can not record information.\nCheck security settings and disk space."},
    {&TMensajes::NoCopiaLauncher, "Aviso: no se pudo copiar LauncherXAMUWeb",
     "Notice: it could not be copied LauncherXMAUWeb"},
    {&TMensajes::NoBorraLauncher, "Aviso: no se pudo borrar LauncherXAMUWeb",
     "Notice: Could not delete LauncherXMAUWeb"},
    {&TMensajes::ProgramaEjecutandose, "XamuWEB se está ejecutando", "XamuWEB is running"},
    {&TMensajes::FallaConexion, "Aviso: falla en la conexión", "Notice: connection failure"},
    {&TMensajes::NoCopiaIni, "Aviso: no se pudo copiar XAMUwebIP.ini",
     "Notice: Could not copy XAMUwebIP.ini"},
};

TEST(CargarMensajes, Language1IsSpanishAndEveryOtherValueEnglish) {
  for (const std::uint8_t idioma : {1, 2, 3, 0, 255}) {
    TMensajes m;
    CargarMensajes(m, idioma);
    for (const Entry& e : kCatalogue) {
      EXPECT_EQ(m.*e.entry, idioma == 1 ? e.spanish : e.english) << int(idioma);
    }
  }
}

TEST(DescripcionAviso, CodesSelectTheirEntryAndOthersNothing) {
  TMensajes m;
  CargarMensajes(m, 1);
  const std::pair<std::uint16_t, std::string TMensajes::*> coded[] = {
      {24, &TMensajes::NoPuedeGrabar}, {27, &TMensajes::ProgramaEjecutandose},
      {28, &TMensajes::FallaConexion}, {67, &TMensajes::ServidorEnMantenimiento},
      {84, &TMensajes::NoSincronizo},  {156, &TMensajes::NoHallaPrograma},
      {157, &TMensajes::SinConexion}};
  for (const auto& [code, entry] : coded) {
    EXPECT_EQ(DescripcionAviso(m, code, 0, false), m.*entry) << code;
  }
  EXPECT_EQ(
      DescripcionAviso(m, 24, 0, false),
      "No se puede grabar información.\nRevise configuración de seguridad y espacio en disco.");
  for (const std::uint16_t code : {0, 25, 190, 65535})
    EXPECT_EQ(DescripcionAviso(m, code, 7, false), "");
}

TEST(DescripcionAviso, CodeLineIsTheSameInBothLanguages) {
  for (const std::uint8_t idioma : {1, 2}) {
    TMensajes m;
    CargarMensajes(m, idioma);
    EXPECT_EQ(DescripcionAviso(m, 190, -3, true), "Aviso :  # 190\nStatus : -3");
    EXPECT_EQ(DescripcionAviso(m, 65535, 0, true), "Aviso :  # 65535\nStatus : 0");
  }
}

TEST(EntradaDeCodigo, ExtendingAnEntryChangesWhatTheNoticeShows) {
  TMensajes m;
  CargarMensajes(m, 2);
  *EntradaDeCodigo(m, 156) += " (2)";
  EXPECT_EQ(DescripcionAviso(m, 156, 0, false),
            "Can not find file XamuWEB.exe\nContact your local dealer (2)");
  EXPECT_EQ(EntradaDeCodigo(m, 25), nullptr);
}

TEST(EnlaceCorreoSoporte, BodyJoinsTheLinesAndTheIdentityWithEveryValueEncoded) {
  const std::string link = EnlaceCorreoSoporte("Line one\nLine two", "Banco", 12, -3);
  EXPECT_EQ(link, std::string("mailto:") + kCorreoSoporte +
                      "?subject=XAMU%3A%20Notice&Body=Line%20one.%20%20Line%20two.%20%20Banco."
                      "%20%2012.%20%20-3");
  // Characters that would end the body or start a fragment stay inside it.
  const std::string tricky = EnlaceCorreoSoporte("x", "A&B #1 ?50% Niño", 1, 2);
  const std::string body = tricky.substr(tricky.find("&Body=") + 6);
  EXPECT_EQ(body, "x.%20%20A%26B%20%231%20%3F50%25%20Ni%C3%B1o.%20%201.%20%202");
  EXPECT_EQ(tricky.find('#'), std::string::npos);
}

}  // namespace
}  // namespace xamu
