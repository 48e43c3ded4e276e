#include "audio/tests/Mp3Bytes.h"
#include "common/tests/NamedPipe.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::ReadWhole;
using testing::WriteFile;

class ClipCommands : public testing::EditorTest {
 protected:
  void SetUp() override {
    StartWithProject("P");
    dir = ProjectDir("P");
  }
  // A source clip outside the project: an MP3 the player plays, marked by its name unless
  // other bytes are given.
  std::string Source(const std::string& name, std::string bytes = {}) {
    if (bytes.empty()) bytes = testing::Mp3Bytes(name);
    std::filesystem::create_directories(start / "src");
    WriteFile(start / ("src/" + name), bytes);
    return start / ("src/" + name);
  }
  void Import(int row, const std::string& path) {
    editor->StringGrid1Click(row, 1);
    host.fileAnswers.push_back(path);
    editor->Handle([&] { editor->StringGrid1DblClick(); });
  }
  void Remove(int row) {
    editor->StringGrid1Click(row, 1);
    editor->Handle([&] { editor->SpeedButton6Click(); });
  }
  std::vector<std::string> MapLines() {
    auto bytes = ReadWhole(dir + "m3fn.txt");
    std::vector<std::string> lines;
    for (std::size_t at = 3, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
      lines.push_back(bytes.substr(at, end - at));
    return lines;
  }
  std::string dir;
};

TEST_F(ClipCommands, ImportIntoRow12OfAnEmptyProject) {
  const auto source = Source("Fire alarm.mp3");
  Import(12, source);
  EXPECT_EQ(ReadWhole(dir + "012.mp3"), testing::Mp3Bytes("Fire alarm.mp3"));
  EXPECT_EQ(editor->GridCell(12, 1), "Fire alarm");
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "012"}));
  const auto lines = MapLines();
  ASSERT_EQ(lines.size(), 64u);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(lines[k], k == 11 ? source : "") << k;
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(ClipCommands, NamesAndLowerCaseCopies) {
  Import(3, Source("Tone.MP3"));
  Import(4, Source("a.b.mp3"));
  EXPECT_TRUE(FileExists(dir + "003.mp3"));
  EXPECT_EQ(editor->GridCell(3, 1), "Tone");
  EXPECT_EQ(editor->GridCell(4, 1), "a.b");
}

TEST_F(ClipCommands, SizeBoundaryAndCancelAfterRefusal) {
  const auto ok = Source("ok.mp3", testing::Mp3BytesOfSize(10485760));
  Import(1, ok);
  EXPECT_TRUE(FileExists(dir + "001.mp3"));
  EXPECT_TRUE(host.errorBoxes.empty());

  const auto big = Source("big.mp3", testing::Mp3BytesOfSize(10485761));
  Import(2, big);
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"Error!! : File Size > then Buffer 10MB"});
  EXPECT_EQ(editor->StatusText(), "Error!! : File Size > then Buffer 10MB");
  EXPECT_FALSE(FileExists(dir + "002.mp3"));
  EXPECT_EQ(editor->GridCell(2, 1), "");

  host.fileAnswers.push_back(std::nullopt);
  editor->StringGrid1DblClick();
  EXPECT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(editor->LastError(), "0");
}

TEST_F(ClipCommands, DoubleClickOnTheNumberColumnDoesNothing) {
  editor->StringGrid1Click(5, 0);
  editor->StringGrid1DblClick();  // no dialog scripted: asking for one would throw
  EXPECT_EQ(editor->GridCell(5, 1), "");
}

TEST_F(ClipCommands, FailedCopyChangesNothing) {
  const auto source = Source("Gone.mp3");
  Import(2, Source("Kept.mp3"));
  std::filesystem::remove(source);
  const auto mapBefore = ReadWhole(dir + "m3fn.txt");
  Import(2, source);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0].rfind("Error!! : ", 0), 0u);
  EXPECT_NE(host.errorBoxes[0].find("No such file or directory"), std::string::npos);
  EXPECT_EQ(editor->StatusText(), host.errorBoxes[0]);
  EXPECT_EQ(editor->GridCell(2, 1), "Kept");
  EXPECT_EQ(ReadWhole(dir + "002.mp3"), testing::Mp3Bytes("Kept.mp3"));
  EXPECT_EQ(ReadWhole(dir + "m3fn.txt"), mapBefore);
}

TEST_F(ClipCommands, PathWithALineBreakIsRefused) {
  const auto source = Source("a\nb.mp3");
  Import(2, source);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0], "Error!! : The file's path contains a line break: " + source);
  EXPECT_FALSE(FileExists(dir + "002.mp3"));
  EXPECT_FALSE(FileExists(dir + "m3fn.txt"));
  EXPECT_EQ(editor->GridCell(2, 1), "");
}

TEST_F(ClipCommands, NamedPipeIsRefusedAtOnceAndChangesNothing) {
  std::filesystem::create_directories(start / "src");
  const std::string pipe = start / "src/pipe.mp3";
  testing::MakeNamedPipe(pipe);
  EXPECT_TRUE(testing::ReturnsWithoutWaitingOn(pipe, [&] { Import(2, pipe); }));
  EXPECT_EQ(host.errorBoxes,
            std::vector<std::string>{"Error!! : \"" + pipe + "\" is not a regular file"});
  EXPECT_EQ(editor->GridCell(2, 1), "");
  EXPECT_FALSE(PathExists(dir + "002.mp3"));
}

TEST_F(ClipCommands, ImportingTheRowsOwnCopyKeepsIt) {
  Import(3, Source("x.mp3"));
  Import(3, dir + "003.mp3");
  EXPECT_EQ(ReadWhole(dir + "003.mp3"), testing::Mp3Bytes("x.mp3"));
  EXPECT_EQ(editor->GridCell(3, 1), "003");
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(ClipCommands, ImportOverAnOccupiedRowKeepsReferences) {
  Import(1, Source("a.mp3"));
  editor->SetClip(0, 0, "001");
  Import(1, Source("b.mp3"));
  EXPECT_EQ(ReadWhole(dir + "001.mp3"), testing::Mp3Bytes("b.mp3"));
  EXPECT_EQ(editor->Project().Slots[0].Clips[0], "001");
  EXPECT_EQ(editor->GridCell(1, 1), "b");
}

TEST_F(ClipCommands, UnsavedAlarmEditsSurviveAnImport) {
  Import(1, Source("a.mp3"));
  editor->ComboBox1Change("5");
  editor->SetClip(7, 0, "001");
  editor->SetRepeat(7, "9");
  editor->SetAlarmOutput(7, true);
  Import(2, Source("b.mp3"));
  const auto& project = editor->Project();
  EXPECT_EQ(project.Mode.Value, 5);
  EXPECT_EQ(project.Slots[7].Clips[0], "001");
  EXPECT_EQ(project.Slots[7].Repeat, "9");
  EXPECT_TRUE(project.Slots[7].AlarmOutput);
  EXPECT_FALSE(FileExists(dir + "plist.cfg"));  // nothing saved
}

TEST_F(ClipCommands, StoredClipThatIsNotOfferedComesBackWhenImported) {
  // A play list naming clip 40 while the library lacks it: the selector shows nothing,
  // yet importing clip 40 (or any other clip) must not lose the reference.
  WriteFile(dir + "plist.cfg", testing::PlayListBytes().Slot(0, {1, 40}).Bytes());
  WriteFile(dir + "m3fn.txt", testing::NameMapBytes({{1, "/s/one.mp3"}}));
  host.folderAnswers.push_back(start / "P");
  editor->SpeedButton7Click();
  EXPECT_EQ(editor->Project().Slots[0].Clips[1], "");
  Import(2, Source("two.mp3"));
  EXPECT_EQ(editor->Project().Slots[0].Clips[1], "");
  Import(40, Source("forty.mp3"));
  EXPECT_EQ(editor->Project().Slots[0].Clips[1], "040");
}

TEST_F(ClipCommands, RemovingTheMiddleClipLeavesAHole) {
  for (int n : {3, 5, 7}) Import(n, Source(std::to_string(n) + ".mp3"));
  editor->SetClip(2, 0, "003");
  editor->SetClip(2, 1, "005");
  editor->SetClip(2, 2, "007");
  Remove(5);
  const auto& slot = editor->Project().Slots[2];
  EXPECT_EQ(slot.Clips, (std::array<std::string, 4>{"003", "None", "007", "None"}));
  EXPECT_FALSE(FileExists(dir + "005.mp3"));
  EXPECT_TRUE(FileExists(dir + "003.mp3"));
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "003", "007"}));
  EXPECT_EQ(MapLines()[4], "");

  editor->SpeedButton9Click();
  const auto plist = ReadWhole(dir + "plist.cfg");
  EXPECT_EQ(plist.substr(256 + 8, 4), std::string("\x03\0\0\0", 4));
  EXPECT_EQ(plist[32 + 2], 1);
}

TEST_F(ClipCommands, RemovingAFreeRowDeletesAStrayCopyAndRewritesTheMap) {
  WriteFile(dir + "009.mp3", "stray");
  Remove(9);
  EXPECT_FALSE(FileExists(dir + "009.mp3"));
  EXPECT_EQ(MapLines().size(), 64u);
}

TEST_F(ClipCommands, CopyThatCannotBeDeletedLeavesTheEntry) {
  Import(4, Source("a.mp3"));
  std::filesystem::remove(dir + "004.mp3");
  std::filesystem::create_directories(dir + "004.mp3/blocker");  // not deletable as a file
  Remove(4);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("004.mp3"), std::string::npos);
  EXPECT_EQ(editor->GridCell(4, 1), "a");
  EXPECT_EQ(MapLines()[3], start / "src/a.mp3");
}

}  // namespace
}  // namespace pwx
