// rtu.cfg, vol.cfg and Err1.mp3: the settings line both ways, the volume, the carried clip,
// and what a save does with a bad device id or an over-long line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WriteFailures.h"
#include "devicefiles/ErrorClip.h"
#include "devicefiles/RtuVolumeFiles.h"

namespace pwx {
namespace {

using testing::CannotCreatePrefix;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ErrorOf;
using ::testing::IsEmpty;
using testing::TempFolder;

using S = ModbusRtuSettings;  // DeviceId, BaudRate, Parity, DataBits, StopBits

struct BuildCase {
  std::string name;
  S settings;
  std::string line;
};

class BuildRtuLineTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(BuildRtuLineTest, WritesTextsAndFirstLetters) {
  DiagnosticLog log;
  EXPECT_EQ(BuildRtuLine(GetParam().settings, log), GetParam().line);
  EXPECT_EQ(log.Size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BuildRtuLineTest,
    ::testing::Values(BuildCase{"StartUp", S{}, "1,115200,N,8,1"},
                      BuildCase{"LeadingZerosKept", S{"007"}, "007,115200,N,8,1"},
                      BuildCase{"TypedBaudRate", S{"1", "250000"}, "1,250000,N,8,1"},
                      BuildCase{"TypedParity", S{"1", "115200", "none"}, "1,115200,n,8,1"},
                      BuildCase{"OddParity", S{"1", "115200", "Odd"}, "1,115200,O,8,1"},
                      BuildCase{"EmptyFieldsGiveZeroBytes", S{"1", "", "", "", ""},
                                std::string("1,,\0,\0,\0", 8)}),
    [](const auto& info) { return info.param.name; });

TEST(BuildRtuLineTest, AcceptsExactly255BytesAndRefusesMore) {
  S settings{std::string(241, '0') + "1"};  // 242 + "115200" + 7 = 255
  DiagnosticLog log;
  const auto longest = BuildRtuLine(settings, log);
  ASSERT_TRUE(longest.has_value());
  EXPECT_EQ(longest->size(), 255u);
  EXPECT_EQ(log.Lines()[5], "RTU String Len =255");

  settings.DeviceId.insert(0, "0");
  DiagnosticLog refused;
  EXPECT_EQ(BuildRtuLine(settings, refused), std::nullopt);
  EXPECT_EQ(refused.Size(), 0u);
}

struct ScanCase {
  std::string name;
  std::string line;
  S expected;  // scanned from the start-up values
};

class ScanRtuLineTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanRtuLineTest, AppliesFieldsThatMatchAChoice) {
  S settings;
  DiagnosticLog log;
  ScanRtuLine(GetParam().line, settings, log);
  EXPECT_EQ(settings, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScanRtuLineTest,
    ::testing::Values(
        ScanCase{"Written", "12,9600,E,8,2", S{"12", "9600", "Even", "8", "2"}},
        ScanCase{"Odd", "3,19200,O,8,1", S{"3", "19200", "Odd", "8", "1"}},
        ScanCase{"TrailingComma", "1,115200,N,8,", S{"1", "115200", "None", "8", "1"}},
        ScanCase{"NoComma", "5", S{}}, ScanCase{"Empty", "", S{}},
        ScanCase{"SixFields", "1,2,3,4,5,6", S{"1", "115200", "None", "8", "1"}},
        ScanCase{"LowerCaseParity", "1,115200,e,8,2", S{"1", "115200", "None", "8", "2"}},
        ScanCase{"WordParity", "1,115200,Odd,8,1", S{"1", "115200", "None", "8", "1"}},
        ScanCase{"DeviceIdUnchecked", "300,9600,E,8,1", S{"300", "9600", "Even", "8", "1"}},
        ScanCase{"BaudNotOffered", "1,250000,N,8,1", S{"1", "115200", "None", "8", "1"}},
        ScanCase{"EmptyFields", ",,,,", S{"", "115200", "None", "8", "1"}}),
    [](const auto& info) { return info.param.name; });

TEST(ScanRtuLineTest, ValuesWithoutAChoiceKeepWhatTheSelectorsShowed) {
  S settings{"9", "4800", "Odd", "8", "2"};
  DiagnosticLog log;
  ScanRtuLine("1,115200x,X,7,3", settings, log);
  EXPECT_EQ(settings, (S{"1", "4800", "None", "8", "2"}));
}

TEST(ScanRtuLineTest, LinesLongerThan255BytesAreScannedWithoutWrapping) {
  const std::string id(300, '9');
  S settings;
  DiagnosticLog log;
  ScanRtuLine(id + ",9600,E,8,2", settings, log);
  EXPECT_EQ(settings, (S{id, "9600", "Even", "8", "2"}));
  EXPECT_EQ(log.Lines()[4], "Get , @ ci:312 ck:310 cl:1 sk:2");

  DiagnosticLog commas;
  ScanRtuLine(std::string(1000, ','), settings, commas);
  EXPECT_EQ(commas.Size(), 1001u);
  EXPECT_EQ(commas.Lines().back(), "Get , @ ci:1001 ck:1000 cl:0 sk:");
}

// --- Saving -----------------------------------------------------------------------------

using Message = UserNotice;

std::string ErrorClipBytes() {
  return std::string(reinterpret_cast<const char*>(kErrorClip), kErrorClipSize);
}

class SaveTest : public ::testing::Test {
 protected:
  std::string Save(const AlarmProject& project) {
    return ErrorOf([&] {
      if (auto notice = WriteRtuFile(project.Settings, folder_.Dir(), log_)) {
        messages_.push_back(*notice);
      }
      WriteVolumeAndErrorClip(project.Volume, folder_.Dir(), log_);
    });
  }
  AlarmProject WithDeviceId(const std::string& id, int volume = 5) {
    AlarmProject project;
    project.Settings.DeviceId = id;
    project.Volume = volume;
    return project;
  }

  TempFolder folder_;
  DiagnosticLog log_;
  std::vector<Message> messages_;
};

TEST_F(SaveTest, FreshProjectWritesAllThreeFilesIdenticallyEachTime) {
  EXPECT_EQ(Save(AlarmProject{}), "(no error)");
  EXPECT_EQ(folder_.Read("rtu.cfg"), "1,115200,N,8,1");
  EXPECT_EQ(folder_.Read("vol.cfg"), "5");
  const std::string clip = folder_.Read("Err1.mp3");
  EXPECT_EQ(clip, ErrorClipBytes());
  EXPECT_THAT(messages_, IsEmpty());

  Save(AlarmProject{});
  EXPECT_EQ(folder_.Read("Err1.mp3"), clip);
  EXPECT_EQ(folder_.EntryCount(), 3u);
}

TEST(ErrorClipTest, CarriedBytesAreTheCommittedClip) {
  const std::string committed = TempFolder::ReadAt(PWX_ERROR_CLIP_ASSET);
  ASSERT_GT(committed.size(), 0u);
  EXPECT_EQ(ErrorClipBytes(), committed);
}

TEST_F(SaveTest, VolumeIsWrittenInDecimalWithoutLineEnd) {
  Save(WithDeviceId("1", 10));
  EXPECT_EQ(folder_.Read("vol.cfg"), "10");
  Save(WithDeviceId("1", 0));
  EXPECT_EQ(folder_.Read("vol.cfg"), "0");
}

class DeviceIdTest : public SaveTest, public ::testing::WithParamInterface<std::string> {};

// An id that is no integer at all is refused like one out of range: the save goes on.
TEST_P(DeviceIdTest, OutOfRangeOrNoNumberShowsTheBoxKeepsRtuAndWritesTheRest) {
  folder_.Write("rtu.cfg", "old");
  EXPECT_EQ(Save(WithDeviceId(GetParam(), 3)), "(no error)");
  EXPECT_EQ(folder_.Read("rtu.cfg"), "old");
  EXPECT_THAT(messages_, ElementsAre(Message{kDeviceIdRangeText, kDeviceIdRangeCaption}));
  EXPECT_EQ(folder_.Read("vol.cfg"), "3");
  EXPECT_EQ(folder_.Read("Err1.mp3"), ErrorClipBytes());
}

INSTANTIATE_TEST_SUITE_P(Ids, DeviceIdTest,
                         ::testing::Values("0", "248", "-1", "99999", "", "abc", "1 2",
                                           "99999999999"));

TEST_F(SaveTest, DeviceIdsAtTheEndsOfTheRangeAreWritten) {
  Save(WithDeviceId("247"));
  EXPECT_EQ(folder_.Read("rtu.cfg"), "247,115200,N,8,1");
  Save(WithDeviceId("001"));
  EXPECT_EQ(folder_.Read("rtu.cfg"), "001,115200,N,8,1");
  EXPECT_THAT(messages_, IsEmpty());
}

TEST_F(SaveTest, OverLongLineIsRefusedWithAMessageAndTheSaveGoesOn) {
  folder_.Write("rtu.cfg", "old");
  EXPECT_EQ(Save(WithDeviceId(std::string(250, '0') + "1")), "(no error)");
  EXPECT_THAT(messages_, ElementsAre(Message{"The Modbus RTU settings line would be 264 bytes "
                                             "long; the player accepts at most 255.",
                                             "Modbus RTU Settings Error"}));
  EXPECT_EQ(folder_.Read("rtu.cfg"), "old");
  EXPECT_EQ(folder_.Read("vol.cfg"), "5");
  EXPECT_EQ(folder_.Read("Err1.mp3"), ErrorClipBytes());
}

TEST_F(SaveTest, FailedVolumeFileStopsTheSaveBeforeTheClip) {
  folder_.MakeFolder("vol.cfg");
  folder_.Write("Err1.mp3", "previous clip");
  EXPECT_THAT(Save(AlarmProject{}),
              ::testing::StartsWith(CannotCreatePrefix((folder_ / "vol.cfg"))));
  EXPECT_EQ(folder_.Read("rtu.cfg"), "1,115200,N,8,1");
  EXPECT_EQ(folder_.Read("Err1.mp3"), "previous clip");
}

// --- Reading ----------------------------------------------------------------------------

struct VolumeCase {
  std::string content;
  std::string result;  // the volume, or the error raised
};

class ReadVolumeFileTest : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(ReadVolumeFileTest, TakesTheFirstLineClampedToTheSlider) {
  TempFolder folder;
  folder.Write("vol.cfg", GetParam().content);
  AlarmProject project;
  project.Volume = 8;
  DiagnosticLog log;
  const std::string error = ErrorOf([&] { ReadVolumeFile(project, folder.Dir(), log); });
  EXPECT_EQ(error == "(no error)" ? std::to_string(project.Volume) : error, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadVolumeFileTest,
                         ::testing::Values(VolumeCase{"15", "10"}, VolumeCase{"-3", "0"},
                                           VolumeCase{"7", "7"}, VolumeCase{"2\r\n9\r\n", "2"},
                                           VolumeCase{"\xEF\xBB\xBF"
                                                      "9",
                                                      "9"},
                                           VolumeCase{"", "List index out of bounds (0)"},
                                           VolumeCase{"abc", "'abc' is not a valid integer value"},
                                           VolumeCase{" 5", "' 5' is not a valid integer value"}));

TEST(ReadVolumeFileTest, GivesFiveAndLogsNothingWithoutAFile) {
  TempFolder folder;
  AlarmProject project;
  project.Volume = 8;
  DiagnosticLog log;
  ReadVolumeFile(project, folder.Dir(), log);
  EXPECT_EQ(project.Volume, 5);
  EXPECT_EQ(log.Size(), 0u);
}

TEST(ReadRtuFileTest, ReadsTheFirstLineOnly) {
  TempFolder folder;
  folder.Write("rtu.cfg", "12,9600,E,8,2\r\n1,300,O,8,1\r\n");
  S settings;
  DiagnosticLog log;
  ReadRtuFile(settings, folder.Dir(), log);
  EXPECT_EQ(settings, (S{"12", "9600", "Even", "8", "2"}));
}

TEST(ReadRtuFileTest, WrittenSettingsReadBack) {
  TempFolder folder;
  AlarmProject project;
  project.Settings = S{"42", "57600", "Odd", "8", "2"};
  DiagnosticLog log;
  WriteRtuFile(project.Settings, folder.Dir(), log);
  S read;
  ReadRtuFile(read, folder.Dir(), log);
  EXPECT_EQ(read, project.Settings);
}

TEST(ReadRtuFileTest, MissingFileChangesNothingAndEmptyFileRaises) {
  TempFolder folder;
  const S before{"9", "4800", "Odd", "8", "2"};
  S settings = before;
  DiagnosticLog log;
  ReadRtuFile(settings, folder.Dir(), log);
  EXPECT_EQ(log.Size(), 0u);

  folder.Write("rtu.cfg", "");
  EXPECT_EQ(ErrorOf([&] { ReadRtuFile(settings, folder.Dir(), log); }),
            "List index out of bounds (0)");
  EXPECT_EQ(settings, before);
}

}  // namespace
}  // namespace pwx
