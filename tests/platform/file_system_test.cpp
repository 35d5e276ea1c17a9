#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

namespace xamu::platform {
namespace {

void Touch(const std::string& path, const std::string& content = "") {
  std::ofstream(path) << content;
}

std::vector<std::string> Names(const std::vector<FolderEntry>& entries) {
  std::vector<std::string> names;
  for (const FolderEntry& e : entries) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(IsPlainFileName, OnlyANameThatStaysInItsFolder) {
  for (const char* name : {"Paises.cds", "XAMUwebIP.ini", "a..b", ".hidden"})
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  const std::string refused[] = {"",
                                 ".",
                                 "..",
                                 "../x.exe",
                                 "sub/x.exe",
                                 "..\\x.exe",
                                 "/etc/passwd",
                                 "C:x.exe",
                                 std::string("x\0.exe", 6)};
  for (const std::string& name : refused) EXPECT_FALSE(IsPlainFileName(name)) << name;
}

TEST(ResolveCaseInsensitive, FindsExistingEntriesWhateverTheirCase) {
  testing::TempDir dir;
  const std::string base = dir.Path().string();
  ASSERT_TRUE(CreateFolder(base + "/Comp"));
  Touch(base + "/Comp/XAMUwebIP.ini");
  EXPECT_EQ(ResolveCaseInsensitive(base + "/comp/xamuwebip.INI"), base + "/Comp/XAMUwebIP.ini");
  EXPECT_EQ(ResolveCaseInsensitive(base + "/COMP/"), base + "/Comp/");
  EXPECT_EQ(ResolveCaseInsensitive(base + "/comp/New.ini"), base + "/Comp/New.ini")
      << "a new file keeps the name as given";
  EXPECT_EQ(ResolveCaseInsensitive(base + "/none/Sub/x"), base + "/none/Sub/x");
  EXPECT_TRUE(FileExists(base + "/COMP/XAMUWEBIP.INI"));
  EXPECT_FALSE(FileExists(base + "/COMP")) << "a folder is not a file";
  EXPECT_TRUE(IsExistingFolder(base + "/comp"));
  EXPECT_FALSE(IsExistingFolder(base + "/comp/xamuwebip.ini"));
}

TEST(FileAttributes, MapReadOnlyHiddenAndNormal) {
  testing::TempDir dir;
  const std::string file = dir.File("a.exe");
  Touch(file);
  ASSERT_TRUE(SetReadOnlyAttribute(file));
  EXPECT_TRUE(GetFileAttributes(file)->read_only);
  ASSERT_TRUE(SetNormalAttributes(file));
  EXPECT_FALSE(GetFileAttributes(file)->read_only);
  ASSERT_TRUE(CreateFolder(dir.File(".hidden")));
  EXPECT_TRUE(GetFileAttributes(dir.File(".hidden"))->hidden);
  EXPECT_FALSE(GetFileAttributes(dir.File(".hidden/"))->IsPlainDirectory());
  ASSERT_TRUE(CreateFolder(dir.File("plain")));
  EXPECT_TRUE(GetFileAttributes(dir.File("plain"))->IsPlainDirectory());
  EXPECT_FALSE(GetFileAttributes(dir.File("missing")).has_value());
  EXPECT_FALSE(CreateFolder(dir.File("no/parent")));
}

TEST(MatchesPattern, WildcardsIgnoreCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"XamuWEB.EXE", "*.exe", true},
      {"a.exe.bak", "*.exe", false},
      {"exe", "*.exe", false},
      {".exe", "*.exe", true},
      {"x.skin", "*.skin", true},
      {"noext", "*.*", true},
      {"a.b.c", "*.c", true},
      {"ab", "a?", true},
      {"a", "a?", false},
      {"tabla.CDS", "*.cds", true},
      {"aXbXc", "*X*c", true},
      {"abc", "*d*", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(ListFolder, ListsMatchingEntriesWithTheirAttributes) {
  testing::TempDir dir;
  Touch(dir.File("One.EXE"));
  Touch(dir.File("two.exe"));
  Touch(dir.File("three.dll"));
  ASSERT_TRUE(CreateFolder(dir.File("folder.exe")));
  symlink("/nonexistent", dir.File("dangling.exe").c_str());
  symlink(dir.File("folder.exe").c_str(), dir.File("link.exe").c_str());
  const std::vector<FolderEntry> entries = ListFolder(dir.Path().string(), "*.exe");
  EXPECT_EQ(Names(entries),
            (std::vector<std::string>{"One.EXE", "folder.exe", "link.exe", "two.exe"}));
  for (const FolderEntry& e : entries) {
    EXPECT_EQ(e.attributes.directory, e.name == "folder.exe" || e.name == "link.exe") << e.name;
    EXPECT_EQ(e.attributes.reparse_point, e.name == "link.exe") << e.name;
  }
  EXPECT_TRUE(ListFolder(dir.File("missing"), "*.*").empty());
}

TEST(ProbeFile, IsCreatedExclusivelyAndDeleted) {
  testing::TempDir dir;
  EXPECT_TRUE(CreateAndDeleteProbeFile(dir.File("ChecK.TMP")));
  EXPECT_TRUE(ListFolder(dir.Path().string(), "*.*").empty()) << "the probe file is gone";
  Touch(dir.File("check.tmp"));
  EXPECT_FALSE(CreateAndDeleteProbeFile(dir.File("ChecK.TMP"))) << "a leftover in any letter case";
  EXPECT_FALSE(CreateAndDeleteProbeFile(dir.File("missing/ChecK.TMP")));
}

TEST(CreateTempFile, MakesDistinctNewFilesWithThePrefix) {
  testing::TempDir dir;
  const auto first = CreateTempFile(dir.Path().string(), "DA");
  const auto second = CreateTempFile(dir.Path().string(), "DA");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  for (const std::string& path : {*first, *second}) {
    EXPECT_TRUE(MatchesPattern(FileNamePart(path), "DA*.TMP")) << path;
    EXPECT_TRUE(FileExists(path));
  }
  EXPECT_FALSE(CreateTempFile(dir.File("missing"), "DA").has_value());
}

TEST(ReplaceFileAtomically, ReplacesWholeOrNotAtAll) {
  testing::TempDir dir;
  const std::string path = dir.File("table.cds");
  const std::vector<std::uint8_t> first = {1, 2, 3};
  ReplaceFileAtomically(path, first, 0600);
  EXPECT_EQ(ReadFileBytes(path), first);
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_TRUE(SetReadOnlyAttribute(path));
  const std::vector<std::uint8_t> second(100000, 7);
  ReplaceFileAtomically(dir.File("TABLE.cds"), second);
  EXPECT_EQ(ReadFileBytes(path), second);
  EXPECT_EQ(Names(ListFolder(dir.Path().string(), "*.*")), std::vector<std::string>{"table.cds"});
  const timespec written[2] = {{0, UTIME_OMIT}, {1234567890, 500000000}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), written, 0), 0);
  EXPECT_TRUE(CopyFile(path, dir.File("copy.cds")));
  EXPECT_EQ(ReadFileBytes(dir.File("copy.cds")), second);
  struct stat copied {};
  ASSERT_EQ(stat(dir.File("copy.cds").c_str(), &copied), 0);
  EXPECT_EQ(copied.st_mtim.tv_sec, 1234567890) << "the copy keeps the source's date";
  EXPECT_EQ(copied.st_mtim.tv_nsec, 500000000);
  EXPECT_FALSE(CopyFile(dir.File("missing"), dir.File("copy.cds")));
  EXPECT_EQ(ReadFileBytes(dir.File("copy.cds")), second) << "a failed copy leaves the target";
}

// Written a piece at a time; a producer that fails leaves the file and nothing beside it.
TEST(ReplaceFileAtomically, InPiecesReplacesWholeOrNotAtAll) {
  testing::TempDir dir;
  const std::string path = dir.File("out");
  ReplaceFileAtomicallyInPieces(path, [](const PieceSink& write) {
    write(std::vector<std::uint8_t>{1, 2});
    write(std::vector<std::uint8_t>{3});
  });
  EXPECT_EQ(ReadFileBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_THROW(ReplaceFileAtomicallyInPieces(path,
                                             [](const PieceSink& write) {
                                               write(std::vector<std::uint8_t>{9});
                                               throw std::runtime_error("the source broke");
                                             }),
               std::runtime_error);
  EXPECT_EQ(ReadFileBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(Names(ListFolder(dir.Path().string(), "*.*")), std::vector<std::string>{"out"});
}

TEST(FailedCalls, KeepTheSystemsReason) {
  testing::TempDir dir;
  const Outcome copy = CopyFile(dir.File("missing"), dir.File("copy.cds"));
  EXPECT_EQ(copy.Reason(), "No such file or directory");
  Touch(dir.File("a"));
  const Outcome into_missing = CopyFile(dir.File("a"), dir.File("no/such/folder/a"));
  EXPECT_NE(into_missing.Reason().find("No such file or directory"), std::string::npos)
      << into_missing.Reason();
  EXPECT_EQ(DeleteFile(dir.File("missing")).Reason(), "No such file or directory");
  EXPECT_EQ(CreateFolder(dir.File("a")).Reason(), "File exists");
  EXPECT_TRUE(DeleteFile(dir.File("a")));
}

TEST(LeftoverTempFiles, OnlyThoseOfAnInterruptedReplaceAreRemoved) {
  testing::TempDir dir;
  const std::vector<std::string> ours = {".Paises.cds.xamu-Ab12Cd", ".XAMUwebIP.ini.xamu-000000"};
  const std::vector<std::string> others = {".Paises.cds.xamu-Ab12C",  // one character short
                                           "Paises.cds.xamu-Ab12Cd",  // not hidden
                                           ".Paises.cds.Ab12Cd",      // no mark
                                           ".xamu-Ab12Cd",            // no target's name
                                           "Paises.cds"};
  for (const auto& name : ours) std::ofstream(dir.File(name)) << "left";
  for (const auto& name : others) std::ofstream(dir.File(name)) << "kept";
  // A link by the pattern is not followed, nor removed.
  std::ofstream(dir.File("target.txt")) << "elsewhere";
  ASSERT_EQ(symlink(dir.File("target.txt").c_str(), dir.File(".x.cds.xamu-Zz9Zz9").c_str()), 0);
  mkdir(dir.File(".d.cds.xamu-Zz9Zz9").c_str(), 0755);

  EXPECT_EQ(RemoveLeftoverTempFiles(dir.Path().string()), ours.size());
  for (const auto& name : ours) EXPECT_FALSE(FileExists(dir.File(name))) << name;
  for (const auto& name : others) EXPECT_TRUE(FileExists(dir.File(name))) << name;
  EXPECT_TRUE(FileExists(dir.File("target.txt")));
  EXPECT_TRUE(IsExistingFolder(dir.File(".d.cds.xamu-Zz9Zz9")));
  EXPECT_EQ(RemoveLeftoverTempFiles(dir.File("missing")), 0u);

  // A replacement's own temporary file carries the mark, and none is left once it is done.
  ReplaceFileAtomically(dir.File("Paises.cds"), std::vector<std::uint8_t>{1});
  EXPECT_EQ(RemoveLeftoverTempFiles(dir.Path().string()), 0u);
}

TEST(SymbolicLinks, AreReplacedAndTheirAttributesLeaveTheTargetAlone) {
  testing::TempDir dir;
  testing::TempDir elsewhere;
  const std::string target = elsewhere.File("target");
  ReplaceFileAtomically(target, std::vector<std::uint8_t>{1}, 0400);
  const std::string link = dir.File("link");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_TRUE(SetNormalAttributes(link)) << "a link has no write bits to clear";
  EXPECT_FALSE(SetReadOnlyAttribute(link));
  ReplaceFileAtomically(link, std::vector<std::uint8_t>{2}, 0644);
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0400u) << "the target's mode is untouched";
  EXPECT_EQ(ReadFileBytes(target), std::vector<std::uint8_t>{1});
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode)) << "the link itself was replaced";
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

}  // namespace
}  // namespace xamu::platform
