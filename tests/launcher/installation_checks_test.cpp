#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "launcher/installation_checks.h"
#include "platform/file_system.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace xamu {
namespace {

class InstallationFolder : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative = "") const {
    return dir_.Path().string() + "/" + relative;
  }
  void Folder(const std::string& relative) { ASSERT_TRUE(platform::CreateFolder(Path(relative))); }
  testing::TempDir dir_;
};

TEST_F(InstallationFolder, SubfoldersAreListedDepthFirstWithoutTheSkippedOnes) {
  Folder("Comp");
  Folder("Comp/Skins");
  Folder("Work1");
  Folder(".git");
  Folder(".git/objects");
  Folder("ReadOnly");
  Folder("ReadOnly/Below");
  ASSERT_TRUE(platform::SetReadOnlyAttribute(Path("ReadOnly")));
  std::filesystem::create_directory_symlink(Path("Comp"), Path("Link"));
  std::ofstream(Path("file.txt")) << "x";

  TCarpetas carpetas;
  ListarSubcarpetas(Path(), carpetas);
  ASSERT_EQ(carpetas.size(), 3u);
  // Directory order is the file system's; each folder is followed by its own subfolders.
  const auto at = [&](const std::string& p) {
    return std::find(carpetas.begin(), carpetas.end(), Path(p)) - carpetas.begin();
  };
  EXPECT_EQ(at("Comp/Skins"), at("Comp") + 1);
  EXPECT_LT(at("Work1"), 3);
  EXPECT_TRUE(platform::SetNormalAttributes(Path("ReadOnly")));
}

TEST_F(InstallationFolder, ProbeFailsOnALeftoverTestFileInAnyProbedFolder) {
  Folder("Comp");
  Folder("Comp/Deep");
  Folder(".hidden");
  std::string failed;
  EXPECT_TRUE(VerificarPermisoEscritura(Path(), &failed));
  std::ofstream(Path(".hidden/ChecK.TMP")) << "";
  EXPECT_TRUE(VerificarPermisoEscritura(Path())) << "a hidden folder is not probed";
  std::ofstream(Path("Comp/Deep/check.tmp")) << "";
  EXPECT_FALSE(VerificarPermisoEscritura(Path(), &failed));
  EXPECT_EQ(failed, Path("Comp/Deep"));
  EXPECT_TRUE(PuedeCrearArchivo(Path("Comp")));
  EXPECT_FALSE(PuedeCrearArchivo(Path("Missing")));
}

TEST(OtraCopiaEnEjecucion, AnotherLauncherAnswersAtOnceAndTheApplicationIsAwaited) {
  struct Case {
    const char* name;
    int launchers;          // launcher processes seen
    int application_looks;  // looks during which the main application still runs
    bool copy_runs;
    int sleeps;
  };
  const Case cases[] = {
      {"alone", 1, 0, false, 0},
      {"second launcher", 2, 0, true, 0},
      {"application exits after two looks", 1, 2, false, 2},
      {"application keeps running", 1, 99, true, 5},
  };
  for (const Case& c : cases) {
    int looks = 0;
    int sleeps = 0;
    const ProcessCheck check = [&](std::string_view name, std::uint8_t n) {
      if (name == kNombreLauncher) return c.launchers >= n;
      return looks++ < c.application_looks;
    };
    EXPECT_EQ(OtraCopiaEnEjecucion(check,
                                   [&](int ms) {
                                     EXPECT_EQ(ms, 400);
                                     ++sleeps;
                                   }),
              c.copy_runs)
        << c.name;
    EXPECT_EQ(sleeps, c.sleeps) << c.name;
  }
}

TEST(ProcesoEnEjecucion, FindsRealProcessesByNameWhateverTheCase) {
  testing::TempDir dir;
  const std::string launcher = dir.File(kNombreLauncher);
  const std::string application = dir.File(kNombreAplicacion);
  std::filesystem::copy_file(XAMU_TEST_SLEEPER_PATH, launcher);
  std::filesystem::copy_file(XAMU_TEST_SLEEPER_PATH, application);
  // This test's own process is no launcher, so two launchers must be started to count 2.
  testing::BackgroundProcess first(std::vector<std::string>{launcher, "10000"});
  EXPECT_TRUE(ProcesoEnEjecucion("launcherxamuweb.EXE", 1));
  EXPECT_FALSE(ProcesoEnEjecucion(kNombreLauncher, 2));
  EXPECT_FALSE(ProcesoEnEjecucion(kNombreAplicacion, 1));
  {
    testing::BackgroundProcess second(std::vector<std::string>{launcher, "10000"});
    EXPECT_TRUE(ProcesoEnEjecucion(kNombreLauncher, 2));
    EXPECT_TRUE(OtraCopiaEnEjecucion());
  }
  // The main application exits on its own during the wait: the start-up goes on.
  testing::BackgroundProcess app(std::vector<std::string>{application, "600"});
  EXPECT_TRUE(ProcesoEnEjecucion(kNombreAplicacion, 1));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(OtraCopiaEnEjecucion([&](std::string_view name, std::uint8_t n) {
    app.ReapIfExited();  // as its parent would
    return ProcesoEnEjecucion(name, n);
  }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
}

}  // namespace
}  // namespace xamu
