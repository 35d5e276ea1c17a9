// Our archives checked by the 7-Zip command-line program, and its archives read by us.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "encoding/compresion.h"
#include "support/bytes.h"
#include "support/files.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/time_zone.h"

namespace xamu {
namespace {

using testing::ReadFile;
using testing::RunCommand;
using testing::WriteFile;

TipoArregloByte Decompress(TipoArregloByte compressed) {
  MemoryStream out;
  DescomprimirArreglo(out, compressed);
  return out.Bytes();
}

class SevenZipInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::ProgramOnPath("7z"))
      GTEST_SKIP() << "the 7-Zip command-line program is not installed";
  }
  // Runs 7z and fails the test unless it succeeds.
  std::string SevenZip(std::vector<std::string> args, std::vector<std::string> env = {}) {
    args.insert(args.begin(), "7z");
    const testing::CommandResult r = RunCommand(args, env);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    return r.out;
  }
  testing::TempDir dir_;
};

TEST_F(SevenZipInterop, OurArchivePassesTheTestAndListsAsWritten) {
  int index = 0;
  for (const char* zone : {"UTC", "Europe/Berlin", "Australia/Sydney"}) {
    testing::ScopedTimeZone pinned(zone);
    const std::string path = dir_.File("ours-" + std::to_string(index++) + ".7z");
    const TipoArregloByte data = testing::SampleData(123456, 3);
    WriteFile(path, ComprimirArreglo(MemoryStream(data)));

    const std::string tz = std::string("TZ=") + zone;
    EXPECT_NE(SevenZip({"t", path}, {tz}).find("Everything is Ok"), std::string::npos) << zone;
    const std::string listing = SevenZip({"l", "-slt", path}, {tz});
    const std::string item = listing.substr(listing.find("----------"));
    EXPECT_NE(item.find("Size = 123456\n"), std::string::npos) << item;
    EXPECT_NE(item.find("Method = LZMA:"), std::string::npos) << item;
    EXPECT_NE(item.find("Attributes = A\n"), std::string::npos) << item;
    EXPECT_NE(item.find("Modified = 1982-02-18 00:00:00"), std::string::npos) << zone << item;
    EXPECT_NE(item.find("Created = 1982-02-18 00:00:00"), std::string::npos) << zone << item;

    const testing::CommandResult out = RunCommand({"7z", "e", "-so", path});
    EXPECT_EQ(TipoArregloByte(out.out.begin(), out.out.end()), data) << zone;
  }
}

struct CliForm {
  const char* name;
  std::vector<std::string> switches;
};

TEST_F(SevenZipInterop, ArchivesOfTheCliGiveTheirFirstItem) {
  const TipoArregloByte data = testing::SampleData(300000, 9);
  const std::string input = dir_.File("table.dat");
  WriteFile(input, data);
  const CliForm forms[] = {
      {"default LZMA2 with encoded header", {}},
      {"LZMA level 9", {"-m0=LZMA", "-mx9"}},
      {"plain header", {"-mhc=off"}},
      {"PPMd", {"-m0=PPMd"}},
      {"BZip2", {"-m0=BZip2"}},
      {"Deflate", {"-m0=Deflate"}},
  };
  for (const CliForm& form : forms) {
    const std::string archive =
        dir_.File(std::string("cli-") + std::to_string(&form - forms) + ".7z");
    std::vector<std::string> args = {"a", archive, input};
    args.insert(args.end(), form.switches.begin(), form.switches.end());
    SevenZip(args);
    EXPECT_EQ(Decompress(ReadFile(archive)), data) << form.name;
  }
}

TEST_F(SevenZipInterop, SeveralItemsGiveTheFirstOneListed) {
  const std::string first = dir_.File("a.dat");
  const std::string second = dir_.File("b.dat");
  WriteFile(first, testing::SampleData(40000, 1));
  WriteFile(second, testing::SampleData(50000, 2));
  const std::string archive = dir_.File("two.7z");
  SevenZip({"a", archive, first, second, "-m0=LZMA", "-ms=off"});
  const std::string listing = SevenZip({"l", "-slt", archive});
  const std::size_t item0 = listing.find("Path = ", listing.find("----------"));
  const std::string first_name = listing.substr(item0 + 7, 5);
  EXPECT_EQ(Decompress(ReadFile(archive)), ReadFile(dir_.File(first_name))) << first_name;

  const std::string solid = dir_.File("solid.7z");
  SevenZip({"a", solid, first, second});
  EXPECT_EQ(Decompress(ReadFile(solid)).size(), ReadFile(dir_.File(first_name)).size());
}

TEST_F(SevenZipInterop, NamelessItemFromStandardInput) {
  const TipoArregloByte data = testing::SampleData(70000, 4);
  const std::string input = dir_.File("input.dat");
  WriteFile(input, data);
  const std::string archive = dir_.File("stdin.7z");
  const testing::CommandResult r =
      RunCommand({"sh", "-c", "7z a -si '" + archive + "' < '" + input + "'"});
  ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_EQ(Decompress(ReadFile(archive)), data);
}

}  // namespace
}  // namespace xamu
