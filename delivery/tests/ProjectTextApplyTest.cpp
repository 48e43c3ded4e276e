#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/tests/TempFolder.h"
#include "delivery/ClipAudioCompare.h"
#include "delivery/ProjectTextApply.h"
#include "delivery/ProjectTextFolder.h"
#include "delivery/tests/CardTestProject.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "project/tests/Fakes.h"
#include "textform/KeyEdits.h"
#include "textform/ProjectTextJson.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::FilesIn;
using testing::PlayListBytes;

std::string Fixture(const std::string& name) {
  return std::string(PWX_CLIP_FIXTURES) + "/" + name;
}

// A project folder opened in an editor without a window.
struct Opened {
  explicit Opened(const std::string& start, const std::string& folder) {
    fs::create_directories(folder);
    editor = std::make_unique<Editor>(host, player, start);
    editor->SetMeasureAfterImport(false);
    editor->OpenProjectFolder(folder);
  }
  ProjectText Text() const { return TextOfSnapshot(editor->Snapshot()); }
  testing::FakeHost host;
  testing::FakeAudioPlayer player;
  std::unique_ptr<Editor> editor;
};

const char* kPlayerFiles[] = {"plist.cfg", "rtu.cfg", "vol.cfg", "m3fn.txt", "Err1.mp3"};

std::string Noise() {
  std::string bytes(512, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 53 + 7) % 256);
  return bytes;
}

struct ProjectCase {
  const char* name;
  std::string plist;
  std::string rtu;
  std::string volume;
};

class TextRoundTrip : public ::testing::TestWithParam<ProjectCase> {};

// The text form of a saved project, applied into a fresh folder that holds the same copies,
// gives the player's files byte for byte.
TEST_P(TextRoundTrip, applyIntoAFreshFolderGivesTheSameFiles) {
  testing::TempFolder dir;
  const std::string a = dir / "A";
  fs::create_directories(a);
  std::vector<std::pair<int, std::string>> map;
  const char* clips[] = {"mpeg1-stereo-cbr.mp3", "mpeg1-mono-vbr.mp3", "mpeg2-mono-cbr.mp3"};
  for (int n = 1; n <= 3; ++n) {
    fs::copy_file(Fixture(clips[n - 1]), a + "/00" + std::to_string(n) + ".mp3");
    map.emplace_back(n, "/sounds/clip " + std::to_string(n) + ".wav");
  }
  testing::WriteFile(a + "/m3fn.txt", testing::NameMapBytes(map));
  testing::WriteFile(a + "/plist.cfg", GetParam().plist);
  testing::WriteFile(a + "/rtu.cfg", GetParam().rtu);
  testing::WriteFile(a + "/vol.cfg", GetParam().volume);
  std::map<std::string, std::string> saved;
  std::string json;
  {
    Opened project(dir.Path(), a);
    project.editor->SpeedButton9Click();
    saved = FilesIn(a);
    json = ProjectTextJson(project.Text());
  }
  const std::string b = dir / "B";
  fs::create_directories(b);
  for (int n = 1; n <= 3; ++n) {
    fs::copy_file(a + "/00" + std::to_string(n) + ".mp3", b + "/00" + std::to_string(n) + ".mp3");
  }
  Opened fresh(dir.Path(), b);
  ApplyProjectText(*fresh.editor, ReadProjectText(json, fresh.Text()));
  const auto written = FilesIn(b);
  for (const char* file : kPlayerFiles) {
    ASSERT_TRUE(written.count(file)) << file;
    EXPECT_EQ(written.at(file), saved.at(file)) << file;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Projects, TextRoundTrip,
    ::testing::Values(
        ProjectCase{"threeClips", PlayListBytes().Saved().Slot(0, {1, 2, 3}).Bytes(),
                    "1,115200,N,8,1", "5"},
        ProjectCase{
            "binaryModeSettings",
            PlayListBytes().Saved().Mode(6).Slot(14, {3, 1}, 200, true).Slot(6, {2}).Bytes(),
            "12,9600,E,8,2", "10"},
        ProjectCase{"hiddenSlotsAndNoise",
                    PlayListBytes(Noise()).Saved().Slot(31, {2}, 4, true).Slot(20, {1}).Bytes(),
                    "007,19200,O,8,1", "0"},
        ProjectCase{"danglingClipAndZeroRepeat",
                    PlayListBytes().Saved().Slot(1, {9}, 0).Slot(2, {0, 3}).Bytes(),
                    "247,300,N,8,1", "3"}),
    [](const auto& info) { return std::string(info.param.name); });

class ApplyText : public ::testing::Test {
 protected:
  testing::TempFolder dir;
};

// An empty folder becomes a complete project: the clip imported from its source, every
// player file written.
TEST_F(ApplyText, buildsACompleteProjectInAnEmptyFolder) {
  const std::string source = dir / "bell.mp3";
  fs::copy_file(Fixture("mpeg1-mono-vbr.mp3"), source);
  Opened project(dir.Path(), dir / "P");
  const std::string json = R"({"version": 1, "settings": {"device-id": 12, "volume": 7},
      "library": [{"number": 3, "source": ")" +
                           source + R"("}],
      "slots": [{"slot": 2, "clips": [3], "repeat": 2, "alarm-output": true}]})";
  const ApplyResult result =
      ApplyProjectText(*project.editor, ReadProjectText(json, project.Text()));
  EXPECT_EQ(result.Imported, std::vector<int>{3});
  const auto files = FilesIn(dir / "P");
  for (const char* file : kPlayerFiles) EXPECT_TRUE(files.count(file)) << file;
  EXPECT_TRUE(files.count("003.mp3"));
  EXPECT_EQ(files.at("rtu.cfg"), "12,115200,N,8,1");
  EXPECT_EQ(files.at("vol.cfg"), "7");
  EXPECT_EQ(files.at("plist.cfg"), PlayListBytes().Saved().Slot(1, {3}, 2, true).Bytes());
  EXPECT_TRUE(project.host.messageBoxes.empty());
}

// A clip that a slot names while no library has it is refused with its number, and nothing
// is written.
TEST_F(ApplyText, refusesAClipTheLibraryLacksBeforeWritingAnything) {
  Opened project(dir.Path(), dir / "P");
  const ProjectText text =
      ReadProjectText(R"({"version": 1, "slots": [{"slot": 2, "clips": [7]}]})", project.Text());
  try {
    ApplyProjectText(*project.editor, text);
    FAIL() << "applied";
  } catch (const TextFormError& error) {
    EXPECT_EQ(std::string(error.what()),
              "slot 2: DI2 #1 names clip 007, which is not in the library; give its source in "
              "the library to import it.");
  }
  EXPECT_TRUE(FilesIn(dir / "P").empty());
}

TEST_F(ApplyText, refusesASourceThatCannotBeImported) {
  Opened project(dir.Path(), dir / "P");
  const ProjectText text = ReadProjectText(
      R"({"version": 1, "library": [{"number": 5, "source": "/no/such.mp3", "sha256": ")" +
          std::string(64, 'a') + R"("}]})",
      project.Text());
  EXPECT_THROW(ApplyProjectText(*project.editor, text), TextFormError);
  EXPECT_TRUE(FilesIn(dir / "P").empty());
}

// The one-line edits go through the same checks and save.
TEST_F(ApplyText, keyEditsSaveAsSaveProjectDoes) {
  testing::CardTestProject saved(dir.Path(), dir / "P");
  const ProjectText edited =
      ApplyKeyEdits(TextOfSnapshot(saved.Snapshot()),
                    {"device-id=12", "baud=9600", "parity=E", "stop-bits=2", "volume=7", "mode=5",
                     "bI7=003,001", "bI7.repeat=3", "bI7.alarm-output=yes"});
  ApplyProjectText(*saved.editor, edited);
  const auto files = FilesIn(dir / "P");
  EXPECT_EQ(files.at("rtu.cfg"), "12,9600,E,8,2");
  EXPECT_EQ(files.at("vol.cfg"), "7");
  EXPECT_EQ(files.at("plist.cfg"),
            PlayListBytes().Saved().Mode(5).Slot(0, {1, 2, 3}).Slot(6, {3, 1}, 3, true).Bytes());
}

// Clips whose copies differ only in their tags are "tags only"; other clips' audio differs.
TEST_F(ApplyText, diffOfTwoFoldersComparesClipsByTheirAudio) {
  testing::CardTestProject a(dir.Path(), dir / "A");
  testing::CardTestProject b(dir.Path(), dir / "B");
  // Clip 1 gains an ID3v1 tag; clip 2 becomes other audio; the Device ID changes.
  std::string tag = "TAG" + std::string(125, '\0');
  std::ofstream(dir / "B/001.mp3", std::ios::app | std::ios::binary) << tag;
  fs::copy_file(Fixture("mpeg1-stereo-cbr.mp3"), dir / "B/002.mp3",
                fs::copy_options::overwrite_existing);
  testing::WriteFile(dir / "B/rtu.cfg", "13,115200,N,8,1");
  Opened openA(dir.Path(), dir / "A");
  Opened openB(dir.Path(), dir / "B");
  const ProjectDiff diff = DiffProjectTexts(
      openA.Text(), openB.Text(),
      FolderClipComparer(openA.editor->Dirs().Work_DIR, openB.editor->Dirs().Work_DIR));
  std::vector<std::string> lines;
  for (const auto& line : diff.Lines) lines.push_back(line.Text);
  // The card test projects name their copies as sources, so the sources differ too.
  ASSERT_EQ(lines.size(), 6u) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines[0], "Device ID: 1 -> 13");
  EXPECT_EQ(lines[1].rfind("clip 001 001 source: ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], "clip 001 001: tags only (the audio is the same)");
  EXPECT_EQ(lines[4].rfind("clip 002 002: audio differs (-9.7 -> -7.1 LUFS, 0:01.0 -> 0:01.0)", 0),
            0u)
      << lines[4];
  EXPECT_EQ(diff.Outcome(), DiffOutcome::Different);
}

}  // namespace
}  // namespace pwx
