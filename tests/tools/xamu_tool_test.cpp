// xamu-tool run as a support engineer would: its output and exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "encoding/memory_stream.h"
#include "support/bytes.h"
#include "support/files.h"
#include "support/peak_memory.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace xamu {
namespace {

using testing::CommandResult;
using testing::ReadFile;
using testing::WriteFile;

CommandResult Tool(std::vector<std::string> args) {
  args.insert(args.begin(), XAMU_TOOL_PATH);
  return testing::RunCommand(args);
}

void ExpectOutput(const CommandResult& r, const std::string& out) {
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, out);
  EXPECT_EQ(r.err, "");
}

// A failure is exactly one line on standard error, after the program's name, and exit
// code 1.
void ExpectError(const CommandResult& r, const std::string& fragment) {
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_TRUE(r.err.starts_with("xamu-tool: ")) << r.err;
  EXPECT_NE(r.err.find(fragment), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

// A command line that does not fit: what is wrong, where to read the usage, exit code 2.
void ExpectUsageError(const CommandResult& r, const std::string& fragment) {
  EXPECT_EQ(r.exit_code, 2) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(r.err.starts_with("xamu-tool: ")) << r.err;
  EXPECT_NE(r.err.find(fragment), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
}

TEST(XamuTool, VsEncodeWritesEachKindOfValue) {
  ExpectOutput(Tool({"vs-encode", "int:127", "int:128", "int64:2147483648", "str:A\xC3\xB1o",
                     "float:1", "list", "end"}),
               "02 7F 03 80 00 13 00 00 00 80 00 00 00 00 14 04 00 00 00 41 C3 B1 6F "
               "05 00 00 00 00 00 00 00 80 FF 3F 01 00\n");
  ExpectOutput(Tool({"vs-encode", "str:"}), "12 00 00 00 00\n");
  ExpectUsageError(Tool({"vs-encode", "int:2147483648"}), "2147483648");
  ExpectUsageError(Tool({"vs-encode", "bogus"}), "bogus");
}

TEST(XamuTool, VsDumpPrintsEveryValueThenTheError) {
  testing::TempDir dir;
  const std::string file = dir.File("stream.bin");
  WriteFile(file, testing::Hex("01 02 7F 03 2C 01 13 00 00 00 80 00 00 00 00 06 03 41 42 43 "
                               "14 04 00 00 00 41 C3 B1 6F 06 02 22 0A "
                               "05 00 00 00 00 00 00 00 C0 FF 3F 15 00 00 00 00 00 00 F8 3F "
                               "10 39 30 00 00 00 00 00 00 09 08 00"));
  ExpectOutput(Tool({"vs-dump", file}),
               "vaList\nvaInt8 127\nvaInt16 300\nvaInt64 2147483648\nvaString \"ABC\"\n"
               "vaUTF8String \"A\xC3\xB1o\"\nvaString \"\\\"\\n\"\nvaExtended 1.5\nvaDouble 1.5\n"
               "vaCurrency 1.2345\nvaTrue\nvaFalse\nvaNull\n");

  WriteFile(file, testing::Hex("02 05 06 09 41"));
  const CommandResult truncated = Tool({"vs-dump", file});
  EXPECT_EQ(truncated.out, "vaInt8 5\n");
  ExpectError(truncated, "Stream read error");

  WriteFile(file, testing::Hex("02 05 11 00"));
  const CommandResult date = Tool({"vs-dump", file});
  EXPECT_EQ(date.out, "vaInt8 5\n");
  ExpectError(date, "Invalid property value");
}

TEST(XamuTool, CompressAndDecompressBothVariants) {
  testing::TempDir dir;
  for (const std::size_t size : {std::size_t{1000}, std::size_t{50000}}) {
    const TipoArregloByte data = testing::SampleData(size);
    WriteFile(dir.File("in"), data);
    ExpectOutput(Tool({"compress", dir.File("in"), dir.File("packed")}), "");
    const TipoArregloByte packed = ReadFile(dir.File("packed"));
    EXPECT_EQ(packed.size() >= 4 && packed[0] == 0x37 && packed[1] == 0x7A, size >= 20000);
    ExpectOutput(Tool({"decompress", dir.File("packed"), dir.File("out")}), "");
    EXPECT_EQ(ReadFile(dir.File("out")), data);
  }
  // An archive that breaks in the middle of its item leaves the output file as it was.
  TipoArregloByte broken = ReadFile(dir.File("packed"));
  for (std::size_t i = 200; i < 400; ++i) broken[i] ^= 0x5A;
  WriteFile(dir.File("broken7z"), broken);
  WriteFile(dir.File("out"), testing::Hex("01 02 03"));
  ExpectError(Tool({"decompress", dir.File("broken7z"), dir.File("out")}), "ESevenZipError");
  EXPECT_EQ(ReadFile(dir.File("out")), testing::Hex("01 02 03"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            4)
      << "in, packed, broken7z and out: nothing left beside out";
  // An output that is a link is replaced by the file; what it pointed to stays as it was.
  WriteFile(dir.File("elsewhere"), testing::Hex("0A 0B"));
  std::filesystem::create_symlink(dir.File("elsewhere"), dir.File("linked"));
  ExpectOutput(Tool({"decompress", dir.File("packed"), dir.File("linked")}), "");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.File("linked")));
  EXPECT_EQ(ReadFile(dir.File("linked")), testing::SampleData(50000));
  EXPECT_EQ(ReadFile(dir.File("elsewhere")), testing::Hex("0A 0B"));
  WriteFile(dir.File("bad"), testing::Hex("FF 00 01"));
  ExpectError(Tool({"decompress", dir.File("bad"), dir.File("out")}), "Data error");
  WriteFile(dir.File("bad7z"), testing::Hex("37 7A BC AF 27 1C 00 04"));
  ExpectError(Tool({"decompress", dir.File("bad7z"), dir.File("out")}), "ESevenZipError");
  ExpectError(Tool({"compress", dir.File("missing"), dir.File("out")}), "missing");
}

TEST(XamuTool, HandOffRoundTripsTheFiveValuesInRecordOrder) {
  const CommandResult encoded = Tool({"handoff-encode", "1", "-2", "58", "Banco & Cia",
                                      "Mar\xC3\xAD"
                                      "a"});
  ASSERT_EQ(encoded.exit_code, 0) << encoded.err;
  ASSERT_EQ(encoded.out.back(), '\n');
  ExpectOutput(Tool({"handoff-decode", encoded.out.substr(0, encoded.out.size() - 1)}),
               "IDCliente=1\nIDUsuario=-2\nIDPais=58\nNombreCliente=Banco & Cia\n"
               "NombreUsuario=Mar\xC3\xAD"
               "a\n");
  ExpectUsageError(Tool({"handoff-encode", "40000", "1", "1", "a", "b"}), "40000");
  ExpectError(Tool({"handoff-decode", "12/x/"}), "EConvertError");
}

TEST(XamuTool, PasswordRoundTripsThroughTheTripletForm) {
  const CommandResult encoded = Tool({"password-encode", "clave secreta"});
  ASSERT_EQ(encoded.exit_code, 0);
  EXPECT_EQ(encoded.out.find_first_not_of("0123456789\n"), std::string::npos) << encoded.out;
  EXPECT_EQ((encoded.out.size() - 1) % 3, 0u);
  ExpectOutput(Tool({"password-decode", encoded.out.substr(0, encoded.out.size() - 1)}),
               "clave secreta\n");
  ExpectError(Tool({"password-decode", "0a0"}), "EConvertError");
}

TEST(XamuTool, SettingsInventoryAndProbeOfAnInstallation) {
  testing::TempDir dir;
  const std::string ruta = dir.Path().string();
  std::filesystem::create_directories(ruta + "/Comp");
  std::filesystem::create_directories(ruta + "/ArchivosCDS");
  const CommandResult password = Tool({"password-encode", "pw"});
  std::ofstream(ruta + "/XAMUwebIP.ini")
      << "[XAMUWIN]\r\nURLServ=http://127.0.0.1:8123\r\nBloqueDeDatosStatus=1\r\n"
      << "BloqueDeDatosValor=100\r\nPasswordProxy="
      << password.out.substr(0, password.out.size() - 1) << "\r\n";
  std::ofstream(ruta + "/XamuWin.ini") << "[XAMUWIN]\nIdioma=1\n";
  const std::vector<std::string> proxy = {"http_proxy=http://proxy1:8080",
                                          "HTTP_PROXY=", "https_proxy=", "HTTPS_PROXY="};
  // The files read and the defaults said in comment lines; the password masked unless asked.
  const std::string values =
      "URLServ=http://127.0.0.1:8123\nUserProxy=\nPasswordProxy=%\nProxy=PROXY1\n"
      "PortProxy=8080\nProxySistema=1\nBloqueDeDatosStatus=1\nBloqueDeDatosValor=100\n"
      "Idioma=1\n";
  const std::string read = "# " + ruta + "/XAMUwebIP.ini: read\n# " + ruta + "/XamuWin.ini: read\n";
  const std::string defaults =
      "# defaults: UserProxy, Proxy (the system proxy's), PortProxy (the system proxy's)\n";
  const auto with = [&](const std::string& password) {
    std::string text = values;
    return read + text.replace(text.find('%'), 1, password) + defaults;
  };
  ExpectOutput(testing::RunCommand({XAMU_TOOL_PATH, "settings", ruta}, proxy), with("***"));
  ExpectOutput(testing::RunCommand({XAMU_TOOL_PATH, "settings", ruta, "--show-secrets"}, proxy),
               with("pw"));

  std::ofstream(ruta + "/XamuWEB.exe") << "x";
  std::ofstream(ruta + "/ArchivosCDS/Monedas.cds") << "x";
  const CommandResult inventory =
      testing::RunCommand({XAMU_TOOL_PATH, "inventory", ruta}, {"TZ=UTC"});
  EXPECT_EQ(inventory.exit_code, 0);
  EXPECT_TRUE(inventory.out.starts_with("XamuWEB.exe\t")) << inventory.out;
  EXPECT_EQ(inventory.out.substr(inventory.out.find('\n') - 8).size(), 8u + 1 + 16);
  EXPECT_TRUE(inventory.out.ends_with("\ncds\tMonedas.cds\n")) << inventory.out;

  ExpectOutput(Tool({"probe", ruta}), "writable\n");
  std::ofstream(ruta + "/Comp/ChecK.TMP") << "";
  ExpectOutput(Tool({"probe", ruta}), "not writable: " + ruta + "/Comp\n");
}

// A dataset of 16 million single-byte rows: its dump is some 400 MB of text, printed as it
// is made rather than held.
TEST(XamuTool, CdsDumpOfMillionsOfRowsStaysWithinTheBound) {
  if (!testing::MemoryIsMeasurable()) GTEST_SKIP() << "peak memory cannot be measured here";
  testing::TempDir dir;
  const std::uint32_t rows = 16u << 20;
  TipoArregloByte packet = testing::Hex("96 19 E0 BD 01 00 00 00 18 00 00 00 00 00");
  for (int i = 0; i < 4; ++i) packet.push_back(static_cast<std::uint8_t>(rows >> (8 * i)));
  const TipoArregloByte rest =
      testing::Hex("01 00 00 00 00 00 00 00");  // flags, offset, no properties
  packet.insert(packet.end(), rest.begin(), rest.end());
  packet.resize(packet.size() + rows, 0x04);
  WriteFile(dir.File("big.cds"), packet);
  const testing::CommandResult result =
      testing::RunCommand({XAMU_TOOL_PATH, "cds-dump", dir.File("big.cds")}, {}, true);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  RecordProperty("peak", std::to_string(result.peak_resident));
  EXPECT_LE(result.peak_resident, testing::AnswerBound(packet.size()))
      << result.peak_resident / (1 << 20) << " MiB";
}

TEST(XamuTool, CdsBuildWritesATableAndCdsDumpShowsIt) {
  testing::TempDir dir;
  // IDObjeto 6: IDPais, IDPaisFD, PaisActivo, IDIdioma, Descripcion(20), Nick(4), IDMoneda
  WriteFile(
      dir.File("paises.vs"),
      testing::Hex("01 02 34 02 01 09 02 01 06 06 4D E9 78 69 63 6F 06 02 4D 58 02 02 "
                   "03 2C 01 02 02 08 02 02 12 00 00 00 00 06 06 43 4F 4C 4F 4D 42 02 03 00"));
  ExpectOutput(Tool({"cds-build", "6", dir.File("paises.vs"), dir.File("Paises.cds")}), "");
  ExpectOutput(Tool({"cds-dump", dir.File("Paises.cds")}),
               "{\"columns\":[{\"name\":\"IDPais\",\"type\":\"int16\",\"width\":null},"
               "{\"name\":\"IDPaisFD\",\"type\":\"int16\",\"width\":null},"
               "{\"name\":\"PaisActivo\",\"type\":\"bool\",\"width\":null},"
               "{\"name\":\"IDIdioma\",\"type\":\"int16\",\"width\":null},"
               "{\"name\":\"Descripcion\",\"type\":\"text\",\"width\":20},"
               "{\"name\":\"Nick\",\"type\":\"text\",\"width\":4},"
               "{\"name\":\"IDMoneda\",\"type\":\"int16\",\"width\":null}],"
               "\"rows\":[{\"state\":4,\"values\":[52,1,true,1,\"M\xC3\xA9"
               "xico\",\"MX\",2]},"
               "{\"state\":4,\"values\":[300,2,false,2,\"\",\"COLO\",3]}],"
               "\"change_log\":[[1,0,4],[2,0,4]]}\n");
  WriteFile(dir.File("bad.vs"), testing::Hex("02 01"));
  ExpectError(Tool({"cds-build", "6", dir.File("bad.vs"), dir.File("Paises.cds")}), "error 183");
  ExpectError(Tool({"cds-build", "6", dir.File("paises.vs"), dir.File("missing/P.cds")}),
              "error 24");
  ExpectError(Tool({"cds-dump", dir.File("paises.vs")}), "EDataPacketError");
  // An id without a builder writes nothing, and says so.
  ExpectUsageError(Tool({"cds-build", "999", dir.File("paises.vs"), dir.File("Otra.cds")}),
                   "no table of the catalogue has IDObjeto 999");
  EXPECT_FALSE(std::filesystem::exists(dir.File("Otra.cds")));
}

TEST(XamuTool, HelpAndVersionGoToStandardOutput) {
  const CommandResult version = Tool({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.starts_with("xamu-tool 1.")) << version.out;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, {"-h"}, {"sync", "--help"}, {"cds-dump", "-h"}}) {
    const CommandResult help = Tool(args);
    EXPECT_EQ(help.exit_code, 0) << args[0];
    EXPECT_NE(help.out.find("Usage: xamu-tool"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
  }
  EXPECT_NE(Tool({"--help"}).out.find("doctor"), std::string::npos);
  EXPECT_NE(Tool({"sync", "--help"}).out.find("--cliente"), std::string::npos);
}

TEST(XamuTool, CommandLinesThatDoNotFitAreUsageErrors) {
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{}, "A subcommand is required"},
      {{"frobnicate"}, "'frobnicate' is not a command"},
      {{"vs-dump"}, "FILE is required"},
      {{"vs-dump", "a", "b"}, "not expected"},
      {{"probe", "--bogus", "x"}, "--bogus"},
      {{"sync", "x", "--cliente", "1", "--cliente", "2", "--usuario", "3"}, "--cliente"},
      {{"sync", "x", "--cliente", "uno", "--usuario", "3"}, "not an integer"},
      {{"log", "--lines", "-3"}, "--lines"},
      {{"sincronizar", "http://127.0.0.1:1", "1", "2", "--paquetes"}, "--paquetes"},
  };
  for (const auto& c : cases) ExpectUsageError(Tool(c.args), c.says);
}

// Standard input and output in place of files: a round trip through a pipe.
TEST(XamuTool, ADashIsStandardInputOrOutput) {
  testing::TempDir dir;
  const TipoArregloByte data = testing::SampleData(30000);
  WriteFile(dir.File("in"), data);
  const std::string tool = XAMU_TOOL_PATH;
  const CommandResult piped =
      testing::RunCommand({"sh", "-c",
                           tool + " compress - - < '" + dir.File("in") + "' | " + tool +
                               " decompress - '" + dir.File("out") + "'"});
  EXPECT_EQ(piped.exit_code, 0) << piped.err;
  EXPECT_EQ(ReadFile(dir.File("out")), data);
  // A table built to standard output and dumped from standard input.
  WriteFile(dir.File("paises.vs"), testing::Hex("01 02 34 02 01 09 02 01 06 06 4D E9 78 69 63 6F "
                                                "06 02 4D 58 02 02 00 00"));
  const CommandResult table = testing::RunCommand(
      {"sh", "-c",
       tool + " cds-build 6 - - < '" + dir.File("paises.vs") + "' | " + tool + " cds-dump -"});
  EXPECT_EQ(table.exit_code, 0) << table.err;
  EXPECT_NE(table.out.find("\"rows\":[{\"state\":4,\"values\":[52,1,true,1,\"M\xC3\xA9xico\""),
            std::string::npos)
      << table.out;
}

// The dump stays JSON whatever the file holds: a NaN and an infinite amount, and text that
// is not valid UTF-16.
TEST(XamuTool, CdsDumpIsJsonForValuesJsonCannotHold) {
  testing::TempDir dir;
  TipoArregloByte packet = testing::Hex(
      "96 19 E0 BD 01 00 00 00 18 00 00 00 03 00 02 00 00 00 01 00 00 00 00 00 "
      "01 44 08 00 04 00 00 00 00 00 "  // D: double
      "01 49 08 00 04 00 00 00 00 00 "  // I: double
      "01 57 02 00 4A 00 00 00 00 00 "  // W: UTF-16 text, 2-byte length prefix
      "00 00 "                          // no dataset properties
      "04 00 00 00 00 00 00 00 F8 7F 00 00 00 00 00 00 F0 7F 02 00 00 D8 "
      "04 00 00 00 00 00 00 00 F8 7F 00 00 00 00 00 00 F0 FF 02 00 41 00");
  WriteFile(dir.File("odd.cds"), packet);
  const CommandResult dump = Tool({"cds-dump", dir.File("odd.cds")});
  ASSERT_EQ(dump.exit_code, 0) << dump.err;
  nlohmann::json parsed;
  ASSERT_NO_THROW(parsed = nlohmann::json::parse(dump.out)) << dump.out;
  EXPECT_TRUE(parsed["rows"][0]["values"][0].is_null());
  EXPECT_TRUE(parsed["rows"][0]["values"][1].is_null());
  EXPECT_EQ(parsed["rows"][1]["values"][2], "A");
}

}  // namespace
}  // namespace xamu
