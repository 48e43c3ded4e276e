// An input's sequence from what a save writes, against real clips with silence around their
// sound (assets/sequence), and the check's warnings about what an input plays.
#include <gtest/gtest.h>

#include "delivery/tests/SequenceProject.h"

namespace pwx {
namespace {

struct Expected {
  int clip, choice, pass;
  double start, end, soundStart, soundEnd;
};

TEST_F(Sequences, PlayTheSavedClipsInOrderRepeatTimesWithoutGaps) {
  const InputSequence di1 = Of(0);
  EXPECT_EQ(di1.Input, "DI1");
  EXPECT_EQ(di1.Clips, (std::vector<int>{4, 1}));
  EXPECT_EQ(di1.Repeat, 2);
  EXPECT_TRUE(di1.AlarmOutput);
  EXPECT_TRUE(di1.Plays());
  const std::vector<Expected> expected = {{4, 1, 1, 0.0, 1.8, 0.5, 1.5},
                                          {1, 2, 1, 1.8, 2.8, 1.8, 2.8},
                                          {4, 1, 2, 2.8, 4.6, 3.3, 4.3},
                                          {1, 2, 2, 4.6, 5.6, 4.6, 5.6}};
  ASSERT_EQ(di1.Segments.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const SequenceSegment& s = di1.Segments[i];
    EXPECT_EQ(s.Clip, expected[i].clip);
    EXPECT_EQ(s.Choice, expected[i].choice);
    EXPECT_EQ(s.Pass, expected[i].pass);
    // Each clip adds its encoder's smear at the edges of the sound: within 30 ms a segment.
    const double slack = 0.03 * static_cast<double>(i + 1);
    EXPECT_NEAR(s.Start, expected[i].start, slack);
    EXPECT_NEAR(s.End, expected[i].end, slack);
    EXPECT_NEAR(s.SoundStart, expected[i].soundStart, slack);
    EXPECT_NEAR(s.SoundEnd, expected[i].soundEnd, slack);
    EXPECT_FALSE(s.Silent);
  }
  EXPECT_EQ(di1.Segments[0].Name, "4-lead-tail");
  ASSERT_TRUE(di1.FirstSound);
  EXPECT_NEAR(*di1.FirstSound, 0.5, 0.03);
  EXPECT_DOUBLE_EQ(di1.Total, di1.Segments.back().End);
}

TEST_F(Sequences, FirstSoundIsTheFirstAudibleSampleAfterTheTrigger) {
  struct Case {
    int slot;
    std::optional<double> firstSound;
    double total;
    std::size_t segments;
  };
  // The encoder adds a little at the ends: clip 6 decodes to 1.07 s, clip 5's tone starts
  // after 3.55 s and it lasts 4.08 s.
  for (const Case& c :
       {Case{1, std::nullopt, 1.07, 1}, Case{2, 3.55, 4.08, 1}, Case{3, std::nullopt, 0.0, 0}}) {
    SCOPED_TRACE(c.slot);
    const InputSequence sequence = Of(c.slot);
    EXPECT_TRUE(sequence.Plays());
    EXPECT_EQ(sequence.FirstSound.has_value(), c.firstSound.has_value());
    if (c.firstSound && sequence.FirstSound) {
      EXPECT_NEAR(*sequence.FirstSound, *c.firstSound, 0.03);
    }
    EXPECT_NEAR(sequence.Total, c.total, 0.03);
    EXPECT_EQ(sequence.Segments.size(), c.segments);
  }
  EXPECT_TRUE(Of(1).Segments[0].Silent);
}

TEST_F(Sequences, TheUnsavedWindowIsWhatPlays) {
  // The window's edit counts before it is saved: the sequence is what a save writes.
  editor->SetRepeat(2, "3");
  EXPECT_EQ(Of(2).Segments.size(), 3u);
  EXPECT_NEAR(Of(2).Total, 3 * 4.08, 0.03);
}

TEST_F(Sequences, ACopyThatCannotPlayIsSaidInTheChecksWords) {
  fs::remove(Copy(5));
  const InputSequence di3 = Of(2);
  EXPECT_FALSE(di3.Plays());
  EXPECT_TRUE(di3.Segments.empty());
  EXPECT_EQ(di3.Problems, (std::vector<std::string>{
                              "Clip 005 \"5-late-start\" has no copy 005.mp3 in the project "
                              "folder; import it again."}));
  fs::copy_file(Fixture("layer2.mp3"), Copy(5));
  EXPECT_EQ(Of(2).Problems.size(), 1u);
  EXPECT_NE(Of(2).Problems[0].find("not Layer III"), std::string::npos) << Of(2).Problems[0];
  EXPECT_TRUE(Of(0).Plays());
}

TEST_F(Sequences, TheCheckWarnsOfLongTriggersAndLateFirstSounds) {
  CheckOptions options;
  options.MaxTriggerSeconds = 5;
  std::vector<std::string> found;
  for (const Finding& f : CheckProject(editor->Snapshot(), options)) {
    if (f.Code == "trigger-long" || f.Code == "first-sound-late") {
      found.push_back(f.Code + " @ " + f.Where() + ": " + f.Message);
    }
  }
  EXPECT_EQ(found,
            (std::vector<std::string>{
                "trigger-long @ DI1: DI1 plays for 5.6 s each time it fires, longer than the "
                "limit of 5.0 s; use shorter clips or a lower Repeat.",
                "first-sound-late @ DI2, clip 006: DI2 switches the alarm output, but every clip "
                "it plays is silent (below -50 dBFS); choose clips that can be heard.",
                "first-sound-late @ DI3, clip 005: DI3 switches the alarm output, but its first "
                "sound comes 3.6 s after the trigger, later than 3.0 s; cut the silence at the "
                "start of clip 005."}));
}

TEST(InputNames, AreTheWindowsLabelsOrTheirShortNames) {
  struct Case {
    int mode;
    const char* name;
    std::optional<int> slot;
  };
  for (const Case& c : {Case{0, "DI1", 0}, Case{3, "di4", 3}, Case{0, "DI5", std::nullopt},
                        Case{0, "bI1", std::nullopt}, Case{5, "bI3", 2}, Case{5, "BI3 (0011b)", 2},
                        Case{7, "bI15", 14}, Case{5, "bI16", std::nullopt},
                        Case{5, "DI1", std::nullopt}, Case{0, "", std::nullopt}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InputSlotNamed(static_cast<std::uint8_t>(c.mode), c.name), c.slot);
  }
  EXPECT_EQ(UnknownInputText(5, "DI1"), "\"DI1\" is not an input of mode 5; it has bI1 to bI15.");
}

TEST(SequenceSeconds, ShowTenthsAndMinutes) {
  EXPECT_EQ(SequenceSecondsText(0.84), "0.8 s");
  EXPECT_EQ(SequenceSecondsText(59.96), "1 min 0.0 s");
  EXPECT_EQ(SequenceSecondsText(725.0), "12 min 5.0 s");
}

}  // namespace
}  // namespace pwx
