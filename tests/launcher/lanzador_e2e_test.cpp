// LauncherXamuWEB.exe run as a user runs it, against xamu-service, on content that asks
// nothing of the user: the tables on disk and what the sample main application received.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/run_command.h"
#include "support/service_process.h"
#include "support/temp_dir.h"

namespace xamu::testing {
namespace {

namespace fs = std::filesystem;

class LauncherE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"}) unsetenv(v);
    const fs::path content = dir_.Path() / "content";
    fs::copy(XAMU_SERVICE_SAMPLE_CONTENT, content, fs::copy_options::recursive);
    std::ifstream in(content / "sesion.ini");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    text = text.substr(0, text.find("[DatosUsuario]")) + "[Programas]\nActualizados=\n";
    std::ofstream(content / "sesion.ini") << text;
    service_ = std::make_unique<ServiceProcess>(
        XAMU_SERVICE_PATH, std::vector<std::string>{"--content", content.string(), "--log",
                                                    (dir_.Path() / "requests.log").string()});
    install_ = dir_.Path() / "Archivos de programa" / "Xamu Web";
    fs::create_directories(install_);
    fs::copy_file(XAMU_LAUNCHER_PATH, install_ / "LauncherXamuWEB.exe");
  }

  CommandResult Launch(const std::string& settings, const std::string& control = "") {
    std::ofstream(install_ / "XAMUwebIP.ini") << "[XAMUWIN]\nURLServ=" << service_->Url() << "\n"
                                              << settings;
    const fs::path control_ini = dir_.Path() / "eXamu.ini";
    if (!control.empty()) std::ofstream(control_ini) << control;
    return RunCommand({(install_ / "LauncherXamuWEB.exe").string()},
                      {"QT_QPA_PLATFORM=offscreen", "LC_ALL=es_MX.UTF-8",
                       "XAMU_CONTROL_INI=" + control_ini.string()});
  }

  TempDir dir_;
  std::unique_ptr<ServiceProcess> service_;
  fs::path install_;
};

TEST_F(LauncherE2E, BringsTheInstallationUpToDateAndHandsTheSessionOver) {
  struct Case {
    const char* settings;
    bool control_file;
    const char* identity;
  };
  const Case cases[] = {
      {"", false, "IDCliente=17\nIDUsuario=203\n"},
      {"BloqueDeDatosStatus=1\nBloqueDeDatosValor=2048\n", false, "IDCliente=17\nIDUsuario=203\n"},
      // The control file names the installation but not the identity: both become -1.
      {"", true, "IDCliente=-1\nIDUsuario=-1\n"},
  };
  fs::copy_file(XAMU_WEB_PATH, install_ / "XamuWEB.exe");
  for (const Case& c : cases) {
    const std::string control =
        c.control_file ? "[CONTROL]\nRutaAplicacion=" + install_.string() + "/\n" : "";
    fs::remove_all(install_ / "ArchivosCDS");
    const CommandResult r = Launch(c.settings, control);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, std::string("XamuWEB.exe received:\n") + c.identity +
                         "IDPais=1\nNombreCliente=Grupo Financiero Altiplano\n"
                         "NombreUsuario=María García López\n")
        << r.err;
    EXPECT_EQ(
        std::distance(fs::directory_iterator(install_ / "ArchivosCDS"), fs::directory_iterator()),
        31);
    fs::remove(dir_.Path() / "eXamu.ini");
  }
}

TEST_F(LauncherE2E, WithoutTheMainApplicationItEndsSilently) {
  const CommandResult r = Launch("");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(fs::exists(install_ / "ArchivosCDS" / "Paises.cds"));
}

}  // namespace
}  // namespace xamu::testing
