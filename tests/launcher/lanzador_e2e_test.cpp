// LauncherXamuWEB.exe run as a user runs it, against xamu-service, on content that asks
// nothing of the user: the tables on disk and what the sample main application received.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

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
                       "XAMU_CONTROL_INI=" + control_ini.string(),
                       "XDG_STATE_HOME=" + (dir_.Path() / "state").string()});
  }
  fs::path LogPath() const { return dir_.Path() / "state" / "xamu" / "launcher.log"; }

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

std::string Contents(const fs::path& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// What support reads after a run: each step, each call, the hand-off; never the password.
TEST_F(LauncherE2E, ARunLeavesItsTraceInTheLog) {
  fs::copy_file(XAMU_WEB_PATH, install_ / "XamuWEB.exe");
  const CommandResult password = RunCommand({XAMU_TOOL_PATH, "password-encode", "s3creta"});
  ASSERT_EQ(password.exit_code, 0);
  const CommandResult r = Launch("UserProxy=ana\nPasswordProxy=" + password.out);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string log = Contents(LogPath());
  for (const std::string& line :
       {std::string("] LauncherXamuWEB.exe 1."), "] installation " + install_.string() + "/\n",
        std::string("] settings: URLServ ") + service_->Url(), std::string("UserProxy ana"),
        std::string("PasswordProxy set"), "] POST " + service_->Url(),
        std::string(": HTTP 200 in "),
        std::string("] session: CodigoError 0, IDCliente 17, IDUsuario 203"),
        std::string("] synchronization started\n"),
        std::string("] synchronization ended: CodigoError 0"),
        "] hand-off to " + (install_ / "XamuWEB.exe").string() + "\n", std::string("] exit 0\n")}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  }
  EXPECT_EQ(log.find("s3creta"), std::string::npos);
  EXPECT_EQ(log.back(), '\n');

  const CommandResult tail = RunCommand({XAMU_TOOL_PATH, "log", "--lines", "2"},
                                        {"XDG_STATE_HOME=" + (dir_.Path() / "state").string()});
  EXPECT_EQ(tail.exit_code, 0) << tail.err;
  EXPECT_TRUE(tail.out.starts_with(LogPath().string() + "\n")) << tail.out;
  EXPECT_TRUE(tail.out.ends_with("] exit 0\n")) << tail.out;
  EXPECT_EQ(std::count(tail.out.begin(), tail.out.end(), '\n'), 3) << tail.out;
}

// A log that cannot be written changes nothing of the run.
TEST_F(LauncherE2E, ALogThatCannotBeWrittenIsSkipped) {
  fs::copy_file(XAMU_WEB_PATH, install_ / "XamuWEB.exe");
  const struct {
    const char* name;
    std::function<void()> spoil;
  } cases[] = {
      {"the state folder is a file", [&] { std::ofstream(dir_.Path() / "state") << "x"; }},
      {"the log is a folder", [&] { fs::create_directories(LogPath()); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_.Path() / "state");
    c.spoil();
    const CommandResult r = Launch("");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("XamuWEB.exe received:")) << r.out << r.err;
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
