// One project folder changed by two editors (two windows, or a window and a command): each
// change holds the folder's lock and writes only its own line of m3fn.txt, so neither loses
// what the other did; a change that cannot get the lock changes nothing.
#include <chrono>

#include "audio/tests/Mp3Bytes.h"
#include "common/FolderLock.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::FakeAudioPlayer;
using testing::FakeHost;
using testing::Mp3Bytes;
using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::ReadWhole;
using testing::WriteFile;

// The project both editors open: clips 1 and 2, DI1 playing both.
class SharedFolder : public testing::EditorTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(start / "P");
    dir = ProjectDir("P");
    WriteFile(dir + "m3fn.txt", NameMapBytes({{1, "/s/a.mp3"}, {2, "/s/b.mp3"}}));
    WriteFile(dir + "001.mp3", "a");
    WriteFile(dir + "002.mp3", "b");
    WriteFile(dir + "plist.cfg", PlayListBytes().Saved().Slot(0, {1, 2}).Bytes());
    StartWithProject("P");
    other = std::make_unique<Editor>(otherHost, otherPlayer, start.Path());
    other->FormActivate();
  }
  std::string Source(const std::string& name) {
    std::filesystem::create_directories(start / "src");
    WriteFile(start / ("src/" + name), Mp3Bytes(name));
    return start / ("src/" + name);
  }
  static void Import(Editor& by, FakeHost& host, int row, const std::string& path) {
    by.StringGrid1Click(row, 1);
    host.fileAnswers.push_back(path);
    by.Handle([&] { by.StringGrid1DblClick(); });
  }
  static void Remove(Editor& by, int row) {
    by.StringGrid1Click(row, 1);
    by.Handle([&] { by.SpeedButton6Click(); });
  }
  // What the other editor does meanwhile.
  void OtherChanges(const std::string& what) {
    if (what == "imports 5") Import(*other, otherHost, 5, Source("e.mp3"));
    if (what == "removes 2") Remove(*other, 2);
    if (what == "replaces 2") Import(*other, otherHost, 2, Source("b2.mp3"));
  }
  void Change(const std::string& what) {
    if (what == "import 3") Import(*editor, host, 3, Source("c.mp3"));
    if (what == "removal 1") Remove(*editor, 1);
    if (what == "save") editor->Handle([&] { editor->SpeedButton9Click(); });
  }

  std::string dir;
  FakeHost otherHost;
  FakeAudioPlayer otherPlayer;
  std::unique_ptr<Editor> other;
};

struct Interleaving {
  const char* change;                            // what this editor does ...
  const char* otherChange;                       // ... after the other editor did this
  std::vector<std::pair<int, std::string>> map;  // m3fn.txt afterwards, by clip
  std::vector<std::string> choices;              // what this editor's selectors offer then
  const char* status;
  friend void PrintTo(const Interleaving& c, std::ostream* os) {
    *os << c.change << " after the other " << c.otherChange;
  }
};

class BothChangesLand : public SharedFolder, public ::testing::WithParamInterface<Interleaving> {};

TEST_P(BothChangesLand, InTheNameMapAndInTheWindow) {
  const Interleaving& c = GetParam();
  OtherChanges(c.otherChange);
  Change(c.change);
  std::vector<std::pair<int, std::string>> map;
  for (const auto& [clip, path] : c.map)
    map.emplace_back(clip, path[0] == '/' ? path : start / path);
  EXPECT_EQ(ReadWhole(dir + "m3fn.txt"), NameMapBytes(map));
  EXPECT_EQ(editor->ClipChoices(), c.choices);
  // A save says what it wrote first.
  const std::string saved =
      std::string(c.change) == "save"
          ? "Saved: plist.cfg, m3fn.txt, rtu.cfg, vol.cfg, Err1.mp3 in " + dir + "; "
          : "";
  EXPECT_EQ(editor->StatusText(), saved + c.status);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_TRUE(otherHost.errorBoxes.empty());
}

const char* const kTook5 =
    "Clip 005 was changed by another program and is shown as m3fn.txt now holds it";
const char* const kTook2 =
    "Clip 002 was changed by another program and is shown as m3fn.txt now holds it";

INSTANTIATE_TEST_SUITE_P(
    Changes, BothChangesLand,
    ::testing::Values(
        Interleaving{"import 3",
                     "imports 5",
                     {{1, "/s/a.mp3"}, {2, "/s/b.mp3"}, {3, "src/c.mp3"}, {5, "src/e.mp3"}},
                     {"None", "001", "002", "003", "005"},
                     kTook5},
        Interleaving{"import 3",
                     "removes 2",
                     {{1, "/s/a.mp3"}, {3, "src/c.mp3"}},
                     {"None", "001", "003"},
                     kTook2},
        Interleaving{"removal 1",
                     "imports 5",
                     {{2, "/s/b.mp3"}, {5, "src/e.mp3"}},
                     {"None", "002", "005"},
                     kTook5},
        Interleaving{"removal 1", "replaces 2", {{2, "src/b2.mp3"}}, {"None", "002"}, kTook2},
        Interleaving{"save",
                     "imports 5",
                     {{1, "/s/a.mp3"}, {2, "/s/b.mp3"}, {5, "src/e.mp3"}},
                     {"None", "001", "002", "005"},
                     kTook5},
        Interleaving{"save", "removes 2", {{1, "/s/a.mp3"}}, {"None", "001"}, kTook2}),
    [](const auto& info) {
      std::string name = std::string(info.param.change) + " after " + info.param.otherChange;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST_F(SharedFolder, SaveKeepsTheWindowEditsBesideTheOtherProgramsClip) {
  editor->ComboBox1Change("2");
  editor->SetRepeat(0, "4");
  OtherChanges("imports 5");
  editor->SpeedButton9Click();
  EXPECT_EQ(ReadWhole(dir + "plist.cfg"),
            PlayListBytes().Mode(2).Saved().Slot(0, {1, 2}, 4).Bytes());
  EXPECT_FALSE(editor->HasUnsavedChanges());
  EXPECT_EQ(editor->GridCell(5, 1), "e");
}

TEST_F(SharedFolder, TheLaterImportIntoTheSameClipWins) {
  OtherChanges("replaces 2");
  Import(*editor, host, 2, Source("b3.mp3"));
  EXPECT_EQ(ReadWhole(dir + "m3fn.txt"),
            NameMapBytes({{1, "/s/a.mp3"}, {2, start / "src/b3.mp3"}}));
  EXPECT_EQ(ReadWhole(dir + "002.mp3"), Mp3Bytes("b3.mp3"));
  EXPECT_EQ(editor->StatusText(), "");
}

// --- The folder's lock ----------------------------------------------------------------------

class HeldFolder : public SharedFolder, public ::testing::WithParamInterface<const char*> {};

TEST_P(HeldFolder, RefusesTheChangeAndChangesNothing) {
  editor->ComboBox1Change("3");  // an unsaved edit, so a refused save has something to lose
  editor->SetFolderLockWait(std::chrono::milliseconds(50));
  const std::string map = ReadWhole(dir + "m3fn.txt");
  const std::string plist = ReadWhole(dir + "plist.cfg");
  const AudioLibrary library = editor->Project().Library;
  const std::string source = Source("c.mp3");
  {
    const FolderLock held(dir);
    const std::string change = GetParam();
    if (change == "import") Import(*editor, host, 1, source);
    if (change == "removal") Remove(*editor, 1);
    if (change == "save") editor->Handle([&] { editor->SpeedButton9Click(); });
  }
  const std::string busy = FolderBusyText(dir);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_TRUE(host.errorBoxes[0] == busy || host.errorBoxes[0] == "Error!! : " + busy)
      << host.errorBoxes[0];
  EXPECT_EQ(ReadWhole(dir + "m3fn.txt"), map);
  EXPECT_EQ(ReadWhole(dir + "plist.cfg"), plist);
  EXPECT_EQ(ReadWhole(dir + "001.mp3"), "a");
  EXPECT_FALSE(FileExists(dir + "rtu.cfg"));
  EXPECT_EQ(editor->Project().Library, library);
  EXPECT_TRUE(editor->HasUnsavedChanges());
}

// A change of a project folder clears away the temporaries a killed run left there, and
// nothing else.
TEST_P(HeldFolder, ChangeRemovesTheTemporariesOfAKilledRun) {
  WriteFile(dir + ".plist.cfg-AbCdEf123456.saving", "half a play list");
  WriteFile(dir + ".005.mp3-0123456789ab.saving", "half a clip");
  WriteFile(dir + ".notes-short.saving", "the user's");
  const std::string change = GetParam();
  if (change == "import") Import(*editor, host, 3, Source("c.mp3"));
  if (change == "removal") Remove(*editor, 1);
  if (change == "save") editor->SpeedButton9Click();
  EXPECT_FALSE(FileExists(dir + ".plist.cfg-AbCdEf123456.saving"));
  EXPECT_FALSE(FileExists(dir + ".005.mp3-0123456789ab.saving"));
  EXPECT_TRUE(FileExists(dir + ".notes-short.saving"));
  EXPECT_TRUE(host.errorBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Changes, HeldFolder, ::testing::Values("import", "removal", "save"));

}  // namespace
}  // namespace pwx
