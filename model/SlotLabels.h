#pragma once

#include <string>

namespace pwx {

// Slot s of the digital family is input "DI<s+1>".
std::string DigitalLabel(int slot);

// Slot s of the binary family: "bI<n> (<n in binary>b)", four digits up to 15, five above.
std::string BinaryLabel(int slot);

// The label a row carries before any mode is applied: "DI1".."DI6" for slots 0..5, the
// binary labels for slots 6..30 and the spare row's fixed "DI6".
std::string DesignLabel(int slot);

}  // namespace pwx
