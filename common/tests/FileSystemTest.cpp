#include <gtest/gtest.h>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using testing::ErrorOf;
using testing::ReadWhole;
using testing::TempFolder;
using testing::WriteFile;

TEST(ReplaceFile, WritesExactBytesAndReplacesOldContent) {
  TempFolder dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  WriteFile(dir / "f.bin", "old content that is longer");
  ReplaceFile(dir / "f.bin", bytes);
  EXPECT_EQ(ReadWhole(dir / "f.bin"), bytes);
  EXPECT_EQ(dir.EntryCount(), 1u);  // no temporary left behind
}

TEST(ReplaceFile, MissingFolderRaisesAndCreatesNothing) {
  TempFolder dir;
  const std::string path = dir / "missing/f.bin";
  EXPECT_EQ(ErrorOf([&] { ReplaceFile(path, "x"); }),
            "Cannot create file \"" + path + "\". No such file or directory");
}

TEST(ReplaceFile, TargetThatCannotBeReplacedKeepsEverything) {
  TempFolder dir;
  std::filesystem::create_directory(dir / "f.bin");  // a folder where the file should go
  WriteFile(dir / "f.bin/inside", "kept");
  EXPECT_NE(ErrorOf([&] { ReplaceFile(dir / "f.bin", "x"); }), "(no error)");
  EXPECT_EQ(ReadWhole(dir / "f.bin/inside"), "kept");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(CopyFileOver, CopiesAndReplaces) {
  TempFolder dir;
  WriteFile(dir / "src.mp3", std::string(70000, '\x5A'));
  WriteFile(dir / "003.mp3", "old");
  CopyFileOver(dir / "src.mp3", dir / "003.mp3");
  EXPECT_EQ(ReadWhole(dir / "003.mp3"), std::string(70000, '\x5A'));
}

TEST(CopyFileOver, OntoItselfKeepsTheFile) {
  TempFolder dir;
  WriteFile(dir / "003.mp3", "audio");
  CopyFileOver(dir / "003.mp3", dir / "003.mp3");
  EXPECT_EQ(ReadWhole(dir / "003.mp3"), "audio");
  // The same file reached through another spelling of the folder.
  CopyFileOver(dir / "003.mp3", dir.Path() + "/./003.mp3");
  EXPECT_EQ(ReadWhole(dir / "003.mp3"), "audio");
}

TEST(CopyFileOver, LinkToTheSourceAtTheTargetBecomesACopyOfItsOwn) {
  TempFolder dir;
  WriteFile(dir / "source.mp3", "audio");
  std::filesystem::create_symlink(dir / "source.mp3", dir / "003.mp3");
  EXPECT_TRUE(CopyFileOver(dir / "source.mp3", dir / "003.mp3"));
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir / "003.mp3")));
  EXPECT_EQ(ReadWhole(dir / "003.mp3"), "audio");
}

TEST(CopyFileOver, SourceOverTheLimitWritesNothing) {
  TempFolder dir;
  WriteFile(dir / "source.mp3", "12345");
  WriteFile(dir / "003.mp3", "old");
  EXPECT_FALSE(CopyFileOver(dir / "source.mp3", dir / "003.mp3", 4));
  EXPECT_EQ(ReadWhole(dir / "003.mp3"), "old");
  EXPECT_EQ(dir.EntryCount(), 2u);
  EXPECT_TRUE(CopyFileOver(dir / "source.mp3", dir / "003.mp3", 5));
  EXPECT_EQ(ReadWhole(dir / "003.mp3"), "12345");
}

TEST(CopyFileOver, VanishedSourceLeavesTheOldCopy) {
  TempFolder dir;
  WriteFile(dir / "003.mp3", "old");
  EXPECT_EQ(ErrorOf([&] { CopyFileOver(dir / "gone.mp3", dir / "003.mp3"); }),
            "Cannot open file \"" + (dir / "gone.mp3") + "\". No such file or directory");
  EXPECT_EQ(ReadWhole(dir / "003.mp3"), "old");
}

TEST(CopyFileOver, UnreadableSourceIsNamedAsTheSource) {
  TempFolder dir;
  std::filesystem::create_directory(dir / "folder.mp3");
  EXPECT_EQ(ErrorOf([&] { CopyFileOver(dir / "folder.mp3", dir / "003.mp3"); }),
            "Cannot open file \"" + (dir / "folder.mp3") + "\". Is a directory");
}

TEST(CopyFileOver, UnwritableDestinationRaises) {
  TempFolder dir;
  WriteFile(dir / "src.mp3", "audio");
  EXPECT_NE(ErrorOf([&] { CopyFileOver(dir / "src.mp3", dir / "no/such/003.mp3"); }), "(no error)");
}

TEST(Folders, CreateOneLevelOnly) {
  TempFolder dir;
  EXPECT_TRUE(CreateFolder(dir / "work"));
  EXPECT_TRUE(CreateFolder(dir / "work"));  // already there counts as success
  EXPECT_FALSE(CreateFolder(dir / "a/b"));
  EXPECT_FALSE(CreateFolder(""));
  CreateFolderWithParents(dir / "a/b/c");
  EXPECT_TRUE(FolderExists(dir / "a/b/c"));
  WriteFile(dir / "file", "");
  EXPECT_EQ(ErrorOf([&] { CreateFolderWithParents(dir / "file/sub"); }),
            "Cannot create folder \"" + (dir / "file/sub") + "\". Not a directory");
}

TEST(ReadFile, ReadsAtMostTheLimitButReportsTheRealSize) {
  TempFolder dir;
  WriteFile(dir / "f", std::string(600, 'x'));
  const FileRead head = pwx::ReadFile(dir / "f", 512);
  EXPECT_TRUE(head.Ok());
  EXPECT_EQ(head.Bytes.size(), 512u);
  EXPECT_EQ(head.Size, 600);
  EXPECT_EQ(pwx::ReadFile(dir / "f", 1000).Bytes, std::string(600, 'x'));
}

TEST(ReadFile, FailureCarriesTheSystemReasonAndNoSize) {
  TempFolder dir;
  FileRead missing = pwx::ReadFile(dir / "none", 512);
  EXPECT_EQ(missing.Size, -1);
  EXPECT_FALSE(missing.NotRegular);
  EXPECT_EQ(missing.Failure,
            "Cannot open file \"" + (dir / "none") + "\". No such file or directory");
  EXPECT_EQ(ErrorOf([&] { missing.TakeBytes(); }), missing.Failure);
  dir.MakeFolder("folder");
  EXPECT_EQ(pwx::ReadFile(dir / "folder", 1).Failure,
            "Cannot open file \"" + (dir / "folder") + "\". Is a directory");
}

TEST(RemoveLeftoverTemporaries, RemovesOnlyRegularFilesNamedAsTemporaries) {
  TempFolder dir;
  dir.Write(".003.mp3-Ab3dEf7hIj9K.saving", "left by a killed run");
  dir.Write(".plist.cfg-000000000000.saving", "another");
  dir.Write("003.mp3", "a clip");
  dir.Write(".003.mp3-short.saving", "not a temporary's name");
  dir.Write(".003.mp3-Ab3dEf7hIj9!.saving", "not one either");
  dir.Write("x.saving", "nor this");
  dir.MakeFolder(".m3fn.txt-ABCDEFGHIJKL.saving");  // a folder is never ours
  std::filesystem::create_symlink(dir / "003.mp3", dir / ".vol.cfg-ABCDEFGHIJKL.saving");
  EXPECT_EQ(
      RemoveLeftoverTemporaries(dir.Path()),
      (std::vector<std::string>{".003.mp3-Ab3dEf7hIj9K.saving", ".plist.cfg-000000000000.saving"}));
  EXPECT_EQ(dir.EntryCount(), 6u);
  EXPECT_EQ(dir.Read("003.mp3"), "a clip");
}

TEST(RemoveLeftoverTemporaries, NamesAReplacementMakes) {
  TempFolder dir;
  // A replacement dropped before its commit removes its temporary; one kept open shows the
  // name it uses.
  FileReplacement open(dir / "rtu.cfg");
  std::string seen;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    seen = entry.path().filename().string();
  }
  EXPECT_TRUE(IsReplacementTemporaryName(seen)) << seen;
}

}  // namespace
}  // namespace pwx
