#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/IntegerText.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "model/Choices.h"
#include "textform/ProjectTextJson.h"

namespace pwx {
namespace {

using testing::PlayListBytes;

// A library of every clip, so that every stored clip number is offered.
AlarmProject RecordWithAllClips() {
  AlarmProject project;
  for (int n = 1; n <= kLibrarySize; ++n) {
    project.Library.Entry(n) = {"/sounds/clip " + ThreeDigits(n) + ".mp3",
                                "clip " + ThreeDigits(n)};
  }
  return project;
}

// The text form of a play list as a save of it writes it.
ProjectText TextOfPlayList(const std::string& bytes) {
  PlayListImage loaded;
  LoadPlayListBytes(loaded, bytes);
  AlarmProject project = RecordWithAllClips();
  DiagnosticLog log;
  ApplyPlayList(loaded, project, BuildClipChoices(project.Library), log);
  return ProjectTextOf(project, PlayListASaveWrites(loaded, project, log));
}

std::string Noise() {
  std::string bytes(512, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 37 + 11) % 256);
  return bytes;
}

struct ImageCase {
  const char* name;
  std::string bytes;
};

class PlayListRoundTrip : public ::testing::TestWithParam<ImageCase> {};

// The text form holds every byte a save writes: written and read back, it gives the same
// 512 bytes, whatever the image's reserved bytes, hidden slots and odd values.
TEST_P(PlayListRoundTrip, textFormGivesTheSavedBytesBack) {
  const ProjectText text = TextOfPlayList(GetParam().bytes);
  const ProjectText read = ReadProjectText(ProjectTextJson(text), ProjectText{});
  EXPECT_EQ(read, text);
  PlayListImage saved;
  LoadPlayListBytes(saved, GetParam().bytes);
  AlarmProject project = RecordWithAllClips();
  DiagnosticLog log;
  ApplyPlayList(saved, project, BuildClipChoices(project.Library), log);
  EXPECT_EQ(PlayListOfText(read), PlayListASaveWrites(saved, project, log));
}

INSTANTIATE_TEST_SUITE_P(
    Images, PlayListRoundTrip,
    ::testing::Values(
        ImageCase{"newProject", PlayListBytes().Bytes()},
        ImageCase{"savedDigital",
                  PlayListBytes().Saved().Slot(0, {1, 2}, 3, true).Slot(1, {3}).Bytes()},
        ImageCase{"binaryModeAllFour",
                  PlayListBytes().Saved().Mode(5).Slot(14, {64, 63, 62, 61}, 255, true).Bytes()},
        ImageCase{"hiddenAndSpareSlots",
                  PlayListBytes().Saved().Slot(20, {7}, 9).Slot(31, {8, 9}, 2, true).Bytes()},
        ImageCase{"noiseEverywhere", PlayListBytes(Noise()).Bytes()},
        ImageCase{"modeByteHigh", PlayListBytes(Noise()).Mode(200).Bytes()},
        ImageCase{"holeAndZeroRepeat", PlayListBytes().Saved().Slot(2, {0, 5}, 0).Bytes()},
        ImageCase{"clipPastTheLibrary", PlayListBytes().Saved().Slot(3, {65, 200}).Bytes()},
        ImageCase{"shortFile", std::string("\x5A\x35\x77\xA5\x01\x02", 6)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectTextJson, keysComeInTheirOrderOneValueALine) {
  ProjectText text = TextOfPlayList(PlayListBytes().Saved().Slot(0, {3}).Bytes());
  text.Settings.DeviceId = "12";
  const std::string json = ProjectTextJson(text);
  const std::string start =
      "{\n  \"format\": \"pwx36-project\",\n  \"version\": 1,\n  \"settings\": {\n"
      "    \"device-id\": \"12\",\n    \"baud\": \"115200\",\n    \"parity\": \"None\",\n"
      "    \"data-bits\": \"8\",\n    \"stop-bits\": \"1\",\n    \"volume\": 5\n  },\n"
      "  \"mode\": 0,\n  \"slots\": [\n";
  EXPECT_EQ(json.substr(0, start.size()), start);
  EXPECT_NE(json.find("      \"slot\": 1,\n      \"input\": \"DI1\",\n      \"shown\": true,\n"
                      "      \"clips\": [\n        {\n          \"number\": 3,\n"
                      "          \"name\": \"clip 003\"\n"),
            std::string::npos)
      << json.substr(0, 800);
  EXPECT_EQ(json.back(), '\n');
}

TEST(ProjectTextJson, leftOutKeysKeepTheProjectsValues) {
  ProjectText base = TextOfPlayList(PlayListBytes().Saved().Slot(1, {4}, 2).Bytes());
  base.Settings.BaudRate = "9600";
  const ProjectText read = ReadProjectText(
      R"({"version": 1, "settings": {"device-id": 12, "parity": "E"}, "slots": [{"slot": 2, "repeat": 5}]})",
      base);
  EXPECT_EQ(read.Settings.DeviceId, "12");
  EXPECT_EQ(read.Settings.Parity, "Even");
  EXPECT_EQ(read.Settings.BaudRate, "9600");
  EXPECT_EQ(read.Slots[1].Clips, std::vector<int>{4});
  EXPECT_EQ(read.Slots[1].Repeat, 5);
  EXPECT_EQ(read.Library, base.Library);
}

TEST(ProjectTextJson, aGivenLibraryReplacesTheProjectsAndNamesFollowTheSource) {
  const ProjectText read = ReadProjectText(
      R"({"version": 1, "library": [{"number": 7, "source": "/s/Gas leak.wav", "name": "x"}],
          "slots": [{"slot": 1, "clips": [7, {"number": 7}]}]})",
      TextOfPlayList(PlayListBytes().Bytes()));
  ASSERT_EQ(read.Library.size(), 1u);
  EXPECT_EQ(read.Library[0].Name, "Gas leak");
  EXPECT_EQ(read.Slots[0].Clips, (std::vector<int>{7, 7}));
}

struct BadText {
  const char* name;
  std::string json;
  std::string message;  // the whole of what the user reads
};

class BadTextForm : public ::testing::TestWithParam<BadText> {};

TEST_P(BadTextForm, isRefusedNamingWhere) {
  try {
    ReadProjectText(GetParam().json, ProjectText{});
    FAIL() << "accepted";
  } catch (const TextFormError& error) {
    EXPECT_EQ(std::string(error.what()), GetParam().message);
  }
}

const std::string kHugeText(1 << 20, 'a');

INSTANTIATE_TEST_SUITE_P(
    Table, BadTextForm,
    ::testing::Values(
        BadText{"notJson", "{\n  \"version\": 1,\n  oops\n}",
                "The text form is not valid JSON: parse error at line 3, column 3: syntax error "
                "while parsing object key - invalid literal; last read: '1,<U+000A>  o'; expected "
                "string literal"},
        BadText{"empty", "",
                "The text form is not valid JSON: parse error at line 1, column 1: syntax error "
                "while parsing value - unexpected end of input; expected '[', '{', or a literal"},
        BadText{"notAnObject", "[1]", "a JSON object is wanted here, not a array."},
        BadText{"noVersion", "{}", "version: the text form does not say its version."},
        BadText{"laterVersion", R"({"version": 2})",
                "version: version 2 is not known to this program, which reads version 1."},
        BadText{"versionAsText", R"({"version": "1"})",
                "version: a whole number is wanted here, not a string."},
        BadText{"otherFormat", R"({"format": "csv", "version": 1})",
                "format: this is no project text form (it would say \"pwx36-project\")."},
        BadText{"unknownTopKey", R"({"version": 1, "colour": 3})",
                "colour: unknown key; the keys here are format, version, settings, mode, slots, "
                "unnamed-bytes, library, missing."},
        BadText{"unknownSettingKey", R"({"version": 1, "settings": {"baudrate": "9600"}})",
                "settings.baudrate: unknown key; the keys here are device-id, baud, parity, "
                "data-bits, stop-bits, volume."},
        BadText{"deviceIdOutOfRange", R"({"version": 1, "settings": {"device-id": 300}})",
                "settings.device-id: Device ID range must be 1 ~ 247"},
        BadText{"deviceIdZero", R"({"version": 1, "settings": {"device-id": "0"}})",
                "settings.device-id: Device ID range must be 1 ~ 247"},
        BadText{"deviceIdLetters", R"({"version": 1, "settings": {"device-id": "12a"}})",
                "settings.device-id: '12a' is not a valid integer value"},
        BadText{"deviceIdTooManyZeros",
                R"({"version": 1, "settings": {"device-id": ")" + std::string(250, '0') + R"(7"}})",
                "settings.device-id: The Modbus RTU settings line would be 264 bytes long; the "
                "player accepts at most 255."},
        BadText{"unknownBaud", R"({"version": 1, "settings": {"baud": 250000}})",
                "settings.baud: BaudRate \"250000\" is not one the player knows; choose one of "
                "300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200."},
        BadText{"unknownParity", R"({"version": 1, "settings": {"parity": "X"}})",
                "settings.parity: Parity \"X\" is not one the player knows; choose one of None, "
                "Even, Odd."},
        BadText{"volumeAsText", R"({"version": 1, "settings": {"volume": "7"}})",
                "settings.volume: a whole number is wanted here, not a string."},
        BadText{"volumeTooHigh", R"({"version": 1, "settings": {"volume": 12}})",
                "settings.volume: Volume 12 is not from 0 to 10."},
        BadText{"modeTooHigh", R"({"version": 1, "mode": 256})",
                "mode: Mode 256 is not one the player stores; choose one of 0 to 7."},
        BadText{"clipZero", R"({"version": 1, "slots": [{"slot": 2, "clips": [0]}]})",
                "slots[0].clips[0]: The clip number must be from 1 to 64 (not 0)."},
        BadText{"clip65", R"({"version": 1, "slots": [{"slot": 2, "clips": [{"number": 65}]}]})",
                "slots[0].clips[0].number: The clip number must be from 1 to 64 (not 65)."},
        BadText{"fiveClips", R"({"version": 1, "slots": [{"slot": 1, "clips": [1, 2, 3, 4, 5]}]})",
                "slots[0].clips: DI1 holds 5 clips; an input plays at most 4."},
        BadText{"repeatZero", R"({"version": 1, "slots": [{"slot": 2, "repeat": 0}]})",
                "slots[0].repeat: Repeat \"0\" of DI2 is not a count from 1 to 255."},
        BadText{"repeatOfBinaryInput",
                R"({"version": 1, "mode": 4, "slots": [{"slot": 7, "repeat": 256}]})",
                "slots[0].repeat: Repeat \"256\" of bI7 (0111b) is not a count from 1 to 255."},
        BadText{"alarmOutputAsWord",
                R"({"version": 1, "slots": [{"slot": 1, "alarm-output": "yes"}]})",
                "slots[0].alarm-output: a true or false is wanted here, not a string."},
        BadText{"slotMissing", R"({"version": 1, "slots": [{"repeat": 2}]})",
                "slots[0]: the slot's \"slot\" is missing."},
        BadText{"slot33", R"({"version": 1, "slots": [{"slot": 33}]})",
                "slots[0].slot: The slot must be from 1 to 32 (not 33)."},
        BadText{"slotTwice", R"({"version": 1, "slots": [{"slot": 3}, {"slot": 3}]})",
                "slots[1].slot: slot 3 is given twice."},
        BadText{"unnamedRowUnknown", R"({"version": 1, "unnamed-bytes": {"0008": "00"}})",
                "unnamed-bytes.0008: unknown key; the keys here are the offsets of the play "
                "list's unnamed bytes, 0004 to 01F0."},
        BadText{"unnamedRowShort", R"({"version": 1, "unnamed-bytes": {"0004": "0000"}})",
                "unnamed-bytes.0004: the row holds 4 bytes, written as 8 hex digits."},
        BadText{"unnamedRowNotHex", R"({"version": 1, "unnamed-bytes": {"0004": "0000000g"}})",
                "unnamed-bytes.0004: the row holds 4 bytes, written as 8 hex digits."},
        BadText{"librarySourceMissing", R"({"version": 1, "library": [{"number": 3}]})",
                "library[0]: the clip's \"source\" is missing."},
        BadText{
            "libraryClipTwice",
            R"({"version": 1, "library": [{"number": 3, "source": "a"}, {"number": 3, "source": "b"}]})",
            "library[1].number: clip 003 is given twice."},
        BadText{"libraryBadDigest",
                R"({"version": 1, "library": [{"number": 3, "source": "a", "sha256": "ab"}]})",
                "library[0].sha256: a SHA-256 is 64 hex digits."},
        BadText{"hugeSource",
                R"({"version": 1, "library": [{"number": 3, "source": ")" + kHugeText + R"("}]})",
                "library[0].source: a text of 1,048,576 bytes is longer than any value of a "
                "project (at most 4,096)."},
        BadText{"hugeKey", "{\"version\": 1, \"" + kHugeText + "\": 1}",
                "a key of 1,048,576 bytes is no key of the text form."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pwx
