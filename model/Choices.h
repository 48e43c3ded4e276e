#pragma once

#include <string>
#include <vector>

#include "model/AudioLibrary.h"

namespace pwx {

// What every clip selector offers: "None", then the "%03d" number of each occupied entry
// in ascending order.
std::vector<std::string> BuildClipChoices(const AudioLibrary& library);

// A clip selector shows the choice whose text equals the value; a value that is not offered
// shows no choice and reads as empty text.
std::string SelectClipChoice(const std::vector<std::string>& choices, const std::string& text);

extern const std::vector<std::string> kBaudRateChoices;
extern const std::vector<std::string> kParityChoices;
extern const std::vector<std::string> kDataBitsChoices;
extern const std::vector<std::string> kStopBitsChoices;

// An editable settings selector picks the choice equal to the text, letter case ignored,
// and then shows that choice's own spelling; when none matches it keeps `current`.
std::string SelectSettingChoice(const std::vector<std::string>& choices, const std::string& text,
                                const std::string& current);

// "BaudRate "250000" is not one the player knows; choose one of 300, ...": a setting whose
// text is none of its choices.
std::string SettingNotKnownText(const std::string& name, const std::string& text,
                                const std::vector<std::string>& choices);

// "Repeat "0" of DI2 is not a count from 1 to 255": a repeat the player cannot take as it is.
std::string RepeatNotACountText(const std::string& repeat, const std::string& label);

}  // namespace pwx
