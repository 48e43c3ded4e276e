#include <gtest/gtest.h>

#include "model/AlarmProject.h"
#include "model/Choices.h"
#include "model/ModeView.h"
#include "model/SlotLabels.h"

namespace pwx {
namespace {

TEST(ShortName, FollowsTheLastSeparatorOrDriveAndDropsTheLastExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Sounds\\Fire.mp3", "Fire"},
      {"D:\\Alarm\\Gas leak.mp3", "Gas leak"},
      {"C:\\a\\b.c.mp3", "b.c"},
      {"D:song.mp3", "song"},
      {"C:\\a\\noext", "noext"},
      {"/home/u/Tone.MP3", "Tone"},
      {"C:/x/y.mp3", "y"},
      {"/a/.mp3", ""},
      {"/a/dir/", ""},
      {"Fire alarm.old.mp3", "Fire alarm.old"},
      {"/m\xC3\xBAsica/\xE8\xAD\xA6.mp3", "\xE8\xAD\xA6"},
      {"", ""}};
  for (const auto& [path, name] : cases) EXPECT_EQ(ShortNameOf(path), name) << path;
}

TEST(Volume, ClampsToTheTrackBarRange) {
  AlarmProject project;
  EXPECT_EQ(project.Volume, 5);
  for (auto [in, out] : {std::pair{12, 10}, {-3, 0}, {0, 0}, {10, 10}, {7, 7}}) {
    project.SetVolume(in);
    EXPECT_EQ(project.Volume, out);
  }
}

TEST(SlotLabels, FollowTheBinaryCode) {
  EXPECT_EQ(BinaryLabel(0), "bI1 (0001b)");
  EXPECT_EQ(BinaryLabel(14), "bI15 (1111b)");
  EXPECT_EQ(BinaryLabel(15), "bI16 (10000b)");
  EXPECT_EQ(BinaryLabel(30), "bI31 (11111b)");
  EXPECT_EQ(DesignLabel(31), "DI6");
}

TEST(ModeView, BinaryThenDigitalFamily) {
  ModeView view;
  ApplyModeLabels(view, 5);
  EXPECT_EQ(view.FirstGroupCaption, "Mode 4-7, Binary Input(bI1~bI6))");
  for (int s = 0; s < kSlotCount; ++s) EXPECT_EQ(view.SlotVisible(s), s < 15) << s;
  EXPECT_EQ(view.RowLabels[5], "bI6 (0110b)");
  EXPECT_EQ(view.TestInputChoices.size(), 15u);
  EXPECT_EQ(view.TestInputChoices.back(), "bI15");
  EXPECT_EQ(view.TestInputIndex, 0);

  ApplyModeLabels(view, 3);
  EXPECT_EQ(view.FirstGroupCaption, "Mode 0-3, Digital Pin Input(DI1~DI4)");
  for (int s = 0; s < kSlotCount; ++s) EXPECT_EQ(view.SlotVisible(s), s < 4) << s;
  EXPECT_EQ(view.RowLabels[0], "DI1");
  EXPECT_EQ(view.RowLabels[4], "bI5 (0101b)");  // hidden rows keep their last label
  EXPECT_EQ(view.TestInputChoices, (std::vector<std::string>{"DI1", "DI2", "DI3", "DI4"}));

  ApplyModeLabels(view, 255);
  EXPECT_TRUE(view.SlotVisible(14));
  EXPECT_FALSE(view.SlotVisible(31));
}

TEST(Choices, ClipChoicesFollowTheOccupiedEntries) {
  AudioLibrary library;
  library.Entry(5) = {"/a/e.mp3", "e"};
  library.Entry(2) = {"/a/b.mp3", "b"};
  library.Entry(9) = {"/a/.mp3", ""};  // a path without a name counts as free
  const auto choices = BuildClipChoices(library);
  EXPECT_EQ(choices, (std::vector<std::string>{"None", "002", "005"}));
  EXPECT_EQ(SelectClipChoice(choices, "005"), "005");
  EXPECT_EQ(SelectClipChoice(choices, "007"), "");
  EXPECT_EQ(SelectClipChoice(choices, "none"), "");
}

TEST(Choices, SettingsPickIgnoringCaseOrKeepTheirText) {
  EXPECT_EQ(SelectSettingChoice(kParityChoices, "even", "None"), "Even");
  EXPECT_EQ(SelectSettingChoice(kParityChoices, "N", "None"), "None");
  EXPECT_EQ(SelectSettingChoice(kBaudRateChoices, "250000", "115200"), "115200");
  EXPECT_EQ(SelectSettingChoice(kBaudRateChoices, "9600", "115200"), "9600");
  EXPECT_EQ(SelectSettingChoice(kStopBitsChoices, "", "1"), "1");
}

}  // namespace
}  // namespace pwx
