#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/EditorError.h"
#include "model/AlarmProject.h"

namespace pwx {

// A fault in a project's text form or in a one-line edit: the key it is about ("settings.baud",
// "slots[3].repeat", "DI2.repeat") and the message the window gives for the same fault.
class TextFormError : public EditorError {
 public:
  TextFormError(const std::string& key, const std::string& message)
      : EditorError(key.empty() ? message : key + ": " + message), Key(key), Message(message) {}
  std::string Key;
  std::string Message;
};

// The longest text a value of the text form may hold: no path, name or setting is longer.
inline constexpr std::size_t kLongestTextValue = 4096;

// The checks of single values, shared by the text form's reader and the one-line edits. Each
// gives the value as the record holds it, or raises TextFormError naming `key`.
std::string CheckedBaudRate(const std::string& key, const std::string& text);
// "None", "Even" or "Odd" from those words (any case) or from "N", "E", "O".
std::string CheckedParity(const std::string& key, const std::string& text);
std::string CheckedDataBits(const std::string& key, const std::string& text);
std::string CheckedStopBits(const std::string& key, const std::string& text);
// Digits only; the range is the save's check (CheckedRtuSettings).
std::string CheckedDeviceIdText(const std::string& key, const std::string& text);
int CheckedVolume(const std::string& key, std::int64_t volume);
int CheckedMode(const std::string& key, std::int64_t mode);
int CheckedRepeat(const std::string& key, std::int64_t repeat, const std::string& label);
int CheckedClipNumber(const std::string& key, std::int64_t number);
void CheckTextLength(const std::string& key, const std::string& text);

// The settings as a save would take them: refused with the save's own text (the Device ID
// range, the line's length) when rtu.cfg would not be written. `prefix` goes before the keys
// named ("settings." in the text form).
void CheckedRtuSettings(const ModbusRtuSettings& settings, const std::string& prefix);

// An integer written as text in an edit ("12", "-3"), or the integer-conversion error.
std::int64_t IntegerOfText(const std::string& key, const std::string& text);

// "yes"/"no" (also "true"/"false", "on"/"off", "1"/"0"), any case.
bool SwitchOfText(const std::string& key, const std::string& text);

}  // namespace pwx
