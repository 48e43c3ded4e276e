#include "textform/TextValues.h"

#include <algorithm>
#include <cctype>

#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "model/Choices.h"

namespace pwx {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Choice(const std::string& key, const char* name, const std::string& text,
                   const std::vector<std::string>& choices) {
  CheckTextLength(key, text);
  const std::string chosen = SelectSettingChoice(choices, text, {});
  if (chosen.empty()) throw TextFormError(key, SettingNotKnownText(name, text, choices));
  return chosen;
}

}  // namespace

void CheckTextLength(const std::string& key, const std::string& text) {
  if (text.size() > kLongestTextValue) {
    throw TextFormError(key, "a text of " + GroupedDigits(text.size()) +
                                 " bytes is longer than any value of a project (at most " +
                                 GroupedDigits(kLongestTextValue) + ").");
  }
}

std::string CheckedBaudRate(const std::string& key, const std::string& text) {
  return Choice(key, "BaudRate", text, kBaudRateChoices);
}

std::string CheckedParity(const std::string& key, const std::string& text) {
  if (text == "N") return "None";
  if (text == "E") return "Even";
  if (text == "O") return "Odd";
  return Choice(key, "Parity", text, kParityChoices);
}

std::string CheckedDataBits(const std::string& key, const std::string& text) {
  return Choice(key, "Data bit", text, kDataBitsChoices);
}

std::string CheckedStopBits(const std::string& key, const std::string& text) {
  return Choice(key, "Stop bit", text, kStopBitsChoices);
}

std::string CheckedDeviceIdText(const std::string& key, const std::string& text) {
  CheckTextLength(key, text);
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
    return std::isdigit(c) != 0;
  });
  // The window's box takes digits only; anything else is what it cannot convert.
  if (!digits)
    throw TextFormError(key, "'" + QuoteForMessage(text) + "' is not a valid integer value");
  return text;
}

int CheckedVolume(const std::string& key, std::int64_t volume) {
  if (volume < kMinVolume || volume > kMaxVolume) {
    throw TextFormError(key, "Volume " + std::to_string(volume) + " is not from " +
                                 std::to_string(kMinVolume) + " to " + std::to_string(kMaxVolume) +
                                 ".");
  }
  return static_cast<int>(volume);
}

int CheckedMode(const std::string& key, std::int64_t mode) {
  if (mode < 0 || mode > 255) {
    throw TextFormError(key, "Mode " + std::to_string(mode) +
                                 " is not one the player stores; choose one of 0 to 7.");
  }
  return static_cast<int>(mode);
}

int CheckedRepeat(const std::string& key, std::int64_t repeat, const std::string& label) {
  if (repeat < 1 || repeat > 255) {
    throw TextFormError(key, RepeatNotACountText(std::to_string(repeat), label) + ".");
  }
  return static_cast<int>(repeat);
}

int CheckedClipNumber(const std::string& key, std::int64_t number) {
  if (number < 1 || number > kLibrarySize) {
    throw TextFormError(key, "The clip number must be from 1 to " + std::to_string(kLibrarySize) +
                                 " (not " + std::to_string(number) + ").");
  }
  return static_cast<int>(number);
}

void CheckedRtuSettings(const ModbusRtuSettings& settings, const std::string& prefix) {
  DiagnosticLog unwanted;
  const RtuFileContent content = RtuFileFor(settings, unwanted);
  if (!content.Refusal) return;
  // The baud rate is one of its choices by now, so only the Device ID can be at fault.
  throw TextFormError(prefix + "device-id", content.Refusal->Text);
}

std::int64_t IntegerOfText(const std::string& key, const std::string& text) {
  CheckTextLength(key, text);
  const std::optional<std::int32_t> value = TryParseInt32(text);
  if (!value)
    throw TextFormError(key, "'" + QuoteForMessage(text) + "' is not a valid integer value");
  return *value;
}

bool SwitchOfText(const std::string& key, const std::string& text) {
  const std::string word = Lower(text);
  if (word == "yes" || word == "true" || word == "on" || word == "1") return true;
  if (word == "no" || word == "false" || word == "off" || word == "0") return false;
  throw TextFormError(key, "'" + QuoteForMessage(text) + "' is neither yes nor no.");
}

}  // namespace pwx
