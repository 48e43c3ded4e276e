#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/ProjectSnapshot.h"

namespace pwx {

// The acceptance test record in the project folder: never copied to the player's card.
inline constexpr const char* kAcceptanceFileName = "acceptance.json";

enum class TestResult { Passed, Failed };

// "passed" or "failed".
std::string TestResultName(TestResult result);

// What an input played when its result was recorded: the mode, its clips in play order with
// the SHA-256 of each copy (empty when the copy is missing), its repeat and alarm output.
struct InputFingerprint {
  int Mode = 0;
  std::vector<std::pair<int, std::string>> Clips;
  int Repeat = 1;
  bool AlarmOutput = false;
  bool operator==(const InputFingerprint&) const = default;
};

// One input's result, as the engineer marked it after testing it on the player.
struct InputTest {
  std::string Input;  // the short name: "DI1", "bI3"
  TestResult Result = TestResult::Passed;
  std::string Time;  // when it was recorded, "2026-12-11T12:30:00Z"
  std::string Note;
  InputFingerprint TestedAs;
};

struct AcceptanceRecord {
  std::string Witness;
  std::string Date;  // of the witnessed test, "2026-12-11"
  // The SHA-256 of the player's files when a result was last recorded, by file name.
  std::map<std::string, std::string> PlayerFiles;
  std::vector<InputTest> Tests;  // one per input at most, in input order
};

// The project as a record is tied to it: the player's files a save writes (plist.cfg,
// m3fn.txt, rtu.cfg, vol.cfg) and the clips' copies by their SHA-256, and what each input
// of the current mode plays.
struct ProjectFingerprint {
  std::map<std::string, std::string> PlayerFiles;
  std::vector<InputFingerprint> Inputs;  // by slot of the current mode
};

// Reads and hashes the copies of the clips; a missing copy has an empty SHA-256.
ProjectFingerprint FingerprintOf(const ProjectSnapshot& project);

// The record as JSON text (its file's bytes).
std::string AcceptanceJson(const AcceptanceRecord& record);

// Reads the record's JSON text. Raises EditorError, naming `file`, when it is not JSON, not
// shaped as a record, or names an input twice or one that the mode lacks.
AcceptanceRecord ParseAcceptanceJson(std::string_view text, std::uint8_t mode,
                                     const std::string& file);

// Why the record cannot be for this project, or nothing when it may be: a record is for
// other player files when none of the play list, name map or clip copies it was tied to is
// among the project's now.
std::optional<std::string> RecordForOtherFiles(const AcceptanceRecord& record,
                                               const ProjectFingerprint& project);

// The record in the project folder, or none when there is none. Raises EditorError as
// ParseAcceptanceJson does, when it cannot be read, or when it is for other player files.
std::optional<AcceptanceRecord> ReadAcceptanceRecord(const ProjectSnapshot& project,
                                                     const ProjectFingerprint& fingerprint);

enum class TestState { Untested, Passed, Failed, Void };

// An input's result as it stands now: void when the input plays anything else than it did
// when its result was recorded.
struct InputTestStatus {
  std::string Input;  // the window's label
  TestState State = TestState::Untested;
  std::optional<InputTest> Test;  // as recorded, also when void
};

std::vector<InputTestStatus> TestStatusOf(const std::optional<AcceptanceRecord>& record,
                                          const ProjectSnapshot& project,
                                          const ProjectFingerprint& fingerprint);

// How many inputs have a result that is not void.
int ValidResults(const std::vector<InputTestStatus>& statuses);

// "Tested: 12 of 15 inputs".
std::string TestedSummary(const std::vector<InputTestStatus>& statuses);

// What one recording adds: an input's result, and the witness when given.
struct TestEntry {
  int Slot = 0;
  TestResult Result = TestResult::Passed;
  std::string Note;
  std::optional<std::string> Witness;
  std::string Time;  // "2026-12-11T12:30:00Z"; its date becomes the record's date
  // The date of the witnessed test, "2026-12-11", when it is not the day of Time.
  std::optional<std::string> Date;
};

// Records a result in the project folder's record (made when there is none), safely and
// under the folder's lock. Refuses, raising EditorError and leaving the file as it was, when
// the record cannot be read (see ReadAcceptanceRecord).
AcceptanceRecord RecordTestResult(const ProjectSnapshot& project, const TestEntry& entry);
// The same with the files' fingerprint already taken.
AcceptanceRecord RecordTestResult(const ProjectSnapshot& project, const TestEntry& entry,
                                  const ProjectFingerprint& fingerprint);

}  // namespace pwx
