#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pwx {

// Slot s of the digital family is input "DI<s+1>".
std::string DigitalLabel(int slot);

// Slot s of the binary family: "bI<n> (<n in binary>b)", four digits up to 15, five above.
std::string BinaryLabel(int slot);

// How many inputs a mode uses: the four digital inputs in modes 0 to 3, else the fifteen
// binary ones; they are slots 0 onwards.
int InputsOfMode(std::uint8_t mode);

// The inputs a mode uses, as the window labels them: "DI1".."DI4" in modes 0 to 3, else
// "bI1 (0001b)".."bI15 (1111b)"; the slot of each is its place in the list.
std::vector<std::string> InputLabelsOfMode(std::uint8_t mode);

// The label a row carries before any mode is applied: "DI1".."DI6" for slots 0..5, the
// binary labels for slots 6..30 and the spare row's fixed "DI6".
std::string DesignLabel(int slot);

}  // namespace pwx
