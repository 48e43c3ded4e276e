// m3fn.txt: the 64 source paths of the library, written and read back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WriteFailures.h"
#include "devicefiles/NameMapFile.h"

namespace pwx {
namespace {

using ::testing::ElementsAre;
using testing::ErrorOf;
using ::testing::StartsWith;
using testing::TempFolder;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kFire = "C:\\Sounds\\Fire.mp3";
const std::string kGas = "D:\\Alarm\\Gas leak.mp3";

std::string Times(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string out;
  for (const auto& line : lines) out += line + end;
  return out;
}

AudioLibrary FireAndGas() {
  AudioLibrary library;
  library.Entry(1) = {kFire, "Fire"};
  library.Entry(3) = {kGas, "Gas leak"};
  return library;
}

TEST(NameMapFileTest, EmptyLibraryIsTheMarkAnd64LineEndsAndLoadsBackEmpty) {
  TempFolder folder;
  DiagnosticLog log;
  SaveNameMap(AudioLibrary{}, folder.Dir(), log);
  EXPECT_EQ(folder.Read("m3fn.txt"), kBom + Times("\r\n", 64));

  AudioLibrary library = FireAndGas();
  LoadNameMap(library, folder.Dir(), log);
  EXPECT_EQ(library, AudioLibrary{});
}

TEST(NameMapFileTest, ExampleIsWrittenAs170BytesAndLoadsBackWithNames) {
  TempFolder folder;
  DiagnosticLog saveLog;
  SaveNameMap(FireAndGas(), folder.Dir(), saveLog);
  EXPECT_EQ(folder.Read("m3fn.txt"), kBom + kFire + "\r\n\r\n" + kGas + "\r\n" + Times("\r\n", 61));
  EXPECT_EQ(folder.Read("m3fn.txt").size(), 170u);

  AudioLibrary loaded;
  DiagnosticLog log;
  LoadNameMap(loaded, folder.Dir(), log);
  EXPECT_EQ(loaded, FireAndGas());
}

struct StyleCase {
  std::string name;
  std::string bytes;
};

class NameMapStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(NameMapStyleTest, LoadsTheSameLibrary) {
  AudioLibrary library;
  DiagnosticLog log;
  DecodeNameMap(GetParam().bytes, library, log);
  EXPECT_EQ(library, FireAndGas());
}

const std::vector<std::string> kThreeLines = {kFire, "", kGas};

INSTANTIATE_TEST_SUITE_P(
    Styles, NameMapStyleTest,
    ::testing::Values(StyleCase{"NoMark", Joined(kThreeLines, "\r\n") + Times("\r\n", 61)},
                      StyleCase{"LfOnly", kBom + Joined(kThreeLines, "\n") + Times("\n", 61)},
                      StyleCase{"CrOnly", Joined(kThreeLines, "\r") + Times("\r", 61)},
                      StyleCase{"LastLineWithoutEnd", kBom + kFire + "\r\n\r\n" + kGas},
                      StyleCase{"SeventyLines", kBom + Joined(kThreeLines, "\r\n") +
                                                    Times("\r\n", 61) +
                                                    Times("E:\\extra.mp3\r\n", 6)}),
    [](const auto& info) { return info.param.name; });

TEST(NameMapFileTest, TenLinesFillTheirNumbersAndLeaveTheRestFreeWithoutError) {
  TempFolder folder;
  std::vector<std::string> lines;
  for (int k = 1; k <= 10; ++k) lines.push_back("C:\\c" + std::to_string(k) + ".mp3");
  folder.Write("m3fn.txt", kBom + Joined(lines, "\r\n"));
  AudioLibrary library;
  DiagnosticLog log;
  EXPECT_EQ(ErrorOf([&] { LoadNameMap(library, folder.Dir(), log); }), "(no error)");
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(library.Entry(n).Short_FN, "c" + std::to_string(n));
  for (int n = 11; n <= 64; ++n) EXPECT_EQ(library.Entry(n), AudioEntry{}) << n;
  EXPECT_EQ(log.Lines()[0], "list->Count: 10");
  EXPECT_THAT(log.Lines().back(), StartsWith("m3fn_fname Len: "));
}

class NoLinesTest : public ::testing::TestWithParam<std::string> {};

TEST_P(NoLinesTest, EmptiesTheLibraryAndLogsOnlyTheCount) {
  AudioLibrary library = FireAndGas();
  DiagnosticLog log;
  DecodeNameMap(GetParam(), library, log);
  EXPECT_EQ(library, AudioLibrary{});
  EXPECT_THAT(log.Lines(), ElementsAre("list->Count: 0"));
}

INSTANTIATE_TEST_SUITE_P(Files, NoLinesTest, ::testing::Values("", kBom));

struct ShortNameCase {
  std::string path;
  std::string shortName;
};

class ShortNameTest : public ::testing::TestWithParam<ShortNameCase> {};

TEST_P(ShortNameTest, ShownNameIsTheFileNameWithoutItsLastExtension) {
  AudioLibrary library;
  DiagnosticLog log;
  DecodeNameMap(kBom + GetParam().path + "\r\n", library, log);
  EXPECT_EQ(library.Entry(1).Full_FN, GetParam().path);
  EXPECT_EQ(library.Entry(1).Short_FN, GetParam().shortName);
  // An entry without a shown name is free, yet its path is written back.
  EXPECT_EQ(EncodeNameMap(library).substr(3, GetParam().path.size() + 2), GetParam().path + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ShortNameTest,
    ::testing::Values(ShortNameCase{"C:\\a\\b.c.mp3", "b.c"}, ShortNameCase{"D:song.mp3", "song"},
                      ShortNameCase{"C:\\a\\noext", "noext"}, ShortNameCase{"C:/x/y.mp3", "y"},
                      ShortNameCase{"/home/op/Alarm 2.mp3", "Alarm 2"},
                      ShortNameCase{"C:\\a\\", ""}, ShortNameCase{"C:\\a\\.mp3", ""}));

TEST(NameMapFileTest, NonAsciiPathsRoundTripAsUtf8) {
  TempFolder folder;
  AudioLibrary library;
  library.Entry(2) = {"D:\\Alarme\\Café Süd\\Gefahr.mp3", "Gefahr"};
  library.Entry(12) = {"C:\\声音\\火警.mp3", "火警"};
  library.Entry(64) = {"/home/ольга/тревога.mp3", "тревога"};
  DiagnosticLog log;
  SaveNameMap(library, folder.Dir(), log);
  EXPECT_NE(folder.Read("m3fn.txt").find("\xE7\x81\xAB\xE8\xAD\xA6.mp3"), std::string::npos);

  AudioLibrary loaded;
  LoadNameMap(loaded, folder.Dir(), log);
  EXPECT_EQ(loaded, library);
}

TEST(NameMapFileTest, BytesThatAreNotUtf8AreKeptAsTheyAre) {
  TempFolder folder;
  // Bytes of a UTF-16 mark inside a line, and a broken sequence.
  const std::string first =
      "C:\\\xFF\xFE"
      "x.mp3";
  const std::string second = "C:\\bad\\na\xC3(me\x80.mp3";
  const std::string bytes = first + "\r\n" + second + "\r\n" + Times("\r\n", 62);
  folder.Write("m3fn.txt", bytes);
  AudioLibrary library;
  DiagnosticLog log;
  LoadNameMap(library, folder.Dir(), log);
  EXPECT_EQ(library.Entry(1).Full_FN, first);
  EXPECT_EQ(library.Entry(2).Short_FN, "na\xC3(me\x80");

  SaveNameMap(library, folder.Dir(), log);
  EXPECT_EQ(folder.Read("m3fn.txt"), kBom + bytes);
}

// A map saved as UTF-16 by an editor reads as UTF-16, and the next save writes UTF-8.
class Utf16NameMapTest : public ::testing::TestWithParam<bool> {};

TEST_P(Utf16NameMapTest, IsReadAsUtf16AndSavedBackAsUtf8) {
  const bool bigEndian = GetParam();
  const std::string text = Joined(kThreeLines, "\r\n") + Times("\r\n", 61);
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  TempFolder folder;
  folder.Write("m3fn.txt", bytes);
  AudioLibrary library;
  DiagnosticLog log;
  LoadNameMap(library, folder.Dir(), log);
  EXPECT_EQ(library, FireAndGas());
  SaveNameMap(library, folder.Dir(), log);
  EXPECT_EQ(folder.Read("m3fn.txt"), kBom + text);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, Utf16NameMapTest, ::testing::Bool(), [](const auto& info) {
  return info.param ? "BigEndian" : "LittleEndian";
});

TEST(NameMapFileTest, LineLongerThanAnyPathIsCutOutAndLeavesItsClipFree) {
  TempFolder folder;
  const std::string longest = "/" + std::string(kLongestPath - 1, 'p');
  folder.Write("m3fn.txt", kBom + kFire + "\r\n" + longest + "\r\n" + std::string(100000, 'x') +
                               "\r\n" + kGas + "\r\n");
  AudioLibrary library;
  DiagnosticLog log;
  EXPECT_EQ(LoadNameMap(library, folder.Dir(), log), (NameMapOmissions{{3}, 0}));
  EXPECT_EQ(library.Entry(1).Short_FN, "Fire");
  EXPECT_EQ(library.Entry(2).Full_FN, longest);  // as long as a path can be: kept
  EXPECT_EQ(library.Entry(3), AudioEntry{});
  EXPECT_EQ(library.Entry(4).Short_FN, "Gas leak");
  EXPECT_EQ(log.Lines()[0], "list->Count: 4");  // the cut line counts
}

TEST(NameMapFileTest, FileLargerThanAnyNameMapIsReadOnlyUpToTheLimit) {
  TempFolder folder;
  // Clip 1, then a line as long as the file may be: reading stops inside it.
  const std::string bytes =
      kBom + kFire + "\r\n" + std::string(kNameMapReadLimit, 'x') + "\r\n" + kGas;
  folder.Write("m3fn.txt", bytes);
  AudioLibrary library;
  DiagnosticLog log;
  EXPECT_EQ(LoadNameMap(library, folder.Dir(), log), (NameMapOmissions{{2}, 3}));
  EXPECT_EQ(library.Entry(1).Short_FN, "Fire");
  EXPECT_EQ(library.Entry(2), AudioEntry{});
  EXPECT_EQ(library.Entry(3), AudioEntry{});
  EXPECT_EQ(log.Lines().back(), "m3fn_fname Len: " + std::to_string(bytes.size()));
}

TEST(NameMapFileTest, NoticeNamesWhatWasLeftOutOnce) {
  EXPECT_EQ(OmissionsNotice({}), "");
  EXPECT_EQ(OmissionsNotice({{3}, 0}),
            "m3fn.txt: line 3 is longer than any path and was left out; clip 003 stays free");
  EXPECT_EQ(OmissionsNotice({{3, 12}, 0}),
            "m3fn.txt: lines 3, 12 are longer than any path and were left out; clips 003, 012 "
            "stay free");
  EXPECT_EQ(OmissionsNotice({{2}, 3}),
            "m3fn.txt: line 2 is longer than any path and was left out; clip 002 stays free; the "
            "file is larger than any name map and was read up to line 2; clips 003 to 064 stay "
            "free");
}

TEST(NameMapFileTest, UnreadableFileRaisesAndLeavesTheLibraryEmpty) {
  TempFolder folder;
  AudioLibrary library = FireAndGas();
  DiagnosticLog log;
  EXPECT_THAT(ErrorOf([&] { LoadNameMap(library, folder.Dir(), log); }),
              StartsWith("Cannot open file \"" + (folder.Dir() + "m3fn.txt") + "\". "));
  EXPECT_EQ(library, AudioLibrary{});

  folder.MakeFolder("m3fn.txt");
  library = FireAndGas();
  EXPECT_THAT(ErrorOf([&] { LoadNameMap(library, folder.Dir(), log); }),
              StartsWith("Cannot open file "));
  EXPECT_EQ(library, AudioLibrary{});
  EXPECT_EQ(log.Size(), 0u);
}

}  // namespace
}  // namespace pwx
