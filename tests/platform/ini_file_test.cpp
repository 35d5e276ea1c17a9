#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace xamu::platform {
namespace {

const char* kSample =
    "; vendor settings\r\n"
    "[Otra]\r\n"
    "URLServ=wrong section\r\n"
    "\r\n"
    "[xamuWIN]\r\n"
    "  urlserv =  http://host:8080/svc  \r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"x'\r\n"
    ";Commented=1\r\n"
    "no equals sign here\r\n"
    "Empty=\r\n"
    "Number= -42 \r\n"
    "NotNumber=12abc\r\n"
    "Hex=0x10\r\n"
    "Huge=99999999999\r\n"
    "URLServ=second occurrence\r\n"
    "[XAMUWIN]\r\n"
    "Later=ignored, only the first section of a name counts\r\n";

TEST(IniFile, ReadsWithTheWindowsProfileSemantics) {
  const IniFile ini{std::string(kSample)};
  EXPECT_EQ(ini.ReadString("XAMUWIN", "URLServ"), "http://host:8080/svc");
  EXPECT_EQ(ini.ReadString("Otra", "urlserv"), "wrong section");
  EXPECT_EQ(ini.ReadString("XAMUWIN", "Quoted"), "  spaced  ");
  EXPECT_EQ(ini.ReadString("XAMUWIN", "Single"), "x");
  EXPECT_EQ(ini.ReadString("XAMUWIN", "Mismatched"), "\"x'");
  EXPECT_EQ(ini.ReadString("XAMUWIN", "Commented"), std::nullopt);
  EXPECT_EQ(ini.ReadString("XAMUWIN", "no equals sign here"), std::nullopt);
  EXPECT_EQ(ini.ReadString("XAMUWIN", "Empty", "default"), "")
      << "present but empty is not missing";
  EXPECT_EQ(ini.ReadString("XAMUWIN", "Missing", "default"), "default");
  EXPECT_EQ(ini.ReadString("XAMUWIN", "Later"), std::nullopt);
  EXPECT_EQ(ini.ReadString("Nowhere", "URLServ"), std::nullopt);
}

TEST(IniFile, IntegersAreDecimalOrTheDefault) {
  const IniFile ini{std::string(kSample)};
  EXPECT_EQ(ini.ReadInteger("XAMUWIN", "Number", 5), -42);
  for (const char* key : {"NotNumber", "Hex", "Huge", "Empty", "Missing"}) {
    EXPECT_EQ(ini.ReadInteger("XAMUWIN", key, 250), 250) << key;
  }
  EXPECT_TRUE(ini.ReadBool("XAMUWIN", "Number", false));
  EXPECT_FALSE(ini.ReadBool("XAMUWIN", "NotNumber", false));
}

struct WriteCase {
  const char* name;
  const char* before;
  const char* after;
};

TEST(IniFile, WritingOneKeyKeepsEveryOtherByte) {
  const WriteCase cases[] = {
      {"replaces the key in place",
       "; c\r\n[A]\r\nk=1\r\n[XAMUWIN]\r\nURLServ=u\r\ntipocomunicacion = 0 \r\nX=y\r\n",
       "; c\r\n[A]\r\nk=1\r\n[XAMUWIN]\r\nURLServ=u\r\nTipoComunicacion=1\r\nX=y\r\n"},
      {"appends to the section, before the blank lines that close it",
       "[xamuwin]\r\nURLServ=u\r\n\r\n[B]\r\nz=1\r\n",
       "[xamuwin]\r\nURLServ=u\r\nTipoComunicacion=1\r\n\r\n[B]\r\nz=1\r\n"},
      {"adds the section at the end", "[B]\nz=1\n", "[B]\nz=1\n[XAMUWIN]\nTipoComunicacion=1\n"},
      {"ends an unterminated last line first", "[B]\nz=1",
       "[B]\nz=1\n[XAMUWIN]\nTipoComunicacion=1\n"},
      {"section as the last line without a break", "[XAMUWIN]",
       "[XAMUWIN]\r\nTipoComunicacion=1\r\n"},
      {"empty file", "", "[XAMUWIN]\r\nTipoComunicacion=1\r\n"},
  };
  for (const WriteCase& c : cases) {
    IniFile ini{std::string(c.before)};
    ini.WriteString("XAMUWIN", "TipoComunicacion", "1");
    EXPECT_EQ(ini.Text(), c.after) << c.name;
    EXPECT_EQ(ini.ReadInteger("XAMUWIN", "TipoComunicacion", -1), 1) << c.name;
  }
}

TEST(WriteIniString, ReplacesTheFileAndKeepsItsPermissions) {
  testing::TempDir dir;
  const std::string path = dir.File("XAMUwebIP.ini");
  WriteIniString(path, "XAMUWIN", "TipoComunicacion", "0");
  EXPECT_EQ(IniFile::Load(path).Text(), "[XAMUWIN]\r\nTipoComunicacion=0\r\n");
  ASSERT_TRUE(SetReadOnlyAttribute(path));
  WriteIniString(dir.File("xamuwebip.INI"), "XAMUWIN", "TipoComunicacion", "1");
  EXPECT_EQ(IniFile::Load(path).Text(), "[XAMUWIN]\r\nTipoComunicacion=1\r\n")
      << "the existing file is found whatever the letter case";
  EXPECT_TRUE(GetFileAttributes(path)->read_only);
  EXPECT_EQ(ListFolder(dir.Path().string(), "*.*").size(), 1u) << "no temporary file is left";
  EXPECT_THROW(WriteIniString(dir.File("missing/x.ini"), "A", "b", "c"), EInOutError);
}

}  // namespace
}  // namespace xamu::platform
