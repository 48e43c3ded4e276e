// The audio grid's keys and dropped files, and where the import's dialog opens.
#include "audio/tests/Mp3Bytes.h"
#include "common/IntegerText.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::ReadWhole;
using testing::WriteFile;

class GridInput : public testing::EditorTest {
 protected:
  void SetUp() override { StartWithProject("P"); }
  // An MP3 the player plays, marked by its name, or of `bytes` bytes.
  std::string Source(const std::string& name, std::uint64_t bytes = 0) {
    std::filesystem::create_directories(start / "src");
    WriteFile(start / ("src/" + name),
              bytes ? testing::Mp3BytesOfSize(bytes) : testing::Mp3Bytes(name));
    return start / ("src/" + name);
  }
  std::string Copy(int clip) const { return ProjectDir("P") + ThreeDigits(clip) + ".mp3"; }
};

TEST_F(GridInput, SpacePlaysAndEscapeStopsOnlyWhatWasOpened) {
  editor->StopKey();  // nothing open: no "No MCI device open" box for a key
  EXPECT_TRUE(host.errorBoxes.empty());
  editor->DropFiles(7, {Source("Bell.mp3")});
  editor->PlayKey();
  editor->StopKey();
  EXPECT_EQ(player.calls.back(), "stop");
  EXPECT_EQ(editor->StatusText(), "Playback Stop!!");
}

TEST_F(GridInput, DeleteAsksNamingClipAndCopyAndOnlyYesRemoves) {
  editor->DropFiles(7, {Source("Gas leak.mp3")});
  host.yesNoAnswers = {false, true};
  editor->DeleteKey();
  EXPECT_TRUE(FileExists(Copy(7)));
  editor->DeleteKey();
  EXPECT_FALSE(FileExists(Copy(7)));
  EXPECT_EQ(editor->GridCell(7, 1), "");
  EXPECT_EQ(host.questions.front(),
            "Remove clip 007 \"Gas leak\" from the project? Its copy 007.mp3 is deleted.");
  editor->DeleteKey();  // a free row: nothing to ask about
  EXPECT_EQ(host.questions.size(), 2u);
}

TEST_F(GridInput, OneDroppedFileImportsExactlyAsTheDialogDoes) {
  editor->DropFiles(3, {Source("big.mp3", 10485761)});
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"Error!! : File Size > then Buffer 10MB"});
  EXPECT_FALSE(FileExists(Copy(3)));
  editor->DropFiles(3, {Source("Tone.MP3")});
  EXPECT_EQ(editor->GridCell(3, 1), "Tone");
  EXPECT_EQ(ReadWhole(Copy(3)), testing::Mp3Bytes("Tone.MP3"));
}

TEST_F(GridInput, SeveralFilesFillTheRowAndTheFreeRowsAfterItAndSaySo) {
  editor->DropFiles(5, {Source("five.mp3")});
  editor->DropFiles(6, {Source("six.mp3")});
  host.yesNoAnswers = {true};  // replace clip 5
  editor->DropFiles(5, {Source("a.mp3"), Source("notes.txt"), Source("b.mp3"),
                        Source("big.mp3", 10485761), Source("c.mp3")});
  EXPECT_EQ(host.questions, std::vector<std::string>{"Replace clip 005 \"five\" with \"a.mp3\"?"});
  for (auto [row, name] : {std::pair{5, "a"}, {6, "six"}, {7, "b"}, {8, "c"}}) {
    EXPECT_EQ(editor->GridCell(row, 1), name) << row;
  }
  EXPECT_EQ(editor->StatusText(),
            "Dropped files imported into rows 005, 007, 008; skipped: notes.txt (not a sound "
            "file), big.mp3 (File Size > then Buffer 10MB)");
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(GridInput, DroppingOntoAnOccupiedRowAsksAndNoKeepsTheClip) {
  editor->DropFiles(5, {Source("five.mp3")});
  host.yesNoAnswers = {false};
  editor->DropFiles(5, {Source("x.mp3"), Source("y.mp3")});
  EXPECT_EQ(host.questions, std::vector<std::string>{"Replace clip 005 \"five\" with \"x.mp3\"?"});
  EXPECT_EQ(editor->GridCell(5, 1), "five");
  EXPECT_EQ(editor->GridCell(6, 1), "y");
  EXPECT_EQ(editor->StatusText(),
            "Dropped files imported into rows 006; skipped: x.mp3 (clip 005 kept)");
}

TEST_F(GridInput, TheImportDialogOpensWhereTheLastImportCameFromAlsoNextTime) {
  editor->StringGrid1Click(1, 1);
  host.fileAnswers.push_back(Source("a.mp3"));
  editor->StringGrid1DblClick();
  host.fileAnswers.push_back(std::nullopt);
  editor->StringGrid1DblClick();
  EXPECT_EQ(host.fileDialogStarts, (std::vector<std::string>{"", start / "src"}));

  Editor next(host, player, start.Path());  // the next run reads the preference
  next.FormActivate();
  next.StringGrid1Click(2, 1);
  host.fileAnswers.push_back(std::nullopt);
  next.StringGrid1DblClick();
  EXPECT_EQ(host.fileDialogStarts.back(), start / "src");
}

TEST(MaxTriggerPreference, IsWholeSecondsAboveZeroElseTheDefault) {
  const std::pair<const char*, int> cases[] = {
      {"", 600}, {"900", 900}, {"1", 1}, {"0", 600}, {"-5", 600}, {"12.5", 600}, {"ten", 600},
  };
  for (const auto& [text, seconds] : cases)
    EXPECT_EQ(MaxTriggerOfPreference(text), seconds) << text;
}

TEST_F(GridInput, TheTriggerLimitIsKeptForTheNextRun) {
  EXPECT_EQ(editor->MaxTriggerSeconds(), 600);
  editor->SetMaxTriggerSeconds(1200);
  Editor next(host, player, start.Path());
  EXPECT_EQ(next.MaxTriggerSeconds(), 1200);
}

}  // namespace
}  // namespace pwx
