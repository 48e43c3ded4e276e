#pragma once

#include <string>
#include <string_view>

#include "textform/ProjectDiff.h"
#include "textform/ProjectText.h"
#include "textform/TextValues.h"

namespace pwx {

// The text form as JSON: keys in a fixed order, one value a line, two spaces a level, ending
// with a line break. Texts that are not UTF-8 are written with U+FFFD in place of the bytes.
std::string ProjectTextJson(const ProjectText& text);

// Reads a text form onto `base` (the project as it stands): what the document leaves out
// keeps the value of `base`; a "library" given replaces the library of `base`. Raises
// TextFormError, naming the key, on anything the program does not take: a document that is
// not JSON (with its line and column), a version it does not know, an unknown key, a value of
// the wrong type, out of range or longer than any value of a project. Nothing is written.
ProjectText ReadProjectText(std::string_view json, const ProjectText& base);

// A diff as JSON: {"outcome": "equal" | "different" | "trouble", "differences": [{"subject",
// "a", "b", "text"}], "troubles": [...]}, ending with a line break.
std::string ProjectDiffJson(const ProjectDiff& diff);

}  // namespace pwx
