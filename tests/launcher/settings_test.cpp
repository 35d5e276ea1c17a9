#include <gtest/gtest.h>

#include <fstream>

#include "encoding/errors.h"
#include "launcher/proxy_password.h"
#include "launcher/settings.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace xamu {
namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

platform::WinInetProxyInfo NamedProxy(const char* list) {
  return {platform::kInternetOpenTypeProxy, list};
}

TEST(InterpretarProxySistema, TakesHostAndPortFromTheHttpEntry) {
  struct Case {
    std::optional<platform::WinInetProxyInfo> answer;
    bool proxy_sistema;
    const char* host;
    const char* port;
  };
  const Case cases[] = {
      {NamedProxy("HTTP=proxy1:8080 HTTPS=proxy2:8443"), true, "PROXY1", "8080"},
      {NamedProxy("https=proxy2:8443 http=proxy1:8080"), true, "PROXY1", "8080"},
      {NamedProxy("proxy1:8080"), true, "", ""},  // one proxy for every protocol
      {NamedProxy("HTTP=proxy1"), true, "", ""},
      {NamedProxy(""), true, "", ""},
      {platform::WinInetProxyInfo{platform::kInternetOpenTypeDirect, "HTTP=x:1"}, false, "", ""},
      {std::nullopt, false, "", ""},  // the query failed
  };
  for (const Case& c : cases) {
    const ProxySistemaInfo info = InterpretarProxySistema(c.answer);
    const std::string list = c.answer ? c.answer->proxy_list : "(failed)";
    EXPECT_EQ(info.ProxySistema, c.proxy_sistema) << list;
    EXPECT_EQ(info.Proxy, c.host) << list;
    EXPECT_EQ(info.PortProxy, c.port) << list;
  }
}

class SettingsFolder : public ::testing::Test {
 protected:
  std::string Ruta() const { return dir_.Path().string() + "/"; }
  testing::TempDir dir_;
};

TEST_F(SettingsFolder, MissingFileGivesEveryDefault) {
  const LauncherSettings s = LeerConfiguracion(Ruta(), {true, "PROXY1", "8080"});
  EXPECT_EQ(s.URLServ, kURLServPredeterminado);
  EXPECT_EQ(s.URLServ.back() != '/', true);
  EXPECT_EQ(s.UserProxy, "");
  EXPECT_EQ(s.PasswordProxy, "");
  EXPECT_EQ(s.Proxy, "PROXY1");
  EXPECT_EQ(s.PortProxy, "8080");
  EXPECT_TRUE(s.ProxySistema);
  EXPECT_FALSE(s.BloqueDeDatosStatus);
  EXPECT_EQ(s.BloqueDeDatosValor, 250);
}

TEST_F(SettingsFolder, KeysOverrideDefaultsAndEmptyKeysOverrideWithEmpty) {
  WriteText(Ruta() + "xamuwebip.ini",
            "[XAMUWIN]\r\nURLServ=http://127.0.0.1:9000\r\nUserProxy= juan \r\nProxy=\r\n"
            "BloqueDeDatosStatus=1\r\nBloqueDeDatosValor=100\r\nPasswordProxy=" +
                EncodePasswordProxy(u"se\u00F1a") + "\r\n");
  const LauncherSettings s = LeerConfiguracion(Ruta(), {true, "PROXY1", "8080"});
  EXPECT_EQ(s.URLServ, "http://127.0.0.1:9000");
  EXPECT_EQ(s.UserProxy, "juan");
  EXPECT_EQ(s.Proxy, "") << "an empty key overrides the system proxy's host";
  EXPECT_EQ(s.PortProxy, "8080");
  EXPECT_TRUE(s.BloqueDeDatosStatus);
  EXPECT_EQ(s.BloqueDeDatosValor, 100);
  EXPECT_EQ(s.PasswordProxy,
            "se\xC3\xB1"
            "a");
}

TEST_F(SettingsFolder, MalformedPasswordIsAnError) {
  for (const char* stored : {"12x", "255255255", "055122188175"}) {
    WriteText(Ruta() + kArchivoConfiguracion,
              std::string("[XAMUWIN]\nPasswordProxy=") + stored + "\n");
    EXPECT_THROW(LeerConfiguracion(Ruta(), {}), Error) << stored;
  }
}

TEST_F(SettingsFolder, RestoresTheSettingsFileFromComp) {
  ASSERT_TRUE(platform::CreateFolder(Ruta() + "comp"));
  WriteText(Ruta() + "comp/XAMUWEBIP.INI", "[XAMUWIN]\nURLServ=http://restored\n");
  ASSERT_TRUE(platform::SetReadOnlyAttribute(Ruta() + "comp/XAMUWEBIP.INI"));
  RestaurarConfiguracion(Ruta());
  EXPECT_EQ(LeerConfiguracion(Ruta(), {}).URLServ, "http://restored");
  EXPECT_FALSE(platform::GetFileAttributes(Ruta() + "comp/XAMUWEBIP.INI")->read_only)
      << "the source is set to normal first";

  WriteText(Ruta() + "comp/XAMUWEBIP.INI", "[XAMUWIN]\nURLServ=http://newer\n");
  RestaurarConfiguracion(Ruta());
  EXPECT_EQ(LeerConfiguracion(Ruta(), {}).URLServ, "http://restored") << "an existing file stays";
}

TEST_F(SettingsFolder, IdiomaFromXamuWinIniElseFromTheUserLanguage) {
  EXPECT_EQ(LeerIdioma(Ruta(), 0x080A), 1);
  EXPECT_EQ(LeerIdioma(Ruta(), 0x0C0A), 1);
  EXPECT_EQ(LeerIdioma(Ruta(), 0x040C), 2);
  EXPECT_EQ(LeerIdioma(Ruta(), 0x0409), 2);
  WriteText(Ruta() + kArchivoIdioma, "[XAMUWIN]\nIdioma=257\n");
  EXPECT_EQ(LeerIdioma(Ruta(), 0x0409), 1) << "low 8 bits of the number";
  WriteText(Ruta() + kArchivoIdioma, "[XAMUWIN]\n");
  EXPECT_EQ(LeerIdioma(Ruta(), 0x080A), 2) << "the file's default, not the user language";
}

TEST_F(SettingsFolder, ControlFileGivesThePathAsWrittenAndTheIdentity) {
  EXPECT_FALSE(LeerArchivoControl(Ruta() + "eXamu.ini").has_value());
  WriteText(Ruta() + "eXamu.ini", "[CONTROL]\nRutaAplicacion=/opt/xamu\nIDUsuarioInterno=7\n");
  const auto control = LeerArchivoControl(Ruta() + "eXamu.ini");
  ASSERT_TRUE(control.has_value());
  EXPECT_EQ(control->RutaAplicacion, "/opt/xamu");
  EXPECT_EQ(control->IDClienteInterno, -1) << "a missing key gives -1";
  EXPECT_EQ(control->IDUsuarioInterno, 7);
}

TEST_F(SettingsFolder, TipoComunicacionChangesOnlyItsOwnLine) {
  const std::string before =
      "; Xamu settings\r\n[XAMUWIN]\r\nURLServ=http://a\r\nTipoComunicacion=0\r\n"
      "Unknown=keep me\r\n\r\n[Other]\r\nTipoComunicacion=9\r\n";
  WriteText(Ruta() + kArchivoConfiguracion, before);
  GrabarTipoComunicacion(Ruta(), 1);
  std::string expected = before;
  expected.replace(expected.find("TipoComunicacion=0"), 18, "TipoComunicacion=1");
  EXPECT_EQ(platform::IniFile::Load(Ruta() + kArchivoConfiguracion).Text(), expected);
  EXPECT_THROW(GrabarTipoComunicacion(Ruta() + "missing/", 1), EInOutError);
}

}  // namespace
}  // namespace xamu
