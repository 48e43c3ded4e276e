// plist.cfg: the saved bytes, how the image shows in the record and saves back, and
// loading files of every length.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "WriteFailures.h"
#include "common/IntegerText.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/tests/ProjectFileBytes.h"

namespace pwx {
namespace {

using ::testing::ElementsAre;
using testing::TempFolder;

constexpr std::size_t kCountAt = 32, kRepeatAt = 96, kFlagAt = 160, kClipsAt = 256;

// A new project in mode 0: row DI1 plays 001 then 002 three times with the alarm output,
// row DI2 plays 003 once, every other row as it came. Rows of 16 bytes by offset; a row not
// listed is all zeros.
const std::string kOnes = "01 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01";
const std::map<std::size_t, std::string> kExampleRows = {
    {0x000, "5A 35 77 A5 00 00 00 00 00 00 00 00 00 00 00 00"},  // signature, mode 0
    {0x020, "02 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01"},  // clip counts
    {0x030, kOnes},
    {0x060, "03 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01"},  // repeats, all 64 slots
    {0x070, kOnes},
    {0x080, kOnes},
    {0x090, kOnes},
    {0x0A0, "01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},  // alarm flags
    {0x100, "01 02 00 00 03 00 00 00 00 00 00 00 00 00 00 00"},  // clip lists
};

std::string ExampleRow(std::size_t offset) {
  auto row = kExampleRows.find(offset);
  return row != kExampleRows.end() ? row->second
                                   : "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
}

std::string FromHex(const std::string& row) {
  std::istringstream in(row);
  std::string bytes, pair;
  while (in >> pair) bytes += static_cast<char>(std::stoi(pair, nullptr, 16));
  return bytes;
}

PlayListImage NewImage() {
  PlayListImage image;
  image.Bytes.fill(0xEE);
  ResetPlayListImage(image);
  return image;
}

std::vector<std::uint8_t> ClipBytes(const PlayListImage& image, int slot) {
  auto first = image.Bytes.begin() + kClipsAt + 4 * slot;
  return {first, first + 4};
}

long CountOf(const DiagnosticLog& log, const std::string& line) {
  return std::count(log.Lines().begin(), log.Lines().end(), line);
}

TEST(WritePlayListFileTest, NewProjectExampleIsWrittenByteForByte) {
  TempFolder folder;
  AlarmProject project;
  project.Slots[0] = {{"001", "002", "None", "None"}, "3", true};
  project.Slots[1].Clips[0] = "003";
  PlayListImage image = NewImage();
  DiagnosticLog log;
  WritePlayListFile(image, project, folder.Dir(), log);

  std::string expected;
  for (std::size_t offset = 0; offset < 512; offset += 16) expected += FromHex(ExampleRow(offset));
  ASSERT_EQ(expected.size(), 512u);
  EXPECT_EQ(folder.Read("plist.cfg"), expected);
  EXPECT_EQ(log.Size(), 33u);  // the dump and the file name, as the save trace shows

  // Every text that fails to convert adds one line.
  project.Slots[4].Clips[0] = "";
  project.Slots[9].Repeat = "x";
  DiagnosticLog second;
  WritePlayListFile(image, project, folder.Dir(), second);
  EXPECT_EQ(second.Size(), 35u);
}

struct RepeatCase {
  std::string text;
  std::uint8_t stored;
  long conversionErrors;
};

class RepeatTextTest : public ::testing::TestWithParam<RepeatCase> {};

TEST_P(RepeatTextTest, StoresLowByteAndNeverZero) {
  PlayListImage image = NewImage();
  AlarmSlot row;
  row.Repeat = GetParam().text;
  DiagnosticLog log;
  StoreSlot(image, 7, row, log);
  EXPECT_EQ(image.Bytes[kRepeatAt + 7], GetParam().stored);
  EXPECT_EQ(CountOf(log, "Str2Int Err"), GetParam().conversionErrors);
}

INSTANTIATE_TEST_SUITE_P(Texts, RepeatTextTest,
                         ::testing::Values(RepeatCase{"1", 1, 0}, RepeatCase{"255", 255, 0},
                                           RepeatCase{"0", 1, 0}, RepeatCase{"256", 1, 0},
                                           RepeatCase{"300", 44, 0}, RepeatCase{"-1", 255, 0},
                                           RepeatCase{"", 1, 1}, RepeatCase{"5 ", 1, 1}));

struct ClipListCase {
  std::array<std::string, 4> texts;
  std::vector<std::uint8_t> clipBytes;
  std::uint8_t count;
};

class ClipListTest : public ::testing::TestWithParam<ClipListCase> {};

TEST_P(ClipListTest, StoresClipsUpToTheFirstChoiceWithoutAClip) {
  PlayListImage image = NewImage();
  std::fill_n(image.Bytes.begin() + kClipsAt + 4 * 30, 4, 0x33);  // replaced, not merged
  AlarmSlot row;
  row.Clips = GetParam().texts;
  row.AlarmOutput = true;
  DiagnosticLog log;
  StoreSlot(image, 30, row, log);
  EXPECT_EQ(ClipBytes(image, 30), GetParam().clipBytes);
  EXPECT_EQ(image.Bytes[kCountAt + 30], GetParam().count);
  EXPECT_EQ(image.Bytes[kFlagAt + 30], 1);
}

// An empty text is a clip the selectors no longer offer; it ends the list like "None".
INSTANTIATE_TEST_SUITE_P(
    Rows, ClipListTest,
    ::testing::Values(ClipListCase{{"None", "None", "None", "None"}, {0, 0, 0, 0}, 1},
                      ClipListCase{{"001", "002", "None", "None"}, {1, 2, 0, 0}, 2},
                      ClipListCase{{"001", "002", "003", "064"}, {1, 2, 3, 64}, 4},
                      ClipListCase{{"None", "004", "None", "None"}, {0, 0, 0, 0}, 1},
                      ClipListCase{{"001", "None", "003", "None"}, {1, 0, 0, 0}, 1},
                      ClipListCase{{"005", "", "007", "None"}, {5, 0, 0, 0}, 1},
                      ClipListCase{{"", "001", "002", "003"}, {0, 0, 0, 0}, 1}));

struct Applied {
  AlarmProject project;
  DiagnosticLog log;
};

Applied Apply(const PlayListImage& image, const std::vector<std::string>& choices) {
  Applied result;
  ApplyPlayList(image, result.project, choices, result.log);
  return result;
}

const std::vector<std::string> kOneToFive{"None", "001", "002", "003", "004", "005"};

TEST(ApplyPlayListTest, ShowsEverySlot) {
  PlayListImage image = NewImage();
  const std::uint8_t clips[] = {1, 2, 3, 4};
  std::copy(std::begin(clips), std::end(clips), image.Bytes.begin() + kClipsAt + 4 * 31);
  image.Bytes[kRepeatAt + 31] = 255;
  image.Bytes[kFlagAt + 31] = 1;

  Applied shown = Apply(image, kOneToFive);
  EXPECT_EQ(shown.project.Slots[31], (AlarmSlot{{"001", "002", "003", "004"}, "255", true}));
  EXPECT_EQ(shown.project.Slots[0], AlarmSlot{});
}

TEST(ApplyPlayListTest, UnusualBytesAreShownAsTheWindowCanAndSavedNormalised) {
  PlayListImage image = NewImage();
  image.Bytes[0] = 0x00;  // wrong signature
  image.Bytes[kRepeatAt + 0] = 0;
  image.Bytes[kFlagAt + 1] = 2;
  image.Bytes[kFlagAt + 2] = 255;
  const std::uint8_t notOffered[] = {7, 2, 0, 0};
  std::copy(std::begin(notOffered), std::end(notOffered), image.Bytes.begin() + kClipsAt + 12);
  image.Bytes[kCountAt + 3] = 2;

  Applied shown = Apply(image, kOneToFive);
  EXPECT_EQ(shown.log.Lines()[0], "Header compare Err");
  EXPECT_EQ(shown.project.Slots[0].Repeat, "1");
  EXPECT_FALSE(shown.project.Slots[1].AlarmOutput);
  EXPECT_FALSE(shown.project.Slots[2].AlarmOutput);
  EXPECT_THAT(shown.project.Slots[3].Clips, ElementsAre("", "002", "None", "None"));

  CapturePlayList(image, shown.project, shown.log);
  EXPECT_THAT(std::vector<std::uint8_t>(image.Bytes.begin(), image.Bytes.begin() + 4),
              ElementsAre(0x5A, 0x35, 0x77, 0xA5));
  EXPECT_EQ(image.Bytes[kRepeatAt + 0], 1);
  EXPECT_EQ(image.Bytes[kFlagAt + 1], 0);
  EXPECT_EQ(image.Bytes[kFlagAt + 2], 0);
  EXPECT_THAT(ClipBytes(image, 3), ElementsAre(0, 0, 0, 0));
  EXPECT_EQ(image.Bytes[kCountAt + 3], 1);
}

class ModeByteTest : public ::testing::TestWithParam<std::uint8_t> {};

TEST_P(ModeByteTest, SetsModeTextAndValueUnchecked) {
  PlayListImage image = NewImage();
  image.Bytes[8] = GetParam();
  Applied shown = Apply(image, kOneToFive);
  EXPECT_EQ(shown.project.Mode.Value, GetParam());
  EXPECT_EQ(shown.project.Mode.Text, std::to_string(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeByteTest, ::testing::Values(0, 3, 5, 200));

TEST(ForgetClipTest, LeavesAHoleThatTheNextSaveClosesByDroppingTheRest) {
  PlayListImage image = NewImage();
  const std::uint8_t clips[] = {3, 5, 7, 0};
  std::copy(std::begin(clips), std::end(clips), image.Bytes.begin() + kClipsAt + 8);
  image.Bytes[kCountAt + 2] = 3;

  ForgetClip(image, 5);
  EXPECT_THAT(ClipBytes(image, 2), ElementsAre(3, 0, 7, 0));
  EXPECT_EQ(image.Bytes[kCountAt + 2], 3);

  Applied shown = Apply(image, {"None", "003", "007"});
  EXPECT_THAT(shown.project.Slots[2].Clips, ElementsAre("003", "None", "007", "None"));
  CapturePlayList(image, shown.project, shown.log);
  EXPECT_THAT(ClipBytes(image, 2), ElementsAre(3, 0, 0, 0));
  EXPECT_EQ(image.Bytes[kCountAt + 2], 1);
}

TEST(ForgetClipTest, ClearsTheNumberInAll64ClipListsAndNowhereElse) {
  PlayListImage image;
  image.Bytes.fill(5);
  image.Bytes[kPlayListSize - 1] = 6;
  ForgetClip(image, 5);
  for (std::size_t i = 0; i < kPlayListSize; ++i) {
    ASSERT_EQ(image.Bytes[i], i < kClipsAt ? 5 : (i == kPlayListSize - 1 ? 6 : 0)) << i;
  }
}

// A valid file with something in every byte: mode 6, clip lists of 0..4 clips, repeats,
// flags, and the bytes the window does not edit filled at random.
std::string BusyPlayListFile() {
  std::string noise(512, '\0');
  std::uint32_t seed = 12345;
  for (char& b : noise) b = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  testing::PlayListBytes file(noise);
  file.Mode(6);
  for (int s = 0; s < 32; ++s) {
    std::vector<int> clips;
    for (int k = 0; k < s % 5; ++k) clips.push_back(1 + (s * 7 + k) % 64);
    file.Slot(s, clips, 1 + s * 8, s % 3 == 0);
  }
  return file.Bytes();
}

TEST(PlayListRoundTripTest, LoadingShowingAndSavingKeepsEveryByte) {
  TempFolder folder;
  const std::string original = BusyPlayListFile();
  folder.Write("plist.cfg", original);
  std::vector<std::string> allClips{"None"};
  for (int n = 1; n <= 64; ++n) allClips.push_back(ThreeDigits(n));

  PlayListImage image = NewImage();
  Applied shown;
  ASSERT_EQ(ReadPlayListFile(image, folder.Dir(), shown.log), 512);
  ApplyPlayList(image, shown.project, allClips, shown.log);
  WritePlayListFile(image, shown.project, folder.Dir(), shown.log);
  EXPECT_EQ(folder.Read("plist.cfg"), original);
}

TEST(PlayListRoundTripTest, BytesTheWindowDoesNotEditTravelUnchanged) {
  TempFolder folder;
  const std::string original = BusyPlayListFile();
  folder.Write("plist.cfg", original);
  PlayListImage image = NewImage();
  DiagnosticLog log;
  ReadPlayListFile(image, folder.Dir(), log);
  AlarmProject project;  // every edited field differs from the file
  project.Mode.Value = 1;
  for (auto& row : project.Slots) row = AlarmSlot{{"009", "None", "None", "None"}, "2", true};
  WritePlayListFile(image, project, folder.Dir(), log);

  const std::string saved = folder.Read("plist.cfg");
  ASSERT_EQ(saved.size(), 512u);
  for (auto [from, to] : {std::pair{4, 8}, {9, 32}, {64, 96}, {128, 160}, {192, 256}, {384, 512}}) {
    EXPECT_EQ(saved.substr(from, to - from), original.substr(from, to - from)) << from;
  }
  EXPECT_EQ(saved[8], 1);
  EXPECT_EQ(saved.substr(256, 8), std::string("\x09\0\0\0\x09\0\0\0", 8));
}

struct ReadCase {
  std::string name;
  std::optional<std::string> content;  // nothing: a folder stands where the file would be
  std::int64_t length;
  std::size_t bytesTaken;  // how many leading bytes of the image come from the file
};

class ReadPlayListFileTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadPlayListFileTest, TakesAtMost512BytesAndKeepsTheRestOfTheImage) {
  TempFolder folder;
  if (GetParam().content) {
    folder.Write("plist.cfg", *GetParam().content);
  } else if (GetParam().name == "Folder") {
    folder.MakeFolder("plist.cfg");
  }
  PlayListImage image;
  image.Bytes.fill(0xC3);
  DiagnosticLog log;
  EXPECT_EQ(ReadPlayListFile(image, folder.Dir(), log), GetParam().length);
  EXPECT_THAT(log.Lines(), ElementsAre("plist_fname Len: " + std::to_string(GetParam().length)));
  for (std::size_t i = 0; i < kPlayListSize; ++i) {
    const auto expected = i < GetParam().bytesTaken
                              ? static_cast<std::uint8_t>((*GetParam().content)[i])
                              : std::uint8_t{0xC3};
    ASSERT_EQ(image.Bytes[i], expected) << "offset " << i;
  }
}

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + 7);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(Lengths, ReadPlayListFileTest,
                         ::testing::Values(ReadCase{"Exact", Pattern(512), 512, 512},
                                           ReadCase{"Short", Pattern(10), 10, 10},
                                           ReadCase{"Empty", "", 0, 0},
                                           ReadCase{"Long", Pattern(600), 600, 512},
                                           ReadCase{"Huge", Pattern(70000), 70000, 512},
                                           ReadCase{"Missing", std::nullopt, -1, 0},
                                           ReadCase{"Folder", std::nullopt, -1, 0}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pwx
