// The acceptance test record in the project folder: results tied to what each input plays,
// void when that changes, and records that cannot be used left as they are.
#include <gtest/gtest.h>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "delivery/AcceptanceRecord.h"
#include "delivery/ReportTesting.h"
#include "delivery/tests/SequenceProject.h"

namespace pwx {
namespace {

class Acceptance : public Sequences {
 public:
  AcceptanceRecord Record(int slot, TestResult result, const std::string& note = {},
                          std::optional<std::string> witness = {}) {
    return RecordTestResult(
        editor->Snapshot(),
        TestEntry{
            slot, result, note, witness, "2026-12-11T10:0" + std::to_string(slot) + ":00Z", {}});
  }
  std::vector<TestState> States() {
    const ProjectSnapshot snapshot = editor->Snapshot();
    const ProjectFingerprint fingerprint = FingerprintOf(snapshot);
    statuses = TestStatusOf(ReadAcceptanceRecord(snapshot, fingerprint), snapshot, fingerprint);
    std::vector<TestState> states;
    for (const auto& status : statuses) states.push_back(status.State);
    return states;
  }
  std::string RecordPath() const { return dir / "P/acceptance.json"; }
  std::vector<InputTestStatus> statuses;
};

using S = TestState;

TEST_F(Acceptance, ResultsStayUntilWhatTheirInputPlaysChanges) {
  EXPECT_EQ(States(), (std::vector<S>{S::Untested, S::Untested, S::Untested, S::Untested}));
  Record(0, TestResult::Passed, {}, "A. Witness");
  Record(1, TestResult::Failed, "too quiet");
  EXPECT_EQ(States(), (std::vector<S>{S::Passed, S::Failed, S::Untested, S::Untested}));
  EXPECT_EQ(TestedSummary(statuses), "Tested: 2 of 4 inputs");
  ASSERT_TRUE(statuses[1].Test);
  EXPECT_EQ(statuses[1].Test->Note, "too quiet");
  EXPECT_EQ(statuses[1].Test->Time, "2026-12-11T10:01:00Z");

  const ProjectSnapshot snapshot = editor->Snapshot();
  const auto record = ReadAcceptanceRecord(snapshot, FingerprintOf(snapshot));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->Witness, "A. Witness");
  EXPECT_EQ(record->Date, "2026-12-11");

  // A changed repeat voids DI2 alone; a changed copy of clip 4 voids DI1, which plays it;
  // switching DI3's alarm output changes nothing tested.
  editor->SetRepeat(1, "2");
  EXPECT_EQ(States(), (std::vector<S>{S::Passed, S::Void, S::Untested, S::Untested}));
  editor->SetAlarmOutput(2, false);
  EXPECT_EQ(States(), (std::vector<S>{S::Passed, S::Void, S::Untested, S::Untested}));
  fs::copy_file(Sequence("long-tail.mp3"), Copy(4), fs::copy_options::overwrite_existing);
  EXPECT_EQ(States(), (std::vector<S>{S::Void, S::Void, S::Untested, S::Untested}));
  EXPECT_EQ(TestedSummary(statuses), "Tested: 0 of 4 inputs");
  // Testing again gives a valid result once more; the rest of the record stays.
  Record(0, TestResult::Passed);
  EXPECT_EQ(States(), (std::vector<S>{S::Passed, S::Void, S::Untested, S::Untested}));
  EXPECT_EQ(statuses[1].Test->Note, "too quiet");
}

TEST_F(Acceptance, ModeChangeVoidsResults) {
  Record(0, TestResult::Passed);
  editor->ComboBox1Change("2");
  EXPECT_EQ(States(), (std::vector<S>{S::Void, S::Untested, S::Untested, S::Untested}));
}

TEST_F(Acceptance, TheReportSaysWhatIsTestedAndStaysIncompleteUntilAllAre) {
  Record(0, TestResult::Passed, "heard, 0.5 s", "A. Witness");
  const ReportTesting testing = ReportTestingOf(editor->Snapshot());
  EXPECT_FALSE(testing.Complete());
  EXPECT_NE(TestingSummaryHtml(testing).find("Tested: 1 of 4 inputs"), std::string::npos);
  EXPECT_NE(SignOffStateHtml(testing).find("Incomplete: 3 of 4 inputs"), std::string::npos);
  EXPECT_EQ(TestingCsvFields(testing, 0),
            ",0.5,5.6,0.0 1.8 2.8 4.6,passed,2026-12-11T10:00:00Z,\"heard, 0.5 s\"");
  EXPECT_EQ(TestingCsvFields(testing, 3), ",,,,not tested,,");
  const std::string timelines = TimelinesHtml(testing);
  EXPECT_NE(timelines.find("DI3</b>: first sound at 3.6 s, total 4.1 s, alarm output switched"),
            std::string::npos)
      << timelines;
  for (int slot = 1; slot < 4; ++slot) Record(slot, TestResult::Failed);
  EXPECT_TRUE(ReportTestingOf(editor->Snapshot()).Complete());
}

struct BadRecord {
  const char* name;
  std::string bytes;
  const char* says;
};
void PrintTo(const BadRecord& c, std::ostream* os) {
  *os << c.name;
}

class BadRecords : public Acceptance, public ::testing::WithParamInterface<BadRecord> {};

TEST_P(BadRecords, AreRefusedAndLeftAsTheyAre) {
  WriteFile(RecordPath(), GetParam().bytes);
  const ProjectSnapshot snapshot = editor->Snapshot();
  try {
    ReadAcceptanceRecord(snapshot, FingerprintOf(snapshot));
    ADD_FAILURE() << "read";
  } catch (const EditorError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().says), std::string::npos) << error.what();
  }
  EXPECT_THROW(Record(0, TestResult::Passed), EditorError);
  EXPECT_EQ(ReadFile(RecordPath(), 1 << 20).Bytes, GetParam().bytes);
}

std::string RecordText(const std::string& files, const std::string& inputs) {
  return R"({"format":"pwx36-acceptance","version":1,"witness":"","date":"","player_files":)" +
         files + R"(,"inputs":)" + inputs + "}";
}
const std::string kTestedAs =
    R"("tested_as":{"mode":0,"clips":[],"repeat":1,"alarm_output":false})";

INSTANTIATE_TEST_SUITE_P(
    Cases, BadRecords,
    ::testing::Values(
        BadRecord{"NotJson", "passed: DI1\n", "acceptance.json is not JSON"},
        BadRecord{"OtherJson", R"({"inputs": 3})", "acceptance.json is no test record"},
        BadRecord{
            "BadResult",
            RecordText("{}", R"([{"input":"DI1","result":"ok","time":"",)" + kTestedAs + "}]"),
            "neither passed nor failed"},
        BadRecord{
            "InputTheModeLacks",
            RecordText("{}", R"([{"input":"bI7","result":"passed","time":"",)" + kTestedAs + "}]"),
            "names input bI7, which mode 0 lacks"},
        BadRecord{"InputTwice",
                  RecordText("{}", R"([{"input":"DI1","result":"passed","time":"",)" + kTestedAs +
                                       R"(},{"input":"di1","result":"failed","time":"",)" +
                                       kTestedAs + "}]"),
                  "twice"},
        BadRecord{"OtherPlayerFiles", RecordText(R"({"plist.cfg":"00","004.mp3":"11"})", "[]"),
                  "was recorded for other player files"}));

}  // namespace
}  // namespace pwx
