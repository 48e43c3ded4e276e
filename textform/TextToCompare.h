#pragma once

#include <string_view>

#include "textform/ProjectText.h"

namespace pwx {

// A JSON text form read to be compared with the project `other`: what the document leaves
// out keeps `other`'s value (as apply onto `other` would keep it), and a clip of its library
// that says nothing of some fact of its copy (size, SHA-256, length, format, loudness) takes
// what `other` knows of the same clip's copy. So a short, hand-written text differs only
// where it says something else. Raises TextFormError as ReadProjectText does.
ProjectText ReadTextToCompare(std::string_view json, const ProjectText& other);

}  // namespace pwx
