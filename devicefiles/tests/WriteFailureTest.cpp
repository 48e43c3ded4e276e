// Every writer against a folder it cannot write into: the save raises the file error naming
// the path, and the files already there keep their content.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "WriteFailures.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"

namespace pwx {
namespace {

using testing::CannotCreatePrefix;
using testing::ErrorOf;
using ::testing::StartsWith;
using testing::TempFolder;

struct Writer {
  std::string name;
  std::string file;                              // the file the writer fails on
  std::function<void(const std::string&)> save;  // saves into a work folder
};

void SavePlayList(const std::string& workDir) {
  PlayListImage image;
  ResetPlayListImage(image);
  DiagnosticLog log;
  WritePlayListFile(image, AlarmProject{}, workDir, log);
}

void SaveMap(const std::string& workDir) {
  AudioLibrary library;
  for (int n = 1; n <= kLibrarySize; ++n) library.Entry(n).Full_FN = "C:\\sounds\\clip.mp3";
  DiagnosticLog log;
  SaveNameMap(library, workDir, log);
}

void SaveDeviceFiles(const std::string& workDir) {
  DiagnosticLog log;
  WriteRtuFile(ModbusRtuSettings{}, workDir, log);
  WriteVolumeAndErrorClip(kDefaultVolume, workDir, log);
}

enum class Failure { MissingFolder, FolderUnderAFile, FolderInPlaceOfTheFile, WriteCutShort };

class WriteFailureTest : public ::testing::TestWithParam<std::tuple<Writer, Failure>> {};

TEST_P(WriteFailureTest, RaisesNamingThePathAndKeepsOldFiles) {
  const Writer& writer = std::get<0>(GetParam());
  const Failure failure = std::get<1>(GetParam());
#ifndef PWX_HAS_FILE_SIZE_LIMIT
  if (failure == Failure::WriteCutShort) GTEST_SKIP() << "no file size limit here";
#endif
  TempFolder folder;
  std::string workDir = folder.Dir();
  std::string failingFile = writer.file;
  switch (failure) {
    case Failure::MissingFolder:
      workDir = (folder.Dir() + "missing") + kPathSeparator;
      break;
    case Failure::FolderUnderAFile:
      folder.Write("plain", "old");
      workDir = (folder.Dir() + "plain") + kPathSeparator;
      break;
    case Failure::FolderInPlaceOfTheFile:
      folder.MakeFolder(writer.file);
      break;
    case Failure::WriteCutShort:
      // The device files start small; the clip is the first one over the limit.
      if (writer.file == "rtu.cfg") failingFile = "Err1.mp3";
      folder.Write(failingFile, "old");
      break;
  }
  std::string error;
  {
#ifdef PWX_HAS_FILE_SIZE_LIMIT
    std::optional<testing::FileSizeLimit> limit;
    if (failure == Failure::WriteCutShort) limit.emplace(100);
#endif
    error = ErrorOf([&] { writer.save(workDir); });
  }
  EXPECT_THAT(error, StartsWith(CannotCreatePrefix(workDir + failingFile)));

  if (failure == Failure::FolderUnderAFile) {
    EXPECT_EQ(folder.Read("plain"), "old");
  }
  if (failure == Failure::FolderInPlaceOfTheFile) {
    EXPECT_TRUE(std::filesystem::is_directory((folder.Dir() + writer.file)));
  }
  if (failure == Failure::WriteCutShort) {
    EXPECT_EQ(folder.Read(failingFile), "old");
  }
  // Nothing half-written is left behind.
  const std::set<std::string> known{"plain",   "plist.cfg", "m3fn.txt",
                                    "rtu.cfg", "vol.cfg",   "Err1.mp3"};
  for (const auto& entry : std::filesystem::directory_iterator(folder.Dir())) {
    EXPECT_TRUE(known.count(entry.path().filename().string())) << entry.path();
  }
}

std::string CaseName(const ::testing::TestParamInfo<WriteFailureTest::ParamType>& info) {
  static const char* const kFailures[] = {"MissingFolder", "FolderUnderAFile",
                                          "FolderInPlaceOfTheFile", "WriteCutShort"};
  return std::get<0>(info.param).name + "_" + kFailures[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(
    Writers, WriteFailureTest,
    ::testing::Combine(::testing::Values(Writer{"PlayList", "plist.cfg", SavePlayList},
                                         Writer{"NameMap", "m3fn.txt", SaveMap},
                                         Writer{"DeviceFiles", "rtu.cfg", SaveDeviceFiles}),
                       ::testing::Values(Failure::MissingFolder, Failure::FolderUnderAFile,
                                         Failure::FolderInPlaceOfTheFile, Failure::WriteCutShort)),
    CaseName);

}  // namespace
}  // namespace pwx
