#include "common/tests/NamedPipe.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::WriteFile;

class Playback : public testing::EditorTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(start / "P");
    WriteFile(start / "P/m3fn.txt", NameMapBytes({{7, "/music/Bell.mp3"}}));
    WriteFile(start / "P/plist.cfg", PlayListBytes().Bytes());
    StartWithProject("P");
  }
  void Run(void (Editor::*action)()) {
    editor->Handle([&] { (editor.get()->*action)(); });
  }
};

TEST_F(Playback, EmptyRowOnlyLogsAnEmptyLine) {
  editor->StringGrid1Click(2, 1);
  const auto logSize = editor->Log().Size();
  Run(&Editor::SpeedButton4Click);
  EXPECT_EQ(editor->Log().Size(), logSize + 1);
  EXPECT_EQ(editor->Log().Lines().back(), "");
  EXPECT_TRUE(player.calls.empty());
  EXPECT_EQ(editor->StatusText(), "");
}

TEST_F(Playback, SourceOrProjectCopy) {
  editor->StringGrid1Click(7, 1);
  Run(&Editor::SpeedButton4Click);
  EXPECT_EQ(editor->StatusText(), "Play Source: /music/Bell.mp3");
  EXPECT_TRUE(Logged("Bell"));
  EXPECT_TRUE(Logged("/music/Bell.mp3"));

  editor->SetPlaySource(false);
  Run(&Editor::SpeedButton4Click);
  const std::string copy = ProjectDir("P") + "007.mp3";
  EXPECT_EQ(editor->StatusText(), "Play Project: " + copy);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"file /music/Bell.mp3", "open", "play",
                                                    "file " + copy, "open", "play"}));
}

TEST_F(Playback, ClipThatBecameANamedPipeIsRefusedBeforeThePlayerSeesIt) {
  const std::string copy = ProjectDir("P") + "007.mp3";
  testing::MakeNamedPipe(copy);
  editor->StringGrid1Click(7, 1);
  editor->SetPlaySource(false);
  EXPECT_TRUE(testing::ReturnsWithoutWaitingOn(copy, [&] { Run(&Editor::SpeedButton4Click); }));
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"\"" + copy + "\" is not a regular file"});
  EXPECT_TRUE(player.calls.empty());
}

TEST_F(Playback, StopBeforeAnyPlayIsAnError) {
  Run(&Editor::SpeedButton5Click);
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"No MCI device open"});
  EXPECT_EQ(editor->StatusText(), "");
}

TEST_F(Playback, StopTwiceShowsTheStopTextTwice) {
  editor->StringGrid1Click(7, 1);
  Run(&Editor::SpeedButton4Click);
  Run(&Editor::SpeedButton5Click);
  EXPECT_EQ(editor->StatusText(), "Playback Stop!!");
  Run(&Editor::SpeedButton5Click);
  EXPECT_EQ(editor->StatusText(), "Playback Stop!!");
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(Playback, FailedOpenShowsTheStatusThenThePlatformText) {
  editor->StringGrid1Click(7, 1);
  player.failOpenWith = "The file cannot be played";
  Run(&Editor::SpeedButton4Click);
  EXPECT_EQ(editor->StatusText(), "Play Source: /music/Bell.mp3");
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"The file cannot be played"});
  Run(&Editor::SpeedButton5Click);
  EXPECT_EQ(host.errorBoxes.back(), "No MCI device open");
}

TEST_F(Playback, ChannelTestButtons) {
  EXPECT_FALSE(editor->Controls().ChannelTestEnabled);
  EXPECT_FALSE(editor->Controls().StopTestEnabled);
  Run(&Editor::SpeedButton3Click);
  EXPECT_EQ(editor->StatusText(), "");
  Run(&Editor::SpeedButton8Click);
  EXPECT_EQ(editor->StatusText(), "Stop Test Loop playing");
}

TEST_F(Playback, ClosingTheWindowClosesThePlayer) {
  editor->CloseWindow();
  EXPECT_EQ(player.calls, std::vector<std::string>{"close"});
}

}  // namespace
}  // namespace pwx
