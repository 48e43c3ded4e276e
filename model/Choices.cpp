#include "model/Choices.h"

#include <algorithm>
#include <cctype>

#include "common/IntegerText.h"

namespace pwx {

std::vector<std::string> BuildClipChoices(const AudioLibrary& library) {
  std::vector<std::string> choices{"None"};
  for (int n = 1; n <= kLibrarySize; ++n) {
    if (library.Entry(n).Occupied()) choices.push_back(ThreeDigits(n));
  }
  return choices;
}

std::string SelectClipChoice(const std::vector<std::string>& choices, const std::string& text) {
  return std::find(choices.begin(), choices.end(), text) != choices.end() ? text : std::string();
}

const std::vector<std::string> kBaudRateChoices{"300",   "600",   "1200",  "2400",  "4800",  "9600",
                                                "14400", "19200", "38400", "57600", "115200"};
const std::vector<std::string> kParityChoices{"None", "Even", "Odd"};
const std::vector<std::string> kDataBitsChoices{"8"};
const std::vector<std::string> kStopBitsChoices{"1", "2"};

std::string SelectSettingChoice(const std::vector<std::string>& choices, const std::string& text,
                                const std::string& current) {
  auto sameIgnoringCase = [&](const std::string& choice) {
    return std::equal(choice.begin(), choice.end(), text.begin(), text.end(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) ==
             std::tolower(static_cast<unsigned char>(b));
    });
  };
  auto found = std::find_if(choices.begin(), choices.end(), sameIgnoringCase);
  return found != choices.end() ? *found : current;
}

std::string SettingNotKnownText(const std::string& name, const std::string& text,
                                const std::vector<std::string>& choices) {
  std::string offered;
  for (const auto& choice : choices) offered += (offered.empty() ? "" : ", ") + choice;
  return name + " \"" + text + "\" is not one the player knows; choose one of " + offered + ".";
}

std::string RepeatNotACountText(const std::string& repeat, const std::string& label) {
  return "Repeat \"" + repeat + "\" of " + label + " is not a count from 1 to 255";
}

}  // namespace pwx
