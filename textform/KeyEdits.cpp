#include "textform/KeyEdits.h"

#include <cctype>
#include <optional>

#include "model/SlotLabels.h"

namespace pwx {

namespace {

struct InputName {
  int Slot = 0;
  bool Binary = false;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// "DI2" or "bI7" (any case), or nothing when the key names no input.
std::optional<InputName> InputOfKey(const std::string& key) {
  const std::string lower = Lower(key);
  const bool digital = lower.rfind("di", 0) == 0;
  const bool binary = lower.rfind("bi", 0) == 0;
  if (!digital && !binary) return std::nullopt;
  const std::string digits = key.substr(2);
  if (digits.empty() || digits.size() > 2 || digits[0] == '0') return std::nullopt;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  const int input = std::stoi(digits);
  if (input > (digital ? 4 : 15)) return std::nullopt;
  return InputName{input - 1, binary};
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

std::vector<int> ClipsOfValue(const std::string& key, const std::string& value) {
  if (value.empty() || Lower(value) == "none") return {};
  const std::vector<std::string> parts = SplitAtCommas(value);
  if (parts.size() > kClipsPerSlot) {
    throw TextFormError(key, std::to_string(parts.size()) + " clips; an input plays at most " +
                                 std::to_string(kClipsPerSlot) + ".");
  }
  std::vector<int> clips;
  for (const std::string& part : parts) {
    clips.push_back(CheckedClipNumber(key, IntegerOfText(key, part)));
  }
  return clips;
}

[[noreturn]] void UnknownKey(const std::string& key) {
  throw TextFormError(key,
                      "unknown key; the keys are device-id, baud, parity, data-bits, stop-bits, "
                      "volume, mode, and per input (DI1 to DI4, bI1 to bI15) the input itself "
                      "for its clips, INPUT.repeat and INPUT.alarm-output.");
}

}  // namespace

ProjectText ApplyKeyEdits(const ProjectText& original, const std::vector<std::string>& edits) {
  ProjectText text = original;
  struct Named {
    std::string Key;
    InputName Input;
  };
  std::vector<Named> inputsNamed;
  for (const std::string& edit : edits) {
    CheckTextLength("", edit);
    const std::size_t equals = edit.find('=');
    if (equals == std::string::npos || equals == 0) {
      throw TextFormError(edit, "an edit is KEY=VALUE, such as device-id=12.");
    }
    const std::string key = edit.substr(0, equals);
    const std::string value = edit.substr(equals + 1);
    const std::string lower = Lower(key);
    ModbusRtuSettings& settings = text.Settings;
    if (lower == "device-id") {
      settings.DeviceId = CheckedDeviceIdText(key, value);
    } else if (lower == "baud") {
      settings.BaudRate = CheckedBaudRate(key, value);
    } else if (lower == "parity") {
      settings.Parity = CheckedParity(key, value);
    } else if (lower == "data-bits") {
      settings.DataBits = CheckedDataBits(key, value);
    } else if (lower == "stop-bits") {
      settings.StopBits = CheckedStopBits(key, value);
    } else if (lower == "volume") {
      text.Volume = CheckedVolume(key, IntegerOfText(key, value));
    } else if (lower == "mode") {
      text.Mode = CheckedMode(key, IntegerOfText(key, value));
    } else {
      const std::size_t dot = key.find('.');
      const std::string inputKey = key.substr(0, dot);
      const std::optional<InputName> input = InputOfKey(inputKey);
      if (!input) UnknownKey(key);
      TextSlot& slot = text.Slots[static_cast<std::size_t>(input->Slot)];
      const std::string field = dot == std::string::npos ? "" : lower.substr(dot + 1);
      if (dot == std::string::npos) {
        slot.Clips = ClipsOfValue(key, value);
      } else if (field == "repeat") {
        slot.Repeat = CheckedRepeat(key, IntegerOfText(key, value), inputKey);
      } else if (field == "alarm-output") {
        slot.AlarmOutput = SwitchOfText(key, value);
      } else {
        UnknownKey(key);
      }
      inputsNamed.push_back({key, *input});
    }
  }
  // An input of the other family would edit a row the player reads for another input.
  const bool binaryMode = text.Mode >= 4;
  for (const Named& named : inputsNamed) {
    if (named.Input.Binary == binaryMode) continue;
    throw TextFormError(named.Key, "mode " + std::to_string(text.Mode) + " has no input " +
                                       named.Key.substr(0, named.Key.find('.')) +
                                       "; its inputs are " +
                                       (binaryMode ? "bI1 to bI15." : "DI1 to DI4."));
  }
  CheckedRtuSettings(text.Settings, "");
  return text;
}

}  // namespace pwx
