#pragma once

#include <string>

namespace pwx {

// The time now in UTC to the second, as the editor's records keep it: "2026-12-11T12:44:00Z".
std::string UtcTimeNow();

}  // namespace pwx
