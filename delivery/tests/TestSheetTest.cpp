// The acceptance test sheet: each input's expected sequence, total, alarm output and result.
#include <gtest/gtest.h>

#include "delivery/TestSheet.h"
#include "delivery/tests/SequenceProject.h"

namespace pwx {
namespace {

struct ExpectedCase {
  std::vector<int> clips;
  int repeat;
  const char* text;
};

TEST(ExpectedSequenceText, NamesTheClipsInPlayOrderAndTheRepeat) {
  AudioLibrary library;
  library.Entry(4).Short_FN = "Fire";
  library.Entry(12).Short_FN = "Evacuate now";
  const ExpectedCase cases[] = {
      {{}, 1, "nothing"},
      {{4}, 1, "004 Fire"},
      {{12, 4}, 1, "012 Evacuate now, 004 Fire"},
      {{4, 12, 4}, 3, "004 Fire, 012 Evacuate now, 004 Fire, 3 times"},
      {{7}, 2, "007, 2 times"},  // a clip the library lacks has no name to show
  };
  for (const auto& c : cases) {
    InputSequence sequence;
    sequence.Clips = c.clips;
    sequence.Repeat = c.repeat;
    EXPECT_EQ(ExpectedSequenceText(sequence, library), c.text) << c.text;
  }
}

class TestSheet : public Sequences {};

TEST_F(TestSheet, ShowsEachInputsSequenceAndItsResultAsItStandsNow) {
  RecordTestResult(editor->Snapshot(), TestEntry{1, TestResult::Failed, "too quiet", "A. Witness",
                                                 "2026-12-11T10:01:00Z", "2026-12-10"});
  RecordTestResult(editor->Snapshot(),
                   TestEntry{2, TestResult::Passed, {}, {}, "2026-12-11T10:02:00Z", {}});
  editor->SetRepeat(2, "3");  // DI3 plays otherwise than it was tested
  const ProjectSnapshot snapshot = editor->Snapshot();
  const ProjectFingerprint fingerprint = FingerprintOf(snapshot);
  const auto record = ReadAcceptanceRecord(snapshot, fingerprint);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->Witness, "A. Witness");
  EXPECT_EQ(record->Date, "2026-12-10");  // the date given, not the day of recording
  const auto lines =
      TestSheetOf(SequencesOfMode(snapshot), TestStatusOf(record, snapshot, fingerprint),
                  snapshot.Project.Library);
  ASSERT_EQ(lines.size(), 4u);

  struct Line {
    const char* total;
    const char* alarm;
    const char* state;
    const char* time;
    const char* note;
  };
  const Line expected[] = {
      {"5.6 s", "switched", "untested", "", ""},
      {"1.1 s", "switched", "failed", "2026-12-11T10:01:00Z", "too quiet"},
      {"12.2 s", "switched", "void", "2026-12-11T10:02:00Z", ""},
      {"0.0 s", "not switched", "untested", "", ""},
  };
  for (std::size_t k = 0; k < lines.size(); ++k) {
    EXPECT_EQ(lines[k].Slot, static_cast<int>(k));
    EXPECT_EQ(lines[k].Total, expected[k].total) << lines[k].Input;
    EXPECT_EQ(lines[k].AlarmOutput, expected[k].alarm) << lines[k].Input;
    EXPECT_EQ(lines[k].State, expected[k].state) << lines[k].Input;
    EXPECT_EQ(lines[k].Time, expected[k].time) << lines[k].Input;
    EXPECT_EQ(lines[k].Note, expected[k].note) << lines[k].Input;
  }
  EXPECT_EQ(lines[0].Expected.substr(0, 3), "004");
  EXPECT_NE(lines[0].Expected.find(", 001"), std::string::npos) << lines[0].Expected;
  EXPECT_NE(lines[0].Expected.find(", 2 times"), std::string::npos) << lines[0].Expected;
  EXPECT_EQ(lines[3].Expected, "nothing");
}

}  // namespace
}  // namespace pwx
