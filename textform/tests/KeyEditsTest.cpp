#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textform/KeyEdits.h"

namespace pwx {
namespace {

struct EditCase {
  const char* name;
  std::vector<std::string> edits;
  std::string result;  // the edited values, or the refusal's text
};

// What the edits changed, in a few words.
std::string Summary(const ProjectText& text) {
  std::string clips;
  for (int clip : text.Slots[1].Clips) clips += std::to_string(clip) + " ";
  std::string clips7;
  for (int clip : text.Slots[6].Clips) clips7 += std::to_string(clip) + " ";
  const auto& s = text.Settings;
  return s.DeviceId + "," + s.BaudRate + "," + s.Parity + "," + s.DataBits + "," + s.StopBits +
         " vol " + std::to_string(text.Volume) + " mode " + std::to_string(text.Mode) + " slot2 " +
         clips + "x" + std::to_string(text.Slots[1].Repeat) +
         (text.Slots[1].AlarmOutput ? " alarm" : "") + " slot7 " + clips7;
}

class KeyEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(KeyEdit, changesWhatItNamesOrIsRefused) {
  std::string got;
  try {
    got = Summary(ApplyKeyEdits(ProjectText{}, GetParam().edits));
  } catch (const TextFormError& error) {
    got = error.what();
  }
  EXPECT_EQ(got, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyEdit,
    ::testing::Values(
        EditCase{"nothing", {}, "1,115200,None,8,1 vol 5 mode 0 slot2 x1 slot7 "},
        EditCase{
            "settings",
            {"device-id=12", "baud=9600", "parity=E", "data-bits=8", "stop-bits=2", "volume=7"},
            "12,9600,Even,8,2 vol 7 mode 0 slot2 x1 slot7 "},
        EditCase{"parityLetters", {"parity=O"}, "1,115200,Odd,8,1 vol 5 mode 0 slot2 x1 slot7 "},
        EditCase{
            "parityWordAnyCase", {"parity=even"}, "1,115200,Even,8,1 vol 5 mode 0 slot2 x1 slot7 "},
        EditCase{"digitalInput",
                 {"DI2=003,005", "DI2.repeat=3", "DI2.alarm-output=yes"},
                 "1,115200,None,8,1 vol 5 mode 0 slot2 3 5 x3 alarm slot7 "},
        EditCase{"clipsCleared",
                 {"DI2=003", "DI2=none"},
                 "1,115200,None,8,1 vol 5 mode 0 slot2 x1 slot7 "},
        EditCase{"binaryInputAfterModeChange",
                 {"bI7=001", "mode=5"},
                 "1,115200,None,8,1 vol 5 mode 5 slot2 x1 slot7 1 "},
        EditCase{
            "deviceIdOutOfRange", {"device-id=300"}, "device-id: Device ID range must be 1 ~ 247"},
        EditCase{"deviceIdNotANumber",
                 {"device-id=twelve"},
                 "device-id: 'twelve' is not a valid integer value"},
        EditCase{"unknownBaud",
                 {"baud=250000"},
                 "baud: BaudRate \"250000\" is not one the player knows; choose one of 300, 600, "
                 "1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200."},
        EditCase{"volumeTooHigh", {"volume=11"}, "volume: Volume 11 is not from 0 to 10."},
        EditCase{"repeatOutOfRange",
                 {"DI2.repeat=256"},
                 "DI2.repeat: Repeat \"256\" of DI2 is not a count from 1 to 255."},
        EditCase{"clipZero", {"DI2=000"}, "DI2: The clip number must be from 1 to 64 (not 0)."},
        EditCase{"clip65", {"DI2=065"}, "DI2: The clip number must be from 1 to 64 (not 65)."},
        EditCase{"fiveClips", {"DI1=1,2,3,4,5"}, "DI1: 5 clips; an input plays at most 4."},
        EditCase{"alarmNotAWord",
                 {"DI2.alarm-output=maybe"},
                 "DI2.alarm-output: 'maybe' is neither yes nor no."},
        EditCase{"inputOfTheOtherFamily",
                 {"DI2=001", "mode=5"},
                 "DI2: mode 5 has no input DI2; its inputs are bI1 to bI15."},
        EditCase{"inputPastTheMode",
                 {"DI5=001"},
                 "DI5: unknown key; the keys are device-id, baud, parity, data-bits, stop-bits, "
                 "volume, mode, and per input (DI1 to DI4, bI1 to bI15) the input itself for "
                 "its clips, INPUT.repeat and INPUT.alarm-output."},
        EditCase{"noEquals", {"volume"}, "volume: an edit is KEY=VALUE, such as device-id=12."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pwx
