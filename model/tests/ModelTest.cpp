#include <gtest/gtest.h>

#include <set>

#include "model/AlarmProject.h"
#include "model/Choices.h"
#include "model/ModeView.h"
#include "model/SlotTable.h"

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

// The window's row controls, slot by slot as the play list stores them: panel, label, "#1" to
// "#4", "Repeat", "Alarm Output". Typed from the window's design, not from the table above.
const char* const kExpectedRows[kSlotCount] = {
    "Panel2 Label7 ComboBox9 ComboBox6 ComboBox7 ComboBox8 Edit2 CheckBox2",
    "Panel4 Label14 ComboBox13 ComboBox10 ComboBox11 ComboBox12 Edit3 CheckBox3",
    "Panel7 Label32 ComboBox25 ComboBox22 ComboBox23 ComboBox24 Edit6 CheckBox6",
    "Panel6 Label26 ComboBox21 ComboBox18 ComboBox19 ComboBox20 Edit5 CheckBox5",
    "Panel5 Label20 ComboBox17 ComboBox14 ComboBox15 ComboBox16 Edit4 CheckBox4",
    "Panel13 Label68 ComboBox49 ComboBox46 ComboBox47 ComboBox48 Edit12 CheckBox12",
    "Panel12 Label62 ComboBox45 ComboBox42 ComboBox43 ComboBox44 Edit11 CheckBox11",
    "Panel11 Label56 ComboBox41 ComboBox38 ComboBox39 ComboBox40 Edit10 CheckBox10",
    "Panel10 Label50 ComboBox37 ComboBox34 ComboBox35 ComboBox36 Edit9 CheckBox9",
    "Panel9 Label44 ComboBox33 ComboBox30 ComboBox31 ComboBox32 Edit8 CheckBox8",
    "Panel8 Label38 ComboBox29 ComboBox26 ComboBox27 ComboBox28 Edit7 CheckBox7",
    "Panel19 Label104 ComboBox73 ComboBox70 ComboBox71 ComboBox72 Edit18 CheckBox18",
    "Panel18 Label98 ComboBox69 ComboBox66 ComboBox67 ComboBox68 Edit17 CheckBox17",
    "Panel17 Label92 ComboBox65 ComboBox62 ComboBox63 ComboBox64 Edit16 CheckBox16",
    "Panel16 Label86 ComboBox61 ComboBox58 ComboBox59 ComboBox60 Edit15 CheckBox15",
    "Panel15 Label80 ComboBox57 ComboBox54 ComboBox55 ComboBox56 Edit14 CheckBox14",
    "Panel14 Label74 ComboBox53 ComboBox50 ComboBox51 ComboBox52 Edit13 CheckBox13",
    "Panel25 Label140 ComboBox97 ComboBox94 ComboBox95 ComboBox96 Edit24 CheckBox24",
    "Panel33 Label188 ComboBox129 ComboBox126 ComboBox127 ComboBox128 Edit32 CheckBox32",
    "Panel34 Label194 ComboBox133 ComboBox130 ComboBox131 ComboBox132 Edit33 CheckBox33",
    "Panel35 Label200 ComboBox137 ComboBox134 ComboBox135 ComboBox136 Edit34 CheckBox34",
    "Panel36 Label206 ComboBox141 ComboBox138 ComboBox139 ComboBox140 Edit35 CheckBox35",
    "Panel37 Label212 ComboBox145 ComboBox142 ComboBox143 ComboBox144 Edit36 CheckBox36",
    "Panel26 Label146 ComboBox101 ComboBox98 ComboBox99 ComboBox100 Edit25 CheckBox25",
    "Panel27 Label152 ComboBox105 ComboBox102 ComboBox103 ComboBox104 Edit26 CheckBox26",
    "Panel28 Label158 ComboBox109 ComboBox106 ComboBox107 ComboBox108 Edit27 CheckBox27",
    "Panel29 Label164 ComboBox113 ComboBox110 ComboBox111 ComboBox112 Edit28 CheckBox28",
    "Panel30 Label170 ComboBox117 ComboBox114 ComboBox115 ComboBox116 Edit29 CheckBox29",
    "Panel31 Label176 ComboBox121 ComboBox118 ComboBox119 ComboBox120 Edit30 CheckBox30",
    "Panel32 Label182 ComboBox125 ComboBox122 ComboBox123 ComboBox124 Edit31 CheckBox31",
    "Panel24 Label134 ComboBox93 ComboBox90 ComboBox91 ComboBox92 Edit23 CheckBox23",
    "Panel1 Label1 ComboBox2 ComboBox3 ComboBox4 ComboBox5 Edit1 CheckBox1",
};

TEST(SlotTable, EveryRowHoldsTheControlsOfItsSlot) {
  for (int s = 0; s < kSlotCount; ++s) {
    const SlotControls& row = kSlotTable[s];
    std::string names = std::string(row.Panel) + " " + row.Label;
    for (const char* clip : row.Clips) names += std::string(" ") + clip;
    names += std::string(" ") + row.Repeat + " " + row.AlarmOutput;
    EXPECT_EQ(names, kExpectedRows[s]) << "slot " << s;
  }
}

TEST(SlotTable, NamesAreUniqueAndLabelsFollowTheBinaryCode) {
  std::set<std::string> names;
  for (const auto& row : kSlotTable) {
    names.insert({row.Panel, row.Label, row.Repeat, row.AlarmOutput});
    for (auto* clip : row.Clips) names.insert(clip);
  }
  EXPECT_EQ(names.size(), 32u * 8u);
  EXPECT_EQ(BinaryLabel(0), "bI1 (0001b)");
  EXPECT_EQ(BinaryLabel(14), "bI15 (1111b)");
  EXPECT_EQ(BinaryLabel(15), "bI16 (10000b)");
  EXPECT_EQ(BinaryLabel(30), "bI31 (11111b)");
  EXPECT_EQ(DesignLabel(31), "DI6");
}

TEST(ModeView, BinaryThenDigitalFamily) {
  ModeView view;
  ApplyModeLabels(view, 5);
  EXPECT_EQ(view.GroupBox1Caption, "Mode 4-7, Binary Input(bI1~bI6))");
  for (int s = 0; s < kSlotCount; ++s) EXPECT_EQ(view.SlotVisible(s), s < 15) << s;
  EXPECT_EQ(view.RowLabels[5], "bI6 (0110b)");
  EXPECT_EQ(view.TestInputChoices.size(), 15u);
  EXPECT_EQ(view.TestInputChoices.back(), "bI15");
  EXPECT_EQ(view.TestInputIndex, 0);

  ApplyModeLabels(view, 3);
  EXPECT_EQ(view.GroupBox1Caption, "Mode 0-3, Digital Pin Input(DI1~DI4)");
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
