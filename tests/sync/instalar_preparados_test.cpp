// The install of what Work1 holds, and the verified copy, on a real folder.
#include "sync/instalar_preparados.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/file_times.h"
#include "support/faulty_file_system.h"
#include "support/files.h"
#include "support/temp_dir.h"
#include "sync/copia_verificada.h"

namespace xamu {
namespace {

using Call = testing::FaultyFileSystem::Call;
namespace fs = std::filesystem;

const TextosInstalacion kTextos = {"Aviso: no se pudo copiar LauncherXAMUWeb",
                                   "Aviso: no se pudo borrar LauncherXAMUWeb"};

class Staged : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.Path() / "Work1");
    fs::create_directories(dir_.Path() / "Comp");
  }
  void Stage(const std::string& name, const std::string& text = "x") {
    testing::WriteFile(dir_.File("Work1/" + name), TipoArregloByte(text.begin(), text.end()));
  }
  std::optional<std::string> Install() { return InstalarPreparados(ruta_, kTextos, files_); }
  bool Exists(const std::string& relative) const { return fs::exists(dir_.Path() / relative); }
  bool ReadOnly(const std::string& relative) const {
    return (fs::status(dir_.Path() / relative).permissions() & fs::perms::owner_write) ==
           fs::perms::none;
  }

  testing::TempDir dir_;
  std::string ruta_ = dir_.Path().string() + "/";
  testing::FaultyFileSystem files_;
};

TEST_F(Staged, EachFileGoesWhereItsNameSays) {
  struct Case {
    std::vector<std::string> staged;
    std::vector<std::string> present;  // afterwards
    std::vector<std::string> absent;
  };
  const Case cases[] = {
      {{}, {}, {"XAMUwebIP.ini"}},
      {{"XamuWEB.exe", "Graficos.dll"},
       {"XamuWEB.exe", "Comp/Graficos.dll"},
       {"Work1/XamuWEB.exe", "Work1/Graficos.dll", "Graficos.dll", "Comp/XamuWEB.exe"}},
      {{"LauncherXamuWEB.exe", "XAMUwebIP.ini"},
       {"Work1/LauncherXamuWEB.exe", "Work1/XAMUwebIP.ini", "Comp/XAMUwebIP.ini"},
       {"LauncherXamuWEB.exe", "XAMUwebIP.ini"}},
      {{"xamuwebip.INI"}, {"Comp/xamuwebip.INI", "XAMUwebIP.ini", "Work1/xamuwebip.INI"}, {}},
      // Names that would leave their target folder on the other platform stay staged.
      {{"..\\Fuera.dll", "C:Fuera.exe"},
       {"Work1/..\\Fuera.dll", "Work1/C:Fuera.exe"},
       {"Comp/..\\Fuera.dll", "C:Fuera.exe"}},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    fs::create_directories(dir.Path() / "Work1");
    fs::create_directories(dir.Path() / "Comp");
    for (const std::string& name : c.staged) testing::WriteFile(dir.File("Work1/" + name), {'x'});
    EXPECT_EQ(InstalarPreparados(dir.Path().string() + "/", kTextos), std::nullopt);
    for (const std::string& p : c.present) EXPECT_TRUE(fs::exists(dir.Path() / p)) << p;
    for (const std::string& p : c.absent) EXPECT_FALSE(fs::exists(dir.Path() / p)) << p;
  }
  EXPECT_EQ(InstalarPreparados(dir_.File("missing/"), kTextos), std::nullopt)
      << "no Work1: nothing to do";
}

TEST_F(Staged, ProgramsEndReadOnlyAndAReadOnlyOneIsReplaced) {
  testing::WriteFile(dir_.File("XamuWEB.exe"), {'o', 'l', 'd'});
  fs::permissions(dir_.Path() / "XamuWEB.exe", fs::perms::owner_read);
  Stage("XamuWEB.exe", "new");
  Stage("XAMUwebIP.ini");
  EXPECT_EQ(Install(), std::nullopt);
  EXPECT_EQ(testing::ReadFile(dir_.File("XamuWEB.exe")), (TipoArregloByte{'n', 'e', 'w'}));
  EXPECT_TRUE(ReadOnly("XamuWEB.exe"));
  EXPECT_FALSE(ReadOnly("Work1/XAMUwebIP.ini")) << "the staged settings file stays, writable";
}

TEST_F(Staged, AFailedCopyOrDeletionStopsTheInstallWithItsText) {
  Stage("A.dll");
  files_.FailFrom(Call::kCopyFile, 1);
  EXPECT_EQ(Install(), "Aviso: no se pudo copiar LauncherXAMUWeb: A.dll");
  EXPECT_TRUE(Exists("Work1/A.dll"));

  testing::FaultyFileSystem keeping;
  keeping.KeepDeletedFiles();
  EXPECT_EQ(InstalarPreparados(ruta_, kTextos, keeping),
            "Aviso: no se pudo borrar LauncherXAMUWeb: A.dll")
      << "although the copy was made";
  EXPECT_TRUE(Exists("Comp/A.dll"));

  fs::remove(dir_.Path() / "Work1/A.dll");
  Stage("XAMUwebIP.ini");
  testing::FaultyFileSystem second_copy;
  second_copy.FailFrom(Call::kCopyFile, 2);
  EXPECT_EQ(InstalarPreparados(ruta_, kTextos, second_copy),
            "Aviso: no se pudo copiar LauncherXAMUWeb: XAMUwebIP.ini");
  EXPECT_FALSE(Exists("XAMUwebIP.ini"));
}

TEST(CopiarArchivoVerificado, CopiesWithTheSourcesDateAfterClearingItsAttributes) {
  testing::TempDir dir;
  testing::WriteFile(dir.File("a"), {'a'});
  fs::permissions(dir.Path() / "a", fs::perms::owner_read);
  ASSERT_TRUE(platform::SetLastWriteTime(dir.File("a"), 40000.25));
  EXPECT_TRUE(CopiarArchivoVerificado(dir.File("a"), dir.File("b")));
  EXPECT_EQ(platform::LastWriteTime(dir.File("b")), platform::LastWriteTime(dir.File("a")));
  EXPECT_NE(fs::status(dir.Path() / "a").permissions() & fs::perms::owner_write, fs::perms::none)
      << "the source's attributes are set to normal";
  EXPECT_FALSE(CopiarArchivoVerificado(dir.File("missing"), dir.File("c")));
}

}  // namespace
}  // namespace xamu
