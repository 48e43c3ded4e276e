// Folders prepared by someone else: links and files planted where the editor writes, and
// pipes, sockets and devices where it reads. Nothing outside the folder may change, and no
// read may wait for good.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <functional>

#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/TextFile.h"
#include "common/tests/NamedPipe.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::ReadWhole;
using testing::TempFolder;
using testing::WriteFile;

using Writer = std::function<void(const TempFolder&, const std::string& target)>;

struct WriterCase {
  const char* name;
  Writer write;
  std::string expected;  // what the target holds afterwards
};

const WriterCase kWriters[] = {
    {"ReplaceFile", [](const TempFolder&, const std::string& t) { ReplaceFile(t, "5"); }, "5"},
    {"CopyFileOver",
     [](const TempFolder& dir, const std::string& t) {
       WriteFile(dir / "source.mp3", "clip");
       CopyFileOver(dir / "source.mp3", t);
     },
     "clip"},
};

class PlantedNames : public ::testing::TestWithParam<WriterCase> {
 protected:
  // A file outside the project folder that a planted link points to.
  void SetUp() override {
    outside.Write("anything", "precious");
    dir.MakeFolder("project");
  }
  std::string Project(const std::string& name) const { return dir / ("project/" + name); }
  void ExpectOutsideUntouched() const {
    EXPECT_EQ(outside.Read("anything"), "precious");
    EXPECT_EQ(outside.EntryCount(), 1u);
  }
  void ExpectRegularTarget(const std::string& target) const {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
    EXPECT_EQ(ReadWhole(target), GetParam().expected);
  }

  TempFolder dir;
  TempFolder outside;
};

TEST_P(PlantedNames, LinkUnderTheOldTemporaryNameIsNeverFollowed) {
  const std::string target = Project("vol.cfg");
  fs::create_symlink(outside / "anything", target + ".saving");
  GetParam().write(dir, target);
  ExpectOutsideUntouched();
  ExpectRegularTarget(target);
  EXPECT_EQ(fs::read_symlink(target + ".saving"), outside / "anything");
}

TEST_P(PlantedNames, FileUnderTheOldTemporaryNameIsLeftAlone) {
  const std::string target = Project("003.mp3");
  WriteFile(target + ".saving", "planted");
  GetParam().write(dir, target);
  ExpectRegularTarget(target);
  EXPECT_EQ(ReadWhole(target + ".saving"), "planted");
}

TEST_P(PlantedNames, LinkAtTheTargetIsReplacedNotWrittenThrough) {
  const std::string target = Project("plist.cfg");
  fs::create_symlink(outside / "anything", target);
  GetParam().write(dir, target);
  ExpectOutsideUntouched();
  ExpectRegularTarget(target);
}

TEST_P(PlantedNames, LeavesNoTemporaryBehind) {
  const std::string target = Project("rtu.cfg");
  GetParam().write(dir, target);
  GetParam().write(dir, target);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "project"), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Writers, PlantedNames, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

struct SpecialFile {
  const char* name;
  std::function<void(const std::string& path)> make;
};

const SpecialFile kSpecialFiles[] = {
    {"NamedPipe", [](const std::string& p) { testing::MakeNamedPipe(p); }},
    {"Socket",
     [](const std::string& p) {
       const int s = socket(AF_UNIX, SOCK_STREAM, 0);
       sockaddr_un address{};
       address.sun_family = AF_UNIX;
       ASSERT_LT(p.size(), sizeof address.sun_path);
       p.copy(address.sun_path, p.size());
       ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
       ::close(s);
     }},
    {"LinkToADevice", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
};

struct ReaderCase {
  const char* name;
  std::function<void(const std::string& path)> read;
};

const ReaderCase kReaders[] = {
    {"ReadFile", [](const std::string& p) { ReadFile(p, 512).TakeBytes(); }},
    {"ReadFileInChunks", [](const std::string& p) { ReadFileInChunks(p, 64, 1024, [](auto) {}); }},
    {"ReadFirstLine", [](const std::string& p) { ReadFirstLine(p); }},
    {"CopyFileOverFromIt", [](const std::string& p) { CopyFileOver(p, p + ".copy"); }},
};

class NotARegularFile : public ::testing::TestWithParam<std::tuple<SpecialFile, ReaderCase>> {};

TEST_P(NotARegularFile, IsRefusedAtOnceWithAClearMessage) {
  TempFolder dir;
  const std::string path = dir / "clip.mp3";
  std::get<0>(GetParam()).make(path);
  std::string error;
  EXPECT_TRUE(testing::ReturnsWithoutWaitingOn(
      path, [&] { error = ErrorOf([&] { std::get<1>(GetParam()).read(path); }); }));
  EXPECT_EQ(error, "\"" + path + "\" is not a regular file");
  EXPECT_FALSE(PathExists(path + ".copy"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, NotARegularFile,
                         ::testing::Combine(::testing::ValuesIn(kSpecialFiles),
                                            ::testing::ValuesIn(kReaders)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::get<1>(info.param).name;
                         });

// The check on what was opened, alone: a pipe or socket that appears after the first check
// is still refused without waiting.
TEST(NotARegularFile, IsRefusedByTheCheckAfterTheOpenAlone) {
  for (const SpecialFile& kind : kSpecialFiles) {
    TempFolder dir;
    const std::string path = dir / "clip.mp3";
    kind.make(path);
    std::string error;
    EXPECT_TRUE(testing::ReturnsWithoutWaitingOn(
        path, [&] { error = ErrorOf([&] { InputFile file(path, false); }); }));
    EXPECT_EQ(error, "\"" + path + "\" is not a regular file") << kind.name;
  }
}

TEST(NotARegularFile, ReadFileTellsARefusalFromAMissingFile) {
  TempFolder dir;
  testing::MakeNamedPipe(dir / "plist.cfg");
  EXPECT_TRUE(ReadFile(dir / "plist.cfg", 512).NotRegular);
  EXPECT_FALSE(ReadFile(dir / "missing.cfg", 512).NotRegular);
}

}  // namespace
}  // namespace pwx
