// Playing an input's sequence through the audio player: clip after clip as each ends, pass
// after pass, and what stops it.
#include <gtest/gtest.h>

#include "common/EditorError.h"
#include "delivery/SequencePlayback.h"
#include "delivery/tests/SequenceProject.h"

namespace pwx {
namespace {

// Tells the playback when a clip ends, as the real player does.
class EndingPlayer : public testing::FakeAudioPlayer {
 public:
  void SetFinishedHandler(std::function<void()> handler) override { finished = std::move(handler); }
  std::function<void()> finished;
};

class Playback : public Sequences {
 public:
  std::vector<std::string> Played() {
    std::vector<std::string> files;
    for (const auto& call : fake.calls) {
      if (call.rfind("file ", 0) == 0) files.push_back(call.substr(call.size() - 7));
    }
    return files;
  }
  EndingPlayer fake;
};

TEST_F(Playback, PlaysEveryClipInOrderRepeatTimesAsEachEnds) {
  SequencePlayback playback(fake);
  playback.Start(Of(0), snapshot.WorkDir);
  EXPECT_EQ(playback.StatusText(), "Test DI1: pass 1 of 2, #1 004 4-lead-tail");
  for (int i = 0; i < 5 && fake.finished; ++i) fake.finished();
  EXPECT_FALSE(playback.Playing());
  EXPECT_EQ(Played(), (std::vector<std::string>{"004.mp3", "001.mp3", "004.mp3", "001.mp3"}));
  EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "play"), 4);
}

TEST_F(Playback, StopEndsItAndALaterEndOfFileChangesNothing) {
  SequencePlayback playback(fake);
  playback.Start(Of(0), snapshot.WorkDir);
  fake.finished();
  EXPECT_EQ(playback.Segment(), 1);
  playback.Stop();
  EXPECT_EQ(fake.calls.back(), "stop");
  fake.finished();
  EXPECT_EQ(Played().size(), 2u);
  EXPECT_FALSE(playback.Playing());
}

TEST_F(Playback, ASequenceThatCannotPlayNeverStarts) {
  fs::remove(Copy(5));
  SequencePlayback playback(fake);
  EXPECT_THROW(playback.Start(Of(2), snapshot.WorkDir), EditorError);
  EXPECT_THROW(playback.Start(Of(3), snapshot.WorkDir), EditorError);  // DI4 has no clip
  EXPECT_TRUE(fake.calls.empty());
  fake.failOpenWith = "no sound device";
  EXPECT_THROW(playback.Start(Of(0), snapshot.WorkDir), EditorError);
  EXPECT_FALSE(playback.Playing());
}

}  // namespace
}  // namespace pwx
