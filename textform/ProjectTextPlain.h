#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "textform/ProjectText.h"

namespace pwx {

// The text form as people read it: one line per setting, one per input of the current mode,
// one per clip, and what the folder lacks. Names and paths are made safe for a terminal.
std::string PlainProjectText(const ProjectText& text);

// "003 Gas leak", or "003" when the library does not list the clip.
std::string ClipWithName(const ProjectText& text, int number);

// "003 Gas leak, 005 All clear; repeat 2; alarm output", or "no clip; repeat 1".
std::string SlotText(const ProjectText& text, int slot);

// One player file as text, for a git text converter: plist.cfg every byte of it by what it
// means, rtu.cfg and vol.cfg their values, m3fn.txt one line per clip with a source. Nothing
// when the name (letter case ignored) is none of those four; "XXXXXX_plist.cfg", the name of
// git's temporary copy for its converter, counts as plist.cfg.
std::optional<std::string> PlayerFileText(std::string_view fileName, std::string_view bytes);

}  // namespace pwx
