#pragma once

#include <string>
#include <vector>

#include "textform/ProjectText.h"
#include "textform/TextValues.h"

namespace pwx {

// Applies one-line edits KEY=VALUE to a project's text form, through the checks of the text
// form's reader: device-id=12, baud=9600, parity=E (N, E, O or None, Even, Odd), data-bits=8,
// stop-bits=2, volume=7, mode=5, DI2=003,005 (up to four clips; "none" or nothing for none),
// bI7=001, DI2.repeat=3, DI2.alarm-output=yes (yes or no). Inputs are named as the window
// labels them in the mode the project has after all the edits: DI1 to DI4 in modes 0 to 3,
// bI1 to bI15 from mode 4 on. Raises TextFormError naming the edit's key; `text` is then as
// it was.
ProjectText ApplyKeyEdits(const ProjectText& text, const std::vector<std::string>& edits);

}  // namespace pwx
