// The one place that speaks JSON for the acceptance record (nlohmann-json).
#include <nlohmann/json.hpp>
#include <set>

#include "common/EditorError.h"
#include "delivery/AcceptanceRecord.h"
#include "delivery/InputSequence.h"

namespace pwx {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormat = "pwx36-acceptance";
constexpr int kVersion = 1;

Json FingerprintJson(const InputFingerprint& fingerprint) {
  Json clips = Json::array();
  for (const auto& [clip, sha] : fingerprint.Clips)
    clips.push_back({{"clip", clip}, {"sha256", sha}});
  return {{"mode", fingerprint.Mode},
          {"clips", clips},
          {"repeat", fingerprint.Repeat},
          {"alarm_output", fingerprint.AlarmOutput}};
}

// Raised for a record that is JSON but not shaped as one.
struct Misshapen {
  std::string What;
};

const Json& Field(const Json& object, const char* key) {
  if (!object.is_object() || !object.contains(key))
    throw Misshapen{std::string("no \"") + key + "\""};
  return object.at(key);
}

std::string Text(const Json& object, const char* key, bool optional = false) {
  if (optional && (!object.contains(key) || object.at(key).is_null())) return {};
  const Json& value = Field(object, key);
  if (!value.is_string()) throw Misshapen{std::string("\"") + key + "\" is not a text"};
  return value.get<std::string>();
}

int Number(const Json& object, const char* key) {
  const Json& value = Field(object, key);
  if (!value.is_number_integer())
    throw Misshapen{std::string("\"") + key + "\" is not a whole number"};
  return value.get<int>();
}

bool Switch(const Json& object, const char* key) {
  const Json& value = Field(object, key);
  if (!value.is_boolean()) throw Misshapen{std::string("\"") + key + "\" is not true or false"};
  return value.get<bool>();
}

InputFingerprint FingerprintFrom(const Json& json) {
  InputFingerprint fingerprint;
  fingerprint.Mode = Number(json, "mode");
  const Json& clips = Field(json, "clips");
  if (!clips.is_array()) throw Misshapen{"\"clips\" is not a list"};
  for (const Json& clip : clips)
    fingerprint.Clips.emplace_back(Number(clip, "clip"), Text(clip, "sha256"));
  fingerprint.Repeat = Number(json, "repeat");
  fingerprint.AlarmOutput = Switch(json, "alarm_output");
  return fingerprint;
}

}  // namespace

std::string AcceptanceJson(const AcceptanceRecord& record) {
  Json files = Json::object();
  for (const auto& [name, sha] : record.PlayerFiles) files[name] = sha;
  Json inputs = Json::array();
  for (const InputTest& test : record.Tests) {
    inputs.push_back({{"input", test.Input},
                      {"result", TestResultName(test.Result)},
                      {"time", test.Time},
                      {"note", test.Note},
                      {"tested_as", FingerprintJson(test.TestedAs)}});
  }
  const Json json = {{"format", kFormat},   {"version", kVersion},   {"witness", record.Witness},
                     {"date", record.Date}, {"player_files", files}, {"inputs", inputs}};
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

AcceptanceRecord ParseAcceptanceJson(std::string_view text, std::uint8_t mode,
                                     const std::string& file) {
  const Json json = Json::parse(text.begin(), text.end(), nullptr, false);
  if (json.is_discarded()) {
    throw EditorError(file +
                      " is not JSON, so it is no test record; it is left as it is. Move "
                      "it away to start a new record.");
  }
  AcceptanceRecord record;
  try {
    if (Text(json, "format") != kFormat || Number(json, "version") != kVersion) {
      throw Misshapen{"it is not a test record of this program's version"};
    }
    record.Witness = Text(json, "witness", true);
    record.Date = Text(json, "date", true);
    const Json& files = Field(json, "player_files");
    if (!files.is_object()) throw Misshapen{"\"player_files\" is not an object"};
    for (const auto& [name, sha] : files.items()) {
      if (!sha.is_string()) throw Misshapen{"\"player_files\" holds a value that is not a text"};
      record.PlayerFiles[name] = sha.get<std::string>();
    }
    const Json& inputs = Field(json, "inputs");
    if (!inputs.is_array()) throw Misshapen{"\"inputs\" is not a list"};
    std::set<int> seen;
    for (const Json& entry : inputs) {
      InputTest test;
      test.Input = Text(entry, "input");
      const auto slot = InputSlotNamed(mode, test.Input);
      if (!slot) {
        throw EditorError(file + " names input " + test.Input + ", which mode " +
                          std::to_string(mode) +
                          " lacks; it is left as it is. Choose the mode it was recorded in, or "
                          "move it away to start a new record.");
      }
      if (!seen.insert(*slot).second) throw Misshapen{"it names input " + test.Input + " twice"};
      const std::string result = Text(entry, "result");
      if (result != "passed" && result != "failed") {
        throw Misshapen{"the result of " + test.Input + " is neither passed nor failed"};
      }
      test.Result = result == "passed" ? TestResult::Passed : TestResult::Failed;
      test.Time = Text(entry, "time");
      test.Note = Text(entry, "note", true);
      test.TestedAs = FingerprintFrom(Field(entry, "tested_as"));
      record.Tests.push_back(std::move(test));
    }
  } catch (const Misshapen& why) {
    throw EditorError(file + " is no test record (" + why.What +
                      "); it is left as it is. Move it away to start a new record.");
  }
  return record;
}

}  // namespace pwx
